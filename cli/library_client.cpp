// SPDX-License-Identifier: Apache-2.0
#include "cli/library_client.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace quorvane::cli {

LibraryClient::~LibraryClient() { Unload(); }

bool LibraryClient::Load(const std::string& sPath) {
  Unload();
  pHandle_ = dlopen(sPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (pHandle_ == nullptr) {
    const char* sWhy = dlerror();
    sError_ = sWhy != nullptr ? sWhy : "cannot load " + sPath;
    return false;
  }
  return true;
}

void LibraryClient::Unload() {
  if (pHandle_ != nullptr) dlclose(pHandle_);
  pHandle_ = nullptr;
}

void* LibraryClient::Symbol(const char* sName) const { return pHandle_ == nullptr ? nullptr : dlsym(pHandle_, sName); }

std::string LibraryBeside(const char* sArgv0) {
  std::string sExe;
  char aBuffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", aBuffer, sizeof(aBuffer) - 1);
  if (n > 0) {
    sExe.assign(aBuffer, static_cast<size_t>(n));
  } else if (sArgv0 != nullptr) {
    sExe = sArgv0;
  }
  const size_t nSlash = sExe.rfind('/');
  const std::string sDir = nSlash == std::string::npos ? "." : sExe.substr(0, nSlash);
  // Beside the command in the build tree; once installed, in the library
  // directory.  By its SONAME: the runtime files hold that name, while the
  // plain libquorvane.so link belongs to the development files.
  std::string sBeside = sDir + "/libquorvane.so.0";  // not const: returned by move
  if (access(sBeside.c_str(), F_OK) == 0) return sBeside;
#ifdef QV_LIBDIR_FROM_BINDIR
  return sDir + "/" QV_LIBDIR_FROM_BINDIR "/libquorvane.so.0";
#else
  return sBeside;
#endif
}

}  // namespace quorvane::cli
