// The lock of a repository directory: a command that writes the repository
// holds an exclusive flock on the lock file in it, so that two writers
// never interleave their files.  Readers take no lock: every file is
// replaced whole.
#pragma once

#include <string>
#include <string_view>

namespace qv::cli {

inline constexpr std::string_view kLockFile = "quorvane.lock";

class RepositoryLock {
 public:
  RepositoryLock() = default;
  ~RepositoryLock();
  RepositoryLock(const RepositoryLock&) = delete;
  RepositoryLock& operator=(const RepositoryLock&) = delete;

  // Takes the lock of the repository directory sDirectory.  When another
  // process holds it, waits and says so on stderr, or with bNoWait fails at
  // once.  FALSE after printing why.
  bool Acquire(const char* sCommand, const std::string& sDirectory, bool bNoWait);

 private:
  int nFd_ = -1;
};

}  // namespace qv::cli
