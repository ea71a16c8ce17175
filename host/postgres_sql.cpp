// The PostgreSQL backend: a server connection made through libpq from a
// postgresql:// connection URI.
#include <libpq-fe.h>

#include <cstdlib>
#include <string>

#include "host/sql_backend.h"

namespace qv {
namespace {

std::string TrimmedMessage(const char* s) {
  std::string sText = s == nullptr ? std::string() : std::string(s);
  while (!sText.empty() && (sText.back() == '\n' || sText.back() == ' ')) sText.pop_back();
  return sText;
}

// Libpq prints notices (a ROLLBACK without a transaction, say) to stderr
// unless told otherwise; the layer has nothing to say about them.
void IgnoreNotice(void*, const char*) {}

class PostgresConnection final : public SqlConnection {
 public:
  explicit PostgresConnection(PGconn* pConn) : pConn_(pConn) { PQsetNoticeProcessor(pConn_, IgnoreNotice, nullptr); }
  ~PostgresConnection() override { PQfinish(pConn_); }
  PostgresConnection(const PostgresConnection&) = delete;
  PostgresConnection& operator=(const PostgresConnection&) = delete;

  std::string_view BackendName() const override { return "postgresql"; }
  int64_t BrandCode() const override { return kBrandPostgres; }

  // A text of several statements outside a transaction block runs as one
  // implicit transaction (libpq's simple query protocol).
  bool Execute(std::string_view sText, SqlRows* pRows, SqlError& error) override {
    if (!PQsendQuery(pConn_, std::string(sText).c_str())) return Fail(error);
    bool bOk = true;
    while (PGresult* pResult = PQgetResult(pConn_)) {
      const ExecStatusType eStatus = PQresultStatus(pResult);
      if (eStatus == PGRES_TUPLES_OK && pRows != nullptr) {
        pRows->aColumns.clear();
        pRows->aRows.clear();
        const int nColumns = PQnfields(pResult);
        for (int i = 0; i < nColumns; ++i) pRows->aColumns.emplace_back(PQfname(pResult, i));
        for (int r = 0; r < PQntuples(pResult); ++r) {
          auto& aRow = pRows->aRows.emplace_back();
          for (int i = 0; i < nColumns; ++i) {
            if (PQgetisnull(pResult, r, i)) {
              aRow.emplace_back();
            } else {
              aRow.emplace_back(
                  std::string(PQgetvalue(pResult, r, i), static_cast<size_t>(PQgetlength(pResult, r, i))));
            }
          }
        }
      } else if (eStatus == PGRES_COMMAND_OK && pRows != nullptr) {
        const char* sTuples = PQcmdTuples(pResult);
        pRows->nChanged = (sTuples != nullptr && *sTuples != '\0') ? std::stoll(sTuples) : 0;
      } else if (eStatus != PGRES_TUPLES_OK && eStatus != PGRES_COMMAND_OK && eStatus != PGRES_EMPTY_QUERY && bOk) {
        bOk = false;
        const char* sState = PQresultErrorField(pResult, PG_DIAG_SQLSTATE);
        error.nCode = sState != nullptr ? std::strtoll(sState, nullptr, 36) : 0;
        error.sText = TrimmedMessage(PQresultErrorMessage(pResult));
      }
      PQclear(pResult);
    }
    return bOk;
  }

  bool SetIsolationLevel(std::string_view sLevel, SqlError& error) override {
    const char* sLevelSql = nullptr;
    if (sLevel == "RR") sLevelSql = "REPEATABLE READ READ WRITE";
    if (sLevel == "CS" || sLevel == "RL") sLevelSql = "READ COMMITTED READ WRITE";
    if (sLevel == "RO") sLevelSql = "READ COMMITTED READ ONLY";
    if (sLevelSql == nullptr) {
      error.sText = "unknown isolation level '" + std::string(sLevel) + "'";
      return false;
    }
    return Execute(std::string("SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL ") + sLevelSql, nullptr,
                   error);
  }

  bool SetLockTimeout(int64_t nSeconds, SqlError& error) override {
    const int64_t n = nSeconds < 0 ? 0 : (nSeconds > 2000000 ? 2000000 : nSeconds);
    return Execute("SET lock_timeout = '" + std::to_string(n) + "s'", nullptr, error);
  }

  bool EndTransaction(SqlError& error) override {
    if (PQtransactionStatus(pConn_) == PQTRANS_IDLE) return true;
    return Execute("ROLLBACK", nullptr, error);
  }

 private:
  bool Fail(SqlError& error) {
    error.nCode = 0;
    error.sText = TrimmedMessage(PQerrorMessage(pConn_));
    return false;
  }

  PGconn* pConn_;
};

}  // namespace

std::unique_ptr<SqlConnection> OpenPostgres(const std::string& sUri, SqlError& error) {
  PGconn* pConn = PQconnectdb(sUri.c_str());
  if (pConn == nullptr || PQstatus(pConn) != CONNECTION_OK) {
    error.nCode = 0;
    error.sText = pConn != nullptr ? TrimmedMessage(PQerrorMessage(pConn)) : std::string("out of memory");
    PQfinish(pConn);
    return nullptr;
  }
  return std::make_unique<PostgresConnection>(pConn);
}

}  // namespace qv
