// SPDX-License-Identifier: Apache-2.0
// The portable host: the host interfaces implemented on this machine, in
// one object.  Real files, real INI files, a headless window system and the
// host's own external libraries.
#pragma once

#ifdef _WIN32
// The Windows build has its own host set (CMake picks one per system).
#include "host/win32_host.h"
#else

#include <memory>
#include <string>

#include "core/host.h"
#include "host/directory_lock.h"
#include "host/headless_windows.h"
#include "host/ini_profiles.h"
#include "host/portable_runtime.h"
#include "host/portable_sql.h"
#include "host/posix_files.h"

namespace qv {

struct PortableHostOptions {
  // Where a bare profile name such as "Quorvane.ini" lives.  The file
  // system's existence test also looks here for a bare name that is not in
  // the current directory (see PosixFileSystem).
  std::string sProfileDir = ".";
  // The directory every drive letter ("C:") maps to.
  std::string sDriveRoot = "/";
  // The database: a PostgreSQL connection string or the path of an SQLite
  // file (KindOfDatabase says which); empty means DefaultDatabase(sProfileDir).
  std::string sDatabase;
};

// The embedded default database: "quorvane.db" in the profile directory.
std::string DefaultDatabase(const std::string& sProfileDir);

class PortableHost {
 public:
  explicit PortableHost(const PortableHostOptions& options = {});

  // The interfaces in the form a Module takes them.  Replacing one (a
  // fault-injecting file layer, say) is done on the returned value.
  Host GetHost() { return Host{&runtime_, &files_, &profiles_, &windows_, &sql_}; }

  PortableRuntime& Runtime() { return runtime_; }
  PosixFileSystem& Files() { return files_; }
  IniProfiles& Profiles() { return profiles_; }
  HeadlessWindows& Windows() { return windows_; }
  ToolkitLists& Lists() { return runtime_.Lists(); }
  PortableSql& Sql() { return sql_; }
  // The lock a writer of the repository holds.
  DirectoryLock& RepositoryLock() { return repositoryLock_; }

  // Changes the settings the host was made with, for what is done next: a
  // new profile directory also moves the default database; a database
  // target, empty for the default, takes effect at the next connection.
  void SetProfileDir(const std::string& sProfileDir);
  void SetDatabase(const std::string& sDatabase);

 private:
  std::string sProfileDir_;
  bool bDatabaseGiven_ = false;
  PortableRuntime runtime_;
  PosixFileSystem files_;
  IniProfiles profiles_;
  HeadlessWindows windows_;
  PortableSql sql_;
  DirectoryLock repositoryLock_;
};

}  // namespace qv

#endif
