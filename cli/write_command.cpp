// quorvane write: classes of the repository back as Java source.
#include <filesystem>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/progress.h"
#include "cli/repository.h"
#include "repository/java_repository.h"

namespace qv::cli {
namespace {

namespace fs = std::filesystem;

struct WriteArgs {
  RepositoryOptions options;
  Verbosity verbosity;
  std::string sClass;
  std::string sTo;
  bool bAll = false;
  bool bNoWait = false;
};

// Writes JavaClass[nAt] to its source file, or below sTo when it is not
// empty; bMirror puts it in the package's directories below sTo.  FALSE
// after printing why.
bool WriteOne(Module& m, int64_t nAt, const std::string& sTo, bool bMirror, std::string& sPath) {
  VC_JavaClass& r = JavaClassArray(m).At(nAt);
  if (!sTo.empty()) {
    fs::path dir = sTo;
    if (bMirror && !r.sPackage.empty()) {
      std::string sPackagePath = r.sPackage;
      for (char& c : sPackagePath) {
        if (c == '.') c = '/';
      }
      dir /= sPackagePath;
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    r.sDirectory = dir.string();
  }
  sPath = SourcePath(r);
  if (!r.WriteSourceFile(m)) {
    std::fprintf(stderr, "quorvane write: %s: not written: %s\n", sPath.c_str(), RepositoryVars(m).sWriteError.c_str());
    return false;
  }
  return true;
}

int RunWrite(WriteArgs& args) {
  if (args.bAll && !args.sClass.empty()) return UsageError("write", "give CLASS or --all, not both");
  if (!args.bAll && args.sClass.empty()) return UsageError("write", "CLASS or --all is required");
  if (args.bAll && args.sTo.empty()) return UsageError("write", "--all needs --to DIR");
  std::error_code ec;
  const std::string sTo = args.sTo.empty() ? std::string() : fs::absolute(args.sTo, ec).string();
  Session session(ResolveProfileDir(args.options.sProfileDir));
  Module& m = session.M();
  RepositoryLock lock;
  if (const int n = OpenRepository("write", args.options, session, &lock, args.bNoWait); n >= 0) return n;
  std::string sPath;
  if (!args.bAll) {
    const int64_t nAt = Resolve("write", m, args.sClass);
    if (nAt < 0 || !ReadMethods("write", m, nAt) || !WriteOne(m, nAt, sTo, false, sPath)) return 1;
    if (!args.verbosity.bQuiet) std::printf("wrote %s\n", sPath.c_str());
    return 0;
  }
  // Every class, from the one load above.
  const int64_t nClasses = RepositoryVars(m).cv_nClassCount.AsInt64();
  int64_t nWritten = 0;
  int64_t nFailed = 0;
  Progress progress("writing", nClasses);
  for (int64_t i = 0; i < nClasses; ++i) {
    progress.Update(i);
    if (!ReadMethods("write", m, i) || !WriteOne(m, i, sTo, true, sPath)) {
      progress.Clear();
      ++nFailed;
      continue;
    }
    ++nWritten;
    if (args.verbosity.bVerbose) {
      progress.Clear();
      std::printf("wrote %s\n", sPath.c_str());
    }
  }
  progress.Finish();
  if (!args.verbosity.bQuiet) {
    std::printf("wrote %lld of %lld classes below %s\n", static_cast<long long>(nWritten),
                static_cast<long long>(nClasses), sTo.c_str());
  }
  return nFailed > 0 ? 1 : 0;
}

}  // namespace

Runner AddWriteCommand(CLI::App& app) {
  auto args = std::make_shared<WriteArgs>();
  CLI::App* sub = app.add_subcommand("write", "Write classes back as Java source");
  const std::string sAbout(
      "Write the class back as Java source: to its own source file (kept as a history copy first when --history "
      "is given), or into DIR.  With --all, every class of the repository below DIR, in the directories of its "
      "package (org.example.Circle as DIR/org/example/Circle.java), from one load of the repository.");
  sub->add_option("CLASS", args->sClass, "A class name (the first of that name) or qualified with its package");
  sub->add_flag("--all", args->bAll, "Write every class of the repository (needs --to)");
  sub->add_option("--to", args->sTo, "Write into DIR (created when missing) instead of the class's own file")
      ->type_name("DIR");
  sub->add_flag("--no-wait", args->bNoWait,
                "When another command is writing this repository, fail at once (status 1) instead of waiting");
  AddVerbosity(*sub, args->verbosity, "Print nothing but errors",
               "With --all, print every file written (default: the count only)");
  AddRepositoryOptions(*sub, args->options);
  sub->footer(HelpFooter(sAbout, std::string(kRepositoryHelp) + "\n" + kLockHelp));
  return [args] { return RunWrite(*args); };
}

}  // namespace qv::cli
