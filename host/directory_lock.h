// SPDX-License-Identifier: Apache-2.0
// An exclusive lock on a file, held until released or the process ends:
// the repository's writers hold the one of the repository directory, so
// that two writers never interleave their files.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

class DirectoryLock {
 public:
  enum class Result { kHeld, kBusy, kFailed };

  DirectoryLock() = default;
  ~DirectoryLock() { Release(); }
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  // Opens sPath (created when missing) and locks it; another holder makes
  // it wait (bWait) or answer kBusy.  kFailed with sError saying why; a
  // link at sPath is refused, never followed.  Taking it again releases
  // the lock held before, whatever its path.
  Result Take(const std::string& sPath, bool bWait, std::string& sError);
  void Release();
  bool Held() const { return nHandle_ >= 0; }

 private:
  intptr_t nHandle_ = -1;
};

}  // namespace qv
