// quorvane: the host application of the Quorvane library.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"

namespace {

constexpr const char* kUsage =
    "Usage: quorvane COMMAND [ARGS...]\n"
    "\n"
    "Quorvane cuts Java sources into class records and keeps them in a\n"
    "repository of plain text files.\n"
    "\n"
    "Commands:\n"
    "  scan [--list] ROOT...\n"
    "      Find the Java sources (*.java) below each ROOT (roots may also be\n"
    "      given as one argument separated by \";\"), cut every file into a class\n"
    "      record in the scan's order (by file name, then directory), and print\n"
    "      a summary: files, classes, interfaces, packages, failures, time.\n"
    "      With --list, first one line per file: file, directory, class,\n"
    "      superclass, package, separated by tabs.  Unreadable, empty and\n"
    "      binary files, files without a class and directories that cannot be\n"
    "      listed are reported on stderr, and the scan goes on.  Symbolic\n"
    "      links to directories are not followed.\n"
    "  parse [--json] FILE...\n"
    "      Print what the parser cut from each Java FILE: class, superclass,\n"
    "      package, imports, heading comment, documentation comment, body and\n"
    "      footer.  With --json, one JSON object per line and file with the\n"
    "      fields file, read, className, superClass, package, imports, header,\n"
    "      description, body and footer; bytes that are not UTF-8 are written\n"
    "      as \\u00XX.\n"
    "  demo [--library PATH] FILE...\n"
    "      Load libquorvane.so, look up its exported text functions by their\n"
    "      exported names and use them on each FILE: report every \"class\"\n"
    "      keyword with whether it lies inside a block comment, and the kind of\n"
    "      the first comment of each line.  PATH defaults to the library beside\n"
    "      this program.\n"
    "  exports [--def]\n"
    "      List every exported name of the library (kind, class, function, id,\n"
    "      name); with --def, write a Windows module-definition file instead.\n"
    "\n"
    "Options:\n"
    "  -h, --help       show this help and exit\n"
    "  -V, --version    show the version and exit\n"
    "\n"
    "Exit status: 0 on success, 1 when a file or directory could not be\n"
    "processed, 2 for bad usage.\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> aArgs(argv + 1, argv + argc);
  if (aArgs.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string_view sCommand = aArgs.front();
  if (sCommand == "-h" || sCommand == "--help" || sCommand == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (sCommand == "-V" || sCommand == "--version") {
    std::printf("quorvane %s\n", QV_VERSION);
    return 0;
  }
  const std::vector<std::string_view> aRest(aArgs.begin() + 1, aArgs.end());
  if (sCommand == "scan") return qv::cli::RunScan(aRest);
  if (sCommand == "parse") return qv::cli::RunParse(aRest);
  if (sCommand == "demo") return qv::cli::RunDemo(argv[0], aRest);
  if (sCommand == "exports") return qv::cli::RunExports(argv[0], aRest);
  std::fprintf(stderr, "quorvane: unknown command '%.*s' (see quorvane --help)\n", static_cast<int>(sCommand.size()),
               sCommand.data());
  return 2;
}
