// SPDX-License-Identifier: Apache-2.0
// The portable host runtime: execution state, the fatal-error report, the
// clock, and the external libraries it provides in place of User32, Kernel32,
// Gdi32 and the UI toolkit.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "core/host.h"
#include "host/toolkit/toolkit_lists.h"

namespace qv {

// An external library made of entry points registered by ordinal and name.
class FunctionLibrary final : public ExternalLibrary {
 public:
  explicit FunctionLibrary(std::string sName) : sName_(std::move(sName)) {}
  void AddOrdinal(int nOrdinal, Entry pEntry) { aByOrdinal_[nOrdinal] = pEntry; }
  void AddName(std::string sName, Entry pEntry) { aByName_[std::move(sName)] = pEntry; }
  void RemoveOrdinal(int nOrdinal) { aByOrdinal_.erase(nOrdinal); }
  const std::string& Name() const { return sName_; }

  Entry FindOrdinal(int nOrdinal) override;
  Entry FindName(std::string_view sName) override;

 private:
  std::string sName_;
  std::map<int, Entry> aByOrdinal_;
  std::map<std::string, Entry, std::less<>> aByName_;
};

// Thrown by the fatal-error handler that tests install; never crosses the
// C boundary (the process host reports fatal errors and exits).
struct FatalErrorRaised {
  std::string sText;
};

class PortableRuntime final : public Runtime {
 public:
  using FatalHandler = std::function<void(std::string_view)>;
  using HostCommandHandler = std::function<int32_t(int32_t nValue, int32_t nArg1, int32_t nArg2)>;
  using QueryHandler = std::function<bool(int32_t nValue, int32_t& nA, int32_t& nB, int32_t& nC)>;

  // Builds the four libraries with every entry point the host provides.
  PortableRuntime();

  void SetExecuting(bool bExecuting) { bExecuting_ = bExecuting; }
  // Called with the text of a fatal error.  The default prints it to
  // stderr and ends the process; a handler that returns also ends it.
  void SetFatalHandler(FatalHandler fn) { onFatal_ = std::move(fn); }
  // The host application's commands and its three-number query.  This host
  // has no application behind it: without a handler a command answers 0,
  // and the query reports nothing (FALSE) with the numbers -1, 0, -1, the
  // shape of "no rows" (so a count taken as the third number + 1 is 0).
  void SetHostCommandHandler(HostCommandHandler fn) { onHostCommand_ = std::move(fn); }
  void SetQueryHandler(QueryHandler fn) { onQuery_ = std::move(fn); }
  // Removes a library, so that loading it fails (for tests of the loader).
  void RemoveLibrary(std::string_view sName);
  FunctionLibrary* Library(std::string_view sName);

  // The toolkit's list controls, which the toolkit library's entry points serve.
  ToolkitLists& Lists() { return lists_; }

  int LoadCalls() const { return nLoads_; }
  int FreeCalls() const { return nFrees_; }

  bool IsExecuting() override { return bExecuting_; }
  DateTime CurrentDateTime() override;
  [[noreturn]] void FatalError(std::string_view sText) override;
  ExternalLibrary* LoadLibrary(std::string_view sName) override;
  void FreeLibrary(ExternalLibrary* pLibrary) override;
  int32_t HostCommand(int32_t nValue, int32_t nArg1, int32_t nArg2) override;
  bool QueryThreeNumbers(int32_t nValue, int32_t& nA, int32_t& nB, int32_t& nC) override;

 private:
  bool bExecuting_ = true;
  FatalHandler onFatal_;
  HostCommandHandler onHostCommand_;
  QueryHandler onQuery_;
  std::map<std::string, std::unique_ptr<FunctionLibrary>, std::less<>> aLibraries_;
  ToolkitLists lists_;
  int nLoads_ = 0;
  int nFrees_ = 0;
};

// Registers the host's toolkit and Windows entry points (host/toolkit/toolkit_provider.cpp).
void AddToolkitEntries(FunctionLibrary& uitk);
void AddUser32Entries(FunctionLibrary& user32);

}  // namespace qv
