#!/usr/bin/env bash
# Builds the optimised preset and runs every benchmark; each prints its medians
# and how they compare with their targets.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
for bench in build/default/bench/*_bench; do
  echo "== $(basename "$bench")"
  "$bench" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
done
