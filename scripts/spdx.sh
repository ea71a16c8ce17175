#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The licence line "SPDX-License-Identifier: Apache-2.0" at the top of every
# source, header and script file that git tracks, in the comment form of
# its kind: "// ..." as the first line of C, C++ and Java files, "/* ... */"
# as the first line of the public C headers (include/, which C90 compilers
# may read), of the linker version script and of the bundled Java examples
# (examples/, whose first comment the tests expect to be a block comment),
# "# ..." as the first line of shell, Python, CMake and pkg-config files,
# or the second after a "#!" line.  The fuzz seeds and regressions and
# tests/data/ are test data, kept byte for byte.
#
#   scripts/spdx.sh           adds the line to every file that lacks it
#   scripts/spdx.sh --check   names every file that lacks it; status 1 if one does
set -euo pipefail
cd "$(dirname "$0")/.."
line='SPDX-License-Identifier: Apache-2.0'
mapfile -t files < <(git ls-files -- '*.c' '*.cpp' '*.h' '*.hpp' '*.cpp.in' '*.java' '*.sh' '*.py' '*.cmake' \
  '*.cmake.in' '*.pc.in' '*.map' '*CMakeLists.txt' ':!:fuzz/corpus/*' ':!:fuzz/regressions/*' ':!:tests/data/*')
missing=()
for f in "${files[@]}"; do
  head -n 3 "$f" | grep -qF "$line" || missing+=("$f")
done
if [ "${1:-}" = --check ]; then
  [ ${#missing[@]} -eq 0 ] && { echo "spdx: ${#files[@]} files carry the licence line"; exit 0; }
  printf 'no licence line: %s\n' "${missing[@]}"
  echo "spdx: ${#missing[@]} of ${#files[@]} files lack '$line'; scripts/spdx.sh adds it"
  exit 1
fi
for f in "${missing[@]}"; do
  case $f in
    include/*.h | *.map | examples/*) comment="/* $line */" ;;
    *.c | *.cpp | *.h | *.hpp | *.cpp.in | *.java) comment="// $line" ;;
    *) comment="# $line" ;;
  esac
  # sed -i writes a new file and renames it over the old one, keeping its mode.
  if head -n 1 "$f" | grep -q '^#!'; then sed -i "1a $comment" "$f"; else sed -i "1i $comment" "$f"; fi
done
echo "spdx: the licence line added to ${#missing[@]} files"
