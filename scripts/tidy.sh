#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# clang-tidy (14, Debian's) with the checks of .clang-tidy on the library's
# and the command's sources (or on the files named), two at a time.  Every
# finding is an error: the script lists them and exits 1.
#
#   scripts/tidy.sh [FILE...]
#
# The compile commands come from a configure-only build tree of its own
# (build/tidy: clang, no tests, no precompiled headers, which clang-tidy
# would have to read as clang's own); nothing is compiled.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QV_DEPS_DONE=1
tidy=$(command -v clang-tidy-14 || command -v clang-tidy)
cmake -S . -B build/tidy -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DQV_BUILD_TESTS=OFF -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON >build/tidy.configure.log
if [ $# -gt 0 ]; then
  aFiles=("$@")
else
  # The folders of the library, its C ABI, the portable host and the command.
  mapfile -t aFiles < <(git ls-files 'core/*.cpp' 'source/*.cpp' 'repository/*.cpp' 'profile/*.cpp' \
    'framework/*.cpp' 'controls/*.cpp' 'host/*.cpp' 'exports/*.cpp' 'cli/*.cpp' ':!:*/win32_*')
fi
log=build/tidy.log
: >"$log"
# The longest files first, so that the two workers end close together.
printf '%s\n' "${aFiles[@]}" | xargs -d '\n' ls -S | xargs -d '\n' -P 2 -n 1 \
  sh -c 'out=$("$0" -p build/tidy --quiet --warnings-as-errors="*" "$1" 2>&1) || { printf "%s\n" "$out" >>build/tidy.log; exit 1; }' \
  "$tidy" || true
if grep -q 'error:' "$log"; then
  # A finding in a header shows once for each file that includes it.
  grep -E ': error: ' "$log" | sort -u
  echo "tidy: $(grep -E ': error: ' "$log" | sort -u | wc -l) findings in ${#aFiles[@]} files (with context in $log)"
  exit 1
fi
echo "tidy: ${#aFiles[@]} files clean"
