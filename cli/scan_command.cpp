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

// What a scan found: each file's position, state and kind, and the counts.
struct ScanResult {
  std::vector<QvScannedFile> aFiles;
  QvScanSummary summary{};
  bool bComplete = false;  // every root searched, every directory listed, every source read
};

// The scan proper, through the library: files that cannot be parsed are
// said on stderr; files that hold no class only with bReportNoClass.
// Returns the failures said.
int ScanFiles(const std::vector<std::string>& aRoots, bool bReportNoClass, ScanResult& result) {
  struct State {
    std::unique_ptr<Progress> pProgress;
    ScanResult* pResult = nullptr;
    bool bReportNoClass = false;
    int nFailures = 0;
  } state;
  state.pResult = &result;
  state.bReportNoClass = bReportNoClass;
  QvScanListener listener{};
  listener.pUserData = &state;
  listener.missingRoot = [](void* p, const char* sRoot) {
    std::fprintf(stderr, "quorvane scan: %s: no such directory\n", sRoot);
    ++static_cast<State*>(p)->nFailures;
  };
  listener.found = [](void* p, int64_t nFiles) {
    auto& st = *static_cast<State*>(p);
    st.pProgress = std::make_unique<Progress>("scanning", nFiles);
    st.pResult->aFiles.reserve(static_cast<size_t>(nFiles));
  };
  listener.file = [](void* p, const QvScannedFile* pFile) {
    auto& st = *static_cast<State*>(p);
    const QvScannedFile& file = *pFile;
    st.pResult->aFiles.push_back(file);
    Progress& progress = *st.pProgress;
    // The path is only made for a file that is reported.
    const auto Path = [&file] { return NativePath(quorvane::TakeText(QvClassText(file.index, QV_CLASS_SOURCE_PATH))); };
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
    progress.Update(file.index + 1);
  };
  std::vector<const char*> apRoots;
  apRoots.reserve(aRoots.size());
  for (const std::string& sRoot : aRoots) apRoots.push_back(sRoot.c_str());
  result.bComplete = QvScan(apRoots.data(), apRoots.size(), &listener, &result.summary) != 0;
  if (state.pProgress) state.pProgress->Finish();
  return state.nFailures;
}

void PrintList(const ScanResult& result, bool bJson) {
  using quorvane::TakeText;
  for (const QvScannedFile& file : result.aFiles) {
    const std::string sFileName = TakeText(QvClassText(file.index, QV_CLASS_FILE_NAME));
    const std::string sDirectory = NativePath(TakeText(QvClassText(file.index, QV_CLASS_DIRECTORY)));
    const std::string sClassName = TakeText(QvClassText(file.index, QV_CLASS_NAME));
    const std::string sSuperClass = TakeText(QvClassText(file.index, QV_CLASS_SUPERCLASS));
    const std::string sPackage = TakeText(QvClassText(file.index, QV_CLASS_PACKAGE));
    if (bJson) {
      PrintJsonLine({{"file", JsonText(NativePath(TakeText(QvClassText(file.index, QV_CLASS_SOURCE_PATH))))},
                     {"fileName", JsonText(sFileName)},
                     {"directory", JsonText(sDirectory)},
                     {"className", JsonText(sClassName)},
                     {"kind", JsonKind(file.kind)},
                     {"superClass", JsonText(sSuperClass)},
                     {"package", JsonText(sPackage)}});
    } else {
      WriteOut(ListField(sFileName) + "\t" + ListField(sDirectory) + "\t" + ListField(sClassName) + "\t" +
               ListField(sSuperClass) + "\t" + ListField(sPackage) + "\n");
    }
  }
}

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
    if (!ApplyProfile("scan", options)) return 1;
    if (!SeparatorsSafeForWriting("scan", options)) return 2;
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
  ScanResult result;
  int nFailures = ScanFiles(aRoots, args.verbosity.bVerbose || args.bStrict, result);
  QvSetListingErrorHandler(nullptr, nullptr);
  nFailures += listing.nFailures;
  const QvScanSummary& summary = result.summary;
  if (args.bStrict) nFailures += static_cast<int>(summary.noClass);

  if (args.bList || args.bJson) PrintList(result, args.bJson);
  const double nSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!args.verbosity.bQuiet) {
    // With --json stdout holds the records only; the summary is for people.
    std::fprintf(args.bJson ? stderr : stdout,
                 "files: %lld\nclasses: %lld\ninterfaces: %lld\nenums: %lld\nrecords: %lld\nannotation types: %lld\n"
                 "packages: %lld\nno class: %lld\nfailed: %d\ntime: %.3f s\n",
                 static_cast<long long>(summary.files), static_cast<long long>(summary.classes),
                 static_cast<long long>(summary.interfaces), static_cast<long long>(summary.enums),
                 static_cast<long long>(summary.records), static_cast<long long>(summary.annotations),
                 static_cast<long long>(summary.packages), static_cast<long long>(summary.noClass), nFailures,
                 nSeconds);
  }
  if (!args.sTags.empty() && WriteScannedTags(args.sTags, args.sTagsFormat) != 0) ++nFailures;
  if (args.bSave && !result.bComplete) {
    // The records lack the classes of what could not be read: saving them
    // would drop those classes from the repository.
    std::fprintf(stderr,
                 "quorvane scan: nothing saved: the scan did not read everything; the repository is as it was\n");
    return 1;
  }
  if (args.bSave) {
    if (!EnterRepository("scan", options, session, true)) return 1;
    if (!LockRepository("scan", args.bNoWait)) return 1;
    const std::string sMethods = (std::filesystem::path(session.RepositoryDir()) / kMethodFolder).string();
    QvSetMethodFileDirectory(args.bBesideSources ? "" : sMethods.c_str());
    if (SaveScannedRepository(session, args.verbosity.bQuiet, args.bJson) != 0) ++nFailures;
  }
  return nFailures > 0 ? 1 : 0;
}

}  // namespace

Runner AddScanCommand(CLI::App& app) {
  auto args = std::make_shared<ScanArgs>();
  CLI::App* sub = app.add_subcommand("scan", "Cut every Java source below the roots into a class record");
  const std::string sAbout(
      "Find the Java sources (*.java) below each ROOT, cut every file into a class record in the scan's order (by "
      "file name, then directory), and print a summary: files, classes, interfaces, enums, records, annotation "
      "types, packages, files without a class, failures, time.\n"
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
