// DirectoryLock on Windows: an exclusive LockFileEx on the file, released
// when the handle is closed (also when the process ends).
#include <string>

#include "host/directory_lock.h"
#include "host/win32_api.h"

namespace qv {
namespace {

HANDLE HandleOf(intptr_t n) { return reinterpret_cast<HANDLE>(n); }

bool Lock(HANDLE h, DWORD nFlags) {
  OVERLAPPED at{};
  return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | nFlags, 0, 1, 0, &at) != 0;
}

}  // namespace

DirectoryLock::Result DirectoryLock::Take(const std::string& sPath, bool bWait, std::string& sError) {
  if (nHandle_ < 0) {
    HANDLE h = CreateFileA(sPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      sError = sPath + ": cannot open the repository's lock file: error " + std::to_string(GetLastError());
      return Result::kFailed;
    }
    nHandle_ = reinterpret_cast<intptr_t>(h);
  }
  if (Lock(HandleOf(nHandle_), bWait ? 0 : LOCKFILE_FAIL_IMMEDIATELY)) return Result::kHeld;
  const DWORD nError = GetLastError();
  if (!bWait && (nError == ERROR_LOCK_VIOLATION || nError == ERROR_IO_PENDING)) return Result::kBusy;
  sError = sPath + ": cannot lock: error " + std::to_string(nError);
  Release();
  return Result::kFailed;
}

void DirectoryLock::Release() {
  if (nHandle_ >= 0) CloseHandle(HandleOf(nHandle_));
  nHandle_ = -1;
}

}  // namespace qv
