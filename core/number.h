// SPDX-License-Identifier: Apache-2.0
// Number: the library's one numeric type, a double with a null state.
//
// Rules for null (a null Number is distinct from 0):
//   * A default-constructed Number is 0, not null; Number::Null() makes a null.
//   * Arithmetic (+, -, *, /, %, unary -, BitOr, BitAnd) with a null operand
//     yields null.  Division by zero yields null as well: the library never
//     produces an infinity or a NaN.
//   * Equality: null equals null and nothing else.  Ordering (<, <=, >, >=)
//     with a null operand is always false.
//   * As a truth value null is FALSE; as an integer (AsInt) it is 0.
// Numbers hold every 32-bit integer exactly and keep fractions.
#pragma once

#include <cstdint>

namespace qv {

class Number {
 public:
  constexpr Number() = default;
  constexpr Number(double dValue) : dValue_(dValue) {}                        // NOLINT: implicit by design
  constexpr Number(int nValue) : dValue_(nValue) {}                           // NOLINT
  constexpr Number(int64_t nValue) : dValue_(static_cast<double>(nValue)) {}  // NOLINT

  static constexpr Number Null() {
    Number n;
    n.bNull_ = true;
    return n;
  }

  constexpr bool IsNull() const { return bNull_; }
  // The value; 0 for null.
  constexpr double Value() const { return bNull_ ? 0.0 : dValue_; }
  // Truncated toward zero and saturated to the 32-bit range; 0 for null.
  int32_t AsInt() const;
  int64_t AsInt64() const;
  // Truth value: non-zero and not null.
  constexpr bool IsTrue() const { return !bNull_ && dValue_ != 0.0; }

  friend Number operator+(Number a, Number b) { return Combine(a, b, a.dValue_ + b.dValue_); }
  friend Number operator-(Number a, Number b) { return Combine(a, b, a.dValue_ - b.dValue_); }
  friend Number operator*(Number a, Number b) { return Combine(a, b, a.dValue_ * b.dValue_); }
  friend Number operator/(Number a, Number b);
  friend Number operator%(Number a, Number b);
  Number operator-() const { return bNull_ ? Null() : Number(-dValue_); }
  Number& operator+=(Number b) { return *this = *this + b; }
  Number& operator-=(Number b) { return *this = *this - b; }

  friend constexpr bool operator==(Number a, Number b) {
    return a.bNull_ == b.bNull_ && (a.bNull_ || a.dValue_ == b.dValue_);
  }
  friend constexpr bool operator<(Number a, Number b) { return !a.bNull_ && !b.bNull_ && a.dValue_ < b.dValue_; }
  friend constexpr bool operator>(Number a, Number b) { return b < a; }
  friend constexpr bool operator<=(Number a, Number b) { return !a.bNull_ && !b.bNull_ && a.dValue_ <= b.dValue_; }
  friend constexpr bool operator>=(Number a, Number b) { return b <= a; }

 private:
  static Number Combine(Number a, Number b, double dResult) {
    return (a.bNull_ || b.bNull_) ? Null() : Number(dResult);
  }

  double dValue_ = 0.0;
  bool bNull_ = false;
};

// Bitwise operations on the integer values of two Numbers (null propagates).
Number BitOr(Number a, Number b);
Number BitAnd(Number a, Number b);

}  // namespace qv
