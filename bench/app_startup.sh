#!/usr/bin/env bash
# Runs the start-up benchmark under a private Xvfb display.
# Usage: bench/app_startup.sh BUILD_DIR [benchmark arguments]
set -euo pipefail
build=${1:?usage: app_startup.sh BUILD_DIR [benchmark arguments]}
shift
command -v Xvfb >/dev/null || { echo "app_startup.sh: Xvfb is not installed" >&2; exit 1; }
cmake --build "$build" --target app_startup
fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$fd_file"' EXIT
for _ in $(seq 50); do [[ -s "$fd_file" ]] && break; sleep 0.1; done
export DISPLAY=":$(tr -d '[:space:]' <"$fd_file")" QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
"$build/bench/app_startup" "$@"
