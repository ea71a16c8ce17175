// SPDX-License-Identifier: Apache-2.0
#include "framework/sql_handles.h"

#include <cmath>

#include "core/rt_sql.h"
#include "core/rt_string.h"
#include "framework/bldblock_profile.h"
#include "framework/database_brand.h"
#include "framework/display_msg.h"

namespace qv {
namespace {

// The upper bound of the pool: its highest slot, -1 when it is empty.
int64_t UpperBound(Module& m) {
  Number nLower;
  Number nUpper;
  RtArrayBounds(SqlPoolClassVars(m).cv_hSqlResource, nLower, nUpper);
  return nUpper.AsInt64();
}

// Connects a handle under the SQL error handler: FALSE when the connect
// fails or reports an SQL error.
bool ConnectUnderHandler(Module& m, SqlHandle& hSql) {
  bool bResult = true;
  SqlErrorScope scope(m, [&bResult](const SqlError&) { return SqlConnectErrorHandler(bResult); });
  if (!RtSqlConnect(m, hSql)) bResult = false;
  return bResult;
}

}  // namespace

int32_t SqlConnectErrorHandler(bool& bResult) {
  bResult = false;
  return kSqlErrorHandled;
}

int32_t BLC_ManageSqlHandles::OnConnectSqlError(Module& /*m*/, SqlHandle /*hSql*/, bool& bResult) {
  return SqlConnectErrorHandler(bResult);
}

bool BLC_ManageSqlHandles::GetSqlHandle(Module& m, SqlHandle& hSql) {
  SqlPoolVars& cv = SqlPoolClassVars(m);
  VC_DisplayMsg oMsg;
  if (!cv.cv_bInitialized) {
    InitSqlHandle(m);
    cv.cv_bInitialized = true;
  }
  if (cv.cv_bFirstConnect) {
    if (ConnectSqlHandle(m)) {
      cv.cv_bhSqlLocked.Set(0, true);
      hSql = cv.cv_hSqlResource.Get(0);
      return true;
    }
    oMsg.DisplaySystemMsg(m, Number(kMsgLoginError), Number(0));
    return false;
  }
  const int64_t nUpper = UpperBound(m);
  for (int64_t i = 0; i <= nUpper; ++i) {
    if (!cv.cv_bhSqlLocked.Get(i)) {
      if (cv.cv_hSqlResource.Get(i) == cv.cv_hSqlNULL && !ReConnectSqlHandle(m, Number(i))) {
        oMsg.DisplaySystemMsg(m, Number(kMsgNoFreeSqlHandles), Number(0));
        return false;
      }
      hSql = cv.cv_hSqlResource.Get(i);
      cv.cv_bhSqlLocked.Set(i, true);
      RtSqlBeginUse(m, hSql);
      return true;
    }
    if (i < nUpper) continue;
    // Every slot is in use: the pool grows by one.
    if (!ConnectSqlHandle(m)) {
      oMsg.DisplaySystemMsg(m, Number(kMsgNoFreeSqlHandles), Number(0));
      return false;
    }
    cv.cv_bhSqlLocked.Set(nUpper + 1, true);
    hSql = cv.cv_hSqlResource.Get(nUpper + 1);
    if (Number(nUpper + 1) > cv.cv_nHandleWarningLevel) {
      oMsg.DisplaySystemMsg(m, Number(kMsgAboveWarningLevel), Number(0));
    }
    return true;
  }
  return false;
}

bool BLC_ManageSqlHandles::ReleaseSqlHandle(Module& m, SqlHandle hSql) {
  SqlPoolVars& cv = SqlPoolClassVars(m);
  if (hSql == cv.cv_hSqlNULL) return false;
  const int64_t nUpper = UpperBound(m);
  for (int64_t i = 0; i <= nUpper; ++i) {
    if (cv.cv_hSqlResource.Get(i) != hSql) continue;
    RtSqlEndUse(m, hSql);
    cv.cv_bhSqlLocked.Set(i, false);
    if (i > 0) {
      RtSqlDisconnect(m, hSql);
      cv.cv_hSqlResource.Set(i, cv.cv_hSqlNULL);
    }
    return true;
  }
  return false;
}

bool BLC_ManageSqlHandles::ConnectSqlHandle(Module& m) {
  SqlPoolVars& cv = SqlPoolClassVars(m);
  const int64_t nUpper = UpperBound(m);
  SqlHandle hSql;
  if (!ConnectUnderHandler(m, hSql)) return false;
  if (nUpper == 0 && cv.cv_hSqlResource.Get(0) == cv.cv_hSqlNULL) {
    SetSqlHandle(m, hSql, true);
    cv.cv_hSqlResource.Set(0, hSql);
    cv.cv_bhSqlLocked.Set(0, false);
    cv.cv_bFirstConnect = false;
  } else {
    SetSqlHandle(m, hSql, false);
    cv.cv_hSqlResource.Set(nUpper + 1, hSql);
    cv.cv_bhSqlLocked.Set(nUpper + 1, false);
  }
  return true;
}

bool BLC_ManageSqlHandles::ReConnectSqlHandle(Module& m, Number nSlot) {
  SqlPoolVars& cv = SqlPoolClassVars(m);
  // A slot number that names no slot would lose the new connection.
  if (nSlot.IsNull() || nSlot.Value() < 0 || nSlot.Value() != std::floor(nSlot.Value())) return false;
  const int64_t n = nSlot.AsInt64();
  SqlHandle hSql;
  if (!ConnectUnderHandler(m, hSql)) return false;
  SetSqlHandle(m, hSql, false);
  cv.cv_hSqlResource.Set(n, hSql);
  cv.cv_bhSqlLocked.Set(n, false);
  return true;
}

Number BLC_ManageSqlHandles::SetSqlHandle(Module& m, SqlHandle hSql, bool bFirst) {
  BLC_DatabaseBrand oBrand;
  if (bFirst) oBrand.SetDBMSBrand(m, hSql);
  const auto Parameter = [&](int64_t nParameter, int64_t nValue) {
    RtSqlSetParameter(m, hSql, nParameter, Number(nValue), "");
  };
  switch (oBrand.CurrentDBMSBrand(m).AsInt()) {
    case 1:
      if (bFirst) RtSqlSetIsolationLevel(m, hSql, "RL");
      RtSqlSetHandleOption(m, hSql, -1);
      break;
    case 2:
    case 3:
    case 7:
      if (bFirst) RtSqlSetIsolationLevel(m, hSql, "CS");
      break;
    case 4:
    case 28:
      RtSqlSetHandleOption(m, hSql, -1);
      break;
    case 5:
      Parameter(5, 600);
      break;
    case 8:
      Parameter(5, 0);
      Parameter(1, 0);
      break;
    case 10:
      Parameter(5, 60);
      if (bFirst) RtSqlSetIsolationLevel(m, hSql, "RL");
      break;
    case 15:
      RtSqlBrandSetup(m, hSql);
      RtSqlExecute(m, hSql, "SET LOCKMODE SESSION WHERE READLOCK = NOLOCK");
      break;
    case 24:
      Parameter(5, 600);
      if (bFirst) RtSqlSetIsolationLevel(m, hSql, "RL");
      break;
    default:
      break;
  }
  RtSqlClearHandleOption(m, hSql, 0);
  RtSqlBeginUse(m, hSql);
  return Number::Null();
}

Number BLC_ManageSqlHandles::InitSqlHandle(Module& m) {
  SqlPoolVars& cv = SqlPoolClassVars(m);
  cv.cv_hSqlResource.Set(0, cv.cv_hSqlNULL);
  cv.cv_bhSqlLocked.Set(0, false);
  cv.cv_nHandleWarningLevel = Number(kHandleWarningLevel);
  cv.cv_bFirstConnect = true;
  VC_BldBlockProfile oProfile;
  oProfile.LoadBldBlockProfile(m);
  return Number::Null();
}

bool BLC_ManageSqlHandles::DisconnectSqlHandles(Module& m) {
  SqlPoolVars& cv = SqlPoolClassVars(m);
  const int64_t nUpper = UpperBound(m);
  bool bResult = false;
  for (int64_t i = 0; i <= nUpper; ++i) {
    const SqlHandle hSql = cv.cv_hSqlResource.Get(i);
    if (hSql == cv.cv_hSqlNULL) continue;
    RtSqlDisconnect(m, hSql);
    cv.cv_hSqlResource.Set(i, cv.cv_hSqlNULL);
    cv.cv_bhSqlLocked.Set(i, false);
    bResult = true;
  }
  RtSetArrayBounds(cv.cv_hSqlResource, -1, -1);
  InitSqlHandle(m);
  return bResult;
}

Number BLC_ManageSqlHandles::GetDBMSBrand(Module& m) {
  BLC_DatabaseBrand oBrand;
  return oBrand.CurrentDBMSBrand(m);
}

}  // namespace qv
