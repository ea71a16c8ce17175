// SPDX-License-Identifier: Apache-2.0
#include "controls/list_box.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

// Object type of the list box windows the tests make.
constexpr int64_t kTypeListBox = 16;
constexpr int32_t kButtonRetry = 4;

class ListBoxTest : public test::HostFixture {
 protected:
  ListBoxTest() : win_(host_->Windows()), lists_(host_->Lists()), m_(*module_) {
    m_.EnsureInitialised();
    hList_ = win_.CreateWindow(win_.Context().hWndMDI, kTypeListBox, "lbChoices");
    win_.SetCurrentItem(hList_);
    // Every box answered: the toolkit's prompt with the next scripted
    // button, so that a loop that never ends shows up as an exception.
    win_.SetBoxResponder([this](const HeadlessWindows::ShownBox&) {
      if (aButtons_.empty()) throw std::runtime_error("a prompt nobody expected");
      const int nButton = aButtons_.front();
      aButtons_.erase(aButtons_.begin());
      return Number(nButton);
    });
  }

  void AddItems(std::vector<ToolkitLists::Item> aItems, int32_t nSelection) {
    ToolkitLists::List& list = lists_.At(hList_);
    list.aItems = std::move(aItems);
    list.nSelection = nSelection;
  }
  std::vector<int32_t> Ordinals() const {
    std::vector<int32_t> a;
    for (const auto& call : lists_.Calls()) a.push_back(call.nOrdinal);
    return a;
  }
  static std::vector<int32_t> Integers(const ToolkitLists::Call& call) {
    std::vector<int32_t> a;
    for (const auto& arg : call.aArgs) a.push_back(arg.nValue);
    return a;
  }

  HeadlessWindows& win_;
  ToolkitLists& lists_;
  Module& m_;
  WindowHandle hList_;
  std::vector<int> aButtons_;
};

TEST_F(ListBoxTest, CacheSelectionFillsEveryVariableFromTheSelectedItem) {
  ToolkitLists::Item other;
  other.sText = "other";
  ToolkitLists::Item item{"Second", 42, 0x40000000, 0xFF00, 3, 9, -7, 8};
  AddItems({other, item}, 1);
  lists_.At(hList_).nStyle = 5;
  lists_.SetResult(203, 77);
  m_.MessageReturn() = Number(5);

  cRadioListBox box;
  box.sItemText = "old";
  EXPECT_FALSE(box.CacheSelection(m_));

  EXPECT_EQ(m_.MessageReturn(), Number(0));
  EXPECT_EQ(box.nSelection, Number(1));
  EXPECT_EQ(box.sItemText, "Second");
  EXPECT_EQ(box.nItemValue, Number(42));
  EXPECT_EQ(box.nListStyle, Number(5));
  EXPECT_EQ(box.nItemFlags, Number(0x40000000));
  EXPECT_EQ(box.nItemColor, Number(0xFF00));
  EXPECT_EQ(box.nItemFont, Number(3));
  EXPECT_EQ(box.nItemValueA, Number(-7));
  EXPECT_EQ(box.nItemValueB, Number(8));
  EXPECT_EQ(box.hItem, Number(9));
  EXPECT_EQ(box.nItemHandleValue, Number(77));
  // In the order of the cache, each on the control; ordinal 203 gets the
  // item handle and no window.
  EXPECT_EQ(Ordinals(), (std::vector<int32_t>{94, 87, 80, 110, 118, 102, 176, 151, 141, 203}));
  for (const auto& call : lists_.Calls()) {
    if (call.nOrdinal == 203) {
      EXPECT_FALSE(call.bOwnWindow);
      EXPECT_EQ(Integers(call), std::vector<int32_t>{9});
    } else {
      EXPECT_TRUE(call.bOwnWindow) << call.nOrdinal;
      EXPECT_EQ(call.hWnd, hList_) << call.nOrdinal;
    }
  }
}

