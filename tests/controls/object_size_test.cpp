// SPDX-License-Identifier: Apache-2.0
// Object sizing on the headless window system: each layout mode, the factor
// rules, width-only objects, the group's single repaint.
#include "controls/object_size.h"

#include <gtest/gtest.h>

#include "core/window_messages.h"
#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

using Op = HeadlessWindows::Op;

// A 400 x 300 form with a 100 x 100 child at (20, 30): right gap 280,
// bottom gap 170.
class ObjectSizeTest : public test::HostFixture {
 protected:
  ObjectSizeTest() {
    hForm_ = Win().CreateWindow(WindowHandle{}, 1, "frmMain");
    Win().Place(hForm_, 0, 0, 400, 300);
    hChild_ = Win().CreateWindow(hForm_, 2, "dfName");
    Win().Place(hChild_, 20, 30, 100, 100);
  }
  HeadlessWindows& Win() { return host_->Windows(); }

  VC_ObjectSize Capture(WindowHandle hWnd, Number nWidthFactor, Number nHeightFactor, int nHorz, int nVert, int nWidth,
                        int nHeight) {
    VC_ObjectSize o;
    o.SetMode(*module_, nWidthFactor, nHeightFactor, nHorz, nVert, nWidth, nHeight);
    o.SetObjectSizeDetail(*module_, hWnd);
    return o;
  }
  // Resizes the form to nWidth x nHeight and re-lays out o.
  void ResizeTo(VC_ObjectSize& o, Number nWidth, Number nHeight) {
    Win().Place(hForm_, 0, 0, nWidth, nHeight);
    o.Resize(*module_);
  }
  void ExpectGeometry(WindowHandle hWnd, Number nLeft, Number nTop, Number nWidth, Number nHeight) {
    const auto* p = Win().Find(hWnd);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->nLeft, nLeft);
    EXPECT_EQ(p->nTop, nTop);
    EXPECT_EQ(p->nWidth, nWidth);
    EXPECT_EQ(p->nHeight, nHeight);
  }

  WindowHandle hForm_;
  WindowHandle hChild_;
};

TEST_F(ObjectSizeTest, CaptureRecordsEdgesGapsAndRatios) {
  const VC_ObjectSize o = Capture(hChild_, 1, 1, 5, 10, 3, 1);
  EXPECT_EQ(o.hWndObject, hChild_);
  EXPECT_EQ(o.nObjectType, Number(2));
  EXPECT_EQ(o.nOrigLeft, Number(20));
  EXPECT_EQ(o.nOrigTop, Number(30));
  EXPECT_EQ(o.nRightGap, Number(280));
  EXPECT_EQ(o.nBottomGap, Number(170));
  EXPECT_EQ(o.nWidthRatio, Number(0.25));
  EXPECT_EQ(o.nLeftRatio, Number(0.05));
  EXPECT_EQ(o.nRightGapRatio, Number(0.7));
  EXPECT_EQ(o.nTopRatio, Number(0.1));
  EXPECT_EQ(o.nHeightRatio, Number(100.0 / 300.0));
  EXPECT_EQ(o.nBottomGapRatio, Number(170.0 / 300.0));
}

TEST_F(ObjectSizeTest, AnUnboundObjectMakesNoRuntimeCall) {
  VC_ObjectSize o;
  o.SetMode(*module_, 1, 1, 5, 10, 3, 1);
  Win().ClearRecords();
  o.Resize(*module_);
  EXPECT_TRUE(Win().Calls().empty());
  EXPECT_TRUE(Win().Sent().empty());
}

