#!/usr/bin/env bash
# Builds and tests every preset: the Windows builds under Wine; the native unit, integration, X11, install and
# native-vs-Wine tests; the unit tests under AddressSanitizer and UBSan; the threaded tests, the editor's
# stress test and the validator's threads check under ThreadSanitizer; then every fuzz target for 10 s.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"
for preset in windows linux asan tsan; do
  cmake --workflow --preset "$preset"
done
scripts/fuzz.sh 10
