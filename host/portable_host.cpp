#include "host/portable_host.h"

namespace qv {

PortableHost::PortableHost(const PortableHostOptions& options)
    : files_(options.sDriveRoot), profiles_(options.sProfileDir) {}

}  // namespace qv
