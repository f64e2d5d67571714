#!/usr/bin/env bash
# Makes what the native-vs-Wine comparison runs: the Windows build's two DLLs and its render program.
# Without mingw-w64 or Wine it makes nothing, and the comparison says it is skipped and why.
set -euo pipefail
source_dir=$1
windows_build_dir=$2
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! command -v wine >/dev/null; then
  echo "no mingw-w64 cross compiler or no Wine: nothing to compare the native build with"
  exit 0
fi
if [ ! -f "$windows_build_dir/CMakeCache.txt" ]; then
  if [ "$windows_build_dir" != "$source_dir/build/windows" ]; then
    echo "no Windows build tree at $windows_build_dir"
    exit 0
  fi
  cmake -S "$source_dir" --preset windows >/dev/null
fi
cmake --build "$windows_build_dir" --target VR58G_x64 VR58_x64 vr58_wine_render
