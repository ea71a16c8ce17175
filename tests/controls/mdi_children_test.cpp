// SPDX-License-Identifier: Apache-2.0
// The MDI child walks: close requests stop at the first child that answers,
// messages reach the children of the current frame only.
#include "controls/mdi_children.h"

#include <gtest/gtest.h>

#include "core/window_messages.h"
#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

class MdiChildrenTest : public test::HostFixture {
 protected:
  MdiChildrenTest() : cv_(MdiChildrenClassVars(*module_)) { hFrame_ = Win().Context().hWndMDI; }
  HeadlessWindows& Win() { return host_->Windows(); }
  WindowHandle AddChild(WindowHandle hOwner, const std::string& sName) {
    const WindowHandle h = Win().CreateWindow(hOwner, 1, sName);
    const int64_t i = cv_.cv_hWndChildList.Count();
    cv_.cv_hWndChildList.Set(i, h);
    cv_.cv_hWndOwnerList.Set(i, hOwner);
    return h;
  }
  int SentTo(WindowHandle hWnd, int64_t nMessage) {
    int n = 0;
    for (const auto& sent : Win().Sent()) n += sent.hWnd == hWnd && sent.nMessage == nMessage ? 1 : 0;
    return n;
  }

  MdiChildrenVars& cv_;
  WindowHandle hFrame_;
  INT_MDI_ManageChildren mdi_;
};

TEST_F(MdiChildrenTest, EmptyListsCloseNothing) {
  EXPECT_FALSE(mdi_.CloseChildren(*module_));
  EXPECT_FALSE(mdi_.SendToChildren(*module_, 1, 1234, 0, 0));
  EXPECT_TRUE(Win().Sent().empty());
}

TEST_F(MdiChildrenTest, CloseRequestsStopAtTheFirstChildThatAnswers) {
  const WindowHandle h1 = AddChild(hFrame_, "frm1");
  const WindowHandle h2 = AddChild(hFrame_, "frm2");
  const WindowHandle h3 = AddChild(hFrame_, "frm3");
  Win().SetMessageAnswer(h2, kMsgClose, 1);
  EXPECT_TRUE(mdi_.CloseChildren(*module_));
  EXPECT_EQ(SentTo(h1, kMsgClose), 1);
  EXPECT_EQ(SentTo(h2, kMsgClose), 1);
  EXPECT_EQ(SentTo(h3, kMsgClose), 0);

  Win().SetMessageAnswer(h2, kMsgClose, 0);
  Win().ClearRecords();
  EXPECT_FALSE(mdi_.CloseChildren(*module_));
  EXPECT_EQ(Win().Sent().size(), 3u);
}

TEST_F(MdiChildrenTest, ChildrenOfAnotherFrameGetNothing) {
  const WindowHandle hOtherFrame = Win().CreateWindow(WindowHandle{}, 1, "frmOtherMDI");
  const WindowHandle hOther = AddChild(hOtherFrame, "frmOther");
  const WindowHandle hMine = AddChild(hFrame_, "frmMine");
  Win().SetMessageAnswer(hOther, kMsgClose, 1);
  EXPECT_FALSE(mdi_.CloseChildren(*module_));
  mdi_.SendToChildren(*module_, 1, 5000, 0, 0);
  EXPECT_EQ(SentTo(hOther, kMsgClose) + SentTo(hOther, 5000), 0);
  EXPECT_EQ(SentTo(hMine, kMsgClose), 1);
  EXPECT_EQ(SentTo(hMine, 5000), 1);
}

TEST_F(MdiChildrenTest, SendToChildrenSkipsTheCurrentFormUnlessAsked) {
  const WindowHandle h1 = AddChild(hFrame_, "frm1");
  const WindowHandle h2 = AddChild(hFrame_, "frm2");
  Win().SetCurrentForm(h2);
  Win().SetMessageAnswer(h1, 5000, 1);  // answers are ignored
  EXPECT_FALSE(mdi_.SendToChildren(*module_, 0, 5000, 3.7, -2.9));
  EXPECT_EQ(SentTo(h1, 5000), 1);
  EXPECT_EQ(SentTo(h2, 5000), 0);
  // wParam and lParam reach the window as integers.
  EXPECT_EQ(Win().Sent().back().nwParam, Number(3));
  EXPECT_EQ(Win().Sent().back().nlParam, Number(-2));

  EXPECT_FALSE(mdi_.SendToChildren(*module_, 2, 5000, 0, 0));  // any nonzero includes it
  EXPECT_EQ(SentTo(h1, 5000), 2);
  EXPECT_EQ(SentTo(h2, 5000), 1);
}

TEST_F(MdiChildrenTest, EntriesWithoutOwnerAreSkippedEvenWithoutAFrame) {
  const WindowHandle hLost = Win().CreateWindow(WindowHandle{}, 1, "frmLost");
  cv_.cv_hWndChildList.Set(0, hLost);  // owner entry left null
  cv_.cv_hWndOwnerList.Set(1, hFrame_);
  Win().SetMdiFrame(WindowHandle{});  // no MDI frame at all
  EXPECT_FALSE(mdi_.CloseChildren(*module_));
  mdi_.SendToChildren(*module_, 1, 5000, 0, 0);
  EXPECT_TRUE(Win().Sent().empty());
}

TEST_F(MdiChildrenTest, AChildThatChangesTheListsWhileClosingIsSafe) {
  const WindowHandle h1 = AddChild(hFrame_, "frm1");
  const WindowHandle h2 = AddChild(hFrame_, "frm2");
  AddChild(hFrame_, "frm3");
  // The first child closes and the application forgets every child.
  Win().SetMessageHandler([this](const HeadlessWindows::SentMessage&) {
    cv_.cv_hWndChildList.Clear();
    cv_.cv_hWndOwnerList.Clear();
    return Number(0);
  });
  EXPECT_FALSE(mdi_.CloseChildren(*module_));
  EXPECT_EQ(SentTo(h1, kMsgClose), 1);
  EXPECT_EQ(SentTo(h2, kMsgClose), 0);  // the bound was taken at the start; the entries are gone
}

}  // namespace
}  // namespace qv
