#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Times `quorvane scan`, `scan --save`, `write --all` and `tags` on a real
# tree against the tools that read or write the same files: cp -r and sync
# (the machine's own cost of writing the tree durably), ripgrep (every byte of every Java file,
# looked at), cat (every byte, copied through a pipe), find (the names only)
# and universal-ctags (a tags file of the classes), in the same run, and
# prints the medians and the ratios.  Beside them runs bench/read_keep, which
# reads every file into memory it keeps to the end on two threads, and looks
# at nothing: the least that any scan holding the files' text does.
#
#   bench/scan.sh ROOT [QUORVANE [READ_KEEP]]
#
# A good tree: the JDK's own sources (Debian's openjdk-17-source), unpacked
# from /usr/lib/jvm/openjdk-17/lib/src.zip.  QUORVANE and READ_KEEP default
# to the release build's, build/release/quorvane and
# build/release/bench/read_keep.  After a warm-up, every command runs
# QV_BENCH_RUNS (7) times, the commands taking turns, so that a busy moment
# of the machine falls on all of them alike.  Wall and CPU time (user +
# system) and the peak resident set are medians.  With QV_BENCH_OTHER set
# to another build's quorvane (the one before a change, say), its scan
# takes turns with the others too, and the two scans are compared.
set -euo pipefail
root=${1:?usage: bench/scan.sh ROOT [QUORVANE [READ_KEEP]]}
qv=${2:-$(dirname "$0")/../build/release/quorvane}
keep=${3:-$(dirname "$0")/../build/release/bench/read_keep}
runs=${QV_BENCH_RUNS:-7}
[ -x "$qv" ] || { echo "no quorvane at $qv (cmake --preset release && cmake --build --preset release)" >&2; exit 2; }
[ -x "$keep" ] || { echo "no read_keep at $keep (cmake --preset release && cmake --build --preset release)" >&2; exit 2; }
for tool in rg ctags /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "no $tool (scripts/deps.sh installs ripgrep, universal-ctags and time)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
list=$work/list
repo=$work/repo
mkdir "$repo"
find "$root" -iname '*.java' -type f -print0 > "$list"
files=$(tr -cd '\0' < "$list" | wc -c)
touch=$(head -z -n 1 "$list" | tr -d '\0')
bytes=$(xargs -0 cat < "$list" | wc -c)

names=(rg keep cat find ctags scan save touched tags)
other=${QV_BENCH_OTHER:-}
if [ -n "$other" ]; then
  [ -x "$other" ] || { echo "no quorvane at $other (QV_BENCH_OTHER)" >&2; exit 2; }
  names+=(other)
