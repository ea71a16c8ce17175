// SPDX-License-Identifier: Apache-2.0
#include "framework/window_services.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "support/test_host.h"

namespace qv {
namespace {

using test::kTypeForm;

class WindowServicesTest : public test::HostFixture {
 protected:
  WindowServicesTest() : win_(host_->Windows()), m_(*module_) { m_.EnsureInitialised(); }

  void SetFontGlobals(std::string sName, Number nSize, Number nColor, Number nBkgd) {
    Globals& g = m_.G();
    g.sFontName = std::move(sName);
    g.nFontSize = nSize;
    g.nFontEnhancement = Number(2);
    g.nFontColor = nColor;
    g.nBkgdColor = nBkgd;
  }

  HeadlessWindows& win_;
  Module& m_;
};

TEST_F(WindowServicesTest, ApplyFontSettingsWithoutAFontNameChangesNothing) {
  const WindowHandle hForm = win_.CreateWindow(WindowHandle{}, kTypeForm, "frmMain");
  SetFontGlobals("", Number(10), Number(255), Number(0));
  m_.G().nOutlineFont = Number(77);
  ApplyFontSettings(m_, hForm);
  EXPECT_FALSE(win_.Find(hForm)->font.has_value());
  EXPECT_TRUE(win_.Find(hForm)->aColors.empty());
  EXPECT_TRUE(win_.Fonts().empty());
  EXPECT_EQ(m_.G().nOutlineFont, Number(77));
}

TEST_F(WindowServicesTest, ApplyFontSettingsSetsFontColoursAndOutlineFont) {
  const WindowHandle hForm = win_.CreateWindow(WindowHandle{}, kTypeForm, "frmMain");
  const WindowHandle hTable = win_.CreateWindow(WindowHandle{}, fw::kTypeTableWindow, "tblCust");
  SetFontGlobals("Arial", Number(10), Number(255), Number(65535));

  ApplyFontSettings(m_, hForm);
  const auto* pForm = win_.Find(hForm);
  ASSERT_TRUE(pForm->font.has_value());
  EXPECT_EQ(pForm->font->sName, "Arial");
  EXPECT_EQ(pForm->font->nSize, Number(10));
  EXPECT_EQ(pForm->font->nEnhancement, Number(2));
  EXPECT_EQ(pForm->aColors.at(fw::kColorWindowText), Number(255));
  EXPECT_EQ(pForm->aColors.at(fw::kColorWindowBackground), Number(65535));
#ifndef _WIN32  // on Windows the outline font is one of uitk60.dll's, not of the host's window system
  const auto* pOutline = win_.FindFont(m_.G().nOutlineFont.AsInt64());
  ASSERT_NE(pOutline, nullptr);
  EXPECT_EQ(*pOutline, (HeadlessWindows::Font{"Arial", Number(10), Number(2)}));
#endif

  // A table window gets a font one point smaller; the outline font keeps the
  // full size.
  m_.G().nOutlineFont = Number(0);
  ApplyFontSettings(m_, hTable);
  EXPECT_EQ(win_.Find(hTable)->font->nSize, Number(9));
#ifndef _WIN32
  ASSERT_NE(win_.FindFont(m_.G().nOutlineFont.AsInt64()), nullptr);
  EXPECT_EQ(win_.FindFont(m_.G().nOutlineFont.AsInt64())->nSize, Number(10));
#endif

  // Equal text and background colours: the background is left alone.
  const WindowHandle hOther = win_.CreateWindow(WindowHandle{}, kTypeForm, "frmOther");
  SetFontGlobals("Arial", Number(10), Number(128), Number(128));
  ApplyFontSettings(m_, hOther);
  EXPECT_EQ(win_.Find(hOther)->aColors.at(fw::kColorWindowText), Number(128));
  EXPECT_EQ(win_.Find(hOther)->aColors.count(fw::kColorWindowBackground), 0u);
}

TEST_F(WindowServicesTest, ObjectTypeAndNameTests) {
  for (const int64_t nType : {int64_t{8}, int64_t{16}, int64_t{16384}}) {
    const WindowHandle h = win_.CreateWindow(WindowHandle{}, nType, "obj");
    EXPECT_TRUE(IsStandardFWObject(m_, h)) << nType;
    EXPECT_TRUE(IsFrameworkObject(m_, h)) << nType;
  }
  for (const int64_t nType : {int64_t{0}, int64_t{24}, fw::kTypeTableWindow}) {
    const WindowHandle h = win_.CreateWindow(WindowHandle{}, nType, "obj");
    EXPECT_FALSE(IsStandardFWObject(m_, h)) << nType;
    EXPECT_FALSE(IsFrameworkObject(m_, h)) << nType;
  }
  EXPECT_FALSE(IsStandardFWObject(m_, WindowHandle{0xdead}));

  EXPECT_FALSE(IsUnnamedWindow(m_, WindowHandle{}));  // the null handle
  EXPECT_TRUE(IsUnnamedWindow(m_, win_.CreateWindow(WindowHandle{}, kTypeForm, "")));
  EXPECT_FALSE(IsUnnamedWindow(m_, win_.CreateWindow(WindowHandle{}, kTypeForm, "frmNamed")));
}

TEST_F(WindowServicesTest, PassThroughsForwardArgumentsAndResults) {
  std::vector<int32_t> aSeen;
  host_->Runtime().SetHostCommandHandler([&aSeen](int32_t nValue, int32_t nArg1, int32_t nArg2) {
    aSeen = {nValue, nArg1, nArg2};
    return nValue * 2 - 1;
  });
  EXPECT_EQ(CallHostCommand(m_, 21), 41);
  EXPECT_EQ(aSeen, (std::vector<int32_t>{21, 0, 0}));
  EXPECT_EQ(CallHostCommand(m_, -5), -11);

  // Without a handler the portable host reports no rows.
  EXPECT_EQ(GetQueriedCount(m_, 7), Number(0));

  host_->Runtime().SetQueryHandler([](int32_t nValue, int32_t& nA, int32_t& nB, int32_t& nC) {
    nA = 100;
    nB = 200;
    nC = nValue;
    return true;
  });
  EXPECT_EQ(GetQueriedCount(m_, 41), Number(42));
  EXPECT_EQ(GetQueriedCount(m_, INT32_MAX), Number(int64_t{INT32_MAX} + 1));  // does not wrap
}

}  // namespace
}  // namespace qv
