#!/usr/bin/env bash
# Whole-process read of a download price file (Date,Open,High,Low,Close,
# Adj Close,Volume): a program calling ReadPriceFile against
# pandas.read_csv(path, parse_dates=["Date"]), each in a process of its own,
# taking turns RUNS times on the same file; prints the median wall and CPU
# times, their ratio, and our peak memory against the bars' own size.
# Two files of ROWS bars each: weekdays from 1800 on (a million of them run
# to 5633, past the dates pandas can hold, so it keeps them as text), and
# hours from 1900 on, which pandas does read as dates.
# Usage: bench/price_file_compare.sh BUILD_DIR [ROWS] [RUNS]   (defaults 1000000, 7)
set -euo pipefail

build=${1:?usage: bench/price_file_compare.sh BUILD_DIR [ROWS] [RUNS]}
rows=${2:-1000000}
runs=${3:-7}
[[ -x /usr/bin/time ]] || { echo "price_file_compare.sh: /usr/bin/time is not installed (scripts/deps.sh bench)" >&2; exit 1; }
/usr/bin/python3 -c 'import pandas' 2>/dev/null ||
  { echo "price_file_compare.sh: pandas is not installed (scripts/deps.sh bench)" >&2; exit 1; }
cmake --build "$build" --target price_history_run >/dev/null
driver=$(cd "$build" && pwd)/bench/price_history_run
pandas_script=$(cd "$(dirname "$0")" && pwd)/price_file_pandas.py
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# PriceBars holds a bar in six 8-byte columns: the time and open, high, low,
# close, volume.
bytes_per_bar=48

# Runs a command under /usr/bin/time; appends "wall_s cpu_s peak_kib" to $2
# and leaves its standard output in $work/out.
measure() {
  local label=$1 record=$2
  shift 2
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f '%U %S %M' -o "$work/time" "$@" >"$work/out" 2>"$work/err" ||
    { echo "$label failed:" >&2; cat "$work/err" >&2; exit 1; }
  end=$(date +%s%N)
  awk -v ns=$((end - start)) '{ printf "%.4f %.2f %d\n", ns / 1e9, $1 + $2, $3 }' "$work/time" >>"$record"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column() { awk -v c="$2" '{ print $c }' "$1"; }

for spacing in weekdays hours; do
  file=$work/$spacing.csv
  "$driver" generate "$rows" 1 $([[ $spacing == hours ]] && echo hours) >"$file"
  : >"$work/ours" && : >"$work/pandas"
  for ((run = 1; run <= runs; run++)); do
    measure ours "$work/ours" "$driver" read "$file"
    bars=$(cat "$work/out")
    measure pandas "$work/pandas" /usr/bin/python3 "$pandas_script" "$file"
    read -r pandas_rows date_type <"$work/out"
  done
  [[ $bars == "$rows" && $pandas_rows == "$rows" ]] ||
    { echo "$spacing: read $bars bars, pandas $pandas_rows rows, of $rows" >&2; exit 1; }
  ours_wall=$(column "$work/ours" 1 | median)
  pandas_wall=$(column "$work/pandas" 1 | median)
  ours_cpu=$(column "$work/ours" 2 | median)
  pandas_cpu=$(column "$work/pandas" 2 | median)
  ours_peak=$(column "$work/ours" 3 | sort -g | tail -n 1)
  pandas_peak=$(column "$work/pandas" 3 | median)
  awk -v spacing="$spacing" -v bars="$bars" -v size="$(stat -c %s "$file")" -v type="$date_type" -v runs="$runs" \
      -v ow="$ours_wall" -v pw="$pandas_wall" -v oc="$ours_cpu" -v pc="$pandas_cpu" \
      -v op="$ours_peak" -v pp="$pandas_peak" -v bpb="$bytes_per_bar" 'BEGIN {
    printf "%s: %d bars, %.1f MB file; pandas reads Date as %s; medians of %d runs\n", spacing, bars, size / 1e6,
           type, runs
    printf "  %-7s %9s %9s %10s\n", "", "wall s", "cpu s", "peak MiB"
    printf "  %-7s %9.3f %9.2f %10.1f\n", "ours", ow, oc, op / 1024
    printf "  %-7s %9.3f %9.2f %10.1f\n", "pandas", pw, pc, pp / 1024
    printf "  pandas / ours: %.2f wall, %.2f cpu (target >= 5)\n", pw / ow, pc / oc
    printf "  our peak (largest of the runs) / bars (%d x %d bytes = %.1f MiB): %.2f (target < 3)\n", bars, bpb,
           bars * bpb / 1048576, op * 1024 / (bars * bpb)
  }'
done