TEST_F(ListBoxTest, CacheWithoutSelectionOrItemHandleKeepsTheOldValues) {
  ToolkitLists::Item item{"Only", 1, 2, 3, 4, 0, 5, 6};
  AddItems({item}, -1);
  cRadioListBox box;
  box.nSelection = Number(0);
  box.sItemText = "kept";
  box.nItemValue = Number(11);
  box.nItemHandleValue = Number(12);

  box.CacheSelection(m_);
  EXPECT_EQ(box.nSelection, Number(-1));
  EXPECT_EQ(box.sItemText, "kept");
  EXPECT_EQ(box.nItemValue, Number(11));
  EXPECT_EQ(Ordinals(), std::vector<int32_t>{94});

  // Selected, but the item has no handle: nothing asks for its value.
  lists_.At(hList_).nSelection = 0;
  lists_.ClearCalls();
  box.CacheSelection(m_);
  EXPECT_EQ(box.sItemText, "Only");
  EXPECT_EQ(box.hItem, Number(0));
  EXPECT_EQ(box.nItemHandleValue, Number(12));
  EXPECT_TRUE(lists_.CallsOf(203).empty());
}

TEST_F(ListBoxTest, ToggleSelectedFollowsTheTwoFlagBits) {
  struct Case {
    uint32_t nFlags;
    std::vector<int32_t> aToggleOrdinals;
  };
  const Case aCases[] = {
      {0xC0000000u, {143}},  // bit 30 and bit 31
      {0x40000001u, {144}},  // bit 30 alone
      {0x80000000u, {}},     // bit 31 alone
      {0x3FFFFFFFu, {}},     // every other bit
  };
  for (const Case& c : aCases) {
    ToolkitLists::Item item;
    item.nFlags = static_cast<int32_t>(c.nFlags);
    AddItems({ToolkitLists::Item{}, ToolkitLists::Item{}, item}, 2);
    lists_.ClearCalls();
    cListItemToggle toggle;
    EXPECT_FALSE(toggle.ToggleSelected(m_));
    EXPECT_EQ(toggle.nSelection, Number(2));
    EXPECT_EQ(toggle.nItemFlags, Number(static_cast<int32_t>(c.nFlags)));
    std::vector<int32_t> aToggles;
    for (const auto& call : lists_.Calls()) {
      if (call.nOrdinal == 143 || call.nOrdinal == 144) {
        aToggles.push_back(call.nOrdinal);
        EXPECT_EQ(call.hWnd, hList_);
        EXPECT_EQ(Integers(call), std::vector<int32_t>{2});
      }
    }
    EXPECT_EQ(aToggles, c.aToggleOrdinals) << std::hex << c.nFlags;
  }

  // No selection: nothing beyond asking for it.
  AddItems({ToolkitLists::Item{}}, -1);
  lists_.ClearCalls();
  cListItemToggle toggle;
  toggle.ToggleSelected(m_);
  EXPECT_EQ(toggle.nSelection, Number(-1));
  EXPECT_EQ(Ordinals(), std::vector<int32_t>{94});
}

TEST_F(ListBoxTest, KeypadPlusAndMinusSendTheToggleRequest) {
  AddItems({ToolkitLists::Item{}}, 0);
  cListItemToggle toggle;
  for (int nKey : {107, 109, 43}) {
    win_.ClearRecords();
    win_.MutableContext().nwParam = Number(nKey);
    m_.MessageReturn() = Number(1);
    EXPECT_FALSE(toggle.OnToggleKey(m_));
    EXPECT_EQ(m_.MessageReturn(), Number(0));
    if (nKey == 43) {
      EXPECT_TRUE(win_.Sent().empty());
    } else {
      ASSERT_EQ(win_.Sent().size(), 1u) << nKey;
      const auto& sent = win_.Sent().front();
      EXPECT_EQ(sent.hWnd, hList_);
      EXPECT_EQ(sent.nMessage, 8201);
      EXPECT_EQ(sent.nwParam, Number(0));
      EXPECT_EQ(sent.nlParam, Number(0));
    }
  }
  // Without a selection the key is ignored.
  lists_.At(hList_).nSelection = -1;
  win_.ClearRecords();
  win_.MutableContext().nwParam = Number(107);
  toggle.OnToggleKey(m_);
  EXPECT_TRUE(win_.Sent().empty());
  EXPECT_EQ(toggle.nSelection, Number(-1));
}