TEST_F(ObjectSizeTest, FixedModesReturnToTheCapturedGeometryPositionFirst) {
  VC_ObjectSize o = Capture(hChild_, 1, 1, 5, 10, 3, 1);
  for (const auto& [nWidth, nHeight] : {std::pair{200, 100}, std::pair{800, 600}, std::pair{400, 300}}) {
    Win().Place(hChild_, 1, 2, 3, 4);
    Win().ClearRecords();
    ResizeTo(o, nWidth, nHeight);
    ExpectGeometry(hChild_, 20, 30, 100, 100);
    const auto& aCalls = Win().Calls();
    ASSERT_GE(aCalls.size(), 2u);
    EXPECT_EQ(aCalls[aCalls.size() - 2].eOp, Op::kSetPosition);
    EXPECT_EQ(aCalls.back().eOp, Op::kSetSize);
  }
  // Resizing never changes what was captured.
  EXPECT_EQ(o.nOrigWidth, Number(100));
  EXPECT_EQ(o.nRightGap, Number(280));
}

TEST_F(ObjectSizeTest, StretchKeepsEdgesAndGapsWhateverThePositionModes) {
  // Stretch width (9) overrides the proportional right gap (8).
  VC_ObjectSize oWide = Capture(hChild_, 1, 1, 8, 10, 9, 1);
  ResizeTo(oWide, 500, 300);
  ExpectGeometry(hChild_, 20, 30, 200, 100);  // right gap 500 - 220 = 280, as captured

  // Stretch height (14) overrides the proportional bottom gap (13).
  ResizeTo(oWide, 400, 300);
  VC_ObjectSize oTall = Capture(hChild_, 1, 1, 5, 13, 3, 14);
  ResizeTo(oTall, 400, 400);
  ExpectGeometry(hChild_, 20, 30, 100, 200);
}

TEST_F(ObjectSizeTest, ProportionalAndGapModes) {
  VC_ObjectSize oProportional = Capture(hChild_, 1, 1, 6, 11, 4, 2);
  ResizeTo(oProportional, 800, 600);
  ExpectGeometry(hChild_, 40, 60, 200, 200);

  ResizeTo(oProportional, 400, 300);
  VC_ObjectSize oFixedGaps = Capture(hChild_, 1, 1, 7, 12, 3, 1);
  ResizeTo(oFixedGaps, 500, 400);
  ExpectGeometry(hChild_, 120, 130, 100, 100);  // gaps 280 and 170 kept

  ResizeTo(oFixedGaps, 400, 300);
  VC_ObjectSize oRatioGaps = Capture(hChild_, 1, 1, 8, 13, 3, 1);
  ResizeTo(oRatioGaps, 800, 600);
  ExpectGeometry(hChild_, 800 - (0.7 * 800 + 100), Number(600) - (Number(170.0 / 300.0) * Number(600) + 100), 100, 100);
}

TEST_F(ObjectSizeTest, TheRightGapModesUseTheWidthAfterItsFactor) {
  VC_ObjectSize o = Capture(hChild_, 2, 1, 7, 10, 4, 1);
  ResizeTo(o, 600, 300);  // width 150 becomes 300
  ExpectGeometry(hChild_, 600 - (300 + 280), 30, 300, 100);
}

TEST_F(ObjectSizeTest, WidthFactorMultipliesGrowthAndDividesShrinkage) {
  VC_ObjectSize o = Capture(hChild_, 2, 1, 5, 10, 4, 1);
  ResizeTo(o, 600, 300);  // 150 -> 300
  EXPECT_EQ(Win().Find(hChild_)->nWidth, Number(300));
  ResizeTo(o, 320, 300);  // 80 -> 40
  EXPECT_EQ(Win().Find(hChild_)->nWidth, Number(40));
  ResizeTo(o, 400, 300);  // still W0: unchanged
  EXPECT_EQ(Win().Find(hChild_)->nWidth, Number(100));
}

TEST_F(ObjectSizeTest, HeightFactorActsOnlyOnShrinking) {
  VC_ObjectSize o = Capture(hChild_, 1, 0.5, 5, 10, 3, 2);
  ResizeTo(o, 400, 240);  // 80 -> 40
  EXPECT_EQ(Win().Find(hChild_)->nHeight, Number(40));
  ResizeTo(o, 400, 450);  // grew to 150: untouched
  EXPECT_EQ(Win().Find(hChild_)->nHeight, Number(150));
}

