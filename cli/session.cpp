#include "cli/session.h"

#include <cstdio>
#include <cstdlib>

namespace qv::cli {

Session::Session() : module_(host_.GetHost()) {
  if (!module_.Attach()) {
    std::fputs("quorvane: the library could not bind its external libraries\n", stderr);
    std::exit(1);
  }
  module_.EnsureInitialised();
}

}  // namespace qv::cli
