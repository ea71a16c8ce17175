// SPDX-License-Identifier: Apache-2.0
#include "host/os/win32/win32_host.h"

#include <memory>

namespace qv {

std::unique_ptr<HostApplication> MakeProcessHost(const HostSettings& settings) {
  return std::make_unique<Win32Host>(settings);
}

}  // namespace qv
