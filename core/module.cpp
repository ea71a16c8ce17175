// SPDX-License-Identifier: Apache-2.0
#include "core/module.h"

#include <cstdlib>
#include <string>
#include <utility>

namespace qv {
namespace {

constexpr std::string_view kCompilerCaption = "Application Compiler";
constexpr std::string_view kBindBoxText = "FATAL: unable to condition sql-bindings";
constexpr std::string_view kBindFatal = "Unable to initialize SQL bindings";
constexpr std::string_view kDataBlockFatal = "FATAL: __mcb unable to allocate conn-data";
constexpr std::string_view kLibraryMissing = "Unable to find external-function library:\n";
constexpr std::string_view kIndexMissing = "Can't alloc pExfuncIndex";
constexpr std::string_view kLookupFailed = "FATAL: unable to locate external function in DLL: ";

}  // namespace

Module::Module(const Host& host, ModuleFaults faults, ModuleContents contents)
    : host_(host), faults_(faults), contents_(contents) {}

Module::~Module() { Detach(); }

void Module::Fatal(std::string_view sText) {
  host_.pRuntime->FatalError(sText);
  std::abort();  // a host's fatal-error report does not return
}

bool Module::Attach() {
  if (bLibrariesBound_) return true;
  if (!host_.pRuntime->IsExecuting()) return true;  // design time: bind nothing

  for (int nSlot = 0; nSlot < kLibrarySlots; ++nSlot) {
    ExternalLibrary* pLibrary = host_.pRuntime->LoadLibrary(LibraryName(nSlot));
    if (pLibrary == nullptr) {
      host_.pWindows->MessageBox(std::string(kLibraryMissing) + std::string(LibraryName(nSlot)), kCompilerCaption,
                                 kMessageBoxErrorIcon);
      for (int n = 0; n < nSlot; ++n) {
        host_.pRuntime->FreeLibrary(aLibraries_[static_cast<size_t>(n)]);
        aLibraries_[static_cast<size_t>(n)] = nullptr;
      }
      return false;
    }
    aLibraries_[static_cast<size_t>(nSlot)] = pLibrary;
  }
  if (faults_.bExternalIndexAllocation) {
    host_.pWindows->MessageBox(kIndexMissing, kCompilerCaption, kMessageBoxErrorIcon);
    for (auto& pLibrary : aLibraries_) {
      host_.pRuntime->FreeLibrary(pLibrary);
      pLibrary = nullptr;
    }
    return false;
  }
  aExternalIndex_.assign(kExternalFunctionCount, nullptr);
  bLibrariesBound_ = true;
  return true;
}

void Module::Detach() {
  if (!bLibrariesBound_) return;
  for (auto& pLibrary : aLibraries_) {
    if (pLibrary != nullptr) host_.pRuntime->FreeLibrary(pLibrary);
    pLibrary = nullptr;
  }
  aExternalIndex_.clear();
  bLibrariesBound_ = false;
}

int Module::LoadedLibraryCount() const {
  int n = 0;
  for (const auto* pLibrary : aLibraries_) n += pLibrary != nullptr ? 1 : 0;
  return n;
}

ExternalLibrary::Entry Module::External(ExternalFunction e) {
  const auto nIndex = static_cast<size_t>(e);
  if (bLibrariesBound_ && aExternalIndex_[nIndex] != nullptr) return aExternalIndex_[nIndex];

  const ExternalFunctionRow& row = ExternalRow(e);
  ExternalLibrary::Entry pEntry = nullptr;
  if (bLibrariesBound_) {
    ExternalLibrary* pLibrary = aLibraries_[static_cast<size_t>(row.nSlot)];
    pEntry = row.sName != nullptr ? pLibrary->FindName(row.sName) : pLibrary->FindOrdinal(row.nOrdinal);
  }
  if (pEntry == nullptr) {
    std::string sText(kLookupFailed);
    if (row.sName != nullptr) {
      sText += row.sName;
    } else {
      sText += "ordinal " + std::to_string(row.nOrdinal);
    }
    Fatal(sText);
  }
  aExternalIndex_[nIndex] = pEntry;
  return pEntry;
}

ModuleSlot& Module::AddSlot(const void* pKey, std::unique_ptr<ModuleSlot> pSlot) {
  aSlots_.push_back({pKey, std::move(pSlot)});
  return *aSlots_.back().pSlot;
}

void Module::Initialise() {
  // 1. The SQL bind-variable table, with the address of each variable.
  if (faults_.bBindTableAllocation) {
    host_.pWindows->MessageBox(kBindBoxText, kCompilerCaption, kMessageBoxErrorIcon);
    Fatal(kBindFatal);
  }
  aBindTable_.clear();
  for (const ModuleContents::BindVariableOwner pOwner : contents_.aBindVariableOwners) pOwner(*this, aBindTable_);

  // 2. The class registry, first list then second list.
  aRegisteredClasses_.assign(contents_.aClassListOne.begin(), contents_.aClassListOne.end());
  aRegisteredClasses_.insert(aRegisteredClasses_.end(), contents_.aClassListTwo.begin(), contents_.aClassListTwo.end());

  // 3. and 4. The module data: class-variable blocks start empty (Slot()
  // creates each zero-initialised), the host's context values are recorded,
  // the message return value is bound and the wait-cursor depth is 0.
  if (faults_.bDataBlockAllocation) Fatal(kDataBlockFatal);
  context_ = host_.pWindows->Context();
  nMessageReturn_ = Number();
  nWaitCursorDepth_ = Number(0);

  // 6. Ready.
  ++nInitialisations_;
  bInitialised_ = true;
}

}  // namespace qv
