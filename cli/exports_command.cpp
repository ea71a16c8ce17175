// quorvane exports: every exported name of the library.
#include <cstdio>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/library_client.h"

namespace qv::cli {
namespace {

int RunExports(const std::string& sLibrary, bool bDef) {
  LibraryClient lib;
  if (!lib.Load(sLibrary)) {
    std::fprintf(stderr, "quorvane exports: %s\n", lib.Error().c_str());
    return 1;
  }
  const auto pCount = lib.Function<size_t (*)()>("QvExportCount");
  const auto pAt = lib.Function<const QvExportInfo* (*)(size_t)>("QvExportAt");
  if (bDef) std::printf("LIBRARY quorvane\nEXPORTS\n");
  for (size_t i = 0; i < pCount(); ++i) {
    const QvExportInfo* p = pAt(i);
    if (bDef) {
      std::printf("  %s\n", p->sExport);
    } else {
      std::printf("%s\t%s\t%s\t%u\t%s\n", p->sKind, p->sClass, p->sFunction, p->nId, p->sExport);
    }
  }
  return 0;
}

}  // namespace

Runner AddExportsCommand(CLI::App& app, const char* sArgv0) {
  struct Args {
    std::string sLibrary;
    bool bDef = false;
  };
  auto args = std::make_shared<Args>();
  args->sLibrary = LibraryBeside(sArgv0);
  CLI::App* sub = app.add_subcommand("exports", "List every exported name of the library");
  const std::string sAbout(
      "List every exported name of the library: kind, class, function, id and name, separated by tabs.");
  sub->add_flag("--def", args->bDef, "Write a Windows module-definition file instead");
  sub->add_option("--library", args->sLibrary, "The library to load (default: libquorvane.so beside this program)")
      ->type_name("PATH");
  sub->footer(HelpFooter(sAbout));
  return [args] { return RunExports(args->sLibrary, args->bDef); };
}

}  // namespace qv::cli
