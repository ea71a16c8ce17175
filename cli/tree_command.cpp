// SPDX-License-Identifier: Apache-2.0
// quorvane tree: the subclass tree of the repository, as text, JSON Lines
// or a Graphviz graph.
#include <cstdio>
#include <memory>
#include <set>
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

// s as a quoted DOT string; the lines of aLines as one label.
std::string DotText(const std::vector<std::string>& aLines) {
  std::string sOut = "\"";
  for (size_t k = 0; k < aLines.size(); ++k) {
    if (k > 0) sOut += "\\n";
    for (const char c : aLines[k]) {
      if (c == '"' || c == '\\') sOut += '\\';
      sOut += c == '\n' || c == '\r' ? ' ' : c;
    }
  }
  return sOut + "\"";
}
std::string DotText(const std::string& s) { return DotText(std::vector<std::string>{s}); }

// The Graphviz graph of the tree: a node per class, labelled with its
// name, package and kind and shaped by its kind; the classes outside the
// repository (the tops: Object, say) dashed in a cluster of their own; an
// edge from each superclass to each subclass, red where it closes a cycle.
class DotGraph {
 public:
  explicit DotGraph(int64_t nNamedTop) : nNamedTop_(nNamedTop) {}

  void Add(const QvTreeNode& node) {
    // The named top is a class of the repository that the command found.
    const int64_t nAt = node.depth == 0 && nNamedTop_ >= 0 ? nNamedTop_ : node.index;
    std::string sPackage = node.package;
    if (nAt >= 0 && sPackage.empty()) sPackage = TakeText(QvClassText(nAt, QV_CLASS_PACKAGE));
    const std::string sName = node.className;
    const std::string sId = DotText(nAt < 0 ? "outside " + sName : sPackage + (sPackage.empty() ? "" : ".") + sName);
    if (static_cast<size_t>(node.depth) >= aPath_.size()) aPath_.resize(static_cast<size_t>(node.depth) + 1);
    aPath_[static_cast<size_t>(node.depth)] = sId;
    if (node.depth > 0) {
      const std::string sEdge = aPath_[static_cast<size_t>(node.depth) - 1] + " -> " + sId;
      if (aEdgeSeen_.insert(sEdge).second) {
        sEdges_ += "  " + sEdge + (node.cycle != 0 ? " [color=red, fontcolor=red, label=\"cycle\"]" : "") + ";\n";
      }
    }
    if (!aNodeSeen_.insert(sId).second) return;
    if (nAt < 0) {
      sOutside_ += "    " + sId + " [label=" + DotText(sName) + "];\n";
      return;
    }
    const std::string sKind = Kind(nAt);
    std::vector<std::string> aLabel{sName};
    if (!sPackage.empty()) aLabel.push_back(sPackage);
    aLabel.push_back(sKind.empty() ? "kind unknown" : sKind);
    sNodes_ += "  " + sId + " [label=" + DotText(aLabel) + Style(sKind) +
               (node.cycle != 0 && node.depth == 0 ? ", color=red, fontcolor=red" : "") + "];\n";
  }

  // The graph, once every node is added; FALSE when a kind could not be read.
  bool Write() const {
    std::string s =
        "digraph subclasses {\n"
        "  rankdir=LR;\n"
        "  fontname=\"Helvetica\";\n"
        "  node [fontname=\"Helvetica\", fontsize=10, shape=box];\n"
        "  edge [arrowhead=none, arrowtail=empty, dir=back, fontname=\"Helvetica\", fontsize=10];\n";
    if (!sOutside_.empty()) {
      s += "  subgraph cluster_outside {\n    label=\"outside the repository\";\n    style=dashed;\n"
           "    node [style=dashed];\n" +
           sOutside_ + "  }\n";
    }
    WriteOut(s + sNodes_ + sEdges_ + "}\n");
    return bKindsRead_;
  }

