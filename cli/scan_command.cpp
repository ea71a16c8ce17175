// quorvane scan: the Java sources below a set of roots, cut into class
// records through the library, in this process; with --save also written
// as the repository.
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
#include "cli/tags_file.h"
#include "frame/rt_string.h"
#include "host/posix_files.h"
#include "repository/directories.h"
#include "repository/java_records.h"
#include "repository/source_batch.h"
#include "source/java_parser.h"

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

// What the scan found: the records are in JavaClass, one per file.
struct ScanResult {
  int64_t nFiles = 0;
  int64_t nClasses = 0;
  int64_t nInterfaces = 0;
  int64_t nEnums = 0;
  int64_t nRecords = 0;
  int64_t nAnnotations = 0;
  int64_t nNoClass = 0;  // files that hold no class or interface
  int nFailures = 0;     // files that could not be read or parsed
  std::set<std::string> aPackages;
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

// The scan proper: every file the search found, in its order, through
// SetJavaFile and ParseSourceFile of the library, its record left in
// JavaClass.  Files that cannot be parsed are said on stderr; files that
// hold no class only with bReportNoClass.  The library's message boxes are
// said with the file they came from.
void ScanFiles(Session& session, bool bReportNoClass, ScanResult& result) {
  Module& m = session.M();
  FileBoxes boxes(session, "scan");
  VC_Directories& dirs = DirectoriesInstance(m);
  const int64_t nFiles = result.nFiles;
  JavaFileInstance(m).ClearJavaFiles(m);
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  Progress progress("scanning", nFiles);
  std::vector<JavaSourceName> aSources(static_cast<size_t>(nFiles));
  for (int64_t i = 0; i < nFiles; ++i) {
    aSources[static_cast<size_t>(i)] = {dirs.GetJavaFile(m, Number(i)), dirs.GetDirectory(m, Number(i))};
  }
  // Files are read and parsed by two worker threads; records, their order
  // and the library's messages are those of SetJavaFile then
  // ParseSourceFile, file after file.
  ReadJavaSources(m, aSources, 2, [&](int64_t i, SourceState eState, int nErrno) {
    const JavaSourceName& source = aSources[static_cast<size_t>(i)];
    const std::string sPath = NativePath(source.sDirectory + "\\" + source.sFileName);
    const VC_JavaClass& record = aClasses.Get(i);
    if (boxes.Held()) {
      progress.Clear();
      boxes.Say(sPath);
    }
    if (eState == SourceState::kUnreadable || eState == SourceState::kBinary) {
      ++result.nFailures;
      progress.Clear();
      std::fprintf(stderr, "quorvane scan: %s: %s\n", sPath.c_str(),
                   eState == SourceState::kBinary
                       ? "binary file, not parsed"
                       : ("cannot read: " + std::generic_category().message(nErrno)).c_str());
    } else if (eState == SourceState::kEmpty || record.sClassName.empty()) {
      ++result.nNoClass;
      if (bReportNoClass) {
        progress.Clear();
        std::fprintf(stderr, "quorvane scan: %s: %s\n", sPath.c_str(),
                     eState == SourceState::kEmpty ? "empty file, no class" : "no class or interface found");
      }
    } else {
      switch (DeclarationKind(record.aMethods.Get(1).sBody)) {
        case JavaKind::kInterface:
          ++result.nInterfaces;
          break;
        case JavaKind::kEnum:
          ++result.nEnums;
          break;
        case JavaKind::kRecord:
          ++result.nRecords;
          break;
        case JavaKind::kAnnotation:
          ++result.nAnnotations;
          break;
        default:
          ++result.nClasses;
          break;
      }
    }
    if (eState == SourceState::kParsed && !record.sPackage.empty()) result.aPackages.insert(record.sPackage);
    progress.Update(i + 1);
  });
  progress.Finish();
}

void PrintList(Module& m, int64_t nFiles, bool bJson) {
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  for (int64_t i = 0; i < nFiles; ++i) {
    const VC_JavaClass& r = aClasses.Get(i);
    const std::string sDirectory = NativePath(r.sDirectory);
    if (bJson) {
      PrintJsonLine({{"file", JsonText(SourcePath(r))},
                     {"fileName", JsonText(r.sFileName)},
                     {"directory", JsonText(sDirectory)},
                     {"className", JsonText(r.sClassName)},
                     {"kind", JsonKind(r.aMethods.Get(1).sBody)},
                     {"superClass", JsonText(r.sSuperClass)},
                     {"package", JsonText(r.sPackage)}});
    } else {
      std::printf("%s\t%s\t%s\t%s\t%s\n", ListField(r.sFileName).c_str(), ListField(sDirectory).c_str(),
                  ListField(r.sClassName).c_str(), ListField(r.sSuperClass).c_str(), ListField(r.sPackage).c_str());
    }
  }
}

// The tags file of the records the scan found (--tags); its exit status.
int WriteScannedTags(Module& m, int64_t nFiles, const std::string& sOutput) {
  const DynArray<VC_JavaClass>& aRecords = JavaClassArray(m);
  std::vector<TagClass> aClasses;
  for (int64_t i = 0; i < nFiles; ++i) {
    const VC_JavaClass& r = aRecords.Get(i);
    if (r.sClassName.empty()) continue;
    aClasses.push_back(
        {r.sClassName, SourcePath(r), r.sSuperClass, std::string(DeclarationText(r.aMethods.Get(1).sBody)), {}});
  }
  return WriteTagsFile("scan", m, aClasses, sOutput);
}

int RunScan(ScanArgs& args) {
  std::string sRoots;
  for (const std::string& sArg : args.aRoots) {
    DynArray<String> aPieces;
    const int64_t nPieces = RtStrTokenize(sArg, "", ";", aPieces);
    for (int64_t k = 0; k < nPieces; ++k) {
      if (!sRoots.empty()) sRoots += ';';
      sRoots += args.bSave ? AbsoluteRoot(aPieces.Get(k)) : std::string(aPieces.Get(k));
    }
  }
  if (sRoots.empty()) return UsageError("scan", "no ROOT given");

  const auto start = std::chrono::steady_clock::now();
  RepositoryOptions& options = args.options;
  Session session(ResolveProfileDir(options.sProfileDir));
  Module& m = session.M();
  if (args.bSave) {
    ApplyProfile(m, options);
    if (!SeparatorsSafeForWriting("scan", options)) return 2;
  }
  ScanResult result;
  std::set<std::string> aUnlistable;
  session.Host().Files().SetListingErrorHandler([&](const std::string& sDir, int nErrno) {
    if (aUnlistable.insert(sDir).second) {
      std::fprintf(stderr, "quorvane scan: %s: cannot list: %s\n", sDir.c_str(),
                   std::generic_category().message(nErrno).c_str());
      ++result.nFailures;
    }
  });

  // The roots that do not exist are skipped by the search: say so.
  DynArray<String> aRoots;
  const int64_t nRoots = RtStrTokenize(sRoots, "", ";", aRoots);
  for (int64_t i = 0; i < nRoots; ++i) {
    if (!session.Host().Files().DirExists(aRoots.Get(i))) {
      std::fprintf(stderr, "quorvane scan: %s: no such directory\n", aRoots.Get(i).c_str());
      ++result.nFailures;
    }
  }
  VC_Directories& dirs = DirectoriesInstance(m);
  dirs.InitDirectories(m);
  dirs.SetRootDirectories(m, sRoots);
  result.nFiles = dirs.GetJavaFileCount(m).AsInt64();
  ScanFiles(session, args.verbosity.bVerbose || args.bStrict, result);
  if (args.bStrict) result.nFailures += static_cast<int>(result.nNoClass);

  if (args.bList || args.bJson) PrintList(m, result.nFiles, args.bJson);
  const double nSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!args.verbosity.bQuiet) {
    // With --json stdout holds the records only; the summary is for people.
    std::fprintf(args.bJson ? stderr : stdout,
                 "files: %lld\nclasses: %lld\ninterfaces: %lld\nenums: %lld\nrecords: %lld\nannotation types: %lld\n"
                 "packages: %zu\nno class: %lld\nfailed: %d\ntime: %.3f s\n",
                 static_cast<long long>(result.nFiles), static_cast<long long>(result.nClasses),
                 static_cast<long long>(result.nInterfaces), static_cast<long long>(result.nEnums),
                 static_cast<long long>(result.nRecords), static_cast<long long>(result.nAnnotations),
                 result.aPackages.size(), static_cast<long long>(result.nNoClass), result.nFailures, nSeconds);
  }
  if (!args.sTags.empty() && WriteScannedTags(m, result.nFiles, args.sTags) != 0) ++result.nFailures;
  if (args.bSave) {
    if (!EnterRepository("scan", options, session, true)) return 1;
    RepositoryLock lock;
    if (!lock.Acquire("scan", session.Host().Files().WorkingDirectory(), args.bNoWait)) return 1;
    if (SaveScannedRepository(session, args.verbosity.bQuiet, args.bJson) != 0) ++result.nFailures;
  }
  return result.nFailures > 0 ? 1 : 0;
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
