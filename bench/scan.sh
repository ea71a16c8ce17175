#!/usr/bin/env bash
# Times `quorvane scan` on a real tree against `find ROOT -iname '*.java'`
# and `cat` of the same files, and `quorvane tags` of the saved repository
# against universal-ctags' class and interface tags of the tree, in the
# same run, and prints the ratios.
#
#   bench/scan.sh ROOT [QUORVANE]
#
# A good tree: the JDK's own sources (Debian's openjdk-17-source), unpacked
# from /usr/lib/jvm/openjdk-17/lib/src.zip.  QUORVANE defaults to the
# release build, build/release/quorvane.  Each command runs three times after
# a warm-up; the best time counts.
set -euo pipefail
root=${1:?usage: bench/scan.sh ROOT [QUORVANE]}
qv=${2:-$(dirname "$0")/../build/release/quorvane}
[ -x "$qv" ] || { echo "no quorvane at $qv (cmake --preset release && cmake --build --preset release)" >&2; exit 2; }
command -v ctags >/dev/null || { echo "no ctags (scripts/deps.sh installs universal-ctags)" >&2; exit 2; }

list=$(mktemp)
trap 'rm -f "$list"' EXIT
find "$root" -iname '*.java' -type f -print0 > "$list"
files=$(tr -cd '\0' < "$list" | wc -c)

best() {  # best wall time in seconds of three runs of "$@"
  "$@" >/dev/null 2>&1 || true
  local b=""
  for _ in 1 2 3; do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    t1=$(date +%s.%N)
    b=$(echo "$t0 $t1 ${b:-999999}" | awk '{d=$2-$1; print (d<$3)?d:$3}')
  done
  echo "$b"
}

t_find=$(best find "$root" -iname '*.java')
t_cat=$(best sh -c "xargs -0 cat < '$list'")
t_scan=$(best "$qv" scan "$root")
# scan --save writes the method files beside the sources and the class list
# in a repository directory of its own.
repo=$(mktemp -d)
trap 'rm -f "$list"; rm -rf "$repo"' EXIT
t_save=$(best "$qv" scan --save --repo "$repo" "$root")
# A save that rewrites every method file: each run stores the line breaks
# with the other of two tokens, so no method file keeps its content.
token=1E
save_rewriting() {
  token=$([ "$token" = 1E ] && echo 1D || echo 1E)
  "$qv" scan --save --repo "$repo" --token "\\x$token" "$root"
}
t_rewrite=$(best save_rewriting)
# The save must keep every class: its status, and how many superclass names
# (other than Object) name no class of the repository.
save_status=0
"$qv" scan --save -q --repo "$repo" "$root" >/dev/null 2>"$repo/save.err" || save_status=$?
"$qv" classes --repo "$repo" > "$repo/classes.txt" 2>/dev/null || true
# The tags file of the saved repository, and ctags' classes and interfaces
# of the same tree: both find every declaration and write it with its line.
t_tags=$(best "$qv" tags --repo "$repo" -o "$repo/tags")
t_ctags=$(best ctags -R --languages=Java --kinds-Java=ci -f /dev/null "$root")
tags_status=0
"$qv" tags --repo "$repo" -o "$repo/tags" 2>"$repo/tags.err" || tags_status=$?
/usr/bin/time -f '%M' -o "$repo/rss" "$qv" scan "$root" >/dev/null 2>&1 || true
rss_kib=$(tail -n 1 "$repo/rss")  # peak resident set, KiB
bytes=$(xargs -0 cat < "$list" | wc -c)

printf 'files:           %d\n' "$files"
printf 'scan --save:     status %d, %d classes saved, %d refused\n' "$save_status" \
  "$(wc -l < "$repo/classes.txt")" "$(grep -c 'not saved' "$repo/save.err" || true)"
awk -F'\t' '{ name[$1] = 1; sup[NR] = $2 } END {
  n = 0; miss = 0
  for (i in sup) if (sup[i] != "Object" && sup[i] != "nill" && sup[i] != "") { n++; if (!(sup[i] in name)) miss++ }
  printf "superclasses:    %d named, %d of them name no class of the repository\n", n, miss }' "$repo/classes.txt"
printf 'tags:            status %d, %d classes, %d sources changed since the scan\n' "$tags_status" \
  "$(grep -vc '^!_TAG_' "$repo/tags" || true)" "$(grep -c 'not found' "$repo/tags.err" || true)"
printf 'find:            %.3f s\n' "$t_find"
printf 'cat:             %.3f s\n' "$t_cat"
printf 'quorvane scan:   %.3f s\n' "$t_scan"
printf 'scan --save:     %.3f s   (method files unchanged)\n' "$t_save"
printf 'save, rewriting: %.3f s   (every method file rewritten)\n' "$t_rewrite"
printf 'quorvane tags:   %.3f s\n' "$t_tags"
printf 'ctags -R:        %.3f s   (--kinds-Java=ci)\n' "$t_ctags"
awk -v s="$t_scan" -v c="$t_cat" -v f="$t_find" -v w="$t_save" -v x="$t_rewrite" -v r="$rss_kib" -v b="$bytes" \
  -v t="$t_tags" -v k="$t_ctags" 'BEGIN {
  printf "scan / cat:      %.2f\nscan / find:     %.2f\nsave / scan:     %.2f\n", s / c, s / f, w / s
  printf "rewriting / scan: %.2f\n", x / s
  printf "tags / ctags:    %.3f   (target: at most 0.1)\n", t / k
  printf "peak RSS:        %.0f MiB for %.0f MB of sources (%.2f times)\n", r / 1024, b / 1e6, r * 1024 / b }'
