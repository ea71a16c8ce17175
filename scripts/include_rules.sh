#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The folders' allowed includes: dependencies run downwards only.
#   core/        core/ only: it knows no host, no subsystem above it
#   host/        core/ and host/ (and, in host/os/win32, uitk60/uitk60.h:
#                the toolkit DLL's C interface, which the Windows host
#                binds as it would a system header)
#   source/ repository/ profile/ framework/ controls/
#                never host/, exports/ or cli/
#   exports/     never host/: the process's host comes from MakeProcessHost
#                (core/host_application.h), which host/ defines
#   cli/         include/quorvane/ and cli/ only
# Only the project's own includes ("folder/file") are looked at; system
# headers (<...>) are each folder's own business.  Also holds the layout
# table of HACKING.md to the tree: every folder it names in its first
# column exists, every top-level folder and every folder below host/ is
# named there.  Lists every break and exits 1; run by CTest (include_rules,
# label unit).
#
#   scripts/include_rules.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
fail=0

# The quoted includes of the C and C++ files below the folders given, as
# "file:line:#include "path"".
includes() {
  grep -rHnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$@" \
    --include='*.h' --include='*.hpp' --include='*.c' --include='*.cpp' --include='*.in' || true
}

# report RULE LINES: prints the lines that break RULE and marks the failure.
report() {
  if [ -n "$2" ]; then
    echo "include rule broken: $1"
    echo "$2" | sed 's/^/  /'
    fail=1
  fi
}

path='#[[:space:]]*include[[:space:]]*"'
report "core/ includes core/ only" "$(includes core | grep -vE "$path"'core/')"
report "host/ includes core/ and host/ only" \
  "$(includes host | grep -vE "$path"'(core|host)/' | grep -vE '^host/os/win32/[^:]*:[0-9]+:'"$path"'uitk60/uitk60\.h"')"
report "the library's folders never include host/, exports/ or cli/" \
  "$(includes source repository profile framework controls | grep -E "$path"'(host|exports|cli)/')"
report "exports/ never includes host/" "$(includes exports | grep -E "$path"'host/')"
report "cli/ includes include/quorvane/ and cli/ only" "$(includes cli | grep -vE "$path"'(cli|quorvane)/')"

# The layout table: its rows start "| `folder/`", several folders to a
# row allowed; the host row names host/'s folders ("`os/posix/`").
table=$(sed -n '/^## The layout/,/^## /p' HACKING.md | grep '^| `')
named=$(echo "$table" | cut -d'|' -f2 | grep -oE '`[a-z0-9_/]+/`' | tr -d '`' | sort -u)
missing=""
for d in $named; do [ -d "$d" ] || missing+="$d"$'\n'; done
report "HACKING.md's layout table names folders that do not exist" "${missing%$'\n'}"
unnamed=""
for d in $(find . -mindepth 1 -maxdepth 1 -type d ! -name '.*' ! -name 'build*' -printf '%P/\n' | sort); do
  # A folder counts as named when it or a folder below it is.
  echo "$named" | grep -q "^$d" || unnamed+="$d"$'\n'
done
host_row=$(echo "$table" | grep '^| `host/`')
for d in $(cd host && find . -mindepth 1 -type d -printf '%P/\n' | sort); do
  case "$host_row" in *"\`$d"*) ;; *) unnamed+="host/$d"$'\n' ;; esac
done
report "folders missing from HACKING.md's layout table" "${unnamed%$'\n'}"

[ "$fail" = 0 ] && echo "include rules and the layout table hold"
exit "$fail"
