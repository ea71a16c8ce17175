// SPDX-License-Identifier: Apache-2.0
// The host of the Windows build, in one object (HostApplication): the
// Win32 file system, the system's private-profile functions, the headless
// window system, SQLite, and the runtime with the real uitk60.dll.
#pragma once

#include <string>

#include "core/host.h"
#include "core/host_application.h"
#include "host/headless/headless_windows.h"
#include "host/os/win32/win32_files.h"
#include "host/os/win32/win32_profiles.h"
#include "host/os/win32/win32_toolkit.h"
#include "host/shared/portable_runtime.h"
#include "host/sql/portable_sql.h"

namespace qv {

// The embedded default database: "quorvane.db" in the profile directory.
std::string DefaultDatabase(const std::string& sProfileDir);

class Win32Host final : public HostApplication {
 public:
  // settings.sDriveRoot is not used: the library's paths are the system's own.
  explicit Win32Host(const HostSettings& settings = {});

  Host GetHost() override { return Host{&win32Runtime_, &files_, &profiles_, &windows_, &sql_}; }

  void SetProfileDir(const std::string& sProfileDir) override;
  const std::string& ProfileDir() const override { return profiles_.ProfileDir(); }
  std::string ProfilePath(std::string_view sFile) const override { return profiles_.ResolvePath(sFile); }
  void SetDatabase(const std::string& sDatabase) override;
  const std::string& Database() const override { return sql_.Database(); }
  std::string RedactedDatabase(std::string_view sTarget) const override;
  void SetSqlErrorReporter(std::function<void(const SqlError&)> fn) override { sql_.SetErrorReporter(std::move(fn)); }
  std::string SettingsFileUnreadable(const std::string& sPath) override;
  std::string ReplaceSettingsFile(const std::string& sPath,
                                  const std::function<bool(const std::string& sNewFile)>& fnWrite) override;

  // The parts, each in its own type, for tests to observe and script.  The
  // list model is the host's own; the list operations of the library go to
  // uitk60.dll, which keeps lists of its own.
  HeadlessWindows& Windows() override { return windows_; }
  ToolkitLists& Lists() override { return runtime_.Lists(); }
  PortableRuntime& Runtime() { return runtime_; }
  Win32FileSystem& Files() { return files_; }
  Win32Profiles& Profiles() { return profiles_; }
  PortableSql& Sql() { return sql_; }

 private:
  bool bDatabaseGiven_ = false;
  PortableRuntime runtime_;
  Win32Runtime win32Runtime_;
  Win32FileSystem files_;
  Win32Profiles profiles_;
  HeadlessWindows windows_;
  PortableSql sql_;
};

}  // namespace qv
