// SPDX-License-Identifier: Apache-2.0
#include "framework/database_brand.h"

#include "core/rt_sql.h"
#include "framework/display_msg.h"

namespace qv {

Number BLC_DatabaseBrand::SetDBMSBrand(Module& m, SqlHandle hSql) {
  Number& cv_nDBMSBrand = DatabaseBrandClassVars(m).cv_nDBMSBrand;
  VC_DisplayMsg oMsg;
  cv_nDBMSBrand = Number(0);
  Number nBrand(0);
  String sUnused;
  RtSqlGetParameter(m, hSql, kBrandParameter, nBrand, sUnused);
  cv_nDBMSBrand = nBrand.IsNull() ? Number(0) : nBrand;  // no answer is no brand
  if (cv_nDBMSBrand == Number(0)) oMsg.DisplaySystemMsg(m, Number(kMsgBrandNotFound), Number(0));
  if (cv_nDBMSBrand == Number(34)) cv_nDBMSBrand = Number(24);
  return Number::Null();
}

Number BLC_DatabaseBrand::CurrentDBMSBrand(Module& m) { return DatabaseBrandClassVars(m).cv_nDBMSBrand; }

bool BLC_DatabaseBrand::IsDBMSBrand(Module& m, Number nBrand) {
  return nBrand == DatabaseBrandClassVars(m).cv_nDBMSBrand;
}

}  // namespace qv
