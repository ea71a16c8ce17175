// SPDX-License-Identifier: Apache-2.0
#include "host/shared/portable_runtime.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace qv {

ExternalLibrary::Entry FunctionLibrary::FindOrdinal(int nOrdinal) {
  const auto it = aByOrdinal_.find(nOrdinal);
  return it == aByOrdinal_.end() ? nullptr : it->second;
}

ExternalLibrary::Entry FunctionLibrary::FindName(std::string_view sName) {
  const auto it = aByName_.find(sName);
  return it == aByName_.end() ? nullptr : it->second;
}

PortableRuntime::PortableRuntime() {
  for (const char* sName : {"User32", "Kernel32", "Gdi32", "uitk60"}) {
    aLibraries_[sName] = std::make_unique<FunctionLibrary>(sName);
  }
  AddUser32Entries(*aLibraries_["User32"]);
  AddToolkitEntries(*aLibraries_["uitk60"]);
}

void PortableRuntime::RemoveLibrary(std::string_view sName) {
  const auto it = aLibraries_.find(sName);
  if (it != aLibraries_.end()) aLibraries_.erase(it);
}

FunctionLibrary* PortableRuntime::Library(std::string_view sName) {
  const auto it = aLibraries_.find(sName);
  return it == aLibraries_.end() ? nullptr : it->second.get();
}

DateTime PortableRuntime::CurrentDateTime() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto nMicro = static_cast<int>(duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000);
  return DateTime::FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                             local.tm_sec, nMicro);
}

void PortableRuntime::FatalError(std::string_view sText) {
  if (onFatal_) onFatal_(sText);
  std::fprintf(stderr, "quorvane: fatal error: %.*s\n", static_cast<int>(sText.size()), sText.data());
  std::fflush(stderr);
  std::_Exit(70);
}

ExternalLibrary* PortableRuntime::LoadLibrary(std::string_view sName) {
  ++nLoads_;
  return Library(sName);
}

void PortableRuntime::FreeLibrary(ExternalLibrary* pLibrary) {
  if (pLibrary != nullptr) ++nFrees_;
}

int32_t PortableRuntime::HostCommand(int32_t nValue, int32_t nArg1, int32_t nArg2) {
  return onHostCommand_ ? onHostCommand_(nValue, nArg1, nArg2) : 0;
}

bool PortableRuntime::QueryThreeNumbers(int32_t nValue, int32_t& nA, int32_t& nB, int32_t& nC) {
  if (onQuery_) return onQuery_(nValue, nA, nB, nC);
  nA = -1;
  nB = 0;
  nC = -1;
  return false;
}

}  // namespace qv
