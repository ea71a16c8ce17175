// SPDX-License-Identifier: Apache-2.0
// The framework's global functions at the C boundary: window handles, 32-bit
// integers and receive Strings cross it, and the decorated names reach the
// same code as the plain exports.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "cli/library_client.h"
#include "exports/abi.h"
#include "framework/sql_binding.h"
#include "framework/window_services.h"
#include "support/loaded_library.h"
#include "support/test_host.h"

namespace qv {
namespace {

using quorvane::cli::LibraryClient;

using test::Num;

class FrameworkMarshalTest : public test::HostFixture {
 protected:
  abi::Process process_{module_.get(), nullptr};
};

TEST_F(FrameworkMarshalTest, HandlesIntegersAndReceiveStringsCrossTheBoundary) {
  HeadlessWindows& win = host_->Windows();
  const WindowHandle hForm = win.CreateWindow(WindowHandle{}, 1, "frmCust");
  const WindowHandle hUnnamed = win.CreateWindow(hForm, 2, "");
  win.SetCurrentForm(hForm);
  win.SetCurrentItem(win.CreateWindow(hForm, 2, "dfName"));

  EXPECT_EQ(abi::CallGlobal<&IsUnnamedWindow>(process_, QvWindowHandle{hUnnamed.nValue}), 1);
  EXPECT_EQ(abi::CallGlobal<&IsUnnamedWindow>(process_, QvWindowHandle{hForm.nValue}), 0);

  host_->Runtime().SetHostCommandHandler([](int32_t nValue, int32_t, int32_t) { return nValue - 1; });
  EXPECT_EQ(abi::CallGlobal<&CallHostCommand>(process_, int32_t{INT32_MIN + 1}), INT32_MIN);

  QvString* pList = abi::NewString(" X");
  QvString* pBindList = abi::NewString(":x");
  QvString column{"CUST.NAME"};
  const QvNumber nResult = abi::CallGlobal<&BuildColumnBindList>(process_, Num(2), &pList, &pBindList, &column,
                                                                 nullptr);
  EXPECT_NE(nResult.isNull, 0);
  EXPECT_EQ(pList->s, " X, NAME");
  EXPECT_EQ(pBindList->s, ":x, :dfName");
  delete pList;
  delete pBindList;
}

class FrameworkExportsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib_.Load(QV_SHARED_LIBRARY)) << lib_.Error(); }
  LibraryClient lib_;
};

TEST_F(FrameworkExportsTest, AllTwelveAreExportedAndTheDecoratedNamesReachThem) {
  for (const char* sName :
       {"__quorvane__GF25690196", "__quorvane__GF25690114", "__quorvane__GF25690339", "__quorvane__GF25690213",
        "__quorvane__GF25690180", "__quorvane__GF25690313", "__quorvane__GF25690407", "__quorvane__GF25690389",
        "__quorvane__GF25690354", "__quorvane__GF25690420", "__quorvane__GF25690131", "__quorvane__GF25690141"}) {
    EXPECT_NE(lib_.Symbol(sName), nullptr) << sName;
  }
  const auto pFind = lib_.Function<void (*(*)(const char*))()>("QvFindExport");
  ASSERT_NE(pFind, nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(pFind("___IsStandardFWObject@4")), lib_.Symbol("__quorvane__GF25690339"));
  EXPECT_EQ(reinterpret_cast<void*>(pFind("___GetColumnBindVar@0")), lib_.Symbol("__quorvane__GF25690389"));
  EXPECT_EQ(reinterpret_cast<void*>(pFind("___GetFieldBindVar@0")), lib_.Symbol("__quorvane__GF25690407"));

  // The process's host has no current item: its bind variable is ":" alone.
  using TextFn = QvString* (*)();
  EXPECT_EQ(lib_.TakeString(reinterpret_cast<TextFn>(pFind("___GetFieldBindVar@0"))()), ":");
  using HandleTestFn = QvBoolean (*)(QvWindowHandle);
  EXPECT_EQ(reinterpret_cast<HandleTestFn>(pFind("___IsStandardFWObject@4"))(0), 0);
  EXPECT_EQ(lib_.Function<QvNumber (*)(int32_t)>("__quorvane__GF25690141")(5).value, 0);
}

TEST_F(FrameworkExportsTest, ApplyFontSettingsBindsTheToolkitFont) {
  const auto pSetString = lib_.Function<QvBoolean (*)(const char*, const QvString*)>("QvSetGlobalString");
  const auto pGetNumber = lib_.Function<QvNumber (*)(const char*)>("QvGetGlobalNumber");
  const auto pSetNumber = lib_.Function<QvBoolean (*)(const char*, QvNumber)>("QvSetGlobalNumber");
  const auto pApply = lib_.Function<QvNumber (*)(QvWindowHandle)>("__quorvane__GF25690114");
  ASSERT_TRUE(pSetString && pGetNumber && pSetNumber && pApply);

  ASSERT_EQ(pSetNumber("nOutlineFont", Num(0)), 1);
  pApply(0);  // no font name: nothing happens
  EXPECT_EQ(pGetNumber("nOutlineFont").value, 0);

  QvString* pFont = lib_.NewString("Courier");
  ASSERT_EQ(pSetString("sFontName", pFont), 1);
  pSetNumber("nFontSize", Num(9));
  pApply(0);
  EXPECT_GT(pGetNumber("nOutlineFont").value, 0);  // a toolkit font handle
  QvString* pEmpty = lib_.NewString("");
  pSetString("sFontName", pEmpty);
  lib_.FreeString(pEmpty);
  lib_.FreeString(pFont);
}

}  // namespace
}  // namespace qv
