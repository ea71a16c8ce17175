// SPDX-License-Identifier: Apache-2.0
#include "core/module.h"

#include <gtest/gtest.h>

#include "core/toolkit.h"
#include "framework/sql_handles.h"
#include "support/test_host.h"

namespace qv {
namespace {

using test::HostFixture;

class ModuleTest : public HostFixture {};

TEST_F(ModuleTest, InitialisesOnceAndFillsTheModuleData) {
  Module& m = *module_;
  EXPECT_FALSE(m.Initialised());
  m.EnsureInitialised();
  m.EnsureInitialised();
  EXPECT_EQ(m.InitialisationCount(), 1);

  ASSERT_EQ(m.RegisteredClasses().size(), 15u);
  EXPECT_EQ(m.RegisteredClasses().front(), "VC_ObjectSize");
  EXPECT_EQ(m.RegisteredClasses()[5], "VC_ApplicationProfile");
  EXPECT_EQ(m.RegisteredClasses().back(), "cRadioListBox");

  const auto& aBind = m.BindTable();
  ASSERT_EQ(aBind.size(), 10u);
  EXPECT_STREQ(aBind[0].sName, "__th");
  EXPECT_STREQ(aBind[2].sName, "cv_bFirstConnect");
  EXPECT_STREQ(aBind[7].sName, "cv_bFirstConnect");
  EXPECT_NE(aBind[2].pStorage, aBind[7].pStorage);  // two classes' variables of one name
  EXPECT_STREQ(aBind[9].sName, "cv_nDBMSBrand");
  EXPECT_EQ(aBind[6].pStorage, &SqlPoolClassVars(m).cv_nHandleWarningLevel);

  EXPECT_EQ(m.WaitCursorDepth(), Number(0));
  EXPECT_EQ(m.Context().hWndMDI, host_->Windows().Context().hWndMDI);
}

TEST_F(ModuleTest, InitialisationFailuresAreFatalWithTheirTexts) {
  Module& m1 = FreshModule({.bBindTableAllocation = true});
  try {
    m1.EnsureInitialised();
    FAIL() << "initialisation returned";
  } catch (const FatalErrorRaised& e) {
    EXPECT_EQ(e.sText, "Unable to initialize SQL bindings");
  }
  ASSERT_FALSE(host_->Windows().Boxes().empty());
  EXPECT_EQ(host_->Windows().Boxes().back().sText, "FATAL: unable to condition sql-bindings");
  EXPECT_EQ(host_->Windows().Boxes().back().sCaption, "Application Compiler");
  EXPECT_FALSE(m1.Initialised());

  Module& m2 = FreshModule({.bDataBlockAllocation = true});
  try {
    m2.EnsureInitialised();
    FAIL() << "initialisation returned";
  } catch (const FatalErrorRaised& e) {
    EXPECT_EQ(e.sText, "FATAL: __mcb unable to allocate conn-data");
  }
}

TEST_F(ModuleTest, AttachBindsEveryLibrarySlotAndDetachReleasesThem) {
  EXPECT_TRUE(module_->LibrariesBound());
  EXPECT_EQ(module_->LoadedLibraryCount(), kLibrarySlots);
  [[maybe_unused]] const int nFreesBefore = host_->Runtime().FreeCalls();
  module_->Detach();
#ifndef _WIN32  // on Windows the toolkit's slots hold uitk60.dll, which the Windows runtime frees itself
  EXPECT_EQ(host_->Runtime().FreeCalls() - nFreesBefore, kLibrarySlots);
#endif
  EXPECT_EQ(module_->LoadedLibraryCount(), 0);
}

TEST_F(ModuleTest, OutsideExecutionTheLoadBindsAndReleasesNothing) {
  host_->Runtime().SetExecuting(false);
  const int nLoads = host_->Runtime().LoadCalls();
  const int nFrees = host_->Runtime().FreeCalls();
  {
    Module m(host_->GetHost());
    EXPECT_TRUE(m.Attach());
    EXPECT_FALSE(m.LibrariesBound());
    m.Detach();
  }
  EXPECT_EQ(host_->Runtime().LoadCalls(), nLoads);
  EXPECT_EQ(host_->Runtime().FreeCalls(), nFrees);
}

TEST_F(ModuleTest, AMissingLibraryFailsTheAttachWithItsName) {
  host_->Runtime().RemoveLibrary("Gdi32");
  const int nFrees = host_->Runtime().FreeCalls();
  Module m(host_->GetHost());
  EXPECT_FALSE(m.Attach());
  EXPECT_FALSE(m.LibrariesBound());
  EXPECT_EQ(host_->Windows().Boxes().back().sText, "Unable to find external-function library:\nGdi32");
  EXPECT_EQ(host_->Windows().Boxes().back().nStyle, kMessageBoxErrorIcon);
  EXPECT_EQ(host_->Runtime().FreeCalls() - nFrees, 2);  // User32 and Kernel32 were released again
}

TEST_F(ModuleTest, AnUnallocatedFunctionIndexFailsTheAttach) {
  Module m(host_->GetHost(), {.bExternalIndexAllocation = true});
  EXPECT_FALSE(m.Attach());
  EXPECT_EQ(host_->Windows().Boxes().back().sText, "Can't alloc pExfuncIndex");
  EXPECT_EQ(host_->Windows().Boxes().back().sCaption, "Application Compiler");
  EXPECT_EQ(m.LoadedLibraryCount(), 0);
}

TEST_F(ModuleTest, ExternalFunctionsBindOnFirstCallAndFailFatallyByOrdinal) {
  EXPECT_EQ(VtStrReplace(*module_, "a-b-c", "-", "+"), "a+b+c");
  EXPECT_EQ(VtStrScanReverse(*module_, "abcabc", -1, "bc"), 4);
  EXPECT_EQ(VtStrScanReverse(*module_, "abcabc", 3, "bc"), 1);
  EXPECT_EQ(VtStrScanReverse(*module_, "abcabc", 0, "bc"), -1);

#ifndef _WIN32  // on Windows uitk60 is the real uitk60.dll, whose ordinals a test cannot remove
  host_->Runtime().Library("uitk60")->RemoveOrdinal(149);
  DynArray<String> a;
  try {
    VtArrayFindString(*module_, a, "x");
    FAIL() << "lookup returned";
  } catch (const FatalErrorRaised& e) {
    EXPECT_EQ(e.sText, "FATAL: unable to locate external function in DLL: ordinal 149");
  }
#endif
}

TEST_F(ModuleTest, ABoundEntryIsKept) {
  EXPECT_EQ(VtStrReplace(*module_, "xx", "x", "y"), "yy");
  host_->Runtime().Library("uitk60")->RemoveOrdinal(62);
  EXPECT_EQ(VtStrReplace(*module_, "xx", "x", "z"), "zz");  // no second lookup
}

TEST_F(ModuleTest, ToolkitArrayFunctions) {
  DynArray<String> a;
  a.Set(0, "b.java,x");
  a.Set(1, "A.java,y");
  a.Set(2, "a.java,x");
  EXPECT_TRUE(VtArraySort(*module_, a, 0, 5));
  EXPECT_EQ(a.Get(0), "a.java,x");  // case-insensitive, then by bytes
  EXPECT_EQ(a.Get(1), "A.java,y");
  EXPECT_EQ(a.Get(2), "b.java,x");
  EXPECT_EQ(VtArrayFindString(*module_, a, "A.java,y"), 1);
  EXPECT_EQ(VtArrayFindString(*module_, a, "a.JAVA,y"), -1);
  DynArray<String> b;
  b.Set(5, "old");
  VtArrayCopy(*module_, a, b, 5);
  EXPECT_EQ(b.Count(), 9);  // appended behind the target's elements
  EXPECT_EQ(b.Get(5), "old");
  EXPECT_EQ(b.Get(6), "a.java,x");
  EXPECT_EQ(VtStrReplace(*module_, "abc", "", "x"), "abc");
  EXPECT_TRUE(WinIsWindow(*module_, host_->Windows().Context().hWndMDI));
  EXPECT_FALSE(WinIsWindow(*module_, WindowHandle{12345}));
}

}  // namespace
}  // namespace qv
