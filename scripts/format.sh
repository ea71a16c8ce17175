#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The project's style (.clang-format) on every C and C++ file that git
# tracks (or on the files named):
#
#   scripts/format.sh --check [FILE...]   lists each file that differs and exits 1 if any does
#   scripts/format.sh [FILE...]           rewrites the files in place
#
# clang-format 14 (Debian's), the version the style was chosen with: another
# version may break some lines differently.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QV_DEPS_DONE=1
bCheck=0
if [ "${1:-}" = --check ]; then
  bCheck=1
  shift
fi
formatter=$(command -v clang-format-14 || command -v clang-format)
if [ $# -gt 0 ]; then
  aFiles=("$@")
else
  mapfile -t aFiles < <(git ls-files '*.c' '*.cpp' '*.h' '*.hpp')
fi
if [ $bCheck = 0 ]; then
  printf '%s\0' "${aFiles[@]}" | xargs -0 -n 16 -P 2 "$formatter" -i --style=file
  exit 0
fi
# One clang-format for all files names each that would change; the lines
# that differ are counted for those only.
report=$("$formatter" --style=file --dry-run -Werror "${aFiles[@]}" 2>&1) || true
mapfile -t aDiffer < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' <<<"$report" | sort -u)
if grep -q 'error:' <<<"$report" && [ ${#aDiffer[@]} -eq 0 ]; then
  echo "$report"  # clang-format itself failed
  exit 1
fi
nDiffer=${#aDiffer[@]}
for f in "${aDiffer[@]}"; do
  echo "not formatted: $f ($("$formatter" --style=file "$f" | diff "$f" - | grep -c '^[<>]') lines differ)"
done
if [ $nDiffer -gt 0 ]; then
  echo "format: $nDiffer of ${#aFiles[@]} files differ from .clang-format; scripts/format.sh FILE... rewrites them"
  exit 1
fi
echo "format: ${#aFiles[@]} files follow .clang-format"
