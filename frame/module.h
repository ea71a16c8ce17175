// The Module: everything the library owns while it is loaded.
//
// A Module holds the global variables, one block of class variables per
// class, the class registry, the SQL bind-variable table, the current
// message's return value, the wait-cursor depth, the bound external
// libraries and the initialised flag.  The exported functions use the
// process's one Module; a test makes its own Module over its own Host.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/external.h"
#include "frame/host.h"
#include "frame/values.h"

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

// The variables that SQL statements may name as bind variables, in the order
// in which they are registered.  The class variables among them belong to
// the SQL handle pool and the database brand; they are stored here so that
// the table can hold their addresses from initialisation on.
struct SqlBindVariables {
  Number th;  // __th
  SqlHandle hSqlCurrent;
  bool cv_bFirstConnect = false;  // of BLC_ManageSqlHandles
  DynArray<SqlHandle> cv_hSqlResource;
  DynArray<bool> cv_bhSqlLocked;
  SqlHandle cv_hSqlNULL;
  Number cv_nHandleWarningLevel;
  bool cv_bFirstConnectBrand = false;  // of BLC_DatabaseBrand
  bool cv_bInitialized = false;
  Number cv_nDBMSBrand;
};

struct BindVariable {
  const char* sName;
  void* pStorage;
};

// The class registry, in registration order.
inline constexpr std::array<std::string_view, 5> kClassListOne = {
    "VC_ObjectSize", "VC_JavaMethod", "VC_JavaClassVariable", "VC_Container", "VC_ListContainerObject"};
inline constexpr std::array<std::string_view, 10> kClassListTwo = {
    "VC_ApplicationProfile", "VC_Directories",     "VC_JavaRepository", "INT_MDI_ManageChildren", "BLC_DatabaseBrand",
    "BLC_ManageSqlHandles",  "VC_BldBlockProfile", "VC_DisplayMsg",     "VC_ContainerCtrl",       "cRadioListBox"};

// The name under which the current message's return value is bound.
inline constexpr std::string_view kMessageReturnName = "___az_quorvane_001";

// Module slots: storage that a subsystem above the frame owns inside the
// Module (a class's class-variable block, an object-typed global).  A slot
// type derives from ModuleSlot and names its index with a static member
// `kSlot`; the Module creates it, zero-initialised, on first use.
class ModuleSlot {
 public:
  virtual ~ModuleSlot() = default;
};

enum class SlotId : int {
  // One class-variable block per class of the second class list, in order.
  kApplicationProfile,
  kDirectories,
  kJavaRepository,
  kMdiManageChildren,
  kDatabaseBrand,
  kManageSqlHandles,
  kBldBlockProfile,
  kDisplayMsg,
  kContainerCtrl,
  kRadioListBox,
  // Object-typed globals.
  kJavaClass,
  kDirectoriesGlobal,
  kAppProfileGlobal,
  kJavaFileGlobal,
  kJavaRepositoryGlobal,
  kJavaClassVariableGlobal,
  kCount
};

// Failures that tests can inject into initialisation and attach.
struct ModuleFaults {
  bool bBindTableAllocation = false;
  bool bDataBlockAllocation = false;
  bool bExternalIndexAllocation = false;
};

class Module {
 public:
  explicit Module(const Host& host, ModuleFaults faults = {});
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
  SqlBindVariables& Bind() { return bind_; }
  const std::vector<BindVariable>& BindTable() const { return aBindTable_; }
  const std::vector<std::string_view>& RegisteredClasses() const { return aRegisteredClasses_; }
  const HostContext& Context() const { return context_; }
  Number& MessageReturn() { return nMessageReturn_; }
  Number& WaitCursorDepth() { return nWaitCursorDepth_; }

  template <class T>
  T& Slot() {
    auto& p = aSlots_[static_cast<size_t>(T::kSlot)];
    if (!p) p = std::make_unique<T>();
    return static_cast<T&>(*p);
  }

 private:
  void Initialise();
  [[noreturn]] void Fatal(std::string_view sText);

  Host host_;
  ModuleFaults faults_;
  bool bInitialised_ = false;
  int nInitialisations_ = 0;
  bool bLibrariesBound_ = false;
  std::array<ExternalLibrary*, kLibrarySlots> aLibraries_{};
  std::vector<ExternalLibrary::Entry> aExternalIndex_;

  Globals globals_;
  SqlBindVariables bind_;
  std::vector<BindVariable> aBindTable_;
  std::vector<std::string_view> aRegisteredClasses_;
  HostContext context_;
  Number nMessageReturn_;
  Number nWaitCursorDepth_;
  std::array<std::unique_ptr<ModuleSlot>, static_cast<size_t>(SlotId::kCount)> aSlots_;
};

// Message-box style of the load and initialisation failures (error icon).
inline constexpr int kMessageBoxErrorIcon = 16;

}  // namespace qv
