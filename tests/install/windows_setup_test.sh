#!/usr/bin/env bash
# Runs the Windows setup program under Wine in a fresh prefix, as a studio deploys it: silent installs
# into the default and a given VST 2 folder, an upgrade that switches plug-in, then a silent uninstall;
# and once on 32-bit Windows (a 32-bit prefix), which it must refuse.
# The installed DLL must be the build's, load in the test host and render the same samples; the
# uninstaller must remove exactly what was installed, its registry keys included.
# usage: windows_setup_test.sh SOURCE_DIR WINDOWS_BUILD_DIR   (exit 77: skipped, and why)
set -euo pipefail
source_dir=$1 windows_build_dir=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in x86_64-w64-mingw32-g++-posix wine makensis; do
  command -v "$tool" >/dev/null || { echo "skipped: no $tool"; exit 77; }
done
# The setup stub is a 32-bit program: a 64-bit prefix runs it through Wine's 32-bit loader.
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' \
  || { echo "skipped: no wine32:i386 to run the 32-bit setup stub"; exit 77; }

[ -f "$windows_build_dir/CMakeCache.txt" ] || cmake -S "$source_dir" --preset windows >/dev/null
cmake --build "$windows_build_dir" --target vr58_setup vr58_wine_render
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=\([0-9]*\)\.\([0-9]*\)\.\([0-9]*\)$/\1.\2\3/p' \
  "$windows_build_dir/CMakeCache.txt")
setup=$windows_build_dir/VR58-$version-setup.exe
render=$windows_build_dir/tests/wine/vr58_wine_render.exe
built_dll=$windows_build_dir/plugins/VR58G_x64.dll

export WINEPREFIX=$windows_build_dir/wineprefix-install WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w
drive=$WINEPREFIX/drive_c
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
snapshot() { (cd "$drive" && find . -path ./windows -prune -o -print | sort); }
snapshot >"$work/before"

app="$drive/Program Files/VR58"
default_vst="$drive/Program Files/Common Files/VST2"
settings='HKLM\Software\Quorvane\VR58'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VR58'
reg_value() { wine reg query "$1" /v "$2" /reg:64 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }

# A fresh silent install: the editor build into the default VST 2 folder, byte for byte the build's.
wine "$setup" /S || fail "silent install exited $?"
cmp "$built_dll" "$default_vst/VR58G_x64.dll" || fail "the installed DLL differs from the built one"
[ -f "$app/vr58.exe" ] && [ -f "$app/manual.md" ] && [ -f "$app/presets/VR58G_x64/Bus glue.fxp" ] \
  || fail "vr58.exe, the manual or the presets are missing: $(ls -R "$app")"
wine "$render" 'C:\Program Files\Common Files\VST2\VR58G_x64.dll' "$work/installed.raw" >/dev/null \
  || fail "the test host cannot render through the installed DLL"
wine "$render" "Z:$built_dll" "$work/built.raw" >/dev/null || fail "the test host cannot render through the built DLL"
cmp "$work/installed.raw" "$work/built.raw" || fail "the installed DLL renders other samples"
wine "$app/vr58.exe" validate 'C:\Program Files\Common Files\VST2\VR58G_x64.dll' --only recovery >/dev/null \
  || fail "the installed vr58.exe does not pass the installed DLL"

[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "DisplayVersion is not $version"
[ "$(reg_value "$uninstall_key" Publisher)" = Quorvane ] || fail "no Publisher"
[ "$(reg_value "$uninstall_key" DisplayIcon)" = 'C:\Program Files\Common Files\VST2\VR58G_x64.dll,0' ] \
  || fail "DisplayIcon: $(reg_value "$uninstall_key" DisplayIcon)"
size=$(reg_value "$uninstall_key" EstimatedSize)
(( size > 5000 )) || fail "EstimatedSize $size KB is less than the files installed"
uninstaller=$(reg_value "$uninstall_key" QuietUninstallString)
[ "$uninstaller" = '"C:\Program Files\VR58\uninstall.exe" /S' ] || fail "QuietUninstallString: $uninstaller"

# Upgrades: the other plug-in goes where the earlier install put its own, which leaves; then a folder
# given with /D= moves it, and the folder the setup had made goes with it.
wine "$setup" /S /PLUGIN=VR58 || fail "upgrade to the editor-less build exited $?"
[ -f "$default_vst/VR58_x64.dll" ] && [ ! -e "$default_vst/VR58G_x64.dll" ] \
  || fail "after the upgrade the default folder holds: $(ls "$default_vst")"
[ ! -e "$app/presets/VR58G_x64" ] && [ -f "$app/presets/VR58_x64/Bus glue.fxp" ] || fail "presets not switched"
wine "$setup" /S '/D=C:\Plugins\VST2' || fail "install with /D= exited $?"
[ -f "$drive/Plugins/VST2/VR58_x64.dll" ] || fail "no VR58_x64.dll where /D= put it"
[ ! -e "$default_vst" ] || fail "the earlier folder the setup made stays: $(ls -R "$default_vst")"
[ "$(reg_value "$settings" VST2Folder)" = 'C:\Plugins\VST2' ] || fail "the new folder is not recorded"

wine "$setup" /S /PLUGIN=VR58X && fail "an unknown /PLUGIN= was accepted"

# The user's own files beside ours stay; everything of ours goes, registry included, and so do both
# folders /D= made (C:\Plugins and C:\Plugins\VST2).
echo mine >"$app/presets/VR58_x64/My own.fxp"
wine "$app/uninstall.exe" /S
# The uninstaller runs on from a copy of itself in the temporary folder: wait for it to finish.
for _ in $(seq 120); do [ -e "$app/uninstall.exe" ] || break; sleep 0.5; done
wineserver -w
for key in "$uninstall_key" "$settings"; do
  ! wine reg query "$key" /reg:64 >/dev/null 2>&1 || fail "$key is left after the uninstall"
done
snapshot >"$work/after"
# Windows deletes the uninstaller's temporary copy at the next restart; its empty folder stays till then.
left=$(comm -13 "$work/before" "$work/after" | grep -v '^\./users/[^/]*/Temp/~nsu[^/]*\.tmp$' || true)
expected=$(printf '%s\n' "./Program Files/VR58" \
  "./Program Files/VR58/presets" "./Program Files/VR58/presets/VR58_x64" \
  "./Program Files/VR58/presets/VR58_x64/My own.fxp")
[ "$left" = "$expected" ] || fail "after the uninstall (< the user's files, > what is there): $(diff <(echo "$expected") <(echo "$left"))"
# 32-bit Windows: the setup program stops (exit code 2) before it installs anything.
export WINEPREFIX=$windows_build_dir/wineprefix-install32 WINEARCH=win32
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
status=0
wine "$setup" /S || status=$?
[ "$status" = 2 ] || fail "on 32-bit Windows the setup program exited $status"
[ ! -e "$WINEPREFIX/drive_c/Program Files/VR58" ] && [ ! -e "$WINEPREFIX/drive_c/Program Files/Common Files/VST2" ] \
  || fail "on 32-bit Windows the setup program installed files"
wineserver -k
# A prefix takes over a gigabyte: it stays only when a check failed, to be looked into.
rm -rf "$WINEPREFIX" "$windows_build_dir/wineprefix-install"
echo "installed, upgraded twice and removed $(basename "$setup") without leftovers"
