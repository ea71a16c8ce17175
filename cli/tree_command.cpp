// quorvane tree: the subclass tree of the repository.
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/repository.h"
#include "repository/repository_session.h"

namespace qv::cli {
namespace {

void PrintNode(const SubclassNode& node, bool bJson) {
  if (bJson) {
    PrintJsonLine({{"className", JsonText(node.sClassName)},
                   {"package", JsonText(node.sPackage)},
                   {"depth", node.nDepth},
                   {"parent", node.nDepth == 0 ? Json(nullptr) : JsonText(node.sParent)},
                   {"inRepository", node.bInRepository},
                   {"cycle", node.bCycle}});
    return;
  }
  std::string s(static_cast<size_t>(2 * node.nDepth), ' ');
  s += node.sClassName;
  if (!node.sPackage.empty()) s += std::string("  (") + std::string(node.sPackage) + ")";
  if (node.bCycle) s += node.nDepth == 0 ? "  [superclass cycle]" : "  [cycle]";
  std::printf("%s\n", s.c_str());
}

}  // namespace

Runner AddTreeCommand(CLI::App& app) {
  struct Args {
    RepositoryOptions options;
    std::string sClass;
    bool bJson = false;
  };
  auto args = std::make_shared<Args>();
  CLI::App* sub = app.add_subcommand("tree", "Print the subclass tree");
  const std::string sAbout(
      "Print the subclass tree below CLASS, or below every superclass that is not itself in the repository (such "
      "as Object).");
  sub->add_option("CLASS", args->sClass, "The class at the top (a name, or qualified with its package)");
  sub->add_flag("--json", args->bJson,
                "One JSON object per line and node, depth first: className, package, depth (0 for a top), parent "
                "(the class above, null for a top), inRepository and cycle");
  AddRepositoryOptions(*sub, args->options);
  sub->footer(HelpFooter(sAbout, kRepositoryHelp));
  return [args] {
    Session session(ResolveProfileDir(args->options.sProfileDir));
    Module& m = session.M();
    if (const int n = OpenRepository("tree", args->options, session, nullptr, false); n >= 0) return n;
    std::string sTop;
    if (!args->sClass.empty()) {
      if (Resolve("tree", m, args->sClass) < 0) return 1;
      sTop = args->sClass.substr(args->sClass.rfind('.') + 1);
    }
    for (const SubclassNode& node : RepositorySession(m).Tree(sTop)) PrintNode(node, args->bJson);
    return 0;
  };
}

}  // namespace qv::cli
