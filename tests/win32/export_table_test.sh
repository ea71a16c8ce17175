#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Compares the export table of quorvane.dll with the export listing
# (exports.tsv) plus the runtime API of the headers in include/quorvane/, and the
# ordinals of uitk60.dll with the toolkit rows of the function table
# (core/external.h, core/list_ops.h) plus its named exports (uitk60/uitk60.h),
# read here independently of the generator that wrote the module-definition
# files.
# Usage: export_table_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 src=$2
OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0

# Export names of a DLL: the lines of the name pointer table.
names() {
  "$OBJDUMP" -p "$1" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1; next} t && /^[ \t]*\[/{print $NF; next} t && NF==0{t=0}'
}

names "$build/quorvane.dll" | sort >"$tmp/have"
{
  tail -n +2 "$src/tests/data/exports.tsv" | cut -f5
  for header in "$src"/include/quorvane/quorvane*.h; do
    [ "${header##*/}" = quorvane_exports.h ] && continue
    grep -oE 'QV_API [^;(]*[ *](\(\*)?Qv[A-Za-z0-9_]+\(' "$header" | grep -oE 'Qv[A-Za-z0-9_]+\($' | tr -d '('
  done
} | sort >"$tmp/want"
if diff "$tmp/want" "$tmp/have" >"$tmp/diff"; then
  echo "PASS quorvane.dll exports exactly the $(wc -l <"$tmp/want") names of exports.tsv and the runtime API"
else
  echo "FAIL quorvane.dll export table differs (< missing, > extra):"; head -20 "$tmp/diff"; fails=$((fails + 1))
fi

# uitk60.dll: one ordinal without a name per toolkit row (the named exports
# have ordinals too: base plus their index in the name table).
"$OBJDUMP" -p "$build/uitk60.dll" | awk '
  /^Ordinal Base/{base=$NF}
  /\[Ordinal\/Name Pointer\] Table/{n=1; next} n && /^[ \t]*\[/{gsub(/[][]/," "); named[$1+base]=1; next} n && NF==0{n=0}
  /Export Address Table --/{t=1; next} t && /\+base\[/{gsub(/.*\+base\[ */,""); gsub(/\].*/,""); all[$0]=1; next} t && NF==0{t=0}
  END{for (o in all) if (!(o in named)) print o}' | sort -n >"$tmp/ordinals"
{
  grep -oE 'X\(Vt[A-Za-z0-9]+, kToolkit, [0-9]+' "$src/core/external.h" | awk -F', ' '{print $3}'
  grep -oE '^\s*X\(Pass, [A-Za-z0-9]+, [0-9]+, [0-9]+,' "$src/core/list_ops.h" | awk -F', ' '{print $4}' | tr -d ,
} | sort -n >"$tmp/want_ordinals"
if diff "$tmp/want_ordinals" "$tmp/ordinals" >"$tmp/diff"; then
  echo "PASS uitk60.dll exports the $(wc -l <"$tmp/ordinals") toolkit functions of the function table at their ordinals"
else
  echo "FAIL uitk60.dll ordinals differ from the function table (< missing, > extra):"; head -20 "$tmp/diff"; fails=$((fails + 1))
fi
# Its names: only the lists' record and scripts of uitk60/uitk60.h.
names "$build/uitk60.dll" | sort >"$tmp/uitk_names"
grep -oE '^\s*X\(Lists[A-Za-z]+\)' "$src/uitk60/uitk60.h" | sed -E 's/.*X\((.*)\)/uitk_\1/' | sort >"$tmp/want_uitk_names"
if [ -s "$tmp/want_uitk_names" ] && diff "$tmp/want_uitk_names" "$tmp/uitk_names" >"$tmp/diff"; then
  echo "PASS uitk60.dll exports by name only the $(wc -l <"$tmp/uitk_names") functions of the lists' record and scripts"
else
  echo "FAIL uitk60.dll names differ from uitk60.h's UITK_LISTS_EXPORTS (< missing, > extra):"; head -20 "$tmp/diff"
  fails=$((fails + 1))
fi
exit $fails
