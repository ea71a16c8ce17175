// SPDX-License-Identifier: Apache-2.0
// The SQLite backend: a database file opened (and created when missing) by
// the portable host's SQL layer.
#include <sqlite3.h>

#include <cctype>

#include "host/sql/sql_backend.h"

namespace qv {
namespace {

// Whether the text holds a word of transaction control, which a savepoint
// around it would collide with.
bool HoldsTransactionControl(std::string_view sText) {
  std::string sUpper;
  sUpper.reserve(sText.size());
  for (const char c : sText) sUpper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const std::string_view sWord : {"BEGIN", "COMMIT", "ROLLBACK", "SAVEPOINT", "RELEASE", "END"}) {
    for (size_t nAt = sUpper.find(sWord); nAt != std::string::npos; nAt = sUpper.find(sWord, nAt + 1)) {
      const bool bStart = nAt == 0 || !std::isalnum(static_cast<unsigned char>(sUpper[nAt - 1]));
      const size_t nEnd = nAt + sWord.size();
      const bool bEnd = nEnd == sUpper.size() || !std::isalnum(static_cast<unsigned char>(sUpper[nEnd]));
      if (bStart && bEnd) return true;
    }
  }
  return false;
}

class SqliteConnection final : public SqlConnection {
 public:
  explicit SqliteConnection(sqlite3* pDb) : pDb_(pDb) {}
  ~SqliteConnection() override { sqlite3_close_v2(pDb_); }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  std::string_view BackendName() const override { return "sqlite"; }
  int64_t BrandCode() const override { return kBrandSqlite; }

  bool Execute(std::string_view sText, SqlRows* pRows, SqlError& error) override {
    // A text of several statements outside a transaction runs inside a
    // savepoint, so that a failing statement undoes those before it.
    const bool bWrap = sqlite3_get_autocommit(pDb_) != 0 && !HoldsTransactionControl(sText);
    if (bWrap && !Simple("SAVEPOINT quorvane_statement", error)) return false;
    const bool bDone = Run(sText, pRows, error);
    if (bWrap) {
      SqlError ignored;
      if (!bDone) Simple("ROLLBACK TO quorvane_statement", ignored);
      if (!Simple("RELEASE quorvane_statement", bDone ? error : ignored)) return false;
    }
    return bDone;
  }

  bool SetIsolationLevel(std::string_view sLevel, SqlError& error) override {
    // SQLite transactions are serializable; read-only is the one level
    // with an effect of its own.
    if (sLevel == "RO") return Simple("PRAGMA query_only = 1", error);
    if (sLevel == "RR" || sLevel == "CS" || sLevel == "RL") return Simple("PRAGMA query_only = 0", error);
    error.sText = "unknown isolation level '" + std::string(sLevel) + "'";
    return false;
  }

  bool SetLockTimeout(int64_t nSeconds, SqlError& error) override {
    const int nMillis = static_cast<int>(nSeconds < 0 ? 0 : (nSeconds > 2000000 ? 2000000000 : nSeconds * 1000));
    const int rc = sqlite3_busy_timeout(pDb_, nMillis);
    if (rc != SQLITE_OK) return Fail(error);
    return true;
  }

  bool EndTransaction(SqlError& error) override {
    if (sqlite3_get_autocommit(pDb_) != 0) return true;
    return Simple("ROLLBACK", error);
  }

 private:
  bool Fail(SqlError& error) {
    error.nCode = sqlite3_extended_errcode(pDb_);
    error.sText = sqlite3_errmsg(pDb_);
    return false;
  }

  bool Simple(const char* sStatement, SqlError& error) {
    return sqlite3_exec(pDb_, sStatement, nullptr, nullptr, nullptr) == SQLITE_OK || Fail(error);
  }

  bool Run(std::string_view sText, SqlRows* pRows, SqlError& error) {
    const char* pNext = sText.data();
    const char* pEnd = sText.data() + sText.size();
    while (pNext < pEnd) {
      sqlite3_stmt* pStmt = nullptr;
      const char* pTail = nullptr;
      if (sqlite3_prepare_v2(pDb_, pNext, static_cast<int>(pEnd - pNext), &pStmt, &pTail) != SQLITE_OK) {
        return Fail(error);
      }
      pNext = pTail;
      if (pStmt == nullptr) continue;  // only blanks or a comment
      const int nColumns = sqlite3_column_count(pStmt);
      if (pRows != nullptr && nColumns > 0) {
        pRows->aColumns.clear();
        pRows->aRows.clear();
        for (int i = 0; i < nColumns; ++i) pRows->aColumns.emplace_back(sqlite3_column_name(pStmt, i));
      }
      int rc;
      while ((rc = sqlite3_step(pStmt)) == SQLITE_ROW) {
        if (pRows == nullptr) continue;
        auto& aRow = pRows->aRows.emplace_back();
        for (int i = 0; i < nColumns; ++i) {
          if (sqlite3_column_type(pStmt, i) == SQLITE_NULL) {
            aRow.emplace_back();
          } else {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(pStmt, i));
            aRow.emplace_back(std::string(p, static_cast<size_t>(sqlite3_column_bytes(pStmt, i))));
          }
        }
      }
      sqlite3_finalize(pStmt);
      if (rc != SQLITE_DONE) return Fail(error);
      if (pRows != nullptr && nColumns == 0) pRows->nChanged = sqlite3_changes64(pDb_);
    }
    return true;
  }

  sqlite3* pDb_;
};

}  // namespace

std::unique_ptr<SqlConnection> OpenSqlite(const std::string& sPath, SqlError& error) {
  sqlite3* pDb = nullptr;
  const int rc = sqlite3_open_v2(sPath.c_str(), &pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    error.nCode = rc;
    error.sText = pDb != nullptr ? std::string(sqlite3_errmsg(pDb)) : std::string(sqlite3_errstr(rc));
    error.sText += ": " + sPath;
    sqlite3_close_v2(pDb);
    return nullptr;
  }
  sqlite3_extended_result_codes(pDb, 1);
  return std::make_unique<SqliteConnection>(pDb);
}

}  // namespace qv
