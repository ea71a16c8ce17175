// SPDX-License-Identifier: Apache-2.0
// A progress bar on stderr, for long runs when stderr is a terminal.  It
// appears only after the run has taken half a second, redraws at most ten
// times a second, and is erased when the run ends.  Off a terminal it
// prints nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace quorvane::cli {

class Progress {
 public:
  Progress(std::string sWhat, int64_t nTotal);
  ~Progress() { Finish(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Update(int64_t nDone);
  void Finish();
  // Erases the bar so that a message line can be printed; the next Update
  // draws it again.
  void Clear();

 private:
  std::string sWhat_;
  int64_t nTotal_;
  bool bTerminal_;
  bool bShown_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDraw_;
};

}  // namespace quorvane::cli
