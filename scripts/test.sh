#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# CI, and the README's test command: every check the project keeps, one
# step after the other, each timed ("== step NAME: SECONDS s").  Stops at the
# first step that fails.
#
#   format   the style of .clang-format on every C and C++ file, that of
#            .cmake-format.yaml on every CMake file, and the licence line on
#            every source, header and script file (spdx.sh)
#   default  GCC debug build, every test (unit, db, process, slow, the fuzz replay)
#   asan     GCC with AddressSanitizer and UndefinedBehaviorSanitizer, every test
#   clang    Clang 14 build, every test
#   tsan     GCC with ThreadSanitizer, every test that may start threads
#   tidy     clang-tidy with the checks of .clang-tidy on the library and the command
#   fuzz     every fuzz target for QV_FUZZ_SECONDS (30) seconds on its seeds
#   deb      the three Debian packages, lintian, installed and used in a clean Debian 12 root
#   win32    the 32-bit Windows DLL, its toolkit DLL and the command, tested under Wine
#
# Warnings are errors in every build.  QV_TEST_STEPS="default tidy" runs
# only the steps named.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QV_DEPS_DONE=1
aSteps=(${QV_TEST_STEPS:-format default asan clang tsan tidy fuzz deb win32})

# A preset's build with warnings as errors, then its tests.  The second
# compiler and the sanitizer builds compile in batches (a unity build),
# which takes less than half the time of one file at a time; the default
# build keeps each file on its own, so that a file that misses an include
# still fails there.
# (Chained with &&: a step runs as the condition of an if, where set -e does
# not stop at a failing command.)
Preset() {
  local unity=ON
  [ "$1" = default ] && unity=OFF
  cmake --preset "$1" -DQV_WERROR=ON -DCMAKE_UNITY_BUILD=$unity >/dev/null &&
    cmake --build --preset "$1" -j2 &&
    ctest --preset "$1"
}

Step() {
  case $1 in
    format) scripts/format.sh --check && scripts/spdx.sh --check ;;
    default | asan | clang | tsan) Preset "$1" ;;
    tidy) scripts/tidy.sh ;;
    fuzz) fuzz/run.sh "${QV_FUZZ_SECONDS:-30}" ;;
    deb) scripts/deb.sh --test ;;
    win32) scripts/test-win32.sh ;;
    *) echo "unknown step $1" >&2; return 2 ;;
  esac
}

nStart=$SECONDS
for step in "${aSteps[@]}"; do
  echo "== step $step"
  nFrom=$SECONDS
  if ! Step "$step"; then
    echo "== step $step: FAILED after $((SECONDS - nFrom)) s"
    exit 1
  fi
  echo "== step $step: $((SECONDS - nFrom)) s"
done
echo "== all steps: $((SECONDS - nStart)) s"
