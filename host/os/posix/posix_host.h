// SPDX-License-Identifier: Apache-2.0
// The POSIX host: the host interfaces implemented on this machine, in one
// object (HostApplication).  Real files, real INI files, a headless window
// system, SQLite and PostgreSQL, and the host's own external libraries.
#pragma once

#include "core/host.h"
#include "host/os/posix/ini_profiles.h"
#include "host/os/posix/posix_files.h"
#include "host/shared/host_assembly.h"

namespace qv {

// The file system's existence test also looks in the profile directory for
// a bare name that is not in the current directory (see PosixFileSystem).
// Profile names with a directory map to this machine's paths as every other
// file name does, with the same drive root, and profiles are written
// through the same file system as every other file.
struct PosixPlatform {
  using Files = PosixFileSystem;
  using Profiles = IniProfiles;
  static constexpr char kSeparator = '/';
  static Files MakeFiles(const HostSettings& settings) { return Files(settings.sDriveRoot, settings.sProfileDir); }
  static Profiles MakeProfiles(const HostSettings& settings, Files& files) {
    return Profiles(
        settings.sProfileDir,
        [sRoot = settings.sDriveRoot](std::string_view sPath) { return MapToPosixPath(sPath, sRoot); }, &files);
  }
};

class PosixHost final : public HostAssembly<PosixPlatform> {
 public:
  explicit PosixHost(const HostSettings& settings = {}) : HostAssembly(settings) {}

  // The interfaces in the form a Module takes them.  Replacing one (a
  // fault-injecting file layer, say) is done on the returned value.
  Host GetHost() override { return Host{&runtime_, &files_, &profiles_, &windows_, &sql_}; }
  // The toolkit's list controls are the host's own model.
  ToolkitLists& Lists() override { return runtime_.Lists(); }
};

}  // namespace qv
