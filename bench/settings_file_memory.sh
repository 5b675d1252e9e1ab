#!/usr/bin/env bash
# Reads and saves a large settings file through tavimo-cli and reports the
# time and peak memory of each, as /usr/bin/time -v measures them.
# Usage: bench/settings_file_memory.sh BUILD_DIR [MEGABYTES]   (default 100)
# The file holds MEGABYTES million empty lines, then the list's section.
set -euo pipefail
build=${1:?usage: settings_file_memory.sh BUILD_DIR [MEGABYTES]}
megabytes=${2:-100}
[[ -x /usr/bin/time ]] || { echo "settings_file_memory.sh: /usr/bin/time is not installed" >&2; exit 1; }
cmake --build "$build" --target tavimo-cli >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of its own reads and writes the data.ini beside it.
cp "$build/src/cli/tavimo-cli" "$work/"
{ head -c "$((megabytes * 1000000))" /dev/zero | tr '\0' '\n'; printf '[tvmo]\nnum=0.5,1\n'; } >"$work/data.ini"
size=$(stat -c %s "$work/data.ini")

measure() {
  local label=$1
  shift
  /usr/bin/time -v "$@" >/dev/null 2>"$work/time.log" || { cat "$work/time.log" >&2; exit 1; }
  local seconds kilobytes
  seconds=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.log")
  kilobytes=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.log")
  printf '%-6s %10s  peak %8d KiB = %.3f x the file (%d bytes)\n' "$label" "$seconds" "$kilobytes" \
    "$(echo "$kilobytes * 1024 / $size" | bc -l)" "$size"
}

measure read "$work/tavimo-cli" rise --low 10
measure save "$work/tavimo-cli" ratios --set 0.382,0.5
grep -q '^num=0.382,0.5$' "$work/data.ini" || { echo "the save did not store the list" >&2; exit 1; }
