// SPDX-License-Identifier: Apache-2.0
// The three container levels: keys, cleared values, sizes and resets.
#include "controls/containers.h"

#include <gtest/gtest.h>

#include "core/convert.h"
#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

// The seven values of a cell, as GetData delivers them.
struct CellValues {
  Number nKey = Number(-99);
  bool bValue = true;
  DateTime dtValue = DateTime::FromParts(1999, 1, 1);
  int32_t h1 = -1;
  Number nValue = Number(-1);
  int32_t h2 = -1;
  String sValue = "old";
  WindowHandle hWnd{0x9999};
};

class ContainersTest : public test::HostFixture {
 protected:
  CellValues Read(VC_Container& cell) {
    CellValues v;
    cell.GetData(*module_, v.nKey, v.bValue, v.dtValue, v.h1, v.nValue, v.h2, v.sValue, v.hWnd);
    return v;
  }
  const DateTime dt_ = DateTime::FromParts(2026, 12, 7, 14, 30);
  const WindowHandle hWnd_{0x4242};
};

TEST_F(ContainersTest, ACellStoresAndGivesBackEveryKind) {
  VC_Container cell;
  cell.SetData(*module_, 7, true, dt_, INT32_MIN, Number(2.5), -5, "text", hWnd_);
  const CellValues v = Read(cell);
  EXPECT_EQ(v.nKey, Number(7));
  EXPECT_TRUE(v.bValue);
  EXPECT_EQ(v.dtValue, dt_);
  EXPECT_EQ(v.h1, INT32_MIN);
  EXPECT_EQ(v.nValue, Number(2.5));
  EXPECT_EQ(v.h2, -5);
  EXPECT_EQ(v.sValue, "text");
  EXPECT_EQ(v.hWnd, hWnd_);
  EXPECT_EQ(cell.bDataBoolean, Number(1));  // stored as the Number form of TRUE
}

TEST_F(ContainersTest, ClearDataKeepsTheKeyAndHeader) {
  VC_Container cell;
  cell.SetData(*module_, 4, true, dt_, 1, 2, 3, "text", hWnd_);
  cell.SetContainerType(*module_, 11);
  cell.SetDataType(*module_, 12);
  cell.ClearData(*module_);
  const CellValues v = Read(cell);
  EXPECT_EQ(v.nKey, Number(4));
  EXPECT_FALSE(v.bValue);
  EXPECT_TRUE(v.dtValue.IsNull());
  EXPECT_EQ(v.h1, 0);
  EXPECT_TRUE(v.nValue.IsNull());
  EXPECT_EQ(v.h2, 0);
  EXPECT_EQ(v.sValue, "");
  EXPECT_EQ(v.hWnd, host_->Windows().Context().hWndNULL);
  EXPECT_TRUE(cell.bDataBoolean.IsNull());
  EXPECT_EQ(cell.GetContainerType(*module_), Number(11));
  EXPECT_EQ(cell.GetDataType(*module_), Number(12));
}

TEST_F(ContainersTest, ACellTakesItsIndexFromAListAndTheListIndexFromAControl) {
  VC_ListContainerObject list;
  list.SetItemData(*module_, 3, true, dt_, 1, 2, 3, "three", hWnd_);
  EXPECT_EQ(list.oCells.At(3).GetContainerKey(*module_), Number(3));
  EXPECT_EQ(list.GetContainerSize(*module_), Number(4));

  bool b = false;
  DateTime dt;
  int32_t h1 = 0, h2 = 0;
  Number n;
  String s;
  WindowHandle hWnd;
  list.GetItemData(*module_, 3, b, dt, h1, n, h2, s, hWnd);
  EXPECT_TRUE(b);
  EXPECT_EQ(dt, dt_);
  EXPECT_EQ(s, "three");

  VC_ContainerCtrl ctrl;
  ctrl.SetCellData(*module_, 1, 3, false, dt_, 1, 2, 3, "cell", hWnd_);
  EXPECT_EQ(ctrl.oLists.At(1).oCells.At(3).GetContainerKey(*module_), Number(1));
  EXPECT_EQ(ctrl.GetContainerSize(*module_), Number(2));
  EXPECT_EQ(ctrl.GetListSize(*module_, 1), Number(4));
  ctrl.GetCellData(*module_, 1, 3, b, dt, h1, n, h2, s, hWnd);
  EXPECT_FALSE(b);
  EXPECT_EQ(n, Number(2));
  EXPECT_EQ(s, "cell");
  EXPECT_EQ(hWnd, hWnd_);
}

