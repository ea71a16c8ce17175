// SPDX-License-Identifier: Apache-2.0
// The value types every parameter, result and variable of the library uses.
//
//   Number        core/number.h
//   Boolean       bool inside the library; a 32-bit integer at the C boundary
//   String        std::string: a counted byte string (ANSI model, positions
//                 count bytes); callers pass std::string_view where the text
//                 is only read
//   Date/Time     DateTime below, null until set
//   handles       WindowHandle, SqlHandle, FileHandle: opaque, 0 is the null
//                 handle
//   dynamic array DynArray<T> below
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/number.h"

namespace qv {

using String = std::string;

// A calendar date and time with microsecond resolution, or null.  The value
// is the count of microseconds since 0001-01-01 00:00:00 (proleptic Gregorian,
// no time zone), so it orders and compares as a plain integer.
class DateTime {
 public:
  constexpr DateTime() = default;  // null
  static constexpr DateTime FromMicros(int64_t nMicros) {
    DateTime dt;
    dt.nMicros_ = nMicros;
    dt.bNull_ = false;
    return dt;
  }
  // Builds a date from its parts; returns null when a part is out of range.
  static DateTime FromParts(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0, int nSecond = 0,
                            int nMicro = 0);

  constexpr bool IsNull() const { return bNull_; }
  constexpr int64_t Micros() const { return nMicros_; }

  struct Parts {
    int nYear, nMonth, nDay, nHour, nMinute, nSecond, nMicro, nWeekday;  // nWeekday: 0 Sunday
  };
  // The parts of a non-null value (all zero for null).
  Parts Split() const;

  friend constexpr bool operator==(DateTime a, DateTime b) {
    return a.bNull_ == b.bNull_ && (a.bNull_ || a.nMicros_ == b.nMicros_);
  }

 private:
  int64_t nMicros_ = 0;
  bool bNull_ = true;
};

template <class Tag>
struct Handle {
  uintptr_t nValue = 0;
  constexpr bool IsNull() const { return nValue == 0; }
  friend constexpr bool operator==(Handle a, Handle b) = default;
};
using WindowHandle = Handle<struct WindowTag>;
using SqlHandle = Handle<struct SqlTag>;
using FileHandle = Handle<struct FileTag>;

// A growable array, created empty and extended by assignment.  Elements are
// numbered from 0.  Reading an element that was never assigned yields the
// element type's empty value and does not extend the array; writing to any
// index >= 0 extends it, and the gap reads as empty values.  Writes to a
// negative index go to a scratch element and are lost.
//
// Elements live in a std::vector, except Booleans: std::vector<bool> packs
// bits and hands out proxies instead of references, so a Boolean array keeps
// its elements in a std::deque.
//
// A record holds several arrays and a scan holds a record per file, so an
// array is small: the empty value is one shared element, and the scratch
// element exists only once a negative index was written.
template <class T>
class DynArray {
 public:
  using Storage = std::conditional_t<std::is_same_v<T, bool>, std::deque<bool>, std::vector<T>>;

  DynArray() = default;
  DynArray(const DynArray& other) : aItems_(other.aItems_) {}
  DynArray& operator=(const DynArray& other) {
    aItems_ = other.aItems_;
    return *this;
  }
  // Moves throw only where the storage's do: std::deque's move constructor
  // allocates an empty map for the deque moved from, so a Boolean array's
  // move may throw std::bad_alloc, and says so.
  // NOLINTNEXTLINE(performance-noexcept-move-constructor): false for DynArray<bool> only, as said above.
  DynArray(DynArray&&) noexcept(std::is_nothrow_move_constructible_v<Storage>) = default;
  DynArray& operator=(DynArray&&) noexcept(std::is_nothrow_move_assignable_v<Storage>) = default;
  ~DynArray() = default;

  // Number of elements: the highest assigned index + 1.
  int64_t Count() const { return static_cast<int64_t>(aItems_.size()); }
  bool Empty() const { return aItems_.empty(); }

  // Read access; never extends the array.
  const T& Get(int64_t nIndex) const {
    if (nIndex < 0 || nIndex >= Count()) return EmptyValue();
    return aItems_[static_cast<size_t>(nIndex)];
  }
  const T& operator[](int64_t nIndex) const { return Get(nIndex); }

  // Write access: supplies the element at nIndex, extending the array.
  T& At(int64_t nIndex) {
    if (nIndex < 0) {
      if (pScratch_ == nullptr) pScratch_ = std::make_unique<T>();
      *pScratch_ = T{};
      return *pScratch_;
    }
    if (nIndex >= Count()) aItems_.resize(static_cast<size_t>(nIndex) + 1);
    return aItems_[static_cast<size_t>(nIndex)];
  }
  void Set(int64_t nIndex, T value) { At(nIndex) = std::move(value); }
  void Append(T value) { aItems_.push_back(std::move(value)); }

  // Empties the array (the runtime's set-bounds to -1, -1).
  void Clear() { aItems_.clear(); }

  Storage& Items() { return aItems_; }
  const Storage& Items() const { return aItems_; }

 private:
  // Made once in storage of its own and never destroyed: arrays read while
  // the process exits (after static objects are gone) may still hand it
  // out.  An empty value owns no memory, so none is left behind when the
  // library is unloaded.
  //
  // The storage is aligned for 16-byte vector stores whatever T's own
  // alignment: where the optimiser vectorises the value's construction it
  // raises a smaller alignment to that, and the storage's copies in the
  // objects of one program would then differ in size between objects built
  // with and without optimisation (the Windows linker warns of a duplicate
  // section of a different size).
  static const T& EmptyValue() {
    alignas(alignof(T) > 16 ? alignof(T) : 16) static std::array<std::byte, sizeof(T)> aStorage;
    static const T* const pEmpty = ::new (static_cast<void*>(aStorage.data())) T{};
    return *pEmpty;
  }

  Storage aItems_;
  std::unique_ptr<T> pScratch_;
};

// A receive parameter: a reference the callee may assign, visible to the caller.
template <class T>
using Receive = T&;

}  // namespace qv
