// SPDX-License-Identifier: Apache-2.0
// What both platforms' hosts share: the parts a host application is made of
// (runtime, files, profiles, windows, SQL) and everything it does with them
// that does not depend on the system.  Platform names the system's own file
// system and profile store and how they are made:
//
//   struct Platform {
//     using Files = ...;     // has SetBareNameDirectory(std::string)
//     using Profiles = ...;  // has ProfileDir(), SetProfileDir(), ResolvePath()
//     static constexpr char kSeparator = ...;  // between directory and file
//     static Files MakeFiles(const HostSettings&);
//     static Profiles MakeProfiles(const HostSettings&, Files&);
//   };
//
// Each platform's assembly derives from HostAssembly<Platform> and adds its
// GetHost and Lists, which is where the two differ: the Windows build's
// runtime goes to the real uitk60.dll, which keeps the list controls.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/host_application.h"
#include "host/headless/headless_windows.h"
#include "host/shared/portable_runtime.h"
#include "host/shared/settings_file.h"
#include "host/sql/portable_sql.h"
#include "host/sql/sql_backend.h"

namespace qv {

// The embedded default database: "quorvane.db" in the profile directory.
inline std::string DefaultDatabase(const std::string& sProfileDir, char cSeparator) {
  return (sProfileDir.empty() ? std::string(".") : sProfileDir) + cSeparator + "quorvane.db";
}

template <class Platform>
class HostAssembly : public HostApplication {
 public:
  using FilesType = typename Platform::Files;
  using ProfilesType = typename Platform::Profiles;

  void SetProfileDir(const std::string& sProfileDir) override {
    files_.SetBareNameDirectory(sProfileDir);
    profiles_.SetProfileDir(sProfileDir);
    if (!bDatabaseGiven_) sql_.SetDatabase(DefaultDatabase(sProfileDir, Platform::kSeparator));
  }
  const std::string& ProfileDir() const override { return profiles_.ProfileDir(); }
  std::string ProfilePath(std::string_view sFile) const override { return profiles_.ResolvePath(sFile); }
  void SetDatabase(const std::string& sDatabase) override {
    bDatabaseGiven_ = !sDatabase.empty();
    sql_.SetDatabase(bDatabaseGiven_ ? sDatabase : DefaultDatabase(profiles_.ProfileDir(), Platform::kSeparator));
  }
  const std::string& Database() const override { return sql_.Database(); }
  std::string RedactedDatabase(std::string_view sTarget) const override { return ::qv::RedactedDatabase(sTarget); }
  void SetSqlErrorReporter(std::function<void(const SqlError&)> fn) override { sql_.SetErrorReporter(std::move(fn)); }
  std::string SettingsFileUnreadable(const std::string& sPath) override { return ::qv::SettingsFileUnreadable(sPath); }
  std::string ReplaceSettingsFile(const std::string& sPath,
                                  const std::function<bool(const std::string& sNewFile)>& fnWrite) override {
    return ::qv::ReplaceSettingsFile(profiles_.ProfileDir(), sPath, fnWrite);
  }

  // The parts, each in its own type, for tests to observe and script.
  HeadlessWindows& Windows() override { return windows_; }
  PortableRuntime& Runtime() { return runtime_; }
  FilesType& Files() { return files_; }
  ProfilesType& Profiles() { return profiles_; }
  PortableSql& Sql() { return sql_; }

 protected:
  explicit HostAssembly(const HostSettings& settings)
      : bDatabaseGiven_(!settings.sDatabase.empty()), files_(Platform::MakeFiles(settings)),
        profiles_(Platform::MakeProfiles(settings, files_)),
        sql_(bDatabaseGiven_ ? settings.sDatabase : DefaultDatabase(settings.sProfileDir, Platform::kSeparator),
             files_) {
    runtime_.SetExecuting(settings.bExecuting);
  }

  bool bDatabaseGiven_ = false;
  PortableRuntime runtime_;
  FilesType files_;
  ProfilesType profiles_;
  HeadlessWindows windows_;
  PortableSql sql_;
};

}  // namespace qv
