#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
# Usage: scripts/test.sh [release|debug|asan]   (default: release)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
scripts/deps.sh build gui test e2e bench
jobs=$(nproc)
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$jobs"
ctest --preset "$preset" -j "$jobs"