TEST_F(ObjectSizeTest, WidthOnlyObjectsGetOnlyTheirWidthAlwaysTimesTheFactor) {
  const WindowHandle hColumn = Win().CreateWindow(hForm_, layout::kTypeWidthOnly, "colName");
  Win().Place(hColumn, 7, 8, 100, 9);
  VC_ObjectSize o = Capture(hColumn, 1, 1, 5, 10, 3, 1);
  EXPECT_EQ(o.nWidthRatio, Number(0.25));
  EXPECT_EQ(o.nOrigLeft, Number(0));  // not captured: still the initial value

  Win().ClearRecords();
  ResizeTo(o, 600, 300);
  ExpectGeometry(hColumn, 7, 8, 150, 9);
  for (const auto& call : Win().Calls()) {
    EXPECT_NE(call.eOp, Op::kSetPosition);
    EXPECT_NE(call.eOp, Op::kSetSize);
  }
  EXPECT_EQ(Win().Calls().back().eOp, Op::kSetObjectWidth);

  o.SetMode(*module_, 2, 1, 5, 10, 3, 1);
  ResizeTo(o, 400, 300);  // the width did not change, the factor applies all the same
  EXPECT_EQ(Win().Find(hColumn)->nWidth, Number(200));
}

TEST_F(ObjectSizeTest, ModesOutsideTheirSetsPassNulls) {
  VC_ObjectSize o = Capture(hChild_, 1, 1, 0, 3, 1, 9);  // every mode in the wrong set
  Win().ClearRecords();
  ResizeTo(o, 500, 500);
  const auto& aCalls = Win().Calls();
  ASSERT_GE(aCalls.size(), 2u);
  const auto& pos = aCalls[aCalls.size() - 2];
  const auto& size = aCalls.back();
  EXPECT_TRUE(pos.n1.IsNull() && pos.n2.IsNull());
  EXPECT_TRUE(size.n1.IsNull() && size.n2.IsNull());
  ExpectGeometry(hChild_, 20, 30, 100, 100);  // the window system keeps what a null leaves
}

TEST_F(ObjectSizeTest, AParentOfZeroSizeAtCaptureGivesNullsNotACrash) {
  Win().Place(hForm_, 0, 0, 0, 0);
  VC_ObjectSize o = Capture(hChild_, 1, 1, 6, 11, 4, 2);
  EXPECT_TRUE(o.nWidthRatio.IsNull());
  EXPECT_TRUE(o.nLeftRatio.IsNull());
  EXPECT_TRUE(o.nHeightRatio.IsNull());
  EXPECT_TRUE(o.nBottomGapRatio.IsNull());
  EXPECT_EQ(o.nRightGap, Number(-120));  // the absolute values still hold

  Win().ClearRecords();
  ResizeTo(o, 400, 300);
  const auto& aCalls = Win().Calls();
  ASSERT_GE(aCalls.size(), 2u);
  EXPECT_TRUE(aCalls[aCalls.size() - 2].n1.IsNull());
  EXPECT_TRUE(aCalls.back().n1.IsNull());
  ExpectGeometry(hChild_, 20, 30, 100, 100);

  // The fixed modes do not depend on the ratios and still work.
  Win().Place(hForm_, 0, 0, 0, 0);
  VC_ObjectSize oFixed = Capture(hChild_, 1, 1, 5, 12, 9, 1);
  ResizeTo(oFixed, 300, 200);
  ExpectGeometry(hChild_, 20, 200 - (100 + -130), 300 - (20 + -120), 100);

  // A width-only object under a zero-width parent gets a null width.
  Win().Place(hForm_, 0, 0, 0, 0);
  const WindowHandle hColumn = Win().CreateWindow(hForm_, layout::kTypeWidthOnly, "col");
  Win().Place(hColumn, 0, 0, 50, 0);
  VC_ObjectSize oColumn = Capture(hColumn, 1, 1, 5, 10, 3, 1);
  ResizeTo(oColumn, 400, 300);
  EXPECT_TRUE(Win().Calls().back().n1.IsNull());
  EXPECT_EQ(Win().Find(hColumn)->nWidth, Number(50));
}

