#!/usr/bin/env bash
# Builds TARGETs (default: all) of the release build in build/release, for
# run.sh, package.sh and resources/make_screenshot.sh. A build folder that
# exists keeps the settings it was configured with, so building the programs
# never switches off the tests that scripts/test.sh switched on; a first
# configure here leaves the tests and benchmarks out, and their packages
# uninstalled, until scripts/test.sh configures them in through the preset.
# The caller installs the packages the build needs (scripts/deps.sh build gui).
# Usage: scripts/release-build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -f build/release/CMakeCache.txt ]]; then
  cmake -S . -B build/release >/dev/null
else
  cmake --preset release -DTAVIMO_BUILD_TESTS=OFF -DTAVIMO_BUILD_BENCH=OFF >/dev/null
fi
targets=()
[[ $# -gt 0 ]] && targets=(--target "$@")
cmake --build --preset release -j "$(nproc)" "${targets[@]}"
