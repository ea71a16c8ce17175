#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The installed man page against the installed command's help: a
# subsection for every command and action, holding every option of its
# help; and the sections a man page of a command has.
#
#   man_test.sh QUORVANE quorvane.1.gz
set -euo pipefail
q=${1:?the command}
# A sanitized build's command must not fail its --help on the parser's
# leaks at exit (the man page is made the same way).
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
fail() { echo "FAIL: $*" >&2; exit 1; }
page=$(zcat "${2:?the man page}" | sed 's/\\-/-/g; s/\\f[BIR]//g')
for s in NAME SYNOPSIS DESCRIPTION OPTIONS COMMANDS "EXIT STATUS" ENVIRONMENT FILES "SEE ALSO"; do
  grep -qx "\.SH $s" <<<"$page" || fail "the man page has no $s"
done
for w in Quorvane.ini jbclass.txt NAME.med quorvane.lock quorvane.db QUORVANE_PROFILE_DIR QUORVANE_DATABASE \
         XDG_CONFIG_HOME; do
  grep -q "$w" <<<"$page" || fail "the man page does not name $w"
done
subcommands() { awk '/^Subcommands:$/ {on = 1; next} on && /^  [^ ]/ {print $1} on && /^$/ {on = 0}'; }
n=0
for c in $("$q" --help | subcommands); do
  for a in "" $("$q" $c --help | subcommands); do
    # shellcheck disable=SC2086 # no action: no word
    help=$("$q" $c $a --help)
    section=$(awk -v head=".SS \"quorvane $c${a:+ $a} " 'index($0, head) == 1 {on = 1; next} /^\.S[SH] / {on = 0} on' <<<"$page")
    [ -n "$section" ] || fail "no subsection for quorvane $c $a"
    for o in $(grep -oE -- '(^| |,)--?[a-zA-Z][a-z-]*' <<<"$help" | tr -d ' ,' | sort -u); do
      grep -qE -- "(^|[ ,])$o([ ,]|$)" <<<"$section" || fail "quorvane $c $a: $o is not in the man page"
    done
    n=$((n + 1))
  done
done
[ "$n" -ge 2 ] || fail "only $n commands in '$q --help'"
echo "man page: $n commands and actions with every option of their help"
