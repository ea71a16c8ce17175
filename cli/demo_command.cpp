// SPDX-License-Identifier: Apache-2.0
// quorvane demo: the text functions of the library, reached through their
// exported names.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <memory>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/library_client.h"

namespace quorvane::cli {
namespace {

using ScanAtFn = QvNumber (*)(const QvString*, const QvString*, QvNumber);
using ScanNextFn = QvNumber (*)(const QvString*, const QvString*, QvNumber);
using InCommentFn = QvNumber (*)(const QvString*, const QvString*, QvNumber);
using CommentTypeFn = QvNumber (*)(const QvString*, QvNumber*, QvNumber*);
using MidFn = QvString* (*)(const QvString*, QvNumber, QvNumber);

QvNumber Num(double d) { return QvNumber{d, 0, 0}; }

bool ReadWhole(const std::string& sPath, std::string& sText) {
  std::ifstream in(sPath, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  sText = ss.str();
  return true;
}

struct Exports {
  ScanAtFn pScanAt;
  ScanNextFn pScanNext;
  InCommentFn pInComment;
  CommentTypeFn pCommentType;
  MidFn pMid;
};

void DemoFile(const LibraryClient& lib, const Exports& fn, const std::string& sPath, const std::string& sText) {
  QvString* pText = lib.NewString(sText);
  QvString* pKey = lib.NewString("class");
  std::printf("%s: %zu bytes\n", sPath.c_str(), sText.size());

  // Every "class": the first from position 0, the next ones with
  // StrScanNext, until StrScanAt from the returned position finds nothing.
  double nPos = fn.pScanAt(pText, pKey, Num(0)).value;
  int nFound = 0;
  while (nPos >= 0) {
    const double nInside = fn.pInComment(pText, pKey, Num(nPos)).value;
    std::printf("  \"class\" at %.0f%s\n", nPos, nInside == 1 ? " (inside a block comment)" : "");
    ++nFound;
    const double nNext = fn.pScanNext(pText, pKey, Num(nPos)).value;
    if (fn.pScanAt(pText, pKey, Num(nNext)).value != 0) break;
    nPos = nNext;
  }
  std::printf("  %d occurrence(s) of \"class\"\n", nFound);

  // The first comment of each line.
  static constexpr const char* kKinds[] = {"", "line comment", "block comment", "documentation comment"};
  size_t nLineStart = 0;
  int nLine = 1;
  while (nLineStart < sText.size()) {
    size_t nLineEnd = sText.find('\n', nLineStart);
    if (nLineEnd == std::string::npos) nLineEnd = sText.size() - 1;
    QvString* pLine = fn.pMid(pText, Num(static_cast<double>(nLineStart)),
                              Num(static_cast<double>(nLineEnd - nLineStart + 1)));
    QvNumber nStart = Num(-1);
    QvNumber nEnd = Num(-1);
    const int nType = static_cast<int>(fn.pCommentType(pLine, &nStart, &nEnd).value);
    if (nType > 0) std::printf("  line %d, column %.0f: %s\n", nLine, nStart.value + 1, kKinds[nType]);
    lib.FreeString(pLine);
    nLineStart = nLineEnd + 1;
    ++nLine;
  }
  lib.FreeString(pKey);
  lib.FreeString(pText);
}

struct DemoArgs {
  std::string sLibrary;
  std::vector<std::string> aFiles;
};

int RunDemo(const DemoArgs& args) {
  const std::string& sLibrary = args.sLibrary;
  const std::vector<std::string>& aFiles = args.aFiles;
  LibraryClient lib;
  if (!lib.Load(sLibrary)) {
    std::fprintf(stderr, "quorvane demo: %s\n", lib.Error().c_str());
    return kExitFailed;
  }
  const Exports fn{lib.Function<ScanAtFn>("__quorvane__GF25690957"), lib.Function<ScanNextFn>("__quorvane__GF25691022"),
                   lib.Function<InCommentFn>("__quorvane__GF25690999"),
                   lib.Function<CommentTypeFn>("__quorvane__GF25690970"),
                   lib.Function<MidFn>("__quorvane__GF25690943")};
  if (!fn.pScanAt || !fn.pScanNext || !fn.pInComment || !fn.pCommentType || !fn.pMid) {
    std::fprintf(stderr, "quorvane demo: %s lacks the text functions\n", sLibrary.c_str());
    return kExitFailed;
  }
  int nStatus = kExitDone;
  for (const std::string& sPath : aFiles) {
    std::string sText;
    if (!ReadWhole(sPath, sText)) {
      std::fprintf(stderr, "quorvane demo: cannot read %s\n", sPath.c_str());
      nStatus = kExitFailed;
      continue;
    }
    DemoFile(lib, fn, sPath, sText);
  }
  return nStatus;
}

}  // namespace

Runner AddDemoCommand(CLI::App& app, const char* sArgv0) {
  auto args = std::make_shared<DemoArgs>();
  args->sLibrary = LibraryBeside(sArgv0);
  CLI::App* sub = app.add_subcommand("demo", "Use the library's text functions through their exported names");
  const std::string sAbout(
      "Load libquorvane.so, look up its exported text functions by their exported names and use them on each "
      "FILE: report every \"class\" keyword with whether it lies inside a block comment, and the kind of the first "
      "comment of each line.");
  sub->add_option("FILE", args->aFiles, "A text file")->required();
  sub->add_option("--library", args->sLibrary,
                  "The library to load (default: libquorvane.so.0 beside this program, or in the library directory "
                  "once installed)")
      ->type_name("PATH");
  sub->footer(HelpFooter(sAbout));
  return [args] { return RunDemo(*args); };
}

}  // namespace quorvane::cli
