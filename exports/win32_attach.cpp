// SPDX-License-Identifier: Apache-2.0
// The DLL's entry point: process attach makes the host and the Module and
// binds the external libraries; when that fails (uitk60.dll missing, say,
// after the message box that names it) the entry point answers FALSE and
// the loader fails the load.  Process detach releases them.  Thread attach
// and detach do nothing.
#include <cstdlib>
#include <string>

#include "exports/process.h"

// After the library's headers: <windows.h> defines macros (MessageBox,
// SendMessage, CreateWindow, ...) that would rename the host interfaces'
// functions.  Nothing below uses those names.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE /*hModule*/, DWORD nReason, LPVOID pReserved) {
  switch (nReason) {
    case DLL_PROCESS_ATTACH:
      return qv::abi::AttachProcess() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      // At process exit (pReserved set) other DLLs may be gone already:
      // leave the memory to the system and release nothing.
      if (pReserved == nullptr) qv::abi::DetachProcess();
      return TRUE;
    default:
      return TRUE;
  }
}

// Windows keeps no user database of that kind: $HOME or ".".
std::string qv::abi::UserHomeDirectory() {
  if (const char* s = std::getenv("HOME"); s != nullptr && *s != '\0') return s;
  return ".";
}
