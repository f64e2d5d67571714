#!/usr/bin/env bash
# Makes both release archives after a full build: build/linux/VR58-1.10-linux-x86_64.tar.gz and
# build/windows/VR58-1.10-win64.zip. The Linux build makes the factory presets that both archives carry.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cmake --build --preset linux --target package
cmake --build --preset windows --target package

# Unpack each archive once: its plug-ins must match their sums and both preset folders must be there.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
tar -xzf build/linux/VR58-1.10-linux-x86_64.tar.gz -C "$scratch"
(cd "$scratch"/VR58-1.10-linux-x86_64 && sha256sum --quiet -c SHA256SUMS.txt && ls presets/VR58G_x64/*.fxp presets/VR58_x64/*.fxp >/dev/null)
mkdir "$scratch/win64"
cmake -E chdir "$scratch/win64" cmake -E tar xf "$PWD/build/windows/VR58-1.10-win64.zip"
(cd "$scratch/win64" && sha256sum --quiet -c SHA256SUMS.txt && ls presets/VR58G_x64/*.fxp presets/VR58_x64/*.fxp >/dev/null)
echo "Made build/linux/VR58-1.10-linux-x86_64.tar.gz and build/windows/VR58-1.10-win64.zip"
