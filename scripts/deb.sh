#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the Debian packages libquorvane0, libquorvane-dev and quorvane with
# the deb preset (a release build below /usr with Debian's build flags) into
# build/deb/packages/.  With --test, checks them instead: lintian, then
# install, use and removal in a clean Debian 12 root
# (tests/install/deb_test.sh), and prints how long that took.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
start=$SECONDS
cmake --preset deb >/dev/null
cmake --build --preset deb -j2
if [ "${1:-}" = --test ]; then
  tests/install/deb_test.sh build/deb
  echo "Debian packages: built and tested in $((SECONDS - start)) s"
else
  rm -rf build/deb/packages
  (cd build/deb && cpack -G DEB -B packages >/dev/null)
  ls build/deb/packages/*.deb
fi
