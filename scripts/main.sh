#!/usr/bin/env bash
# Builds Quorvane and runs its main job on the bundled examples: a scan of
# the Java sources below examples/, one line per class and a summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quorvane quorvane_cli
build/default/quorvane scan --list examples
