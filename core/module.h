// SPDX-License-Identifier: Apache-2.0
// The Module: everything the library owns while it is loaded.
//
// A Module holds the global variables, one block of class variables per
// class, the class registry, the SQL bind-variable table, the current
// message's return value, the wait-cursor depth, the bound external
// libraries and the initialised flag.  The exported functions use the
// process's one Module; a test makes its own Module over its own Host.
//
// The core knows none of the classes it holds: a subsystem keeps its state
// in a slot found by the state's type, and the library that builds the
// Module says which classes it registers and who owns the bind variables
// (ModuleContents).
#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/external.h"
#include "core/host.h"
#include "core/values.h"

namespace qv {

// The global variables that the host application sets and the library reads.
// Object-typed globals (JavaClass, Directories, ...) belong to their classes'
// subsystems and live in Module slots (see Slot below).
struct Globals {
  bool bOptimizeSize = false, bVerbose = false, bGenerateDebuggingTbl = false, bNoWarning = false, bAutoTile = false,
       bAltCommentEditor = false, bRepositoryAutoSave = false;
  String sCompiledClassCode, sHTMLDocument, sHTMLApplication, sDefaultHeaderFile, sDefaultDescriptionFile,
      sDefaultFooterFile, sHLPFile, sAltEditor, sUserName, sClassPath;
  Number nClassColor, nMethodColor;
  String sFontName;
  Number nFontSize, nFontEnhancement, nFontColor, nBkgdColor;
  Number nOutlineFont;
  Number nSaveArchive, nQtyOfArchiveFiles;
  String sArchiveFileDirectory;
  String sCRLFToken, sElementDelimiter;
  DynArray<String> glb_sFile, glb_sClass;
};

// An entry of the SQL bind-variable table: a variable's name and storage.
struct BindVariable {
  const char* sName;
  void* pStorage;
};

class Module;

// What the library that builds a Module puts into it at initialisation: the
// two class-name lists of the class registry, registered in this order, and
// the subsystems that own SQL bind variables, each of which appends its
// variables (name and storage in the Module) to the table, in this order.
// A Module built without contents registers no class and no bind variable.
struct ModuleContents {
  using BindVariableOwner = void (*)(Module& m, std::vector<BindVariable>& aTable);
  std::span<const std::string_view> aClassListOne;
  std::span<const std::string_view> aClassListTwo;
  std::span<const BindVariableOwner> aBindVariableOwners;
};

// The name under which the current message's return value is bound.
inline constexpr std::string_view kMessageReturnName = "___az_quorvane_001";

// Module slots: storage that a subsystem above the core owns inside the
// Module (a class's class-variable block, an object-typed global).  A slot
// type derives from ModuleSlot; the Module creates it, zero-initialised, on
// first use of Slot<T>() and finds it again by its type.
class ModuleSlot {
 public:
  virtual ~ModuleSlot() = default;
};

// The key of slot type T: the address of an object of its own, a constant
// that needs neither a counter nor type information at run time.
template <class T>
inline constexpr char kSlotKey = 0;

// Failures that tests can inject into initialisation and attach.
struct ModuleFaults {
  bool bBindTableAllocation = false;
  bool bDataBlockAllocation = false;
  bool bExternalIndexAllocation = false;
};

class Module {
 public:
  explicit Module(const Host& host, ModuleFaults faults = {}, ModuleContents contents = {});
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  const Host& GetHost() const { return host_; }
  Runtime& Rt() const { return *host_.pRuntime; }
  FileSystem& Files() const { return *host_.pFiles; }
  Profiles& Profile() const { return *host_.pProfiles; }
  Windows& Win() const { return *host_.pWindows; }
  Sql& Db() const { return *host_.pSql; }

  // Attach (the loader's process attach): binds the external libraries when
  // the host is executing the application.  Returns FALSE when the load
  // fails; the reason has been shown in a message box.
  bool Attach();
  // Detach: releases the libraries bound by Attach.
  void Detach();
  bool LibrariesBound() const { return bLibrariesBound_; }
  int LoadedLibraryCount() const;

  // One-time initialisation; every exported function calls this first.
  void EnsureInitialised() {
    if (!bInitialised_) Initialise();
  }
  bool Initialised() const { return bInitialised_; }
  int InitialisationCount() const { return nInitialisations_; }

  // The entry point of an external function, bound on first use.  Fatal
  // when the lookup fails.
  ExternalLibrary::Entry External(ExternalFunction e);

  Globals& G() { return globals_; }
  const std::vector<BindVariable>& BindTable() const { return aBindTable_; }
  const std::vector<std::string_view>& RegisteredClasses() const { return aRegisteredClasses_; }
  const HostContext& Context() const { return context_; }
  Number& MessageReturn() { return nMessageReturn_; }
  Number& WaitCursorDepth() { return nWaitCursorDepth_; }

  // The slot of type T, created on first use.  A Module holds a dozen or so
  // slots: a linear search of their keys is as quick as an index.
  template <class T>
  T& Slot() {
    static_assert(std::is_base_of_v<ModuleSlot, T>);
    const void* pKey = &kSlotKey<T>;
    for (const SlotEntry& e : aSlots_) {
      if (e.pKey == pKey) return static_cast<T&>(*e.pSlot);
    }
    return static_cast<T&>(AddSlot(pKey, std::make_unique<T>()));
  }

 private:
  struct SlotEntry {
    const void* pKey;
    std::unique_ptr<ModuleSlot> pSlot;
  };

  void Initialise();
  ModuleSlot& AddSlot(const void* pKey, std::unique_ptr<ModuleSlot> pSlot);
  [[noreturn]] void Fatal(std::string_view sText);

  Host host_;
  ModuleFaults faults_;
  ModuleContents contents_;
  bool bInitialised_ = false;
  int nInitialisations_ = 0;
  bool bLibrariesBound_ = false;
  std::array<ExternalLibrary*, kLibrarySlots> aLibraries_{};
  std::vector<ExternalLibrary::Entry> aExternalIndex_;

  Globals globals_;
  std::vector<BindVariable> aBindTable_;
  std::vector<std::string_view> aRegisteredClasses_;
  HostContext context_;
  Number nMessageReturn_;
  Number nWaitCursorDepth_;
  std::vector<SlotEntry> aSlots_;
};

// Message-box style of the load and initialisation failures (error icon).
inline constexpr int kMessageBoxErrorIcon = 16;

}  // namespace qv
