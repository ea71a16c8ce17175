// SPDX-License-Identifier: Apache-2.0
// Marshalling between the C boundary and the library's C++ functions.
//
// An exported function is a thin extern "C" wrapper generated from the export
// table (exports/export_table.h).  Its parameter and result types are derived
// from the C++ function it wraps: AbiOf<T> maps each C++ parameter type to
// its boundary type, and Call* converts the arguments, runs the one-time
// initialisation, calls the function and converts the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>

#include "core/convert.h"
#include "core/module.h"
#include "core/object.h"
#include "core/values.h"
#include "quorvane/quorvane.h"

struct QvString {
  std::string s;
};

struct QvArray {
  std::variant<qv::DynArray<qv::Number>, qv::DynArray<qv::String>, qv::DynArray<bool>, qv::DynArray<qv::DateTime>,
               qv::DynArray<uintptr_t>>
      a;
  QvElementType eType;
};

namespace qv::abi {

// The state behind the exported functions: the Module they use and the
// runtime's current instance.
struct Process {
  Module* pModule = nullptr;
  Object* pCurrent = nullptr;
};

inline QvNumber ToAbi(Number n) { return QvNumber{n.Value(), n.IsNull() ? 1 : 0, 0}; }
inline Number FromAbi(QvNumber n) { return n.isNull != 0 ? Number::Null() : Number(n.value); }
inline QvDateTime ToAbi(DateTime dt) { return QvDateTime{dt.Micros(), dt.IsNull() ? 1 : 0, 0}; }
inline DateTime FromAbi(QvDateTime dt) { return dt.isNull != 0 ? DateTime() : DateTime::FromMicros(dt.micros); }
inline std::string_view View(const QvString* p) { return p == nullptr ? std::string_view() : std::string_view(p->s); }
inline QvString* NewString(std::string s) { return new QvString{std::move(s)}; }
// A text argument of the C interface: NULL reads as "".
inline const char* OrEmpty(const char* s) { return s == nullptr ? "" : s; }

template <class T>
struct ArrayElement;
template <>
struct ArrayElement<Number> {
  static constexpr size_t kIndex = 0;
};
template <>
struct ArrayElement<String> {
  static constexpr size_t kIndex = 1;
};
template <>
struct ArrayElement<bool> {
  static constexpr size_t kIndex = 2;
};
template <>
struct ArrayElement<DateTime> {
  static constexpr size_t kIndex = 3;
};

// Marshal<T>: the boundary type of a C++ parameter type T, and the local
// value a call holds while it runs (written back for receive parameters).
template <class T, class = void>
struct Marshal;

template <>
struct Marshal<Number> {
  using Abi = QvNumber;
  static constexpr std::string_view kC = "QvNumber";
  struct Local {
    Number v;
    explicit Local(Abi a) : v(FromAbi(a)) {}
    Number Get() { return v; }
  };
};
template <>
struct Marshal<Number&> {
  using Abi = QvNumber*;
  static constexpr std::string_view kC = "QvNumber*";
  struct Local {
    Abi p;
    Number v;
    explicit Local(Abi a) : p(a), v(a != nullptr ? FromAbi(*a) : Number()) {}
    Number& Get() { return v; }
    ~Local() {
      if (p != nullptr) *p = ToAbi(v);
    }
    Local(const Local&) = delete;
    Local& operator=(const Local&) = delete;
  };
};
template <>
struct Marshal<bool> {
  using Abi = QvBoolean;
  static constexpr std::string_view kC = "QvBoolean";
  struct Local {
    bool v;
    explicit Local(Abi a) : v(a != 0) {}
    bool Get() { return v; }
  };
};
template <>
struct Marshal<int32_t> {
  using Abi = int32_t;
  static constexpr std::string_view kC = "int32_t";
  struct Local {
    int32_t v;
    explicit Local(Abi a) : v(a) {}
    int32_t Get() { return v; }
  };
};
template <>
struct Marshal<WindowHandle> {
  using Abi = QvWindowHandle;
  static constexpr std::string_view kC = "QvWindowHandle";
  struct Local {
    WindowHandle v;
    explicit Local(Abi a) : v(WindowHandle{a}) {}
    WindowHandle Get() { return v; }
  };
};
template <>
struct Marshal<SqlHandle> {
  using Abi = QvSqlHandle;
  static constexpr std::string_view kC = "QvSqlHandle";
  struct Local {
    SqlHandle v;
    explicit Local(Abi a) : v(SqlHandle{a}) {}
    SqlHandle Get() { return v; }
  };
};
template <>
struct Marshal<SqlHandle&> {
  using Abi = QvSqlHandle*;
  static constexpr std::string_view kC = "QvSqlHandle*";
  struct Local {
    Abi p;
    SqlHandle v;
    explicit Local(Abi a) : p(a), v(SqlHandle{a != nullptr ? *a : 0}) {}
    SqlHandle& Get() { return v; }
    ~Local() {
      if (p != nullptr) *p = v.nValue;
    }
    Local(const Local&) = delete;
    Local& operator=(const Local&) = delete;
  };
};
template <>
struct Marshal<DateTime> {
  using Abi = QvDateTime;
  static constexpr std::string_view kC = "QvDateTime";
  struct Local {
    DateTime v;
    explicit Local(Abi a) : v(FromAbi(a)) {}
    DateTime Get() { return v; }
  };
};
template <>
struct Marshal<std::string_view> {
  using Abi = const QvString*;
  static constexpr std::string_view kC = "const QvString*";
  struct Local {
    std::string_view v;
    explicit Local(Abi a) : v(View(a)) {}
    std::string_view Get() { return v; }
  };
};
// The String itself, not a copy of its text: the callee sees the caller's
// String object.
template <>
struct Marshal<const String&> {
  using Abi = const QvString*;
  static constexpr std::string_view kC = "const QvString*";
  struct Local {
    const String* p;
    String empty;
    explicit Local(Abi a) : p(a != nullptr ? &a->s : nullptr) {}
    const String& Get() { return p != nullptr ? *p : empty; }
  };
};
template <>
struct Marshal<String&> {
  using Abi = QvString**;
  static constexpr std::string_view kC = "QvString**";
  struct Local {
    Abi p;
    String v;
    explicit Local(Abi a) : p(a), v(a != nullptr ? View(*a) : std::string_view()) {}
    String& Get() { return v; }
    ~Local() {
      if (p == nullptr) return;
      delete *p;
      *p = NewString(std::move(v));
    }
    Local(const Local&) = delete;
    Local& operator=(const Local&) = delete;
  };
};
// Receive parameters of the remaining boundary types, and the argument that
// the wrapper converts before the call.
template <class T, class A>
struct ReceiveLocal {
  A* p;
  T v;
  explicit ReceiveLocal(A* a) : p(a), v(a != nullptr ? FromAbiValue(*a) : T{}) {}
  T& Get() { return v; }
  ~ReceiveLocal() {
    if (p != nullptr) *p = ToAbiValue(v);
  }
  ReceiveLocal(const ReceiveLocal&) = delete;
  ReceiveLocal& operator=(const ReceiveLocal&) = delete;