 private:
  static std::string Style(const std::string& sKind) {
    if (sKind == "interface") return ", shape=ellipse";
    if (sKind == "enum") return ", shape=hexagon";
    if (sKind == "record") return ", style=rounded";
    if (sKind == "annotation") return ", shape=note";
    return "";
  }

  const char* Kind(int64_t nAt) {
    quorvane::String sPath;
    quorvane::String sWhy;
    const QvJavaKind eKind = QvReadClassKind(nAt, sPath.Receive(), sWhy.Receive());
    if (eKind == QV_JAVA_NONE && !sWhy.Str().empty()) {
      std::fprintf(stderr, "quorvane tree: %s: %s (its kind is unknown)\n", NativePath(sPath.View()).c_str(),
                   sWhy.Str().c_str());
      bKindsRead_ = false;
    }
    return QvJavaKindName(eKind);
  }

  int64_t nNamedTop_;
  std::vector<std::string> aPath_;  // the node ids on the path to the current node
  std::set<std::string> aNodeSeen_;
  std::set<std::string> aEdgeSeen_;
  std::string sOutside_, sNodes_, sEdges_;
  bool bKindsRead_ = true;
};

}  // namespace

Runner AddTreeCommand(CLI::App& app) {
  struct Args {
    RepositoryOptions options;
    std::string sClass;
    bool bJson = false;
    std::string sFormat = "text";
  };
  auto args = std::make_shared<Args>();
  CLI::App* sub = app.add_subcommand("tree", "Print the subclass tree");
  const std::string sAbout(
      "Print the subclass tree below CLASS, or below every superclass that is not itself in the repository (such "
      "as Object).\n"
      "With --format dot the tree is a Graphviz graph, ready for 'dot -Tsvg -o tree.svg': a node per class "
      "labelled with its name, package and kind (a box for a class, rounded for a record, an ellipse for an "
      "interface, a hexagon for an enum, a note for an annotation type), the classes outside the repository "
      "dashed in a box of their own, an edge from each superclass to each subclass, red and labelled where it "
      "closes a cycle.  The kinds come from the start of each method file.");
  sub->add_option("CLASS", args->sClass, "The class at the top (a name, or qualified with its package)");
  CLI::Option* pJson = sub->add_flag(
      "--json", args->bJson,
      "One JSON object per line and node, depth first: className, package, depth (0 for a top), parent "
      "(the class above, null for a top), inRepository and cycle (the same as --format json)");
  sub->add_option("--format", args->sFormat, "The form of the tree: text (default), json or dot (Graphviz)")
      ->check(CLI::IsMember({"text", "json", "dot"}))
      ->excludes(pJson);
  AddRepositoryOptions(*sub, args->options);
  sub->footer(HelpFooter(sAbout, kRepositoryHelp));
  return [args] {
    Session session(ResolveProfileDir(args->options.sProfileDir));
    if (const auto nStatus = OpenRepository("tree", args->options, session, false, false)) return *nStatus;
    std::string sTop;
    int64_t nTop = -1;
    if (!args->sClass.empty()) {
      nTop = Resolve("tree", args->sClass);
      if (nTop < 0) return kExitFailed;
      sTop = args->sClass.substr(args->sClass.rfind('.') + 1);
    }
    if (args->sFormat == "dot") {
      DotGraph graph(nTop);
      QvSubclassTree(
          sTop.c_str(), [](void* p, const QvTreeNode* pNode) { static_cast<DotGraph*>(p)->Add(*pNode); }, &graph);
      return graph.Write() ? kExitDone : kExitFailed;
    }
    bool bJson = args->bJson || args->sFormat == "json";
    QvSubclassTree(
        sTop.c_str(), [](void* p, const QvTreeNode* pNode) { PrintNode(*pNode, *static_cast<const bool*>(p)); },
        &bJson);
    return kExitDone;
  };
}

}  // namespace quorvane::cli
