#!/usr/bin/env bash
# Makes the Debian package vr58_<version>_amd64.deb from a finished Linux build: both LV2 bundles in
# /usr/lib/lv2, the editor build's VST 2.4 library in /usr/lib/vst, vr58 in /usr/bin with its man page,
# and the manual, the editor build's factory presets and the licence in /usr/share/doc/vr58.
# The editor-less VST 2.4 build stays in the release archive: it carries the same plug-in ID, and hosts
# scan /usr/lib/vst recursively, so both in one package would show every host the same plug-in twice.
#
# usage: make-deb.sh OUT.deb VERSION SOURCE_DIR VR58 VST_SO LV2_EDITOR_BUNDLE LV2_PLAIN_BUNDLE PRESETS_DIR
set -euo pipefail
out=$1 version=$2 source_dir=$3 vr58=$4 vst_so=$5 lv2_editor=$6 lv2_plain=$7 presets=$8
here=$(cd "$(dirname "$0")" && pwd)
maintainer=${VR58_DEB_MAINTAINER:-"Quorvane <packages@quorvane.com>"}

work=$(mktemp -d "${out%.deb}.XXXXXX")
trap 'rm -rf "$work"' EXIT
root=$work/root
doc=$root/usr/share/doc/vr58
umask 022

# Debian strips what it ships the way dh_strip does; the release archive keeps the files as built.
strip_library() { strip --remove-section=.comment --remove-section=.note --strip-unneeded "$1"; }

install -d "$root/usr/bin" "$root/usr/lib/vst" "$root/usr/lib/lv2" "$root/usr/share/man/man1" "$doc/presets"
install -m 0755 "$vr58" "$root/usr/bin/vr58"
strip --remove-section=.comment --remove-section=.note "$root/usr/bin/vr58"
install -m 0644 "$vst_so" "$root/usr/lib/vst/"
strip_library "$root/usr/lib/vst/$(basename "$vst_so")"
for bundle in "$lv2_editor" "$lv2_plain"; do
  target=$root/usr/lib/lv2/$(basename "$bundle")
  install -d "$target"
  for file in "$bundle"/*; do
    case $file in
      *.so) install -m 0644 "$file" "$target/" && strip_library "$target/$(basename "$file")" ;;
      *) install -m 0644 "$file" "$target/" ;;
    esac
  done
done

# The man page from the command's own --help, so it never drifts from what vr58 accepts.
help2man --no-info --no-discard-stderr --section=1 --version-string="$version" \
  --name="render audio files through the VR58 tape recorder plug-ins, and validate VST 2.4 plug-ins" \
  --include="$here/vr58.h2m" --output="$work/vr58.1" "$vr58"
gzip -9n -c "$work/vr58.1" >"$root/usr/share/man/man1/vr58.1.gz"
chmod 0644 "$root/usr/share/man/man1/vr58.1.gz"

install -m 0644 "$source_dir/LICENSE.txt" "$doc/copyright"
install -m 0644 "$source_dir/docs/manual.md" "$doc/"
cp -r "$presets/VR58G_x64" "$doc/presets/"
chmod 0755 "$doc/presets/VR58G_x64" && chmod 0644 "$doc/presets/VR58G_x64"/*
# A native package's changelog: one entry for the release, dated by the source (reproducible builds).
date=$(date -R -u -d "@${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || date +%s)}")
printf 'vr58 (%s) stable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' \
  "$version" "$version" "$maintainer" "$date" | gzip -9n >"$doc/changelog.gz"
chmod 0644 "$doc/changelog.gz"

# Dependencies from the binaries. The plug-ins load libX11 and libXext only when an editor window
# opens, so those are recommended: on a server the plug-ins load and render without them.
mkdir -p "$work/debian" "$root/DEBIAN"
printf 'Source: vr58\n\nPackage: vr58\nArchitecture: amd64\n' >"$work/debian/control"
elves=$(find "$root/usr" -type f \( -name '*.so' -o -path '*/usr/bin/*' \))
# shellcheck disable=SC2086
depends=$(cd "$work" && dpkg-shlibdeps -O $elves | sed -n 's/^shlibs:Depends=//p')
installed_size=$(du -k -s --apparent-size "$root/usr" | cut -f1)
cat >"$root/DEBIAN/control" <<EOF
Package: vr58
Version: $version
Architecture: amd64
Maintainer: $maintainer
Installed-Size: $installed_size
Depends: $depends
Recommends: libx11-6, libxext6
Section: non-free/sound
Priority: optional
Description: tape recorder emulation plug-ins (LV2 and VST 2.4)
 VR58 models the signal path of an analogue tape machine: input trim, record
 equaliser with NAB, IEC and AES curves, tape hiss, saturation, head bump,
 repro equaliser and output gain.
 .
 This package holds the LV2 plug-ins VR58-G (with its own editor as the
 plug-in's X11 UI) and VR58 (the host's generic controls), the VST 2.4 build
 of VR58-G for Linux hosts, the vr58 command, which renders audio files
 through either plug-in, and the factory presets.
EOF
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/md5sums" "$root/DEBIAN/control"

dpkg-deb --root-owner-group -Zxz --build "$root" "$out" >/dev/null
echo "Made $out"
