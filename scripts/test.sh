#!/usr/bin/env bash
# Builds everything and runs the whole test suite. The preset switches the
# tests and benchmarks on whatever an earlier configure (scripts/run.sh) left
# in the cache, and ctest fails when it finds no test to run.
# Usage: scripts/test.sh [release|debug|asan]   (default: release)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
case "$preset" in
  release | debug | asan) ;;
  *) echo "test.sh: unknown preset '$preset' (release, debug or asan)" >&2; exit 2 ;;
esac
# package: the end-to-end check of the Debian package (release build only).
scripts/deps.sh build gui test e2e bench package
jobs=$(nproc)
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$jobs"
ctest --preset "$preset" -j "$jobs"
