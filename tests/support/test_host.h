// SPDX-License-Identifier: Apache-2.0
// A fresh host in a temporary directory, and a Module over it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "core/module.h"
#ifdef _WIN32
#include "host/os/win32/win32_host.h"
#else
#include "host/os/posix/posix_host.h"
#endif

namespace qv::test {

// Object types of the windows tests build: a form and a data field are
// neither table windows nor standard framework objects.
inline constexpr int64_t kTypeForm = 1;
inline constexpr int64_t kTypeDataField = 2;

// A directory removed when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::string Str() const { return path_.string(); }
  // Writes a file below the directory (creating its parents); returns its path.
  std::string Write(const std::string& sRelative, const std::string& sContent) const;
  std::string Read(const std::string& sRelative) const;

 private:
  std::filesystem::path path_;
};

// The host assembly of this build, PosixHost on Linux and Win32Host on
// Windows, and its file system.
#ifdef _WIN32
using PlatformHost = Win32Host;
#else
using PlatformHost = PosixHost;
#endif
using HostFileSystem = std::remove_reference_t<decltype(std::declval<PlatformHost&>().Files())>;

// A host rooted in a temporary directory whose fatal errors throw
// FatalErrorRaised, and an attached Module over it.
class HostFixture : public ::testing::Test {
 protected:
  HostFixture();
  // A new Module over the same host (the old one is detached first).
  Module& FreshModule(ModuleFaults faults = {});
  // A path below the temporary directory in the library's form: "\" separators.
  std::string Win(const std::string& sRelative) const;

  TempDir dir_;
  std::unique_ptr<PlatformHost> host_;
  std::unique_ptr<Module> module_;
};

}  // namespace qv::test
