// SPDX-License-Identifier: Apache-2.0
// The FileLock of both file systems: an exclusive lock on a file, held
// until released or the process ends.  Each system implements it in its own
// folder (os/posix/posix_lock.cpp, os/win32/win32_lock.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "core/host.h"

namespace qv {

class DirectoryLock final : public FileLock {
 public:
  DirectoryLock() = default;
  ~DirectoryLock() override { Release(); }
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  // As FileLock says: the lock held before is released first, and a Take
  // that answers kBusy or kFailed keeps no file open.
  Result Take(const std::string& sPath, bool bWait, std::string& sError) override;
  void Release() override;
  bool Held() const override { return nHandle_ >= 0; }

 private:
  intptr_t nHandle_ = -1;
};

}  // namespace qv
