// SPDX-License-Identifier: Apache-2.0
// BLC_ManageSqlHandles: the application's pool of SQL handles.
//
// Slot 0 is connected on first use and stays connected; every other slot
// is connected when it is needed and disconnected when its handle comes
// back.  The pool grows by one slot whenever every slot is in use, and
// warns (system message 5) when it grows past the warning level.  Each new
// connection is configured for the current database brand.
//
// The class variables are SQL bind variables (see framework/sql_binding.h).
// No function uses its instance except to pass it on.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/module.h"
#include "core/object.h"

namespace qv {

inline constexpr int64_t kHandleWarningLevel = 10;

// The pool's class variables, and the two module-level SQL variables that
// statements may bind (__th and hSqlCurrent).
struct SqlPoolVars : ModuleSlot {
  Number th;  // __th
  SqlHandle hSqlCurrent;
  bool cv_bFirstConnect = false;
  DynArray<SqlHandle> cv_hSqlResource;
  DynArray<bool> cv_bhSqlLocked;
  SqlHandle cv_hSqlNULL;
  Number cv_nHandleWarningLevel;
  bool cv_bInitialized = false;
};
inline SqlPoolVars& SqlPoolClassVars(Module& m) { return m.Slot<SqlPoolVars>(); }

class BLC_ManageSqlHandles : public Object {
 public:
  std::string_view ClassName() const override { return "BLC_ManageSqlHandles"; }

  // Hands out a handle in hSql and marks it in use; FALSE (with system
  // message 15 or 26) when no handle could be had.
  bool GetSqlHandle(Module& m, SqlHandle& hSql);
  // Gives a handle back; FALSE for the empty-slot value or a handle that
  // is not in the pool.
  bool ReleaseSqlHandle(Module& m, SqlHandle hSql);
  // Connects a new handle into slot 0 (first connection) or behind the
  // last slot.  FALSE when the connect fails.
  bool ConnectSqlHandle(Module& m);
  // Connects a new handle into slot nSlot.  FALSE when the connect fails.
  bool ReConnectSqlHandle(Module& m, Number nSlot);
  // Configures hSql for the current brand (bFirst: reads the brand from
  // hSql first).  Result: null.
  Number SetSqlHandle(Module& m, SqlHandle hSql, bool bFirst);
  // Resets slot 0 and the warning level, and loads the framework profile.
  // Result: null.
  Number InitSqlHandle(Module& m);
  // Disconnects every pooled handle, handed out or not, and resets the
  // pool.  TRUE when at least one handle was disconnected.
  bool DisconnectSqlHandles(Module& m);
  Number GetDBMSBrand(Module& m);
  // The SQL error handler of the connects of ConnectSqlHandle and
  // ReConnectSqlHandle, as the host calls it: the handle in error and the
  // connecting function's result, which it sets to FALSE.  Answers the host
  // that the error is handled.
  int32_t OnConnectSqlError(Module& m, SqlHandle hSql, bool& bResult);
};

// The SQL error handler armed around the connect of ConnectSqlHandle and of
// ReConnectSqlHandle: sets the connecting function's result to FALSE and
// answers the host that the error is handled.
int32_t SqlConnectErrorHandler(bool& bResult);

}  // namespace qv
