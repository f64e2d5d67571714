#!/usr/bin/env bash
# Builds both platforms and runs every test: the Windows builds under Wine first (the native comparison
# with them needs their render), then the native unit, integration and cross-platform tests, then the
# unit tests again under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --preset windows
ctest --preset linux --parallel "$(nproc)"

cmake --preset asan >/dev/null
cmake --build --preset asan --parallel "$(nproc)"
build/asan/tests/unit/vr58_unit_tests --gtest_brief=1
build/asan/tests/vstgui/vr58_vstgui_unit_tests --gtest_brief=1
