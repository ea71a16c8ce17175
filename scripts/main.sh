#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds Quorvane and runs its main job on the bundled examples: a scan of
# the Java sources below examples/ saved as a repository, then the subclass
# tree read back from that repository (the class list and, in its folder
# methods, one method file per class; nothing is written into the tree).
# The sources are copied first all the same, so the job has a tree of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QV_DEPS_DONE=1
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quorvane quorvane_cli
work=build/main-job
rm -rf "$work"
mkdir -p "$work"
cp -r examples "$work/examples"
# Its own profile directory, so that a user's Quorvane.ini does not change the job.
build/default/quorvane scan --list --save --history 3 --repo "$work/repo" --profile-dir "$work/profile" "$work/examples"
build/default/quorvane tree --repo "$work/repo" --profile-dir "$work/profile"
