// SPDX-License-Identifier: Apache-2.0
// quorvane: the host application of the Quorvane library.  Every command is
// a subcommand of one argument parser; this file builds it, reports the
// mistakes on the command line (naming the closest valid word) and runs the
// command that was asked for.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/print.h"

namespace {

using quorvane::cli::kExitDone;
using quorvane::cli::kExitUsage;

// The Levenshtein distance of a and b.
size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> aRow(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) aRow[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t nDiagonal = aRow[0];
    aRow[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t nAbove = aRow[j];
      aRow[j] = std::min({aRow[j] + 1, aRow[j - 1] + 1, nDiagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      nDiagonal = nAbove;
    }
  }
  return aRow[b.size()];
}

// The candidate closest to sWord, or "" when none is close enough to be
// what was meant: at most a third of the word's letters wrong (at least
// two allowed), or the word is the start of the candidate.
std::string Closest(const std::string& sWord, const std::vector<std::string>& aCandidates) {
  std::string sBest;
  size_t nBest = std::max<size_t>(2, sWord.size() / 3) + 1;
  for (const std::string& s : aCandidates) {
    size_t n = EditDistance(sWord, s);
    if (sWord.size() >= 3 && s.starts_with(sWord)) n = std::min<size_t>(n, 1);
    if (n < nBest) {
      nBest = n;
      sBest = s;
    }
  }
  return sBest;
}

// "scan", "config set": the words of the command below quorvane.
std::string CommandName(const CLI::App* p) {
  std::string s;
  for (; p != nullptr && p->get_parent() != nullptr; p = p->get_parent()) {
    if (!s.empty()) s.insert(0, " ");
    s.insert(0, p->get_name());
  }
  return s;
}

// The last subcommand the parse entered.
CLI::App* Deepest(CLI::App& app) {
  CLI::App* p = &app;
  while (!p->get_subcommands().empty()) p = p->get_subcommands().front();
  return p;
}

std::vector<std::string> SubcommandNames(const CLI::App& app) {
  std::vector<std::string> a;
  for (const CLI::App* pSub : app.get_subcommands({})) a.push_back(pSub->get_name());
  return a;
}

std::vector<std::string> OptionNames(const CLI::App& app) {
  std::vector<std::string> a;
  for (const CLI::Option* pOption : app.get_options()) {
    for (const std::string& s : pOption->get_lnames()) a.push_back("--" + s);
    for (const std::string& s : pOption->get_snames()) a.push_back("-" + s);
  }
  return a;
}

// Prints the error for the first word that no level of the command line
// took, and returns kExitUsage; nullopt when every word was taken.
std::optional<int> ReportLeftOvers(CLI::App& app) {
  for (CLI::App* p = &app;;) {
    const std::vector<std::string> aLeft = p->remaining();
    if (!aLeft.empty()) {
      const std::string& sWord = aLeft.front();
      const std::string sName = CommandName(p);
      const std::string sWho = sName.empty() ? "quorvane" : "quorvane " + sName;
      const std::string sHelp = sName.empty() ? "quorvane --help" : "quorvane " + sName + " --help";
      std::string sWhat;
      std::string sClosest;
      if (sWord.size() > 1 && sWord[0] == '-') {
        const std::string sBare = sWord.substr(0, sWord.find('='));
        sWhat = "unknown option '" + sBare + "'";
        sClosest = Closest(sBare, OptionNames(*p));
      } else if (!p->get_subcommands({}).empty() && p->get_subcommands().empty()) {
        sWhat = std::string(sName.empty() ? "unknown command" : "unknown action") + " '" + sWord + "'";
        sClosest = Closest(sWord, SubcommandNames(*p));
      } else {
        sWhat = "unexpected argument '" + sWord + "'";
      }
      if (!sClosest.empty()) sWhat += " (did you mean '" + sClosest + "'?)";
      std::fprintf(stderr, "%s: %s; see '%s'\n", sWho.c_str(), sWhat.c_str(), sHelp.c_str());
      return kExitUsage;
    }
    if (p->get_subcommands().empty()) return std::nullopt;
    p = p->get_subcommands().front();
  }
}

// quorvane help [COMMAND [ACTION]]: the help of that command.
int RunHelp(CLI::App& app, const std::vector<std::string>& aWords) {
  const CLI::App* p = &app;
  std::string sPrev;
  for (const std::string& sWord : aWords) {
    const CLI::App* pNext = nullptr;
    for (const CLI::App* pSub : p->get_subcommands({})) {
      if (pSub->get_name() == sWord) pNext = pSub;
    }
    if (pNext == nullptr || pNext->get_name() == "help") {
      std::string sWhat = "no command '" + sWord + "'";
      if (const std::string s = Closest(sWord, SubcommandNames(*p)); !s.empty()) {
        sWhat += " (did you mean '" + s + "'?)";
      }
      return quorvane::cli::UsageError("help", sWhat);
    }
    if (sPrev.empty()) {
      sPrev = "quorvane";
    } else {
      sPrev.append(" ").append(p->get_name());
    }
    p = pNext;
  }
  // The formatter directly: App::help would show the help of the command
  // this run selected, which is help itself.
  quorvane::cli::WriteOut(p->get_formatter()->make_help(p, sPrev.empty() ? "quorvane" : sPrev + " " + p->get_name(),
                                                        CLI::AppFormatMode::Normal));
  return kExitDone;
}

// Parses the command line and runs the command; its exit status.  sWho
// becomes the words that name the command ("quorvane config list").
int Run(int argc, char** argv, std::string& sWho) {
  CLI::App app("Quorvane cuts Java sources into class records and keeps them in a repository of plain text files.",
               "quorvane");
  app.set_version_flag("-V,--version",
                       std::string("quorvane ") + QV_VERSION +
                           "\nCopyright 2026 The Quorvane developers\n"
                           "Licensed under the Apache License, Version 2.0 (SPDX-License-Identifier: Apache-2.0): "
                           "https://www.apache.org/licenses/LICENSE-2.0",
                       "Show the version and the licence, and exit");
  app.set_help_flag("-h,--help", "Show this help and exit");
  // Words nobody takes are reported by ReportLeftOvers, with the closest
  // valid one; one command per run.
  app.allow_extras();
  app.require_subcommand(0, 1);
  app.get_formatter()->column_width(30);
  app.footer(
      quorvane::cli::HelpFooter("Run 'quorvane COMMAND --help' or 'quorvane help COMMAND' for the options of a "
                                "command."));

  std::map<const CLI::App*, quorvane::cli::Runner> aRunners;
  auto Add = [&](const std::string& sName, quorvane::cli::Runner run) {
    aRunners[app.get_subcommand(sName)] = std::move(run);
  };
  Add("scan", quorvane::cli::AddScanCommand(app));
  Add("parse", quorvane::cli::AddParseCommand(app));
  Add("classes", quorvane::cli::AddClassesCommand(app));
  Add("show", quorvane::cli::AddShowCommand(app));
  Add("tree", quorvane::cli::AddTreeCommand(app));
  Add("write", quorvane::cli::AddWriteCommand(app));
  Add("tags", quorvane::cli::AddTagsCommand(app));
  Add("config", quorvane::cli::AddConfigCommand(app));
  Add("sql", quorvane::cli::AddSqlCommand(app));
  Add("demo", quorvane::cli::AddDemoCommand(app, argv[0]));
  Add("exports", quorvane::cli::AddExportsCommand(app, argv[0]));
  std::vector<std::string> aHelpWords;
  CLI::App* pHelp = app.add_subcommand("help", "Show the help of a command: quorvane help COMMAND [ACTION]");
  pHelp->add_option("COMMAND", aHelpWords, "The command (and the action of config)");
  Add("completion", quorvane::cli::AddCompletionCommand(app));

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    quorvane::cli::WriteOut(app.help());
    return kExitDone;
  } catch (const CLI::CallForVersion& e) {
    quorvane::cli::WriteOut(std::string(e.what()) + "\n");
    return kExitDone;
  } catch (const CLI::ParseError& e) {
    // An unknown word explains the rest best (a missing argument may be
    // one that was misspelled).
    if (const auto nStatus = ReportLeftOvers(app)) return *nStatus;
    const std::string sName = CommandName(Deepest(app));
    sWho = sName.empty() ? std::string("quorvane") : "quorvane " + sName;
    std::fprintf(stderr, "%s: %s; see '%s --help'\n", sWho.c_str(), e.what(), sWho.c_str());
    return kExitUsage;
  }
  if (const auto nStatus = ReportLeftOvers(app)) return *nStatus;
  if (app.get_subcommands().empty()) {
    std::cerr << app.help();
    return kExitUsage;
  }
  const CLI::App* pCommand = app.get_subcommands().front();
  sWho = "quorvane " + CommandName(Deepest(app));
  if (pCommand == pHelp) return RunHelp(app, aHelpWords);
  return aRunners.at(pCommand)();
}

}  // namespace

// An exception that escapes is a bug, and ends the run through
// std::terminate, which names it; it is not turned into an exit status.
int main(int argc, char** argv) {  // NOLINT(bugprone-exception-escape)
  // Output that could not be written fails the run, whatever the command
  // returned; FinishOutput says so once, for every command.
  std::string sWho = "quorvane";
  const int nStatus = Run(argc, argv, sWho);
  return quorvane::cli::FinishOutput(sWho, nStatus);
}
