// SPDX-License-Identifier: Apache-2.0
#include "core/number.h"

#include <cmath>
#include <limits>

namespace qv {

int64_t Number::AsInt64() const {
  if (bNull_ || std::isnan(dValue_)) return 0;
  constexpr double kMax = 9.2e18;
  if (dValue_ >= kMax) return std::numeric_limits<int64_t>::max();
  if (dValue_ <= -kMax) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(dValue_);
}

int32_t Number::AsInt() const {
  const int64_t n = AsInt64();
  if (n > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (n < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(n);
}

Number operator/(Number a, Number b) {
  if (a.bNull_ || b.bNull_ || b.dValue_ == 0.0) return Number::Null();
  return Number(a.dValue_ / b.dValue_);
}

Number operator%(Number a, Number b) {
  if (a.bNull_ || b.bNull_ || b.dValue_ == 0.0) return Number::Null();
  return Number(std::fmod(a.dValue_, b.dValue_));
}

Number BitOr(Number a, Number b) {
  if (a.IsNull() || b.IsNull()) return Number::Null();
  return Number(a.AsInt64() | b.AsInt64());
}

Number BitAnd(Number a, Number b) {
  if (a.IsNull() || b.IsNull()) return Number::Null();
  return Number(a.AsInt64() & b.AsInt64());
}

}  // namespace qv
