// SPDX-License-Identifier: Apache-2.0
#include "framework/sql_binding.h"

#include <gtest/gtest.h>

#include "framework/window_services.h"
#include "support/test_host.h"

namespace qv {
namespace {

using test::kTypeDataField;
using test::kTypeForm;

class SqlBindingTest : public test::HostFixture {
 protected:
  SqlBindingTest() : win_(host_->Windows()), m_(*module_) { m_.EnsureInitialised(); }

  // Makes hItem the current item and hForm the current form.
  void Focus(WindowHandle hForm, WindowHandle hItem) {
    win_.SetCurrentForm(hForm);
    win_.SetCurrentItem(hItem);
  }

  HeadlessWindows& win_;
  Module& m_;
};

TEST_F(SqlBindingTest, GetColumnNameDropsTheLowerCasePrefix) {
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

TEST_F(SqlBindingTest, BindVariablesOfTableColumnsAndDataFields) {
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

TEST_F(SqlBindingTest, ListBuildersInColumnAndAssignmentModes) {
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

TEST_F(SqlBindingTest, QualifiedColumnsAreCutInModesTwoAndThree) {
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

}  // namespace
}  // namespace qv
