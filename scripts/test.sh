#!/usr/bin/env bash
# Builds the default and the sanitizer presets and runs every test under both.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
for preset in default asan; do
  echo "== preset $preset"
  cmake --preset "$preset" -DQV_WERROR=ON >/dev/null
  cmake --build --preset "$preset" -j2
  ctest --preset "$preset"
done
