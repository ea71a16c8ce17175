// SPDX-License-Identifier: Apache-2.0
// The calls of the toolkit's list operations (core/list_ops.h), with the
// conversions between the library's Numbers and Strings and the toolkit's
// integers and texts in one place.
//
// Each shape of an argument says what the member takes (Param), what the
// toolkit's entry point takes (Arg), and how one is turned into the other
// for the length of the call (Hold: Arg() before the call, Back() after it).
// Each result kind says what the toolkit returns (Toolkit) and what the
// member returns (Value).  Op<E> puts a row's shapes together: the entry
// point's type and the one generic call.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "core/convert.h"
#include "core/list_ops.h"
#include "core/runtime.h"
#include "core/toolkit.h"

namespace qv {

// A Boolean as the toolkit returns it: 0 is FALSE, any other value TRUE.
// Members that return the toolkit's Boolean pass it on unchanged, so it
// crosses the C boundary as the 32-bit integer the toolkit gave.
using ToolkitBoolean = int32_t;

// The long conversion: the low 32 bits of the Number's integer part, so that
// values from 2^31 to 2^32 - 1 (flag sets with bit 31, colours) reach the
// toolkit as their bit pattern.  The plain conversion (Number::AsInt)
// saturates to the 32-bit range instead.  Null is 0.
inline int32_t ToolkitLong(Number n) { return static_cast<int32_t>(static_cast<uint32_t>(n.AsInt64())); }

namespace listop {

// Whether the call passes the own window first.
struct Win {
  static constexpr bool kOwnWindow = true;
};
struct NoWin {
  static constexpr bool kOwnWindow = false;
};

// Argument shapes.
struct N {
  using Param = Number;
  using Arg = int32_t;
  struct Hold {
    int32_t n;
    explicit Hold(Number v) : n(v.AsInt()) {}
    int32_t Arg() const { return n; }
    void Back() {}
  };
};
struct L {
  using Param = Number;
  using Arg = int32_t;
  struct Hold {
    int32_t n;
    explicit Hold(Number v) : n(ToolkitLong(v)) {}
    int32_t Arg() const { return n; }
    void Back() {}
  };
};
// The text of a String.  The member's String (the caller's) outlives the
// call, which is the hold the toolkit needs on it.
struct S {
  using Param = std::string_view;
  using Arg = std::string_view;
  struct Hold {
    std::string_view s;
    explicit Hold(std::string_view v) : s(v) {}
    std::string_view Arg() const { return s; }
    void Back() {}
  };
};
// The String itself: the toolkit receives the caller's String object.
struct SI {
  using Param = const String&;
  using Arg = const String&;
  struct Hold {
    const String& s;
    explicit Hold(const String& v) : s(v) {}
    const String& Arg() const { return s; }
    void Back() {}
  };
};
struct H {
  using Param = int32_t;
  using Arg = int32_t;
  struct Hold {
    int32_t n;
    explicit Hold(int32_t v) : n(v) {}
    int32_t Arg() const { return n; }
    void Back() {}
  };
};
// A receive Number: the toolkit writes the integer, and the Number gets it
// back after the call whatever the call's result.
struct R {
  using Param = Number&;
  using Arg = int32_t*;
  struct Hold {
    Number& r;
    int32_t n;
    explicit Hold(Number& v) : r(v), n(v.AsInt()) {}
    int32_t* Arg() { return &n; }
    void Back() { r = RtIntToNumber(n); }
  };
};
// The constant 0, not a parameter of the member.
struct Z {
  using Arg = int32_t;
  struct Hold {
    int32_t Arg() const { return 0; }
    void Back() {}
  };
};

// Result kinds.
struct Num {
  using Toolkit = int32_t;
  using Value = Number;
  static Value From(int32_t n) { return RtIntToNumber(n); }
};
struct NumBool {
  using Toolkit = int32_t;
  using Value = Number;
  static Value From(int32_t n) { return RtWordToNumber(n != 0 ? 1 : 0); }
};
struct Bool {
  using Toolkit = ToolkitBoolean;
  using Value = ToolkitBoolean;
  static Value From(int32_t n) { return n; }
};
struct True {
  using Toolkit = ToolkitBoolean;
  using Value = ToolkitBoolean;
  static Value From(int32_t n) { return n != 0 ? 1 : 0; }
};
// The toolkit hands over a String of its own (nullptr for none): it is
// copied into the member's result and released.
struct Str {
  using Toolkit = String*;
  using Value = String;
  static Value From(String* p) {
    const std::unique_ptr<String> pOwned(p);
    return pOwned ? String(*pOwned) : String();
  }
};

template <class Window, class Result, class... Shapes>
struct EntryOf {
  using Type = typename Result::Toolkit (*)(const Host&, WindowHandle, typename Shapes::Arg...);
};
template <class Result, class... Shapes>
struct EntryOf<NoWin, Result, Shapes...> {
  using Type = typename Result::Toolkit (*)(const Host&, typename Shapes::Arg...);
};

template <ExternalFunction E, class Window_, class Result_, class... Shapes>
struct OpOf {
  using Window = Window_;
  using Result = Result_;
  using Entry = typename EntryOf<Window, Result, Shapes...>::Type;
  static constexpr ExternalFunction kFunction = E;

  static Entry Bind(Module& m) { return BindExternal<Entry>(m, E); }

  // Converts, calls the one toolkit function on the own window (when the
  // operation takes one), converts the receive arguments back and then the
  // result.
  static typename Result::Value Call(Module& m, typename Shapes::Hold&&... holds) {
    const Entry pEntry = Bind(m);
    auto toolkitResult = [&] {
      if constexpr (Window::kOwnWindow) {
        return pEntry(m.GetHost(), RtCurrentItem(m), holds.Arg()...);
      } else {
        return pEntry(m.GetHost(), holds.Arg()...);
      }
    }();
    (holds.Back(), ...);
    return Result::From(toolkitResult);
  }
};

// Op<E>: the row of toolkit function E.
template <ExternalFunction E>
struct Op;
#define QV_LIST_OP_TRAITS(Pass, member, id, ordinal, fn, window, result, ...) \
  template <>                                                                 \
  struct Op<ExternalFunction::fn> : OpOf<ExternalFunction::fn, window, result __VA_OPT__(, ) __VA_ARGS__> {};
QV_LIST_BOX_FAMILY(QV_LIST_OP_TRAITS, )
#undef QV_LIST_OP_TRAITS

}  // namespace listop
}  // namespace qv
