// quorvane scan: the Java sources below a set of roots, cut into class
// records by the library's repository session, in this process; with
// --save also written as the repository.
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
#include "cli/progress.h"
#include "cli/repository.h"
#include "cli/session.h"
#include "cli/tags_output.h"
#include "core/rt_string.h"
#include "repository/repository_session.h"

namespace qv::cli {
namespace {

struct ScanArgs {
  std::vector<std::string> aRoots;
  RepositoryOptions options;
  Verbosity verbosity;
  bool bList = false;
  bool bSave = false;
  bool bJson = false;
  bool bStrict = false;
  bool bNoWait = false;
  std::string sTags;  // --tags FILE; empty: none
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

// The scan proper, through the library: files that cannot be parsed are
// said on stderr; files that hold no class only with bReportNoClass.  The
// library's message boxes are said with the file they came from.  Returns
// the failures said.
int ScanFiles(Session& session, const std::vector<std::string>& aRoots, bool bReportNoClass, ScanReport& report) {
  int nFailures = 0;
  FileBoxes boxes(session, "scan");
  std::unique_ptr<Progress> pProgress;
  ScanListener listener;
  listener.fnMissingRoot = [&](const std::string& sRoot) {
    std::fprintf(stderr, "quorvane scan: %s: no such directory\n", sRoot.c_str());
    ++nFailures;
  };
  listener.fnFound = [&](int64_t nFiles) { pProgress = std::make_unique<Progress>("scanning", nFiles); };
  RepositorySession repository(session.M());
  listener.fnFile = [&](const ScannedFile& file) {
    Progress& progress = *pProgress;
    // The path is only made for a file that is reported.
    const auto Path = [&] { return NativePath(repository.SourcePath(file.nIndex)); };
    if (boxes.Held()) {
      progress.Clear();
      boxes.Say(Path());
    }
    if (file.eState == SourceState::kUnreadable || file.eState == SourceState::kBinary) {
      ++nFailures;
      progress.Clear();
      std::fprintf(stderr, "quorvane scan: %s: %s\n", Path().c_str(),
                   file.eState == SourceState::kBinary
                       ? "binary file, not parsed"
                       : ("cannot read: " + std::generic_category().message(file.nErrno)).c_str());
    } else if (file.eKind == JavaKind::kNone && bReportNoClass) {
      progress.Clear();
      std::fprintf(stderr, "quorvane scan: %s: %s\n", Path().c_str(),
                   file.eState == SourceState::kEmpty ? "empty file, no class" : "no class or interface found");
    }
    progress.Update(file.nIndex + 1);
  };
  report = repository.Scan(aRoots, listener);
  if (pProgress) pProgress->Finish();
  return nFailures;
}

void PrintList(RepositorySession& repository, const ScanReport& report, bool bJson) {
  for (const ScannedFile& file : report.aFiles) {
    const ClassNames names = repository.Names(file.nIndex);
    const std::string sDirectory = NativePath(names.sDirectory);
    if (bJson) {
      PrintJsonLine({{"file", JsonText(NativePath(names.sDirectory + "\\" + names.sFileName))},
                     {"fileName", JsonText(names.sFileName)},
                     {"directory", JsonText(sDirectory)},
                     {"className", JsonText(names.sClassName)},
                     {"kind", JsonKind(file.eKind)},
                     {"superClass", JsonText(names.sSuperClass)},
                     {"package", JsonText(names.sPackage)}});
    } else {
      std::printf("%s\t%s\t%s\t%s\t%s\n", ListField(names.sFileName).c_str(), ListField(sDirectory).c_str(),
                  ListField(names.sClassName).c_str(), ListField(names.sSuperClass).c_str(),
                  ListField(names.sPackage).c_str());
    }
  }
}

// The tags file of the records the scan found (--tags); its exit status.
// The scan still runs on this process's Module, so its records are there;
// once it runs in the linked library, this is QvWriteRecordTags, as
// 'quorvane tags' calls QvWriteRepositoryTags.
int WriteScannedTags(Module& m, const std::string& sOutput) {
  bool bFailed = false;
  std::string sText;
  TagsTarget target{TagsPathForLibrary(sOutput), &sText};
  const TagsOutcome outcome = RepositorySession(m).RecordTags(target, [&](const TagProblem& problem) {
    SayTagProblem("scan", problem.sPath, problem.sWhy);
    bFailed = bFailed || problem.bFailure;
  });
  const int64_t nResult = outcome.eFailure == TagsOutcome::Failure::kNone ? outcome.nTags : -1;
  return FinishTags("scan", sOutput, nResult, outcome.sError, sText, bFailed);
}

int RunScan(ScanArgs& args) {
  std::vector<std::string> aRoots;
  for (const std::string& sArg : args.aRoots) {
    DynArray<String> aPieces;
    const int64_t nPieces = RtStrTokenize(sArg, "", ";", aPieces);
    for (int64_t k = 0; k < nPieces; ++k) {
      aRoots.push_back(args.bSave ? AbsoluteRoot(aPieces.Get(k)) : std::string(aPieces.Get(k)));
    }
  }
  if (aRoots.empty()) return UsageError("scan", "no ROOT given");

  const auto start = std::chrono::steady_clock::now();
  RepositoryOptions& options = args.options;
  Session session(ResolveProfileDir(options.sProfileDir));
  Module& m = session.M();
  if (args.bSave) {
    ApplyProfile(m, options);
    if (!SeparatorsSafeForWriting("scan", options)) return 2;
  }
  int nFailures = 0;
  std::set<std::string> aUnlistable;
  session.Host().Files().SetListingErrorHandler([&](const std::string& sDir, int nErrno) {
    if (aUnlistable.insert(sDir).second) {
      std::fprintf(stderr, "quorvane scan: %s: cannot list: %s\n", sDir.c_str(),
                   std::generic_category().message(nErrno).c_str());
      ++nFailures;
    }
  });
  ScanReport report;
  // The listing handler counts during the scan; the scan's own count after.
  const int nScanFailures = ScanFiles(session, aRoots, args.verbosity.bVerbose || args.bStrict, report);
  nFailures += nScanFailures;
  if (args.bStrict) nFailures += static_cast<int>(report.nNoClass);

  if (args.bList || args.bJson) {
    RepositorySession repository(session.M());
    PrintList(repository, report, args.bJson);
  }
  const double nSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!args.verbosity.bQuiet) {
    // With --json stdout holds the records only; the summary is for people.
    std::fprintf(args.bJson ? stderr : stdout,
                 "files: %zu\nclasses: %lld\ninterfaces: %lld\nenums: %lld\nrecords: %lld\nannotation types: %lld\n"
                 "packages: %lld\nno class: %lld\nfailed: %d\ntime: %.3f s\n",
                 report.aFiles.size(), static_cast<long long>(report.nClasses),
                 static_cast<long long>(report.nInterfaces), static_cast<long long>(report.nEnums),
                 static_cast<long long>(report.nRecords), static_cast<long long>(report.nAnnotations),
                 static_cast<long long>(report.nPackages), static_cast<long long>(report.nNoClass), nFailures,
                 nSeconds);
  }
  if (!args.sTags.empty() && WriteScannedTags(m, args.sTags) != 0) ++nFailures;
  if (args.bSave) {
    if (!EnterRepository("scan", options, session, true)) return 1;
    RepositoryLock lock;
    if (!lock.Acquire("scan", session.Host().Files().WorkingDirectory(), args.bNoWait)) return 1;
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
      "types, packages, files without a class, failures, time.  A message of the library's about a file is said "
      "on stderr after the file's path, also with -q.\n"
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
                "method file per class holding its whole body, written beside the class's source as NAME.med");
  sub->add_option("--tags", args->sTags,
                  "Also write the tags file of the classes found to FILE (- for stdout), as 'quorvane tags' "
                  "writes it")
      ->type_name("FILE");
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

}  // namespace qv::cli
