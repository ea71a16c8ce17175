// SPDX-License-Identifier: Apache-2.0
// A header-only C++ layer over the C interface of the Quorvane library
// (quorvane.h): owning handles for Strings, dynamic arrays and objects, the
// exported functions found by name with their real types, message-box
// handlers as C++ callables, and the SQL handle pool with its statements.
//
// Errors: this layer throws nothing of its own.  It reports what the C
// interface reports, as return values (a null handle, false, an empty
// optional), so that a program decides for itself what a failure means.
// (std::bad_alloc may still come from the standard library, as anywhere.)
//
// Ownership follows the C interface: the owning classes release what they
// hold when they go; Get() lends the handle for the length of a call;
// Release() hands it back to the caller, who then frees it.
#ifndef QUORVANE_QUORVANE_HPP
#define QUORVANE_QUORVANE_HPP

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quorvane.h"

namespace quorvane {

// A Number: a double, or null.
inline QvNumber Number(double nValue) { return QvNumber{nValue, 0, 0}; }
inline QvNumber NullNumber() { return QvNumber{0.0, 1, 0}; }
inline std::optional<double> ValueOf(QvNumber n) {
  return n.isNull != 0 ? std::nullopt : std::optional<double>(n.value);
}

// Owns one handle of the C interface and frees it with Free (a function
// object: the address of a function imported from a DLL is no constant
// expression) when it goes; moves hand the handle on, copies are not
// allowed.
template <class T, class Free>
class Owner {
 public:
  Owner() = default;
  explicit Owner(T* p) : p_(p) {}
  ~Owner() { Free()(p_); }
  Owner(Owner&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Owner& operator=(Owner&& o) noexcept {
    if (this != &o) {
      Free()(p_);
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;

  T* Get() const { return p_; }
  // Hands the handle to the caller, who then frees it.
  T* Release() { return std::exchange(p_, nullptr); }

 protected:
  T* p_ = nullptr;
};

struct FreeString {
  void operator()(QvString* p) const { QvStringFree(p); }
};
struct FreeArray {
  void operator()(QvArray* p) const { QvArrayFree(p); }
};
struct FreeObject {
  void operator()(QvObject* p) const { QvObjectFree(p); }
};

// Owns one QvString.  A default String holds no handle, which every
// function of the library reads as the empty String.
class String : public Owner<QvString, FreeString> {
 public:
  String() = default;
  explicit String(std::string_view s) : Owner(QvStringNew(s.data(), s.size())) {}
  // Takes over a String that the library returned (a result, which the
  // caller owns).
  static String Adopt(QvString* p) {
    String s;
    s.p_ = p;
    return s;
  }
  // For a receive parameter (QvString**): the callee frees the String held
  // here and stores a new one, which this object then owns.
  QvString** Receive() { return &p_; }

  std::string_view View() const { return {QvStringData(p_), QvStringSize(p_)}; }
  std::string Str() const { return std::string(View()); }
};

// The text of a String result, which it frees: TakeText(QvNativePath(s)).
inline std::string TakeText(QvString* p) { return String::Adopt(p).Str(); }

// Owns one dynamic array.
class Array : public Owner<QvArray, FreeArray> {
 public:
  explicit Array(QvElementType eType) : Owner(QvArrayNew(eType)) {}

  int64_t Count() const { return QvArrayCount(p_); }
  // The String at nIndex (empty when unassigned).
  String GetString(int64_t nIndex) const { return String::Adopt(QvArrayGetString(p_, nIndex)); }
  bool SetString(int64_t nIndex, std::string_view s) {
    const String sValue(s);
    return QvArraySetString(p_, nIndex, sValue.Get()) != 0;
  }
  QvNumber GetNumber(int64_t nIndex) const { return QvArrayGetNumber(p_, nIndex); }
  bool SetNumber(int64_t nIndex, QvNumber n) { return QvArraySetNumber(p_, nIndex, n) != 0; }
};

// Owns one instance of a library class: constructed by name, destroyed
// (with the class's destructor) when it goes.  Valid() is false for a
// class name the library does not declare.  The library's own global
// instances (QvGlobalObject) are borrowed: use the raw QvObject* for them.
class Object : public Owner<QvObject, FreeObject> {
 public:
  explicit Object(const char* sClassName) : Owner(QvObjectNew(sClassName)) {}

  bool Valid() const { return p_ != nullptr; }
  std::string_view ClassName() const { return p_ == nullptr ? std::string_view() : QvObjectClassName(p_); }
};

// The exported function named sName with the type Fn (a function type as
// quorvane_exports.h declares it, such as decltype(__quorvane__GF25690957)),
// or nullptr when the library exports no such name.
template <class Fn>
Fn* FindExport(const char* sName) {
  // The C interface hands every entry point back as void(*)(void); the
  // caller names the real type, as with dlsym.
  return reinterpret_cast<Fn*>(QvFindExport(sName));  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

// Answers the library's message boxes with a C++ callable for as long as it
// lives, then restores the default (printed on stderr, answered OK).  The
// callable gets the caption, the text and the style (the Windows MB_* bits)
// and returns the button (1 OK, 2 Cancel, 4 Retry, 6 Yes, 7 No).  One
// handler at a time: the library keeps a single one.  The callable must not
// call back into the library, and must not throw: an exception cannot cross
// the library, so one that escapes ends the program.
class MessageBoxHandler {
 public:
  using Answer = std::function<int32_t(std::string_view sCaption, std::string_view sText, int32_t nStyle)>;
  explicit MessageBoxHandler(Answer answer) : answer_(std::move(answer)) { QvSetMessageBoxHandler(&Call, this); }
  ~MessageBoxHandler() { QvSetMessageBoxHandler(nullptr, nullptr); }
  MessageBoxHandler(const MessageBoxHandler&) = delete;
  MessageBoxHandler& operator=(const MessageBoxHandler&) = delete;

 private:
  static int32_t Call(void* pUserData, const char* sCaption, size_t nCaptionSize, const char* sText, size_t nTextSize,
                      int32_t nStyle) noexcept {
    const auto* pSelf = static_cast<const MessageBoxHandler*>(pUserData);
    return pSelf->answer_({sCaption, nCaptionSize}, {sText, nTextSize}, nStyle);
  }
  Answer answer_;
};

// ---- SQL ----

// The library's pool of SQL handles (the exported class
// BLC_ManageSqlHandles), on an instance of its own.  Handles connect to the
// database set with QvSetDatabase.
class SqlHandlePool {
 public:
  SqlHandlePool() : o_("BLC_ManageSqlHandles") {}

  // Lends a handle in hSql; false when none could be had (the pool has then
  // shown its standard message, and QvSqlLastError says why).
  bool Get(QvSqlHandle& hSql) { return o_.Valid() && __quorvane__XE38666435(o_.Get(), &hSql) != 0; }
  // Gives hSql back, rolling back a transaction left open on it.
  bool Release(QvSqlHandle hSql) { return o_.Valid() && __quorvane__XE38666409(o_.Get(), hSql) != 0; }
  // Disconnects every handle of the pool, lent or not.
  bool DisconnectAll() { return o_.Valid() && __quorvane__XE38666270(o_.Get()) != 0; }

 private:
  Object o_;
};

// A value of a result row (nullopt: the null value), or a column name.
using SqlValues = std::vector<std::optional<std::string_view>>;

// Runs sStatement on hSql (see QvSqlExecute) and hands its rows to onRow:
// the column names first (nRow -1), then each row; the values are borrowed
// for the call.  False with sError set when the database refuses it.
inline bool SqlExecute(QvSqlHandle hSql, const char* sStatement,
                       const std::function<void(int64_t nRow, const SqlValues& aValues)>& onRow, std::string& sError) {
  struct Rows {
    const std::function<void(int64_t, const SqlValues&)>& onRow;
    SqlValues aValues;
    static void Call(void* pUserData, int64_t nRow, const QvSqlValue* aValues, size_t nCount) noexcept {
      auto* pSelf = static_cast<Rows*>(pUserData);
      pSelf->aValues.clear();
      for (size_t i = 0; i < nCount; ++i) {
        const QvSqlValue& v = aValues[i];  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic): a C array
        pSelf->aValues.push_back(v.isNull != 0 ? std::nullopt : std::optional<std::string_view>({v.data, v.size}));
      }
      pSelf->onRow(nRow, pSelf->aValues);
    }
  } rows{onRow, {}};
  String sWhy;
  if (QvSqlExecute(hSql, sStatement, onRow ? &Rows::Call : nullptr, &rows, sWhy.Receive()) != 0) return true;
  sError = sWhy.Str();
  return false;
}

}  // namespace quorvane

#endif  // QUORVANE_QUORVANE_HPP
