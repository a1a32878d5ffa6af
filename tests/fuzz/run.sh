#!/usr/bin/env bash
# Runs every fuzz target of a build for a fixed time with a fixed seed, each over a copy
# of its seed corpus (the inputs it discovers go to the copy, never into the repository),
# and prints the executions per target. A crash or sanitizer report fails the run; the
# input that caused it is kept and its path printed, to be added to the corpus once fixed.
#
#     tests/fuzz/run.sh [BUILD-FOLDER [SECONDS-PER-TARGET]]    # build/fuzz, 15
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build/fuzz}
seconds=${2:-15}
targets=("$build"/tests/fuzz/*_fuzz)
[ -x "${targets[0]}" ] || { echo "fuzz: no targets in $build/tests/fuzz" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/mirel-fuzz.XXXXXX")
failed=0
for target in "${targets[@]}"; do
  name=$(basename "$target" _fuzz)
  seeds=$here/corpus/$name
  [ -d "$seeds" ] || { echo "fuzz: $name has no corpus in $seeds" >&2; failed=1; continue; }
  mkdir -p "$work/$name/corpus" "$work/$name/crash"
  cp "$seeds"/* "$work/$name/corpus/"
  log=$work/$name/log
  if "$target" -seed=1 -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$work/$name/crash/" "$work/$name/corpus" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    printf 'fuzz: %-16s %10s executions in %s s\n' "$name" "$runs" "$seconds"
  else
    tail -n 40 "$log" >&2
    echo "fuzz: $name FAILED; the input is in $work/$name/crash/" >&2
    failed=1
  fi
done
if [ "$failed" -eq 0 ]; then rm -rf "$work"; fi
exit "$failed"
