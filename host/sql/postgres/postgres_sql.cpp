// SPDX-License-Identifier: Apache-2.0
// The PostgreSQL backend: a server connection made through libpq from a
// connection string in either of its forms (URI or key/value), which
// libpq's own parser reads, also to say which of its values are secret.
#include <libpq-fe.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/sql/sql_backend.h"

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

using ParsedTarget = std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)>;

// The options libpq reads in a target (a URI's scheme in lower case, the
// only case libpq knows it in); nullptr when it cannot read it.  Libpq's
// text for that is dropped: it quotes the target.
ParsedTarget Parse(std::string_view sTarget) {
  std::string s(sTarget);
  if (KindOfDatabase(sTarget) == DatabaseKind::kPostgresUri) {
    for (size_t i = 0, nEnd = s.find("://"); i < nEnd; ++i) {
      if (s[i] >= 'A' && s[i] <= 'Z') s[i] = static_cast<char>(s[i] - 'A' + 'a');
    }
  }
  char* sError = nullptr;
  ParsedTarget pOptions(PQconninfoParse(s.c_str(), &sError), PQconninfoFree);
  PQfreemem(sError);
  return pOptions;
}

// Libpq marks the values it never shows (password, sslpassword) "*".
bool IsSecret(const PQconninfoOption& option) { return option.dispchar != nullptr && option.dispchar[0] == '*'; }

// A value as a key/value connection string writes it: quoted when empty
// or holding a blank, a quote or a backslash.
std::string Quoted(std::string_view sValue) {
  if (!sValue.empty() && sValue.find_first_of(" \t\n\r\f\v'\\") == std::string_view::npos) return std::string(sValue);
  std::string s = "'";
  for (const char c : sValue) {
    if (c == '\'' || c == '\\') s += '\\';
    s += c;
  }
  return s + "'";
}

// Hides in sText each secret value of the target: the text of a value
// that is not secret may still hold it.
void HideSecrets(std::string& sText, const ParsedTarget& pOptions, std::string_view sTarget) {
  for (const PQconninfoOption* p = pOptions.get(); p->keyword != nullptr; ++p) {
    if (p->val != nullptr && IsSecret(*p)) HideSecret(sText, sTarget, p->val);
  }
}

}  // namespace

std::string RedactedPostgres(std::string_view sTarget) {
  const ParsedTarget pOptions = Parse(sTarget);
  if (pOptions == nullptr) return HiddenDatabase(sTarget);
  std::string s;
  for (const PQconninfoOption* p = pOptions.get(); p->keyword != nullptr; ++p) {
    if (p->val == nullptr) continue;
    std::string sValue = IsSecret(*p) ? std::string("***") : Quoted(p->val);
    HideSecrets(sValue, pOptions, sTarget);
    s.append(s.empty() ? "" : " ").append(p->keyword).append("=").append(sValue);
  }
  return s;
}

std::unique_ptr<SqlConnection> OpenPostgres(const std::string& sTarget, SqlError& error) {
  error.nCode = 0;
  const ParsedTarget pOptions = Parse(sTarget);
  if (pOptions == nullptr) {
    error.sText =
        "libpq cannot read the PostgreSQL connection string (not shown, as it may hold a password): its keywords "
        "must be libpq's, in lower case, a value with blanks or quotes must be quoted '...', and a \"%\" of a URI "
        "must start a %XX escape";
    return nullptr;
  }
  // Connected with the options as parsed, so that what is hidden is what
  // libpq reads.
  std::vector<const char*> aKeywords, aValues;
  for (const PQconninfoOption* p = pOptions.get(); p->keyword != nullptr; ++p) {
    if (p->val == nullptr) continue;
    aKeywords.push_back(p->keyword);
    aValues.push_back(p->val);
  }
  aKeywords.push_back(nullptr);
  aValues.push_back(nullptr);
  PGconn* pConn = PQconnectdbParams(aKeywords.data(), aValues.data(), 0);
  if (pConn == nullptr || PQstatus(pConn) != CONNECTION_OK) {
    error.sText = pConn != nullptr ? TrimmedMessage(PQerrorMessage(pConn)) : std::string("out of memory");
    PQfinish(pConn);
    HideSecrets(error.sText, pOptions, sTarget);
    return nullptr;
  }
  return std::make_unique<PostgresConnection>(pConn);
}

}  // namespace qv
