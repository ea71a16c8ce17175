// SPDX-License-Identifier: Apache-2.0
#include "cli/progress.h"

#include <unistd.h>

#include <cstdio>

namespace quorvane::cli {

Progress::Progress(std::string sWhat, int64_t nTotal)
    : sWhat_(std::move(sWhat)), nTotal_(nTotal), bTerminal_(isatty(STDERR_FILENO) == 1),
      start_(std::chrono::steady_clock::now()) {}

void Progress::Update(int64_t nDone) {
  if (!bTerminal_ || nTotal_ <= 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - start_ < std::chrono::milliseconds(500)) return;
  if (bShown_ && now - lastDraw_ < std::chrono::milliseconds(100) && nDone < nTotal_) return;
  lastDraw_ = now;
  constexpr int kWidth = 30;
  const int nFilled = static_cast<int>(kWidth * nDone / nTotal_);
  std::string sBar(static_cast<size_t>(nFilled), '=');
  sBar.resize(kWidth, ' ');
  std::fprintf(stderr, "\r%s [%s] %lld/%lld", sWhat_.c_str(), sBar.c_str(), static_cast<long long>(nDone),
               static_cast<long long>(nTotal_));
  std::fflush(stderr);
  bShown_ = true;
}

void Progress::Clear() {
  if (!bShown_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  bShown_ = false;
}

void Progress::Finish() { Clear(); }

}  // namespace quorvane::cli
