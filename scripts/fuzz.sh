#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time on a copy of its
# seed corpus. A crash, a sanitizer report or a broken property fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds_per_target=${VEXA_FUZZ_SECONDS:-20}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  echo "== fuzzing $name for ${seconds_per_target}s"
  mkdir -p "$work/$name"
  cp -r "tests/fuzz/corpus/$name/." "$work/$name/" 2>/dev/null || true
  "$target" -max_total_time="$seconds_per_target" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/" "$work/$name" 2>"$work/$name.log" \
    || { tail -n 60 "$work/$name.log"; echo "fuzzing $name failed"; exit 1; }
  grep -E '^stat::number_of_executed_units' "$work/$name.log" || true
done
