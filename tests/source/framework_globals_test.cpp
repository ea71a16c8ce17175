#include "source/framework_globals.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "support/test_host.h"

namespace qv {
namespace {

// Object types of the windows the tests build: a form and a data field are
// neither table windows nor standard framework objects.
constexpr int64_t kTypeForm = 1;
constexpr int64_t kTypeDataField = 2;

class FrameworkGlobalsTest : public test::HostFixture {
 protected:
  FrameworkGlobalsTest() : win_(host_->Windows()), m_(*module_) { m_.EnsureInitialised(); }

  // Makes hItem the current item and hForm the current form.
  void Focus(WindowHandle hForm, WindowHandle hItem) {
    win_.SetCurrentForm(hForm);
    win_.SetCurrentItem(hItem);
  }
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

TEST_F(FrameworkGlobalsTest, WaitCursorNestsAndAnExtraOffDoesNothing) {
  SetWaitCursor(m_, false);  // off at depth 0: no cursor call at all
  EXPECT_TRUE(win_.WaitCursorCalls().empty());

  SetWaitCursor(m_, true);
  EXPECT_TRUE(win_.WaitCursorShown());
  SetWaitCursor(m_, true);
  EXPECT_EQ(m_.WaitCursorDepth(), Number(2));
  SetWaitCursor(m_, false);
  EXPECT_TRUE(win_.WaitCursorShown());  // only the last off restores it
  SetWaitCursor(m_, false);
  EXPECT_FALSE(win_.WaitCursorShown());
  SetWaitCursor(m_, false);
  EXPECT_EQ(m_.WaitCursorDepth(), Number(0));
  // Every "on" calls the cursor; only the off that reaches 0 does.
  EXPECT_EQ(win_.WaitCursorCalls(), (std::vector<bool>{true, true, false}));
}

TEST_F(FrameworkGlobalsTest, ApplyFontSettingsWithoutAFontNameChangesNothing) {
  const WindowHandle hForm = win_.CreateWindow(WindowHandle{}, kTypeForm, "frmMain");
  SetFontGlobals("", Number(10), Number(255), Number(0));
  m_.G().nOutlineFont = Number(77);
  ApplyFontSettings(m_, hForm);
  EXPECT_FALSE(win_.Find(hForm)->font.has_value());
  EXPECT_TRUE(win_.Find(hForm)->aColors.empty());
  EXPECT_TRUE(win_.Fonts().empty());
  EXPECT_EQ(m_.G().nOutlineFont, Number(77));
}

TEST_F(FrameworkGlobalsTest, ApplyFontSettingsSetsFontColoursAndOutlineFont) {
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

TEST_F(FrameworkGlobalsTest, ObjectTypeAndNameTests) {
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

TEST_F(FrameworkGlobalsTest, GetColumnNameDropsTheLowerCasePrefix) {
  const WindowHandle hForm = win_.CreateWindow(WindowHandle{}, kTypeForm, "frmCust");
  const std::pair<const char*, const char*> aCases[] = {
      {"dfCustomerName", "CUSTOMERNAME"},
      {"df_Name", "NAME"},
      {"colCUST_NO", "CUST_NO"},
      {"name1", "1"},
      {"name", ""},
      {"", ""},
      {"df-x", "-X"},
  };
  for (const auto& [sName, sExpected] : aCases) {
    Focus(hForm, win_.CreateWindow(hForm, kTypeDataField, sName));
    EXPECT_EQ(GetColumnName(m_), sExpected) << sName;
  }
}

TEST_F(FrameworkGlobalsTest, BindVariablesOfTableColumnsAndDataFields) {
  const WindowHandle hTable = win_.CreateWindow(WindowHandle{}, fw::kTypeTableWindow, "tblCust");
  const WindowHandle hColumn = win_.CreateWindow(hTable, kTypeDataField, "colName");
  Focus(hTable, hColumn);
  EXPECT_EQ(GetColumnBindVar(m_), ":tblCust.colName");
  EXPECT_EQ(GetFieldBindVar(m_), ":colName");

  const WindowHandle hForm = win_.CreateWindow(WindowHandle{}, kTypeForm, "frmCust");
  const WindowHandle hField = win_.CreateWindow(hForm, kTypeDataField, "dfName");
  Focus(hForm, hField);
  EXPECT_EQ(GetColumnBindVar(m_), ":dfName");
  EXPECT_EQ(GetFieldBindVar(m_), ":dfName");
}

TEST_F(FrameworkGlobalsTest, ListBuildersInColumnAndAssignmentModes) {
  const WindowHandle hForm = win_.CreateWindow(WindowHandle{}, kTypeForm, "frmCust");
  const WindowHandle aFields[] = {win_.CreateWindow(hForm, kTypeDataField, "dfA"),
                                  win_.CreateWindow(hForm, kTypeDataField, "dfB"),
                                  win_.CreateWindow(hForm, kTypeDataField, "dfC")};
  const char* aColumns[] = {"A", "B", "C"};
  for (const int nMode : {1, 3}) {
    String sList;
    String sBindList;
    for (int i = 0; i < 3; ++i) {
      Focus(hForm, aFields[i]);
      BuildFieldBindList(m_, aColumns[i], "", sList, sBindList, Number(nMode));
    }
    if (nMode == 1) {
      EXPECT_EQ(sList, " A, B, C");
      EXPECT_EQ(sBindList, ":dfA, :dfB, :dfC");
    } else {
      EXPECT_EQ(sList, " A = :dfA, B = :dfB, C = :dfC");
      EXPECT_EQ(sBindList, "");
    }
  }

  // The column builder takes its default bind variable from the column of a
  // table window, and its parameters in the other order.
  const WindowHandle hTable = win_.CreateWindow(WindowHandle{}, fw::kTypeTableWindow, "tblT");
  Focus(hTable, win_.CreateWindow(hTable, kTypeDataField, "colA"));
  String sList = " X";
  String sBindList = ":x";
  BuildColumnBindList(m_, Number(1), sList, sBindList, "A", "");
  EXPECT_EQ(sList, " X, A");
  EXPECT_EQ(sBindList, ":x, :tblT.colA");
}

TEST_F(FrameworkGlobalsTest, QualifiedColumnsAreCutInModesTwoAndThree) {
  struct Case {
    int nMode;
    const char* sColumn;
    const char* sList;
    const char* sBindList;
  };
  const Case aCases[] = {
      {1, "CUST.NAME", " CUST.NAME", ":b"}, {2, "CUST.NAME", " NAME", ":b"},
      {3, "CUST.NAME", " NAME = :b", ""},   {2, "A.B.C", " B.C", ":b"},  // only up to the first "."
      {2, "PLAIN", " PLAIN", ":b"},         {2, "CUST.", " ", ":b"},
  };
  for (const Case& c : aCases) {
    String sList;
    String sBindList;
    BuildFieldBindList(m_, c.sColumn, ":b", sList, sBindList, Number(c.nMode));
    EXPECT_EQ(sList, c.sList) << c.nMode << " " << c.sColumn;
    EXPECT_EQ(sBindList, c.sBindList) << c.nMode << " " << c.sColumn;
    String sList2;
    String sBindList2;
    BuildColumnBindList(m_, Number(c.nMode), sList2, sBindList2, c.sColumn, ":b");
    EXPECT_EQ(sList2, sList) << c.nMode << " " << c.sColumn;
    EXPECT_EQ(sBindList2, sBindList) << c.nMode << " " << c.sColumn;
  }
}

TEST_F(FrameworkGlobalsTest, PassThroughsForwardArgumentsAndResults) {
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
