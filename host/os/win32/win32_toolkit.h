// SPDX-License-Identifier: Apache-2.0
// The host runtime of the Windows build: the portable runtime (execution
// state, fatal errors, clock, the host's own User32, Kernel32 and Gdi32
// providers), with the toolkit "uitk60" being the real uitk60.dll.
//
// The system's own User32, Kernel32 and Gdi32 are never bound: their
// ordinals differ from the ones the library binds, so binding them would
// call the wrong functions.  uitk60.dll is loaded with LoadLibraryA when the
// module is attached (a missing DLL fails the attach) and each entry is
// looked up by ordinal with GetProcAddress on its first call; the library
// reaches it through an adapter that turns the library's values into the
// toolkit's plain C arguments (uitk60/uitk60.h).  The list controls, their
// record and their scripts are uitk60.dll's, reached through its named
// exports (Lists()).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/host.h"
#include "core/list_scripting.h"
#include "host/shared/portable_runtime.h"

namespace qv {

class Win32Runtime final : public Runtime {
 public:
  // sToolkitDll: the file LoadLibraryA loads for "uitk60"; a bare name is
  // looked for beside the module that holds this code.
  explicit Win32Runtime(PortableRuntime& base, std::string sToolkitDll = "uitk60.dll");
  ~Win32Runtime() override;

  bool IsExecuting() override { return base_.IsExecuting(); }
  DateTime CurrentDateTime() override { return base_.CurrentDateTime(); }
  [[noreturn]] void FatalError(std::string_view sText) override { base_.FatalError(sText); }
  ExternalLibrary* LoadLibrary(std::string_view sName) override;
  void FreeLibrary(ExternalLibrary* pLibrary) override;
  int32_t HostCommand(int32_t nValue, int32_t nArg1, int32_t nArg2) override {
    return base_.HostCommand(nValue, nArg1, nArg2);
  }
  bool QueryThreeNumbers(int32_t nValue, int32_t& nA, int32_t& nB, int32_t& nC) override {
    return base_.QueryThreeNumbers(nValue, nA, nB, nC);
  }

  // The toolkit entry at this ordinal, as GetProcAddress found it (nullptr
  // before its first call).  Used by the adapters.
  void* ToolkitEntry(int nOrdinal) const;
  // The record and scripts of uitk60.dll's list controls, the ones the
  // library's list operations reach.
  ListScripting& Lists();

 private:
  class ToolkitDll;
  class DllLists;
  std::string ToolkitPath() const;
  PortableRuntime& base_;
  std::string sToolkitDll_;
  std::vector<std::unique_ptr<ToolkitDll>> aLoaded_;
  std::map<int, ExternalLibrary::Entry> aAdapters_;  // by ordinal, from the function table
  std::map<int, void*> aEntries_;                    // what GetProcAddress found, by ordinal
  std::unique_ptr<DllLists> pLists_;
};

}  // namespace qv
