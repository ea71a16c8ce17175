// SPDX-License-Identifier: Apache-2.0
#include "host/os/win32/win32_files.h"

#include "core/beside_names.h"
#include "host/os/win32/win32_api.h"
#include "host/os/win32/win32_io.h"
#include "host/shared/windows_paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace qv {
namespace {

constexpr size_t kReadChunk = 64 * 1024;

bool IsDirectory(const std::string& sPath) {
  const DWORD n = GetFileAttributesA(sPath.c_str());
  return n != INVALID_FILE_ATTRIBUTES && (n & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& sPath) {
  const DWORD n = GetFileAttributesA(sPath.c_str());
  return n != INVALID_FILE_ATTRIBUTES && (n & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The directory part of a path, with its separator ("" for a bare name).
std::string DirectoryOf(std::string_view sPath) {
  const size_t n = sPath.find_last_of("\\/:");
  return n == std::string_view::npos ? std::string() : std::string(sPath.substr(0, n + 1));
}

// A file's stamp from its size and its last write time: the size, and the
// time in nanoseconds (FILETIME counts 100 ns); no inode or device.
FileStamp StampFrom(DWORD nSizeHigh, DWORD nSizeLow, const FILETIME& written) {
  const auto Wide = [](DWORD nHigh, DWORD nLow) { return (static_cast<uint64_t>(nHigh) << 32U) | nLow; };
  constexpr int64_t kNsPerTick = 100;
  return {static_cast<int64_t>(Wide(nSizeHigh, nSizeLow)),
          static_cast<int64_t>(Wide(written.dwHighDateTime, written.dwLowDateTime)) * kNsPerTick, 0, 0};
}

// The directory that holds sPath, as CreateFile opens it: without the
// separator at its end but for a root ("C:\" or "\"); "." for a bare name.
std::string DirectoryToOpen(const std::string& sPath) {
  const size_t n = sPath.find_last_of("\\/:");
  if (n == std::string::npos) return ".";
  if (sPath[n] == ':' || n == 0 || sPath[n - 1] == ':') return sPath.substr(0, n + 1);
  return sPath.substr(0, n);
}

}  // namespace

struct Win32FileSystem::OpenFile {
  HANDLE h = INVALID_HANDLE_VALUE;
  std::string sPath;        // as this system names it, for messages
  bool bTemporary = false;  // made by CreateTemporary
  std::string sBuffer;      // read ahead, not yet handed out
  size_t nPos = 0;          // first byte of sBuffer not yet handed out
  bool bFailed = false;     // a write failed: every later write fails too
  DWORD nError = 0;         // the system's error of the first failed write

  void Failed(DWORD nWhy) {
    if (!bFailed) nError = nWhy != 0 ? nWhy : ERROR_WRITE_FAULT;
    bFailed = true;
  }

  size_t Buffered() const { return sBuffer.size() - nPos; }
  // Fills the buffer when it is empty; false at the end or on an error.
  bool Fill() {
    if (Buffered() > 0) return true;
    sBuffer.resize(kReadChunk);
    nPos = 0;
    DWORD nRead = 0;
    if (!ReadFile(h, sBuffer.data(), static_cast<DWORD>(kReadChunk), &nRead, nullptr)) nRead = 0;
    sBuffer.resize(nRead);
    return nRead > 0;
  }
  // Puts the file pointer where the caller is and forgets the read-ahead.
  bool Unread() {
    if (Buffered() == 0) {
      sBuffer.clear();
      nPos = 0;
      return true;
    }
    LARGE_INTEGER back;
    back.QuadPart = -static_cast<LONGLONG>(Buffered());
    sBuffer.clear();
    nPos = 0;
    return SetFilePointerEx(h, back, nullptr, FILE_CURRENT) != 0;
  }
};

Win32FileSystem::Win32FileSystem(std::string sBareNameDir) : sBareNameDir_(std::move(sBareNameDir)) {}

Win32FileSystem::~Win32FileSystem() {
  for (auto& [n, pFile] : aFiles_) CloseHandle(pFile->h);
  for (const Kept& kept : aKept_) CloseHandle(kept.h);
}

Win32FileSystem::OpenFile* Win32FileSystem::Find(FileHandle hFile) {
  const auto it = aFiles_.find(hFile.nValue);
  return it == aFiles_.end() ? nullptr : it->second.get();
}

std::string Win32FileSystem::Resolve(std::string_view sPath) const {
  const bool bAbsolute = (!sPath.empty() && (sPath.front() == '\\' || sPath.front() == '/')) ||
                         (sPath.size() >= 2 && sPath[1] == ':');
  if (sWorkingDir_.empty() || sPath.empty() || bAbsolute) return std::string(sPath);
  const char cLast = sWorkingDir_.back();
  return sWorkingDir_ + (cLast == '\\' || cLast == '/' ? "" : "\\") + std::string(sPath);
}

bool Win32FileSystem::Open(FileHandle& hFile, std::string_view sPath, int nStyle) {
  const std::string s = Resolve(sPath);
  if (nStyle == kOpenExist) {
    if (IsFile(s)) return true;
    return IsBareName(sPath) && !sBareNameDir_.empty() && IsFile(sBareNameDir_ + "\\" + s);
  }
  if (nStyle != kOpenRead) Forget(s);
  if (nStyle == kOpenDelete) return DeleteFileA(s.c_str()) != 0;
  DWORD nAccess = GENERIC_READ;
  DWORD nDisposition = OPEN_EXISTING;
  if (nStyle == kOpenCreate) {
    nAccess = GENERIC_READ | GENERIC_WRITE;
    nDisposition = CREATE_ALWAYS;
  } else if (nStyle == kOpenAppend) {
    nAccess = GENERIC_READ | GENERIC_WRITE;
    nDisposition = OPEN_ALWAYS;
  } else if (nStyle != kOpenRead) {
    return false;
  }
  if (IsDirectory(s)) return false;
  HANDLE h = CreateFileA(s.c_str(), nAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         nDisposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  if (nStyle == kOpenAppend) {
    LARGE_INTEGER zero{};
    SetFilePointerEx(h, zero, nullptr, FILE_END);
  }
  hFile = Add(h, s);
  return true;
}

FileHandle Win32FileSystem::Add(void* h, std::string sPath, bool bTemporary) {
  auto pFile = std::make_unique<OpenFile>();
  pFile->h = h;
  pFile->sPath = std::move(sPath);
  pFile->bTemporary = bTemporary;
  FileHandle hFile;
  hFile.nValue = nNextHandle_++;
  aFiles_[hFile.nValue] = std::move(pFile);
  return hFile;
}

bool Win32FileSystem::Close(FileHandle hFile) { return !CloseWritten(hFile).Failed(); }

IoError Win32FileSystem::CloseWritten(FileHandle hFile, FileStamp* pStamp) {
  const auto it = aFiles_.find(hFile.nValue);
  if (it == aFiles_.end()) return IoError{EBADF, "no such open file"};
  OpenFile& oFile = *it->second;
  // The time and the size each by a query of its own: what
  // GetFileInformationByHandle asks for includes the file's name, which
  // Wine works out from the path, at the cost of a lookup of every
  // directory on it.
  FILE_BASIC_INFO basic{};
  LARGE_INTEGER size{};
  if (pStamp != nullptr && !oFile.bFailed &&
      GetFileInformationByHandleEx(oFile.h, FileBasicInfo, &basic, sizeof(basic)) != FALSE &&
      GetFileSizeEx(oFile.h, &size) != FALSE) {
    const FILETIME written{static_cast<DWORD>(basic.LastWriteTime.LowPart),
                           static_cast<DWORD>(basic.LastWriteTime.HighPart)};
    *pStamp = StampFrom(static_cast<DWORD>(size.HighPart), size.LowPart, written);
  }
  if (oFile.bTemporary && !oFile.bFailed) {
    aKept_.push_back(Kept{oFile.h, std::move(oFile.sPath)});
    aFiles_.erase(it);
    if (aKept_.size() >= kKeptFiles) FlushKept();
    return {};
  }
  if (CloseHandle(oFile.h) == FALSE) oFile.Failed(GetLastError());
  IoError oError;
  if (oFile.bFailed) oError = win32::ErrorOf(oFile.nError, "cannot write " + oFile.sPath);
  aFiles_.erase(it);
  return oError;
}

IoError Win32FileSystem::CreateTemporary(std::string_view sTarget, FileHandle& hFile, std::string& sTemp) {
  if (sTarget.empty()) return IoError{ENOENT, "no file name"};
  const std::string sFull = Resolve(sTarget);
  std::string sNew;
  HANDLE h = win32::CreateBeside(sFull, kNewFileTag, sNew);
  if (h == INVALID_HANDLE_VALUE) return win32::LastError("cannot create a file beside " + sFull);
  aTemporaries_[sNew] = Temporary{};
  hFile = Add(h, sNew, true);
  // The temporary file is named as the caller names the target's directory.
  sTemp = DirectoryOf(sTarget) + sNew.substr(DirectoryOf(sNew).size());
  return {};
}

IoError Win32FileSystem::CreateNew(std::string_view sPath, FileHandle& hFile) {
  if (sPath.empty()) return IoError{ENOENT, "no file name"};
  std::string sFull = Resolve(sPath);
  HANDLE h = CreateFileA(sFull.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return win32::LastError("cannot create " + sFull);
  aTemporaries_[sFull] = Temporary{TempState::kWritten, {}, true};
  hFile = Add(h, std::move(sFull), true);
  return {};
}

bool Win32FileSystem::GetLine(FileHandle hFile, std::string& sLine, int64_t nMax) {
  OpenFile* p = Find(hFile);
  if (p == nullptr) return false;
  sLine.clear();
  bool bAny = false;
  while (p->Fill()) {
    bAny = true;
    const char* pBegin = p->sBuffer.data() + p->nPos;
    const size_t nAvail = p->Buffered();
    const void* pEnd = std::memchr(pBegin, '\n', nAvail);
    const size_t nTake = pEnd == nullptr ? nAvail : static_cast<size_t>(static_cast<const char*>(pEnd) - pBegin);
    sLine.append(pBegin, nTake);
    p->nPos += nTake;
    if (pEnd != nullptr) {
      ++p->nPos;  // the "\n"
      break;
    }
  }
  if (!bAny) return false;
  if (!sLine.empty() && sLine.back() == '\r') sLine.pop_back();
  if (nMax > 0 && static_cast<int64_t>(sLine.size()) > nMax - 1) sLine.resize(static_cast<size_t>(nMax - 1));
  return true;
}

bool Win32FileSystem::PutLine(FileHandle hFile, std::string_view sText) {
  std::string s(sText);
  s.append(kLineEnd);
  return Write(hFile, s) == static_cast<int64_t>(s.size());
}

int64_t Win32FileSystem::Read(FileHandle hFile, std::string& sOut, int64_t nBytes) {
  sOut.clear();
  OpenFile* p = Find(hFile);
  if (p == nullptr || nBytes <= 0) return 0;
  const auto nWant = static_cast<size_t>(nBytes);
  while (sOut.size() < nWant && p->Fill()) {
    const size_t nTake = std::min(nWant - sOut.size(), p->Buffered());
    sOut.append(p->sBuffer, p->nPos, nTake);
    p->nPos += nTake;
  }
  return static_cast<int64_t>(sOut.size());
}

int64_t Win32FileSystem::Write(FileHandle hFile, std::string_view sText) {
  OpenFile* p = Find(hFile);
  if (p == nullptr || p->bFailed || !p->Unread()) return 0;
  if (p->bTemporary) {
    Temporary& temporary = aTemporaries_[p->sPath];
    temporary.eState = TempState::kWritten;
    temporary.oError = {};
  }
  const size_t nDone = win32::WriteAll(p->h, sText);
  if (nDone < sText.size()) p->Failed(GetLastError());
  return static_cast<int64_t>(nDone);
}

bool Win32FileSystem::Seek(FileHandle hFile, int64_t nOffset, int nOrigin) {
  OpenFile* p = Find(hFile);
  if (p == nullptr) return false;
  DWORD nMethod = FILE_BEGIN;
  if (nOrigin == 1) {
    nMethod = FILE_CURRENT;
  } else if (nOrigin == kSeekEnd) {
    nMethod = FILE_END;
  } else if (nOrigin != kSeekStart) {
    return false;
  }
  if (!p->Unread()) return false;
  LARGE_INTEGER to;
  to.QuadPart = nOffset;
  return SetFilePointerEx(p->h, to, nullptr, nMethod) != 0;
}

int64_t Win32FileSystem::Tell(FileHandle hFile) {
  OpenFile* p = Find(hFile);
  if (p == nullptr) return -1;
  LARGE_INTEGER zero{};
  LARGE_INTEGER at{};
  if (!SetFilePointerEx(p->h, zero, &at, FILE_CURRENT)) return -1;
  return at.QuadPart - static_cast<int64_t>(p->Buffered());
}

void Win32FileSystem::EachEntry(std::string_view sPattern,
                                const std::function<void(std::string_view sName, uint32_t nAttributes)>& fnEach) {
  const std::string s = Resolve(sPattern);
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(s.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD nError = GetLastError();
    const std::string sDir = DirectoryOf(s);
    if (nError == ERROR_ACCESS_DENIED && IsDirectory(sDir.empty() ? "." : sDir)) {
      ++nUnlistable_;
      if (onListingError_) onListingError_(sDir, EACCES);
    }
    return;
  }
  do {
    const std::string_view sName(found.cFileName);
    if (sName != "." && sName != "..") fnEach(sName, found.dwFileAttributes);
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

namespace {
// A real subdirectory: a link (reparse point) to a directory is not one.
bool IsSubdirectory(uint32_t nAttributes) {
  return (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (nAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}
}  // namespace

int64_t Win32FileSystem::List(std::string_view sPattern, std::vector<std::string>& aNames, bool bDirectories) {
  int64_t nCount = 0;
  EachEntry(sPattern, [&](std::string_view sName, uint32_t nAttributes) {
    if (bDirectories ? !IsSubdirectory(nAttributes) : (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
    aNames.emplace_back(sName);
    ++nCount;
  });
  return nCount;
}

int64_t Win32FileSystem::ListSubdirectories(std::string_view sPattern, std::vector<std::string>& aNames) {
  return List(sPattern, aNames, true);
}

int64_t Win32FileSystem::ListFiles(std::string_view sPattern, std::vector<std::string>& aNames) {
  return List(sPattern, aNames, false);
}

void Win32FileSystem::ListDirectory(std::string_view sDirectory, std::string_view sFilePattern,
                                    std::vector<std::string>& aSubdirectories, std::vector<std::string>& aFiles) {
  if (sFilePattern.empty()) return;
  std::string sPattern(sDirectory);
  if (sPattern.empty() || (sPattern.back() != '\\' && sPattern.back() != '/')) sPattern += '\\';
  sPattern += '*';
  // Every entry, once; the files' names are matched here by the same rules
  // the system's own search applies to a pattern.
  EachEntry(sPattern, [&](std::string_view sName, uint32_t nAttributes) {
    if (IsSubdirectory(nAttributes)) {
      aSubdirectories.emplace_back(sName);
    } else if ((nAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && MatchesWildcard(sName, sFilePattern)) {
      aFiles.emplace_back(sName);
    }
  });
}

bool Win32FileSystem::DirExists(std::string_view sPath) { return IsDirectory(Resolve(sPath)); }

IoError Win32FileSystem::MakeDirectories(std::string_view sPath) {
  if (sPath.empty()) return IoError{ENOENT, "no directory name"};
  const std::string sFull = Resolve(sPath);
  // Mostly the directory is there already (a save makes each directory of
  // its method files once and asks again for every file in it): one lookup
  // then, where the walk below makes one for every directory of the path,
  // each a walk of the path's components under Wine.
  if (IsDirectory(sFull)) return {};
  // Each missing directory from the top down; one that exists is no error.
  // The last failure says why when the directory is not there afterwards.
  DWORD nError = ERROR_PATH_NOT_FOUND;
  for (size_t nAt = sFull.find_first_of("\\/", 3);; nAt = sFull.find_first_of("\\/", nAt + 1)) {
    const std::string sPart = sFull.substr(0, nAt);
    if (!IsDirectory(sPart) && CreateDirectoryA(sPart.c_str(), nullptr) == 0) nError = GetLastError();
    if (nAt == std::string::npos) break;
  }
  if (IsDirectory(sFull)) return {};
  return win32::ErrorOf(nError, "cannot create the directory " + sFull);
}

IoError Win32FileSystem::Copy(std::string_view sSource, std::string_view sTarget) {
  if (sSource.empty() || sTarget.empty()) return IoError{ENOENT, "no file name"};
  const std::string sFullTarget = Resolve(sTarget);
  Forget(sFullTarget);
  return win32::CopyOver(Resolve(sSource), sFullTarget);
}

IoError Win32FileSystem::Rename(std::string_view sOld, std::string_view sNew) {
  if (sOld.empty() || sNew.empty()) return IoError{ENOENT, "no file name"};
  const std::string sFullOld = Resolve(sOld);
  const std::string sFullNew = Resolve(sNew);
  Forget(sFullOld);
  Forget(sFullNew);
  return win32::RenameNew(sFullOld, sFullNew);
}

IoError Win32FileSystem::Remove(std::string_view sPath) {
  if (sPath.empty()) return IoError{ENOENT, "no file name"};
  const std::string sFull = Resolve(sPath);
  {
    // Several threads may remove files at once: the tables of temporaries
    // are changed by one at a time.
    const std::lock_guard lock(muRemove_);
    Forget(sFull);
  }
  return win32::Remove(sFull);
}

void Win32FileSystem::FlushKept() {
  std::vector<HANDLE> aHandles;
  std::vector<std::string> aPaths;
  for (Kept& kept : aKept_) {
    aHandles.push_back(kept.h);
    aPaths.push_back(std::move(kept.sPath));
  }
  aKept_.clear();
  std::vector<IoError> aErrors = win32::FlushAndClose(aHandles, aPaths);
  for (size_t k = 0; k < aPaths.size(); ++k) {
    Temporary& temporary = aTemporaries_[aPaths[k]];
    temporary.eState = aErrors[k].Failed()  ? TempState::kFailed
                       : temporary.bInPlace ? TempState::kMoved
                                            : TempState::kDurable;
    temporary.oError = std::move(aErrors[k]);
  }
}

void Win32FileSystem::Release(const std::string& sFull) {
  const auto it = std::find_if(aKept_.begin(), aKept_.end(), [&](const Kept& kept) { return kept.sPath == sFull; });
  if (it == aKept_.end()) return;
  CloseHandle(it->h);
  aKept_.erase(it);
}

IoError Win32FileSystem::SyncAll(const std::vector<std::string>& aPaths) {
  FlushKept();
  std::vector<std::string> aWhole;                   // files to flush
  std::vector<std::string> aDirectories;             // directories whose entries to flush
  std::vector<std::vector<std::string>> aMovedInto;  // the files moved into each
  std::unordered_map<std::string, size_t> aDirectoryAt;
  for (const std::string& sPath : aPaths) {
    std::string sFull = Resolve(sPath);
    const auto it = aTemporaries_.find(sFull);
    const TempState eState = it == aTemporaries_.end() ? TempState::kWritten : it->second.eState;
    if (eState == TempState::kDurable) continue;
    if (eState == TempState::kFailed) return it->second.oError;
    if (eState != TempState::kMoved) {
      aWhole.push_back(std::move(sFull));
      continue;
    }
    aTemporaries_.erase(it);
    std::string sDirectory = DirectoryToOpen(sFull);
    const auto [at, bNew] = aDirectoryAt.try_emplace(sDirectory, aDirectories.size());
    if (bNew) {
      aDirectories.push_back(std::move(sDirectory));
      aMovedInto.emplace_back();
    }
    aMovedInto[at->second].push_back(std::move(sFull));
  }
  const std::vector<bool> aFlushed = win32::FlushDirectories(aDirectories);
  for (size_t k = 0; k < aDirectories.size(); ++k) {
    if (aFlushed[k]) continue;
    for (std::string& sFile : aMovedInto[k]) aWhole.push_back(std::move(sFile));
  }
  if (IoError oError = win32::FlushAll(aWhole); oError.Failed()) return oError;
  for (const std::string& sFull : aWhole) {
    const auto it = aTemporaries_.find(sFull);
    if (it != aTemporaries_.end() && it->second.eState == TempState::kWritten) it->second.eState = TempState::kDurable;
  }
  return {};
}

IoError Win32FileSystem::KeepAside(std::string_view sTarget, std::string& sAside) {
  if (sTarget.empty()) return IoError{ENOENT, "no file name"};
  std::string sFullAside;
  if (IoError oError = win32::LinkBeside(Resolve(sTarget), sFullAside); oError.Failed()) return oError;
  sAside = DirectoryOf(sTarget) + sFullAside.substr(DirectoryOf(sFullAside).size());
  return {};
}

IoError Win32FileSystem::MoveOver(std::string_view sSource, std::string_view sTarget) {
  if (sSource.empty() || sTarget.empty()) return IoError{ENOENT, "no file name"};
  const std::string sFullSource = Resolve(sSource);
  const std::string sFullTarget = Resolve(sTarget);
  Release(sFullSource);
  Release(sFullTarget);
  if (IoError oError = win32::MoveOver(sFullSource, sFullTarget); oError.Failed()) return oError;
  // A temporary whose content is on disk takes it to the target, unless a
  // handle of it is still open here (a write through it would not be).
  const auto it = aTemporaries_.find(sFullSource);
  const bool bDurable = it != aTemporaries_.end() && it->second.eState == TempState::kDurable &&
                        std::none_of(aFiles_.begin(), aFiles_.end(),
                                     [&](const auto& entry) { return entry.second->sPath == sFullSource; });
  if (it != aTemporaries_.end()) aTemporaries_.erase(it);
  if (bDurable) {
    aTemporaries_[sFullTarget] = Temporary{TempState::kMoved, {}};
  } else {
    Forget(sFullTarget);
  }
  return {};
}

int Win32FileSystem::StampOf(std::string_view sPath, FileStamp& stamp) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (sPath.empty()) return ENOENT;
  if (!GetFileAttributesExA(Resolve(sPath).c_str(), GetFileExInfoStandard, &data)) {
    return win32::ErrnoOf(GetLastError());
  }
  stamp = StampFrom(data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
  return 0;
}

int Win32FileSystem::ReadWholeFile(std::string_view sPath, std::string& sText) const {
  sText.clear();
  HANDLE h = CreateFileA(Resolve(sPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return win32::ErrnoOf(GetLastError());
  int nError = 0;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0) sText.reserve(static_cast<size_t>(size.QuadPart));
  char aChunk[kReadChunk];
  for (;;) {
    DWORD nRead = 0;
    if (!ReadFile(h, aChunk, sizeof(aChunk), &nRead, nullptr)) {
      nError = win32::ErrnoOf(GetLastError());
      break;
    }
    if (nRead == 0) break;
    sText.append(aChunk, nRead);
  }
  CloseHandle(h);
  if (nError != 0) sText.clear();
  return nError;
}

std::string Win32FileSystem::SystemPath(std::string_view sPath, PathForm eForm) const {
  if (eForm == PathForm::kMapped || sPath.empty()) return std::string(sPath);
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(Resolve(sPath), ec).lexically_normal();
  if (eForm == PathForm::kAbsolute) return absolute.string();
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, ec);
  return ec ? absolute.string() : resolved.string();
}

}  // namespace qv
