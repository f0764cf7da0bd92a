#!/bin/sh
# Runs every libFuzzer target of BUILD (a `fuzz` preset build) for SECONDS each, one after another,
# on a scratch copy of its seed corpus, so new inputs never land in the repository. Prints each
# target's speed and the inputs that crashed; exits 1 when any did.
# usage: fuzz/run.sh BUILD SECONDS [TARGET...]
set -u
build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
targets=${*:-"extract_emails bounce_classifier tokens linked_contacts exclusions restrict_filter mailbox"}
work=$build/fuzz-runs
crashes=""
for target in $targets; do
  run=$work/$target
  rm -rf "$run" && mkdir -p "$run/corpus" "$run/artifacts"
  cp "$here/corpus/$target/"* "$run/corpus/"
  dict=""
  [ -f "$here/$target.dict" ] && dict="-dict=$here/$target.dict"
  echo "== $target: $seconds s"
  # shellcheck disable=SC2086
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 $dict \
    -artifact_prefix="$run/artifacts/" "$run/corpus" > "$run/log" 2>&1
  grep -E "^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)" "$run/log"
  found=$(find "$run/artifacts" -type f)
  if [ -n "$found" ]; then
    grep -E "ERROR: |SUMMARY: |property broken" "$run/log" | head -5
    crashes="$crashes $found"
  fi
done
if [ -n "$crashes" ]; then
  echo "== crashing inputs (logs beside them, in $work/TARGET/log):"
  for file in $crashes; do echo "$file"; done
  exit 1
fi
echo "== no crashes"
