#!/usr/bin/env bash
# Builds both platforms: the native plug-ins, tool and tests, and the Windows DLLs and Wine test host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
jobs=$(nproc)
for preset in windows linux; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --parallel "$jobs"
done
