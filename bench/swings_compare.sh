#!/usr/bin/env bash
# FindSwings against the zigzag of R's TTR package on the same data (a seeded
# random walk, written to a file both read), each timed around the call
# alone, RUNS times, in its own process; prints the medians and their ratio,
# with the pivots each found. First a one-price series (the highs as lows),
# on which the two find the same pivots: the like-for-like figure. Then highs
# and lows, where they differ in one case: a bar whose high makes a new
# extreme and whose low turns the swing, which FindSwings takes as both a
# pivot and the start of the next leg, and TTR as the new extreme only.
# Usage: bench/swings_compare.sh BUILD_DIR [BARS] [RUNS]   (defaults 1000000, 11)
# Needs R with TTR (Debian r-cran-ttr: scripts/deps.sh ttr).
set -euo pipefail

build=${1:?usage: bench/swings_compare.sh BUILD_DIR [BARS] [RUNS]}
bars=${2:-1000000}
runs=${3:-11}
change=5
command -v Rscript >/dev/null && Rscript -e 'invisible(loadNamespace("TTR"))' 2>/dev/null ||
  { echo "swings_compare.sh: R's TTR package is not installed (scripts/deps.sh ttr)" >&2; exit 1; }
cmake --build "$build" --target price_history_run >/dev/null
driver=$(cd "$build" && pwd)/bench/price_history_run
ttr_script=$(cd "$(dirname "$0")" && pwd)/swings_ttr.R
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

field() { awk -v name="$2" '{ for (i = 1; i < NF; i++) if ($i == name) print $(i + 1) }' <<<"$1"; }

# Prints one series' table from the two programs' lines ("bars N points P median S min S max S").
report() {
  awk -v title="$1" -v change="$change" -v runs="$runs" \
      -v bars="$(field "$2" bars)" -v op="$(field "$2" points)" -v tp="$(field "$3" points)" \
      -v om="$(field "$2" median)" -v tm="$(field "$3" median)" \
      -v omin="$(field "$2" min)" -v tmin="$(field "$3" min)" \
      -v omax="$(field "$2" max)" -v tmax="$(field "$3" max)" 'BEGIN {
    printf "%s: %d bars, change %s%%, %d runs each\n", title, bars, change, runs
    printf "  %-11s %8s %11s %9s %9s\n", "", "points", "median ms", "min ms", "max ms"
    printf "  %-11s %8d %11.3f %9.3f %9.3f\n", "FindSwings", op, om * 1e3, omin * 1e3, omax * 1e3
    printf "  %-11s %8d %11.3f %9.3f %9.3f\n", "TTR zigzag", tp, tm * 1e3, tmin * 1e3, tmax * 1e3
    printf "  FindSwings / TTR: %.2f median, %.2f min (target <= 1)\n", om / tm, omin / tmin
  }'
}

for series in one-price highs-and-lows; do
  "$driver" walk "$bars" 1 $([[ $series == one-price ]] && echo line) >"$work/$series.bin"
  ours=$("$driver" swings "$work/$series.bin" "$change" "$runs")
  theirs=$(Rscript "$ttr_script" "$work/$series.bin" "$change" "$runs")
  report "$series series" "$ours" "$theirs"
done
