#!/usr/bin/env bash
# Builds the default and the sanitizer presets and runs every test under both,
# then builds the fuzz targets and runs each briefly on its seed corpus, then
# builds the Debian packages and tests them in a Debian 12 root.
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
echo "== Debian packages"
scripts/deb.sh --test
