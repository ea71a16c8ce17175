// SPDX-License-Identifier: Apache-2.0
// The portable host's SQL layer behind qv::Sql: handles over SQLite or
// PostgreSQL connections, the backend chosen at each connect by the
// database setting, the error-handler protocol, and the SQL profile and
// performance logs.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/host.h"
#include "host/sql/sql_backend.h"

namespace qv {

class PortableSql final : public Sql {
 public:
  // sDatabase: a PostgreSQL connection string or the path of an SQLite
  // database file, as KindOfDatabase reads it; a connect to a setting that
  // is neither fails.  Log files are appended through files.
  PortableSql(std::string sDatabase, FileSystem& files);
  ~PortableSql() override;
  PortableSql(const PortableSql&) = delete;
  PortableSql& operator=(const PortableSql&) = delete;

  void SetDatabase(std::string sDatabase) { sDatabase_ = std::move(sDatabase); }
  const std::string& Database() const { return sDatabase_; }
  // The backend name ("sqlite", "postgresql") of a connected handle, "" for none.
  std::string BackendOf(SqlHandle hSql) const;
  size_t OpenHandleCount() const { return aHandles_.size(); }
  // Whether a borrower is using the handle (between BeginUse and EndUse).
  bool InUse(SqlHandle hSql) const;
  int64_t HandleOptions(SqlHandle hSql) const;
  // How the host reports an SQL error that no handler has dealt with; the
  // default (and an empty fn) prints it to stderr.
  void SetErrorReporter(std::function<void(const SqlError&)> fn);

  bool Connect(SqlHandle& hSql) override;
  bool Disconnect(SqlHandle hSql) override;
  bool Execute(SqlHandle hSql, std::string_view sStatement, SqlRows* pRows) override;
  bool SetIsolationLevel(SqlHandle hSql, std::string_view sLevel) override;
  bool GetParameter(SqlHandle hSql, int64_t nParameter, Number& nValue, String& sText) override;
  bool SetParameter(SqlHandle hSql, int64_t nParameter, Number nValue, std::string_view sText) override;
  bool SetHandleOption(SqlHandle hSql, int64_t nOption) override;
  bool ClearHandleOption(SqlHandle hSql, int64_t nOption) override;
  bool BrandSetup(SqlHandle hSql) override;
  bool BeginUse(SqlHandle hSql) override;
  bool EndUse(SqlHandle hSql) override;
  ErrorHandler SetErrorHandler(ErrorHandler fn) override;
  SqlError LastError() override { return lastError_; }
  void SetLogFiles(std::string_view sSqlProfileLog, std::string_view sPerformanceLog) override;

 private:
  struct Entry {
    std::unique_ptr<SqlConnection> pConn;
    bool bInUse = false;
    int64_t nOptions = 0;
    std::map<int64_t, std::pair<Number, String>> aParameters;
  };
  Entry* Find(SqlHandle hSql);
  const Entry* Find(SqlHandle hSql) const;
  // Records the error and reports it: to the armed handler, else (or when
  // the handler leaves it to the host) to the reporter.  Returns FALSE.
  bool Report(SqlError error);
  bool UnknownHandle(SqlHandle hSql);
  void AppendLog(const std::string& sLog, bool& bWarned, std::string_view sLine);

  std::string sDatabase_;
  FileSystem& files_;
  std::map<uintptr_t, Entry> aHandles_;
  ErrorHandler onError_;
  std::function<void(const SqlError&)> onUnhandled_;
  SqlError lastError_;
  std::string sSqlProfileLog_, sPerformanceLog_;
  bool bSqlProfileWarned_ = false, bPerformanceWarned_ = false;
};

}  // namespace qv
