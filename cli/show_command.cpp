// SPDX-License-Identifier: Apache-2.0
// quorvane show: one class record with its imports, comments and methods.
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

struct MethodRecord {
  std::string sName, sComment, sBody;
};

// A class as the library holds it, its methods read.
struct ClassRecord {
  std::string sClassName, sSuperClass, sPackage, sFileName, sDirectory, sMethodFile, sExtra, sStamp;
  std::string sHeader, sDescription, sFooter;
  std::vector<std::string> aImports;
  std::vector<MethodRecord> aMethods;  // method 1 first
  QvJavaKind eKind = QV_JAVA_NONE;
};

// A text read back from the repository with its line breaks as the parser
// made them: the class list and the method files store a CR LF so that it
// reads back with extra CRs ("\r\r\r\n"); every run of CRs before a LF is
// one CR LF again.
std::string ParsedLineBreaks(std::string s) {
  size_t nOut = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      size_t j = i;
      while (j < s.size() && s[j] == '\r') ++j;
      if (j < s.size() && s[j] == '\n') i = j - 1;  // keep one CR, the LF follows
    }
    s[nOut++] = s[i];
  }
  s.resize(nOut);
  return s;
}

ClassRecord RecordOf(int64_t nAt) {
  using quorvane::TakeText;
  const auto Field = [nAt](QvClassField eField) { return TakeText(QvClassText(nAt, eField)); };
  const auto Text = [nAt](QvClassField eField) { return ParsedLineBreaks(TakeText(QvClassText(nAt, eField))); };
  ClassRecord r{Field(QV_CLASS_NAME),
                Field(QV_CLASS_SUPERCLASS),
                Field(QV_CLASS_PACKAGE),
                Field(QV_CLASS_FILE_NAME),
                Field(QV_CLASS_DIRECTORY),
                Field(QV_CLASS_METHOD_FILE),
                Field(QV_CLASS_EXTRA),
                Field(QV_CLASS_STAMP),
                Text(QV_CLASS_HEADER),
                Text(QV_CLASS_DESCRIPTION),
                Text(QV_CLASS_FOOTER),
                {},
                {},
                QvClassKind(nAt)};
  for (int64_t k = 0; k < QvClassImportCount(nAt); ++k) r.aImports.push_back(TakeText(QvClassImport(nAt, k)));
  const int64_t nMethods = QvClassMethodCount(nAt);
  for (int64_t k = 1; k <= nMethods; ++k) {
    r.aMethods.push_back({TakeText(QvClassMethodText(nAt, k, QV_METHOD_NAME)),
                          ParsedLineBreaks(TakeText(QvClassMethodText(nAt, k, QV_METHOD_COMMENT))),
                          ParsedLineBreaks(TakeText(QvClassMethodText(nAt, k, QV_METHOD_BODY)))});
  }
  return r;
}

void PrintRecord(const ClassRecord& r) {
  WriteOut(r.sClassName + "\n");
  PrintField("kind", QvJavaKindName(r.eKind));
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
    WriteOut("  method " + std::to_string(k + 1) + ": " + method.sName + "\n");
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
    if (const auto nStatus = OpenRepository("show", args->options, session, false, false)) return *nStatus;
    const int64_t nAt = Resolve("show", args->sClass);
    if (nAt < 0) return kExitFailed;
    const bool bMethods = ReadMethods("show", nAt);
    if (args->bJson) {
      PrintRecordJson(RecordOf(nAt), NativePath(quorvane::TakeText(QvClassText(nAt, QV_CLASS_SOURCE_PATH))));
    } else {
      PrintRecord(RecordOf(nAt));
    }
    return bMethods ? kExitDone : kExitFailed;
  };
}

}  // namespace quorvane::cli
