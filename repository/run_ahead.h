// SPDX-License-Identifier: Apache-2.0
// Work on many items by worker threads ahead of the calling thread, which
// takes the results in order.
#pragma once

#include <cstdint>
#include <functional>

namespace qv {

// Calls fnWork(i) for every i in [0, n) on nThreads worker threads, at most
// nWindow items ahead of the calling thread, which calls fnUse(i) for each
// i in order once fnWork(i) has returned.  fnWork must touch nothing that
// fnUse or another fnWork call touches but item i's own data; everything
// else, host calls included, belongs in fnUse.  The window bounds how many
// finished items wait at once, and with them the memory they hold.  With
// nThreads < 1 both run on the calling thread, item after item.
void RunAhead(int64_t n, int nThreads, int64_t nWindow, const std::function<void(int64_t)>& fnWork,
              const std::function<void(int64_t)>& fnUse);

// RunAhead, with fnWork(i, nWorker) told which worker runs it: nWorker is in
// [0, max(nThreads, 1)) and no two calls with the same nWorker run at once,
// so that each worker may keep scratch memory of its own from item to item.
void RunAheadByWorker(int64_t n, int nThreads, int64_t nWindow, const std::function<void(int64_t, int)>& fnWork,
                      const std::function<void(int64_t)>& fnUse);

}  // namespace qv
