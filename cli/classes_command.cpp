// SPDX-License-Identifier: Apache-2.0
// quorvane classes: the classes of the repository, one line each.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/print.h"
#include "cli/repository.h"
#include "quorvane/quorvane.hpp"

namespace quorvane::cli {
namespace {

// classes --names: the class list file's names, without loading it.
int PrintNames(RepositoryOptions& options, Session& session) {
  std::string sList;
  if (const auto nStatus = FindClassListFile("classes", options, session, sList)) return *nStatus;
  std::vector<std::string> aNames;
  quorvane::String error;
  const auto Add = [](void* p, const char* sName) { static_cast<std::vector<std::string>*>(p)->emplace_back(sName); };
  if (QvClassListNames(Add, &aNames, error.Receive()) == 0) {
    std::fprintf(stderr, "quorvane classes: %s: %s\n", sList.c_str(), error.Str().c_str());
    return kExitFailed;
  }
  std::sort(aNames.begin(), aNames.end());
  aNames.erase(std::unique(aNames.begin(), aNames.end()), aNames.end());
  std::string sOut;
  for (const std::string& s : aNames) sOut.append(s).append("\n");
  WriteOut(sOut);
  return kExitDone;
}

}  // namespace

Runner AddClassesCommand(CLI::App& app) {
  struct Args {
    RepositoryOptions options;
    bool bJson = false;
    bool bNames = false;
  };
  auto args = std::make_shared<Args>();
  CLI::App* sub = app.add_subcommand("classes", "List the classes of the repository");
  const std::string sAbout(
      "List the classes of the repository: class, superclass, package and source file, separated by tabs.");
  sub->add_flag("--json", args->bJson,
                "One JSON object per line and class, with the fields className, superClass, package and file");
  sub->add_flag("--names", args->bNames,
                "Only the class names, each once, in byte order (what shell completion offers); reads nothing but "
                "the class list file")
      ->excludes("--json");
  AddRepositoryOptions(*sub, args->options);
  sub->footer(HelpFooter(sAbout, kRepositoryHelp));
  return [args] {
    Session session(ResolveProfileDir(args->options.sProfileDir));
    if (args->bNames) return PrintNames(args->options, session);
    if (const auto nStatus = OpenRepository("classes", args->options, session, false, false)) return *nStatus;
    using quorvane::TakeText;
    const int64_t nClasses = QvClassCount();
    for (int64_t i = 0; i < nClasses; ++i) {
      const std::string sClassName = TakeText(QvClassText(i, QV_CLASS_NAME));
      const std::string sSuperClass = TakeText(QvClassText(i, QV_CLASS_SUPERCLASS));
      const std::string sPackage = TakeText(QvClassText(i, QV_CLASS_PACKAGE));
      const std::string sFile = NativePath(TakeText(QvClassText(i, QV_CLASS_SOURCE_PATH)));
      if (args->bJson) {
        PrintJsonLine({{"className", JsonText(sClassName)},
                       {"superClass", JsonText(sSuperClass)},
                       {"package", JsonText(sPackage)},
                       {"file", JsonText(sFile)}});
      } else {
        std::string sLine = sClassName;
        sLine.append("\t").append(sSuperClass).append("\t").append(sPackage).append("\t").append(sFile).append("\n");
        WriteOut(sLine);
      }
    }
    return kExitDone;
  };
}

}  // namespace quorvane::cli
