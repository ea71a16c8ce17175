#include "repository/run_ahead.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace qv {

void RunAhead(int64_t n, int nThreads, int64_t nWindow, const std::function<void(int64_t)>& fnWork,
              const std::function<void(int64_t)>& fnUse) {
  if (n <= 0) return;
  if (nThreads < 1) {
    for (int64_t i = 0; i < n; ++i) {
      fnWork(i);
      fnUse(i);
    }
    return;
  }
  if (nWindow < 1) nWindow = 1;
  std::mutex mu;
  std::condition_variable cvDone, cvRoom;
  std::vector<char> aDone(static_cast<size_t>(n), 0);
  int64_t nNext = 0;  // the next item a worker takes
  int64_t nUsed = 0;  // the items the calling thread has used
  const auto Work = [&] {
    for (;;) {
      int64_t i;
      {
        std::unique_lock lock(mu);
        cvRoom.wait(lock, [&] { return nNext >= n || nNext < nUsed + nWindow; });
        if (nNext >= n) return;
        i = nNext++;
      }
      fnWork(i);
      {
        std::lock_guard lock(mu);
        aDone[static_cast<size_t>(i)] = 1;
      }
      cvDone.notify_one();
    }
  };
  std::vector<std::thread> aWorkers;
  aWorkers.reserve(static_cast<size_t>(nThreads));
  for (int t = 0; t < nThreads; ++t) aWorkers.emplace_back(Work);
  for (int64_t i = 0; i < n; ++i) {
    {
      std::unique_lock lock(mu);
      cvDone.wait(lock, [&] { return aDone[static_cast<size_t>(i)] != 0; });
    }
    fnUse(i);
    {
      std::lock_guard lock(mu);
      nUsed = i + 1;
    }
    cvRoom.notify_all();
  }
  for (std::thread& worker : aWorkers) worker.join();
}

}  // namespace qv
