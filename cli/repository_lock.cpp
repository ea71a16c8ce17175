#include "cli/repository_lock.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include "host/posix_io.h"

namespace qv::cli {

RepositoryLock::~RepositoryLock() {
  if (nFd_ >= 0) io::Close(nFd_);  // closing releases the lock
}

bool RepositoryLock::Acquire(const char* sCommand, const std::string& sDirectory, bool bNoWait) {
  const std::string sPath = (std::filesystem::path(sDirectory) / std::string(kLockFile)).string();
  nFd_ = io::Open(sPath, O_RDWR | O_CREAT, 0644);
  if (nFd_ < 0) {
    std::fprintf(stderr, "quorvane %s: %s: cannot open the repository's lock file: %s\n", sCommand, sPath.c_str(),
                 io::ErrorText(errno).c_str());
    return false;
  }
  IoError oError = io::LockExclusive(nFd_, false);
  if (!oError.Failed()) return true;
  if (oError.nCode != EWOULDBLOCK) {
    std::fprintf(stderr, "quorvane %s: %s: cannot lock: %s\n", sCommand, sPath.c_str(),
                 io::ErrorText(oError.nCode).c_str());
    return false;
  }
  if (bNoWait) {
    std::fprintf(stderr, "quorvane %s: another command is writing this repository (%s is locked); not waiting\n",
                 sCommand, sPath.c_str());
    return false;
  }
  std::fprintf(stderr, "quorvane %s: waiting for another command that is writing this repository (%s)...\n", sCommand,
               sPath.c_str());
  std::fflush(stderr);
  oError = io::LockExclusive(nFd_, true);
  if (oError.Failed()) {
    std::fprintf(stderr, "quorvane %s: %s: cannot lock: %s\n", sCommand, sPath.c_str(),
                 io::ErrorText(oError.nCode).c_str());
    return false;
  }
  return true;
}

}  // namespace qv::cli
