// SPDX-License-Identifier: Apache-2.0
// quorvane sql: runs SQL statements on a handle borrowed from the library's
// SQL handle pool, over the host's database layer (an SQLite file or a
// PostgreSQL server), and prints the rows they return.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/print.h"
#include "cli/session.h"
#include "quorvane/quorvane.hpp"

namespace quorvane::cli {
namespace {

struct SqlArguments {
  std::string sDatabase;    // --database
  std::string sProfileDir;  // --profile-dir
  bool bJson = false;       // --json
  std::vector<std::string> aStatements;
};

// A value as one tab-separated field: tabs, line breaks and backslashes
// escaped, the null value written \N (as PostgreSQL's COPY writes them).
std::string TsvField(const std::optional<std::string_view>& value) {
  if (!value) return "\\N";
  std::string s;
  for (const char c : *value) {
    switch (c) {
      case '\t':
        s += "\\t";
        break;
      case '\n':
        s += "\\n";
        break;
      case '\r':
        s += "\\r";
        break;
      case '\\':
        s += "\\\\";
        break;
      default:
        s += c;
    }
  }
  return s;
}

// Prints the rows of a statement as they come: the column names (nRow -1)
// are the header line of TSV output and the field names of JSON output.
class RowPrinter {
 public:
  explicit RowPrinter(bool bJson) : bJson_(bJson) {}

  void operator()(int64_t nRow, const quorvane::SqlValues& aValues) {
    if (bJson_) {
      if (nRow < 0) {
        aNames_.clear();
        for (const auto& sName : aValues) aNames_.push_back(JsonText(sName.value_or("")).get<std::string>());
        return;
      }
      Json o = Json::object();
      for (size_t i = 0; i < aNames_.size() && i < aValues.size(); ++i) {
        // A column name given twice keeps its first value.
        if (!o.contains(aNames_[i])) o[aNames_[i]] = aValues[i] ? JsonText(*aValues[i]) : Json();
      }
      PrintJsonLine(o);
      return;
    }
    std::string sLine;
    for (size_t i = 0; i < aValues.size(); ++i) sLine += (i > 0 ? "\t" : "") + TsvField(aValues[i]);
    // Written whole: a value may hold a zero byte.
    sLine += '\n';
    WriteOut(sLine);
  }

 private:
  bool bJson_;
  std::vector<std::string> aNames_;
};

// Gives the library the command's profile directory and, with --database,
// the database; without it the library keeps the one it took from
// $QUORVANE_DATABASE, else its embedded default in the profile directory,
// which is created when missing.
void UseDatabase(const SqlArguments& args) {
  const std::string sProfileDir = ResolveProfileDir(args.sProfileDir);
  QvSetProfileDirectory(sProfileDir.c_str());
  if (!args.sDatabase.empty()) {
    QvSetDatabase(args.sDatabase.c_str());
    return;
  }
  if (std::filesystem::path(TakeText(QvSqlDatabase())).parent_path() == sProfileDir) {
    std::error_code ec;
    std::filesystem::create_directories(sProfileDir, ec);
  }
}

int RunSql(const SqlArguments& args) {
  UseDatabase(args);
  // The command reports the database's errors itself, once each.
  QvSetSqlErrorReporter([](void*, QvSqlHandle, const char*, size_t) {}, nullptr);

  quorvane::SqlHandlePool pool;
  QvSqlHandle hSql = 0;
  if (!pool.Get(hSql)) {
    const quorvane::String sTarget = quorvane::String::Adopt(QvSqlDatabase());
    const quorvane::String sShown = quorvane::String::Adopt(QvRedactedDatabase(sTarget.Str().c_str()));
    const quorvane::String sError = quorvane::String::Adopt(QvSqlLastError());
    std::fprintf(stderr, "quorvane sql: cannot connect to %s: %s\n", sShown.Str().c_str(), sError.Str().c_str());
    return kExitFailed;
  }
  int nStatus = kExitDone;
  RowPrinter printer(args.bJson);
  for (const std::string& sStatement : args.aStatements) {
    std::string sError;
    if (!quorvane::SqlExecute(hSql, sStatement.c_str(), std::ref(printer), sError)) {
      std::fprintf(stderr, "quorvane sql: %s\n", sError.c_str());
      nStatus = kExitFailed;
      break;
    }
  }
  FlushOut();
  // Giving the handle back rolls back a transaction left open.
  pool.Release(hSql);
  pool.DisconnectAll();
  return nStatus;
}

}  // namespace

Runner AddSqlCommand(CLI::App& app) {
  auto args = std::make_shared<SqlArguments>();
  CLI::App* sub = app.add_subcommand("sql", "Run SQL statements on a handle from the library's SQL handle pool");
  const std::string sAbout(
      "Borrow a handle from the library's SQL handle pool, run each STATEMENT on it in order and print the rows "
      "each returns: a header line and one line per row, separated by tabs (tab, line break, carriage return and "
      "backslash escaped as \\t, \\n, \\r and \\\\, a null value as \\N).  Each statement is its own "
      "transaction unless BEGIN ... COMMIT says otherwise; a transaction left open at the end is rolled back.  A "
      "statement that fails prints the database's error text and stops the command (status 1).  The pool's "
      "standard messages go to stderr with their codes, such as \"S15: Login Error! Please try again.\" when the "
      "connection fails.  BLDBLOCK.INI in the profile directory can switch on the SQL profile log (each "
      "statement) and the performance log (each connect and disconnect with its time).");
  sub->add_option("STATEMENT", args->aStatements, "An SQL statement (after --, statements may start with -)")
      ->required();
  sub->add_option("--database", args->sDatabase,
                  "A PostgreSQL connection string (a postgresql:// URI or libpq's keyword=value pairs) or the "
                  "path of an SQLite database file (default "
                  "$QUORVANE_DATABASE, else quorvane.db in the profile directory).  A password on the command "
                  "line can be read by every user of the machine: give it in $QUORVANE_DATABASE, in libpq's "
                  "password file ~/.pgpass or in $PGPASSWORD instead.  The command never prints a password")
      ->type_name("TARGET");
  sub->add_flag("--json", args->bJson,
                "One JSON object per row: the column names as fields, values as strings, "
                "null as null");
  sub->add_option("--profile-dir", args->sProfileDir, "The profile directory (see quorvane config --help)")
      ->type_name("DIR");
  sub->footer(HelpFooter(sAbout));
  return [args] { return RunSql(*args); };
}

}  // namespace quorvane::cli
