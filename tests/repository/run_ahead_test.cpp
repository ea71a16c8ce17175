// SPDX-License-Identifier: Apache-2.0
#include "repository/run_ahead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace qv {
namespace {

// Runs 500 items and checks that every item is worked on once and used in
// order, after its work, and that the workers never run more than the
// window ahead of the calling thread.
void ExpectOrderedWithinTheWindow(int nThreads, int64_t nWindow, bool bSlowWork) {
  constexpr int64_t n = 500;
  std::vector<std::atomic<int>> aWorked(n);
  std::atomic<int64_t> nUsed{0};
  std::atomic<int64_t> nFurthestAhead{0};
  std::vector<int64_t> aOrder;
  RunAhead(
      n, nThreads, nWindow,
      [&](int64_t i) {
        if (bSlowWork) {
          const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(20);
          while (std::chrono::steady_clock::now() < until) {
          }
        }
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

// With fast work the workers wait for room in the window; with slow work
// the calling thread waits for the workers, for several items at a time.
TEST(RunAhead, UsesEveryItemInOrderAfterItsWorkAndWithinTheWindow) {
  for (const bool bSlowWork : {false, true}) {
    for (const int nThreads : {0, 1, 2, 4}) {
      for (const int64_t nWindow : {1, 3, 64}) {
        SCOPED_TRACE("threads " + std::to_string(nThreads) + ", window " + std::to_string(nWindow) +
                     (bSlowWork ? ", slow work" : ""));
        ExpectOrderedWithinTheWindow(nThreads, nWindow, bSlowWork);
      }
    }
  }
}

TEST(RunAhead, NoItemsCallsNothing) {
  int nCalls = 0;
  RunAhead(
      0, 2, 8, [&](int64_t) { ++nCalls; }, [&](int64_t) { ++nCalls; });
  EXPECT_EQ(nCalls, 0);
}

// Each worker is told its own number, and no two items run at once under
// the same number: what a worker keeps between items is its own.
TEST(RunAhead, AWorkerNumberIsNeverInUseTwiceAtOnce) {
  for (const int nThreads : {0, 1, 3}) {
    const int nWorkers = std::max(nThreads, 1);
    std::vector<std::atomic<int>> aBusy(static_cast<size_t>(nWorkers));
    std::atomic<int> nClashes{0};
    std::atomic<int> nOutOfRange{0};
    RunAheadByWorker(
        400, nThreads, 8,
        [&](int64_t /*i*/, int nWorker) {
          if (nWorker < 0 || nWorker >= nWorkers) {
            ++nOutOfRange;
            return;
          }
          if (aBusy[static_cast<size_t>(nWorker)].exchange(1) != 0) ++nClashes;
          std::this_thread::yield();
          aBusy[static_cast<size_t>(nWorker)] = 0;
        },
        [](int64_t /*i*/) {});
    EXPECT_EQ(nOutOfRange.load(), 0) << nThreads;
    EXPECT_EQ(nClashes.load(), 0) << nThreads;
  }
}

}  // namespace
}  // namespace qv
