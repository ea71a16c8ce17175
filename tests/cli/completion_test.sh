#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The shell completion of quorvane in the shells themselves: bash with
# bash-completion, zsh's completion system (in an interactive zsh on a
# pseudo-terminal, the Tab key bound to complete-word) and fish.  Each is
# given the same lines, a prefix to complete at the end of each, and must
# offer exactly what the command's help says: its commands, every option of
# every command and action, the choices of a fixed set, directories where a
# DIR or ROOT is asked for, files for FILE, the repository's classes for
# CLASS and commands for help.
#
#   completion_test.sh QUORVANE COMPLETION_DIR EXAMPLES
set -euo pipefail
q=$(cd "$(dirname "${1:?the command}")" && pwd)/$(basename "$1")
completions=$(cd "${2:?the directory of the completion files}" && pwd)
examples=${3:?the examples}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0} LC_ALL=C
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in bash zsh fish; do command -v $tool >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"; done
[ -f /usr/share/bash-completion/bash_completion ] || fail "bash-completion is missing (scripts/deps.sh installs it)"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
# The completions run 'quorvane classes --names' as the line names the command.
mkdir bin && ln -s "$q" bin/quorvane
export PATH=$tmp/bin:$PATH HOME=$tmp
cp -r "$examples" src
"$q" scan --save -q --repo repo --profile-dir profile src || fail "scan --save of the examples"
mkdir dir1 dir2 && touch data1

# The lines, and what each must offer (sorted, one line).
lines=() wanted=()
ask() {
  lines+=("$1")
  wanted+=("$(printf '%s\n' "${@:2}" | sort -u | tr '\n' ' ')")
}
section() { awk -v head="$1:" '$0 == head {on = 1; next} /^$/ {on = 0} on && /^  [^ ]/'; }
options() { section Options | awk '{print $1}' | tr ',' '\n'; }
commands=$("$q" --help | section Subcommands | awk '{print $1}')
ask "quorvane " $commands
ask "quorvane sc" scan
ask "quorvane -" $("$q" --help | options)
n=0
for c in $commands; do
  for a in "" $("$q" $c --help | section Subcommands | awk '{print $1}'); do
    # shellcheck disable=SC2086 # no action: no word
    help=$("$q" $c $a --help)
    line="quorvane $c ${a:+$a }"
    ask "$line-" $(options <<<"$help")
    # Each option's value: a fixed set, directories, files.
    while read -r name meta; do
      case $meta in
        *:\{*\}) choices=${meta#*\{}; ask "$line$name " ${choices%\}} ;;
        DIR) ask "$line$name d" dir1 dir2 ;;
        FILE | PATH) ask "$line$name d" dir1 dir2 data1 ;;
      esac
    done < <(section Options <<<"$help" | awk '{sub(/^-[a-zA-Z],/, "", $1); print $1, ($2 ~ /^[A-Z]/ ? $2 : "")}' |
             tr ',' ' ')
    n=$((n + 1))
  done
done
[ "$n" -ge 15 ] || fail "only $n commands and actions in the help"
ask "quorvane write --eol=c" crlf
ask "quorvane config i" init
ask "quorvane help con" config
ask "quorvane help config s" set
ask "quorvane scan -q d" dir1 dir2
ask "quorvane parse d" dir1 dir2 data1
classes=$("$q" classes --names --repo repo --profile-dir profile)
[ "$(wc -w <<<"$classes")" -ge 5 ] || fail "classes --names: $classes"
for c in show tree write; do
  ask "quorvane $c --repo repo --profile-dir profile " $classes
  ask "quorvane $c --repo=repo --profile-dir profile C" $(grep '^C' <<<"$classes")
done

bash_ask() {
  timeout 60 bash --norc --noprofile -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"
    while IFS= read -r line; do
      # The words as bash makes them for completion: split at blanks and
      # at "=", which COMP_WORDBREAKS holds and which is a word of its own.
      read -ra COMP_WORDS <<<"${line//=/ = }"
      [[ $line == *" " || $line == *= ]] && COMP_WORDS+=("")
      COMP_LINE=$line COMP_POINT=${#line} COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()
      _quorvane quorvane "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
      printf ">>>\n"
      printf "%s\n" "${COMPREPLY[@]}"
    done' bash "$completions/quorvane"
}
fish_ask() {
  timeout 60 fish --no-config -c '
    source $argv[1]
    while read -l line
        printf ">>>\n"
        complete -C"$line" | string replace -r "\t.*" ""
    end
    exit 0' "$completions/quorvane.fish"
}
# zsh completes only in its line editor: an interactive zsh on a
# pseudo-terminal (zpty) is given each line and a Tab; compadd is wrapped
# to print every candidate it adds, and the Tab's widget says when it is
# done and empties the line.  The markers are spelt so that the echo of
# the typed commands does not hold them.
zsh_ask() {
  timeout 60 zsh -f -c '
    zmodload zsh/zpty
    zpty qv zsh -f -i
    zpty -w qv "PS1= fpath=(${(q)1} \$fpath); autoload -U compinit; compinit -u -D"
    zpty -w qv "compadd() {
      if (( \${@[(I)-[OAD]]} )); then builtin compadd \"\$@\"; return; fi
      local -a qv_m
      builtin compadd -O qv_m \"\$@\"
      print -rl -- \${^qv_m/#/\${:-QV}C:}
      builtin compadd \"\$@\"
    }"
    zpty -w qv "qv-tab() { zle complete-word; print -r -- \${:-QV}END; zle kill-whole-line; }"
    zpty -w qv "zle -N qv-tab; bindkey \"^I\" qv-tab; print \${:-QV}READY"
    zpty -r -m qv out "*QVREADY*" || { print -u2 "zsh did not start"; exit 1; }
    while IFS= read -r line; do
      zpty -n -w qv "$line"$'"'\t'"'
      zpty -r -m qv out "*QVEND*" || { print -u2 "zsh gave no answer to: $line"; exit 1; }
      print ">>>"
      for l in ${(f)out//$'"'\r'"'/$'"'\n'"'}; do [[ $l == *QVC:* ]] && print -r -- ${l##*QVC:}; done
    done
    zpty -d qv' zsh "$completions"
}

failed=0
for shell in bash zsh fish; do
  start=$SECONDS
  out=$(printf '%s\n' "${lines[@]}" | "${shell}_ask") || fail "$shell: the queries did not run"
  # One line per query: the candidates, without a directory's "/" or the
  # "--option=" fish puts before a value, sorted.
  got=() block=""
  while IFS= read -r l; do
    if [ "$l" = ">>>" ]; then
      [ -z "${started:-}" ] || got+=("$(printf '%s' "$block" | sort -u | tr '\n' ' ')")
      started=1 block=""
    else
      l=${l%/} && [[ $l == --*=* ]] && l=${l#*=}
      block+=$l$'\n'
    fi
  done <<<"$out"
  got+=("$(printf '%s' "$block" | sort -u | tr '\n' ' ')")
  unset started
  [ ${#got[@]} -eq ${#lines[@]} ] || fail "$shell answered ${#got[@]} of ${#lines[@]} lines"
  for i in "${!lines[@]}"; do
    if [ "${got[i]}" != "${wanted[i]}" ]; then
      echo "$shell: '${lines[i]}' offers '${got[i]}', not '${wanted[i]}'" >&2
      failed=1
    fi
  done
  echo "$shell: ${#lines[@]} lines in $((SECONDS - start)) s"
done
[ $failed = 0 ] || fail "completions differ from the help (above)"
