#!/usr/bin/env bash
# Builds the release programs and starts the Tavimo window.
# Usage: scripts/run.sh              the desktop window (needs a display)
#        scripts/run.sh ARGS...      tavimo-cli ARGS (for example: resistance --low 10 --high 20)
# Without a display the window cannot open; draw the chart into a picture
# instead: scripts/run.sh resistance --low 10 --high 20 --png chart.png
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build gui
scripts/release-build.sh tavimo tavimo-cli >&2
if [[ $# -gt 0 ]]; then
  exec build/release/src/cli/tavimo-cli "$@"
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "run.sh: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "run.sh: use tavimo-cli --png instead, for example:" >&2
  echo "  scripts/run.sh resistance --low 10 --high 20 --png chart.png" >&2
  exit 1
fi
exec build/release/src/app/tavimo
