#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those that are missing. With
# "release", only those the plug-ins and vr58 need (the main job).
set -euo pipefail

packages=(
  cmake make g++ pkg-config          # native toolchain
  libstb-dev                         # PNG decoding of the editor skin
  libsndfile1-dev                    # audio files in the vr58 tool
  g++-mingw-w64-x86-64-posix         # the Windows DLLs
  libx11-dev libxext-dev             # the editor's window in Linux hosts (X11, MIT-SHM)
  lv2-dev                            # the LV2 headers
)
[[ "${1:-}" == release ]] || packages+=(
  googletest libgtest-dev            # unit and integration tests (sources also cross-built for Wine)
  libbenchmark-dev                   # benchmarks of the audio and redraw paths
  wine wine64 xvfb xauth             # running the Windows tests, with a display where a window is needed
  libxtst-dev                        # real input in the X11 window tests (XTEST)
  lilv-utils sordi                   # lv2ls, lv2info, lv2apply and sordi/sord_validate: the LV2 tests
  jalv jackd2                        # the LV2 UI tested in a real host (jalv.gtk3) with a JACK server
  clang libclang-rt-14-dev           # the fuzz targets: clang's libFuzzer with AddressSanitizer and UBSan
  dpkg-dev help2man lintian man-db   # the Debian package: dependencies, man page, checks, its test
  nsis wine32:i386                   # the Windows setup program, and Wine's loader for its 32-bit stub
)

# wine32 is an i386 package: dpkg must know the architecture before apt-get update lists it.
if [[ "${1:-}" != release ]]; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
