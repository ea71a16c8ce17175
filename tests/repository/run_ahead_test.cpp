#include "repository/run_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace qv {
namespace {

// Every item is worked on once and used in order, after its work, and the
// workers never run more than the window ahead of the calling thread.
TEST(RunAhead, UsesEveryItemInOrderAfterItsWorkAndWithinTheWindow) {
  for (const int nThreads : {0, 1, 2, 4}) {
    for (const int64_t nWindow : {1, 3, 64}) {
      SCOPED_TRACE("threads " + std::to_string(nThreads) + ", window " + std::to_string(nWindow));
      constexpr int64_t n = 500;
      std::vector<std::atomic<int>> aWorked(n);
      std::atomic<int64_t> nUsed{0};
      std::atomic<int64_t> nFurthestAhead{0};
      std::vector<int64_t> aOrder;
      RunAhead(
          n, nThreads, nWindow,
          [&](int64_t i) {
            ++aWorked[static_cast<size_t>(i)];
            const int64_t nAhead = i - nUsed.load();
            int64_t nSeen = nFurthestAhead.load();
            while (nAhead > nSeen && !nFurthestAhead.compare_exchange_weak(nSeen, nAhead)) {
            }
          },
          [&](int64_t i) {
            EXPECT_EQ(aWorked[static_cast<size_t>(i)].load(), 1) << i;
            aOrder.push_back(i);
            nUsed = i + 1;
          });
      ASSERT_EQ(static_cast<int64_t>(aOrder.size()), n);
      for (int64_t i = 0; i < n; ++i) EXPECT_EQ(aOrder[static_cast<size_t>(i)], i);
      for (int64_t i = 0; i < n; ++i) EXPECT_EQ(aWorked[static_cast<size_t>(i)].load(), 1) << i;
      // Item i is taken only while i < used + window.
      EXPECT_LT(nFurthestAhead.load(), nThreads < 1 ? 1 : nWindow);
    }
  }
}

TEST(RunAhead, NoItemsCallsNothing) {
  int nCalls = 0;
  RunAhead(0, 2, 8, [&](int64_t) { ++nCalls; }, [&](int64_t) { ++nCalls; });
  EXPECT_EQ(nCalls, 0);
}

}  // namespace
}  // namespace qv
