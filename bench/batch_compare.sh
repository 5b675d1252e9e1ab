#!/usr/bin/env bash
# Whole-process figures of the batch: our driver against the pandas script on
# the same input in one session (rows per second, MB per second, peak memory),
# and our peak memory again for three times the rows, to show it stays flat.
# Usage: bench/batch_compare.sh BUILD_DIR [ROWS]    (BUILD_DIR such as build/release)
set -euo pipefail

build=${1:?usage: bench/batch_compare.sh BUILD_DIR [ROWS]}
rows=${2:-1000000}
driver=$(cd "$build" && pwd)/bench/batch_levels_run
pandas_script=$(cd "$(dirname "$0")" && pwd)/batch_pandas.py
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$driver" generate "$rows" > "$work/input.csv"

# The two outputs agree but for marks of exact ties, which Python's format
# rounds to even and the chart's pattern away from zero.
head -n 20001 "$work/input.csv" > "$work/sample.csv"
"$driver" < "$work/sample.csv" > "$work/ours.csv" 2> /dev/null
/usr/bin/python3 "$pandas_script" < "$work/sample.csv" > "$work/pandas.csv"
differing=$( (diff "$work/ours.csv" "$work/pandas.csv" || true) | grep -c '^<' || true)
echo "sample of 20000 rows: $(wc -l < "$work/ours.csv") lines each, $differing differ"

seconds() { # the wall clock of /usr/bin/time -v: [h:]mm:ss.ss
  awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$1"
}
cpu_seconds() { awk -F': ' '/User time|System time/ { s += $2 } END { print s }' "$1"; }
peak_mb() { awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$1"; }

/usr/bin/time -v "$driver" < "$work/input.csv" > /dev/null 2> "$work/ours.time"
bytes=$(awk '/^rows / { print $6 }' "$work/ours.time")
/usr/bin/time -v /usr/bin/python3 "$pandas_script" < "$work/input.csv" > /dev/null 2> "$work/pandas.time"
"$driver" generate $((rows * 3)) | /usr/bin/time -v "$driver" > /dev/null 2> "$work/triple.time"

ours=$(seconds "$work/ours.time")
theirs=$(seconds "$work/pandas.time")
awk -v rows="$rows" -v bytes="$bytes" -v ours="$ours" -v theirs="$theirs" \
    -v ours_cpu="$(cpu_seconds "$work/ours.time")" -v theirs_cpu="$(cpu_seconds "$work/pandas.time")" \
    -v ours_mb="$(peak_mb "$work/ours.time")" -v theirs_mb="$(peak_mb "$work/pandas.time")" \
    -v triple_mb="$(peak_mb "$work/triple.time")" 'BEGIN {
  printf "%-8s %9s %9s %12s %10s %9s\n", "", "wall s", "cpu s", "rows/s", "MB/s", "peak MB"
  printf "%-8s %9.2f %9.2f %12.0f %10.1f %9s\n", "ours", ours, ours_cpu, rows / ours, bytes / 1e6 / ours, ours_mb
  printf "%-8s %9.2f %9.2f %12.0f %10.1f %9s\n", "pandas", theirs, theirs_cpu, rows / theirs, bytes / 1e6 / theirs,
         theirs_mb
  printf "output %.1f MB; pandas / ours: %.2f wall, %.2f cpu (target >= 5)\n", bytes / 1e6, theirs / ours,
         theirs_cpu / ours_cpu
  printf "our peak memory for %d rows: %s MB (target < 50 MB)\n", rows * 3, triple_mb
}'
