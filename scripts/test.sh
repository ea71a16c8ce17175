#!/usr/bin/env bash
# Builds the default and the sanitizer presets and runs every test under both,
# then builds the fuzz targets and runs each briefly on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
for preset in default asan; do
  echo "== preset $preset"
  cmake --preset "$preset" -DQV_WERROR=ON >/dev/null
  cmake --build --preset "$preset" -j2
  ctest --preset "$preset"
done
echo "== fuzz"
fuzz/run.sh "${QV_FUZZ_SECONDS:-30}"
echo "== win32"
scripts/test-win32.sh
