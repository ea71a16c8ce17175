// SPDX-License-Identifier: Apache-2.0
#include "core/wait_cursor.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_host.h"

namespace qv {
namespace {

class WaitCursorTest : public test::HostFixture {
 protected:
  WaitCursorTest() : win_(host_->Windows()), m_(*module_) { m_.EnsureInitialised(); }

  HeadlessWindows& win_;
  Module& m_;
};

TEST_F(WaitCursorTest, WaitCursorNestsAndAnExtraOffDoesNothing) {
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

}  // namespace
}  // namespace qv
