#!/usr/bin/env bash
# Opening a price file in the window against reading it alone, whole
# processes on the same file under a private Xvfb display, taking turns RUNS
# times: `tavimo FILE` until the file's window has painted its first frame,
# and price_history_run reading the file; prints the medians, their ratio,
# and tavimo's peak memory per bar. The file holds hourly download rows.
# Usage: bench/price_window_compare.sh BUILD_DIR [ROWS] [RUNS]   (defaults 1000000, 5)
# For the memory figure of ten million bars: bench/price_window_compare.sh BUILD_DIR 10000000 3
set -euo pipefail
build=${1:?usage: bench/price_window_compare.sh BUILD_DIR [ROWS] [RUNS]}
rows=${2:-1000000}
runs=${3:-5}
command -v Xvfb >/dev/null || { echo "price_window_compare.sh: Xvfb is not installed" >&2; exit 1; }
cmake --build "$build" --target tavimo price_history_run >/dev/null
build=$(cd "$build" && pwd)
work=$(mktemp -d)
fd_file=$work/display
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [[ -s "$fd_file" ]] && break; sleep 0.1; done
export DISPLAY=":$(tr -d '[:space:]' <"$fd_file")" QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work}
# Hourly bars from 1900 on: ten million of them stay within four-digit years.
"$build/bench/price_history_run" generate "$rows" 1 hours >"$work/prices.csv"
cd "$work"  # the program's data.ini is beside a copy of it, this run's own
cp "$build/src/app/tavimo" "$work/tavimo"
python3 - "$work/tavimo" "$build/bench/price_history_run" "$work/prices.csv" "$rows" "$runs" <<'PY'
import os, statistics, subprocess, sys, time
tavimo, reader, path, rows, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])

def run(argv, env=None):
    start = time.monotonic_ns()
    child = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    out = child.stdout.read().decode()
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    end = time.monotonic_ns()
    if child.returncode != 0:
        sys.exit(f"{argv[0]} failed ({child.returncode})")
    return start, end, out, usage.ru_maxrss

opened, read, peaks = [], [], []
env = dict(os.environ, TAVIMO_EXIT_AFTER_FIRST_PAINT="1")
for _ in range(runs):
    start, end, out, peak = run([tavimo, path], env)
    marker = "first frame painted at "
    if marker not in out:
        sys.exit("tavimo did not report its price window's first frame")
    opened.append((int(out.split(marker)[1].split()[0]) - start) / 1e9)
    peaks.append(peak)
    start, end, out, _ = run([reader, "read", path])
    if out.strip() != str(rows):
        sys.exit(f"read {out.strip()} bars of {rows}")
    read.append((end - start) / 1e9)
o, r = statistics.median(opened), statistics.median(read)
peak = max(peaks) * 1024
print(f"{rows} bars, median of {runs}: open to first frame {o * 1000:.0f} ms, read alone {r * 1000:.0f} ms, "
      f"ratio {o / r:.2f} (target <= 1.5)")
print(f"tavimo peak memory {peak / 2**20:.0f} MiB, {peak / rows:.1f} bytes a bar (target <= 100)")
PY
