#include "host/portable_host.h"

namespace qv {

PortableHost::PortableHost(const PortableHostOptions& options)
    : files_(options.sDriveRoot, options.sProfileDir), profiles_(options.sProfileDir) {}

}  // namespace qv
