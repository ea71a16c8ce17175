// quorvane sql: runs SQL statements on a handle borrowed from the library's
// SQL handle pool, over the host's database layer (an SQLite file or a
// PostgreSQL server), and prints the rows they return.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/json.h"
#include "cli/session.h"
#include "framework/sql_handles.h"

namespace qv::cli {
namespace {

struct SqlArguments {
  std::string sDatabase;    // --database
  std::string sProfileDir;  // --profile-dir
  bool bJson = false;       // --json
  std::vector<std::string> aStatements;
};

int UsageError(const std::string& sWhat) {
  std::fprintf(stderr, "quorvane sql: %s (see quorvane --help)\n", sWhat.c_str());
  return 2;
}

// A value as one tab-separated field: tabs, line breaks and backslashes
// escaped, the null value written \N (as PostgreSQL's COPY writes them).
std::string TsvField(const std::optional<String>& value) {
  if (!value) return "\\N";
  std::string s;
  for (const char c : *value) {
    switch (c) {
      case '\t': s += "\\t"; break;
      case '\n': s += "\\n"; break;
      case '\r': s += "\\r"; break;
      case '\\': s += "\\\\"; break;
      default: s += c;
    }
  }
  return s;
}

void PrintRows(const SqlRows& rows, bool bJson) {
  if (bJson) {
    for (const auto& aRow : rows.aRows) {
      std::string sLine = "{";
      for (size_t i = 0; i < rows.aColumns.size(); ++i) {
        if (i > 0) sLine += ",";
        sLine += JsonString(rows.aColumns[i]) + ":" + (aRow[i] ? JsonString(*aRow[i]) : std::string("null"));
      }
      std::printf("%s}\n", sLine.c_str());
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

}  // namespace

int RunSql(const std::vector<std::string_view>& aArgs) {
  SqlArguments args;
  for (size_t i = 0; i < aArgs.size(); ++i) {
    const std::string_view sArg = aArgs[i];
    if (sArg == "--json") {
      args.bJson = true;
    } else if (sArg == "--database" || sArg == "--profile-dir") {
      if (i + 1 >= aArgs.size() || aArgs[i + 1].empty()) return UsageError(std::string(sArg) + " needs a value");
      (sArg == "--database" ? args.sDatabase : args.sProfileDir) = std::string(aArgs[++i]);
    } else if (sArg == "--") {
      args.aStatements.insert(args.aStatements.end(), aArgs.begin() + static_cast<ptrdiff_t>(i) + 1, aArgs.end());
      break;
    } else if (sArg.size() > 1 && sArg.front() == '-') {
      return UsageError("unknown option '" + std::string(sArg) + "'");
    } else {
      args.aStatements.emplace_back(sArg);
    }
  }
  if (args.aStatements.empty()) return UsageError("no statement given");

  const std::string sProfileDir = ResolveProfileDir(args.sProfileDir);
  Session session(sProfileDir);
  Module& m = session.M();
  PortableSql& sql = session.Host().Sql();
  sql.SetDatabase(ResolveDatabase(args, sProfileDir));
  // The command reports the database's errors itself, once each.
  sql.SetErrorHandler([](const SqlError&) { return kSqlErrorHandled; });

  BLC_ManageSqlHandles pool;
  SqlHandle hSql;
  if (!pool.GetSqlHandle(m, hSql)) {
    std::fprintf(stderr, "quorvane sql: cannot connect to %s: %s\n", sql.Database().c_str(),
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

}  // namespace qv::cli
