// quorvane tree: the subclass tree of the repository.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/repository.h"
#include "repository/java_repository.h"

namespace qv::cli {
namespace {

// One node of the tree as it is printed.
struct Node {
  std::string_view sClassName;
  std::string_view sPackage;
  int nDepth = 0;
  std::string_view sParent;  // empty for a top
  bool bInRepository = true;
  bool bCycle = false;       // the class is already on the path above, or its superclasses form a cycle
};

void PrintNode(const Node& node, bool bJson) {
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
    VC_JavaRepository& repo = JavaRepositoryInstance(m);
    const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
    const int64_t nClasses = RepositoryVars(m).cv_nClassCount.AsInt64();
    const bool bJson = args->bJson;

    // The tops: the named class, or every superclass name that is not itself
    // a class of the repository, in the order of first appearance.
    std::vector<std::string> aTops;
    if (!args->sClass.empty()) {
      if (Resolve("tree", m, args->sClass) < 0) return 1;
      aTops.push_back(args->sClass.substr(args->sClass.rfind('.') + 1));
    } else {
      for (int64_t i = 0; i < nClasses; ++i) {
        const String& sSuper = aClasses[i].sSuperClass;
        if (repo.FindClass(m, sSuper).AsInt64() >= 0) continue;
        if (std::find(aTops.begin(), aTops.end(), sSuper) == aTops.end()) aTops.push_back(sSuper);
      }
    }
    // Depth first, without recursion; a class already on the path (a cycle
    // of superclasses) is not entered again.
    std::vector<char> aOnPath(static_cast<size_t>(nClasses), 0);
    std::vector<char> aPrinted(static_cast<size_t>(nClasses), 0);
    DynArray<Number> aSubs;
    struct Frame {
      int64_t nClass;
      int nDepth;
      bool bLeaving;
      std::string_view sParent;
    };
    std::vector<Frame> aStack;
    auto PushSubclasses = [&](std::string_view sName, int nDepth) {
      aSubs.Clear();
      const int64_t nFound = repo.FindSubClasses(m, sName, aSubs).AsInt64();
      for (int64_t k = nFound - 1; k >= 0; --k) aStack.push_back({aSubs[k].AsInt64(), nDepth, false, sName});
    };
    auto Walk = [&]() {
      while (!aStack.empty()) {
        const Frame f = aStack.back();
        aStack.pop_back();
        const auto nAt = static_cast<size_t>(f.nClass);
        if (f.bLeaving) {
          aOnPath[nAt] = 0;
          continue;
        }
        const VC_JavaClass& r = aClasses[f.nClass];
        const bool bCycle = aOnPath[nAt] != 0;
        PrintNode({r.sClassName, r.sPackage, f.nDepth, f.sParent, true, bCycle}, bJson);
        if (bCycle) continue;
        aPrinted[nAt] = 1;
        aOnPath[nAt] = 1;
        aStack.push_back({f.nClass, f.nDepth, true, f.sParent});
        PushSubclasses(r.sClassName, f.nDepth + 1);
      }
    };
    for (const std::string& sTop : aTops) {
      PrintNode({sTop, "", 0, "", args->sClass.empty() ? false : true, false}, bJson);
      PushSubclasses(sTop, 1);
      Walk();
    }
    // Classes whose superclasses form a cycle hang below no top.
    for (int64_t i = 0; args->sClass.empty() && i < nClasses; ++i) {
      if (aPrinted[static_cast<size_t>(i)] != 0) continue;
      PrintNode({aClasses[i].sClassName, aClasses[i].sPackage, 0, "", true, true}, bJson);
      aPrinted[static_cast<size_t>(i)] = 1;
      aOnPath[static_cast<size_t>(i)] = 1;
      PushSubclasses(aClasses[i].sClassName, 1);
      Walk();
      aOnPath[static_cast<size_t>(i)] = 0;
    }
    return 0;
  };
}

}  // namespace qv::cli
