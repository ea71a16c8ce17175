// SPDX-License-Identifier: Apache-2.0
// Readable failure messages for the library's value types.
#pragma once

#include <ostream>

#include "core/values.h"

namespace qv {

inline void PrintTo(const Number& n, std::ostream* os) {
  if (n.IsNull()) {
    *os << "null";
  } else {
    *os << n.Value();
  }
}

}  // namespace qv
