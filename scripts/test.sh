#!/usr/bin/env bash
# Builds both platforms and runs every test: native unit and integration tests, then the Windows
# builds under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --preset linux --parallel "$(nproc)"
ctest --preset windows
