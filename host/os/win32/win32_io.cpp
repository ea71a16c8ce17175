// SPDX-License-Identifier: Apache-2.0
// The Windows build's I/O: the Windows host's own file steps
// (host/os/win32/win32_io.h), and below them the functions of host/os/posix/posix_io.h that
// the command's settings code uses (the Windows host's files and profiles
// go through the system's own calls in win32_files.cpp and
// win32_profiles.cpp).
#include "host/os/win32/win32_io.h"

#include <ntsecapi.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "core/beside_names.h"
#include "host/os/posix/posix_io.h"

namespace qv::win32 {

namespace {

constexpr size_t kChunk = size_t{64} * 1024;
// Attempts at a free random name before giving up.
constexpr int kTries = 100;
// Files flushed at once by FlushAll: enough for a journal or a disk to
// serve many flushes together; more gained nothing under Wine on ext4.
constexpr size_t kFlushThreads = 8;
// A name beside sPath with sTag (core/beside_names.h), its random part
// from the system's random source (RtlGenRandom); from the clock and the
// process id where it fails, which CREATE_NEW still keeps safe.
std::string NameBeside(const std::string& sPath, std::string_view sTag) {
  std::string sBytes(kBesideRandomLength, '\0');
  if (RtlGenRandom(sBytes.data(), static_cast<ULONG>(sBytes.size())) == FALSE) {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    uint64_t nSeed = static_cast<uint64_t>(now.QuadPart) ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 40);
    for (char& c : sBytes) {
      nSeed = nSeed * 6364136223846793005ULL + 1442695040888963407ULL;
      c = static_cast<char>(nSeed >> 56);
    }
  }
  return qv::NameBeside(sPath, sTag, sBytes, "\\/:");
}

// Copies the file sFrom into a new file beside sBeside, named with sTag;
// sNew gets its name.  On failure no new file stays.
IoError CopyToNew(const std::string& sFrom, const std::string& sBeside, std::string_view sTag, std::string& sNew) {
  HANDLE hIn = CreateFileA(sFrom.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (hIn == INVALID_HANDLE_VALUE) return LastError("cannot open " + sFrom);
  HANDLE hOut = CreateBeside(sBeside, sTag, sNew);
  if (hOut == INVALID_HANDLE_VALUE) {
    IoError oError = LastError("cannot create a file beside " + sBeside);
    CloseHandle(hIn);
    return oError;
  }
  IoError oError;
  std::string sChunk(kChunk, '\0');
  for (;;) {
    DWORD nRead = 0;
    if (ReadFile(hIn, sChunk.data(), static_cast<DWORD>(kChunk), &nRead, nullptr) == FALSE) {
      oError = LastError("cannot read " + sFrom);
      break;
    }
    if (nRead == 0) break;
    if (WriteAll(hOut, std::string_view(sChunk.data(), nRead)) != nRead) {
      oError = LastError("cannot write " + sNew);
      break;
    }
  }
  CloseHandle(hIn);
  if (CloseHandle(hOut) == FALSE && !oError.Failed()) oError = LastError("cannot write " + sNew);
  if (oError.Failed()) DeleteFileA(sNew.c_str());
  return oError;
}

}  // namespace

int ErrnoOf(DWORD nError) {
  switch (nError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_PARAMETER:
      return EINVAL;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
      return ENOSYS;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    default:
      return EIO;
  }
}

std::string ErrorText(DWORD nError) {
  char aText[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                           nullptr, nError, 0, aText, sizeof(aText), nullptr);
  while (n > 0 && (aText[n - 1] == ' ' || aText[n - 1] == '.' || aText[n - 1] == '\r' || aText[n - 1] == '\n')) --n;
  if (n == 0) return "Windows error " + std::to_string(nError);
  return std::string(aText, n);
}

IoError ErrorOf(DWORD nError, std::string_view sWhat) {
  return IoError{ErrnoOf(nError), std::string(sWhat) + ": " + ErrorText(nError)};
}

IoError LastError(std::string_view sWhat) { return ErrorOf(GetLastError(), sWhat); }

size_t WriteAll(HANDLE h, std::string_view sData) {
  size_t nDone = 0;
  while (nDone < sData.size()) {
    DWORD nWritten = 0;
    const auto nChunk = static_cast<DWORD>(std::min<size_t>(sData.size() - nDone, size_t{1} << 30));
    if (WriteFile(h, sData.data() + nDone, nChunk, &nWritten, nullptr) == FALSE) break;
    if (nWritten == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      break;
    }
    nDone += nWritten;
  }
  return nDone;
}

HANDLE CreateBeside(const std::string& sTarget, std::string_view sTag, std::string& sTemp) {
  for (int nTry = 0; nTry < kTries; ++nTry) {
    sTemp = NameBeside(sTarget, sTag);
    // CREATE_NEW never opens a file that exists; FILE_FLAG_OPEN_REPARSE_POINT
    // keeps a link planted at the name from being followed to create its
    // target.
    HANDLE h = CreateFileA(sTemp.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h != INVALID_HANDLE_VALUE) return h;
    const DWORD nError = GetLastError();
    if (nError != ERROR_FILE_EXISTS && nError != ERROR_ALREADY_EXISTS) return h;
  }
  return INVALID_HANDLE_VALUE;
}

IoError LinkBeside(const std::string& sTarget, std::string& sAside) {
  for (int nTry = 0; nTry < kTries; ++nTry) {
    sAside = NameBeside(sTarget, kAsideFileTag);
    // A hard link is made only at a name that does not exist.
    if (CreateHardLinkA(sAside.c_str(), sTarget.c_str(), nullptr) != FALSE) return {};
    const DWORD nError = GetLastError();
    // A file system without hard links (FAT) keeps a copy instead.
    if (nError == ERROR_NOT_SUPPORTED || nError == ERROR_INVALID_FUNCTION)
      return CopyToNew(sTarget, sTarget, kAsideFileTag, sAside);
    if (nError != ERROR_ALREADY_EXISTS && nError != ERROR_FILE_EXISTS)
      return ErrorOf(nError, "cannot keep the present " + sTarget + " aside");
  }
  return ErrorOf(ERROR_FILE_EXISTS, "cannot keep the present " + sTarget + " aside");
}

IoError CopyOver(const std::string& sFrom, const std::string& sTo) {
  std::string sNew;
  if (IoError oError = CopyToNew(sFrom, sTo, kNewFileTag, sNew); oError.Failed()) return oError;
  IoError oError = MoveOver(sNew, sTo);
  if (oError.Failed()) DeleteFileA(sNew.c_str());
  return oError;
}

IoError MoveOver(const std::string& sFrom, const std::string& sTo) {
  if (MoveFileExA(sFrom.c_str(), sTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE)
    return LastError("cannot rename " + sFrom + " to " + sTo);
  return {};
}

IoError RenameNew(const std::string& sFrom, const std::string& sTo) {
  if (MoveFileExA(sFrom.c_str(), sTo.c_str(), MOVEFILE_WRITE_THROUGH) == FALSE)
    return LastError("cannot rename " + sFrom + " to " + sTo);
  return {};
}

IoError Remove(const std::string& sPath) {
  if (DeleteFileA(sPath.c_str()) == FALSE) return LastError("cannot remove " + sPath);
  return {};
}

namespace {

// Runs fnStep(0), ..., fnStep(n - 1) on up to kFlushThreads threads (this
// one among them), each thread taking the next index, until all ran or one
// returned false.
template <class Step>
void AtOnce(size_t n, Step fnStep) {
  std::atomic<size_t> nNext{0};
  std::atomic<bool> bStop{false};
  const auto Work = [&] {
    for (size_t k = nNext++; k < n && !bStop; k = nNext++) {
      if (!fnStep(k)) bStop = true;
    }
  };
  std::vector<std::thread> aThreads;
  for (size_t k = 1; k < std::min(kFlushThreads, n); ++k) {
    try {
      aThreads.emplace_back(Work);
    } catch (const std::system_error&) {
      break;  // fewer threads: this one works too
    }
  }
  Work();
  for (std::thread& t : aThreads) t.join();
}

// Flushes one file (see FlushAll).  The file is opened first, as its
// attributes cost a lookup of the name as well: only where it cannot be
// opened for writing is it asked whether it is a directory.
IoError Flush(const std::string& sPath) {
  // FlushFileBuffers needs a handle that may write.
  HANDLE h = CreateFileA(sPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD nError = GetLastError();
    const DWORD nAttributes = GetFileAttributesA(sPath.c_str());
    if (nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
    return ErrorOf(nError, "cannot sync " + sPath);
  }
  IoError oError;
  if (FlushFileBuffers(h) == FALSE) oError = LastError("cannot sync " + sPath);
  CloseHandle(h);
  return oError;
}

}  // namespace

IoError FlushAll(const std::vector<std::string>& aPaths) {
  std::vector<IoError> aErrors(aPaths.size());
  AtOnce(aPaths.size(), [&](size_t k) {
    aErrors[k] = Flush(aPaths[k]);
    return !aErrors[k].Failed();
  });
  for (IoError& oError : aErrors) {
    if (oError.Failed()) return std::move(oError);
  }
  return {};
}

std::vector<IoError> FlushAndClose(const std::vector<HANDLE>& aHandles, const std::vector<std::string>& aPaths) {
  std::vector<IoError> aErrors(aHandles.size());
  AtOnce(aHandles.size(), [&](size_t k) {
    if (FlushFileBuffers(aHandles[k]) == FALSE) aErrors[k] = LastError("cannot sync " + aPaths[k]);
    if (CloseHandle(aHandles[k]) == FALSE && !aErrors[k].Failed()) aErrors[k] = LastError("cannot write " + aPaths[k]);
    return true;
  });
  return aErrors;
}

std::vector<bool> FlushDirectories(const std::vector<std::string>& aDirectories) {
  // Not a vector<bool>, whose elements share bytes: each worker writes its own.
  std::vector<char> aFlushed(aDirectories.size(), 0);
  AtOnce(aDirectories.size(), [&](size_t k) {
    // A directory opens only with FILE_FLAG_BACKUP_SEMANTICS; a link to one
    // is followed, since the files are where it leads.
    HANDLE h = CreateFileA(aDirectories[k].c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      aFlushed[k] = FlushFileBuffers(h) != FALSE ? 1 : 0;
      CloseHandle(h);
    }
    return true;
  });
  return {aFlushed.begin(), aFlushed.end()};
}

}  // namespace qv::win32

namespace qv::io {

namespace {

namespace fs = std::filesystem;

IoError FromCode(const std::error_code& ec, std::string_view sWhat) {
  return IoError{ec.value() != 0 ? ec.value() : kIoFailed, std::string(sWhat) + ": " + ec.message()};
}

}  // namespace

std::string ErrorText(int nCode) { return std::generic_category().message(nCode); }

IoError ErrorOf(int nCode, std::string_view sWhat) {
  return IoError{nCode, std::string(sWhat) + ": " + ErrorText(nCode)};
}

IoError LastError(std::string_view sWhat) { return ErrorOf(errno != 0 ? errno : kIoFailed, sWhat); }

IoError ReadFile(const std::string& sPath, std::string& sText, FileInfo* pInfo) {
  sText.clear();
  std::error_code ec;
  const fs::file_status oStatus = fs::status(sPath, ec);
  if (ec || !fs::exists(oStatus)) return ErrorOf(ENOENT, "cannot open " + sPath);
  if (fs::is_directory(oStatus)) return ErrorOf(EISDIR, sPath);
  std::ifstream in(sPath, std::ios::binary);
  if (!in) return ErrorOf(EACCES, "cannot open " + sPath);
  sText.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    sText.clear();
    return ErrorOf(kIoFailed, "cannot read " + sPath);
  }
  if (pInfo != nullptr) {
    *pInfo = FileInfo{};
    pInfo->nSize = static_cast<int64_t>(sText.size());
    pInfo->bRegular = fs::is_regular_file(oStatus);
  }
  return {};
}

IoError Rename(const std::string& sFrom, const std::string& sTo) { return win32::MoveOver(sFrom, sTo); }

IoError WriteReplacing(const std::string& sPath, std::string_view sText, const ReplaceOptions& oOptions) {
  // The mode and owner bKeepModeAndOwner keeps have no counterpart here:
  // the new file gets the directory's inherited permissions.
  std::string sTemp;
  HANDLE h = win32::CreateBeside(sPath, kNewFileTag, sTemp);
  if (h == INVALID_HANDLE_VALUE) return win32::LastError("cannot create a file beside " + sPath);
  IoError oError;
  if (win32::WriteAll(h, sText) != sText.size()) oError = win32::LastError("cannot write " + sTemp);
  if (!oError.Failed() && oOptions.bDurable && FlushFileBuffers(h) == FALSE)
    oError = win32::LastError("cannot sync " + sTemp);
  if (CloseHandle(h) == FALSE && !oError.Failed()) oError = win32::LastError("cannot write " + sTemp);
  if (!oError.Failed()) oError = win32::MoveOver(sTemp, sPath);
  if (oError.Failed()) DeleteFileA(sTemp.c_str());
  return oError;
}

IoError MakeTempDirectory(std::string& sTemplate) {
  if (sTemplate.size() < 6) return ErrorOf(EINVAL, "cannot create a directory " + sTemplate);
  const size_t nAt = sTemplate.size() - 6;
  for (unsigned nTry = 0; nTry < 100; ++nTry) {
    const unsigned long long nSeed = GetTickCount64() * 7919ULL + GetCurrentProcessId() * 104729ULL + nTry;
    for (size_t k = 0; k < 6; ++k) {
      sTemplate[nAt + k] = "abcdefghijklmnopqrstuvwxyz0123456789"[(nSeed >> (5 * k)) % 36];
    }
    if (CreateDirectoryA(sTemplate.c_str(), nullptr) != 0) return {};
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return ErrorOf(kIoFailed, "cannot create a directory " + sTemplate);
}

IoError CreateDirectories(const std::string& sDir) {
  std::error_code ec;
  fs::create_directories(sDir, ec);
  if (ec) return FromCode(ec, "cannot create the directory " + sDir);
  if (!fs::is_directory(sDir, ec)) return ErrorOf(ENOTDIR, "cannot create the directory " + sDir);
  return {};
}

IoError RemoveAll(const std::string& sPath) {
  std::error_code ec;
  fs::remove_all(sPath, ec);
  if (ec) return FromCode(ec, "cannot remove " + sPath);
  return {};
}

}  // namespace qv::io
