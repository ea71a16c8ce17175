#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The profile differential: the cases of tests/win32/profile_cases.cpp run
# against the real Windows private-profile functions (profile_cases.exe
# under Wine) and against the Linux build's INI engine (the Linux
# profile_cases), compared line by line.  Every line where they disagree must
# be one of the deliberate differences below (docs/windows.md gives the reasons);
# any other disagreement fails, and so does a listed one that no longer
# differs, so that the list stays true.
# Usage: profile_differential.sh WIN32_EXE LINUX_EXE
set -euo pipefail
win_exe=$1 linux_exe=$2
WINE=${WINE:-wine}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/win" "$tmp/linux"

# Deliberate differences: "<case> <operation number or file>".
deliberate=(
  # The reasons are in docs/windows.md, "Profiles on Windows and on Linux".
  "before-first-section 1" # keys before the first section: no section on Linux
  "empty-key 1"            # an empty key name is no key on Linux
  "comments 1"             # a line starting with ";" is a comment on Linux
  "integers 1"             # "0x10": Linux reads decimal only
  "integers 4"             # past 32 bits: Windows wraps, Linux saturates
  "write-new-key file"     # Linux keeps blank lines; Windows drops them when it rewrites
  "write-blanks-at-ends 2" # blanks at a value's ends: Linux writes it quoted and reads it whole
  "write-blanks-at-ends file"
  "lf-only file"           # Linux keeps each line's own line end
)

(cd "$tmp/win" && "$WINE" "$win_exe" . | tr -d '\r') >"$tmp/win.out"
(cd "$tmp/linux" && "$linux_exe" .) >"$tmp/linux.out"
[ -s "$tmp/win.out" ] || { echo "FAIL profile_cases.exe printed nothing"; exit 1; }
if [ "$(wc -l <"$tmp/win.out")" != "$(wc -l <"$tmp/linux.out")" ]; then
  echo "FAIL the two runs printed different numbers of lines"; diff "$tmp/win.out" "$tmp/linux.out" | head; exit 1
fi
fails=0
declare -A differs=()
while IFS=$'\t' read -r w l; do
  [ "$w" = "$l" ] && continue
  read -r name op _ <<<"$w"
  [ "$op" = "file:" ] && op=file
  differs["$name $op"]=1
  listed=0
  for d in "${deliberate[@]}"; do [ "$d" = "$name $op" ] && listed=1; done
  if [ $listed = 1 ]; then
    echo "deliberate: Windows: $w"
    echo "              Linux: $l"
  else
    echo "FAIL disagreement: Windows: $w"
    echo "                     Linux: $l"
    fails=$((fails + 1))
  fi
done < <(paste "$tmp/win.out" "$tmp/linux.out")
for d in "${deliberate[@]}"; do
  [ -n "${differs[$d]:-}" ] || { echo "FAIL listed as deliberate but agrees now: $d"; fails=$((fails + 1)); }
done
echo "profile differential: $(wc -l <"$tmp/win.out") results compared, ${#differs[@]} deliberate or failing differences, $fails failure(s)"
exit $fails
