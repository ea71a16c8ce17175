#include "host/posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

namespace qv {

namespace {

// From this many moves on, ReplaceAll renames on two threads.
constexpr size_t kParallelRenames = 64;

constexpr size_t kBufferSize = size_t{64} * 1024;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// "*" and "?" matching, case-insensitive, with the usual backtrack to the
// last star: linear in the name for patterns with one star.
bool MatchPlain(std::string_view sName, std::string_view sPattern) {
  size_t i = 0;
  size_t j = 0;
  size_t nStarPattern = std::string_view::npos;
  size_t nStarName = 0;
  while (i < sName.size()) {
    if (j < sPattern.size() && sPattern[j] == '*') {
      nStarPattern = j++;
      nStarName = i;
    } else if (j < sPattern.size() && (sPattern[j] == '?' || FoldCase(sPattern[j]) == FoldCase(sName[i]))) {
      ++i;
      ++j;
    } else if (nStarPattern != std::string_view::npos) {
      j = nStarPattern + 1;
      i = ++nStarName;
    } else {
      return false;
    }
  }
  while (j < sPattern.size() && sPattern[j] == '*') ++j;
  return j == sPattern.size();
}

// A file name without a directory or a drive.
bool IsBareName(std::string_view sPath) {
  const bool bDrive = sPath.size() >= 2 && sPath[1] == ':' &&
                      ((sPath[0] >= 'A' && sPath[0] <= 'Z') || (sPath[0] >= 'a' && sPath[0] <= 'z'));
  return !bDrive && sPath.find_first_of("\\/") == std::string_view::npos;
}

std::string JoinBareName(const std::string& sDir, std::string_view sName) {
  std::string sPath = sDir;
  if (!sPath.empty() && sPath.back() != '/') sPath.push_back('/');
  sPath.append(sName);
  return sPath;
}

// write(2) until everything is written or an error stops it; returns the
// count written.
size_t WriteAll(int nFd, const char* pData, size_t nSize) {
  size_t nDone = 0;
  while (nDone < nSize) {
    ssize_t n = ::write(nFd, pData + nDone, nSize - nDone);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    nDone += static_cast<size_t>(n);
  }
  return nDone;
}

ssize_t ReadSome(int nFd, char* pData, size_t nSize) {
  for (;;) {
    ssize_t n = ::read(nFd, pData, nSize);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

int OpenRetry(const char* pPath, int nFlags, mode_t nMode = 0) {
  for (;;) {
    int nFd = ::open(pPath, nFlags | O_CLOEXEC, nMode);
    if (nFd < 0 && errno == EINTR) continue;
    return nFd;
  }
}

// The directory holding sPath, with its trailing "/".
std::string ParentDirectory(const std::string& sPath) {
  const size_t nSlash = sPath.rfind('/');
  return nSlash == std::string::npos ? std::string(".") : sPath.substr(0, nSlash + 1);
}

// Syncs a directory, so that a rename into it is durable.
void SyncDirectory(const std::string& sDir) {
  int nFd = OpenRetry(sDir.c_str(), O_RDONLY | O_DIRECTORY);
  if (nFd < 0) return;
  ::fsync(nFd);
  ::close(nFd);
}

void SyncParentDirectory(const std::string& sPath) { SyncDirectory(ParentDirectory(sPath)); }

}  // namespace

std::string MapToPosixPath(std::string_view sPath, std::string_view sDriveRoot) {
  std::string sOut;
  std::string_view sRest = sPath;
  const bool bDrive = sPath.size() >= 2 && sPath[1] == ':' &&
                      ((sPath[0] >= 'A' && sPath[0] <= 'Z') || (sPath[0] >= 'a' && sPath[0] <= 'z'));
  if (bDrive) {
    sRest.remove_prefix(2);
    while (!sRest.empty() && IsSeparator(sRest.front())) sRest.remove_prefix(1);
    sOut.reserve(sDriveRoot.size() + 1 + sRest.size());
    sOut.append(sDriveRoot);
    if (!sRest.empty() && !sOut.empty() && sOut.back() != '/') sOut.push_back('/');
  } else {
    sOut.reserve(sPath.size());
  }
  for (char c : sRest) sOut.push_back(c == '\\' ? '/' : c);
  return sOut;
}

bool MatchesWildcard(std::string_view sName, std::string_view sPattern) {
  if (MatchPlain(sName, sPattern)) return true;
  if (sPattern.size() >= 2 && sPattern.substr(sPattern.size() - 2) == ".*" &&
      MatchPlain(sName, sPattern.substr(0, sPattern.size() - 2)))
    return true;
  const size_t nDot = sPattern.rfind('.');
  if (nDot == std::string_view::npos || sPattern.size() - nDot - 1 != 3) return false;
  if (sPattern.substr(nDot + 1).find_first_of("*?") != std::string_view::npos) return false;
  const size_t nNameDot = sName.rfind('.');
  if (nNameDot == std::string_view::npos || sName.size() - nNameDot - 1 <= 3) return false;
  return MatchPlain(sName.substr(0, nNameDot + 4), sPattern);
}

// One open file.  At any time at most one of the two buffers holds data:
// bytes read ahead (aRead[nBegin, nEnd)) or lines waiting to be written
// (sPending).  nFdPos is the descriptor's offset.
struct PosixFileSystem::OpenFile {
  int nFd = -1;
  bool bWritable = false;
  bool bFailed = false;  // a write to the file failed; further writes fail
  int64_t nFdPos = 0;
  std::unique_ptr<char[]> aRead;
  size_t nBegin = 0;
  size_t nEnd = 0;
  std::string sPending;

  int64_t Position() const {
    return nFdPos - static_cast<int64_t>(nEnd - nBegin) + static_cast<int64_t>(sPending.size());
  }

  // Writes the pending lines; FALSE when they did not all reach the file.
  bool Flush() {
    if (sPending.empty()) return true;
    size_t nDone = WriteAll(nFd, sPending.data(), sPending.size());
    nFdPos += static_cast<int64_t>(nDone);
    const bool bOk = nDone == sPending.size();
    if (!bOk) bFailed = true;
    sPending.clear();
    return bOk;
  }

  // Gives the read-ahead back to the file so that writes land at the
  // logical position.
  bool DropReadAhead() {
    if (nBegin == nEnd) return true;
    int64_t nPos = Position();
    nBegin = nEnd = 0;
    if (::lseek(nFd, static_cast<off_t>(nPos), SEEK_SET) < 0) return false;
    nFdPos = nPos;
    return true;
  }

  // Refills the read-ahead; returns the count read (0 at the end, -1 on error).
  ssize_t Fill() {
    if (!aRead) aRead = std::make_unique<char[]>(kBufferSize);
    nBegin = nEnd = 0;
    ssize_t n = ReadSome(nFd, aRead.get(), kBufferSize);
    if (n > 0) {
      nEnd = static_cast<size_t>(n);
      nFdPos += n;
    }
    return n;
  }
};

PosixFileSystem::PosixFileSystem(std::string sDriveRoot, std::string sBareNameDir)
    : sDriveRoot_(std::move(sDriveRoot)), sBareNameDir_(std::move(sBareNameDir)) {}

std::string PosixFileSystem::Map(std::string_view sPath) const {
  std::string s = MapToPosixPath(sPath, sDriveRoot_);
  if (sWorkingDir_.empty() || s.empty() || s.front() == '/') return s;
  return sWorkingDir_ + (sWorkingDir_.back() == '/' ? "" : "/") + s;
}

PosixFileSystem::~PosixFileSystem() {
  for (auto& [nHandle, pFile] : aFiles_) {
    pFile->Flush();
    ::close(pFile->nFd);
  }
}

PosixFileSystem::OpenFile* PosixFileSystem::Find(FileHandle hFile) {
  auto it = aFiles_.find(hFile.nValue);
  return it == aFiles_.end() ? nullptr : it->second.get();
}

bool PosixFileSystem::Open(FileHandle& hFile, std::string_view sPath, int nStyle) {
  if (sPath.empty()) return false;
  const std::string sPosix = Map(sPath);
  struct stat st {};
  int nFd = -1;
  bool bWritable = false;
  switch (nStyle) {
    case kOpenExist:
      if (::stat(sPosix.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return true;
      if (sBareNameDir_.empty() || !IsBareName(sPath)) return false;
      return ::stat(JoinBareName(sBareNameDir_, sPath).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    case kOpenDelete:
      return ::unlink(sPosix.c_str()) == 0;
    case kOpenRead:
      nFd = OpenRetry(sPosix.c_str(), O_RDONLY);
      if (nFd >= 0 && (::fstat(nFd, &st) != 0 || S_ISDIR(st.st_mode))) {
        ::close(nFd);
        return false;
      }
      break;
    case kOpenCreate:
    case kOpenAppend: {
      const int nFlags = O_CREAT | (nStyle == kOpenCreate ? O_TRUNC : 0);
      nFd = OpenRetry(sPosix.c_str(), O_RDWR | nFlags, 0666);
      // A file we may write but not read still opens, write-only.
      if (nFd < 0 && errno == EACCES) nFd = OpenRetry(sPosix.c_str(), O_WRONLY | nFlags, 0666);
      bWritable = true;
      break;
    }
    default:
      return false;
  }
  if (nFd < 0) return false;
  auto pFile = std::make_unique<OpenFile>();
  pFile->nFd = nFd;
  pFile->bWritable = bWritable;
  if (nStyle == kOpenAppend) {
    off_t nEnd = ::lseek(nFd, 0, SEEK_END);
    if (nEnd < 0) {
      ::close(nFd);
      return false;
    }
    pFile->nFdPos = nEnd;
  }
  const uintptr_t nHandle = nNextHandle_++;
  aFiles_.emplace(nHandle, std::move(pFile));
  hFile.nValue = nHandle;
  return true;
}

bool PosixFileSystem::Close(FileHandle hFile) {
  auto it = aFiles_.find(hFile.nValue);
  if (it == aFiles_.end()) return false;
  OpenFile& oFile = *it->second;
  bool bOk = oFile.Flush() && !oFile.bFailed;
  if (::close(oFile.nFd) != 0) bOk = false;
  aFiles_.erase(it);
  return bOk;
}

bool PosixFileSystem::GetLine(FileHandle hFile, std::string& sLine, int64_t nMax) {
  sLine.clear();
  OpenFile* pFile = Find(hFile);
  if (pFile == nullptr || !pFile->Flush()) return false;
  // Keep one byte more than the cut length, so that a "\r" just before the
  // cut can still be told from content.
  const size_t nLimit = nMax > 0 ? static_cast<size_t>(nMax - 1) : std::string::npos;
  const size_t nKeep = nMax > 0 ? static_cast<size_t>(nMax) : std::string::npos;
  bool bAny = false;
  bool bTerminated = false;
  bool bLastCR = false;
  size_t nTotal = 0;
  for (;;) {
    if (pFile->nBegin == pFile->nEnd && pFile->Fill() <= 0) break;
    const char* pData = pFile->aRead.get() + pFile->nBegin;
    const size_t nAvail = pFile->nEnd - pFile->nBegin;
    const char* pNewline = static_cast<const char*>(std::memchr(pData, '\n', nAvail));
    const size_t nChunk = pNewline != nullptr ? static_cast<size_t>(pNewline - pData) : nAvail;
    bAny = true;
    if (nChunk > 0) {
      if (sLine.size() < nKeep) sLine.append(pData, std::min(nChunk, nKeep - sLine.size()));
      bLastCR = pData[nChunk - 1] == '\r';
      nTotal += nChunk;
    }
    if (pNewline != nullptr) {
      pFile->nBegin += nChunk + 1;
      bTerminated = true;
      break;
    }
    pFile->nBegin = pFile->nEnd;
  }
  if (!bAny) return false;
  const size_t nContent = nTotal - (bTerminated && bLastCR ? 1 : 0);
  sLine.resize(std::min({sLine.size(), nContent, nLimit}));
  return true;
}

bool PosixFileSystem::PutLine(FileHandle hFile, std::string_view sText) {
  OpenFile* pFile = Find(hFile);
  if (pFile == nullptr || !pFile->bWritable || pFile->bFailed || !pFile->DropReadAhead()) return false;
  pFile->sPending.append(sText);
  pFile->sPending.append(kLineEnd);
  if (pFile->sPending.size() >= kBufferSize) return pFile->Flush();
  return true;
}

int64_t PosixFileSystem::Read(FileHandle hFile, std::string& sOut, int64_t nBytes) {
  sOut.clear();
  OpenFile* pFile = Find(hFile);
  if (pFile == nullptr || nBytes <= 0 || !pFile->Flush()) return 0;
  size_t nWant = static_cast<size_t>(nBytes);
  // Never reserve more than the file holds: a caller may ask for "all".
  struct stat st {};
  if (::fstat(pFile->nFd, &st) == 0 && S_ISREG(st.st_mode)) {
    const int64_t nLeft = std::max<int64_t>(0, static_cast<int64_t>(st.st_size) - pFile->Position());
    if (static_cast<uint64_t>(nLeft) < nWant) nWant = static_cast<size_t>(nLeft);
  }
  while (sOut.size() < nWant) {
    const size_t nNeed = nWant - sOut.size();
    if (pFile->nBegin < pFile->nEnd) {
      const size_t nTake = std::min(nNeed, pFile->nEnd - pFile->nBegin);
      sOut.append(pFile->aRead.get() + pFile->nBegin, nTake);
      pFile->nBegin += nTake;
    } else if (nNeed >= kBufferSize) {
      // Large reads go straight into the result.
      const size_t nHave = sOut.size();
      sOut.resize(nWant);
      size_t nGot = nHave;
      while (nGot < nWant) {
        ssize_t n = ReadSome(pFile->nFd, sOut.data() + nGot, nWant - nGot);
        if (n <= 0) break;
        nGot += static_cast<size_t>(n);
        pFile->nFdPos += n;
      }
      sOut.resize(nGot);
      break;
    } else if (pFile->Fill() <= 0) {
      break;
    }
  }
  return static_cast<int64_t>(sOut.size());
}

int64_t PosixFileSystem::Write(FileHandle hFile, std::string_view sText) {
  OpenFile* pFile = Find(hFile);
  if (pFile == nullptr || !pFile->bWritable || pFile->bFailed || !pFile->DropReadAhead() || !pFile->Flush()) return 0;
  const size_t nDone = WriteAll(pFile->nFd, sText.data(), sText.size());
  pFile->nFdPos += static_cast<int64_t>(nDone);
  if (nDone < sText.size()) pFile->bFailed = true;
  return static_cast<int64_t>(nDone);
}

bool PosixFileSystem::Seek(FileHandle hFile, int64_t nOffset, int nOrigin) {
  OpenFile* pFile = Find(hFile);
  if (pFile == nullptr) return false;
  const bool bFlushed = pFile->Flush();
  int64_t nBase = 0;
  if (nOrigin == 1) {
    nBase = pFile->Position();
  } else if (nOrigin == kSeekEnd) {
    struct stat st {};
    if (::fstat(pFile->nFd, &st) != 0) return false;
    nBase = static_cast<int64_t>(st.st_size);
  } else if (nOrigin != kSeekStart) {
    return false;
  }
  const int64_t nTarget = nBase + nOffset;
  if (nTarget < 0 || ::lseek(pFile->nFd, static_cast<off_t>(nTarget), SEEK_SET) < 0) return false;
  pFile->nBegin = pFile->nEnd = 0;
  pFile->nFdPos = nTarget;
  return bFlushed;
}

int64_t PosixFileSystem::Tell(FileHandle hFile) {
  OpenFile* pFile = Find(hFile);
  return pFile == nullptr ? -1 : pFile->Position();
}

int64_t PosixFileSystem::List(std::string_view sPattern, std::vector<std::string>& aNames, bool bDirectories) {
  const std::string sPosix = Map(sPattern);
  const size_t nSlash = sPosix.rfind('/');
  const std::string sDir = nSlash == std::string::npos ? std::string(".") : sPosix.substr(0, nSlash + 1);
  const std::string_view sWild = nSlash == std::string::npos ? std::string_view(sPosix)
                                                             : std::string_view(sPosix).substr(nSlash + 1);
  if (sWild.empty()) return 0;
  DIR* pDir = ::opendir(sDir.c_str());
  if (pDir == nullptr) {
    const int nErrno = errno;
    if (onListingError_ && nErrno != ENOENT && nErrno != ENOTDIR) onListingError_(sDir, nErrno);
    return 0;
  }
  const int nDirFd = ::dirfd(pDir);
  int64_t nCount = 0;
  while (const dirent* pEntry = ::readdir(pDir)) {
    const std::string_view sName(pEntry->d_name);
    if (sName == "." || sName == ".." || !MatchesWildcard(sName, sWild)) continue;
    bool bTake = false;
    struct stat st {};
    if (bDirectories) {
      // Only real directories: a link to one is not followed, so a walk
      // over the listings cannot loop.
      bTake = pEntry->d_type == DT_DIR ||
              (pEntry->d_type == DT_UNKNOWN && ::fstatat(nDirFd, pEntry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISDIR(st.st_mode));
    } else {
      bTake = pEntry->d_type == DT_REG || ((pEntry->d_type == DT_LNK || pEntry->d_type == DT_UNKNOWN) &&
                                           ::fstatat(nDirFd, pEntry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode));
    }
    if (!bTake) continue;
    aNames.emplace_back(sName);
    ++nCount;
  }
  ::closedir(pDir);
  return nCount;
}

int64_t PosixFileSystem::ListSubdirectories(std::string_view sPattern, std::vector<std::string>& aNames) {
  return List(sPattern, aNames, true);
}

int64_t PosixFileSystem::ListFiles(std::string_view sPattern, std::vector<std::string>& aNames) {
  return List(sPattern, aNames, false);
}

bool PosixFileSystem::DirExists(std::string_view sPath) {
  if (sPath.empty()) return false;
  struct stat st {};
  return ::stat(Map(sPath).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::Copy(std::string_view sSource, std::string_view sTarget) {
  if (sSource.empty() || sTarget.empty()) return false;
  const std::string sFrom = Map(sSource);
  const std::string sTo = Map(sTarget);
  const int nIn = OpenRetry(sFrom.c_str(), O_RDONLY);
  if (nIn < 0) return false;
  struct stat st {};
  if (::fstat(nIn, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(nIn);
    return false;
  }
  std::string sTemp = sTo + ".qvcopy.XXXXXX";
  const int nOut = ::mkstemp(sTemp.data());
  if (nOut < 0) {
    ::close(nIn);
    return false;
  }
  bool bOk = ::fchmod(nOut, st.st_mode & 0777) == 0;
  auto aBuffer = std::make_unique<char[]>(kBufferSize);
  while (bOk) {
    const ssize_t n = ReadSome(nIn, aBuffer.get(), kBufferSize);
    if (n == 0) break;
    bOk = n > 0 && WriteAll(nOut, aBuffer.get(), static_cast<size_t>(n)) == static_cast<size_t>(n);
  }
  ::close(nIn);
  if (::close(nOut) != 0) bOk = false;
  if (bOk) bOk = ::rename(sTemp.c_str(), sTo.c_str()) == 0;
  if (!bOk) ::unlink(sTemp.c_str());
  return bOk;
}

bool PosixFileSystem::Rename(std::string_view sOld, std::string_view sNew) {
  if (sOld.empty() || sNew.empty()) return false;
  const std::string sFrom = Map(sOld);
  const std::string sTo = Map(sNew);
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, sFrom.c_str(), AT_FDCWD, sTo.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
#endif
  // No atomic form on this file system: test, then rename.
  struct stat st {};
  if (::lstat(sTo.c_str(), &st) == 0) return false;
  return ::rename(sFrom.c_str(), sTo.c_str()) == 0;
}

bool PosixFileSystem::Replace(std::string_view sSource, std::string_view sTarget) {
  if (sSource.empty() || sTarget.empty()) return false;
  const std::string sFrom = Map(sSource);
  const std::string sTo = Map(sTarget);
  // The new content must be on disk before the name points at it, or a
  // crash could leave an empty file in place of the old one.
  const int nFd = OpenRetry(sFrom.c_str(), O_RDONLY);
  if (nFd < 0) return false;
  ::fsync(nFd);
  ::close(nFd);
  if (::rename(sFrom.c_str(), sTo.c_str()) != 0) return false;
  SyncParentDirectory(sTo);
  return true;
}

void PosixFileSystem::ReplaceAll(const std::vector<std::pair<std::string, std::string>>& aMoves,
                                 std::vector<bool>& aDone) {
  aDone.assign(aMoves.size(), false);
  // One syncfs per file system holding a source: afterwards every source's
  // content is on disk, so no rename below can put an incomplete file in
  // place of an old one.
  std::vector<dev_t> aSynced;
  std::vector<std::string> aFrom(aMoves.size());
  for (size_t k = 0; k < aMoves.size(); ++k) {
    if (aMoves[k].first.empty() || aMoves[k].second.empty()) return;
    aFrom[k] = Map(aMoves[k].first);
    struct stat st {};
    if (::stat(aFrom[k].c_str(), &st) != 0) return;
    if (std::find(aSynced.begin(), aSynced.end(), st.st_dev) != aSynced.end()) continue;
    const int nFd = OpenRetry(aFrom[k].c_str(), O_RDONLY);
    if (nFd < 0) return;
    const bool bSynced = ::syncfs(nFd) == 0;
    ::close(nFd);
    if (!bSynced) return;
    aSynced.push_back(st.st_dev);
  }
  // The renames are independent of each other; on file systems where a
  // rename over an old file costs the freeing of its blocks, two threads
  // put the files in place sooner than one.
  std::vector<std::string> aTo(aMoves.size());
  for (size_t k = 0; k < aMoves.size(); ++k) aTo[k] = Map(aMoves[k].second);
  std::vector<char> aMoved(aMoves.size(), 0);
  const auto Move = [&](size_t nFirst, size_t nStep) {
    for (size_t k = nFirst; k < aMoves.size(); k += nStep)
      aMoved[k] = ::rename(aFrom[k].c_str(), aTo[k].c_str()) == 0 ? 1 : 0;
  };
  if (aMoves.size() < kParallelRenames) {
    Move(0, 1);
  } else {
    std::thread other(Move, 1, 2);
    Move(0, 2);
    other.join();
  }
  std::vector<std::string> aDirectories;
  for (size_t k = 0; k < aMoves.size(); ++k) {
    if (aMoved[k] == 0) continue;
    aDone[k] = true;
    std::string sDir = ParentDirectory(aTo[k]);
    if (aDirectories.empty() || aDirectories.back() != sDir) aDirectories.push_back(std::move(sDir));
  }
  std::sort(aDirectories.begin(), aDirectories.end());
  aDirectories.erase(std::unique(aDirectories.begin(), aDirectories.end()), aDirectories.end());
  for (const std::string& sDir : aDirectories) SyncDirectory(sDir);
}

bool PosixFileSystem::HoldsExactly(std::string_view sPath, std::string_view sText) const {
  if (sPath.empty()) return false;
  const std::string sFile = Map(sPath);
  const int nFd = OpenRetry(sFile.c_str(), O_RDONLY);
  if (nFd < 0) return false;
  struct stat st {};
  bool bSame = ::fstat(nFd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) == sText.size();
  if (bSame) {
    // One byte more than expected, so that a file that grew since the size
    // was taken shows.  A read of a regular file that returns less than it
    // was asked for has reached the end.
    static thread_local std::string sPresent;
    sPresent.resize(sText.size() + 1);
    size_t nHave = 0;
    while (nHave < sPresent.size()) {
      const size_t nWant = sPresent.size() - nHave;
      const ssize_t n = ReadSome(nFd, sPresent.data() + nHave, nWant);
      if (n < 0) {
        bSame = false;
        break;
      }
      nHave += static_cast<size_t>(n);
      if (static_cast<size_t>(n) < nWant) break;
    }
    bSame = bSame && nHave == sText.size() && std::string_view(sPresent.data(), nHave) == sText;
  }
  ::close(nFd);
  return bSame;
}

int PosixFileSystem::ReadWholeFile(std::string_view sPath, std::string& sText) const {
  sText.clear();
  if (sPath.empty()) return ENOENT;
  const std::string sFile = Map(sPath);
  const int nFd = OpenRetry(sFile.c_str(), O_RDONLY);
  if (nFd < 0) return errno;
  struct stat st {};
  if (::fstat(nFd, &st) != 0 || S_ISDIR(st.st_mode)) {
    const int nError = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(nFd);
    return nError;
  }
  // Read to the end, whatever the size said: a file may grow meanwhile.
  size_t nHave = 0;
  sText.resize(st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1 : 4096);
  for (;;) {
    if (nHave == sText.size()) sText.resize(sText.size() * 2);
    const ssize_t n = ReadSome(nFd, sText.data() + nHave, sText.size() - nHave);
    if (n < 0) {
      const int nError = errno;
      ::close(nFd);
      sText.clear();
      return nError;
    }
    if (n == 0) break;
    nHave += static_cast<size_t>(n);
  }
  ::close(nFd);
  sText.resize(nHave);
  return 0;
}

}  // namespace qv
