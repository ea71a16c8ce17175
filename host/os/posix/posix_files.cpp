// SPDX-License-Identifier: Apache-2.0
#include "host/os/posix/posix_files.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unordered_map>

#include "host/os/posix/posix_io.h"

namespace qv {

namespace {

constexpr size_t kBufferSize = size_t{64} * 1024;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string JoinBareName(const std::string& sDir, std::string_view sName) {
  std::string sPath = sDir;
  if (!sPath.empty() && sPath.back() != '/') sPath.push_back('/');
  sPath.append(sName);
  return sPath;
}

// The file sPosix (this system's path of a file made beside sTarget) named
// as the library names sTarget: sTarget's directory and sPosix's own name.
std::string BesideInLibraryForm(std::string_view sTarget, const std::string& sPosix) {
  const size_t nCut = sTarget.find_last_of("\\/");
  std::string s(sTarget.substr(0, nCut == std::string_view::npos ? 0 : nCut + 1));
  return s.append(sPosix.substr(sPosix.rfind('/') + 1));
}

bool IsRegularFile(const std::string& sPath) {
  io::FileInfo oInfo;
  return !io::Stat(sPath, oInfo).Failed() && oInfo.bRegular;
}

}  // namespace

std::string MapToPosixPath(std::string_view sPath, std::string_view sDriveRoot) {
  std::string sOut;
  std::string_view sRest = sPath;
  if (HasDrive(sPath)) {
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

// One open file.  At any time at most one of the two buffers holds data:
// bytes read ahead (aRead[nBegin, nEnd)) or lines waiting to be written
// (sPending).  nFdPos is the descriptor's offset.
struct PosixFileSystem::OpenFile {
  int nFd = -1;
  bool bWritable = false;
  bool bFailed = false;  // a write to the file failed; further writes fail
  int nError = 0;        // errno of the first failed write
  std::string sPath;     // as this system names it, for messages
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
    const size_t nDone = io::WriteAll(nFd, sPending);
    nFdPos += static_cast<int64_t>(nDone);
    const bool bOk = nDone == sPending.size();
    if (!bOk) Failed();
    sPending.clear();
    return bOk;
  }

  void Failed() {
    if (!bFailed) nError = errno != 0 ? errno : kIoFailed;
    bFailed = true;
  }

  // Gives the read-ahead back to the file so that writes land at the
  // logical position.
  bool DropReadAhead() {
    if (nBegin == nEnd) return true;
    int64_t nPos = Position();
    nBegin = nEnd = 0;
    if (!io::SeekTo(nFd, nPos)) return false;
    nFdPos = nPos;
    return true;
  }

  // Refills the read-ahead; returns the count read (0 at the end, -1 on error).
  ssize_t Fill() {
    if (!aRead) aRead = std::make_unique<char[]>(kBufferSize);
    nBegin = nEnd = 0;
    const ssize_t n = io::ReadSome(nFd, aRead.get(), kBufferSize);
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
    io::Close(pFile->nFd);
  }
}

PosixFileSystem::OpenFile* PosixFileSystem::Find(FileHandle hFile) {
  auto it = aFiles_.find(hFile.nValue);
  return it == aFiles_.end() ? nullptr : it->second.get();
}

bool PosixFileSystem::Open(FileHandle& hFile, std::string_view sPath, int nStyle) {
  if (sPath.empty()) return false;
  const std::string sPosix = Map(sPath);
  int nFd = -1;
  bool bWritable = false;
  switch (nStyle) {
    case kOpenExist:
      if (IsRegularFile(sPosix)) return true;
      if (sBareNameDir_.empty() || !IsBareName(sPath)) return false;
      return IsRegularFile(JoinBareName(sBareNameDir_, sPath));
    case kOpenDelete:
      return !io::Unlink(sPosix).Failed();
    case kOpenRead: {
      nFd = io::Open(sPosix, O_RDONLY);
      io::FileInfo oInfo;
      if (nFd >= 0 && (io::StatOpen(nFd, oInfo).Failed() || oInfo.bDirectory)) {
        io::Close(nFd);
        return false;
      }
      break;
    }
    case kOpenCreate:
    case kOpenAppend: {
      const int nFlags = O_CREAT | (nStyle == kOpenCreate ? O_TRUNC : 0);
      nFd = io::Open(sPosix, O_RDWR | nFlags, 0666);
      // A file we may write but not read still opens, write-only.
      if (nFd < 0 && errno == EACCES) nFd = io::Open(sPosix, O_WRONLY | nFlags, 0666);
      bWritable = true;
      break;
    }
    default:
      return false;
  }
  if (nFd < 0) return false;
  int64_t nEnd = 0;
  if (nStyle == kOpenAppend && (nEnd = io::SeekEnd(nFd)) < 0) {
    io::Close(nFd);
    return false;
  }
  hFile = Add(nFd, bWritable, sPosix);
  Find(hFile)->nFdPos = nEnd;
  return true;
}

FileHandle PosixFileSystem::Add(int nFd, bool bWritable, std::string sPath) {
  auto pFile = std::make_unique<OpenFile>();
  pFile->nFd = nFd;
  pFile->bWritable = bWritable;
  pFile->sPath = std::move(sPath);
  const uintptr_t nHandle = nNextHandle_++;
  aFiles_.emplace(nHandle, std::move(pFile));
  FileHandle hFile;
  hFile.nValue = nHandle;
  return hFile;
}

bool PosixFileSystem::Close(FileHandle hFile) { return !CloseWritten(hFile).Failed(); }

namespace {
FileStamp StampFrom(const io::FileInfo& oInfo) {
  constexpr int64_t kNsPerSecond = 1'000'000'000;
  return {oInfo.nSize, oInfo.nModifiedSec * kNsPerSecond + oInfo.nModifiedNsec, oInfo.nInode, oInfo.nDevice};
}
}  // namespace

IoError PosixFileSystem::CloseWritten(FileHandle hFile, FileStamp* pStamp) {
  auto it = aFiles_.find(hFile.nValue);
  if (it == aFiles_.end()) return IoError{EBADF, "no such open file"};
  OpenFile& oFile = *it->second;
  oFile.Flush();
  if (io::FileInfo oInfo; pStamp != nullptr && !oFile.bFailed && !io::StatOpen(oFile.nFd, oInfo).Failed()) {
    *pStamp = StampFrom(oInfo);
  }
  if (!io::Close(oFile.nFd)) oFile.Failed();
  IoError oError;
  if (oFile.bFailed) oError = io::ErrorOf(oFile.nError, "cannot write " + oFile.sPath);
  aFiles_.erase(it);
  return oError;
}

IoError PosixFileSystem::CreateTemporary(std::string_view sTarget, FileHandle& hFile, std::string& sTemp) {
  if (sTarget.empty()) return IoError{ENOENT, "no file name"};
  const std::string sPosix = Map(sTarget);
  std::string sNew;
  const int nFd = io::CreateBeside(sPosix, 0666, sNew);
  if (nFd < 0) return io::LastError("cannot create a file beside " + sPosix);
  hFile = Add(nFd, true, sNew);
  sTemp = BesideInLibraryForm(sTarget, sNew);
  return {};
}

IoError PosixFileSystem::CreateNew(std::string_view sPath, FileHandle& hFile) {
  if (sPath.empty()) return IoError{ENOENT, "no file name"};
  std::string sPosix = Map(sPath);
  const int nFd = io::Open(sPosix, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
  if (nFd < 0) return io::LastError("cannot create " + sPosix);
  hFile = Add(nFd, true, std::move(sPosix));
  return {};
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
  io::FileInfo oInfo;
  if (!io::StatOpen(pFile->nFd, oInfo).Failed() && oInfo.bRegular) {
    const int64_t nLeft = std::max<int64_t>(0, oInfo.nSize - pFile->Position());
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
        const ssize_t n = io::ReadSome(pFile->nFd, sOut.data() + nGot, nWant - nGot);
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
  const size_t nDone = io::WriteAll(pFile->nFd, sText);
  pFile->nFdPos += static_cast<int64_t>(nDone);
  if (nDone < sText.size()) pFile->Failed();
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
    io::FileInfo oInfo;
    if (io::StatOpen(pFile->nFd, oInfo).Failed()) return false;
    nBase = oInfo.nSize;
  } else if (nOrigin != kSeekStart) {
    return false;
  }
  const int64_t nTarget = nBase + nOffset;
  if (nTarget < 0 || !io::SeekTo(pFile->nFd, nTarget)) return false;
  pFile->nBegin = pFile->nEnd = 0;
  pFile->nFdPos = nTarget;
  return bFlushed;
}

int64_t PosixFileSystem::Tell(FileHandle hFile) {
  OpenFile* pFile = Find(hFile);
  return pFile == nullptr ? -1 : pFile->Position();
}

void PosixFileSystem::ListInto(const std::string& sDir, std::string_view sDirectoryPattern,
                               std::vector<std::string>* pDirectories, std::string_view sFilePattern,
                               std::vector<std::string>* pFiles) {
  const IoError oError = io::ListDirectory(
      sDir, [sDirectoryPattern](std::string_view sName) { return MatchesWildcard(sName, sDirectoryPattern); },
      pDirectories, [sFilePattern](std::string_view sName) { return MatchesWildcard(sName, sFilePattern); }, pFiles);
  if (oError.Failed() && oError.nCode != ENOENT && oError.nCode != ENOTDIR) {
    ++nUnlistable_;
    if (onListingError_) onListingError_(sDir, oError.nCode);
  }
}

int64_t PosixFileSystem::List(std::string_view sPattern, std::vector<std::string>& aNames, bool bDirectories) {
  const std::string sPosix = Map(sPattern);
  const size_t nSlash = sPosix.rfind('/');
  const std::string sDir = nSlash == std::string::npos ? std::string(".") : sPosix.substr(0, nSlash + 1);
  const std::string_view sWild = nSlash == std::string::npos ? std::string_view(sPosix)
                                                             : std::string_view(sPosix).substr(nSlash + 1);
  if (sWild.empty()) return 0;
  const size_t nBefore = aNames.size();
  ListInto(sDir, sWild, bDirectories ? &aNames : nullptr, sWild, bDirectories ? nullptr : &aNames);
  return static_cast<int64_t>(aNames.size() - nBefore);
}

int64_t PosixFileSystem::ListSubdirectories(std::string_view sPattern, std::vector<std::string>& aNames) {
  return List(sPattern, aNames, true);
}

int64_t PosixFileSystem::ListFiles(std::string_view sPattern, std::vector<std::string>& aNames) {
  return List(sPattern, aNames, false);
}

void PosixFileSystem::ListDirectory(std::string_view sDirectory, std::string_view sFilePattern,
                                    std::vector<std::string>& aSubdirectories, std::vector<std::string>& aFiles) {
  if (sFilePattern.empty()) return;
  std::string sDir = Map(sDirectory);
  if (sDir.empty() || sDir.back() != '/') sDir += '/';  // "" is the root of the drive, as "\*.*" is
  ListInto(sDir, "*.*", &aSubdirectories, sFilePattern, &aFiles);
}

bool PosixFileSystem::DirExists(std::string_view sPath) {
  if (sPath.empty()) return false;
  io::FileInfo oInfo;
  return !io::Stat(Map(sPath), oInfo).Failed() && oInfo.bDirectory;
}

IoError PosixFileSystem::MakeDirectories(std::string_view sPath) {
  if (sPath.empty()) return IoError{ENOENT, "no directory name"};
  return io::CreateDirectories(Map(sPath));
}

IoError PosixFileSystem::Copy(std::string_view sSource, std::string_view sTarget) {
  if (sSource.empty() || sTarget.empty()) return IoError{ENOENT, "no file name"};
  return io::CopyFile(Map(sSource), Map(sTarget));
}

IoError PosixFileSystem::Rename(std::string_view sOld, std::string_view sNew) {
  if (sOld.empty() || sNew.empty()) return IoError{ENOENT, "no file name"};
  return io::RenameNoReplace(Map(sOld), Map(sNew));
}

IoError PosixFileSystem::Remove(std::string_view sPath) {
  if (sPath.empty()) return IoError{ENOENT, "no file name"};
  return io::Unlink(Map(sPath));
}

IoError PosixFileSystem::MoveOver(std::string_view sSource, std::string_view sTarget) {
  if (sSource.empty() || sTarget.empty()) return IoError{ENOENT, "no file name"};
  return io::Rename(Map(sSource), Map(sTarget));
}

IoError PosixFileSystem::KeepAside(std::string_view sTarget, std::string& sAside) {
  if (sTarget.empty()) return IoError{ENOENT, "no file name"};
  std::string sPosixAside;
  if (IoError oError = io::LinkBeside(Map(sTarget), sPosixAside); oError.Failed()) return oError;
  sAside = BesideInLibraryForm(sTarget, sPosixAside);
  return {};
}

IoError PosixFileSystem::SyncAll(const std::vector<std::string>& aPaths) {
  // One syncfs per file system: afterwards every file written there is on
  // disk, and every rename made there is too.
  std::vector<uint64_t> aSynced;
  for (const std::string& sPath : aPaths) {
    const std::string sPosix = Map(sPath);
    io::FileInfo oInfo;
    if (IoError oError = io::Stat(sPosix, oInfo); oError.Failed()) return oError;
    if (std::find(aSynced.begin(), aSynced.end(), oInfo.nDevice) != aSynced.end()) continue;
    if (!io::SyncFileSystemOf(sPosix)) return io::LastError("cannot sync " + sPosix);
    aSynced.push_back(oInfo.nDevice);
  }
  return {};
}

IoError PosixFileSystem::ReplaceContent(std::string_view sPath, std::string_view sText) {
  if (sPath.empty()) return IoError{ENOENT, "no file name"};
  return io::WriteReplacing(Map(sPath), sText);
}

bool PosixFileSystem::HoldsExactly(std::string_view sPath, std::string_view sText) const {
  if (sPath.empty()) return false;
  return io::FileHolds(Map(sPath), sText);
}

int PosixFileSystem::ReadWholeFile(std::string_view sPath, std::string& sText) const {
  sText.clear();
  if (sPath.empty()) return ENOENT;
  return io::ReadFile(Map(sPath), sText).nCode;
}

int PosixFileSystem::ReadFileStart(std::string_view sPath, size_t nMax, std::string& sText, bool& bWhole) const {
  sText.clear();
  bWhole = false;
  if (sPath.empty()) return ENOENT;
  return io::ReadStart(Map(sPath), nMax, sText, bWhole).nCode;
}

int PosixFileSystem::StampOf(std::string_view sPath, FileStamp& stamp) const {
  if (sPath.empty()) return ENOENT;
  io::FileInfo oInfo;
  if (const IoError oError = io::Stat(Map(sPath), oInfo); oError.Failed()) return oError.nCode;
  stamp = StampFrom(oInfo);
  return 0;
}

void PosixFileSystem::StampsIn(std::string_view sDirectory, const std::vector<std::string>& aNames,
                               std::vector<FileStamp>& aStamps, std::vector<int>& aErrors) const {
  std::vector<io::FileInfo> aInfos;
  // "" is the working directory, as StampOf of a bare name has it.
  io::StatEach(sDirectory.empty() ? Map(".") : Map(sDirectory), aNames, aInfos, aErrors);
  aStamps.resize(aNames.size());
  for (size_t k = 0; k < aNames.size(); ++k) {
    aStamps[k] = aErrors[k] == 0 ? StampFrom(aInfos[k]) : FileStamp{};
    // A name with a separator names a file further down, as StampOf maps
    // it: looked up whole.
    if (aNames[k].find_first_of("\\/") != std::string::npos) {
      aErrors[k] = StampOf(sDirectory.empty() ? aNames[k] : std::string(sDirectory) + "\\" + aNames[k], aStamps[k]);
    }
  }
}

std::string PosixFileSystem::SystemPath(std::string_view sPath, PathForm eForm) const {
  switch (eForm) {
    case PathForm::kMapped:
      return MapToPosixPath(sPath, sDriveRoot_);
    case PathForm::kAbsolute:
      return std::filesystem::path(io::AbsolutePath(Map(sPath))).lexically_normal().string();
    case PathForm::kResolved:
      break;
  }
  return io::ResolvedPath(Map(sPath));
}

std::vector<std::string> PosixFileSystem::ResolvedPaths(const std::vector<std::string>& aPaths) const {
  // The resolved path of a file is its directory's, resolved, and its own
  // name, unless the name is a link: then the file is resolved whole.
  std::unordered_map<std::string, std::string> aDirectories;
  std::vector<std::string> aResolved;
  aResolved.reserve(aPaths.size());
  for (const std::string& sPath : aPaths) {
    const std::string sPosix = Map(sPath);
    const size_t nSlash = sPosix.rfind('/');
    const std::string_view sName = std::string_view(sPosix).substr(nSlash == std::string::npos ? 0 : nSlash + 1);
    if (nSlash == std::string::npos || sName.empty() || sName == "." || sName == "..") {
      aResolved.push_back(io::ResolvedPath(sPosix));
      continue;
    }
    std::string sDirectory = sPosix.substr(0, nSlash == 0 ? 1 : nSlash);
    auto it = aDirectories.find(sDirectory);
    if (it == aDirectories.end()) {
      std::string sResolved = io::ResolvedPath(sDirectory);
      it = aDirectories.emplace(std::move(sDirectory), std::move(sResolved)).first;
    }
    std::string sFile = it->second;
    if (sFile.empty() || sFile.back() != '/') sFile.push_back('/');
    sFile.append(sName);
    io::FileInfo oInfo;
    aResolved.push_back(!io::Stat(sFile, oInfo, false).Failed() && oInfo.bLink ? io::ResolvedPath(sFile)
                                                                               : std::move(sFile));
  }
  return aResolved;
}

}  // namespace qv
