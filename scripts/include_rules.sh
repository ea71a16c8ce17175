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
# headers (<...>) are each folder's own business.  Lists every include that
# breaks a rule and exits 1; run by CTest (include_rules, label unit).
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

[ "$fail" = 0 ] && echo "include rules hold"
exit "$fail"
