// SPDX-License-Identifier: Apache-2.0
#include "host/portable_host.h"

namespace qv {

// Profile names with a directory map to this machine's paths as every other
// file name does, with the same drive root, and profiles are written
// through the same file system as every other file.
PortableHost::PortableHost(const PortableHostOptions& options)
    : sProfileDir_(options.sProfileDir), bDatabaseGiven_(!options.sDatabase.empty()),
      files_(options.sDriveRoot, options.sProfileDir),
      profiles_(
          options.sProfileDir,
          [sRoot = options.sDriveRoot](std::string_view sPath) { return MapToPosixPath(sPath, sRoot); }, &files_),
      sql_(options.sDatabase.empty() ? DefaultDatabase(options.sProfileDir) : options.sDatabase, files_) {}

void PortableHost::SetProfileDir(const std::string& sProfileDir) {
  sProfileDir_ = sProfileDir;
  files_.SetBareNameDirectory(sProfileDir);
  profiles_.SetProfileDir(sProfileDir);
  if (!bDatabaseGiven_) sql_.SetDatabase(DefaultDatabase(sProfileDir));
}

void PortableHost::SetDatabase(const std::string& sDatabase) {
  bDatabaseGiven_ = !sDatabase.empty();
  sql_.SetDatabase(bDatabaseGiven_ ? sDatabase : DefaultDatabase(sProfileDir_));
}

std::string DefaultDatabase(const std::string& sProfileDir) {
  return (sProfileDir.empty() ? std::string(".") : sProfileDir) + "/quorvane.db";
}

}  // namespace qv
