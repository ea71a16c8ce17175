// SPDX-License-Identifier: Apache-2.0
#include "repository/run_ahead.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace qv {

namespace {
// How many items beyond the one it needs a waiting calling thread waits for.
constexpr int64_t kWakeBatch = 16;
}  // namespace

void RunAhead(int64_t n, int nThreads, int64_t nWindow, const std::function<void(int64_t)>& fnWork,
              const std::function<void(int64_t)>& fnUse) {
  RunAheadByWorker(
      n, nThreads, nWindow, [&fnWork](int64_t i, int /*nWorker*/) { fnWork(i); }, fnUse);
}

void RunAheadByWorker(int64_t n, int nThreads, int64_t nWindow, const std::function<void(int64_t, int)>& fnWork,
                      const std::function<void(int64_t)>& fnUse) {
  if (n <= 0) return;
  if (nThreads < 1) {
    for (int64_t i = 0; i < n; ++i) {
      fnWork(i, 0);
      fnUse(i);
    }
    return;
  }
  if (nWindow < 1) nWindow = 1;
  // Each side wakes the other only when it waits, since a wake-up is a
  // system call.  A calling thread that has to wait for item i waits until
  // a few items more are done too, so that it is not woken for every item
  // when the workers are the slower side.
  const int64_t nBatch = std::min<int64_t>(kWakeBatch, nWindow - 1);
  std::mutex mu;
  std::condition_variable cvDone, cvRoom;
  std::vector<char> aDone(static_cast<size_t>(n), 0);
  int64_t nNext = 0;        // the next item a worker takes
  int64_t nUsed = 0;        // the items the calling thread has used
  int64_t nNeed = -1;       // the item the calling thread waits for, or -1
  int64_t nAlso = -1;       // the later item it waits for as well
  int nWaitingWorkers = 0;  // workers waiting for room in the window
  const auto Ready = [&] { return aDone[static_cast<size_t>(nNeed)] != 0 && aDone[static_cast<size_t>(nAlso)] != 0; };
  const auto Work = [&](int nWorker) {
    for (;;) {
      int64_t i;
      {
        std::unique_lock lock(mu);
        while (nNext < n && nNext >= nUsed + nWindow) {
          ++nWaitingWorkers;
          cvRoom.wait(lock);
          --nWaitingWorkers;
        }
        if (nNext >= n) return;
        i = nNext++;
      }
      fnWork(i, nWorker);
      bool bWake;
      {
        std::lock_guard lock(mu);
        aDone[static_cast<size_t>(i)] = 1;
        bWake = nNeed >= 0 && Ready();
      }
      if (bWake) cvDone.notify_one();
    }
  };
  std::vector<std::thread> aWorkers;
  aWorkers.reserve(static_cast<size_t>(nThreads));
  for (int t = 0; t < nThreads; ++t) aWorkers.emplace_back(Work, t);
  for (int64_t i = 0; i < n; ++i) {
    {
      std::unique_lock lock(mu);
      if (aDone[static_cast<size_t>(i)] == 0) {
        nNeed = i;
        nAlso = std::min(i + nBatch, n - 1);
        cvDone.wait(lock, Ready);
        nNeed = -1;
      }
    }
    fnUse(i);
    bool bWake;
    {
      std::lock_guard lock(mu);
      nUsed = i + 1;
      bWake = nWaitingWorkers > 0;
    }
    if (bWake) cvRoom.notify_all();
  }
  for (std::thread& worker : aWorkers) worker.join();
}

}  // namespace qv
