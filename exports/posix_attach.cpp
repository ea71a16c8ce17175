// SPDX-License-Identifier: Apache-2.0
// Process attach and detach are the shared library's load and unload.  A
// shared object cannot refuse to load once its constructors run, so a failed
// attach ends the process (the reason has been shown in a message box).
#include <cstdlib>

#include "exports/process.h"

__attribute__((constructor)) static void QvLibraryAttach() {
  if (!qv::abi::AttachProcess()) std::_Exit(71);
}
__attribute__((destructor)) static void QvLibraryDetach() { qv::abi::DetachProcess(); }
