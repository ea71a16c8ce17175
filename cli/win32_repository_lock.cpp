// The repository lock on Windows: an exclusive LockFileEx on the lock file,
// released when the handle is closed (also when the process ends).
#include "cli/repository_lock.h"

#include "host/win32_api.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace qv::cli {
namespace {

HANDLE HandleOf(int n) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(n)); }

bool Lock(HANDLE h, DWORD nFlags) {
  OVERLAPPED at{};
  return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | nFlags, 0, 1, 0, &at) != 0;
}

}  // namespace

RepositoryLock::~RepositoryLock() {
  if (nFd_ >= 0) CloseHandle(HandleOf(nFd_));  // closing releases the lock
}

bool RepositoryLock::Acquire(const char* sCommand, const std::string& sDirectory, bool bNoWait) {
  const std::string sPath = (std::filesystem::path(sDirectory) / std::string(kLockFile)).string();
  HANDLE h = CreateFileA(sPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "quorvane %s: %s: cannot open the repository's lock file: error %lu\n", sCommand,
                 sPath.c_str(), static_cast<unsigned long>(GetLastError()));
    return false;
  }
  nFd_ = static_cast<int>(reinterpret_cast<intptr_t>(h));
  if (Lock(h, LOCKFILE_FAIL_IMMEDIATELY)) return true;
  if (GetLastError() != ERROR_LOCK_VIOLATION && GetLastError() != ERROR_IO_PENDING) {
    std::fprintf(stderr, "quorvane %s: %s: cannot lock: error %lu\n", sCommand, sPath.c_str(),
                 static_cast<unsigned long>(GetLastError()));
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
  if (!Lock(h, 0)) {
    std::fprintf(stderr, "quorvane %s: %s: cannot lock: error %lu\n", sCommand, sPath.c_str(),
                 static_cast<unsigned long>(GetLastError()));
    return false;
  }
  return true;
}

}  // namespace qv::cli