TEST_F(ContainersTest, ReadingAnUnusedIndexReadsEmptyAndAddsNothing) {
  VC_ContainerCtrl ctrl;
  ctrl.SetCellData(*module_, 0, 0, true, dt_, 1, 2, 3, "x", hWnd_);
  bool b = true;
  DateTime dt = dt_;
  int32_t h1 = 9, h2 = 9;
  Number n = 9;
  String s = "old";
  WindowHandle hWnd = hWnd_;
  ctrl.GetCellData(*module_, 5, 2, b, dt, h1, n, h2, s, hWnd);
  EXPECT_FALSE(b);
  EXPECT_EQ(s, "");
  EXPECT_EQ(hWnd, WindowHandle{});
  EXPECT_EQ(ctrl.GetListSize(*module_, 5), Number(0));
  EXPECT_EQ(ctrl.GetListType(*module_, -1), Number(0));
  EXPECT_EQ(ctrl.GetContainerSize(*module_), Number(1));
}

TEST_F(ContainersTest, ControlBooleansAreStoredAsTheirNumberForm) {
  VC_ContainerCtrl ctrl;
  ctrl.SetCtrlBoolean(*module_, true);
  EXPECT_EQ(ctrl.GetCtrlBoolean(*module_), RtWordToNumber(1));
  EXPECT_FALSE(ctrl.GetCtrlBoolean(*module_).IsNull());
  ctrl.SetCtrlFlag(*module_, true);
  EXPECT_EQ(ctrl.GetCtrlFlag(*module_), Number(1));
  ctrl.SetCtrlBoolean(*module_, false);
  EXPECT_EQ(ctrl.GetCtrlBoolean(*module_), Number(0));

  ctrl.oLists.At(2).SetCtrlBoolean(*module_, true);
  ctrl.oLists.At(2).SetContainerType(*module_, 21);
  ctrl.oLists.At(2).SetDataType(*module_, 22);
  EXPECT_EQ(ctrl.GetListCtrlBoolean(*module_, 2), Number(1));
  EXPECT_EQ(ctrl.GetListType(*module_, 2), Number(21));
  EXPECT_EQ(ctrl.GetListDataType(*module_, 2), Number(22));

  ctrl.SetCtrlText(*module_, "caption");
  EXPECT_EQ(ctrl.GetCtrlText(*module_), "caption");
}

TEST_F(ContainersTest, ResetEmptiesListsAndControls) {
  VC_ListContainerObject list;
  list.SetItemData(*module_, 9, true, dt_, 1, 2, 3, "x", hWnd_);
  list.SetContainerKey(*module_, 5);
  list.Reset(*module_);
  EXPECT_EQ(list.GetContainerSize(*module_), Number(0));
  EXPECT_EQ(list.GetContainerKey(*module_), Number(5));  // the header stays

  VC_ContainerCtrl ctrl;
  for (int nList = 0; nList < 5; ++nList) {
    for (int nItem = 0; nItem <= nList; ++nItem) {
      ctrl.SetCellData(*module_, nList, nItem, true, dt_, 1, 2, 3, "x", hWnd_);
    }
  }
  ASSERT_EQ(ctrl.GetContainerSize(*module_), Number(5));
  ASSERT_EQ(ctrl.GetListSize(*module_, 4), Number(5));
  ctrl.Reset(*module_);
  EXPECT_EQ(ctrl.GetContainerSize(*module_), Number(0));
  for (int nList = 0; nList < 5; ++nList) EXPECT_EQ(ctrl.GetListSize(*module_, nList), Number(0));

  // A control with fewer than three lists resets as well, and fills again.
  ctrl.SetCellData(*module_, 0, 1, true, dt_, 1, 2, 3, "again", hWnd_);
  ctrl.Reset(*module_);
  EXPECT_EQ(ctrl.GetContainerSize(*module_), Number(0));
  ctrl.SetCellData(*module_, 0, 1, true, dt_, 1, 2, 3, "again", hWnd_);
  EXPECT_EQ(ctrl.GetListSize(*module_, 0), Number(2));
}

TEST_F(ContainersTest, ConstructorAndDestructorLeaveNoLists) {
  VC_ContainerCtrl ctrl;
  ctrl.Construct(*module_);
  EXPECT_EQ(ctrl.GetContainerSize(*module_), Number(0));
  ctrl.SetCellData(*module_, 3, 0, true, dt_, 1, 2, 3, "x", hWnd_);
  ctrl.Destruct(*module_);
  EXPECT_EQ(ctrl.GetContainerSize(*module_), Number(0));
  EXPECT_EQ(ctrl.GetListSize(*module_, 3), Number(0));
}

}  // namespace
}  // namespace qv
