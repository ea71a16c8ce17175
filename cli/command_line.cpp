// SPDX-License-Identifier: Apache-2.0
// What every subcommand shares on the command line: the verbosity flags
// and the form of a usage error.
#include <algorithm>
#include <cstdio>

#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace quorvane::cli {

void AddVerbosity(CLI::App& sub, Verbosity& v, const std::string& sQuiet, const std::string& sVerbose) {
  sub.add_flag("-q,--quiet", v.bQuiet, sQuiet);
  sub.add_flag("-v,--verbose", v.bVerbose, sVerbose);
}

std::string HelpFooter(std::string_view sAbout, std::string_view sNotes) {
  constexpr size_t kWidth = 100;
  std::string sOut;
  auto Paragraphs = [&sOut](std::string_view sText) {
    while (!sText.empty()) {
      const size_t nEnd = std::min(sText.find('\n'), sText.size());
      std::string_view sLine = sText.substr(0, nEnd);
      sText.remove_prefix(std::min(nEnd + 1, sText.size()));
      // Words onto lines of at most kWidth columns.
      std::string sCurrent;
      while (!sLine.empty()) {
        const size_t nSpace = std::min(sLine.find(' '), sLine.size());
        const std::string_view sWord = sLine.substr(0, nSpace);
        sLine.remove_prefix(std::min(nSpace + 1, sLine.size()));
        if (!sCurrent.empty() && sCurrent.size() + 1 + sWord.size() > kWidth) {
          sOut += sCurrent + "\n";
          sCurrent.clear();
        }
        if (!sCurrent.empty()) sCurrent += ' ';
        sCurrent += sWord;
      }
      sOut += sCurrent + "\n";
    }
  };
  if (!sAbout.empty()) Paragraphs(sAbout);
  if (!sNotes.empty()) Paragraphs(sNotes);
  Paragraphs(kExitStatusHelp);
  if (!sOut.empty()) sOut.pop_back();
  return sOut;
}

int UsageError(std::string_view sCommand, const std::string& sWhat) {
  std::fprintf(stderr, "quorvane %.*s: %s; see 'quorvane %.*s --help'\n", static_cast<int>(sCommand.size()),
               sCommand.data(), sWhat.c_str(), static_cast<int>(sCommand.size()), sCommand.data());
  return kExitUsage;
}

}  // namespace quorvane::cli
