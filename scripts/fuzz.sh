#!/usr/bin/env bash
# Builds the libFuzzer targets (CMake preset `fuzz`: clang with AddressSanitizer and UBSan) and runs each for
# SECONDS (default 10) from its seeds in fuzz/corpus/<target>/. What a run adds to the corpus stays in
# build/fuzz/corpus/<target>/, a crashing input lands in build/fuzz/crashes/ and fails the script.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: chunk fxp preset_list set_value audio_file)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(chunk fxp preset_list set_value audio_file)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/crashes
for target in "${targets[@]}"; do
  work="build/fuzz/corpus/$target"
  mkdir -p "$work"
  echo "== fuzz_$target for ${seconds} s"
  log="build/fuzz/fuzz_$target.log"
  status=0
  build/fuzz/fuzz/"fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/crashes/$target-" "$work" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|==[0-9]+==|SUMMARY|fuzz expectation|Test unit written)' "$log" || true
  if ((status != 0)); then
    echo "fuzz_$target failed (exit $status); its output is in $log" >&2
    exit 1
  fi
done
