#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The peak memory of one large Java source: writes a single class of
# QV_LARGE_MB (200) megabytes, with LF line ends, made of methods with
# documentation comments, line and block comments and string literals that
# hold unicode escapes, and prints for each QUORVANE given the peak resident
# set of `scan` and of a first `scan --save`, and the ratio of each to the
# file's size (target for the save: under 2).  Several builds in one call
# are measured in the same run, taking turns.
#
#   bench/large_file.sh [QUORVANE...]
#
# QUORVANE defaults to the release build's, build/release/quorvane.  Each
# command runs QV_BENCH_RUNS (3) times; the figures are medians.
set -euo pipefail
here=$(dirname "$0")
[ $# -gt 0 ] || set -- "$here/../build/release/quorvane"
for qv in "$@"; do
  [ -x "$qv" ] || { echo "no quorvane at $qv (cmake --preset release && cmake --build --preset release)" >&2; exit 2; }
done
command -v /usr/bin/time >/dev/null || { echo "no /usr/bin/time (scripts/deps.sh installs it)" >&2; exit 2; }
mb=${QV_LARGE_MB:-200}
runs=${QV_BENCH_RUNS:-3}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/src"
file=$work/src/Large.java
awk -v bytes=$((mb * 1000 * 1000)) 'BEGIN {
  printf "/*\n * Large.java: one class of %d bytes.\n */\npackage bench.large;\n\nimport java.util.List;\n\n", bytes
  printf "/** A class with very many methods. */\npublic class Large {\n"
  n = 0
  for (i = 0; n < bytes; ++i) {
    s = sprintf("  /**\n   * Returns its argument plus %d.\n   * @param n the value\n   */\n", i)
    s = s sprintf("  public int m%d(int n) {\n    // the text of method %d\n", i, i)
    s = s sprintf("    String s = \"m%d: \\u00e9t\\u00e9 \\\"{\\\"\"; /* a { in a literal */\n", i)
    s = s sprintf("    return n + %d;\n  }\n\n", i)
    printf "%s", s
    n += length(s)
  }
  printf "}\n"
}' > "$file"
size=$(stat -c %s "$file")

# peak NAME: appends the peak resident set in KiB of one run of cmd to $work/NAME
peak() {
  /usr/bin/time -f '%M' -o "$work/t" "${cmd[@]}" >/dev/null 2>"$work/err" || {
    echo "failed: ${cmd[*]}" >&2
    cat "$work/err" >&2
    exit 1
  }
  cat "$work/t" >> "$work/$1"
}
for ((k = 0; k < runs; ++k)); do
  for ((b = 1; b <= $#; ++b)); do
    qv=${!b}
    cmd=("$qv" scan -q "$work/src")
    peak "scan-$b"
    rm -rf "$work/repo" "$work/src/Large.med"
    mkdir "$work/repo"
    cmd=("$qv" scan --save -q --repo "$work/repo" "$work/src")
    peak "save-$b"
  done
done

median() {  # median FILE
  sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
printf 'file: %.1f MB, %d lines\n\n' "$(echo "$size" | awk '{ print $1 / 1e6 }')" "$(wc -l < "$file")"
printf '%-40s %10s %8s %10s %8s\n' "median of $runs, peak" 'scan MiB' '/ size' 'save MiB' '/ size'
for ((b = 1; b <= $#; ++b)); do
  scan=$(median "$work/scan-$b")
  save=$(median "$work/save-$b")
  printf '%-40s %10.1f %8.2f %10.1f %8.2f\n' "${!b}" "$(echo "$scan" | awk '{ print $1 / 1024 }')" \
    "$(echo "$scan $size" | awk '{ print $1 * 1024 / $2 }')" "$(echo "$save" | awk '{ print $1 / 1024 }')" \
    "$(echo "$save $size" | awk '{ print $1 * 1024 / $2 }')"
done
echo
echo 'target: scan --save under 2 times the file size'
