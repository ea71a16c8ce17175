// One database connection of the portable host's SQL layer, and the two
// backends that make them: SQLite (a database file) and PostgreSQL (a
// server named by a connection URI).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/host.h"

namespace qv {

// Brand codes the backends report as database parameter 2.
inline constexpr int64_t kBrandSqlite = 10;
inline constexpr int64_t kBrandPostgres = 24;

class SqlConnection {
 public:
  virtual ~SqlConnection() = default;
  virtual std::string_view BackendName() const = 0;
  virtual int64_t BrandCode() const = 0;
  // Runs the statements of sText; the rows of the last one that returns
  // rows go to pRows.  Outside an open transaction the text is one
  // transaction: it takes effect whole or not at all.
  virtual bool Execute(std::string_view sText, SqlRows* pRows, SqlError& error) = 0;
  // "RR" repeatable read, "CS" and "RL" read committed, "RO" read only.
  virtual bool SetIsolationLevel(std::string_view sLevel, SqlError& error) = 0;
  // How long a statement waits for a lock held by another connection; 0
  // means the backend's default (SQLite: fail at once; PostgreSQL: wait).
  virtual bool SetLockTimeout(int64_t nSeconds, SqlError& error) = 0;
  // Rolls back a transaction left open; TRUE when none is open afterwards.
  virtual bool EndTransaction(SqlError& error) = 0;
};

// nullptr with error set when the connection cannot be made.
std::unique_ptr<SqlConnection> OpenSqlite(const std::string& sPath, SqlError& error);
std::unique_ptr<SqlConnection> OpenPostgres(const std::string& sUri, SqlError& error);

// Whether a database setting names a PostgreSQL server.
bool IsPostgresUri(std::string_view sDatabase);

// A database setting as it may be shown or logged: the password of a
// connection URI (its user information or a password parameter) written
// as "***".  Any other setting is returned unchanged.
std::string RedactedDatabase(std::string_view sDatabase);
// The error text of a connect to sDatabase as it may be shown or logged:
// the setting itself written as RedactedDatabase writes it, and each of its
// passwords quoted on its own ("\"pw\"", as libpq quotes a value it cannot
// read) written "\"***\"".
std::string RedactedError(std::string_view sText, std::string_view sDatabase);

}  // namespace qv
