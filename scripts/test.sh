#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the normal build,
# the sanitizer builds (ASan + UBSan, and ThreadSanitizer for the threaded
# paths) and a bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

for preset in default asan tsan; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

bash scripts/fuzz.sh
