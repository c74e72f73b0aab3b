#!/usr/bin/env bash
# run-fuzzers.sh BUILD_DIR SECONDS [TARGET...]: fuzzes each target (all of BUILD_DIR/fuzz/ by default) for
# SECONDS, one after the other. New inputs go to BUILD_DIR/fuzz-corpus/<target>/ (the seeds in
# tests/fuzz/corpus/ are only read); a crash, leak, timeout or out-of-memory input is kept in
# BUILD_DIR/fuzz-findings/<target>/. Prints one line per target: executions, coverage (edges and features),
# corpus, findings.
# A finding, once fixed, is copied into tests/fuzz/corpus/<target>/ so the regression run keeps it.
set -uo pipefail
cd "$(dirname "$0")/../.."
build=$1 seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -eq 0 ] && for f in "$build"/fuzz/fuzz_*; do targets+=("$(basename "$f" | sed 's/^fuzz_//')"); done
export ASAN_OPTIONS="detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
status=0
printf '%-20s %12s %8s %8s %8s %8s %9s\n' target executions exec/s cov ft corpus findings
for t in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$t" findings="$build/fuzz-findings/$t" log="$build/fuzz-logs/$t.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "tests/fuzz/corpus/$t" >"$log" 2>&1
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  n=$(find "$findings" -type f | wc -l)
  printf '%-20s %12s %8s %8s %8s %8s %9s\n' "$t" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" \
    "$(find "$corpus" -type f | wc -l)" "$n"
  [ "$n" -eq 0 ] || status=1
done
exit $status
