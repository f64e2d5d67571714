#!/usr/bin/env bash
# Builds both platforms. "scripts/build.sh release" builds what the main job runs: the plug-ins, the LV2
# bundles, vr58 and the factory presets (presets linux-release and windows-release, no test, benchmark or
# fuzz target). Without an argument it builds everything, tests included (presets windows and linux).
set -euo pipefail
cd "$(dirname "$0")/.."
suffix=""
if [[ "${1:-}" == release ]]; then
  suffix="-release"
  scripts/install-dependencies.sh release
else
  scripts/install-dependencies.sh
fi
jobs=$(nproc)
# Linux first: the Windows build takes the factory presets the Linux vr58 makes.
for preset in linux windows; do
  cmake --preset "$preset$suffix" >/dev/null
  cmake --build --preset "$preset$suffix" --parallel "$jobs"
done
