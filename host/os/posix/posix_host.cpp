// SPDX-License-Identifier: Apache-2.0
#include "host/os/posix/posix_host.h"

#include <memory>

namespace qv {

std::unique_ptr<HostApplication> MakeProcessHost(const HostSettings& settings) {
  return std::make_unique<PosixHost>(settings);
}

}  // namespace qv
