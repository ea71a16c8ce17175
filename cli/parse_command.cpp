// SPDX-License-Identifier: Apache-2.0
// quorvane parse: what the parser cuts from Java files, in this process.
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/print.h"
#include "cli/session.h"
#include "quorvane/quorvane.hpp"

namespace quorvane::cli {
namespace {

struct Parsed {
  std::string sClassName, sSuperClass, sPackage, sHeader, sDescription, sFooter, sBody;
  std::vector<std::string> aImport;
  bool bRead = false;
};

// The file cut by ParseJavaSource, which the library exports as
// __quorvane__GF25690458.
Parsed ParseOne(const std::string& sPath) {
  const quorvane::String sFile(sPath);
  quorvane::String sClassName, sSuperClass, sPackage, sHeader, sDescription, sFooter, sBody;
  std::vector<quorvane::Array> aArrays;
  aArrays.reserve(7);
  for (int i = 0; i < 7; ++i) aArrays.emplace_back(QV_ELEMENT_STRING);
  const QvNumber nRead = __quorvane__GF25690458(
      sFile.Get(), sClassName.Receive(), sSuperClass.Receive(), sPackage.Receive(), sHeader.Receive(),
      sDescription.Receive(), sFooter.Receive(), sBody.Receive(), aArrays[0].Get(), aArrays[1].Get(), aArrays[2].Get(),
      aArrays[3].Get(), aArrays[4].Get(), aArrays[5].Get(), aArrays[6].Get());
  Parsed p{sClassName.Str(),
           sSuperClass.Str(),
           sPackage.Str(),
           sHeader.Str(),
           sDescription.Str(),
           sFooter.Str(),
           sBody.Str(),
           {},
           nRead.isNull == 0 && nRead.value != 0};
  for (int64_t i = 0; i < aArrays[0].Count(); ++i) p.aImport.push_back(aArrays[0].GetString(i).Str());
  return p;
}

void PrintJson(const std::string& sPath, const Parsed& p) {
  Json aImports = Json::array();
  for (const std::string& sImport : p.aImport) aImports.push_back(JsonText(sImport));
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
    int nStatus = kExitDone;
    for (const std::string& sPath : args->aFiles) {
      const Parsed p = ParseOne(sPath);
      if (!p.bRead) {
        std::fprintf(stderr, "quorvane parse: %s: cannot read\n", sPath.c_str());
        nStatus = kExitFailed;
      } else if (p.sClassName.empty()) {
        std::fprintf(stderr, "quorvane parse: %s: no class or interface found\n", sPath.c_str());
        if (args->bStrict) nStatus = kExitFailed;
      }
      if (args->bJson) {
        PrintJson(sPath, p);
        continue;
      }
      if (!p.bRead) continue;
      WriteOut(sPath + "\n");
      PrintField("class", p.sClassName);
      PrintField("kind", QvJavaKindName(QvDeclarationKind(quorvane::String(p.sBody).Get())));
      PrintField("superclass", p.sSuperClass);
      PrintField("package", p.sPackage);
      for (const std::string& sImport : p.aImport) PrintField("import", sImport);
      PrintBlock("header", p.sHeader);
      PrintBlock("description", p.sDescription);
      PrintBlock("body", p.sBody);
      PrintBlock("footer", p.sFooter);
    }
    return nStatus;
  };
}

}  // namespace quorvane::cli
