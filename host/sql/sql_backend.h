// SPDX-License-Identifier: Apache-2.0
// One database connection of the portable host's SQL layer, the two
// backends that make them, SQLite (a database file) and PostgreSQL (a
// server named by a libpq connection string), and how a database setting
// is read and shown.
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

// What a database setting names:
// - a PostgreSQL server, in either of libpq's forms: a connection URI whose
//   scheme is postgresql:// or postgres://, in any letter case; or a
//   key/value connection string, whose first token is a keyword followed by
//   "=" ("host=h user=u dbname=d", spaces around "=" allowed).  Libpq's
//   parser then says whether the keywords are its own; a URI is refused
//   when the text before its query ("?") holds an "@" after the user
//   information (an "@" or "/" that a user name or password holds unencoded,
//   which would otherwise be read as a host or database name);
// - else an SQLite database file, when the setting is a plausible path:
//   one with no control character, no URI scheme ("name://", two letters at
//   least, so that "C://x.db" stays a path) and no keyword=value token
//   after a blank (the leftovers of a mistyped key/value string);
// - else nothing: the setting is refused, and no file is made for it.
enum class DatabaseKind { kSqliteFile, kPostgresUri, kPostgresKeywords, kRefused };
DatabaseKind KindOfDatabase(std::string_view sDatabase);
// Why a setting of kind kRefused is refused, quoting none of it.
std::string_view RefusalOfDatabase(std::string_view sDatabase);

// nullptr with error set when the connection cannot be made.  The error
// text never shows a password of the target.
std::unique_ptr<SqlConnection> OpenSqlite(const std::string& sPath, SqlError& error);
std::unique_ptr<SqlConnection> OpenPostgres(const std::string& sTarget, SqlError& error);

// A database setting as it may be shown or logged.  An SQLite path is
// returned unchanged; a PostgreSQL target as RedactedPostgres writes it;
// any other setting as HiddenDatabase writes it.
std::string RedactedDatabase(std::string_view sDatabase);
// A PostgreSQL target rebuilt from what libpq's parser reads in it, as
// key/value pairs with each secret value (a password) written "***"; a
// target it cannot read, and any target in a build without libpq, as
// HiddenDatabase writes it.
std::string RedactedPostgres(std::string_view sTarget);
// A setting with no value of it shown: its URI scheme and "://***" when it
// has one ("postgresql://***"), else "***".
std::string HiddenDatabase(std::string_view sDatabase);
// Writes "***" over each occurrence in sText of sSecret and of every text
// of sTarget that reads as sSecret once its %XX escapes (a URI's) and
// backslash escapes (a key/value string's) are undone.
void HideSecret(std::string& sText, std::string_view sTarget, std::string_view sSecret);

}  // namespace qv
