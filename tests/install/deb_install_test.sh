#!/usr/bin/env bash
# Makes the Debian package, checks it with lintian, installs it with dpkg into a throwaway root (the
# machine's own packages are never touched), uses what it installed as hosts and users would, and
# purges it again: nothing may stay behind.
# usage: deb_install_test.sh BUILD_DIR PACKAGE.deb
set -euo pipefail
build_dir=$1 deb=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in dpkg-deb dpkg-shlibdeps help2man lintian lv2ls man; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-dependencies.sh installs it)"
done

cmake --build "$build_dir" --target vr58_deb
lintian --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"

# The editor loads X11 only when a window opens: the package must install on a server without it.
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ $depends == *libc6* && $depends == *libsndfile1* ]] || fail "Depends lacks what the binaries link: $depends"
[[ $depends != *libx11* && $depends != *libxext* ]] || fail "X11 must not be a hard dependency: $depends"
[[ $recommends == *libx11-6* && $recommends == *libxext6* ]] || fail "Recommends: $recommends"
apt-get install -s -q "$(realpath "$deb")" >/dev/null || fail "apt cannot satisfy the package's dependencies"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
# man reads the page as its own user, so the throwaway root must be readable by others.
chmod 0755 "$work"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
# The root's package database knows nothing of the machine's libraries, so dependencies are forced;
# the binaries below run against the machine's own, which satisfy them.
dpkg_root() { dpkg --root="$root" --log="$work/dpkg.log" --force-depends "$@"; }
dpkg_root -i "$deb"

uris=$(LV2_PATH="$root/usr/lib/lv2" lv2ls)
grep -qx 'urn:quorvane:vr58' <<<"$uris" || fail "lv2ls does not list urn:quorvane:vr58: $uris"
grep -qx 'urn:quorvane:vr58g' <<<"$uris" || fail "lv2ls does not list urn:quorvane:vr58g: $uris"

info=$("$root/usr/bin/vr58" info "$root/usr/lib/vst/VR58G_x64.so") || fail "vr58 info cannot load the installed plug-in"
grep -q "numParams       15" <<<"$info" || fail "the installed plug-in is not the editor build: $info"

page=$(MANPATH="$root/usr/share/man" MANWIDTH=80 man -P cat vr58 2>&1) || fail "man vr58: $page"
grep -q "vr58 render" <<<"$page" || fail "the man page lacks the render command: $page"

dpkg_root --purge vr58
left=$(cd "$root" && find . -mindepth 1 -not -path './var' -not -path './var/*')
[[ -z $left ]] || fail "left behind after purge: $left"
echo "installed, used and purged $(basename "$deb") without leftovers"
