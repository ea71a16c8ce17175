#!/usr/bin/env bash
# Builds Quorvane and runs its main job on the bundled examples.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quorvane quorvane_cli
build/default/quorvane demo $(find examples -name '*.java' | sort)