fi
# Run one after the other, each on its own: they write the whole tree and
# make it durable, so they are timed against the machine's own cost of
# doing that (cpsync: cp -r of the tree, then sync).
durable=(cpsync first writeall rewrite)
k=0
# A save that rewrites every method file: each run stores the line breaks
# with the other of two tokens, so no method file keeps its content.
token=1E
command_of() {  # command_of NAME: sets cmd to the command of that name
  case $1 in
    rg) cmd=(rg -c --no-ignore -j2 -g '*.java' -e class "$root") ;;
    keep) cmd=("$keep" "$list") ;;
    cat) cmd=(xargs -0 -a "$list" cat) ;;
    find) cmd=(find "$root" -iname '*.java') ;;
    ctags) cmd=(ctags -R --languages=Java --kinds-Java=ci -f /dev/null "$root") ;;
    scan) cmd=("$qv" scan -q "$root") ;;
    other) cmd=("$other" scan -q "$root") ;;
    # scan --save over a tree that has not changed since the last save:
    # the save state tells that no source needs reading.  The class list,
    # the state and the method files (in the folder methods) are in a
    # repository directory of its own; nothing is written into the tree.
    save) cmd=("$qv" scan --save -q --repo "$repo" "$root") ;;
    # The same with one source touched just before: that one is read.
    touched) cmd=(sh -c 'touch "$1" && exec "$2" scan --save -q --repo "$3" "$4"' touched "$touch" "$qv" "$repo"
      "$root") ;;
    rewrite)
      token=$([ "$token" = 1E ] && echo 1D || echo 1E)
      cmd=("$qv" scan --save -q --repo "$repo" --token "\\x$token" "$root")
      ;;
    tags) cmd=("$qv" tags --repo "$repo" -o "$repo/tags") ;;
    # Each run of the durable set writes into directories of its own (run
    # k): deleting thousands of files just before creating as many costs
    # some file systems more than the writing itself (ext4 without a
    # journal passes over every inode freed in the last minutes).
    cpsync) cmd=(sh -c 'cp -r "$1" "$2" && sync' cpsync "$work/sources" "$work/copy-$k") ;;
    # The first save of a fresh tree: no method file and no repository yet.
    first) cmd=("$qv" scan --save -q --repo "$work/first-repo-$k" "$work/fresh-$k") ;;
    # What the first save just made, written back out as Java sources.
    writeall) cmd=("$qv" write --all -q --repo "$work/first-repo-$k" --to "$work/out-$k") ;;
  esac
}
# What a command of the durable set needs before each run, untimed: a
# fresh copy of the sources for the first save, and everything else
# written already on disk, so that each run's sync pays for its own
# writing only.
before() {
  case $1 in
    first) cp -r "$work/sources" "$work/fresh-$k" ;;
  esac
  sync
}
timed() {  # timed NAME: appends "wall cpu rss_kib" of one run to $work/NAME
  command_of "$1"
  /usr/bin/time -f '%e %U %S %M' -o "$work/t" "${cmd[@]}" >/dev/null 2>&1 || true
  awk '{ printf "%s %.3f %s\n", $1, $2 + $3, $4 }' "$work/t" >> "$work/$1"
}

for name in rewrite "${names[@]}"; do  # warm-up; saves the repository
  command_of "$name"
  "${cmd[@]}" >/dev/null 2>&1 || true
done
for ((k = 0; k < runs; ++k)); do
  for name in "${names[@]}"; do timed "$name"; done
done
# The durable set takes turns too, each run on its own; rewriting runs
# undo each other's token, and one more save puts the default token back.
# The sources alone (the tree may hold method files of saves made beside
# the sources).
mkdir "$work/sources"
xargs -0 -a "$list" cp --parents -t "$work/sources"
for ((k = 0; k < runs; ++k)); do
  for name in "${durable[@]}"; do
    before "$name"
    timed "$name"
  done
done
rm -rf "$work"/copy-* "$work"/out-* "$work"/first-repo-* "$work"/fresh-* "$work/sources"
names+=("${durable[@]}")
command_of save
"${cmd[@]}" >/dev/null 2>&1 || true

median() {  # median FILE COLUMN
  sort -g -k "$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
declare -A wall cpu rss
for name in "${names[@]}"; do
  wall[$name]=$(median "$work/$name" 1)
  cpu[$name]=$(median "$work/$name" 2)
  rss[$name]=$(median "$work/$name" 3)
done

# The save must keep every class: its status, and how many superclass names
# (other than Object) name no class of the repository.
save_status=0
"$qv" scan --save -q --repo "$repo" "$root" >/dev/null 2>"$work/save.err" || save_status=$?
"$qv" classes --repo "$repo" > "$work/classes.txt" 2>/dev/null || true
list_bytes=$(wc -c < "$repo/jbclass.txt")
tags_status=0
"$qv" tags --repo "$repo" -o "$repo/tags" 2>"$work/tags.err" || tags_status=$?

printf 'files:           %d, %.1f MB\n' "$files" "$(echo "$bytes" | awk '{ print $1 / 1e6 }')"
printf 'scan --save:     status %d, %d classes saved, %d refused\n' "$save_status" \
  "$(wc -l < "$work/classes.txt")" "$(grep -c 'not saved' "$work/save.err" || true)"
awk -F'\t' '{ name[$1] = 1; sup[NR] = $2 } END {
  n = 0; miss = 0
  for (i in sup) if (sup[i] != "Object" && sup[i] != "nill" && sup[i] != "") { n++; if (!(sup[i] in name)) miss++ }
  printf "superclasses:    %d named, %d of them name no class of the repository\n", n, miss }' "$work/classes.txt"
