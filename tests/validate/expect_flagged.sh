#!/usr/bin/env bash
# expect_flagged.sh CHECK... -- COMMAND...: runs the validator COMMAND, which must exit non-zero and mark
# every named CHECK as failed in its summary table.
set -uo pipefail
checks=()
while [[ $# -gt 0 && $1 != -- ]]; do checks+=("$1"); shift; done
shift
output=$("$@" 2>&1)
status=$?
echo "$output"
if [[ $status -eq 0 ]]; then
  echo "expected a failure exit, got 0" >&2
  exit 1
fi
for check in "${checks[@]}"; do
  if ! grep -Eq "^${check} +[0-9]+ +[1-9][0-9]* +FAIL" <<<"$output"; then
    echo "the summary does not mark '${check}' as failed" >&2
    exit 1
  fi
done
