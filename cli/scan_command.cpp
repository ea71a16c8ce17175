// SPDX-License-Identifier: Apache-2.0
// quorvane scan: the Java sources below a set of roots, cut into class
// records by the library's repository session, in this process; with
// --save also written as the repository.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/print.h"
#include "cli/progress.h"
#include "cli/repository.h"
#include "cli/session.h"
#include "cli/tags_output.h"
#include "quorvane/quorvane.hpp"

namespace quorvane::cli {
namespace {

struct ScanArgs {
  std::vector<std::string> aRoots;
  RepositoryOptions options;
  Verbosity verbosity;
  bool bList = false;
  bool bSave = false;
  bool bBesideSources = false;  // --beside-sources: method files beside the sources
  bool bJson = false;
  bool bStrict = false;
  bool bNoWait = false;
  bool bFull = false;
  std::string sTags;  // --tags FILE; empty: none
  std::string sTagsFormat = "ctags";
};

// A field of a --list line: line breaks and tabs become blanks, so that
// every class stays on one line of tab-separated fields.
std::string ListField(std::string_view s) {
  std::string sOut(s);
  for (char& c : sOut) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  return sOut;
}

// A root as the library gets it: absolute, so that the records' directories
// stay right after the command has moved into the repository directory.
std::string AbsoluteRoot(std::string_view sRoot) {
  const bool bAbsolute = (!sRoot.empty() && (sRoot[0] == '/' || sRoot[0] == '\\')) ||
                         (sRoot.size() >= 2 && sRoot[1] == ':');
  if (bAbsolute) return std::string(sRoot);
  std::error_code ec;
  return std::filesystem::absolute(std::string(sRoot), ec).lexically_normal().string();
}

// What the scan hands each file to, and what it counts.
struct ScanState {
  std::unique_ptr<Progress> pProgress;
  bool bReportNoClass = false;
  bool bList = false;
  bool bJson = false;
  int nFailures = 0;
};

// Says a file that could not be parsed, or holds no class when asked to;
// prints its --list or --json line.
void TakeFile(ScanState& st, const QvStreamedFile& file) {
  Progress& progress = *st.pProgress;
  const auto Path = [&file] { return NativePath(std::string(file.directory) + "\\" + file.fileName); };
  if (file.state == QV_SOURCE_UNREADABLE || file.state == QV_SOURCE_BINARY) {
    ++st.nFailures;
    progress.Clear();
    std::fprintf(stderr, "quorvane scan: %s: %s\n", Path().c_str(),
                 file.state == QV_SOURCE_BINARY
                     ? "binary file, not parsed"
                     : ("cannot read: " + std::generic_category().message(file.errorCode)).c_str());
  } else if (file.kind == QV_JAVA_NONE && st.bReportNoClass) {
    progress.Clear();
    std::fprintf(stderr, "quorvane scan: %s: %s\n", Path().c_str(),
                 file.state == QV_SOURCE_EMPTY ? "empty file, no class" : "no class or interface found");
  }
  if (st.bJson) {
    progress.Clear();
    PrintJsonLine({{"file", JsonText(Path())},
                   {"fileName", JsonText(file.fileName)},
                   {"directory", JsonText(NativePath(file.directory))},
                   {"className", JsonText(file.className)},
                   {"kind", JsonKind(file.kind)},
                   {"superClass", JsonText(file.superClass)},
                   {"package", JsonText(file.package)}});
  } else if (st.bList) {
    progress.Clear();
    WriteOut(ListField(file.fileName) + "\t" + ListField(NativePath(file.directory)) + "\t" +
             ListField(file.className) + "\t" + ListField(file.superClass) + "\t" + ListField(file.package) + "\n");
  }
  progress.Update(file.index + 1);
}

// Says each problem of the save on stderr; a class list that could not be
// written ends the report, since the method files are then of no use.
struct SaveProblems {
  bool bClassListWritten = true;
  static void Say(void* p, QvSaveProblemKind eKind, const char* sPath, const char* sClassName, const char* sWhy) {
    bool& bWritten = static_cast<SaveProblems*>(p)->bClassListWritten;
    if (eKind == QV_SAVE_REFUSED) {
      std::fprintf(stderr, "quorvane scan: %s: class %s not saved: %s\n", NativePath(sPath).c_str(), sClassName, sWhy);
    } else if (eKind == QV_SAVE_CLASS_LIST) {
      // sWhy names the file that failed, as this system names it.
      std::fprintf(stderr, "quorvane scan: %s\n", sWhy);
      bWritten = false;
    } else if (bWritten) {
      std::fprintf(stderr, "quorvane scan: %s: method file not written: %s\n", NativePath(sPath).c_str(), sWhy);
    }
  }
};

// The tags file of the records the scan found (--tags); its exit status.
int WriteScannedTags(const std::string& sOutput, const std::string& sFormat) {
  const std::string sPath = TagsPathForLibrary(sOutput);
  TagProblems problems{"scan"};
  quorvane::String text;
  quorvane::String error;
  const int64_t nResult = QvWriteRecordTagsAs(TagsFormatOf(sFormat), sPath.c_str(),
                                              sPath.empty() ? text.Receive() : nullptr, &TagProblems::Say, &problems,
                                              error.Receive());
  return FinishTags("scan", sOutput, nResult, error.Str(), text.Str(), problems.bFailed);
}

// The roots of the arguments: each may hold several, separated by ";".
std::vector<std::string> Roots(const std::vector<std::string>& aArgs, bool bAbsolute) {
  std::vector<std::string> aRoots;
  for (const std::string& sArg : aArgs) {
    size_t nBegin = 0;
    while (nBegin < sArg.size()) {
      const size_t nEnd = std::min(sArg.find(';', nBegin), sArg.size());
      const std::string_view sRoot = std::string_view(sArg).substr(nBegin, nEnd - nBegin);
      aRoots.push_back(bAbsolute ? AbsoluteRoot(sRoot) : std::string(sRoot));
      nBegin = nEnd + 1;
    }
  }
  return aRoots;
}

// The folder of the repository directory that holds the method files of a
// save, so that nothing is written into the scanned tree.
constexpr const char* kMethodFolder = "methods";

struct ListingErrors {
  std::set<std::string> aUnlistable;
  int nFailures = 0;
};

int RunScan(ScanArgs& args) {
  const std::vector<std::string> aRoots = Roots(args.aRoots, args.bSave);
  if (aRoots.empty()) return UsageError("scan", "no ROOT given");

  const auto start = std::chrono::steady_clock::now();
  RepositoryOptions& options = args.options;
  Session session(ResolveProfileDir(options.sProfileDir));
  if (args.bSave) {
    // The classes go into the repository as they are cut: it is entered
    // (made, when new) and locked first, once every root is known to be
    // there, so that a mistyped root leaves no trace.
    int nMissing = 0;
    for (const std::string& sRoot : aRoots) {
      std::error_code ec;
      if (std::filesystem::is_directory(NativePath(sRoot), ec)) continue;
      std::fprintf(stderr, "quorvane scan: %s: no such directory\n", sRoot.c_str());
      ++nMissing;
    }
    if (nMissing > 0) {
      std::fprintf(stderr, "quorvane scan: nothing saved: a root is no directory; the repository is as it was\n");
      return kExitFailed;
    }
    if (!ApplyProfile("scan", options)) return kExitFailed;
    if (!SeparatorsSafeForWriting("scan", options)) return kExitUsage;
    if (!EnterRepository("scan", options, session, true)) return kExitFailed;
    if (!LockRepository("scan", args.bNoWait)) return kExitFailed;
    const std::string sMethods = (std::filesystem::path(session.RepositoryDir()) / kMethodFolder).string();
    QvSetMethodFileDirectory(args.bBesideSources ? "" : sMethods.c_str());
  }
  ListingErrors listing;
  QvSetListingErrorHandler(
      [](void* p, const char* sDir, int32_t nErrno) {
        auto& errors = *static_cast<ListingErrors*>(p);
        if (errors.aUnlistable.insert(sDir).second) {
          std::fprintf(stderr, "quorvane scan: %s: cannot list: %s\n", sDir,
                       std::generic_category().message(nErrno).c_str());
          ++errors.nFailures;
        }
      },
      &listing);
  ScanState state;
  state.bReportNoClass = args.verbosity.bVerbose || args.bStrict;
  state.bList = args.bList;
  state.bJson = args.bJson;
  QvStreamListener listener{};
  listener.pUserData = &state;
  listener.missingRoot = [](void* p, const char* sRoot) {
    std::fprintf(stderr, "quorvane scan: %s: no such directory\n", sRoot);
    ++static_cast<ScanState*>(p)->nFailures;
  };
  listener.found = [](void* p, int64_t nFiles) {
    static_cast<ScanState*>(p)->pProgress = std::make_unique<Progress>("scanning", nFiles);
  };
  listener.file = [](void* p, const QvStreamedFile* pFile) { TakeFile(*static_cast<ScanState*>(p), *pFile); };
  QvStreamOptions streamOptions{};
  streamOptions.save = args.bSave ? 1 : 0;
  streamOptions.readAll = args.bFull ? 1 : 0;
  streamOptions.names = args.bList || args.bJson ? 1 : 0;
  streamOptions.tags = args.sTags.empty() ? 0 : 1;
  std::vector<const char*> apRoots;
  apRoots.reserve(aRoots.size());
  for (const std::string& sRoot : aRoots) apRoots.push_back(sRoot.c_str());
  QvScanSummary summary{};
  QvSaveSummary saved{};
  SaveProblems problems;
  int64_t nKept = 0;
  const bool bOk = QvStreamSources(apRoots.data(), apRoots.size(), &streamOptions, &listener, &summary,
                                   &SaveProblems::Say, &problems, &saved, &nKept) != 0;
  if (state.pProgress) state.pProgress->Finish();
  QvSetListingErrorHandler(nullptr, nullptr);
  int nFailures = state.nFailures + listing.nFailures;
  if (args.bStrict) nFailures += static_cast<int>(summary.kinds[QV_JAVA_NONE]);

  const double nSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // With --json stdout holds the records only; the summaries are for people.
  FILE* pSummary = args.bJson ? stderr : stdout;
  if (!args.verbosity.bQuiet) {
    std::fprintf(pSummary, "files: %lld\n", static_cast<long long>(summary.files));
    for (int k = QV_JAVA_CLASS; k < QV_JAVA_KIND_COUNT; ++k) {
      std::fprintf(pSummary, "%s: %lld\n", QvJavaKindCounted(static_cast<QvJavaKind>(k)),
                   static_cast<long long>(summary.kinds[k]));
    }
    std::fprintf(pSummary, "packages: %lld\nno class: %lld\nfailed: %d\ntime: %.3f s\n",
                 static_cast<long long>(summary.packages), static_cast<long long>(summary.kinds[QV_JAVA_NONE]),
                 nFailures, nSeconds);
  }
  if (!args.sTags.empty() && WriteScannedTags(args.sTags, args.sTagsFormat) != kExitDone) ++nFailures;
  if (args.bSave) {
    if (!bOk) ++nFailures;
    if (problems.bClassListWritten && !args.verbosity.bQuiet) {
      std::fprintf(pSummary,
                   "saved: %s with %lld classes in %s\nmethod files unchanged: %lld\nsources unchanged since the "
                   "last save, not read: %lld\n",
                   QvClassListFileName(), static_cast<long long>(saved.saved), session.RepositoryDir().c_str(),
                   static_cast<long long>(saved.unchanged), static_cast<long long>(nKept));
    }
  }
  return nFailures > 0 ? kExitFailed : kExitDone;
}

}  // namespace

Runner AddScanCommand(CLI::App& app) {
  auto args = std::make_shared<ScanArgs>();
  CLI::App* sub = app.add_subcommand("scan", "Cut every Java source below the roots into a class record");
  std::string sCounts;
  for (int k = QV_JAVA_CLASS; k < QV_JAVA_KIND_COUNT; ++k) {
    sCounts.append(QvJavaKindCounted(static_cast<QvJavaKind>(k))).append(", ");
  }
  const std::string sAbout(
      "Find the Java sources (*.java) below each ROOT, cut every file into a class record in the scan's order (by "
      "file name, then directory), and print a summary: files, " +
      sCounts +
      "packages, files without a class, failures, time.\n"
      "Unreadable and binary files and directories that cannot be listed are reported on stderr, the scan goes "
      "on, and the status is 1.  A file that holds no class (package-info.java, module-info.java, an empty file) "
      "is a normal part of a Java tree: it is counted in the summary (\"no class\"), named on stderr with "
      "--verbose, and fails the scan only with --strict.  Symbolic links to directories are not followed.");
  sub->add_option("ROOT", args->aRoots,
                  "A directory to search; several may also be given as one argument separated "
                  "by \";\"")
      ->required();
  sub->add_flag("--list", args->bList,
                "First print one line per file: file, directory, class, superclass, package, separated by tabs");
  sub->add_flag("--json", args->bJson,
                "Print the --list records as JSON, one object per line and file with the fields file (the path), "
                "fileName, directory, className, kind (class, interface, enum, record or annotation), superClass and "
                "package; the summary then goes to stderr");
  sub->add_flag("--save", args->bSave,
                "Also write the repository: the class list file jbclass.txt in the repository directory and one "
                "method file per class holding its whole body, NAME.med in the repository directory's folder "
                "methods, below folders that repeat the source's directory (/src/p/A.java: methods/src/p/A.med); "
                "nothing is written below the ROOTs unless the repository directory is");
  sub->add_flag("--beside-sources", args->bBesideSources,
                "With --save, write each method file beside its class's source instead, as NAME.med in the "
                "source's directory (the layout of repositories saved before the methods folder)")
      ->needs("--save");
  sub->add_option("--tags", args->sTags,
                  "Also write the tags file of the classes found to FILE (- for stdout), as 'quorvane tags' "
                  "writes it")
      ->type_name("FILE");
  AddTagsFormat(*sub, args->sTagsFormat,
                "The format of the --tags file: ctags (default; Vim and most editors) or etags (the TAGS file of "
                "Emacs)")
      ->needs("--tags");
  sub->add_flag("--full", args->bFull,
                "With --save, read every source again; without it a source whose size, modification time, inode "
                "and device are those the last save recorded (in jbclass.state beside the class list) is not "
                "read, and its class stays as saved");
  sub->add_flag("--strict", args->bStrict, "A file that holds no class fails the scan (status 1)");
  sub->add_flag("--no-wait", args->bNoWait,
                "With --save, when another command is writing the repository, fail at once (status 1) instead of "
                "waiting");
  AddVerbosity(*sub, args->verbosity, "Print no summary (errors only)",
               "Also name every file that holds no class, on stderr");
  AddRepositoryOptions(*sub, args->options);
  sub->footer(HelpFooter(sAbout, std::string(kRepositoryHelp) + "\n" + kLockHelp));
  return [args] { return RunScan(*args); };
}

}  // namespace quorvane::cli