class ObjectSizeGroupTest : public ObjectSizeTest {
 protected:
  ObjectSizeGroupTest() { Win().SetCurrentForm(hForm_); }
};

TEST_F(ObjectSizeGroupTest, ResizesUpToTheFirstNullHandleWithPaintingOffAndRepaintsOnce) {
  VC_ObjectSizeGroup group;
  WindowHandle aChildren[4];
  for (int i = 0; i < 4; ++i) {
    aChildren[i] = Win().CreateWindow(hForm_, 2, "df" + std::to_string(i));
    Win().Place(aChildren[i], 10, 10, 100, 100);
    group.oObjectSizes.Set(i, Capture(aChildren[i], 1, 1, 5, 10, 4, 1));
    group.hWndObjects.Set(i, aChildren[i]);
  }
  group.hWndObjects.Set(2, WindowHandle{});  // ends the list: 3 is never reached
  Win().Place(hForm_, 0, 0, 800, 300);
  Win().ClearRecords();
  group.ResizeObjects(*module_);

  EXPECT_EQ(Win().Find(aChildren[0])->nWidth, Number(200));
  EXPECT_EQ(Win().Find(aChildren[1])->nWidth, Number(200));
  EXPECT_EQ(Win().Find(aChildren[2])->nWidth, Number(100));
  EXPECT_EQ(Win().Find(aChildren[3])->nWidth, Number(100));

  const auto& aSent = Win().Sent();
  ASSERT_EQ(aSent.size(), 2u);
  EXPECT_EQ(aSent[0].hWnd, hForm_);
  EXPECT_EQ(aSent[0].nMessage, kMsgSetRedraw);
  EXPECT_EQ(aSent[0].nwParam, Number(0));
  EXPECT_EQ(aSent[1].nMessage, kMsgSetRedraw);
  EXPECT_EQ(aSent[1].nwParam, Number(1));
  const auto& aCalls = Win().Calls();
  ASSERT_GE(aCalls.size(), 2u);
  EXPECT_EQ(aCalls[aCalls.size() - 2].eOp, Op::kInvalidate);
  EXPECT_EQ(aCalls.back().eOp, Op::kUpdate);
  EXPECT_EQ(aCalls.back().hWnd, hForm_);
  // Children moved while painting was off: only the form repainted, once.
  EXPECT_EQ(Win().Find(hForm_)->nPaints, 1);
  for (const WindowHandle h : aChildren) EXPECT_EQ(Win().Find(h)->nPaints, 0);
}

TEST_F(ObjectSizeGroupTest, AnEmptyListStillSwitchesPaintingAndRepaints) {
  VC_ObjectSizeGroup group;
  group.ResizeObjects(*module_);
  ASSERT_EQ(Win().Sent().size(), 2u);
  EXPECT_EQ(Win().Calls().size(), 2u);  // invalidate and update, nothing else
  EXPECT_EQ(Win().Find(hForm_)->nPaints, 1);
  EXPECT_TRUE(Win().Paints(hForm_));
}

TEST_F(ObjectSizeGroupTest, AHandleBeyondTheObjectsResizesAnUnboundObject) {
  VC_ObjectSizeGroup group;
  group.hWndObjects.Set(0, hChild_);  // no object 0: nothing to resize, no crash
  group.ResizeObjects(*module_);
  EXPECT_EQ(group.oObjectSizes.Count(), 0);
  ExpectGeometry(hChild_, 20, 30, 100, 100);
}

}  // namespace
}  // namespace qv
