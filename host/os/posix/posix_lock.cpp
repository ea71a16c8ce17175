// SPDX-License-Identifier: Apache-2.0
// DirectoryLock on POSIX systems: an flock, released when the file is closed.
// The lock file is never opened through a symbolic link (O_NOFOLLOW), so a
// link planted at its name cannot make the writer create or lock another
// file.
#include <fcntl.h>

#include <cerrno>
#include <memory>

#include "host/os/posix/posix_files.h"
#include "host/os/posix/posix_io.h"
#include "host/shared/directory_lock.h"

namespace qv {

DirectoryLock::Result DirectoryLock::Take(const std::string& sPath, bool bWait, std::string& sError) {
  Release();
  nHandle_ = io::Open(sPath, O_RDWR | O_CREAT | O_NOFOLLOW, 0644);
  if (nHandle_ < 0) {
    const int nError = errno;
    sError = nError == ELOOP ? sPath + ": the repository's lock file is a symbolic link; it is not followed"
                             : sPath + ": cannot open the repository's lock file: " + io::ErrorText(nError);
    return Result::kFailed;
  }
  const IoError oError = io::LockExclusive(static_cast<int>(nHandle_), bWait);
  if (!oError.Failed()) return Result::kHeld;
  // Not locked: the file is let go, so that Held() says no.
  Release();
  if (oError.nCode == EWOULDBLOCK && !bWait) return Result::kBusy;
  sError = sPath + ": cannot lock: " + io::ErrorText(oError.nCode);
  return Result::kFailed;
}

void DirectoryLock::Release() {
  if (nHandle_ >= 0) io::Close(static_cast<int>(nHandle_));  // closing releases the lock
  nHandle_ = -1;
}

std::unique_ptr<FileLock> PosixFileSystem::NewLock() { return std::make_unique<DirectoryLock>(); }

}  // namespace qv
