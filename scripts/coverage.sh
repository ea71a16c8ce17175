#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the coverage preset, runs every test, and prints the line and
# branch coverage of the library's own folders, each and in total.  The
# HTML report goes to build/coverage/html/index.html.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QV_DEPS_DONE=1
cmake --preset coverage >/dev/null
cmake --build --preset coverage -j2
find build/coverage -name '*.gcda' -delete
ctest --preset coverage || echo "coverage: some tests failed; the figures cover the run as it went"

aFolders=()
for d in core source repository profile framework controls host; do
  [ -d "$d" ] && aFolders+=("$d")
done
aFilters=()
for d in "${aFolders[@]}"; do aFilters+=(--filter "$d/"); done
aCommon=(--root . --object-directory build/coverage --exclude-throw-branches --exclude-unreachable-branches
         --gcov-ignore-parse-errors)
gcovr "${aCommon[@]}" "${aFilters[@]}" --json build/coverage/coverage.json >/dev/null
mkdir -p build/coverage/html
gcovr --add-tracefile build/coverage/coverage.json --html-details build/coverage/html/index.html >/dev/null
printf '%-12s %8s %8s\n' folder lines branches
for d in "${aFolders[@]}" ""; do
  aFilter=(--filter "${d:-.}/")
  [ -z "$d" ] && aFilter=("${aFilters[@]}")
  # The text report goes to a file of its own: gcovr replaces its output
  # file, which would turn /dev/null into a regular file.
  summary=$(gcovr --add-tracefile build/coverage/coverage.json "${aFilter[@]}" --print-summary \
            -o build/coverage/report.txt)
  lines=$(sed -n 's/^lines: *\([0-9.]*%\).*/\1/p' <<<"$summary")
  branches=$(sed -n 's/^branches: *\([0-9.]*%\).*/\1/p' <<<"$summary")
  printf '%-12s %8s %8s\n' "${d:-total}" "$lines" "$branches"
done
