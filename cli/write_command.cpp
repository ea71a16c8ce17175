// SPDX-License-Identifier: Apache-2.0
// quorvane write: classes of the repository back as Java source.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/print.h"
#include "cli/progress.h"
#include "cli/repository.h"
#include "quorvane/quorvane.hpp"

namespace quorvane::cli {
namespace {

namespace fs = std::filesystem;

struct WriteArgs {
  RepositoryOptions options;
  Verbosity verbosity;
  std::string sClass;
  std::string sTo;
  std::string sEol;
  bool bAll = false;
  bool bInPlace = false;
  bool bNoWait = false;
};

// The line end --eol names; "" for the one found (FoundLineEnd).
std::string_view ChosenLineEnd(const std::string& sEol) {
  if (sEol == "lf") return "\n";
  if (sEol == "crlf") return "\r\n";
  return {};
}

// Where WriteOne puts a class.
struct WritePlace {
  std::string sDirectory;  // empty: over its own source
  bool bMirrorPackage = false;
  std::string sLineEnd;
};

// Says why class nAt was not written: sPath is the file concerned;
// nSameTargetAs is the earlier class of the run whose target sPath was too
// (else -1).
void SayNotWritten(int64_t nAt, std::string_view sPath, std::string_view sWhy, int64_t nSameTargetAs) {
  const std::string sClass = TakeText(QvClassText(nAt, QV_CLASS_NAME));
  if (nSameTargetAs < 0) {
    std::fprintf(stderr, "quorvane write: %s: class %s %.*s\n", NativePath(sPath).c_str(), sClass.c_str(),
                 static_cast<int>(sWhy.size()), sWhy.data());
    return;
  }
  // Both sources, and the file they would share.
  std::fprintf(stderr, "quorvane write: %s: class %s not written: %s is also the target of %s\n",
               NativePath(TakeText(QvClassText(nAt, QV_CLASS_SOURCE_PATH))).c_str(), sClass.c_str(),
               NativePath(sPath).c_str(),
               NativePath(TakeText(QvClassText(nSameTargetAs, QV_CLASS_SOURCE_PATH))).c_str());
}

// Says where class nAt went (with bSay), or why it did not.  FALSE when it
// was not written.
bool WriteOne(int64_t nAt, const WritePlace& place, bool bSay) {
  quorvane::String sPath, sWhy;
  const bool bOk = QvWriteClass(nAt, place.sDirectory.c_str(), place.bMirrorPackage ? 1 : 0, place.sLineEnd.c_str(),
                                sPath.Receive(), sWhy.Receive()) != 0;
  if (!bOk) {
    SayNotWritten(nAt, sPath.View(), sWhy.View(), -1);
    return false;
  }
  if (bSay) std::printf("wrote %s\n", NativePath(sPath.View()).c_str());
  return true;
}

// What write --all tells of each class as it goes.
struct WriteAllReport {
  Progress& progress;
  bool bSay;  // every file written, not only the failures
};

void SayClassWritten(void* pReport, const QvClassWritten* pClass) {
  const WriteAllReport& report = *static_cast<const WriteAllReport*>(pReport);
  if (report.bSay || pClass->written == 0) report.progress.Clear();
  if (pClass->written == 0) {
    SayNotWritten(pClass->index, pClass->path, pClass->error, pClass->sameTargetAs);
  } else if (report.bSay) {
    std::printf("wrote %s\n", NativePath(pClass->path).c_str());
  }
  report.progress.Update(pClass->index + 1);
}

int RunWrite(WriteArgs& args) {
  if (args.bAll && !args.sClass.empty()) return UsageError("write", "give CLASS or --all, not both");
  if (!args.bAll && args.sClass.empty()) return UsageError("write", "CLASS or --all is required");
  if (args.bInPlace && !args.sTo.empty()) return UsageError("write", "give --to DIR or --in-place, not both");
  if (args.bAll && args.sTo.empty() && !args.bInPlace) return UsageError("write", "--all needs --to DIR or --in-place");
  std::error_code ec;
  const std::string sTo = args.sTo.empty() ? std::string() : fs::absolute(args.sTo, ec).string();
  const std::string_view sLineEnd = ChosenLineEnd(args.sEol);
  // A source written over is kept as a history copy unless --history says
  // otherwise: the written source holds only the parts the record keeps.
  if (args.bInPlace) args.options.nMinHistory = 1;
  const bool bToStdout = !args.bAll && sTo.empty() && !args.bInPlace;
  Session session(ResolveProfileDir(args.options.sProfileDir));
  if (const auto nStatus = OpenRepository("write", args.options, session, !bToStdout, args.bNoWait)) return *nStatus;
  WritePlace place;
  place.sDirectory = sTo;
  place.sLineEnd = sLineEnd;
  if (!args.bAll) {
    const int64_t nAt = Resolve("write", args.sClass);
    if (nAt < 0) return kExitFailed;
    if (bToStdout) {
      if (!ReadMethods("write", nAt)) return kExitFailed;
      const quorvane::String sText = quorvane::String::Adopt(QvClassSource(nAt, place.sLineEnd.c_str()));
      // A failed write is said, and fails the run, when main ends the output.
      WriteOut(sText.View());
      return kExitDone;
    }
    return WriteOne(nAt, place, !args.verbosity.bQuiet) ? kExitDone : kExitFailed;
  }
  // Every class, from the one load above, below DIR in its package's
  // directories.
  place.bMirrorPackage = true;
  const int64_t nClasses = QvClassCount();
  Progress progress("writing", nClasses);
  WriteAllReport report{progress, args.verbosity.bVerbose};
  const int64_t nWritten = QvWriteClasses(place.sDirectory.c_str(), place.bMirrorPackage ? 1 : 0,
                                          place.sLineEnd.c_str(), SayClassWritten, &report);
  progress.Finish();
  if (!args.verbosity.bQuiet) {
    std::printf("wrote %lld of %lld classes %s\n", static_cast<long long>(nWritten), static_cast<long long>(nClasses),
                sTo.empty() ? "over their sources" : ("below " + sTo).c_str());
  }
  return nWritten < nClasses ? kExitFailed : kExitDone;
}

}  // namespace

Runner AddWriteCommand(CLI::App& app) {
  auto args = std::make_shared<WriteArgs>();
  CLI::App* sub = app.add_subcommand("write", "Write classes back as Java source");
  const std::string sAbout(
      "Write the class back as Java source.  Without --to or --in-place the source goes to stdout and no file is "
      "touched.  --to DIR writes DIR/NAME.java (DIR is created when missing); --in-place writes over the class's "
      "own source file, keeping the present file as history copy NAME.001 first (at least one copy, more "
      "with --history N; --history 0 keeps none).  A written source holds only the parts the record keeps: "
      "heading comment, package, imports, documentation comment, declaration and body, footer; text that stood "
      "between them in the original is not in it.\n"
      "With --all, every class of the repository, from one load: below DIR in the directories of its package "
      "(org.example.Circle as DIR/org/example/Circle.java), or each over its own source with --in-place.\n"
      "Every line of a written source ends the same way: as --eol says, else as the file it replaces when that "
      "uses one kind of line end throughout, else as the class's own source file does, else with CR LF.");
  sub->add_option("CLASS", args->sClass, "A class name (the first of that name) or qualified with its package");
  sub->add_flag("--all", args->bAll, "Write every class of the repository (needs --to or --in-place)");
  sub->add_option("--to", args->sTo, "Write into DIR (created when missing) instead of stdout")->type_name("DIR");
  sub->add_flag("--in-place", args->bInPlace,
                "Write over the class's own source file, after keeping it as a history copy (unless --history 0)");
  sub->add_option("--eol", args->sEol, "The line end of the written source: lf or crlf (default: as found)")
      ->check(CLI::IsMember({"lf", "crlf"}));
  sub->add_flag("--no-wait", args->bNoWait,
                "When another command is writing this repository, fail at once (status 1) instead of waiting");
  AddVerbosity(*sub, args->verbosity, "Print nothing but errors",
               "With --all, print every file written (default: the count only)");
  AddRepositoryOptions(*sub, args->options);
  sub->footer(HelpFooter(sAbout, std::string(kRepositoryHelp) + "\n" + kLockHelp));
  return [args] { return RunWrite(*args); };
}

}  // namespace quorvane::cli
