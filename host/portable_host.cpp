#include "host/portable_host.h"

namespace qv {

// Profile names with a directory map to this machine's paths as every other
// file name does, with the same drive root.
PortableHost::PortableHost(const PortableHostOptions& options)
    : files_(options.sDriveRoot, options.sProfileDir),
      profiles_(options.sProfileDir, [sRoot = options.sDriveRoot](std::string_view sPath) {
        return MapToPosixPath(sPath, sRoot);
      }) {}

}  // namespace qv
