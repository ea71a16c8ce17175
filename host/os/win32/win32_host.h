// SPDX-License-Identifier: Apache-2.0
// The host of the Windows build, in one object (HostApplication): the
// Win32 file system, the system's private-profile functions, the headless
// window system, SQLite, and the runtime with the real uitk60.dll.
#pragma once

#include "core/host.h"
#include "host/os/win32/win32_files.h"
#include "host/os/win32/win32_profiles.h"
#include "host/os/win32/win32_toolkit.h"
#include "host/shared/host_assembly.h"

namespace qv {

// settings.sDriveRoot is not used: the library's paths are the system's own.
struct Win32Platform {
  using Files = Win32FileSystem;
  using Profiles = Win32Profiles;
  static constexpr char kSeparator = '\\';
  static Files MakeFiles(const HostSettings& settings) { return Files(settings.sProfileDir); }
  static Profiles MakeProfiles(const HostSettings& settings, Files& /*files*/) {
    return Profiles(settings.sProfileDir);
  }
};

class Win32Host final : public HostAssembly<Win32Platform> {
 public:
  explicit Win32Host(const HostSettings& settings = {}) : HostAssembly(settings), win32Runtime_(runtime_) {}

  Host GetHost() override { return Host{&win32Runtime_, &files_, &profiles_, &windows_, &sql_}; }
  // The list controls the library's list operations reach: uitk60.dll's.
  ListScripting& Lists() override { return win32Runtime_.Lists(); }

 private:
  Win32Runtime win32Runtime_;
};

}  // namespace qv