 private:
  static T FromAbiValue(A a) {
    if constexpr (std::is_same_v<T, bool>) {
      return a != 0;
    } else if constexpr (std::is_same_v<T, WindowHandle>) {
      return WindowHandle{a};
    } else if constexpr (std::is_same_v<T, DateTime>) {
      return FromAbi(a);
    } else {
      return a;
    }
  }
  static A ToAbiValue(T v) {
    if constexpr (std::is_same_v<T, bool>) {
      return v ? 1 : 0;
    } else if constexpr (std::is_same_v<T, WindowHandle>) {
      return v.nValue;
    } else if constexpr (std::is_same_v<T, DateTime>) {
      return ToAbi(v);
    } else {
      return v;
    }
  }
};
template <>
struct Marshal<bool&> {
  using Abi = QvBoolean*;
  static constexpr std::string_view kC = "QvBoolean*";
  using Local = ReceiveLocal<bool, QvBoolean>;
};
template <>
struct Marshal<DateTime&> {
  using Abi = QvDateTime*;
  static constexpr std::string_view kC = "QvDateTime*";
  using Local = ReceiveLocal<DateTime, QvDateTime>;
};
template <>
struct Marshal<int32_t&> {
  using Abi = int32_t*;
  static constexpr std::string_view kC = "int32_t*";
  using Local = ReceiveLocal<int32_t, int32_t>;
};
template <>
struct Marshal<WindowHandle&> {
  using Abi = QvWindowHandle*;
  static constexpr std::string_view kC = "QvWindowHandle*";
  using Local = ReceiveLocal<WindowHandle, QvWindowHandle>;
};
template <>
struct Marshal<ConvertedArgument> {
  using Abi = int32_t;
  static constexpr std::string_view kC = "int32_t";
  struct Local {
    ConvertedArgument v;
    explicit Local(Abi a) : v{RtConvertArgument(a)} {}
    ConvertedArgument Get() { return v; }
  };
};

template <class E>
struct Marshal<DynArray<E>&> {
  using Abi = QvArray*;
  static constexpr std::string_view kC = "QvArray*";
  struct Local {
    DynArray<E> scratch;
    DynArray<E>* p;
    explicit Local(Abi a) : p(&scratch) {
      if (a != nullptr) {
        if (auto* pTyped = std::get_if<ArrayElement<E>::kIndex>(&a->a)) p = pTyped;
      }
    }
    DynArray<E>& Get() { return *p; }
  };
};

// Result conversion, and the C name of each result type.
inline QvNumber ResultToAbi(Number n) { return ToAbi(n); }
inline QvBoolean ResultToAbi(bool b) { return b ? 1 : 0; }
inline int32_t ResultToAbi(int32_t n) { return n; }
inline QvString* ResultToAbi(String s) { return NewString(std::move(s)); }
inline QvDateTime ResultToAbi(DateTime dt) { return ToAbi(dt); }
template <class R>
constexpr std::string_view ResultC() {
  if constexpr (std::is_same_v<R, Number>) return "QvNumber";
  if constexpr (std::is_same_v<R, bool>) return "QvBoolean";
  if constexpr (std::is_same_v<R, int32_t>) return "int32_t";
  if constexpr (std::is_same_v<R, String>) return "QvString*";
  if constexpr (std::is_same_v<R, DateTime>) return "QvDateTime";
}

// The signature of a wrapped function: its result, its own parameters (the
// Module that a global function may take first, and that every class
// function takes first, is not a parameter), and its class for a class
// function.
template <auto F>
struct Signature;

template <class... A>
inline constexpr bool kFirstIsModule = false;
template <class... A>
inline constexpr bool kFirstIsModule<Module&, A...> = true;

template <class R, class... A, R (*F)(A...)>
requires(!kFirstIsModule<A...>) struct Signature<F> {
  using Result = R;
  using Params = std::tuple<A...>;
  static constexpr bool kTakesModule = false;
};
template <class R, class... A, R (*F)(Module&, A...)>
struct Signature<F> {
  using Result = R;
  using Params = std::tuple<A...>;
  static constexpr bool kTakesModule = true;
};
template <class R, class C, class... A, R (C::*F)(Module&, A...)>
struct Signature<F> {
  using Result = R;
  using Params = std::tuple<A...>;
  using Class = C;
};

template <auto F>
using AbiResult = decltype(ResultToAbi(std::declval<typename Signature<F>::Result>()));
template <auto F, size_t I>
using AbiArg = typename Marshal<std::tuple_element_t<I, typename Signature<F>::Params>>::Abi;
template <auto F>
inline constexpr size_t kArity = std::tuple_size_v<typename Signature<F>::Params>;

// The default result of a call that cannot run (an instance of the wrong
// class): a null Number, FALSE, an empty String.
template <auto F>
AbiResult<F> DefaultResult() {
  using R = typename Signature<F>::Result;
  if constexpr (std::is_same_v<R, Number>) {
    return ResultToAbi(Number::Null());
  } else {
    return ResultToAbi(R{});
  }
}

template <auto F, size_t... I, class... Abi>
auto Invoke(Module& m, std::index_sequence<I...>, Abi... args) {
  using Params = typename Signature<F>::Params;
  [[maybe_unused]] std::tuple<typename Marshal<std::tuple_element_t<I, Params>>::Local...> locals(args...);
  if constexpr (Signature<F>::kTakesModule) {
    return ResultToAbi(F(m, std::get<I>(locals).Get()...));
  } else {
    return ResultToAbi(F(std::get<I>(locals).Get()...));
  }
}

template <auto F, class C, size_t... I, class... Abi>
auto InvokeMember(Module& m, C& self, std::index_sequence<I...>, Abi... args) {
  using Params = typename Signature<F>::Params;
  [[maybe_unused]] std::tuple<typename Marshal<std::tuple_element_t<I, Params>>::Local...> locals(args...);
  return ResultToAbi((self.*F)(m, std::get<I>(locals).Get()...));
}

// A global function.
template <auto F, class... Abi>
AbiResult<F> CallGlobal(Process& process, Abi... args) {
  process.pModule->EnsureInitialised();
  return Invoke<F>(*process.pModule, std::make_index_sequence<kArity<F>>{}, args...);
}

// A class function on an explicit instance.  An instance of another class
// (or none) runs nothing and yields the default result.
template <auto F, class... Abi>
AbiResult<F> CallExplicit(Process& process, QvObject* pSelf, Abi... args) {
  process.pModule->EnsureInitialised();
  using C = typename Signature<F>::Class;
  auto* pObject = dynamic_cast<C*>(reinterpret_cast<Object*>(pSelf));
  if (pObject == nullptr) return DefaultResult<F>();
  return InvokeMember<F>(*process.pModule, *pObject, std::make_index_sequence<kArity<F>>{}, args...);
}

// The same class function on the runtime's current instance.
template <auto F, class... Abi>
AbiResult<F> CallCurrent(Process& process, Abi... args) {
  return CallExplicit<F>(process, reinterpret_cast<QvObject*>(process.pCurrent), args...);
}

// Argument bytes of the Windows build's decorated name: a 32-bit build
// passes Numbers and Date/Times as 16 bytes, everything else as 4.
template <class AbiType>
constexpr size_t ArgBytes32() {
  if constexpr (std::is_same_v<AbiType, QvNumber> || std::is_same_v<AbiType, QvDateTime>) {
    return 16;
  } else {
    return 4;
  }
}
template <auto F, size_t... I>
constexpr size_t SumArgBytes32(std::index_sequence<I...>) {
  return (size_t{0} + ... + ArgBytes32<AbiArg<F, I>>());
}
// Global functions pass their own parameters; class functions (explicit
// form) the instance first.
template <auto F>
constexpr size_t DecoratedBytes() {
  constexpr size_t nOwn = SumArgBytes32<F>(std::make_index_sequence<kArity<F>>{});
  if constexpr (requires { typename Signature<F>::Class; }) {
    return nOwn + 4;
  } else {
    return nOwn;
  }
}

// The C signature of a wrapper of F, "RESULT(PARAMETERS)", the instance
// first with bInstance: the declaration the installed header gives it.
template <auto F, size_t... I>
std::string CParameters(bool bInstance, std::index_sequence<I...>) {
  std::string s = bInstance ? "QvObject* pSelf" : "";
  using Params = typename Signature<F>::Params;
  ((s += s.empty() ? "" : ", ", s += Marshal<std::tuple_element_t<I, Params>>::kC, s += " a" + std::to_string(I)), ...);
  return s.empty() ? "void" : s;
}
template <auto F, bool bInstance>
std::string CSignature() {
  return std::string(ResultC<typename Signature<F>::Result>()) + "(" +
         CParameters<F>(bInstance, std::make_index_sequence<kArity<F>>{}) + ")";
}

}  // namespace qv::abi
