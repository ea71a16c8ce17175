// The library in this process: a portable host and an attached,
// initialised Module, as the command's in-process commands use them.
#pragma once

#include "frame/module.h"
#include "host/portable_host.h"

namespace qv::cli {

class Session {
 public:
  Session();
  Module& M() { return module_; }
  PortableHost& Host() { return host_; }

 private:
  PortableHost host_;
  Module module_;
};

}  // namespace qv::cli
