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
    "  scan [--list] [--save [REPO-OPTIONS]] ROOT...\n"
    "      Find the Java sources (*.java) below each ROOT (roots may also be\n"
    "      given as one argument separated by \";\"), cut every file into a class\n"
    "      record in the scan's order (by file name, then directory), and print\n"
    "      a summary: files, classes, interfaces, packages, failures, time.\n"
    "      With --list, first one line per file: file, directory, class,\n"
    "      superclass, package, separated by tabs.  Unreadable, empty and\n"
    "      binary files, files without a class and directories that cannot be\n"
    "      listed are reported on stderr, and the scan goes on.  Symbolic\n"
    "      links to directories are not followed.\n"
    "      With --save, also write the repository (see below): the class list\n"
    "      file and one method file per class holding its whole body, written\n"
    "      beside the class's source as NAME.med.\n"
    "  classes [REPO-OPTIONS]\n"
    "      List the classes of the repository: class, superclass, package and\n"
    "      source file, separated by tabs.\n"
    "  show CLASS [REPO-OPTIONS]\n"
    "      Print one class record with its imports, comments and methods.\n"
    "      CLASS is a class name (the first of that name) or a name qualified\n"
    "      with its package, such as org.example.Circle.\n"
    "  tree [CLASS] [REPO-OPTIONS]\n"
    "      Print the subclass tree below CLASS, or below every superclass that\n"
    "      is not itself in the repository (such as Object).\n"
    "  write CLASS [--to DIR] [REPO-OPTIONS]\n"
    "      Write the class back as Java source: to its own source file (kept as\n"
    "      a history copy first when --history is given), or into DIR.\n"
    "  parse [--json] FILE...\n"
    "      Print what the parser cut from each Java FILE: class, superclass,\n"
    "      package, imports, heading comment, documentation comment, body and\n"
    "      footer.  With --json, one JSON object per line and file with the\n"
    "      fields file, read, className, superClass, package, imports, header,\n"
    "      description, body and footer; bytes that are not UTF-8 are written\n"
    "      as \\u00XX.\n"
    "  config ACTION [--profile-dir DIR]\n"
    "      The application profile Quorvane.ini in the profile directory: DIR,\n"
    "      else $QUORVANE_PROFILE_DIR, else $XDG_CONFIG_HOME/quorvane (when it\n"
    "      is absolute), else ~/.config/quorvane.  Every change goes through the\n"
    "      library's own load and save, so the file keeps the form the library\n"
    "      writes (numbers without decimals, flags as 1 or 0).  Actions:\n"
    "        path                     print the full path of the file\n"
    "        list                     every setting in the library's order:\n"
    "                                 section, key, value, source and variable,\n"
    "                                 separated by tabs; the source is \"file\"\n"
    "                                 or \"default\" (the key is absent).  Without\n"
    "                                 the file, \"default\" means what the library\n"
    "                                 holds then: empty texts, 0 and FALSE, but\n"
    "                                 Font Color 0, Bkgd Color 12632256 and Class\n"
    "                                 Color 16711680, not the defaults of init.\n"
    "        get SECTION KEY          print one value (names in any case)\n"
    "        set SECTION KEY VALUE    store one value in the setting's type (a\n"
    "                                 number without decimals; a flag is TRUE\n"
    "                                 only for 1); a missing file is first\n"
    "                                 created with the defaults.  A value with\n"
    "                                 blanks or quotes around it is stored in\n"
    "                                 quotes; one with a line break is refused\n"
    "        init [--force]           write a complete file with the defaults;\n"
    "                                 an existing file is replaced only with\n"
    "                                 --force\n"
    "      An unknown setting, or a file that cannot be read or written, exits\n"
    "      with status 1.\n"
    "  sql [--database TARGET] [--json] [--profile-dir DIR] STATEMENT...\n"
    "      Borrow a handle from the library's SQL handle pool, run each\n"
    "      STATEMENT on it in order and print the rows each returns: a header\n"
    "      line and one line per row, separated by tabs (tab, line break and\n"
    "      backslash escaped as \\t, \\n and \\\\, a null value as \\N), or with\n"
    "      --json one JSON object per row (values as strings, null as null).\n"
    "      TARGET is a postgresql:// connection URI or the path of an SQLite\n"
    "      database file; default $QUORVANE_DATABASE, else quorvane.db in the\n"
    "      profile directory (see config).  Each statement is its own\n"
    "      transaction unless BEGIN ... COMMIT says otherwise; a transaction\n"
    "      left open at the end is rolled back.  A statement that fails prints\n"
    "      the database's error text and stops the command (exit status 1).\n"
    "      The pool's standard messages go to stderr with their codes, such as\n"
    "      \"S15: Login Error! Please try again.\" when the connection fails.\n"
    "      BLDBLOCK.INI in the profile directory can switch on the SQL profile\n"
    "      log (each statement) and the performance log (each connect and\n"
    "      disconnect with its time).\n"
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
    "Repository options (the repository is jbclass.txt in one directory):\n"
    "  --repo DIR         the repository directory (default: the current one)\n"
    "  --delimiter TEXT   the element delimiter between the fields of a line\n"
    "                     (default \\x1F, the ASCII unit separator)\n"
    "  --token TEXT       the text that stands for a line break inside a field\n"
    "                     (default \\x1E, the ASCII record separator)\n"
    "  --history N        keep N numbered history copies (NAME.001 newest) of\n"
    "                     every file before it is overwritten (default 0: none)\n"
    "  --archive-dir DIR  where the repository files' copies go (default: the\n"
    "                     repository directory); a source's copies stay beside it\n"
    "  --profile-dir DIR  the directory of Quorvane.ini (see config)\n"
    "  When Quorvane.ini exists, every setting no option gives comes from it:\n"
    "  the delimiter and the token from \"Element Delimiter\" and \"CRLF\n"
    "  Delimiter\" of [File Delimiters]; history copies from [Root Directories]:\n"
    "  \"Archive Files\" (1 switches them on), \"Archive File Count\" and \"Archive\n"
    "  File Diectory\" (spelled so).  The profile's own defaults (\"*\" for both)\n"
    "  are unsafe: a command that writes then refuses and says so.\n"
    "  TEXT may hold the escapes \\xHH, \\t and \\\\.  Reading needs the separators\n"
    "  the repository was written with.  For writing, the delimiter and the token\n"
    "  must differ, neither may contain the other, and neither may be a single\n"
    "  printable or blank character: Java sources contain all of those (a \"*\"\n"
    "  delimiter would split every documentation comment).  A class whose text\n"
    "  still holds the delimiter or the token is not written over the old file:\n"
    "  the command says which class and field, and the old file stays.\n"
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
  if (sCommand == "classes") return qv::cli::RunClasses(aRest);
  if (sCommand == "show") return qv::cli::RunShow(aRest);
  if (sCommand == "tree") return qv::cli::RunTree(aRest);
  if (sCommand == "write") return qv::cli::RunWrite(aRest);
  if (sCommand == "config") return qv::cli::RunConfig(aRest);
  if (sCommand == "sql") return qv::cli::RunSql(aRest);
  if (sCommand == "demo") return qv::cli::RunDemo(argv[0], aRest);
  if (sCommand == "exports") return qv::cli::RunExports(argv[0], aRest);
  std::fprintf(stderr, "quorvane: unknown command '%.*s' (see quorvane --help)\n", static_cast<int>(sCommand.size()),
               sCommand.data());
  return 2;
}
