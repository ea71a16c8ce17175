// SPDX-License-Identifier: Apache-2.0
// The host of the Windows build, in one object: the Win32 file system, the
// system's private-profile functions, the headless window system, SQLite,
// and the runtime with the real uitk60.dll.  Same shape as the POSIX
// PortableHost, so that the C boundary uses either unchanged.
#pragma once

#include <string>

#include "core/host.h"
#include "host/directory_lock.h"
#include "host/headless_windows.h"
#include "host/portable_runtime.h"
#include "host/portable_sql.h"
#include "host/win32_files.h"
#include "host/win32_profiles.h"
#include "host/win32_toolkit.h"

namespace qv {

struct PortableHostOptions {
  // Where a bare profile name such as "Quorvane.ini" lives.
  std::string sProfileDir = ".";
  // Not used on Windows: the library's paths are the system's own.
  std::string sDriveRoot;
  // The path of the SQLite file; empty means DefaultDatabase(sProfileDir).
  std::string sDatabase;
};

// The embedded default database: "quorvane.db" in the profile directory.
std::string DefaultDatabase(const std::string& sProfileDir);

class PortableHost {
 public:
  explicit PortableHost(const PortableHostOptions& options = {});

  Host GetHost() { return Host{&win32Runtime_, &files_, &profiles_, &windows_, &sql_}; }

  PortableRuntime& Runtime() { return runtime_; }
  Win32FileSystem& Files() { return files_; }
  Win32Profiles& Profiles() { return profiles_; }
  HeadlessWindows& Windows() { return windows_; }
  ToolkitLists& Lists() { return runtime_.Lists(); }
  PortableSql& Sql() { return sql_; }
  // The lock a writer of the repository holds.
  DirectoryLock& RepositoryLock() { return repositoryLock_; }

  // As the POSIX host's: a new profile directory also moves the default
  // database; a database target, empty for the default, takes effect at
  // the next connection.
  void SetProfileDir(const std::string& sProfileDir);
  void SetDatabase(const std::string& sDatabase);

 private:
  std::string sProfileDir_;
  bool bDatabaseGiven_ = false;
  PortableRuntime runtime_;
  Win32Runtime win32Runtime_;
  Win32FileSystem files_;
  Win32Profiles profiles_;
  HeadlessWindows windows_;
  PortableSql sql_;
  DirectoryLock repositoryLock_;
};

}  // namespace qv
