#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The project's style on every C, C++ and CMake file that git tracks (or on
# the files named):
#
#   scripts/format.sh --check [FILE...]   lists each file that differs and exits 1 if any does
#   scripts/format.sh [FILE...]           rewrites the C and C++ files in place and checks the CMake files
#
# C and C++ files (.c, .cpp, .h, .hpp) follow .clang-format, with
# clang-format 14 (Debian's), the version the style was chosen with: another
# version may break some lines differently.  CMake files (CMakeLists.txt,
# *.cmake, *.cmake.in) pass cmake-lint with .cmake-format.yaml, and each of
# their comments starts "# " (a C formatter turns "# The" into "#The"; see
# .cmake-format.yaml for why cmake-format does not rewrite them).  Any other
# file named is left alone: clang-format would read it as C++.
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
  aNamed=("$@")
else
  mapfile -t aNamed < <(git ls-files '*.c' '*.cpp' '*.h' '*.hpp' '*CMakeLists.txt' '*.cmake' '*.cmake.in')
fi
aFiles=()
aCMake=()
for f in "${aNamed[@]}"; do
  case ${f##*/} in
    *.c | *.cpp | *.h | *.hpp) aFiles+=("$f") ;;
    CMakeLists.txt | *.cmake | *.cmake.in) aCMake+=("$f") ;;
    *) echo "format: $f left alone: neither a C or C++ nor a CMake file" >&2 ;;
  esac
done

# The CMake files: cmake-lint's findings, and every comment line whose "#"
# is followed by neither a blank nor the end of the line ("#!" and "#[["
# excepted).
nCMakeBad=0
if [ ${#aCMake[@]} -gt 0 ]; then
  lint=$(cmake-lint "${aCMake[@]}" 2>&1) || true
  garbled=$(grep -nHE '^[[:space:]]*#[^[:space:]#![]' "${aCMake[@]}") || true
  mapfile -t aCMakeBad < <({
    sed -n 's/^\([^ ]*\):[0-9][0-9,]*: \[.*/\1/p' <<<"$lint"
    cut -d: -f1 <<<"$garbled"
  } | grep -v '^$' | sort -u)
  nCMakeBad=${#aCMakeBad[@]}
  if [ $nCMakeBad -gt 0 ]; then
    grep -E '^[^ ]*:[0-9][0-9,]*: \[' <<<"$lint" || true
    [ -n "$garbled" ] && sed 's/^\([^:]*:[0-9]*\):.*/\1: a comment that does not start "# "/' <<<"$garbled"
    echo "format: $nCMakeBad of ${#aCMake[@]} CMake files break the style of .cmake-format.yaml"
  elif [ "$(grep -c 'files scanned' <<<"$lint")" -eq 0 ]; then
    echo "$lint"  # cmake-lint itself failed
    exit 1
  fi
fi

nDiffer=0
if [ ${#aFiles[@]} -gt 0 ] && [ $bCheck = 0 ]; then
  printf '%s\0' "${aFiles[@]}" | xargs -0 -n 16 -P 2 "$formatter" -i --style=file
elif [ ${#aFiles[@]} -gt 0 ]; then
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
    echo "format: $nDiffer of ${#aFiles[@]} C and C++ files differ from .clang-format; scripts/format.sh FILE... rewrites them"
  fi
fi
[ $nDiffer -gt 0 ] || [ $nCMakeBad -gt 0 ] && exit 1
echo "format: ${#aFiles[@]} C and C++ files follow .clang-format, ${#aCMake[@]} CMake files .cmake-format.yaml"