TEST_F(ListBoxTest, ListOp96PassesZeroWhereSetupListPassesOneAndLParam) {
  cRadioListBox box;
  lists_.SetResult(96, 6);
  EXPECT_EQ(box.ListOp96(m_, Number(3)), 6);  // the toolkit's Boolean, unchanged
  win_.MutableContext().nlParam = Number(1234);
  m_.MessageReturn() = Number(9);
  EXPECT_FALSE(box.SetupList(m_));
  EXPECT_EQ(m_.MessageReturn(), Number(0));

  const auto aCalls = lists_.CallsOf(96);
  ASSERT_EQ(aCalls.size(), 2u);
  for (const auto& call : aCalls) EXPECT_EQ(call.hWnd, hList_);
  EXPECT_EQ(Integers(aCalls[0]), (std::vector<int32_t>{3, 0}));
  EXPECT_EQ(Integers(aCalls[1]), (std::vector<int32_t>{1, 1234}));
}

TEST_F(ListBoxTest, AFailedCallIsRetriedAfterTheToolkitPrompt) {
  lists_.QueueResults(96, {0, 0});  // two failures, then the standing answer 1
  aButtons_ = {kButtonRetry, kButtonRetry};
  cRadioListBox box;
  box.SetupList(m_);
  EXPECT_EQ(lists_.CallsOf(96).size(), 3u);
  ASSERT_EQ(win_.Boxes().size(), 2u);
  for (const auto& shown : win_.Boxes()) {
    EXPECT_EQ(shown.sCaption, "UI Toolkit");
    EXPECT_EQ(shown.sText, "List operation 96 failed.");
    EXPECT_EQ(shown.nStyle, 5 | 48);  // Retry and Cancel
  }
  EXPECT_FALSE(win_.QuitRequested());
  ASSERT_EQ(lists_.CallsOf(135).size(), 2u);
  EXPECT_EQ(lists_.CallsOf(135).front().aArgs.front().sText, "UI Toolkit");

  // The flags are read until they are not -1; then the toggle is retried
  // until it succeeds as well.
  ToolkitLists::Item item;
  item.nFlags = 0x40000000;
  AddItems({item}, 0);
  lists_.QueueResults(118, {-1});
  lists_.QueueResults(144, {0});
  aButtons_ = {kButtonRetry, kButtonRetry};
  cListItemToggle toggle;
  toggle.ToggleSelected(m_);
  EXPECT_EQ(lists_.CallsOf(118).size(), 2u);
  EXPECT_EQ(lists_.CallsOf(144).size(), 2u);
  EXPECT_EQ(toggle.nItemFlags, Number(0x40000000));
  EXPECT_TRUE(aButtons_.empty());
}

// Cancel asks the application to quit.  This host's quit does not end the
// process, so the handler must stop trying instead of calling forever.
TEST_F(ListBoxTest, CancelAtThePromptQuitsAndStopsTheRetries) {
  lists_.SetResult(96, 0);  // fails every time
  aButtons_ = {HeadlessWindows::kButtonCancel};
  cRadioListBox box;
  EXPECT_NO_THROW(box.SetupList(m_));
  EXPECT_TRUE(win_.QuitRequested());
  EXPECT_EQ(lists_.CallsOf(96).size(), 1u);
  EXPECT_EQ(win_.Boxes().size(), 1u);

  // With quit under way a failure ends the handler without another prompt.
  // Unreadable flags (-1, every bit set) must not be taken for a checked
  // item: no toggle follows.
  ToolkitLists::Item item;
  item.nFlags = 0x40000000;
  AddItems({item}, 0);
  lists_.SetResult(118, -1);
  cListItemToggle toggle;
  EXPECT_NO_THROW(toggle.ToggleSelected(m_));
  EXPECT_EQ(lists_.CallsOf(118).size(), 1u);
  EXPECT_TRUE(lists_.CallsOf(143).empty());
  EXPECT_TRUE(lists_.CallsOf(144).empty());
  EXPECT_EQ(win_.Boxes().size(), 1u);
}

TEST_F(ListBoxTest, CancelDuringTheFlagsReadEndsTheToggle) {
  ToolkitLists::Item item;
  item.nFlags = 0x40000000;
  AddItems({item}, 0);
  lists_.SetResult(118, -1);
  aButtons_ = {kButtonRetry, HeadlessWindows::kButtonCancel};
  cListItemToggle toggle;
  EXPECT_NO_THROW(toggle.ToggleSelected(m_));
  EXPECT_EQ(lists_.CallsOf(118).size(), 2u);
  EXPECT_TRUE(win_.QuitRequested());
  EXPECT_TRUE(lists_.CallsOf(143).empty());
  EXPECT_TRUE(lists_.CallsOf(144).empty());
}

}  // namespace
}  // namespace qv
