// SPDX-License-Identifier: Apache-2.0
// The POSIX host: the host interfaces implemented on this machine, in one
// object (HostApplication).  Real files, real INI files, a headless window
// system, SQLite and PostgreSQL, and the host's own external libraries.
#pragma once

#include <memory>
#include <string>

#include "core/host.h"
#include "core/host_application.h"
#include "host/headless/headless_windows.h"
#include "host/os/posix/ini_profiles.h"
#include "host/os/posix/posix_files.h"
#include "host/shared/portable_runtime.h"
#include "host/sql/portable_sql.h"

namespace qv {

// The embedded default database: "quorvane.db" in the profile directory.
std::string DefaultDatabase(const std::string& sProfileDir);

class PosixHost final : public HostApplication {
 public:
  // The file system's existence test also looks in the profile directory
  // for a bare name that is not in the current directory (see
  // PosixFileSystem).
  explicit PosixHost(const HostSettings& settings = {});

  // The interfaces in the form a Module takes them.  Replacing one (a
  // fault-injecting file layer, say) is done on the returned value.
  Host GetHost() override { return Host{&runtime_, &files_, &profiles_, &windows_, &sql_}; }

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

  // The parts, each in its own type, for tests to observe and script.
  HeadlessWindows& Windows() override { return windows_; }
  ToolkitLists& Lists() override { return runtime_.Lists(); }
  PortableRuntime& Runtime() { return runtime_; }
  PosixFileSystem& Files() { return files_; }
  IniProfiles& Profiles() { return profiles_; }
  PortableSql& Sql() { return sql_; }

 private:
  bool bDatabaseGiven_ = false;
  PortableRuntime runtime_;
  PosixFileSystem files_;
  IniProfiles profiles_;
  HeadlessWindows windows_;
  PortableSql sql_;
};

}  // namespace qv
