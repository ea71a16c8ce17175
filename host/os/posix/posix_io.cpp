// SPDX-License-Identifier: Apache-2.0
#include "host/os/posix/posix_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/beside_names.h"

namespace qv::io {

namespace {

constexpr size_t kReadChunk = size_t{64} * 1024;

void Fill(const struct ::stat& st, FileInfo& oInfo) {
  oInfo.nDevice = static_cast<uint64_t>(st.st_dev);
  oInfo.nInode = static_cast<uint64_t>(st.st_ino);
  oInfo.nSize = static_cast<int64_t>(st.st_size);
  oInfo.nModifiedSec = static_cast<int64_t>(st.st_mtim.tv_sec);
  oInfo.nModifiedNsec = static_cast<int64_t>(st.st_mtim.tv_nsec);
  oInfo.nMode = static_cast<unsigned>(st.st_mode & 07777);
  oInfo.nUid = static_cast<unsigned>(st.st_uid);
  oInfo.nGid = static_cast<unsigned>(st.st_gid);
  oInfo.bRegular = S_ISREG(st.st_mode);
  oInfo.bDirectory = S_ISDIR(st.st_mode);
  oInfo.bLink = S_ISLNK(st.st_mode);
}

// A name beside sPath with sTag (core/beside_names.h), its random part
// from the system's random source (getrandom(2)); from the clock and the
// process id where it has none, which O_EXCL still keeps safe.
std::string NameBeside(const std::string& sPath, std::string_view sTag) {
  std::string sBytes(kBesideRandomLength, '\0');
  if (::getrandom(sBytes.data(), sBytes.size(), GRND_NONBLOCK) != static_cast<ssize_t>(sBytes.size())) {
    uint64_t nSeed = static_cast<uint64_t>(NowNanoseconds()) ^ (static_cast<uint64_t>(::getpid()) << 40);
    for (char& c : sBytes) {
      nSeed = nSeed * 6364136223846793005ULL + 1442695040888963407ULL;
      c = static_cast<char>(nSeed >> 56);
    }
  }
  return qv::NameBeside(sPath, sTag, sBytes, "/");
}

}  // namespace

int CreateBeside(const std::string& sTarget, unsigned nMode, std::string& sTemp) {
  for (int nTry = 0; nTry < 100; ++nTry) {
    sTemp = NameBeside(sTarget, kNewFileTag);
    const int nFd = Open(sTemp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, nMode);
    if (nFd >= 0 || errno != EEXIST) return nFd;
  }
  return -1;
}

IoError LinkBeside(const std::string& sTarget, std::string& sAside) {
  for (int nTry = 0; nTry < 100; ++nTry) {
    sAside = NameBeside(sTarget, kAsideFileTag);
    // link(2) never follows a link at the new name: a name that exists fails.
    if (::link(sTarget.c_str(), sAside.c_str()) == 0) return {};
    if (errno != EEXIST) break;
  }
  return LastError("cannot keep the present " + sTarget + " aside");
}

std::string ErrorText(int nCode) { return std::generic_category().message(nCode); }

IoError ErrorOf(int nCode, std::string_view sWhat) {
  return IoError{nCode, std::string(sWhat) + ": " + ErrorText(nCode)};
}

IoError LastError(std::string_view sWhat) { return ErrorOf(errno != 0 ? errno : kIoFailed, sWhat); }

IoError Stat(const std::string& sPath, FileInfo& oInfo, bool bFollowLinks) {
  struct ::stat st {};
  if ((bFollowLinks ? ::stat(sPath.c_str(), &st) : ::lstat(sPath.c_str(), &st)) != 0) return LastError(sPath);
  Fill(st, oInfo);
  return {};
}

void StatEach(const std::string& sDir, const std::vector<std::string>& aNames, std::vector<FileInfo>& aInfos,
              std::vector<int>& aErrors) {
  aInfos.assign(aNames.size(), {});
  aErrors.assign(aNames.size(), 0);
  const int nDirFd = Open(sDir.empty() ? std::string(".") : sDir, O_PATH | O_DIRECTORY);
  if (nDirFd < 0) {
    aErrors.assign(aNames.size(), errno);
    return;
  }
  for (size_t k = 0; k < aNames.size(); ++k) {
    struct ::stat st {};
    if (aNames[k].empty() || aNames[k].find('/') != std::string::npos) {
      aErrors[k] = ENOENT;  // a bare name only: no other directory is reached from here
    } else if (::fstatat(nDirFd, aNames[k].c_str(), &st, 0) != 0) {
      aErrors[k] = errno;
    } else {
      Fill(st, aInfos[k]);
    }
  }
  Close(nDirFd);
}

IoError StatOpen(int nFd, FileInfo& oInfo) {
  struct ::stat st {};
  if (::fstat(nFd, &st) != 0) return LastError("fstat");
  Fill(st, oInfo);
  return {};
}

int Open(const std::string& sPath, int nFlags, unsigned nMode) {
  for (;;) {
    const int nFd = ::open(sPath.c_str(), nFlags | O_CLOEXEC, static_cast<mode_t>(nMode));
    if (nFd < 0 && errno == EINTR) continue;
    return nFd;
  }
}

bool Close(int nFd) { return ::close(nFd) == 0; }

ssize_t ReadSome(int nFd, char* pData, size_t nSize) {
  for (;;) {
    const ssize_t n = ::read(nFd, pData, nSize);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

IoError ReadAll(int nFd, std::string& sOut, size_t nSizeHint) {
  // One byte more than expected, so that the end shows without growing.
  sOut.resize(nSizeHint + 1);
  size_t nSize = 0;
  for (;;) {
    if (nSize == sOut.size()) sOut.resize(nSize + kReadChunk);
    const ssize_t n = ReadSome(nFd, sOut.data() + nSize, sOut.size() - nSize);
    if (n < 0) {
      const int nError = errno;
      sOut.clear();
      return ErrorOf(nError, "read");
    }
    if (n == 0) break;
    nSize += static_cast<size_t>(n);
  }
  sOut.resize(nSize);
  return {};
}

size_t WriteAll(int nFd, std::string_view sData) {
  size_t nDone = 0;
  while (nDone < sData.size()) {
    const ssize_t n = ::write(nFd, sData.data() + nDone, sData.size() - nDone);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;
    if (n <= 0) break;
    nDone += static_cast<size_t>(n);
  }
  return nDone;
}

bool SeekTo(int nFd, int64_t nOffset) { return ::lseek(nFd, static_cast<off_t>(nOffset), SEEK_SET) >= 0; }

int64_t SeekEnd(int nFd) { return static_cast<int64_t>(::lseek(nFd, 0, SEEK_END)); }

IoError ReadFile(const std::string& sPath, std::string& sText, FileInfo* pInfo) {
  sText.clear();
  const int nFd = Open(sPath, O_RDONLY);
  if (nFd < 0) return LastError("cannot open " + sPath);
  FileInfo oInfo;
  IoError oError = StatOpen(nFd, oInfo);
  if (!oError.Failed() && oInfo.bDirectory) oError = ErrorOf(EISDIR, sPath);
  // Read to the end, whatever the size said: a file may grow meanwhile.
  if (!oError.Failed()) oError = ReadAll(nFd, sText, static_cast<size_t>(oInfo.nSize > 0 ? oInfo.nSize : 4095));
  Close(nFd);
  if (oError.Failed()) {
    sText.clear();
    oError.sMessage = "cannot read " + sPath + ": " + ErrorText(oError.nCode);
  } else if (pInfo != nullptr) {
    *pInfo = oInfo;
  }
  return oError;
}

IoError ReadStart(const std::string& sPath, size_t nMax, std::string& sText, bool& bWhole) {
  sText.clear();
  bWhole = false;
  const int nFd = Open(sPath, O_RDONLY);
  if (nFd < 0) return LastError("cannot open " + sPath);
  sText.resize(nMax);
  size_t nSize = 0;
  // A short read may well be the whole file, but only a read that returns
  // nothing says so for certain.
  while (nSize < nMax) {
    const ssize_t n = ReadSome(nFd, sText.data() + nSize, nMax - nSize);
    if (n < 0) {
      const int nError = errno;
      Close(nFd);
      sText.clear();
      return ErrorOf(nError, "cannot read " + sPath);
    }
    if (n == 0) {
      bWhole = true;
      break;
    }
    nSize += static_cast<size_t>(n);
  }
  Close(nFd);
  sText.resize(nSize);
  return {};
}

bool FileHolds(const std::string& sPath, std::string_view sText) {
  const int nFd = Open(sPath, O_RDONLY);
  if (nFd < 0) return false;
  FileInfo oInfo;
  bool bSame = !StatOpen(nFd, oInfo).Failed() && oInfo.bRegular && static_cast<uint64_t>(oInfo.nSize) == sText.size();
  if (bSame) {
    // Compared a piece at a time, so that a large file costs no copy of
    // itself.  One byte more than expected is asked for at the end, so
    // that a file that grew since the size was taken shows.  A read of a
    // regular file that returns less than it was asked for has reached
    // the end.
    constexpr size_t kPiece = size_t{64} * 1024;
    const auto pPiece = std::make_unique<char[]>(kPiece);
    size_t nHave = 0;
    for (;;) {
      const size_t nWant = std::min(kPiece, sText.size() + 1 - nHave);
      const ssize_t n = ReadSome(nFd, pPiece.get(), nWant);
      if (n < 0 || nHave + static_cast<size_t>(n) > sText.size() ||
          std::memcmp(pPiece.get(), sText.data() + nHave, static_cast<size_t>(n)) != 0) {
        bSame = false;
        break;
      }
      nHave += static_cast<size_t>(n);
      if (static_cast<size_t>(n) < nWant) break;
    }
    bSame = bSame && nHave == sText.size();
  }
  Close(nFd);
  return bSame;
}

bool Sync(int nFd) { return ::fsync(nFd) == 0; }

void SyncDirectory(const std::string& sDir) {
  const int nFd = Open(sDir, O_RDONLY | O_DIRECTORY);
  if (nFd < 0) return;
  Sync(nFd);
  Close(nFd);
}

std::string ParentDirectory(const std::string& sPath) {
  const size_t nSlash = sPath.rfind('/');
  return nSlash == std::string::npos ? std::string(".") : sPath.substr(0, nSlash + 1);
}

bool SyncFileSystemOf(const std::string& sPath) {
  const int nFd = Open(sPath, O_RDONLY);
  if (nFd < 0) return false;
  const bool bSynced = ::syncfs(nFd) == 0;
  Close(nFd);
  return bSynced;
}

IoError Rename(const std::string& sFrom, const std::string& sTo) {
  if (::rename(sFrom.c_str(), sTo.c_str()) != 0) return LastError("cannot rename " + sFrom + " to " + sTo);
  return {};
}

IoError RenameNoReplace(const std::string& sFrom, const std::string& sTo) {
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, sFrom.c_str(), AT_FDCWD, sTo.c_str(), RENAME_NOREPLACE) == 0) return {};
  if (errno != EINVAL && errno != ENOSYS) return LastError("cannot rename " + sFrom + " to " + sTo);
#endif
  // No atomic form on this file system: test, then rename.
  struct ::stat st {};
  if (::lstat(sTo.c_str(), &st) == 0) return ErrorOf(EEXIST, "cannot rename " + sFrom + " to " + sTo);
  return Rename(sFrom, sTo);
}

IoError ReplaceWith(const std::string& sFrom, const std::string& sTo) {
  // The new content must be on disk before the name points at it, or a
  // crash could leave an empty file in place of the old one.
  const int nFd = Open(sFrom, O_RDONLY);
  if (nFd < 0) return LastError("cannot open " + sFrom);
  Sync(nFd);
  Close(nFd);
  if (IoError oError = Rename(sFrom, sTo); oError.Failed()) return oError;
  SyncDirectory(ParentDirectory(sTo));
  return {};
}

IoError Unlink(const std::string& sPath) {
  if (::unlink(sPath.c_str()) != 0) return LastError("cannot remove " + sPath);
  return {};
}

IoError WriteReplacing(const std::string& sPath, std::string_view sText, const ReplaceOptions& oOptions) {
  FileInfo oOld;
  const bool bKeep = oOptions.bKeepModeAndOwner && !Stat(sPath, oOld).Failed();
  const unsigned nMode = bKeep ? oOld.nMode : 0666;
  std::string sTemp;
  const int nFd = CreateBeside(sPath, nMode, sTemp);
  if (nFd < 0) return LastError("cannot create a file beside " + sPath);
  if (bKeep) {
    // The umask narrowed the mode; the file keeps the one it had.  A
    // failure (an owner this process may not give away) leaves the
    // defaults; the owner goes first, as changing it may clear set-id bits.
    if (::fchown(nFd, static_cast<uid_t>(oOld.nUid), static_cast<gid_t>(oOld.nGid)) != 0) {
      // kept by the user who writes
    }
    if (::fchmod(nFd, static_cast<mode_t>(nMode)) != 0) {
      // left as created
    }
  }
  IoError oError;
  if (WriteAll(nFd, sText) != sText.size()) oError = LastError("cannot write " + sTemp);
  if (!oError.Failed() && oOptions.bDurable && !Sync(nFd)) oError = LastError("cannot sync " + sTemp);
  if (!Close(nFd) && !oError.Failed()) oError = LastError("cannot write " + sTemp);
  if (!oError.Failed()) oError = Rename(sTemp, sPath);
  if (oError.Failed()) {
    ::unlink(sTemp.c_str());
    return oError;
  }
  if (oOptions.bDurable) SyncDirectory(ParentDirectory(sPath));
  return {};
}

IoError CopyFile(const std::string& sFrom, const std::string& sTo) {
  const int nIn = Open(sFrom, O_RDONLY);
  if (nIn < 0) return LastError("cannot open " + sFrom);
  FileInfo oInfo;
  IoError oError = StatOpen(nIn, oInfo);
  if (!oError.Failed() && !oInfo.bRegular) oError = ErrorOf(EINVAL, sFrom + " is no regular file");
  std::string sTemp;
  const int nOut = oError.Failed() ? -1 : CreateBeside(sTo, 0600, sTemp);
  if (!oError.Failed() && nOut < 0) oError = LastError("cannot create a file beside " + sTo);
  if (!oError.Failed() && ::fchmod(nOut, static_cast<mode_t>(oInfo.nMode & 0777)) != 0)
    oError = LastError("cannot set the mode of " + sTemp);
  auto aBuffer = std::make_unique<char[]>(kReadChunk);
  while (!oError.Failed()) {
    const ssize_t n = ReadSome(nIn, aBuffer.get(), kReadChunk);
    if (n == 0) break;
    if (n < 0) {
      oError = LastError("cannot read " + sFrom);
    } else if (WriteAll(nOut, std::string_view(aBuffer.get(), static_cast<size_t>(n))) != static_cast<size_t>(n)) {
      oError = LastError("cannot write " + sTemp);
    }
  }
  Close(nIn);
  if (nOut >= 0 && !Close(nOut) && !oError.Failed()) oError = LastError("cannot write " + sTemp);
  if (!oError.Failed()) oError = Rename(sTemp, sTo);
  if (oError.Failed() && nOut >= 0) ::unlink(sTemp.c_str());
  return oError;
}

IoError MakeTempDirectory(std::string& sTemplate) {
  if (::mkdtemp(sTemplate.data()) == nullptr) return LastError("cannot create a directory " + sTemplate);
  return {};
}

IoError CreateDirectories(const std::string& sDir) {
  // Most calls find the directory there already: one look settles them.
  FileInfo oInfo;
  if (!Stat(sDir, oInfo).Failed() && oInfo.bDirectory) return {};
  std::error_code ec;
  std::filesystem::create_directories(sDir, ec);
  if (ec) return ErrorOf(ec.value(), "cannot create the directory " + sDir);
  if (Stat(sDir, oInfo).Failed() || !oInfo.bDirectory) return ErrorOf(ENOTDIR, "cannot create the directory " + sDir);
  return {};
}

IoError RemoveAll(const std::string& sPath) {
  std::error_code ec;
  std::filesystem::remove_all(sPath, ec);
  if (ec) return ErrorOf(ec.value(), "cannot remove " + sPath);
  return {};
}

IoError ListDirectory(const std::string& sDir, const NameFilter& fnWantedDirectory,
                      std::vector<std::string>* pDirectories, const NameFilter& fnWantedFile,
                      std::vector<std::string>* pFiles) {
  DIR* pDir = ::opendir(sDir.c_str());
  if (pDir == nullptr) return LastError("cannot list " + sDir);
  const int nDirFd = ::dirfd(pDir);
  const auto Is = [nDirFd](const char* sName, int nFlags, mode_t nType) {
    struct ::stat st {};
    return ::fstatat(nDirFd, sName, &st, nFlags) == 0 && (st.st_mode & S_IFMT) == nType;
  };
  while (const dirent* pEntry = ::readdir(pDir)) {
    const std::string_view sName(pEntry->d_name);
    if (sName == "." || sName == "..") continue;
    const unsigned char nType = pEntry->d_type;
    const bool bMaybeDirectory = nType == DT_DIR || nType == DT_UNKNOWN;
    const bool bMaybeFile = nType == DT_REG || nType == DT_LNK || nType == DT_UNKNOWN;
    if (pDirectories != nullptr && bMaybeDirectory && fnWantedDirectory(sName) &&
        (nType == DT_DIR || Is(pEntry->d_name, AT_SYMLINK_NOFOLLOW, S_IFDIR))) {
      pDirectories->emplace_back(sName);
    } else if (pFiles != nullptr && bMaybeFile && fnWantedFile(sName) &&
               (nType == DT_REG || Is(pEntry->d_name, 0, S_IFREG))) {
      pFiles->emplace_back(sName);
    }
  }
  ::closedir(pDir);
  return {};
}

IoError LockExclusive(int nFd, bool bWait) {
  int nResult = 0;
  do {
    nResult = ::flock(nFd, LOCK_EX | (bWait ? 0 : LOCK_NB));
  } while (nResult != 0 && errno == EINTR);
  if (nResult != 0) return LastError("cannot lock");
  return {};
}

std::string ResolveLink(const std::string& sPath) {
  struct ::stat st {};
  if (::lstat(sPath.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return sPath;
  char aTarget[PATH_MAX];
  return ::realpath(sPath.c_str(), aTarget) != nullptr ? std::string(aTarget) : sPath;
}

std::string AbsolutePath(const std::string& sPath) {
  if (sPath.empty() || sPath.front() == '/') return sPath;
  char aDir[PATH_MAX];
  if (::getcwd(aDir, sizeof aDir) == nullptr) return sPath;
  std::string sOut(aDir);
  if (sOut.back() != '/') sOut.push_back('/');
  return sOut.append(sPath);
}

std::string ResolvedPath(const std::string& sPath) {
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(AbsolutePath(sPath), ec);
  return ec ? std::filesystem::path(AbsolutePath(sPath)).lexically_normal().string() : resolved.string();
}

int64_t NowNanoseconds() {
  timespec oNow{};
  ::clock_gettime(CLOCK_REALTIME, &oNow);
  return static_cast<int64_t>(oNow.tv_sec) * 1'000'000'000 + static_cast<int64_t>(oNow.tv_nsec);
}

}  // namespace qv::io
