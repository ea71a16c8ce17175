// SPDX-License-Identifier: Apache-2.0
// SQL in the C interface: statements on a handle with their rows handed to
// the caller, the last database error and the reporter of the errors that
// nobody else deals with, over the process host's database layer.
#include <string>
#include <vector>

#include "core/rt_sql.h"
#include "exports/abi.h"
#include "exports/process.h"

using qv::abi::NewString;
using qv::abi::TheHost;

namespace {

// A text of the layer as the caller sees it.
QvSqlValue Value(const std::string& s) { return QvSqlValue{s.c_str(), s.size(), 0}; }

// Hands the rows to the handler: the names first, then each row.
void Deliver(const qv::SqlRows& rows, QvSqlRowHandler pHandler, void* pUserData) {
  if (pHandler == nullptr || rows.aColumns.empty()) return;
  std::vector<QvSqlValue> aValues;
  aValues.reserve(rows.aColumns.size());
  for (const qv::String& sName : rows.aColumns) aValues.push_back(Value(sName));
  pHandler(pUserData, -1, aValues.data(), aValues.size());
  int64_t nRow = 0;
  for (const auto& aRow : rows.aRows) {
    aValues.clear();
    for (const auto& value : aRow) aValues.push_back(value ? Value(*value) : QvSqlValue{"", 0, 1});
    pHandler(pUserData, nRow++, aValues.data(), aValues.size());
  }
}

}  // namespace

extern "C" {

QV_API QvString* QvSqlDatabase(void) { return NewString(TheHost().Database()); }

QV_API QvBoolean QvSqlExecute(QvSqlHandle hSql, const char* sStatement, QvSqlRowHandler pHandler, void* pUserData,
                              QvString** ppError) {
  qv::SqlRows rows;
  bool bDone = false;
  {
    // The error goes back to the caller, who reports it: the library does not.
    const qv::SqlErrorScope scope(qv::abi::TheModule(), [](const qv::SqlError&) { return qv::kSqlErrorHandled; });
    bDone = qv::abi::TheModule().Db().Execute(qv::SqlHandle{hSql}, sStatement == nullptr ? "" : sStatement, &rows);
  }
  if (ppError != nullptr) {
    QvStringFree(*ppError);
    *ppError = bDone ? nullptr : NewString(qv::abi::TheModule().Db().LastError().sText);
  }
  if (bDone) Deliver(rows, pHandler, pUserData);
  return bDone ? 1 : 0;
}

QV_API QvString* QvSqlLastError(void) { return NewString(qv::abi::TheModule().Db().LastError().sText); }

QV_API void QvSetSqlErrorReporter(QvSqlErrorReporter pReporter, void* pUserData) {
  if (pReporter == nullptr) {
    TheHost().SetSqlErrorReporter(nullptr);
    return;
  }
  TheHost().SetSqlErrorReporter([pReporter, pUserData](const qv::SqlError& error) {
    pReporter(pUserData, error.hSql.nValue, error.sText.c_str(), error.sText.size());
  });
}

}  // extern "C"
