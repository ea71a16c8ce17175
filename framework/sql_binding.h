// SPDX-License-Identifier: Apache-2.0
// The SQL bind variables of the framework and the routines that build bind
// lists from the application's windows.
//
//   - the bind-variable table: the variables that SQL statements may name,
//     which are the SQL handle pool's and the database brand's, registered
//     in this order: __th, hSqlCurrent, the pool's cv_bFirstConnect,
//     cv_hSqlResource, cv_bhSqlLocked, cv_hSqlNULL, cv_nHandleWarningLevel,
//     the brand's cv_bFirstConnect, the pool's cv_bInitialized, the brand's
//     cv_nDBMSBrand;
//   - routines that turn the current window item into a bind variable and
//     append it to column lists.
//
// The routines that name "the current item" or "the current form" read the
// host's context at the moment of the call: they act on the object whose
// message is being handled.
#pragma once

#include <string_view>
#include <vector>

#include "core/module.h"

namespace qv {

// Appends the framework's bind variables, with their storage in m, to aTable
// (the Module's initialisation calls it as a bind-variable owner).
void RegisterSqlBindVariables(Module& m, std::vector<BindVariable>& aTable);

// The current item's name without its lower-case prefix ("_" counts as part
// of the prefix), in upper case: "dfCustomerName" -> "CUSTOMERNAME",
// "name1" -> "1", "name" -> "".
String GetColumnName(Module& m);
// ":" and the current item's name.
String GetFieldBindVar(Module& m);
// ":form.item" for a column of a table window (the current form's name and
// the item's), ":item" for any other item.
String GetColumnBindVar(Module& m);

// Append sColumn to the column list sList and its bind variable sBindVar to
// sBindList.  nMode 3 builds an assignment list instead ("␣A = :a, B = :b")
// and leaves sBindList alone; in modes 2 and 3 a qualified column "T.C" is
// entered as "C".  The column list begins with a blank, the bind list does
// not.  An empty sBindVar stands for the current item's bind variable:
// GetColumnBindVar for BuildColumnBindList, GetFieldBindVar for
// BuildFieldBindList.  Note the two parameter orders.  Result: null.
Number BuildColumnBindList(Module& m, Number nMode, String& sList, String& sBindList, std::string_view sColumn,
                           std::string_view sBindVar);
Number BuildFieldBindList(Module& m, std::string_view sColumn, std::string_view sBindVar, String& sList,
                          String& sBindList, Number nMode);

}  // namespace qv
