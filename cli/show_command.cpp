// quorvane show: one class record with its imports, comments and methods.
#include <memory>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/print.h"
#include "cli/repository.h"
#include "repository/repository_session.h"
#include "source/java_parser.h"

namespace qv::cli {
namespace {

void PrintRecord(const ClassRecord& r) {
  std::printf("%s\n", r.sClassName.c_str());
  PrintField("kind", JavaKindName(r.eKind));
  PrintField("superclass", r.sSuperClass);
  PrintField("package", r.sPackage);
  PrintField("file", r.sFileName);
  PrintField("directory", NativePath(r.sDirectory));
  PrintField("method file", NativePath(r.sMethodFile));
  PrintField("stamp", r.sStamp);
  PrintField("extra", r.sExtra);
  for (const std::string& sImport : r.aImports) PrintField("import", sImport);
  PrintBlock("header", r.sHeader);
  PrintBlock("description", r.sDescription);
  PrintBlock("footer", r.sFooter);
  for (size_t k = 0; k < r.aMethods.size(); ++k) {
    const MethodRecord& method = r.aMethods[k];
    std::printf("  method %zu: %s\n", k + 1, method.sName.c_str());
    if (!method.sComment.empty()) PrintBlock("comment", method.sComment, 4);
    PrintBlock("body", method.sBody, 4);
  }
}

// The record as one JSON object; "file" is the source's path as in the
// other commands, "fileName" and "directory" its two parts as stored.
void PrintRecordJson(const ClassRecord& r, const std::string& sFile) {
  Json aImports = Json::array();
  for (const std::string& sImport : r.aImports) aImports.push_back(JsonText(sImport));
  Json aMethods = Json::array();
  for (const MethodRecord& method : r.aMethods) {
    aMethods.push_back(
        {{"name", JsonText(method.sName)}, {"comment", JsonText(method.sComment)}, {"body", JsonText(method.sBody)}});
  }
  PrintJsonLine({{"className", JsonText(r.sClassName)},
                 {"kind", JsonKind(r.eKind)},
                 {"superClass", JsonText(r.sSuperClass)},
                 {"package", JsonText(r.sPackage)},
                 {"file", JsonText(sFile)},
                 {"fileName", JsonText(r.sFileName)},
                 {"directory", JsonText(NativePath(r.sDirectory))},
                 {"methodFile", JsonText(NativePath(r.sMethodFile))},
                 {"stamp", JsonText(r.sStamp)},
                 {"extra", JsonText(r.sExtra)},
                 {"imports", aImports},
                 {"header", JsonText(r.sHeader)},
                 {"description", JsonText(r.sDescription)},
                 {"footer", JsonText(r.sFooter)},
                 {"methods", aMethods}});
}

}  // namespace

Runner AddShowCommand(CLI::App& app) {
  struct Args {
    RepositoryOptions options;
    std::string sClass;
    bool bJson = false;
  };
  auto args = std::make_shared<Args>();
  CLI::App* sub = app.add_subcommand("show", "Print one class record with its imports, comments and methods");
  sub->add_option("CLASS", args->sClass,
                  "A class name (the first of that name) or a name qualified with its package, such as "
                  "org.example.Circle")
      ->required();
  sub->add_flag("--json", args->bJson,
                "The record as one JSON object: className, kind, superClass, package, file, fileName, directory, "
                "methodFile, stamp, extra, imports, header, description, footer and methods (name, comment, body)");
  AddRepositoryOptions(*sub, args->options);
  sub->footer(HelpFooter("", kRepositoryHelp));
  return [args] {
    Session session(ResolveProfileDir(args->options.sProfileDir));
    Module& m = session.M();
    if (const int n = OpenRepository("show", args->options, session, nullptr, false); n >= 0) return n;
    const int64_t nAt = Resolve("show", m, args->sClass);
    if (nAt < 0) return 1;
    const bool bMethods = ReadMethods("show", m, nAt);
    RepositorySession repo(m);
    if (args->bJson) {
      PrintRecordJson(repo.Record(nAt), NativePath(repo.SourcePath(nAt)));
    } else {
      PrintRecord(repo.Record(nAt));
    }
    return bMethods ? 0 : 1;
  };
}

}  // namespace qv::cli
