// SPDX-License-Identifier: Apache-2.0
#include "host/os/win32/win32_host.h"

#include "host/shared/settings_file.h"
#include "host/sql/sql_backend.h"

namespace qv {

Win32Host::Win32Host(const HostSettings& settings)
    : bDatabaseGiven_(!settings.sDatabase.empty()), win32Runtime_(runtime_), files_(settings.sProfileDir),
      profiles_(settings.sProfileDir),
      sql_(settings.sDatabase.empty() ? DefaultDatabase(settings.sProfileDir) : settings.sDatabase, files_) {
  runtime_.SetExecuting(settings.bExecuting);
}

void Win32Host::SetProfileDir(const std::string& sProfileDir) {
  files_.SetBareNameDirectory(sProfileDir);
  profiles_.SetProfileDir(sProfileDir);
  if (!bDatabaseGiven_) sql_.SetDatabase(DefaultDatabase(sProfileDir));
}

void Win32Host::SetDatabase(const std::string& sDatabase) {
  bDatabaseGiven_ = !sDatabase.empty();
  sql_.SetDatabase(bDatabaseGiven_ ? sDatabase : DefaultDatabase(profiles_.ProfileDir()));
}

std::string Win32Host::RedactedDatabase(std::string_view sTarget) const { return ::qv::RedactedDatabase(sTarget); }

std::string Win32Host::SettingsFileUnreadable(const std::string& sPath) { return ::qv::SettingsFileUnreadable(sPath); }

std::string Win32Host::ReplaceSettingsFile(const std::string& sPath,
                                           const std::function<bool(const std::string& sNewFile)>& fnWrite) {
  return ::qv::ReplaceSettingsFile(profiles_.ProfileDir(), sPath, fnWrite);
}

std::string DefaultDatabase(const std::string& sProfileDir) {
  return (sProfileDir.empty() ? std::string(".") : sProfileDir) + "\\quorvane.db";
}

std::unique_ptr<HostApplication> MakeProcessHost(const HostSettings& settings) {
  return std::make_unique<Win32Host>(settings);
}

}  // namespace qv
