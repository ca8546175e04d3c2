#!/usr/bin/env bash
# The long fuzzing run: every target for RUNS inputs (default ten million), each starting from
# the committed seeds plus what earlier long runs found (kept in build/fuzz-corpus/). Prints,
# per target, the inputs run, the coverage reached and how it ended; exit code 1 when any
# target found a crash, a hang or a leak (the input is left in build/fuzz-artifacts/).
# Usage: fuzz/run.sh [RUNS] [TARGET...]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10000000}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(ini_read ini_roundtrip load_settings)

bash "$root/scripts/build.sh" fuzz || exit 1
artifacts="$root/build/fuzz-artifacts"
mkdir -p "$artifacts"
status=0
for t in "${targets[@]}"; do
  corpus="$root/build/fuzz-corpus/$t"
  mkdir -p "$corpus"
  log="$root/build/fuzz-$t.log"
  start=$(date +%s)
  "$root/build/fuzz/fuzz/${t}_fuzz" -runs="$runs" -max_len=1024 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/$t-" "$corpus" "$root/fuzz/corpus/$t" \
    >"$log" 2>&1
  rc=$?
  secs=$(( $(date +%s) - start ))
  done_line=$(grep -E '^#[0-9]+\s+DONE' "$log" | tail -1)
  execs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
  if [ $rc -eq 0 ]; then
    verdict="no crash, hang or leak"
  elif grep -q "run interrupted" "$log"; then
    verdict="interrupted; no crash, hang or leak until then"
  else
    verdict="FAILED (see $log)"; status=1
  fi
  printf '%-14s %12s runs in %5ss  %s  %s\n' "$t" "${execs:-?}" "$secs" \
    "$(echo "$done_line" | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9a-zA-Z]+')" "$verdict"
done
exit $status
