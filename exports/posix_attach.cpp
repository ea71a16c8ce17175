// SPDX-License-Identifier: Apache-2.0
// Process attach and detach are the shared library's load and unload.  A
// shared object cannot refuse to load once its constructors run, so a failed
// attach ends the process (the reason has been shown in a message box).
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "exports/process.h"

__attribute__((constructor)) static void QvLibraryAttach() {
  if (!qv::abi::AttachProcess()) std::_Exit(71);
}
__attribute__((destructor)) static void QvLibraryDetach() { qv::abi::DetachProcess(); }

std::string qv::abi::UserHomeDirectory() {
  if (const char* s = std::getenv("HOME"); s != nullptr && *s != '\0') return s;
  passwd oEntry{};
  passwd* p = nullptr;
  std::vector<char> aBuffer(16384);  // glibc's entries need far less
  if (::getpwuid_r(::getuid(), &oEntry, aBuffer.data(), aBuffer.size(), &p) == 0 && p != nullptr &&
      p->pw_dir != nullptr) {
    return p->pw_dir;
  }
  return ".";
}
