// SPDX-License-Identifier: Apache-2.0
// LibraryClient on Windows: LoadLibraryA and GetProcAddress; the library
// beside the running program is quorvane.dll.
#include "cli/library_client.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace quorvane::cli {

LibraryClient::~LibraryClient() { Unload(); }

bool LibraryClient::Load(const std::string& sPath) {
  Unload();
  pHandle_ = reinterpret_cast<void*>(LoadLibraryA(sPath.c_str()));
  if (pHandle_ == nullptr) {
    sError_ = "cannot load " + sPath + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  return true;
}

void LibraryClient::Unload() {
  if (pHandle_ != nullptr) FreeLibrary(reinterpret_cast<HMODULE>(pHandle_));
  pHandle_ = nullptr;
}

void* LibraryClient::Symbol(const char* sName) const {
  return pHandle_ == nullptr ? nullptr
                             : reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(pHandle_), sName));
}

std::string LibraryBeside(const char* sArgv0) {
  char aBuffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, aBuffer, sizeof(aBuffer));
  std::string sExe = n > 0 && n < sizeof(aBuffer) ? std::string(aBuffer, n) : std::string(sArgv0 ? sArgv0 : "");
  const size_t nSlash = sExe.find_last_of("\\/");
  return (nSlash == std::string::npos ? std::string(".") : sExe.substr(0, nSlash)) + "\\quorvane.dll";
}

}  // namespace quorvane::cli
