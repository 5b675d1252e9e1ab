#!/usr/bin/env bash
# Builds the libFuzzer harnesses (the fuzz preset: clang with the address and
# undefined-behaviour sanitizers) and runs each for SECONDS (default 30) on a
# copy of its seed corpus, so the corpus in the repository stays as it is.
# Fails when any harness crashes, hangs (an input over 10 s) or finds a
# broken property; the input that did it is kept in build/fuzz/artifacts/.
# Usage: scripts/fuzz.sh [SECONDS] [HARNESS...]   (default: every harness)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "fuzz.sh: SECONDS must be a number" >&2; exit 2; }

scripts/deps.sh build test fuzz

harnesses=("$@")
if [[ ${#harnesses[@]} -eq 0 ]]; then
  for corpus in tests/fuzz/corpus/*/; do harnesses+=("$(basename "$corpus")"); done
fi
targets=()
for harness in "${harnesses[@]}"; do targets+=("fuzz_$harness"); done

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]}"

build=build/fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=()
for harness in "${harnesses[@]}"; do
  mkdir -p "$build/artifacts/$harness"
  cp -r "tests/fuzz/corpus/$harness" "$work/$harness"
  echo "== $harness: ${seconds}s"
  if "$build/tests/fuzz/fuzz_$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$harness/" "$work/$harness" \
      >"$work/$harness.log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/$harness.log" || true
    grep -E '^#[0-9]+' "$work/$harness.log" | tail -n 1 || true
  else
    failed+=("$harness")
    grep -v '^#' "$work/$harness.log" | tail -n 40
  fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzz.sh: failed: ${failed[*]} (inputs in $build/artifacts/)" >&2
  exit 1
fi
echo "fuzz.sh: ${#harnesses[@]} harnesses ran ${seconds}s each without a finding"
