// SPDX-License-Identifier: Apache-2.0
// The headless window system's geometry, painting and scripted answers, as
// the library's window operations see them.
#include "host/headless/headless_windows.h"

#include <gtest/gtest.h>

#include "core/runtime.h"
#include "core/window_messages.h"
#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

class HeadlessWindowsTest : public test::HostFixture {
 protected:
  HeadlessWindowsTest() {
    hForm_ = Win().CreateWindow(WindowHandle{}, 1, "frm");
    hChild_ = Win().CreateWindow(hForm_, 2, "df");
    Win().Place(hChild_, 1, 2, 3, 4);
  }
  HeadlessWindows& Win() { return host_->Windows(); }
  WindowHandle hForm_;
  WindowHandle hChild_;
};

TEST_F(HeadlessWindowsTest, GeometryIsReadAndSetInsideTheParentANullKeepsItsValue) {
  Number nWidth, nHeight, nLeft, nTop;
  ASSERT_TRUE(RtGetWindowSize(*module_, hChild_, nWidth, nHeight));
  ASSERT_TRUE(RtGetWindowPosition(*module_, hChild_, nLeft, nTop));
  EXPECT_EQ(nWidth, Number(3));
  EXPECT_EQ(nTop, Number(2));
  EXPECT_TRUE(RtSetWindowPosition(*module_, hChild_, Number::Null(), 7.5));
  EXPECT_TRUE(RtSetWindowSize(*module_, hChild_, 9, Number::Null()));
  EXPECT_TRUE(RtSetObjectWidth(*module_, hChild_, 11));
  const auto* p = Win().Find(hChild_);
  EXPECT_EQ(p->nLeft, Number(1));
  EXPECT_EQ(p->nTop, Number(7.5));
  EXPECT_EQ(p->nHeight, Number(4));
  EXPECT_EQ(RtGetObjectWidth(*module_, hChild_), Number(11));

  // A handle that names no window: FALSE and nulls, nothing changes.
  const WindowHandle hNone{0x7fff};
  EXPECT_FALSE(RtGetWindowSize(*module_, hNone, nWidth, nHeight));
  EXPECT_TRUE(nWidth.IsNull() && nHeight.IsNull());
  EXPECT_FALSE(RtSetWindowPosition(*module_, hNone, 1, 1));
  EXPECT_TRUE(RtGetObjectWidth(*module_, hNone).IsNull());
  EXPECT_FALSE(RtInvalidateWindow(*module_, hNone));
}

TEST_F(HeadlessWindowsTest, PaintingFollowsTheRedrawSwitchesOfTheWindowAndItsAncestors) {
  RtSetWindowSize(*module_, hChild_, 5, 5);
  EXPECT_EQ(Win().Find(hChild_)->nPaints, 1);  // painted at once

  RtSendMessage(*module_, hForm_, kMsgSetRedraw, 0, 0);
  EXPECT_FALSE(Win().Paints(hChild_));
  RtSetWindowSize(*module_, hChild_, 6, 6);
  RtInvalidateWindow(*module_, hForm_);
  RtUpdateWindow(*module_, hForm_);
  EXPECT_EQ(Win().Find(hChild_)->nPaints, 1);
  EXPECT_EQ(Win().Find(hForm_)->nPaints, 0);

  RtSendMessage(*module_, hForm_, kMsgSetRedraw, 1, 0);
  RtUpdateWindow(*module_, hForm_);  // still invalid from before: painted now
  RtUpdateWindow(*module_, hForm_);  // nothing left to paint
  EXPECT_EQ(Win().Find(hForm_)->nPaints, 1);
}

TEST_F(HeadlessWindowsTest, AWindowsOwnAnswerComesBeforeTheHandler) {
  int nHandled = 0;
  Win().SetMessageHandler([&nHandled](const HeadlessWindows::SentMessage&) {
    ++nHandled;
    return Number(5);
  });
  Win().SetMessageAnswer(hChild_, kMsgClose, 1);
  EXPECT_EQ(RtSendMessage(*module_, hChild_, kMsgClose, 0, 0), Number(1));
  EXPECT_EQ(RtSendMessage(*module_, hChild_, 4000, 0, 0), Number(5));
  EXPECT_EQ(RtSendMessage(*module_, hForm_, kMsgClose, 0, 0), Number(5));
  EXPECT_EQ(nHandled, 2);
  EXPECT_EQ(Win().Sent().size(), 3u);
}

TEST_F(HeadlessWindowsTest, TextIsCutToTheLengthAsked) {
  Win().SetText(hChild_, "Customer name");
  String s;
  EXPECT_EQ(RtGetWindowText(*module_, hChild_, s, 5), 4);
  EXPECT_EQ(s, "Cust");
  EXPECT_EQ(RtGetWindowText(*module_, hChild_, s, 0), 13);
  EXPECT_EQ(RtGetWindowText(*module_, WindowHandle{0x7fff}, s, 10), 0);
}

TEST_F(HeadlessWindowsTest, AParentChainThatLoopsEnds) {
  // A window made with a parent handle not yet given out, which later names
  // a window whose parent is the first one.
  const WindowHandle hFirst = Win().CreateWindow(WindowHandle{hChild_.nValue + 2}, 2, "a");
  const WindowHandle hSecond = Win().CreateWindow(hFirst, 2, "b");
  ASSERT_EQ(hSecond.nValue, hChild_.nValue + 2);
  EXPECT_TRUE(Win().Paints(hSecond));
  RtSendMessage(*module_, hFirst, kMsgSetRedraw, 0, 0);
  EXPECT_FALSE(Win().Paints(hSecond));
}

}  // namespace
}  // namespace qv