printf 'tags:            status %d, %d classes, %d sources changed since the scan\n' "$tags_status" \
  "$(grep -vc '^!_TAG_' "$repo/tags" || true)" "$(grep -c 'not found' "$work/tags.err" || true)"
echo
printf '%-28s %8s %8s %10s\n' "median of $runs" 'wall s' 'CPU s' 'peak MiB'
label() {
  case $1 in
    rg) echo 'rg -c -j2 (ripgrep)' ;;
    keep) echo 'read_keep (read and keep)' ;;
    cat) echo 'cat' ;;
    find) echo 'find' ;;
    ctags) echo 'ctags -R --kinds-Java=ci' ;;
    scan) echo 'quorvane scan' ;;
    other) echo 'scan of QV_BENCH_OTHER' ;;
    save) echo 'scan --save (unchanged)' ;;
    touched) echo 'scan --save (one touched)' ;;
    rewrite) echo 'scan --save (rewriting)' ;;
    tags) echo 'quorvane tags' ;;
    cpsync) echo 'cp -r, then sync' ;;
    first) echo 'scan --save (first)' ;;
    writeall) echo 'write --all --to OUT' ;;
  esac
}
for name in "${names[@]}"; do
  printf '%-28s %8.3f %8.3f %10.1f\n' "$(label "$name")" "${wall[$name]}" "${cpu[$name]}" "$(echo "${rss[$name]}" | awk '{ print $1 / 1024 }')"
done
echo
awk -v sw="${wall[scan]}" -v sc="${cpu[scan]}" -v rw="${wall[rg]}" -v rc="${cpu[rg]}" -v cw="${wall[cat]}" \
  -v pw="${wall[keep]}" -v pc="${cpu[keep]}" \
  -v vw="${wall[save]}" -v xw="${wall[rewrite]}" -v tw="${wall[tags]}" -v kw="${wall[ctags]}" \
  -v r="${rss[scan]}" -v b="$bytes" -v hw="${wall[touched]}" -v fr="${rss[first]}" -v l="$list_bytes" \
  -v dw="${wall[cpsync]}" -v fw="${wall[first]}" -v ww="${wall[writeall]}" 'BEGIN {
  printf "scan / rg, wall:   %.2f   (target: at most 2)\n", sw / rw
  printf "scan / rg, CPU:    %.2f   (target: at most 2)\n", sc / rc
  printf "read_keep / rg:    %.2f wall, %.2f CPU (reading alone, into kept memory)\n", pw / rw, pc / rc
  printf "scan / read_keep:  %.2f wall, %.2f CPU\n", sw / pw, sc / pc
  printf "scan peak / bytes: %.2f   (target: at most 1.2)\n", r * 1024 / b
  printf "scan / cat, wall:  %.2f\n", sw / cw
  printf "scan peak:         %.1f MiB (target: at most 64)\n", r / 1024
  printf "save (unchanged) / rg, wall: %.2f   (target: at most 1)\n", vw / rw
  printf "save (one touched) / rg, wall: %.2f (target: at most 2)\n", hw / rw
  printf "first save peak - class list: %.1f MiB (target: at most 64)\n", (fr * 1024 - l) / 1048576
  printf "save / scan, wall: %.2f   rewriting / scan: %.2f\n", vw / sw, xw / sw
  printf "tags / ctags, wall: %.3f  (target: at most 0.1)\n", tw / kw
  printf "durable writes against cp -r and sync (target: at most 1 each):\n"
  printf "  first save %.2f, rewriting save %.2f, write --all %.2f\n", fw / dw, xw / dw, ww / dw }'
if [ -n "$other" ]; then
  awk -v sw="${wall[scan]}" -v sc="${cpu[scan]}" -v ow="${wall[other]}" -v oc="${cpu[other]}" -v rw="${wall[rg]}" \
    -v rc="${cpu[rg]}" 'BEGIN {
    printf "QV_BENCH_OTHER / rg: %.2f wall, %.2f CPU\n", ow / rw, oc / rc
    printf "scan / QV_BENCH_OTHER: %.2f wall, %.2f CPU\n", sw / ow, sc / oc }'
fi
