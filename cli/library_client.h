// SPDX-License-Identifier: Apache-2.0
// Loads libquorvane.so with dlopen and reaches its exports by name, as a
// host application of the library does.
#pragma once

#include <string>
#include <string_view>

#include "quorvane/quorvane.h"

namespace quorvane::cli {

class LibraryClient {
 public:
  LibraryClient() = default;
  ~LibraryClient();
  LibraryClient(const LibraryClient&) = delete;
  LibraryClient& operator=(const LibraryClient&) = delete;

  // Loads the library; false with Error() set when it cannot be loaded.
  bool Load(const std::string& sPath);
  void Unload();
  bool Loaded() const { return pHandle_ != nullptr; }
  const std::string& Error() const { return sError_; }

  // The symbol with this name, or nullptr.
  void* Symbol(const char* sName) const;
  template <class Fn>
  Fn Function(const char* sName) const {
    return reinterpret_cast<Fn>(Symbol(sName));
  }

  // Runtime API conveniences, the same on every system.
  QvString* NewString(std::string_view s) const {
    return Function<QvString* (*)(const char*, size_t)>("QvStringNew")(s.data(), s.size());
  }
  void FreeString(QvString* p) const { Function<void (*)(QvString*)>("QvStringFree")(p); }
  // Copies and releases p.
  std::string TakeString(QvString* p) const {
    const char* pData = Function<const char* (*)(const QvString*)>("QvStringData")(p);
    const size_t nSize = Function<size_t (*)(const QvString*)>("QvStringSize")(p);
    std::string s(pData, nSize);
    FreeString(p);
    return s;
  }

 private:
  void* pHandle_ = nullptr;
  std::string sError_;
};

// The library for the running program: libquorvane.so.0 beside it, else in
// the installed library directory.
std::string LibraryBeside(const char* sArgv0);

}  // namespace quorvane::cli
