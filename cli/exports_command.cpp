// SPDX-License-Identifier: Apache-2.0
// quorvane exports: every exported name of the library.
#include <cstdio>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/library_client.h"
#include "cli/print.h"

namespace quorvane::cli {
namespace {

constexpr const char* kHeaderTop =
    "/* SPDX-License-Identifier: Apache-2.0 */\n"
    "/* The prototypes of every exported function of the Quorvane library, with the\n"
    " * calling convention each has.  Generated from the library's export table by\n"
    " * `quorvane exports --header`; do not edit (nor reformat).  quorvane.h includes it.\n"
    " *\n"
    " *   __quorvane__GF<id>  a global function\n"
    " *   __quorvane__XE<id>  a class function, the object instance first\n"
    " *   __quorvane__XT<id>  the same class function on the current instance\n"
    " *                       (QvSetCurrentInstance)\n"
    " * These use the C calling convention (__cdecl on 32-bit Windows).  The\n"
    " * decorated names of the Windows build (\"_StrMidX@36\") are __stdcall entry\n"
    " * points of the same functions, declared here as pointer types: find them\n"
    " * with QvFindExport (or GetProcAddress on Windows).  Arguments a0, a1, ...\n"
    " * are in the library's parameter order; ownership is as quorvane.h states.\n"
    " */\n"
    "/* clang-format off */\n"
    "/* NOLINTBEGIN(bugprone-reserved-identifier): the exported names are the library's, as callers know them */\n"
    "#ifndef QUORVANE_QUORVANE_EXPORTS_H\n"
    "#define QUORVANE_QUORVANE_EXPORTS_H\n"
    "\n"
    "#if defined(_WIN32)\n"
    "#define QV_CDECL __cdecl\n"
    "#define QV_STDCALL __stdcall\n"
    "#else\n"
    "#define QV_CDECL\n"
    "#define QV_STDCALL\n"
    "#endif\n"
    "\n"
    "#ifdef __cplusplus\n"
    "extern \"C\" {\n"
    "#endif\n";

constexpr const char* kHeaderBottom =
    "\n#ifdef __cplusplus\n"
    "}\n"
    "#endif\n"
    "/* NOLINTEND(bugprone-reserved-identifier) */\n"
    "\n"
    "#endif /* QUORVANE_QUORVANE_EXPORTS_H */\n";

// The C declaration of export p with signature "RESULT(PARAMETERS)".
std::string Declaration(const QvExportInfo& p, const std::string& sSignature) {
  const size_t nOpen = sSignature.find('(');
  const std::string sResult = sSignature.substr(0, nOpen);
  const std::string sParameters = sSignature.substr(nOpen);
  const std::string sKind = p.sKind;
  if (sKind != "DECORATED") return "QV_API " + sResult + " QV_CDECL " + p.sExport + sParameters + ";\n";
  std::string sType = std::string("QvDecorated") + p.sExport;
  for (char& c : sType) {
    if (c == '@') c = '_';
  }
  return "typedef " + sResult + "(QV_STDCALL* " + sType + ")" + sParameters + ";\n";
}

int RunExports(const std::string& sLibrary, bool bDef, bool bHeader) {
  LibraryClient lib;
  if (!lib.Load(sLibrary)) {
    std::fprintf(stderr, "quorvane exports: %s\n", lib.Error().c_str());
    return kExitFailed;
  }
  const auto pCount = lib.Function<size_t (*)()>("QvExportCount");
  const auto pAt = lib.Function<const QvExportInfo* (*)(size_t)>("QvExportAt");
  const auto pSignature = lib.Function<QvString* (*)(size_t)>("QvExportSignature");
  if (bDef) std::printf("LIBRARY quorvane\nEXPORTS\n");
  if (bHeader) WriteOut(kHeaderTop);
  std::string sLastComment;
  for (size_t i = 0; i < pCount(); ++i) {
    const QvExportInfo* p = pAt(i);
    if (bDef) {
      std::printf("  %s\n", p->sExport);
    } else if (bHeader) {
      const std::string sClass = p->sClass;
      std::string sComment = sClass.empty() ? p->sFunction : sClass + "." + p->sFunction;
      if (std::string(p->sKind) == "DECORATED") sComment.insert(0, std::string(p->sExport) + ": ");
      if (sComment != sLastComment) std::printf("\n/* %s */\n", sComment.c_str());
      sLastComment = sComment;
      WriteOut(Declaration(*p, lib.TakeString(pSignature(i))));
    } else {
      std::printf("%s\t%s\t%s\t%u\t%s\n", p->sKind, p->sClass, p->sFunction, p->nId, p->sExport);
    }
  }
  if (bHeader) WriteOut(kHeaderBottom);
  return kExitDone;
}

}  // namespace

Runner AddExportsCommand(CLI::App& app, const char* sArgv0) {
  struct Args {
    std::string sLibrary;
    bool bDef = false;
    bool bHeader = false;
  };
  auto args = std::make_shared<Args>();
  args->sLibrary = LibraryBeside(sArgv0);
  CLI::App* sub = app.add_subcommand("exports", "List every exported name of the library");
  const std::string sAbout(
      "List every exported name of the library: kind, class, function, id and name, separated by tabs.");
  sub->add_flag("--def", args->bDef, "Write a Windows module-definition file instead");
  sub->add_flag("--header", args->bHeader,
                "Write the C header that declares every export with its prototype (quorvane_exports.h) instead")
      ->excludes("--def");
  sub->add_option("--library", args->sLibrary,
                  "The library to load (default: libquorvane.so.0 beside this program, or in the library directory "
                  "once installed)")
      ->type_name("PATH");
  sub->footer(HelpFooter(sAbout));
  return [args] { return RunExports(args->sLibrary, args->bDef, args->bHeader); };
}

}  // namespace quorvane::cli
