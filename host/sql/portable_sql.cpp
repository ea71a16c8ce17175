// SPDX-License-Identifier: Apache-2.0
#include "host/sql/portable_sql.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

namespace qv {
namespace {

// Handle values come from one counter for the whole process, so that no
// value is ever handed out twice, whichever host made it: a stale handle
// given back late names nothing instead of someone else's connection.
std::atomic<uintptr_t> gnNextHandle{1};  // NOLINT: process-wide by design

constexpr int64_t kParameterBrand = 2;
constexpr int64_t kParameterTimeout = 5;

void PrintError(const SqlError& error) { std::fprintf(stderr, "quorvane: SQL error: %s\n", error.sText.c_str()); }

// The statement on one line of a log.
std::string OneLine(std::string_view s) {
  std::string sOut(s);
  for (char& c : sOut) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return sOut;
}

std::string Elapsed(std::chrono::steady_clock::duration d) {
  char aBuf[48];
  std::snprintf(aBuf, sizeof(aBuf), "%.3f ms", std::chrono::duration<double, std::milli>(d).count());
  return aBuf;
}

constexpr std::string_view kBlanks = " \t\n\r\f\v";

bool IsBlank(char c) { return kBlanks.find(c) != std::string_view::npos; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the scheme of a URI at the start of s, up to its "://"
// (0 when s has none).  A scheme is a letter followed by letters, digits,
// "+", "-" and "."; one letter is a drive ("C://x.db"), not a scheme.
size_t SchemeLength(std::string_view s) {
  size_t n = 0;
  while (n < s.size() && (IsLetter(s[n]) || (n > 0 && (IsDigit(s[n]) || s[n] == '+' || s[n] == '-' || s[n] == '.')))) {
    ++n;
  }
  return n >= 2 && s.substr(n).starts_with("://") ? n : 0;
}

bool IsPostgresScheme(std::string_view sScheme) {
  std::string sLower(sScheme);
  for (char& c : sLower) c = IsLetter(c) ? static_cast<char>(c | 0x20) : c;
  return sLower == "postgresql" || sLower == "postgres";
}

// Whether s, from nAt on, starts with a keyword and its "=" (blanks may
// stand around the "="): the token of a key/value connection string.
bool KeywordAt(std::string_view s, size_t nAt) {
  if (nAt >= s.size() || !(IsLetter(s[nAt]) || s[nAt] == '_')) return false;
  while (nAt < s.size() && (IsLetter(s[nAt]) || IsDigit(s[nAt]) || s[nAt] == '_')) ++nAt;
  while (nAt < s.size() && IsBlank(s[nAt])) ++nAt;
  return nAt < s.size() && s[nAt] == '=';
}

// Whether s is written as a key/value connection string.
bool StartsWithKeyword(std::string_view s) {
  const size_t nFirst = s.find_first_not_of(kBlanks);
  return nFirst != std::string_view::npos && KeywordAt(s, nFirst);
}

// Whether a URI holds an "@" past its user information and before its
// query.  Libpq ends the user information at the first "@" that no "/"
// comes before; an "@" or "/" left unencoded in a user name or password
// moves the rest of it into the host or the database name.
bool HoldsStrayAt(std::string_view sUri) {
  const std::string_view s = sUri.substr(sUri.find("://") + 3);
  const size_t nUser = s.find_first_of("@/");
  const size_t nStart = nUser != std::string_view::npos && s[nUser] == '@' ? nUser + 1 : 0;
  const size_t nQuery = s.find('?', nStart);
  return s.substr(nStart, nQuery == std::string_view::npos ? std::string_view::npos : nQuery - nStart).find('@') !=
         std::string_view::npos;
}

constexpr std::string_view kHidden = "***";

void ReplaceAll(std::string& s, std::string_view sFrom, std::string_view sTo) {
  if (sFrom.empty()) return;
  for (size_t n = s.find(sFrom); n != std::string::npos; n = s.find(sFrom, n + sTo.size())) {
    s.replace(n, sFrom.size(), sTo);
  }
}

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// Database settings, read the same way by every host set and backend.
std::string_view RefusalOfDatabase(std::string_view s) {
  if (const size_t nScheme = SchemeLength(s); nScheme > 0) {
    if (!IsPostgresScheme(s.substr(0, nScheme))) {
      return "the database setting is a URI, and postgresql:// (or postgres://) is the only kind of URI a database "
             "can be reached by";
    }
    if (HoldsStrayAt(s)) {
      return "the PostgreSQL connection URI holds an \"@\" after its user information: write an \"@\" or \"/\" of a "
             "user name or password as %40 or %2F";
    }
    return {};
  }
  if (StartsWithKeyword(s)) return {};
  for (size_t i = 0; i < s.size(); ++i) {
    if (static_cast<unsigned char>(s[i]) < 0x20 || s[i] == 0x7f) {
      return "the database setting holds a control character, which no database file name has";
    }
    if (IsBlank(s[i]) && KeywordAt(s, i + 1)) {
      return "the database setting holds keyword=value pairs, as a PostgreSQL connection string does, but it does "
             "not start with one";
    }
  }
  return {};
}

DatabaseKind KindOfDatabase(std::string_view s) {
  if (!RefusalOfDatabase(s).empty()) return DatabaseKind::kRefused;
  if (SchemeLength(s) > 0) return DatabaseKind::kPostgresUri;
  return StartsWithKeyword(s) ? DatabaseKind::kPostgresKeywords : DatabaseKind::kSqliteFile;
}

std::string HiddenDatabase(std::string_view s) {
  const size_t nScheme = SchemeLength(s);
  return std::string(s.substr(0, nScheme > 0 ? nScheme + 3 : 0)).append(kHidden);
}

std::string RedactedDatabase(std::string_view s) {
  switch (KindOfDatabase(s)) {
    case DatabaseKind::kSqliteFile:
      return std::string(s);
    case DatabaseKind::kPostgresUri:
    case DatabaseKind::kPostgresKeywords:
      return RedactedPostgres(s);
    case DatabaseKind::kRefused:
      break;
  }
  return HiddenDatabase(s);
}

void HideSecret(std::string& sText, std::string_view sTarget, std::string_view sSecret) {
  if (sSecret.empty()) return;
  // Every text of the target that reads as the secret, longest first, so
  // that a form holding another is hidden whole.
  std::vector<std::string> aForms{std::string(sSecret)};
  for (size_t nStart = 0; nStart < sTarget.size(); ++nStart) {
    size_t nAt = nStart, nRead = 0;
    while (nRead < sSecret.size() && nAt < sTarget.size()) {
      char c = sTarget[nAt];
      size_t nLength = 1;
      if (c == '%' && nAt + 2 < sTarget.size() && HexDigit(sTarget[nAt + 1]) >= 0 && HexDigit(sTarget[nAt + 2]) >= 0) {
        c = static_cast<char>(HexDigit(sTarget[nAt + 1]) * 16 + HexDigit(sTarget[nAt + 2]));
        nLength = 3;
      } else if (c == '\\' && nAt + 1 < sTarget.size()) {
        c = sTarget[nAt + 1];
        nLength = 2;
      }
      if (c != sSecret[nRead]) break;
      nAt += nLength;
      ++nRead;
    }
    if (nRead == sSecret.size()) aForms.emplace_back(sTarget.substr(nStart, nAt - nStart));
  }
  std::sort(aForms.begin(), aForms.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& sForm : aForms) ReplaceAll(sText, sForm, kHidden);
}

PortableSql::PortableSql(std::string sDatabase, FileSystem& files)
    : sDatabase_(std::move(sDatabase)), files_(files), onUnhandled_(PrintError) {}

PortableSql::~PortableSql() = default;

PortableSql::Entry* PortableSql::Find(SqlHandle hSql) {
  const auto it = aHandles_.find(hSql.nValue);
  return it == aHandles_.end() ? nullptr : &it->second;
}
const PortableSql::Entry* PortableSql::Find(SqlHandle hSql) const {
  const auto it = aHandles_.find(hSql.nValue);
  return it == aHandles_.end() ? nullptr : &it->second;
}

std::string PortableSql::BackendOf(SqlHandle hSql) const {
  const Entry* p = Find(hSql);
  return p == nullptr ? std::string() : std::string(p->pConn->BackendName());
}
bool PortableSql::InUse(SqlHandle hSql) const {
  const Entry* p = Find(hSql);
  return p != nullptr && p->bInUse;
}
int64_t PortableSql::HandleOptions(SqlHandle hSql) const {
  const Entry* p = Find(hSql);
  return p == nullptr ? 0 : p->nOptions;
}

void PortableSql::SetErrorReporter(std::function<void(const SqlError&)> fn) {
  onUnhandled_ = fn ? std::move(fn) : PrintError;
}

bool PortableSql::Report(SqlError error) {
  lastError_ = std::move(error);
  if (onError_ && onError_(lastError_) == kSqlErrorHandled) return false;
  onUnhandled_(lastError_);
  return false;
}

bool PortableSql::UnknownHandle(SqlHandle hSql) {
  return Report(SqlError{hSql, 0, "not a connected SQL handle: " + std::to_string(hSql.nValue)});
}

void PortableSql::AppendLog(const std::string& sLog, bool& bWarned, std::string_view sLine) {
  if (sLog.empty()) return;
  FileHandle hFile;
  if (files_.Open(hFile, sLog, kOpenAppend) && files_.PutLine(hFile, sLine) && files_.Close(hFile)) return;
  if (!bWarned) std::fprintf(stderr, "quorvane: cannot write to the log %s\n", sLog.c_str());
  bWarned = true;
}

void PortableSql::SetLogFiles(std::string_view sSqlProfileLog, std::string_view sPerformanceLog) {
  sSqlProfileLog_ = std::string(sSqlProfileLog);
  sPerformanceLog_ = std::string(sPerformanceLog);
  bSqlProfileWarned_ = bPerformanceWarned_ = false;
  // Say at once when a log that was switched on cannot be written.
  for (auto [pLog, pWarned] :
       {std::pair{&sSqlProfileLog_, &bSqlProfileWarned_}, std::pair{&sPerformanceLog_, &bPerformanceWarned_}}) {
    FileHandle hFile;
    if (pLog->empty()) continue;
    if (files_.Open(hFile, *pLog, kOpenAppend)) {
      files_.Close(hFile);
    } else {
      std::fprintf(stderr, "quorvane: the log %s cannot be written: nothing will be logged there\n", pLog->c_str());
      *pWarned = true;
    }
  }
}

bool PortableSql::Connect(SqlHandle& hSql) {
  const auto tStart = std::chrono::steady_clock::now();
  SqlError error;
  std::unique_ptr<SqlConnection> pConn;
  switch (KindOfDatabase(sDatabase_)) {
    case DatabaseKind::kSqliteFile:
      pConn = OpenSqlite(sDatabase_, error);
      break;
    case DatabaseKind::kPostgresUri:
    case DatabaseKind::kPostgresKeywords:
      pConn = OpenPostgres(sDatabase_, error);
      break;
    case DatabaseKind::kRefused:
      error.sText = std::string(RefusalOfDatabase(sDatabase_));
      break;
  }
  const std::string sElapsed = Elapsed(std::chrono::steady_clock::now() - tStart);
  if (pConn == nullptr) {
    AppendLog(sPerformanceLog_, bPerformanceWarned_, "Connect failed\t" + sElapsed);
    return Report(std::move(error));
  }
  const SqlHandle hNew{gnNextHandle.fetch_add(1)};
  const std::string sBackend(pConn->BackendName());
  aHandles_[hNew.nValue].pConn = std::move(pConn);
  hSql = hNew;
  AppendLog(sPerformanceLog_, bPerformanceWarned_,
            "Connect\t" + std::to_string(hNew.nValue) + "\t" + sBackend + "\t" + sElapsed);
  return true;
}

bool PortableSql::Disconnect(SqlHandle hSql) {
  const auto it = aHandles_.find(hSql.nValue);
  if (it == aHandles_.end()) return UnknownHandle(hSql);
  const auto tStart = std::chrono::steady_clock::now();
  aHandles_.erase(it);  // closes the connection; an open transaction is rolled back
  AppendLog(sPerformanceLog_, bPerformanceWarned_,
            "Disconnect\t" + std::to_string(hSql.nValue) + "\t" + Elapsed(std::chrono::steady_clock::now() - tStart));
  return true;
}

bool PortableSql::Execute(SqlHandle hSql, std::string_view sStatement, SqlRows* pRows) {
  Entry* p = Find(hSql);
  if (p == nullptr) return UnknownHandle(hSql);
  AppendLog(sSqlProfileLog_, bSqlProfileWarned_, std::to_string(hSql.nValue) + "\t" + OneLine(sStatement));
  SqlError error{hSql, 0, {}};
  if (!p->pConn->Execute(sStatement, pRows, error)) return Report(std::move(error));
  return true;
}

bool PortableSql::SetIsolationLevel(SqlHandle hSql, std::string_view sLevel) {
  Entry* p = Find(hSql);
  if (p == nullptr) return UnknownHandle(hSql);
  SqlError error{hSql, 0, {}};
  if (!p->pConn->SetIsolationLevel(sLevel, error)) return Report(std::move(error));
  return true;
}

bool PortableSql::GetParameter(SqlHandle hSql, int64_t nParameter, Number& nValue, String& sText) {
  Entry* p = Find(hSql);
  if (p == nullptr) return UnknownHandle(hSql);
  if (nParameter == kParameterBrand) {
    nValue = Number(p->pConn->BrandCode());
    sText = String(p->pConn->BackendName());
    return true;
  }
  const auto it = p->aParameters.find(nParameter);
  nValue = it == p->aParameters.end() ? Number(0) : it->second.first;
  sText = it == p->aParameters.end() ? String() : it->second.second;
  return true;
}

bool PortableSql::SetParameter(SqlHandle hSql, int64_t nParameter, Number nValue, std::string_view sText) {
  Entry* p = Find(hSql);
  if (p == nullptr) return UnknownHandle(hSql);
  if (nParameter == kParameterBrand) return Report(SqlError{hSql, 0, "database parameter 2 (the brand) is read-only"});
  if (nParameter == kParameterTimeout) {
    SqlError error{hSql, 0, {}};
    if (!p->pConn->SetLockTimeout(nValue.AsInt64(), error)) return Report(std::move(error));
  }
  p->aParameters[nParameter] = {nValue, String(sText)};
  return true;
}

bool PortableSql::SetHandleOption(SqlHandle hSql, int64_t nOption) {
  Entry* p = Find(hSql);
  if (p == nullptr) return UnknownHandle(hSql);
  p->nOptions |= nOption;
  return true;
}

bool PortableSql::ClearHandleOption(SqlHandle hSql, int64_t nOption) {
  Entry* p = Find(hSql);
  if (p == nullptr) return UnknownHandle(hSql);
  // Option 0 stands for all of them.
  p->nOptions = nOption == 0 ? 0 : (p->nOptions & ~nOption);
  return true;
}

bool PortableSql::BrandSetup(SqlHandle hSql) { return Find(hSql) != nullptr || UnknownHandle(hSql); }

bool PortableSql::BeginUse(SqlHandle hSql) {
  Entry* p = Find(hSql);
  if (p == nullptr) return UnknownHandle(hSql);
  p->bInUse = true;
  return true;
}

bool PortableSql::EndUse(SqlHandle hSql) {
  Entry* p = Find(hSql);
  if (p == nullptr) return UnknownHandle(hSql);
  p->bInUse = false;
  // A transaction the borrower left open is not handed to the next one.
  SqlError error{hSql, 0, {}};
  if (!p->pConn->EndTransaction(error)) return Report(std::move(error));
  return true;
}

Sql::ErrorHandler PortableSql::SetErrorHandler(ErrorHandler fn) {
  ErrorHandler previous = std::move(onError_);
  onError_ = std::move(fn);
  return previous;
}

}  // namespace qv
