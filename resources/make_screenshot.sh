#!/usr/bin/env bash
# Takes the metainfo's screenshot, tavimo-resistance.png: the real window
# under Xvfb with the rebound resistance levels of 10 and 20, written by the
# end-to-end script once it has checked that the window shows tavimo-cli's
# chart.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build gui e2e
scripts/release-build.sh tavimo tavimo-cli
artifacts=$(mktemp -d /tmp/tavimo-screenshot.XXXXXX)
trap 'rm -rf "$artifacts"' EXIT
e2e/run_e2e.sh --screenshot resources/tavimo-resistance.png \
  build/release/src/app/tavimo build/release/src/cli/tavimo-cli "$artifacts"
