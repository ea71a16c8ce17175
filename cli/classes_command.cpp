// quorvane classes: the classes of the repository, one line each.
#include <memory>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/repository.h"
#include "repository/repository_session.h"

namespace qv::cli {

Runner AddClassesCommand(CLI::App& app) {
  struct Args {
    RepositoryOptions options;
    bool bJson = false;
  };
  auto args = std::make_shared<Args>();
  CLI::App* sub = app.add_subcommand("classes", "List the classes of the repository");
  const std::string sAbout(
      "List the classes of the repository: class, superclass, package and source file, separated by tabs.");
  sub->add_flag("--json", args->bJson,
                "One JSON object per line and class, with the fields className, superClass, package and file");
  AddRepositoryOptions(*sub, args->options);
  sub->footer(HelpFooter(sAbout, kRepositoryHelp));
  return [args] {
    Session session(ResolveProfileDir(args->options.sProfileDir));
    Module& m = session.M();
    if (const int n = OpenRepository("classes", args->options, session, nullptr, false); n >= 0) return n;
    RepositorySession repo(m);
    for (int64_t i = 0; i < repo.ClassCount(); ++i) {
      const ClassRecord r = repo.Record(i);
      const std::string sFile = NativePath(repo.SourcePath(i));
      if (args->bJson) {
        PrintJsonLine({{"className", JsonText(r.sClassName)},
                       {"superClass", JsonText(r.sSuperClass)},
                       {"package", JsonText(r.sPackage)},
                       {"file", JsonText(sFile)}});
      } else {
        std::printf("%s\t%s\t%s\t%s\n", r.sClassName.c_str(), r.sSuperClass.c_str(), r.sPackage.c_str(), sFile.c_str());
      }
    }
    return 0;
  };
}

}  // namespace qv::cli
