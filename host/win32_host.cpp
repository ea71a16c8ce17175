#include "host/win32_host.h"

namespace qv {

PortableHost::PortableHost(const PortableHostOptions& options)
    : win32Runtime_(runtime_), files_(options.sProfileDir), profiles_(options.sProfileDir),
      sql_(options.sDatabase.empty() ? DefaultDatabase(options.sProfileDir) : options.sDatabase, files_) {}

std::string DefaultDatabase(const std::string& sProfileDir) {
  return (sProfileDir.empty() ? std::string(".") : sProfileDir) + "\\quorvane.db";
}

}  // namespace qv
