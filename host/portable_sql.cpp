#include "host/portable_sql.h"

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

}  // namespace

// Database settings, read the same way by every host set and backend.
bool IsPostgresUri(std::string_view sDatabase) {
  return sDatabase.starts_with("postgresql://") || sDatabase.starts_with("postgres://");
}

namespace {

// Where the passwords of a connection URI are: the password of its user
// information and the value of each password parameter, in order.
std::vector<std::pair<size_t, size_t>> PasswordSpans(std::string_view s) {
  std::vector<std::pair<size_t, size_t>> aSpans;
  if (!IsPostgresUri(s)) return aSpans;
  // user:password@ in the authority (the text up to the first "/", "?" or
  // "#" after "://"); the last "@" ends the user information.
  const size_t nStart = s.find("://") + 3;
  const size_t nEnd = std::min(s.find_first_of("/?#", nStart), s.size());
  const size_t nAt = s.rfind('@', nEnd == 0 ? 0 : nEnd - 1);
  if (nAt != std::string_view::npos && nAt >= nStart) {
    const size_t nColon = s.find(':', nStart);
    if (nColon < nAt) aSpans.emplace_back(nColon + 1, nAt - nColon - 1);
  }
  // password=... among the query parameters.
  constexpr std::string_view kKey = "password=";
  for (size_t nQuery = s.find('?'); nQuery != std::string_view::npos; nQuery = s.find('&', nQuery + 1)) {
    const size_t nParam = nQuery + 1;
    const size_t nNext = std::min(s.find_first_of("&#", nParam), s.size());
    if (s.substr(nParam, nNext - nParam).starts_with(kKey)) {
      aSpans.emplace_back(nParam + kKey.size(), nNext - nParam - kKey.size());
    }
  }
  return aSpans;
}

constexpr std::string_view kHidden = "***";

void ReplaceAll(std::string& s, std::string_view sFrom, std::string_view sTo) {
  if (sFrom.empty()) return;
  for (size_t n = s.find(sFrom); n != std::string::npos; n = s.find(sFrom, n + sTo.size())) {
    s.replace(n, sFrom.size(), sTo);
  }
}

}  // namespace

std::string RedactedDatabase(std::string_view sDatabase) {
  std::string s(sDatabase);
  const auto aSpans = PasswordSpans(sDatabase);
  for (auto it = aSpans.rbegin(); it != aSpans.rend(); ++it) s.replace(it->first, it->second, kHidden);
  return s;
}

std::string RedactedError(std::string_view sText, std::string_view sDatabase) {
  std::string s(sText);
  ReplaceAll(s, sDatabase, RedactedDatabase(sDatabase));
  for (const auto& [nPos, nSize] : PasswordSpans(sDatabase)) {
    if (nSize == 0) continue;
    std::string sQuoted(1, '"');
    sQuoted.append(sDatabase.substr(nPos, nSize)).push_back('"');
    ReplaceAll(s, sQuoted, "\"***\"");
  }
  return s;
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
  std::unique_ptr<SqlConnection> pConn = IsPostgresUri(sDatabase_) ? OpenPostgres(sDatabase_, error)
                                                                   : OpenSqlite(sDatabase_, error);
  const std::string sElapsed = Elapsed(std::chrono::steady_clock::now() - tStart);
  if (pConn == nullptr) {
    AppendLog(sPerformanceLog_, bPerformanceWarned_, "Connect failed\t" + sElapsed);
    error.sText = RedactedError(error.sText, sDatabase_);
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
