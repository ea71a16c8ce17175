// SPDX-License-Identifier: Apache-2.0
// DirectoryLock on Windows: an exclusive LockFileEx on the file, released
// when the handle is closed (also when the process ends).  The lock file is
// never opened through a link: a reparse point at its name is opened as
// itself (FILE_FLAG_OPEN_REPARSE_POINT) and refused, and a missing file is
// created new (CREATE_NEW), so that a link at the name, where the system
// follows it all the same (Wine follows a Unix symbolic link), never
// creates the file it points to.
#include <memory>
#include <string>

#include "host/os/win32/win32_api.h"
#include "host/os/win32/win32_files.h"
#include "host/os/win32/win32_io.h"
#include "host/shared/directory_lock.h"

namespace qv {
namespace {

HANDLE HandleOf(intptr_t n) { return reinterpret_cast<HANDLE>(n); }

// Opens the file sPath for reading and writing, creating it when missing:
// the handle, or INVALID_HANDLE_VALUE with GetLastError() set.
HANDLE OpenOrCreate(const std::string& sPath) {
  constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  constexpr DWORD kFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
  // Twice, for a file that another writer creates or removes in between.
  for (int nTry = 0; nTry < 2; ++nTry) {
    HANDLE h = CreateFileA(sPath.c_str(), GENERIC_READ | GENERIC_WRITE, kShare, nullptr, OPEN_EXISTING, kFlags,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_NOT_FOUND) return h;
    h = CreateFileA(sPath.c_str(), GENERIC_READ | GENERIC_WRITE, kShare, nullptr, CREATE_NEW, kFlags, nullptr);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return h;
  }
  return INVALID_HANDLE_VALUE;
}

bool Lock(HANDLE h, DWORD nFlags) {
  OVERLAPPED at{};
  return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | nFlags, 0, 1, 0, &at) != 0;
}

}  // namespace

DirectoryLock::Result DirectoryLock::Take(const std::string& sPath, bool bWait, std::string& sError) {
  Release();
  HANDLE h = OpenOrCreate(sPath);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD nError = GetLastError();
    // A name that exists but opens no file is a link to a missing file.
    sError = nError == ERROR_FILE_EXISTS
                 ? sPath + ": the repository's lock file is a link to a missing file; it is not followed"
                 : win32::ErrorOf(nError, sPath + ": cannot open the repository's lock file").sMessage;
    return Result::kFailed;
  }
  BY_HANDLE_FILE_INFORMATION oInfo{};
  if (GetFileInformationByHandle(h, &oInfo) == FALSE) {
    sError = win32::LastError(sPath + ": cannot open the repository's lock file").sMessage;
    CloseHandle(h);
    return Result::kFailed;
  }
  if ((oInfo.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    sError = sPath + ": the repository's lock file is a link (a reparse point); it is not followed";
    CloseHandle(h);
    return Result::kFailed;
  }
  nHandle_ = reinterpret_cast<intptr_t>(h);
  if (Lock(h, bWait ? 0 : LOCKFILE_FAIL_IMMEDIATELY)) return Result::kHeld;
  const DWORD nError = GetLastError();
  // Not locked: the file is let go, so that Held() says no.
  Release();
  if (!bWait && (nError == ERROR_LOCK_VIOLATION || nError == ERROR_IO_PENDING)) return Result::kBusy;
  sError = win32::ErrorOf(nError, sPath + ": cannot lock").sMessage;
  return Result::kFailed;
}

void DirectoryLock::Release() {
  if (nHandle_ >= 0) CloseHandle(HandleOf(nHandle_));
  nHandle_ = -1;
}

std::unique_ptr<FileLock> Win32FileSystem::NewLock() { return std::make_unique<DirectoryLock>(); }

}  // namespace qv
