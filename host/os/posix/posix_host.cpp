// SPDX-License-Identifier: Apache-2.0
#include "host/os/posix/posix_host.h"

#include "host/shared/settings_file.h"
#include "host/sql/sql_backend.h"

namespace qv {

// Profile names with a directory map to this machine's paths as every other
// file name does, with the same drive root, and profiles are written
// through the same file system as every other file.
PosixHost::PosixHost(const HostSettings& settings)
    : bDatabaseGiven_(!settings.sDatabase.empty()), files_(settings.sDriveRoot, settings.sProfileDir),
      profiles_(
          settings.sProfileDir,
          [sRoot = settings.sDriveRoot](std::string_view sPath) { return MapToPosixPath(sPath, sRoot); }, &files_),
      sql_(settings.sDatabase.empty() ? DefaultDatabase(settings.sProfileDir) : settings.sDatabase, files_) {
  runtime_.SetExecuting(settings.bExecuting);
}

void PosixHost::SetProfileDir(const std::string& sProfileDir) {
  files_.SetBareNameDirectory(sProfileDir);
  profiles_.SetProfileDir(sProfileDir);
  if (!bDatabaseGiven_) sql_.SetDatabase(DefaultDatabase(sProfileDir));
}

void PosixHost::SetDatabase(const std::string& sDatabase) {
  bDatabaseGiven_ = !sDatabase.empty();
  sql_.SetDatabase(bDatabaseGiven_ ? sDatabase : DefaultDatabase(profiles_.ProfileDir()));
}

std::string PosixHost::RedactedDatabase(std::string_view sTarget) const { return ::qv::RedactedDatabase(sTarget); }

std::string PosixHost::SettingsFileUnreadable(const std::string& sPath) { return ::qv::SettingsFileUnreadable(sPath); }

std::string PosixHost::ReplaceSettingsFile(const std::string& sPath,
                                           const std::function<bool(const std::string& sNewFile)>& fnWrite) {
  return ::qv::ReplaceSettingsFile(profiles_.ProfileDir(), sPath, fnWrite);
}

std::string DefaultDatabase(const std::string& sProfileDir) {
  return (sProfileDir.empty() ? std::string(".") : sProfileDir) + "/quorvane.db";
}

std::unique_ptr<HostApplication> MakeProcessHost(const HostSettings& settings) {
  return std::make_unique<PosixHost>(settings);
}

}  // namespace qv
