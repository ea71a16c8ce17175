// quorvane sql: runs SQL statements on a handle borrowed from the library's
// SQL handle pool, over the host's database layer (an SQLite file or a
// PostgreSQL server), and prints the rows they return.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <memory>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/session.h"
#include "framework/sql_handles.h"
#include "host/sql_backend.h"

namespace qv::cli {
namespace {

struct SqlArguments {
  std::string sDatabase;    // --database
  std::string sProfileDir;  // --profile-dir
  bool bJson = false;       // --json
  std::vector<std::string> aStatements;
};

// A value as one tab-separated field: tabs, line breaks and backslashes
// escaped, the null value written \N (as PostgreSQL's COPY writes them).
std::string TsvField(const std::optional<String>& value) {
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

void PrintRows(const SqlRows& rows, bool bJson) {
  if (bJson) {
    for (const auto& aRow : rows.aRows) {
      Json o = Json::object();
      for (size_t i = 0; i < rows.aColumns.size(); ++i) {
        // A column name given twice keeps its first value.
        const std::string sName = JsonText(rows.aColumns[i]).get<std::string>();
        if (!o.contains(sName)) o[sName] = aRow[i] ? JsonText(*aRow[i]) : Json();
      }
      PrintJsonLine(o);
    }
    return;
  }
  std::string sHeader;
  for (size_t i = 0; i < rows.aColumns.size(); ++i) sHeader += (i > 0 ? "\t" : "") + TsvField(rows.aColumns[i]);
  std::printf("%s\n", sHeader.c_str());
  for (const auto& aRow : rows.aRows) {
    std::string sLine;
    for (size_t i = 0; i < aRow.size(); ++i) sLine += (i > 0 ? "\t" : "") + TsvField(aRow[i]);
    std::printf("%s\n", sLine.c_str());
  }
}

// The database the command uses: --database, else $QUORVANE_DATABASE, else
// the embedded default in the profile directory (created when missing).
std::string ResolveDatabase(const SqlArguments& args, const std::string& sProfileDir) {
  if (!args.sDatabase.empty()) return args.sDatabase;
  if (const char* s = std::getenv("QUORVANE_DATABASE"); s != nullptr && *s != '\0') return s;
  std::error_code ec;
  std::filesystem::create_directories(sProfileDir, ec);
  return DefaultDatabase(sProfileDir);
}

int RunSql(const SqlArguments& args) {
  const std::string sProfileDir = ResolveProfileDir(args.sProfileDir);
  const std::string sDatabase = ResolveDatabase(args, sProfileDir);
  Session session(sProfileDir, sDatabase);
  Module& m = session.M();
  Sql& sql = m.Db();
  // The command reports the database's errors itself, once each.
  sql.SetErrorHandler([](const SqlError&) { return kSqlErrorHandled; });

  BLC_ManageSqlHandles pool;
  SqlHandle hSql;
  if (!pool.GetSqlHandle(m, hSql)) {
    std::fprintf(stderr, "quorvane sql: cannot connect to %s: %s\n", RedactedDatabase(sDatabase).c_str(),
                 sql.LastError().sText.c_str());
    return 1;
  }
  int nStatus = 0;
  for (const std::string& sStatement : args.aStatements) {
    SqlRows rows;
    if (!sql.Execute(hSql, sStatement, &rows)) {
      std::fprintf(stderr, "quorvane sql: %s\n", sql.LastError().sText.c_str());
      nStatus = 1;
      break;
    }
    if (!rows.aColumns.empty()) PrintRows(rows, args.bJson);
  }
  std::fflush(stdout);
  // Giving the handle back rolls back a transaction left open.
  pool.ReleaseSqlHandle(m, hSql);
  pool.DisconnectSqlHandles(m);
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
                  "A postgresql:// connection URI or the path of an SQLite database file (default "
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

}  // namespace qv::cli
