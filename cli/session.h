// The library in this process: a portable host and an attached,
// initialised Module, as the command's in-process commands use them.
#pragma once

#include <string>
#include <string_view>

#include "frame/module.h"
#include "host/portable_host.h"

namespace qv::cli {

// The directory that holds the command's profiles ("Quorvane.ini"), as an
// absolute path: sOption (the value of --profile-dir) when it is not empty,
// else $QUORVANE_PROFILE_DIR, else $XDG_CONFIG_HOME/quorvane (an absolute
// XDG_CONFIG_HOME only, as the XDG rules say), else ~/.config/quorvane.
std::string ResolveProfileDir(std::string_view sOption);

class Session {
 public:
  // Bare profile names resolve against the current directory.
  Session();
  // Bare profile names resolve against sProfileDir (see ResolveProfileDir).
  explicit Session(std::string sProfileDir);
  Module& M() { return module_; }
  PortableHost& Host() { return host_; }

 private:
  explicit Session(const PortableHostOptions& options);

  PortableHost host_;
  Module module_;
};

}  // namespace qv::cli
