// SPDX-License-Identifier: Apache-2.0
// The host runtime's SQL operations, under the runtime's names.  Each takes
// the Module whose host serves the call.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/module.h"

namespace qv {

inline bool RtSqlConnect(Module& m, SqlHandle& hSql) { return m.Db().Connect(hSql); }
inline bool RtSqlDisconnect(Module& m, SqlHandle hSql) { return m.Db().Disconnect(hSql); }
inline bool RtSqlExecute(Module& m, SqlHandle hSql, std::string_view sStatement) {
  return m.Db().Execute(hSql, sStatement, nullptr);
}
inline bool RtSqlSetIsolationLevel(Module& m, SqlHandle hSql, std::string_view sLevel) {
  return m.Db().SetIsolationLevel(hSql, sLevel);
}
inline bool RtSqlGetParameter(Module& m, SqlHandle hSql, int64_t nParameter, Number& nValue, String& sText) {
  return m.Db().GetParameter(hSql, nParameter, nValue, sText);
}
inline bool RtSqlSetParameter(Module& m, SqlHandle hSql, int64_t nParameter, Number nValue, std::string_view sText) {
  return m.Db().SetParameter(hSql, nParameter, nValue, sText);
}
inline bool RtSqlSetHandleOption(Module& m, SqlHandle hSql, int64_t nOption) {
  return m.Db().SetHandleOption(hSql, nOption);
}
inline bool RtSqlClearHandleOption(Module& m, SqlHandle hSql, int64_t nOption) {
  return m.Db().ClearHandleOption(hSql, nOption);
}
inline bool RtSqlBrandSetup(Module& m, SqlHandle hSql) { return m.Db().BrandSetup(hSql); }
inline bool RtSqlBeginUse(Module& m, SqlHandle hSql) { return m.Db().BeginUse(hSql); }
inline bool RtSqlEndUse(Module& m, SqlHandle hSql) { return m.Db().EndUse(hSql); }

// Arms an SQL error handler for as long as the object lives, and restores
// the one it replaced afterwards.
class SqlErrorScope {
 public:
  SqlErrorScope(Module& m, Sql::ErrorHandler fn) : m_(m), previous_(m.Db().SetErrorHandler(std::move(fn))) {}
  ~SqlErrorScope() { m_.Db().SetErrorHandler(std::move(previous_)); }
  SqlErrorScope(const SqlErrorScope&) = delete;
  SqlErrorScope& operator=(const SqlErrorScope&) = delete;

 private:
  Module& m_;
  Sql::ErrorHandler previous_;
};

}  // namespace qv
