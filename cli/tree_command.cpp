// quorvane tree: the subclass tree of the repository.
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/print.h"
#include "cli/repository.h"
#include "quorvane/quorvane.h"

namespace quorvane::cli {
namespace {

void PrintNode(const QvTreeNode& node, bool bJson) {
  if (bJson) {
    PrintJsonLine({{"className", JsonText(node.className)},
                   {"package", JsonText(node.package)},
                   {"depth", node.depth},
                   {"parent", node.depth == 0 ? Json(nullptr) : JsonText(node.parent)},
                   {"inRepository", node.inRepository != 0},
                   {"cycle", node.cycle != 0}});
    return;
  }
  std::string s(static_cast<size_t>(2 * node.depth), ' ');
  s += node.className;
  if (*node.package != '\0') s += std::string("  (") + node.package + ")";
  if (node.cycle != 0) s += node.depth == 0 ? "  [superclass cycle]" : "  [cycle]";
  s += '\n';
  WriteOut(s);
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
    if (const int n = OpenRepository("tree", args->options, session, false, false); n >= 0) return n;
    std::string sTop;
    if (!args->sClass.empty()) {
      if (Resolve("tree", args->sClass) < 0) return 1;
      sTop = args->sClass.substr(args->sClass.rfind('.') + 1);
    }
    QvSubclassTree(
        sTop.c_str(), [](void* p, const QvTreeNode* pNode) { PrintNode(*pNode, *static_cast<const bool*>(p)); },
        &args->bJson);
    return 0;
  };
}

}  // namespace quorvane::cli
