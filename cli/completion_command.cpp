// SPDX-License-Identifier: Apache-2.0
// quorvane completion bash|zsh|fish: the command's completion script for
// that shell, made from the argument parser's own definition of every
// command, option and positional argument, so that it offers what --help
// lists and nothing else.  The build writes the three scripts with it
// (cmake/install.cmake); the command is left out of the help.
//
// What a value completes to comes from the help too: the choices of a
// fixed set ("TEXT:{lf,crlf}"), directories for DIR and ROOT, files for
// FILE and PATH, the repository's classes for CLASS (quorvane classes
// --names, with the repository options of the line) and commands for
// help's COMMAND.
#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/print.h"

namespace quorvane::cli {
namespace {

enum class ValueKind { kNone, kText, kChoice, kDirectory, kFile, kClass, kCommand };

// An option (aNames "-o", "--output") or a positional argument (no names).
struct Argument {
  std::vector<std::string> aNames;
  std::string sMeta;  // what the help calls its value: DIR, CLASS, ...
  std::string sHelp;
  ValueKind eKind = ValueKind::kNone;
  std::vector<std::string> aChoices;
  bool bMany = false;  // a positional that takes every word left
};

struct Command {
  std::string sPath;  // "" for quorvane itself, "scan", "config set"
  std::vector<Argument> aOptions;
  std::vector<Argument> aPositionals;
  std::vector<std::pair<std::string, std::string>> aSubcommands;  // name, help
};

bool Hidden(const CLI::App* p) { return p->get_group().empty(); }

// The kind of a value from its name in the help ("DIR", "CLASS") and the
// rest of its help type (":{lf,crlf}").
ValueKind KindOf(const std::string& sMeta, const std::string& sCheck, std::vector<std::string>& aChoices) {
  if (sCheck.size() > 2 && sCheck.front() == '{' && sCheck.back() == '}') {
    // A fixed set; a transformer writes its pairs as "word->value".
    std::stringstream in(sCheck.substr(1, sCheck.size() - 2));
    for (std::string s; std::getline(in, s, ',');) aChoices.push_back(s.substr(0, s.find("->")));
    return ValueKind::kChoice;
  }
  if (sMeta == "DIR" || sMeta == "ROOT") return ValueKind::kDirectory;
  if (sMeta == "FILE" || sMeta == "PATH") return ValueKind::kFile;
  if (sMeta == "CLASS") return ValueKind::kClass;
  if (sMeta == "COMMAND") return ValueKind::kCommand;
  return ValueKind::kText;
}

void Collect(const CLI::App& app, const std::string& sPath, std::vector<Command>& aOut) {
  Command c{sPath, {}, {}, {}};
  for (const CLI::Option* p : app.get_options()) {
    if (p->get_group().empty()) continue;
    Argument a;
    a.sHelp = p->get_description();
    const std::string sType = p->get_type_name();
    const size_t nColon = sType.find(':');
    a.sMeta = sType.substr(0, nColon);
    const std::string sCheck = nColon == std::string::npos ? "" : sType.substr(nColon + 1);
    if (p->get_positional()) {
      a.sMeta = p->get_name(true);
      a.bMany = p->get_items_expected_max() > 1;
    } else {
      for (const std::string& s : p->get_snames()) a.aNames.push_back("-" + s);
      for (const std::string& s : p->get_lnames()) a.aNames.push_back("--" + s);
    }
    if (p->get_positional() || p->get_items_expected_max() > 0) a.eKind = KindOf(a.sMeta, sCheck, a.aChoices);
    (p->get_positional() ? c.aPositionals : c.aOptions).push_back(std::move(a));
  }
  std::vector<std::pair<const CLI::App*, std::string>> aSubs;
  for (const CLI::App* pSub : app.get_subcommands({})) {
    if (Hidden(pSub)) continue;
    c.aSubcommands.emplace_back(pSub->get_name(), pSub->get_description());
    aSubs.emplace_back(pSub, sPath.empty() ? pSub->get_name() : sPath + " " + pSub->get_name());
  }
  aOut.push_back(std::move(c));
  for (const auto& [pSub, sSubPath] : aSubs) Collect(*pSub, sSubPath, aOut);
}

// s in single quotes for a POSIX shell or zsh.
std::string Quoted(const std::string& s) {
  std::string sOut = "'";
  for (const char ch : s) sOut += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return sOut + "'";
}

// s in single quotes for fish, where \ escapes too.
std::string FishQuoted(const std::string& s) {
  std::string sOut = "'";
  for (const char ch : s) {
    if (ch == '\'' || ch == '\\') sOut += '\\';
    sOut += ch;
  }
  return sOut + "'";
}

std::string Joined(const std::vector<std::string>& a, const std::string& sBetween) {
  std::string s;
  for (const std::string& sWord : a) s += (s.empty() ? "" : sBetween) + sWord;
  return s;
}

// The words that move the line to a subcommand ("PATH:NAME") and the
// options whose value is the next word ("PATH:--repo"), each quoted, for
// the shell functions that find where the line is.
struct LineKeys {
  std::vector<std::string> aSubcommands;
  std::vector<std::string> aValueOptions;
};
LineKeys KeysOf(const std::vector<Command>& aCommands) {
  LineKeys keys;
  for (const Command& c : aCommands) {
    for (const auto& [sName, sHelp] : c.aSubcommands) keys.aSubcommands.push_back(Quoted(c.sPath + ":" + sName));
    for (const Argument& o : c.aOptions) {
      if (o.eKind == ValueKind::kNone) continue;
      for (const std::string& sName : o.aNames) keys.aValueOptions.push_back(Quoted(c.sPath + ":" + sName));
    }
  }
  return keys;
}

// The options of classes that say where the repository is and how it is
// read: given on the line, they go to 'classes --names' too.
std::vector<std::string> RepositoryOptions(const std::vector<Command>& aCommands) {
  std::vector<std::string> a;
  for (const Command& c : aCommands) {
    if (c.sPath != "classes") continue;
    for (const Argument& o : c.aOptions) {
      if (o.eKind != ValueKind::kNone) a.insert(a.end(), o.aNames.begin(), o.aNames.end());
    }
  }
  return a;
}

// The subcommands of each command, as a shell function's case branches:
// 'PATH') LINE ;; where Line(name, help) makes each line.
template <typename Line>
std::string SubcommandCases(const std::vector<Command>& aCommands, const std::string& sIndent, Line line) {
  std::string s;
  for (const Command& c : aCommands) {
    if (c.aSubcommands.empty()) continue;
    s += sIndent + Quoted(c.sPath) + ")\n";
    for (const auto& [sName, sHelp] : c.aSubcommands) s += sIndent + "  " + line(sName, sHelp) + "\n";
    s += sIndent + "  ;;\n";
  }
  return s;
}

// What completes a value in bash; "" for a free text.
std::string BashAction(const Argument& a) {
  switch (a.eKind) {
    case ValueKind::kChoice:
      return "COMPREPLY=($(compgen -W " + Quoted(Joined(a.aChoices, " ")) + " -- \"$cur\"))";
    case ValueKind::kDirectory:
      return "_filedir -d";
    case ValueKind::kFile:
      return "_filedir";
    case ValueKind::kClass:
      return "_quorvane_classes";
    case ValueKind::kCommand:
      return "COMPREPLY=($(compgen -W \"$(_quorvane_subcommands \"${pos[*]}\")\" -- \"$cur\"))";
    default:
      return "";
  }
}

std::string Bash(const std::vector<Command>& aCommands) {
  const std::vector<std::string> aRepo = RepositoryOptions(aCommands);
  std::string s =
      "# SPDX-License-Identifier: Apache-2.0\n"
      "# bash completion for quorvane, made by 'quorvane completion bash' from the\n"
      "# command's own definition of its commands and options.\n\n"
      "# The subcommands of the command \"$1\" (\"\", \"config\"), one a line.\n"
      "_quorvane_subcommands() {\n"
      "  case $1 in\n" +
      SubcommandCases(aCommands, "    ", [](const std::string& sName, const std::string&) { return "echo " + sName; }) +
      "  esac\n"
      "}\n\n"
      "# The classes of the repository that the line names.\n"
      "_quorvane_classes() {\n"
      "  local -a args=()\n"
      "  local i v\n"
      "  for ((i = 1; i < cword; i++)); do\n"
      "    case ${words[i]} in\n"
      "      " +
      Joined(aRepo, " | ") +
      ")\n"
      "        v=${words[i + 1]-}\n"
      "        [[ $v == '~' || $v == '~/'* ]] && v=$HOME${v:1}\n"
      "        args+=(\"${words[i]}\" \"$v\")\n"
      "        ((i++)) ;;\n"
      "      " +
      Joined(aRepo, "=* | ") +
      "=*) args+=(\"${words[i]}\") ;;\n"
      "    esac\n"
      "  done\n"
      "  COMPREPLY=($(compgen -W \"$(\"${words[0]}\" classes --names \"${args[@]}\" 2>/dev/null)\" -- \"$cur\"))\n"
      "}\n\n"
      "_quorvane() {\n"
      "  local cur prev words cword split\n"
      "  _init_completion -s || return\n"
      "  # The command (\"config set\"), and the positional words after it.\n"
      "  local cmd= i w skip=\n"
      "  local -a pos=()\n"
      "  for ((i = 1; i < cword; i++)); do\n"
      "    w=${words[i]}\n"
      "    if [[ -n $skip ]]; then\n"
      "      skip=\n"
      "      continue\n"
      "    fi\n"
      "    case \"$cmd:$w\" in\n";
  const LineKeys keys = KeysOf(aCommands);
  s += "      " + Joined(keys.aSubcommands, " | ") +
       ")\n"
       "        cmd=${cmd:+$cmd }$w\n"
       "        pos=() ;;\n"
       "      " +
       Joined(keys.aValueOptions, " | ") +
       ") skip=1 ;;\n"
       "      *:-*) ;;\n"
       "      *) pos+=(\"$w\") ;;\n"
       "    esac\n"
       "  done\n\n"
       "  case \"$cmd:$prev\" in\n";
  // The value of an option: one branch per action, naming every option
  // that takes it.
  std::vector<std::pair<std::string, std::vector<std::string>>> aActions;
  for (const Command& c : aCommands) {
    for (const Argument& o : c.aOptions) {
      if (o.eKind == ValueKind::kNone) continue;
      const std::string sAction = BashAction(o);
      auto it = std::find_if(aActions.begin(), aActions.end(), [&](const auto& a) { return a.first == sAction; });
      if (it == aActions.end()) it = aActions.insert(aActions.end(), {sAction, {}});
      for (const std::string& sName : o.aNames) it->second.push_back(Quoted(c.sPath + ":" + sName));
    }
  }
  for (const auto& [sAction, aKeys] : aActions) {
    s += "    " + Joined(aKeys, " | ") + ")\n      " + (sAction.empty() ? "" : sAction + "\n      ") + "return ;;\n";
  }
  s += "  esac\n"
       "  [[ $split == true ]] && return\n\n"
       "  if [[ $cur == -* ]]; then\n"
       "    case $cmd in\n";
  for (const Command& c : aCommands) {
    std::vector<std::string> aNames;
    for (const Argument& o : c.aOptions) aNames.insert(aNames.end(), o.aNames.begin(), o.aNames.end());
    s += "      " + Quoted(c.sPath) + ") COMPREPLY=($(compgen -W " + Quoted(Joined(aNames, " ")) +
         " -- \"$cur\")) ;;\n";
  }
  s += "    esac\n"
       "    return\n"
       "  fi\n\n"
       "  local n=${#pos[@]}\n"
       "  case $cmd in\n";
  for (const Command& c : aCommands) {
    std::vector<std::string> aBranches;
    if (!c.aSubcommands.empty()) {
      aBranches.push_back("((n == 0)); then\n        COMPREPLY=($(compgen -W \"$(_quorvane_subcommands " +
                          Quoted(c.sPath) + ")\" -- \"$cur\"))\n");
    }
    for (size_t k = 0; k < c.aPositionals.size(); ++k) {
      const Argument& a = c.aPositionals[k];
      const std::string sAction = BashAction(a);
      if (sAction.empty()) continue;
      aBranches.push_back("((n " + std::string(a.bMany ? ">=" : "==") + " " + std::to_string(k) + ")); then\n        " +
                          sAction + "\n");
    }
    if (aBranches.empty()) continue;
    s += "    " + Quoted(c.sPath) + ")\n      if " + Joined(aBranches, "      elif ") + "      fi ;;\n";
  }
  s += "  esac\n"
       "}\n"
       "complete -F _quorvane quorvane\n";
  return s;
}

// Text inside the brackets of an option's description for zsh's _arguments, within single quotes.
std::string ZshHelp(const std::string& sHelp) {
  std::string s;
  for (const char ch : sHelp) {
    if (ch == '[' || ch == ']' || ch == '\\') s += '\\';
    s += ch;
  }
  return s;
}

std::string ZshAction(const Argument& a) {
  switch (a.eKind) {
    case ValueKind::kChoice:
      return "(" + Joined(a.aChoices, " ") + ")";
    case ValueKind::kDirectory:
      return "_files -/";
    case ValueKind::kFile:
      return "_files";
    case ValueKind::kClass:
      return "_quorvane_classes";
    case ValueKind::kCommand:
      return "_quorvane_command_words";
    default:
      return " ";
  }
}

// The function that completes the words after the command at sPath.
std::string ZshFunction(const std::string& sPath) {
  std::string sName = "_quorvane_cmd";
  if (!sPath.empty()) sName += "_";
  for (const char ch : sPath) sName += ch == ' ' ? '_' : ch;
  return sName;
}

std::string Zsh(const std::vector<Command>& aCommands) {
  const std::vector<std::string> aRepo = RepositoryOptions(aCommands);
  std::string s =
      "#compdef quorvane\n"
      "# SPDX-License-Identifier: Apache-2.0\n"
      "# zsh completion for quorvane, made by 'quorvane completion zsh' from the\n"
      "# command's own definition of its commands and options.\n\n"
      "# The subcommands of the command \"$*\" (\"\", \"config\") into subs.\n"
      "_quorvane_subcommands() {\n"
      "  case \"$*\" in\n" +
      SubcommandCases(aCommands, "    ",
                      [](const std::string& sName, const std::string& sHelp) {
                        return "subs+=(" + Quoted(sName + ":" + sHelp) + ")";
                      }) +
      "  esac\n"
      "}\n\n"
      "# help's COMMAND: the subcommands of the words before it.\n"
      "_quorvane_command_words() {\n"
      "  local -a subs\n"
      "  _quorvane_subcommands ${words[2,CURRENT-1]:#-*}\n"
      "  _describe -t commands command subs\n"
      "}\n\n"
      "# The classes of the repository that the line (qv_line) names.\n"
      "_quorvane_classes() {\n"
      "  local -a args names\n"
      "  local i\n"
      "  for ((i = 2; i < $#qv_line; i++)); do\n"
      "    case $qv_line[i] in\n"
      "      (" +
      Joined(aRepo, "|") +
      ") args+=($qv_line[i] ${~${(Q)qv_line[i+1]}}); ((i++)) ;;\n"
      "      (" +
      Joined(aRepo, "=*|") +
      "=*) args+=(${(Q)qv_line[i]}) ;;\n"
      "    esac\n"
      "  done\n"
      "  names=(${(f)\"$(${~${(Q)qv_line[1]}} classes --names $args 2>/dev/null)\"})\n"
      "  _wanted classes expl class compadd -a names\n"
      "}\n";
  for (const Command& c : aCommands) {
    std::vector<std::string> aSpecs;
    for (const Argument& o : c.aOptions) {
      const bool bValue = o.eKind != ValueKind::kNone;
      std::string sExclude;
      if (o.aNames.size() > 1 || o.aNames[0] == "--help" || o.aNames[0] == "--version") {
        sExclude = "(" + Joined(o.aNames, " ") + ")";
      }
      // Help and version take the whole line.
      for (const std::string& sName : o.aNames) {
        if (sName == "--help" || sName == "--version") sExclude = "(- *)";
      }
      std::vector<std::string> aForms;
      for (const std::string& sName : o.aNames) {
        aForms.push_back(sName + (bValue ? (sName.size() == 2 ? "+" : "=") : ""));
      }
      std::string sTail = "[" + ZshHelp(o.sHelp) + "]";
      if (bValue) sTail += ":" + o.sMeta + ":" + ZshAction(o);
      std::string sSpec = sExclude.empty() ? "" : Quoted(sExclude);
      sSpec += aForms.size() > 1 ? "{" + Joined(aForms, ",") + "}" : aForms[0];
      aSpecs.push_back(sSpec + Quoted(sTail));
    }
    for (size_t k = 0; k < c.aPositionals.size(); ++k) {
      const Argument& a = c.aPositionals[k];
      aSpecs.push_back(
          Quoted((a.bMany ? std::string("*") : std::to_string(k + 1)) + ":" + a.sMeta + ":" + ZshAction(a)));
    }
    s += "\n" + ZshFunction(c.sPath) + "() {\n";
    if (c.aSubcommands.empty()) {
      s += "  _arguments -S : \\\n    " + Joined(aSpecs, " \\\n    ") + "\n}\n";
      continue;
    }
    aSpecs.push_back("'1:command:->command'");
    aSpecs.push_back("'*::argument:->argument'");
    s += "  local curcontext=$curcontext state state_descr line\n"
         "  local -A opt_args\n"
         "  _arguments -C -S : \\\n    " +
         Joined(aSpecs, " \\\n    ") +
         " && return\n"
         "  case $state in\n"
         "    (command)\n"
         "      local -a subs\n"
         "      _quorvane_subcommands " +
         Quoted(c.sPath) +
         "\n"
         "      _describe -t commands command subs ;;\n"
         "    (argument)\n"
         "      curcontext=${curcontext%:*:*}:quorvane-$words[1]:\n"
         "      case $words[1] in\n";
    for (const auto& [sName, sHelp] : c.aSubcommands) {
      s += "        (" + sName + ") " + ZshFunction(c.sPath.empty() ? sName : c.sPath + " " + sName) + " ;;\n";
    }
    s += "      esac ;;\n  esac\n}\n";
  }
  s += "\n_quorvane() {\n"
       "  local -a qv_line\n"
       "  qv_line=(${words[1,CURRENT-1]})\n"
       "  _quorvane_cmd\n"
       "}\n\n"
       "_quorvane \"$@\"\n";
  return s;
}

// What completes a value in fish: "-a ..." or -F; "" for a free text.
std::string FishValues(const Argument& a) {
  switch (a.eKind) {
    case ValueKind::kChoice:
      return "-a " + FishQuoted(Joined(a.aChoices, " "));
    case ValueKind::kDirectory:
      return "-a '(__fish_complete_directories)'";
    case ValueKind::kFile:
      return "-F";
    case ValueKind::kClass:
      return "-a '(__quorvane_classes)'";
    case ValueKind::kCommand:
      return "-a '(__quorvane_command_words)'";
    default:
      return "";
  }
}

std::string Fish(const std::vector<Command>& aCommands) {
  const std::vector<std::string> aRepo = RepositoryOptions(aCommands);
  const LineKeys keys = KeysOf(aCommands);
  std::string s =
      "# SPDX-License-Identifier: Apache-2.0\n"
      "# fish completion for quorvane, made by 'quorvane completion fish' from the\n"
      "# command's own definition of its commands and options.\n\n"
      "# The command the line is at (\"config set\"), then its positional words.\n"
      "function __quorvane_position\n"
      "    set -l words (commandline -opc)\n"
      "    set -e words[1]\n"
      "    set -l cmd ''\n"
      "    set -l pos\n"
      "    set -l skip 0\n"
      "    for w in $words\n"
      "        if test $skip = 1\n"
      "            set skip 0\n"
      "            continue\n"
      "        end\n"
      "        switch \"$cmd:$w\"\n"
      "            case " +
      Joined(keys.aSubcommands, " ") +
      "\n"
      "                set cmd (string trim -- \"$cmd $w\")\n"
      "                set pos\n"
      "            case " +
      Joined(keys.aValueOptions, " ") +
      "\n"
      "                set skip 1\n"
      "            case '*:-*'\n"
      "            case '*'\n"
      "                set -a pos $w\n"
      "        end\n"
      "    end\n"
      "    printf '%s\\n' $cmd $pos\n"
      "end\n\n"
      "# Whether the line is at the command $argv[1] with $argv[2] positional\n"
      "# words (\"N+\": N or more) before the cursor; any number without it.\n"
      "function __quorvane_at\n"
      "    set -l here (__quorvane_position)\n"
      "    test \"$here[1]\" = \"$argv[1]\"; or return 1\n"
      "    set -l n (math (count $here) - 1)\n"
      "    switch \"$argv[2]\"\n"
      "        case ''\n"
      "            return 0\n"
      "        case '*+'\n"
      "            test $n -ge (string trim -r -c + -- $argv[2])\n"
      "        case '*'\n"
      "            test $n -eq $argv[2]\n"
      "    end\n"
      "end\n\n"
      "# The subcommands of the command $argv (\"\", \"config\"), with their help.\n"
      "function __quorvane_subcommands\n"
      "    switch \"$argv\"\n";
  for (const Command& c : aCommands) {
    if (c.aSubcommands.empty()) continue;
    s += "        case " + Quoted(c.sPath) + "\n";
    for (const auto& [sName, sHelp] : c.aSubcommands) {
      s += "            printf '%s\\t%s\\n' " + sName + " " + FishQuoted(sHelp) + "\n";
    }
  }
  s +=
      "    end\n"
      "end\n\n"
      "# help's COMMAND: the subcommands of the words before it.\n"
      "function __quorvane_command_words\n"
      "    set -l here (__quorvane_position)\n"
      "    set -e here[1]\n"
      "    __quorvane_subcommands $here\n"
      "end\n\n"
      "# The classes of the repository that the line names.\n"
      "function __quorvane_classes\n"
      "    set -l words (commandline -opc)\n"
      "    set -l args\n"
      "    for i in (seq 2 (count $words))\n"
      "        switch $words[$i]\n"
      "            case " +
      Joined(aRepo, " ") +
      "\n"
      "                set -q words[(math $i + 1)]; and set -a args $words[$i] (string replace -r '^~(?=/|$)' $HOME -- "
      "$words[(math $i + 1)])\n"
      "            case '" +
      Joined(aRepo, "=*' '") +
      "=*'"
      "\n"
      "                set -a args $words[$i]\n"
      "        end\n"
      "    end\n"
      "    $words[1] classes --names $args 2>/dev/null\n"
      "end\n\n"
      "complete -c quorvane -f\n";
  for (const Command& c : aCommands) {
    const std::string sAt = "-n " + FishQuoted("__quorvane_at " + Quoted(c.sPath));
    if (!c.aSubcommands.empty()) {
      s += "complete -c quorvane -n " + FishQuoted("__quorvane_at " + Quoted(c.sPath) + " 0") + " -a " +
           FishQuoted("(__quorvane_subcommands " + Quoted(c.sPath) + ")") + "\n";
    }
    for (const Argument& o : c.aOptions) {
      s += "complete -c quorvane " + sAt;
      for (const std::string& sName : o.aNames) {
        s += (sName.size() == 2 ? " -s " : " -l ") + sName.substr(sName.find_first_not_of('-'));
      }
      // A value is required (-r), and only a file's completes to files.
      if (o.eKind == ValueKind::kFile) s += " -r -F";
      if (o.eKind != ValueKind::kNone && o.eKind != ValueKind::kFile) s += " -x " + FishValues(o);
      s += " -d " + FishQuoted(o.sHelp) + "\n";
    }
    for (size_t k = 0; k < c.aPositionals.size(); ++k) {
      const Argument& a = c.aPositionals[k];
      if (const std::string sValues = FishValues(a); !sValues.empty()) {
        const std::string sCount = std::to_string(k) + (a.bMany ? "+" : "");
        s.append("complete -c quorvane -n ")
            .append(FishQuoted("__quorvane_at " + Quoted(c.sPath) + " " + sCount))
            .append(" ")
            .append(sValues)
            .append("\n");
      }
    }
  }
  return s;
}

}  // namespace

Runner AddCompletionCommand(CLI::App& app) {
  auto sShell = std::make_shared<std::string>();
  CLI::App* sub = app.add_subcommand("completion", "Write the completion script of a shell");
  sub->add_option("SHELL", *sShell, "The shell")->required()->check(CLI::IsMember({"bash", "zsh", "fish"}));
  sub->group("");
  return [&app, sShell] {
    std::vector<Command> aCommands;
    Collect(app, "", aCommands);
    WriteOut(*sShell == "bash" ? Bash(aCommands) : *sShell == "zsh" ? Zsh(aCommands) : Fish(aCommands));
    return kExitDone;
  };
}

}  // namespace quorvane::cli
