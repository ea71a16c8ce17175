#include "host/portable_host.h"

namespace qv {

// Profile names with a directory map to this machine's paths as every other
// file name does, with the same drive root, and profiles are written
// through the same file system as every other file.
PortableHost::PortableHost(const PortableHostOptions& options)
    : files_(options.sDriveRoot, options.sProfileDir),
      profiles_(
          options.sProfileDir,
          [sRoot = options.sDriveRoot](std::string_view sPath) { return MapToPosixPath(sPath, sRoot); }, &files_),
      sql_(options.sDatabase.empty() ? DefaultDatabase(options.sProfileDir) : options.sDatabase, files_) {}

std::string DefaultDatabase(const std::string& sProfileDir) {
  return (sProfileDir.empty() ? std::string(".") : sProfileDir) + "/quorvane.db";
}

}  // namespace qv
