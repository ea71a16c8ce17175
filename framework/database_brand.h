// SPDX-License-Identifier: Apache-2.0
// BLC_DatabaseBrand: which database product the application is connected
// to, read from a connection's database parameter 2.  The class variables
// are SQL bind variables (see framework/sql_binding.h).
#pragma once

#include <string_view>

#include "core/module.h"
#include "core/object.h"

namespace qv {

// The database parameter that reports a connection's brand code.
inline constexpr int64_t kBrandParameter = 2;

struct DatabaseBrandVars : ModuleSlot {
  bool cv_bFirstConnect = false;  // bound under its name; no function uses it
  Number cv_nDBMSBrand;
};
inline DatabaseBrandVars& DatabaseBrandClassVars(Module& m) { return m.Slot<DatabaseBrandVars>(); }

class BLC_DatabaseBrand : public Object {
 public:
  std::string_view ClassName() const override { return "BLC_DatabaseBrand"; }

  // Reads the brand of the connected handle hSql.  A connection that
  // reports no brand (0) shows system message 33; brand 34 is kept as 24.
  // Result: null.
  Number SetDBMSBrand(Module& m, SqlHandle hSql);
  Number CurrentDBMSBrand(Module& m);
  bool IsDBMSBrand(Module& m, Number nBrand);
};

}  // namespace qv
