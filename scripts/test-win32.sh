#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The Windows part of the tests: sets the machine up (scripts/win32-setup.sh,
# which picks the route this machine needs to run 32-bit programs), builds the
# win32 preset and the unit tests' program (win32-tests) and runs the Windows
# tests under Wine in one fresh Wine prefix with the server kept up.  Prints
# the time of each part.
#
# The profile differential and the main-job comparison need the Linux build
# (build/default, as scripts/test.sh leaves it); the targets they use are
# built here when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/win32
linux=$root/build/default
t_start=$(date +%s)
fails=0
declare -a summary=()

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN{printf "%.1f", b - a}'; }
# step NAME COMMAND...: runs, times and records one part.
step() {
  local name=$1 t rc=0
  shift
  echo "== win32: $name"
  t=$(now)
  "$@" || rc=$?
  local took
  took=$(since "$t")
  if [ $rc = 0 ]; then
    summary+=("ok    ${took}s  $name")
  else
    summary+=("FAIL  ${took}s  $name (status $rc)")
    fails=$((fails + 1))
  fi
  echo "== win32: $name: $([ $rc = 0 ] && echo ok || echo "FAILED ($rc)") in ${took}s"
}
finish() {
  echo "== win32 summary"
  printf '  %s\n' "${summary[@]}"
  echo "  total $(( $(date +%s) - t_start ))s, $fails failure(s)"
}

if [ "$(id -u)" = 0 ]; then
  step "set-up" scripts/win32-setup.sh
else
  step "set-up" sudo scripts/win32-setup.sh
fi
[ $fails = 0 ] || { finish; exit 1; }

build_win32() {
  cmake --preset win32 -DQV_WERROR=ON >/dev/null && nice cmake --build --preset win32 -j2
}
step "build (win32 preset)" build_win32
[ $fails = 0 ] || { finish; exit 1; }

# The unit tests' program on its own, so that its build time shows apart.
build_tests() { nice cmake --build --preset win32-tests -j2; }
step "build (win32 unit tests)" build_tests

build_linux() {
  [ -f "$linux/CMakeCache.txt" ] || cmake --preset default >/dev/null
  nice cmake --build "$linux" -j2 --target quorvane quorvane_cli quorvane_host &&
    nice g++ -std=c++20 -O1 -I. -Iinclude tests/win32/profile_cases.cpp "$linux/libquorvane_host.a" \
      "$linux/libquorvane_core.a" -o "$linux/profile_cases"
}
step "Linux pieces for the comparisons" build_linux

# One Wine prefix for the run, its server kept up between the programs.
scratch=$(mktemp -d /tmp/quorvane-win32.XXXXXX)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
prefix() {
  wineboot --init >/dev/null 2>&1 && (wineserver -p >/dev/null 2>&1 &)
}
step "Wine prefix" prefix

step "export tables" bash tests/win32/export_table_test.sh "$build" "$root"

loader() { (cd "$build" && wine loader_test.exe "$root/tests/data/exports.tsv"); }
step "loader test" loader

missing_toolkit() {
  local dir=$scratch/no-toolkit out
  mkdir -p "$dir"
  cp "$build/quorvane.dll" "$build/loader_test.exe" "$dir/"
  out=$(cd "$dir" && wine loader_test.exe --expect-load-failure 2>&1) || { echo "$out"; return 1; }
  echo "$out"
  grep -q "Unable to find external-function library:" <<<"$out" && grep -q uitk60 <<<"$out" ||
    { echo "FAIL the attach-failure message naming uitk60 was not shown"; return 1; }
  echo "PASS the load fails with the library's attach-failure message"
}
step "load without uitk60.dll" missing_toolkit

# The unit tests (cmake/win32_tests.cmake): every case must pass.
unit_tests() {
  local out=$scratch/unit-tests.out rc=0 ran
  (cd "$build" && wine quorvane_unit_tests.exe --gtest_brief=1) >"$out.raw" 2>&1 || rc=$?
  tr -d '\r' <"$out.raw" >"$out"
  grep -v '^Running main() from' "$out" || true
  ran=$(sed -nE 's/^\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' "$out")
  if [ "$rc" = 0 ] && [ -n "$ran" ]; then
    echo "PASS $ran unit tests ran under Wine, all passed"
  else
    echo "FAIL the unit tests under Wine (status $rc, ${ran:-no} tests ran to the end)"
    return 1
  fi
}
step "unit tests" unit_tests

# The list-box family through quorvane.dll and uitk60.dll, which records the
# list operations and answers them as scripted.
list_box() {
  local out=$scratch/list-box.out rc=0
  (cd "$build" && wine list_box_exports_tests.exe --gtest_brief=1) >"$out" 2>&1 || rc=$?
  tr -d '\r' <"$out" | grep -v '^Running main() from'
  return $rc
}
step "list box through the DLL pair" list_box

step "profile differential" bash tests/win32/profile_differential.sh "$build/profile_cases.exe" "$linux/profile_cases"

# The README's main job, the same on both builds but for the paths.
main_job() {
  local w=$scratch/main-win l=$scratch/main-linux
  mkdir -p "$w" "$l"
  cp -r examples "$w/examples"
  cp -r examples "$l/examples"
  (cd "$w" && wine "$build/quorvane.exe" scan --save --repo repo --profile-dir profile examples &&
    wine "$build/quorvane.exe" tree --repo repo --profile-dir profile) 2>&1 | tr -d '\r' |
    sed 's|\\|/|g' >"$scratch/main-win.out"
  (cd "$l" && "$linux/quorvane" scan --save --repo repo --profile-dir profile examples &&
    "$linux/quorvane" tree --repo repo --profile-dir profile) >"$scratch/main-linux.out" 2>&1
  # Paths aside (each build prints its own), and the elapsed time.
  local norm='/^time: /d; s|^(saved: .* in ).*$|\1REPOSITORY|'
  sed -E -i "$norm" "$scratch/main-win.out" "$scratch/main-linux.out"
  if diff "$scratch/main-linux.out" "$scratch/main-win.out"; then
    echo "PASS scan --save and tree: the same output under Wine as on Linux ($(wc -l <"$scratch/main-win.out") lines)"
  else
    echo "FAIL the main job's output differs (< Linux, > Windows)"
    return 1
  fi
}
step "main job (scan --save, tree)" main_job

finish
exit $((fails > 0))
