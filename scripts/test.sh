#!/usr/bin/env bash
# Builds both platforms and runs every test: the unit tests under AddressSanitizer and UBSan, the threaded
# tests, the editor's open/close stress test and the validator's threaded case under ThreadSanitizer, the
# Windows builds under Wine (the native comparison with them needs their render; the validator runs
# against the DLLs there), then the native unit, integration and cross-platform tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh

cmake --preset asan >/dev/null
cmake --build --preset asan --parallel "$(nproc)"
build/asan/tests/unit/vr58_unit_tests --gtest_brief=1
build/asan/tests/vstgui/vr58_vstgui_unit_tests --gtest_brief=1
build/asan/tests/editor/vr58_editor_tests --gtest_brief=1

# Any data race ends the run with an error; parameter values, design marks and chunk slots are atomics.
cmake --preset tsan >/dev/null
cmake --build --preset tsan --parallel "$(nproc)"
export TSAN_OPTIONS="halt_on_error=1 exitcode=66"
build/tsan/tests/unit/vr58_concurrency_tests --gtest_brief=1
build/tsan/tests/editor/vr58_editor_tests --gtest_brief=1 --gtest_filter='EditorUnderAudio.*'
build/tsan/tools/vr58/vr58 validate build/tsan/plugins/VR58_x64.so --only threads --seconds 10
unset TSAN_OPTIONS

ctest --preset windows
ctest --preset linux --parallel "$(nproc)"
