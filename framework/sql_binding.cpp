// SPDX-License-Identifier: Apache-2.0
#include "framework/sql_binding.h"

#include "core/rt_string.h"
#include "core/runtime.h"
#include "framework/database_brand.h"
#include "framework/sql_handles.h"
#include "framework/window_services.h"

namespace qv {
namespace {

// How much of an item's name GetColumnName takes from the first kept
// character on.
constexpr int64_t kColumnNameLength = 32000;

// The shared work of the two list builders; sDefaultBindVar supplies the bind
// variable when sBindVar is empty.
template <class DefaultBindVar>
void AppendToBindList(Number nMode, String& sList, String& sBindList, std::string_view sColumn,
                      std::string_view sBindVar, DefaultBindVar sDefaultBindVar) {
  const bool bAssignment = nMode == Number(3);
  if (!sColumn.empty() && (nMode == Number(2) || bAssignment)) {
    const int64_t nDot = RtStrScan(sColumn, ".");
    if (nDot >= 0) sColumn = RtStrMidView(sColumn, nDot + 1, RtStrLength(sColumn));
  }
  String sDefault;
  if (sBindVar.empty()) {
    sDefault = sDefaultBindVar();
    sBindVar = sDefault;
  }

  sList += sList.empty() ? " " : ", ";
  sList += sColumn;
  if (bAssignment) {
    sList += " = ";
    sList += sBindVar;
    return;
  }
  if (!sBindList.empty()) sBindList += ", ";
  sBindList += sBindVar;
}

}  // namespace

void RegisterSqlBindVariables(Module& m, std::vector<BindVariable>& aTable) {
  SqlPoolVars& pool = SqlPoolClassVars(m);
  DatabaseBrandVars& brand = DatabaseBrandClassVars(m);
  aTable.insert(aTable.end(), {
                                  {"__th", &pool.th},
                                  {"hSqlCurrent", &pool.hSqlCurrent},
                                  {"cv_bFirstConnect", &pool.cv_bFirstConnect},
                                  {"cv_hSqlResource", &pool.cv_hSqlResource},
                                  {"cv_bhSqlLocked", &pool.cv_bhSqlLocked},
                                  {"cv_hSqlNULL", &pool.cv_hSqlNULL},
                                  {"cv_nHandleWarningLevel", &pool.cv_nHandleWarningLevel},
                                  {"cv_bFirstConnect", &brand.cv_bFirstConnect},
                                  {"cv_bInitialized", &pool.cv_bInitialized},
                                  {"cv_nDBMSBrand", &brand.cv_nDBMSBrand},
                              });
}

String GetColumnName(Module& m) {
  const String sName = RtGetItemName(m, RtCurrentItem(m));
  const int64_t n = RtStrLength(sName);
  // Lower-case letters and "_" are the prefix; the first other character
  // (or the end of the name, which yields the empty text) starts the result.
  for (int64_t i = 0; i <= n; ++i) {
    const std::string_view c = RtStrMidView(sName, i, 1);
    if (RtStrUpper(c) == c && c != "_") return RtStrUpper(RtStrMidView(sName, i, kColumnNameLength));
  }
  return String();
}

// The bind variables are appended to ":" rather than concatenated with it:
// GCC 12 at -O3 warns falsely (-Wrestrict) on ":" + std::string.
String GetFieldBindVar(Module& m) {
  String sBindVar = ":";
  sBindVar += RtGetItemName(m, RtCurrentItem(m));
  return sBindVar;
}

String GetColumnBindVar(Module& m) {
  const WindowHandle hItem = RtCurrentItem(m);
  String sBindVar = ":";
  if (IsTableWindow(m, RtGetParent(m, hItem))) {
    sBindVar += RtGetItemName(m, RtCurrentForm(m));
    sBindVar += ".";
  }
  sBindVar += RtGetItemName(m, hItem);
  return sBindVar;
}

Number BuildColumnBindList(Module& m, Number nMode, String& sList, String& sBindList, std::string_view sColumn,
                           std::string_view sBindVar) {
  AppendToBindList(nMode, sList, sBindList, sColumn, sBindVar, [&m] { return GetColumnBindVar(m); });
  return Number::Null();
}

Number BuildFieldBindList(Module& m, std::string_view sColumn, std::string_view sBindVar, String& sList,
                          String& sBindList, Number nMode) {
  AppendToBindList(nMode, sList, sBindList, sColumn, sBindVar, [&m] { return GetFieldBindVar(m); });
  return Number::Null();
}

}  // namespace qv
