// A header-only C++ layer over the C interface of the Quorvane library
// (quorvane.h): owning handles for Strings, dynamic arrays and objects, the
// exported functions found by name with their real types, and message-box
// handlers as C++ callables.
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

#include "quorvane.h"

namespace quorvane {

// A Number: a double, or null.
inline QvNumber Number(double nValue) { return QvNumber{nValue, 0, 0}; }
inline QvNumber NullNumber() { return QvNumber{0.0, 1, 0}; }
inline std::optional<double> ValueOf(QvNumber n) {
  return n.isNull != 0 ? std::nullopt : std::optional<double>(n.value);
}

// Owns one QvString.  A default String holds no handle, which every
// function of the library reads as the empty String.
class String {
 public:
  String() = default;
  explicit String(std::string_view s) : p_(QvStringNew(s.data(), s.size())) {}
  // Takes over a String that the library returned (a result, which the
  // caller owns).
  static String Adopt(QvString* p) {
    String s;
    s.p_ = p;
    return s;
  }
  ~String() { QvStringFree(p_); }
  String(String&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  String& operator=(String&& o) noexcept {
    if (this != &o) {
      QvStringFree(p_);
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  String(const String&) = delete;
  String& operator=(const String&) = delete;

  const QvString* Get() const { return p_; }
  // For a receive parameter (QvString**): the callee frees the String held
  // here and stores a new one, which this object then owns.
  QvString** Receive() { return &p_; }
  QvString* Release() { return std::exchange(p_, nullptr); }

  std::string_view View() const { return {QvStringData(p_), QvStringSize(p_)}; }
  std::string Str() const { return std::string(View()); }

 private:
  QvString* p_ = nullptr;
};

// Owns one dynamic array.
class Array {
 public:
  explicit Array(QvElementType eType) : p_(QvArrayNew(eType)) {}
  ~Array() { QvArrayFree(p_); }
  Array(Array&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Array& operator=(Array&& o) noexcept {
    if (this != &o) {
      QvArrayFree(p_);
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  Array(const Array&) = delete;
  Array& operator=(const Array&) = delete;

  QvArray* Get() const { return p_; }
  int64_t Count() const { return QvArrayCount(p_); }
  // The String at nIndex (empty when unassigned).
  String GetString(int64_t nIndex) const { return String::Adopt(QvArrayGetString(p_, nIndex)); }
  bool SetString(int64_t nIndex, std::string_view s) {
    const String sValue(s);
    return QvArraySetString(p_, nIndex, sValue.Get()) != 0;
  }
  QvNumber GetNumber(int64_t nIndex) const { return QvArrayGetNumber(p_, nIndex); }
  bool SetNumber(int64_t nIndex, QvNumber n) { return QvArraySetNumber(p_, nIndex, n) != 0; }

 private:
  QvArray* p_ = nullptr;
};

// Owns one instance of a library class: constructed by name, destroyed
// (with the class's destructor) when it goes.  Valid() is false for a
// class name the library does not declare.  The library's own global
// instances (QvGlobalObject) are borrowed: use the raw QvObject* for them.
class Object {
 public:
  explicit Object(const char* sClassName) : p_(QvObjectNew(sClassName)) {}
  ~Object() { QvObjectFree(p_); }
  Object(Object&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Object& operator=(Object&& o) noexcept {
    if (this != &o) {
      QvObjectFree(p_);
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  bool Valid() const { return p_ != nullptr; }
  QvObject* Get() const { return p_; }
  std::string_view ClassName() const { return p_ == nullptr ? std::string_view() : QvObjectClassName(p_); }

 private:
  QvObject* p_ = nullptr;
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

}  // namespace quorvane

#endif  // QUORVANE_QUORVANE_HPP
