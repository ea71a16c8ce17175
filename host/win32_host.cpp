// SPDX-License-Identifier: Apache-2.0
#include "host/win32_host.h"

namespace qv {

PortableHost::PortableHost(const PortableHostOptions& options)
    : sProfileDir_(options.sProfileDir), bDatabaseGiven_(!options.sDatabase.empty()), win32Runtime_(runtime_),
      files_(options.sProfileDir), profiles_(options.sProfileDir),
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
  return (sProfileDir.empty() ? std::string(".") : sProfileDir) + "\\quorvane.db";
}

}  // namespace qv
