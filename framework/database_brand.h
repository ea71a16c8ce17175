// BLC_DatabaseBrand: which database product the application is connected
// to, read from a connection's database parameter 2.  The brand is a class
// variable (cv_nDBMSBrand); it lives in the Module's SQL bind-variable
// storage, since statements may name it as a bind variable.
#pragma once

#include <string_view>

#include "frame/module.h"
#include "frame/object.h"

namespace qv {

// The database parameter that reports a connection's brand code.
inline constexpr int64_t kBrandParameter = 2;

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
