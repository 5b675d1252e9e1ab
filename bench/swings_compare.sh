#!/usr/bin/env bash
# FindSwings against the zigzag of R's TTR package on the same highs and lows
# (a seeded random walk, written to a file both read), each timed around the
# call alone, RUNS times, in its own process; prints the medians and their
# ratio. A one-price series (highs as lows) first checks that the two find
# the same pivots where their rules agree; on highs and lows they differ in
# one case: a bar whose high makes a new extreme and whose low turns the
# swing, which FindSwings counts as both and TTR as the new extreme only.
# Usage: bench/swings_compare.sh BUILD_DIR [BARS] [RUNS]   (defaults 1000000, 11)
# Needs R with TTR (Debian r-cran-ttr: scripts/deps.sh bench).
set -euo pipefail

build=${1:?usage: bench/swings_compare.sh BUILD_DIR [BARS] [RUNS]}
bars=${2:-1000000}
runs=${3:-11}
change=5
command -v Rscript >/dev/null && Rscript -e 'invisible(loadNamespace("TTR"))' 2>/dev/null ||
  { echo "swings_compare.sh: R's TTR package is not installed (scripts/deps.sh bench)" >&2; exit 1; }
cmake --build "$build" --target price_history_run >/dev/null
driver=$(cd "$build" && pwd)/bench/price_history_run
ttr_script=$(cd "$(dirname "$0")" && pwd)/swings_ttr.R
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

field() { awk -v name="$2" '{ for (i = 1; i < NF; i++) if ($i == name) print $(i + 1) }' <<<"$1"; }

"$driver" walk "$bars" 1 line >"$work/line.bin"
ours=$("$driver" swings "$work/line.bin" "$change" 1)
theirs=$(Rscript "$ttr_script" "$work/line.bin" "$change" 1)
echo "one-price series: FindSwings $(field "$ours" points) points, TTR $(field "$theirs" points)"

"$driver" walk "$bars" 1 >"$work/hl.bin"
ours=$("$driver" swings "$work/hl.bin" "$change" "$runs")
theirs=$(Rscript "$ttr_script" "$work/hl.bin" "$change" "$runs")
awk -v bars="$bars" -v change="$change" -v runs="$runs" \
    -v op="$(field "$ours" points)" -v tp="$(field "$theirs" points)" \
    -v om="$(field "$ours" median)" -v tm="$(field "$theirs" median)" \
    -v omin="$(field "$ours" min)" -v tmin="$(field "$theirs" min)" \
    -v omax="$(field "$ours" max)" -v tmax="$(field "$theirs" max)" 'BEGIN {
  printf "highs and lows: %d bars, change %s%%, %d runs each\n", bars, change, runs
  printf "  %-11s %8s %11s %9s %9s\n", "", "points", "median ms", "min ms", "max ms"
  printf "  %-11s %8d %11.3f %9.3f %9.3f\n", "FindSwings", op, om * 1e3, omin * 1e3, omax * 1e3
  printf "  %-11s %8d %11.3f %9.3f %9.3f\n", "TTR zigzag", tp, tm * 1e3, tmin * 1e3, tmax * 1e3
  printf "  FindSwings / TTR: %.2f median, %.2f min (target <= 1)\n", om / tm, omin / tmin
}'
