#!/usr/bin/env bash
# Builds both platforms and runs every test: the Windows builds under Wine first (the native comparison
# with them needs their render), then the native unit, integration and cross-platform tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --preset windows
ctest --preset linux --parallel "$(nproc)"
