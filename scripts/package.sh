#!/usr/bin/env bash
# Makes both release archives after a full build: build/linux/VR58-<version>-linux-x86_64.tar.gz and
# build/windows/VR58-<version>-win64.zip, named from the project's version; then the installers,
# build/linux/vr58_<version>_amd64.deb and build/windows/VR58-<version>-setup.exe. The Linux build makes the
# factory presets that both archives carry.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cmake --build --preset linux --target package
cmake --build --preset windows --target package
# The installers: the Debian package and the Windows setup program.
cmake --build --preset linux --target vr58_deb
cmake --build --preset windows --target vr58_setup
linux_name=$(cat build/linux/package-name.txt)
windows_name=$(cat build/windows/package-name.txt)

# Unpack each archive once: its plug-ins must match their sums and both preset folders must be there.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
tar -xzf "build/linux/$linux_name.tar.gz" -C "$scratch"
(cd "$scratch/$linux_name" && sha256sum --quiet -c SHA256SUMS.txt && ls presets/VR58G_x64/*.fxp presets/VR58_x64/*.fxp >/dev/null \
  && ls lv2/VR58G.lv2/manifest.ttl lv2/VR58G.lv2/presets.ttl lv2/VR58.lv2/manifest.ttl lv2/VR58.lv2/presets.ttl >/dev/null)
mkdir "$scratch/win64"
cmake -E chdir "$scratch/win64" cmake -E tar xf "$PWD/build/windows/$windows_name.zip"
(cd "$scratch/win64" && sha256sum --quiet -c SHA256SUMS.txt && ls presets/VR58G_x64/*.fxp presets/VR58_x64/*.fxp >/dev/null)
echo "Made build/linux/$linux_name.tar.gz and build/windows/$windows_name.zip"
echo "Made $(ls build/linux/vr58_*_amd64.deb) and $(ls build/windows/VR58-*-setup.exe)"
