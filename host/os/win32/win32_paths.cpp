// SPDX-License-Identifier: Apache-2.0
// Paths on Windows: the library's Windows paths are the system's own, so the
// mapping the POSIX host does (host/os/posix/posix_files.h) is the identity here.
#include <string>
#include <string_view>

namespace qv {

std::string MapToPosixPath(std::string_view sPath, std::string_view /*sDriveRoot*/) { return std::string(sPath); }

}  // namespace qv
