#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Writes the man page quorvane.1 (and quorvane.1.gz beside it) from the
# command's own texts: --version, --help, and the --help of every command
# and of every action of a command, so that the page and the help never
# disagree.  NAME, SYNOPSIS, DESCRIPTION, OPTIONS, a COMMANDS subsection
# per command and EXIT STATUS come from the help; FILES, ENVIRONMENT and
# SEE ALSO from SECTIONS, written in roff below "[SECTION NAME]" lines.
#
#   quorvane-man.sh QUORVANE SECTIONS OUT
set -euo pipefail
q=${1:?the quorvane command}
sections=${2:?the sections file}
out=${3:?the man page to write}

# One help text as roff.  MODE top: NAME, DESCRIPTION and OPTIONS (the
# SYNOPSIS goes in between later); MODE command: a subsection named after
# the command's usage.  CLI11 writes
# the summary, "Usage: ...", then lists ("Options:" and the like) whose
# entries have their description from column 31, then the notes: paragraphs
# wrapped at 100 columns.  A line starts a new paragraph when the first word
# of it would have fit on the line before.  The exit status paragraph is
# left out; EXIT STATUS has it.
to_roff() {
  awk -v mode="$1" '
    function esc(s) {
      gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s)
      if (s ~ /^[.\047]/) s = "\\&" s
      return s
    }
    # "-h,--help" and "--repo DIR": flags bold, their arguments italic; a
    # positional ("ROOT TEXT ... REQUIRED"): its name italic, the rest as is.
    function entry(n,    a, w, i, f, out) {
      w = split(n, a, " ")
      for (i = 1; i <= w; i++) {
        f = esc(a[i])
        if (a[i] ~ /^-/) { gsub(/,/, "\\fR, \\fB", f); f = "\\fB" f "\\fR" }
        else if (a[i] ~ /^[A-Z]+$/ && (i == 1 || a[1] ~ /^-/)) f = "\\fI" f "\\fR"
        out = out (i > 1 ? " " : "") f
      }
      return out
    }
    # Lists go out at once, but at the top after the notes, under OPTIONS.
    function put(s) { if (mode == "top") lists = lists s "\n"; else print s }
    function flush() {
      if (para != "" && para !~ /^Exit status:/) print ".PP\n" para
      para = ""; last = ""
    }
    NR == 1 { summary = $0; next }
    /^Usage: / {
      usage = substr($0, 8)
      if (mode == "top") { print ".SH NAME\n" esc(usage ~ / / ? substr(usage, 1, index(usage, " ") - 1) : usage) " \\- " esc(summary); print ".SH DESCRIPTION\n" esc(summary) }
      else { print ".SS \"" esc(usage) "\"\n" esc(summary) }
      next
    }
    /^$/ { flush(); list = ""; next }
    /^[A-Z][a-z]*:$/ && !para {
      list = $0
      # The commands of the top level each have their subsection.
      skip = mode == "top" && list == "Subcommands:"
      if (!skip && mode != "top") put(".PP\n" list)
      next
    }
    list != "" && /^  [^ ]/ {
      if (skip) next
      name = substr($0, 3, 28); sub(/ +$/, "", name)
      desc = length($0) > 30 && substr($0, 30, 1) == " " ? substr($0, 31) : ""
      if (desc == "") { name = substr($0, 3); sub(/ +$/, "", name) }
      put(".TP\n" entry(name) (desc != "" ? "\n" esc(desc) : ""))
      next
    }
    list != "" && /^   / { if (!skip) { sub(/^ +/, ""); put(esc($0)) }; next }
    {
      split($0, first, " ")
      if (last != "" && length(last) + 1 + length(first[1]) <= 100) flush()
      para = para (para != "" ? "\n" : "") esc($0)
      last = $0
    }
    END { flush(); if (lists != "") printf ".SH OPTIONS\n%s", lists }
  '
}

# The usage line of a help text in roff: the command bold, arguments in
# capitals italic.
synopsis() {
  sed -n 's/^Usage: //p' | awk '{
    for (i = 1; i <= NF; i++) {
      w = $i; gsub(/-/, "\\-", w)
      if (w ~ /^[a-z]/) printf "%s\\fB%s\\fR", (i > 1 ? " " : ""), w
      else { gsub(/[A-Z][A-Z]+/, "\\fI&\\fR", w); printf " %s", w }
    }
    print "\n.br"
  }'
}

version=$("$q" --version | sed -n 1p)
top=$("$q" --help)
commands=$(awk '/^Subcommands:$/ {on = 1; next} on && /^  [^ ]/ {print $1} on && /^$/ {on = 0}' <<<"$top")
[ -n "$commands" ] || { echo "quorvane-man.sh: '$q --help' lists no command" >&2; exit 1; }
date=$(LC_ALL=C date -u -d "@${SOURCE_DATE_EPOCH:-$(date +%s)}" '+%B %Y')
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Every command's help, then every action's, in the order of the help.
helps=()
for c in $commands; do
  n=${#helps[@]}
  "$q" "$c" --help >"$tmp/$n"
  helps+=("$tmp/$n")
  for a in $(awk '/^Subcommands:$/ {on = 1; next} on && /^  [^ ]/ {print $1} on && /^$/ {on = 0}' "$tmp/$n"); do
    m=${#helps[@]}
    "$q" "$c" "$a" --help >"$tmp/$m"
    helps+=("$tmp/$m")
  done
done

{ synopsis <<<"$top"; for h in "${helps[@]}"; do synopsis <"$h"; done; } >"$tmp/synopsis"
to_roff top <<<"$top" >"$tmp/top"
{
  echo ".\\\" Made by packaging/man/quorvane-man.sh from the help of $version."
  echo ".TH QUORVANE 1 \"$date\" \"$version\" \"User Commands\""
  sed '/^\.SH DESCRIPTION$/,$d' "$tmp/top"
  echo ".SH SYNOPSIS"
  cat "$tmp/synopsis"
  sed -n '/^\.SH DESCRIPTION$/,$p' "$tmp/top"
  echo ".SH COMMANDS"
  for h in "${helps[@]}"; do to_roff command <"$h"; done
  echo ".SH EXIT STATUS"
  # "Exit status: 0 when ...; 1 when ...; 2 for ...": one entry per status.
  awk '/^Exit status:/ {on = 1; sub(/^Exit status: /, "")} on {text = text (text != "" ? " " : "") $0} END {print text}' \
    <<<"$top" | sed 's/\.$//' | tr ';' '\n' | sed -n 's/^ *\([0-9][0-9]*\) \(.*\)$/.TP\n.B \1\n\u\2./p' | tee "$tmp/status"
  sed 's/^\[\(.*\)\]$/.SH \1/' "$sections"
} >"$tmp/page"
[ "$(grep -c '^\.B [0-9]' "$tmp/status")" -ge 2 ] || { echo "quorvane-man.sh: no exit status in '$q --help'" >&2; exit 1; }
mv "$tmp/page" "$out"
gzip -9nc "$out" >"$out.gz"
