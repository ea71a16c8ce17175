// quorvane parse: what the parser cuts from Java files, in this process.
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/print.h"
#include "cli/session.h"
#include "source/java_parser.h"

namespace qv::cli {
namespace {

struct Parsed {
  String sClassName, sSuperClass, sPackage, sHeader, sDescription, sFooter, sBody;
  DynArray<String> aImport;
  bool bRead = false;
};

Parsed ParseOne(Module& m, const std::string& sPath) {
  Parsed p;
  DynArray<String> a1, a2, a3, a4, a5, a6;
  p.bRead = ParseJavaSource(m, sPath, p.sClassName, p.sSuperClass, p.sPackage, p.sHeader, p.sDescription, p.sFooter,
                            p.sBody, p.aImport, a1, a2, a3, a4, a5, a6)
                .IsTrue();
  return p;
}

void PrintJson(const std::string& sPath, const Parsed& p) {
  Json aImports = Json::array();
  for (int64_t i = 0; i < p.aImport.Count(); ++i) aImports.push_back(JsonText(p.aImport.Get(i)));
  PrintJsonLine({{"file", JsonText(sPath)},
                 {"read", p.bRead},
                 {"className", JsonText(p.sClassName)},
                 {"kind", JsonKind(p.sBody)},
                 {"superClass", JsonText(p.sSuperClass)},
                 {"package", JsonText(p.sPackage)},
                 {"imports", aImports},
                 {"header", JsonText(p.sHeader)},
                 {"description", JsonText(p.sDescription)},
                 {"body", JsonText(p.sBody)},
                 {"footer", JsonText(p.sFooter)}});
}

}  // namespace

Runner AddParseCommand(CLI::App& app) {
  struct Args {
    std::vector<std::string> aFiles;
    bool bJson = false;
    bool bStrict = false;
  };
  auto args = std::make_shared<Args>();
  CLI::App* sub = app.add_subcommand("parse", "Print what the parser cut from each Java file");
  const std::string sAbout(
      "Print what the parser cut from each Java FILE: class, superclass, package, imports, heading comment, "
      "documentation comment, body and footer.  A file that holds no class (such as package-info.java) is "
      "reported on stderr and does not change the exit status, unless --strict is given.");
  sub->add_option("FILE", args->aFiles, "A Java source file")->required();
  sub->add_flag("--json", args->bJson,
                "One JSON object per line and file with the fields file, read, className, kind, superClass, package, "
                "imports, header, description, body and footer; a byte that is not UTF-8 stands for its Latin-1 "
                "character (0xE9 as U+00E9)");
  sub->add_flag("--strict", args->bStrict, "A file that holds no class fails the command (status 1)");
  sub->footer(HelpFooter(sAbout));
  return [args] {
    Session session;
    FileBoxes boxes(session, "parse");
    int nStatus = 0;
    for (const std::string& sPath : args->aFiles) {
      const Parsed p = ParseOne(session.M(), sPath);
      boxes.Say(sPath);
      if (!p.bRead) {
        std::fprintf(stderr, "quorvane parse: %s: cannot read\n", sPath.c_str());
        nStatus = 1;
      } else if (p.sClassName.empty()) {
        std::fprintf(stderr, "quorvane parse: %s: no class or interface found\n", sPath.c_str());
        if (args->bStrict) nStatus = 1;
      }
      if (args->bJson) {
        PrintJson(sPath, p);
        continue;
      }
      if (!p.bRead) continue;
      std::printf("%s\n", sPath.c_str());
      PrintField("class", p.sClassName);
      PrintField("kind", JavaKindName(DeclarationKind(p.sBody)));
      PrintField("superclass", p.sSuperClass);
      PrintField("package", p.sPackage);
      for (int64_t i = 0; i < p.aImport.Count(); ++i) PrintField("import", p.aImport.Get(i));
      PrintBlock("header", p.sHeader);
      PrintBlock("description", p.sDescription);
      PrintBlock("body", p.sBody);
      PrintBlock("footer", p.sFooter);
    }
    return nStatus;
  };
}

}  // namespace qv::cli
