#!/usr/bin/env bash
# Builds the release programs and runs the level calculator.
# Usage: scripts/run.sh [tavimo-cli arguments]   (default: resistance --low 10 --high 20)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build gui
cmake --preset release -DTAVIMO_BUILD_TESTS=OFF -DTAVIMO_BUILD_BENCH=OFF >/dev/null
cmake --build --preset release -j "$(nproc)" --target tavimo-cli
if [[ $# -eq 0 ]]; then set -- resistance --low 10 --high 20; fi
exec build/release/src/cli/tavimo-cli "$@"
