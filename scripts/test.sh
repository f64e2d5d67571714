#!/usr/bin/env bash
# Builds both platforms and runs every test: the unit tests under AddressSanitizer and UBSan, the Windows
# builds under Wine (the native comparison with them needs their render), then the native unit,
# integration and cross-platform tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh

cmake --preset asan >/dev/null
cmake --build --preset asan --parallel "$(nproc)"
build/asan/tests/unit/vr58_unit_tests --gtest_brief=1
build/asan/tests/vstgui/vr58_vstgui_unit_tests --gtest_brief=1
build/asan/tests/editor/vr58_editor_tests --gtest_brief=1

ctest --preset windows
ctest --preset linux --parallel "$(nproc)"
