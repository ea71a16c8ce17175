#include "cli/repository_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace qv::cli {

namespace {
// The system's text for an errno value, as strerror gives it, without
// strerror's shared buffer.
std::string ErrorText(int nError) { return std::generic_category().message(nError); }
}  // namespace

RepositoryLock::~RepositoryLock() {
  if (nFd_ >= 0) ::close(nFd_);  // closing releases the lock
}

bool RepositoryLock::Acquire(const char* sCommand, const std::string& sDirectory, bool bNoWait) {
  const std::string sPath = (std::filesystem::path(sDirectory) / std::string(kLockFile)).string();
  nFd_ = ::open(sPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (nFd_ < 0) {
    std::fprintf(stderr, "quorvane %s: %s: cannot open the repository's lock file: %s\n", sCommand, sPath.c_str(),
                 ErrorText(errno).c_str());
    return false;
  }
  int nResult = 0;
  while ((nResult = ::flock(nFd_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (nResult == 0) return true;
  if (errno != EWOULDBLOCK) {
    std::fprintf(stderr, "quorvane %s: %s: cannot lock: %s\n", sCommand, sPath.c_str(), ErrorText(errno).c_str());
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
  while ((nResult = ::flock(nFd_, LOCK_EX)) != 0 && errno == EINTR) {
  }
  if (nResult != 0) {
    std::fprintf(stderr, "quorvane %s: %s: cannot lock: %s\n", sCommand, sPath.c_str(), ErrorText(errno).c_str());
    return false;
  }
  return true;
}

}  // namespace qv::cli
