#!/usr/bin/env bash
# Runs the three fuzz targets side by side for the given number of seconds each (default
# 60), built by the fuzz preset. New inputs go to a scratch corpus in the build folder; the
# seeds here are only read. An input that makes a target fail is left in
# build-fuzz/artifacts/ and printed; copy it into corpus/<target>/ once the fault is fixed,
# so that test_fuzz_corpus keeps replaying it.
set -uo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-60}
build=build-fuzz
targets=(frame_assembly config_file firmware_file)
mkdir -p "$build/artifacts"

pids=()
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  # Files reach past the 16,384-byte buffer; a few kilobytes of line are plenty for frames.
  max_len=17000
  [ "$target" = frame_assembly ] && max_len=4096
  "$build/tests/fuzz/fuzz_$target" "$build/corpus/$target" "tests/fuzz/corpus/$target" \
    -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
    >"$build/fuzz_$target.log" 2>&1 &
  pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
  if wait "${pids[$i]}"; then
    echo "fuzz_${targets[$i]}: $(grep -E '^stat::number_of_executed_units' "$build/fuzz_${targets[$i]}.log" | awk '{print $2}') inputs, no fault"
  else
    failed=1
    echo "fuzz_${targets[$i]} FAILED:"
    tail -n 60 "$build/fuzz_${targets[$i]}.log"
  fi
done
if [ "$failed" -ne 0 ]; then
  for artifact in "$build"/artifacts/*; do
    [ -e "$artifact" ] && { echo "input $artifact:"; od -A d -t x1 "$artifact" | head -n 40; }
  done
fi
exit "$failed"
