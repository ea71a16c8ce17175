// SPDX-License-Identifier: Apache-2.0
#include "host/toolkit/toolkit_lists.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

ToolkitLists::Call OnItem(int32_t nOrdinal, WindowHandle hWnd, int32_t nIndex) {
  return {nOrdinal, true, hWnd, {{ToolkitLists::Arg::kInteger, nIndex, {}}}};
}

TEST(ToolkitListsTest, ItemPropertiesAndTheAnswersForAMissingItem) {
  ToolkitLists lists;
  const WindowHandle hList{0x200};
  ToolkitLists::Item item{"One", 5, 0x40000000, 0xFF, 2, 9, 3, 4};
  lists.At(hList).aItems = {item};
  lists.At(hList).nStyle = 8;

  EXPECT_EQ(lists.Serve({94, true, hList, {}}), -1);
  lists.At(hList).nSelection = 0;
  EXPECT_EQ(lists.Serve({94, true, hList, {}}), 0);
  EXPECT_EQ(lists.Serve({110, true, hList, {}}), 8);
  EXPECT_EQ(lists.ServeText(OnItem(87, hList, 0)), "One");
  EXPECT_EQ(lists.Serve(OnItem(118, hList, 0)), 0x40000000);
  EXPECT_EQ(lists.Serve(OnItem(141, hList, 0)), 9);

  // Past the end, before the start, or a window without a list.
  EXPECT_EQ(lists.ServeText(OnItem(87, hList, 1)), "");
  EXPECT_EQ(lists.Serve(OnItem(118, hList, -1)), -1);
  EXPECT_EQ(lists.Serve(OnItem(80, WindowHandle{0x300}, 0)), 0);
  EXPECT_EQ(lists.Serve({94, true, WindowHandle{0x300}, {}}), -1);

  // 151 reports the item's two values through its receive arguments.
  int32_t nA = 70, nB = 71;
  int32_t* aReceives[] = {&nA, &nB};
  EXPECT_EQ(lists.Serve(OnItem(151, hList, 0), aReceives), 1);
  EXPECT_EQ(nA, 3);
  EXPECT_EQ(nB, 4);
  nA = 70;
  EXPECT_EQ(lists.Serve(OnItem(151, hList, 5), aReceives), 0);
  EXPECT_EQ(nA, 70);
  EXPECT_EQ(lists.Calls().size(), 12u);
}

TEST(ToolkitListsTest, QueuedThenStandingThenTheHostsOwnAnswer) {
  ToolkitLists lists;
  const WindowHandle hList{0x200};
  lists.At(hList).aItems.resize(1);
  lists.At(hList).aItems[0].nFlags = 3;
  lists.QueueResults(118, {-1, 7});
  EXPECT_EQ(lists.Serve(OnItem(118, hList, 0)), -1);
  EXPECT_EQ(lists.Serve(OnItem(118, hList, 0)), 7);
  EXPECT_EQ(lists.Serve(OnItem(118, hList, 0)), 3);
  lists.SetResult(118, 12);
  lists.QueueResults(118, {13});
  EXPECT_EQ(lists.Serve(OnItem(118, hList, 0)), 13);
  EXPECT_EQ(lists.Serve(OnItem(118, hList, 0)), 12);

  // An operation the host has no answer of its own for: 1 unless scripted.
  EXPECT_EQ(lists.Serve({146, false, {}, {{ToolkitLists::Arg::kInteger, 1, {}}}}), 1);
  int32_t nReceive = 5;
  int32_t* aReceives[] = {&nReceive};
  lists.SetReceives(253, {40, 41});
  lists.Serve({253, false, {}, {}}, aReceives);
  EXPECT_EQ(nReceive, 40);  // only as many as the call has
  lists.ClearScripts();
  EXPECT_EQ(lists.Serve(OnItem(118, hList, 0)), 3);
  // The prompt names the operation before it, also when prompted twice, and
  // is recorded with its caption.
  EXPECT_EQ(lists.Prompt("Caption"), "List operation 118 failed.");
  EXPECT_EQ(lists.Prompt("Caption"), "List operation 118 failed.");
  EXPECT_EQ(lists.Calls().back().aArgs.at(0).sText, "Caption");
  EXPECT_EQ(lists.CallsOf(118).size(), 6u);
}

}  // namespace
}  // namespace qv
