#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The command is a client of the library's public interface, as any other
# host application: it includes only the installed headers, links the
# shared library, and holds none of the library's own code.
#
#   public_interface_test.sh QUORVANE_BINARY LIBQUORVANE_SO SOURCE_DIR
set -euo pipefail
bin=$1 lib=$2 src=$3
fail=0

# Its sources include the command's own headers and <quorvane/...> only.
bad=$(grep -HnE '^#include "' "$src"/cli/*.cpp "$src"/cli/*.h | grep -vE '#include "(cli|quorvane)/' || true)
if [ -n "$bad" ]; then echo "the command includes library headers:"; echo "$bad"; fail=1; fi

# It needs the shared library ...
if ! readelf -d "$bin" | grep -q "NEEDED.*\[$(basename "$(readlink -f "$lib")" | sed 's/\.so\..*/.so/')"; then
  echo "$bin does not link $lib"; fail=1
fi
# ... defines nothing of the library's namespace ...
own=$(nm -C --defined-only "$bin" | grep -E ' (qv::|.*[ (<,]qv::)' | head -5 || true)
if [ -n "$own" ]; then echo "$bin holds the library's own code:"; echo "$own"; fail=1; fi
# ... and every library name it calls is one that the library exports.
needed=$(nm -D --undefined-only "$bin" | awk '{print $2}' | sed 's/@.*//' | grep -E '^(Qv|__quorvane__)' | sort -u)
exported=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort -u)
missing=$(comm -23 <(echo "$needed") <(echo "$exported"))
if [ -n "$missing" ]; then echo "called but not exported by $lib:"; echo "$missing"; fail=1; fi
[ -n "$needed" ] || { echo "$bin calls no function of $lib"; fail=1; }

[ "$fail" = 0 ] && echo "the command uses the public interface only ($(echo "$needed" | wc -l) functions)"
exit "$fail"
