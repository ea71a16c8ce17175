#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Times the first save of a tree (`quorvane scan --save`, no method file and
# no repository yet) with the Linux build and with one or more Windows
# builds under Wine, in the same run, and prints the medians and each
# Windows build's ratio to Linux.  Several Windows builds (before and after
# a change, say) are timed against the same Linux runs.
#
#   bench/wine-save.sh ROOT [QUORVANE_EXE...]
#
# ROOT: a tree of Java sources (the JDK's, say); only its .java files are
# copied.  QUORVANE_EXE default to build/win32/quorvane.exe; each runs with
# the quorvane.dll and uitk60.dll beside it.  The Linux build is
# QV_LINUX_QUORVANE (build/release/quorvane).  Every run saves a fresh copy
# of the sources, made and synced before the clock starts, so that no save
# pays for the copy's writing, and kept until the end: on a file system
# without a journal, ext4 passes over the inodes freed in the last minute
# or more when it makes a file, so that a run made just after another's
# removal would pay for it; the builds take turns, QV_BENCH_RUNS (3)
# times.  Wine runs in a prefix of its own, its server kept up for the
# whole script, so that no run pays for starting it.  Each save must end
# with status 0 and the same number of classes in the class list and of
# method files as the Linux build's.
set -euo pipefail
root=${1:?usage: bench/wine-save.sh ROOT [QUORVANE_EXE...]}
shift
here=$(cd "$(dirname "$0")/.." && pwd)
linux=${QV_LINUX_QUORVANE:-$here/build/release/quorvane}
runs=${QV_BENCH_RUNS:-3}
exes=("$@")
[ ${#exes[@]} -gt 0 ] || exes=("$here/build/win32/quorvane.exe")
[ -x "$linux" ] || { echo "no Linux quorvane at $linux (cmake --preset release && cmake --build --preset release)" >&2; exit 2; }
for exe in "${exes[@]}"; do
  [ -f "$exe" ] || { echo "no $exe (cmake --preset win32 && cmake --build --preset win32)" >&2; exit 2; }
done
command -v wine >/dev/null || { echo "no wine (scripts/win32-setup.sh)" >&2; exit 2; }

work=$(mktemp -d /tmp/quorvane-wine-save.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
wineboot --init >/dev/null 2>&1
wineserver -p >/dev/null 2>&1 &

# The sources once, as the runs copy them.
(cd "$root" && find . -type f -name '*.java' -print0) >"$work/list"
files=$(tr -cd '\0' <"$work/list" | wc -c)
fresh() {  # fresh DIR: a new copy of the sources in DIR, on disk
  mkdir -p "$1/tree"
  (cd "$root" && tar --null -T "$work/list" -cf -) | tar -C "$1/tree" -xf -
  sync
}
now() { date +%s.%N; }
# run NAME COMMAND...: one first save in a fresh directory, timed; appends
# the seconds to $work/NAME.times and checks what was saved.
run() {
  local name=$1 dir=$work/run-$1-$k t0 t1 status=0 classes methods
  shift
  fresh "$dir"
  t0=$(now)
  (cd "$dir" && "$@" scan --save -q --repo repo tree) >"$work/out" 2>&1 || status=$?
  t1=$(now)
  [ $status = 0 ] || { cat "$work/out" >&2; echo "$name: status $status" >&2; exit 1; }
  classes=$(wc -l <"$dir/repo/jbclass.txt")
  # The method files are below the repository (its methods folder), none in the sources.
  methods=$(find "$dir/repo/methods" -type f | wc -l)
  if [ -z "${expect:-}" ]; then
    expect="$classes $methods"
  elif [ "$expect" != "$classes $methods" ]; then
    echo "$name saved $classes classes and $methods method files, Linux $expect" >&2
    exit 1
  fi
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f\n", b - a }' >>"$work/$name.times"
}

for ((k = 1; k <= runs; ++k)); do
  run linux "$linux"
  for i in "${!exes[@]}"; do run "wine$i" wine "${exes[$i]}"; done
  printf 'run %d of %d: Linux %ss' "$k" "$runs" "$(tail -n1 "$work/linux.times")"
  for i in "${!exes[@]}"; do printf ', %s %ss' "${exes[$i]}" "$(tail -n1 "$work/wine$i.times")"; done
  echo
done

median() { sort -g "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
base=$(median "$work/linux.times")
echo
echo "first save of $files Java files ($expect: classes, method files), median of $runs runs:"
printf '  %-50s %8.2f s\n' "Linux $linux" "$base"
for i in "${!exes[@]}"; do
  m=$(median "$work/wine$i.times")
  printf '  %-50s %8.2f s  %5.2f x Linux\n' "Wine ${exes[$i]}" "$m" \
    "$(awk -v a="$m" -v b="$base" 'BEGIN { print a / b }')"
done
