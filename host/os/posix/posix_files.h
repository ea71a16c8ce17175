// SPDX-License-Identifier: Apache-2.0
// The file system of this machine behind qv::FileSystem.
//
// Paths arrive in the library's Windows form and are mapped to POSIX paths
// (MapToPosixPath); listings follow the Windows wildcard rules
// (MatchesWildcard, host/shared/windows_paths.h).  Every system call goes through
// the I/O module (host/os/posix/posix_io.h).  Open files live in a table owned by the object and are
// named by small integer handles that are never reused, so a stale handle
// fails instead of reaching another file.  One object serves one caller at a
// time: it takes no locks.  ReadWholeFile and HoldsExactly touch no member
// but the constant path mapping, so any number of threads may read with
// them at once.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/host.h"
#include "host/shared/windows_paths.h"

namespace qv {

// Maps a Windows path to a POSIX one: every "\" becomes "/", and a drive
// prefix ("C:", a letter and a colon at the start) is replaced by
// sDriveRoot, so "C:\src\A.java" with the root "/data" becomes
// "/data/src/A.java".  A path without a drive keeps its (converted) form,
// so POSIX paths pass through unchanged.
std::string MapToPosixPath(std::string_view sPath, std::string_view sDriveRoot);

class PosixFileSystem final : public FileSystem {
 public:
  // Every drive letter maps to sDriveRoot.
  //
  // The existence test (kOpenExist) searches for a bare file name (no "\",
  // "/" or drive) the way Windows' OpenFile does: first in the working
  // directory, then in sBareNameDir when one is given.  The POSIX host
  // passes its profile directory, so that testing a bare profile name such
  // as "Quorvane.ini" finds the file that the profile operations read.  No
  // other style searches: reading, writing and deleting use the working
  // directory only.
  explicit PosixFileSystem(std::string sDriveRoot = "/", std::string sBareNameDir = "");

  // The directory relative paths are resolved against, and the handler of
  // unlistable directories (given the POSIX path and errno): as FileSystem
  // says.
  void SetWorkingDirectory(std::string sDirectory) override { sWorkingDir_ = std::move(sDirectory); }
  const std::string& WorkingDirectory() const override { return sWorkingDir_; }
  void SetBareNameDirectory(std::string sDirectory) { sBareNameDir_ = std::move(sDirectory); }
  void SetListingErrorHandler(ListingErrorHandler fn) override { onListingError_ = std::move(fn); }
  // A DirectoryLock (host/shared/directory_lock.h).
  std::unique_ptr<FileLock> NewLock() override;
  ~PosixFileSystem() override;  // closes (and flushes) the files left open
  PosixFileSystem(const PosixFileSystem&) = delete;
  PosixFileSystem& operator=(const PosixFileSystem&) = delete;

  // kOpenCreate and kOpenAppend open for reading and writing; an append
  // handle starts at the end of the file.  A directory cannot be opened.
  bool Open(FileHandle& hFile, std::string_view sPath, int nStyle) override;
  // Writes what PutLine buffered; FALSE when any write to the file failed.
  bool Close(FileHandle hFile) override;
  bool GetLine(FileHandle hFile, std::string& sLine, int64_t nMax) override;
  // Buffered: a failure may only show at a later PutLine, Write or Close.
  // After a failed write every further write to the handle fails.
  bool PutLine(FileHandle hFile, std::string_view sText) override;
  int64_t Read(FileHandle hFile, std::string& sOut, int64_t nBytes) override;
  // Writes through to the file (after what PutLine buffered), so the count
  // returned is what reached the file.
  int64_t Write(FileHandle hFile, std::string_view sText) override;
  // Also accepts origin 1, the current position.
  bool Seek(FileHandle hFile, int64_t nOffset, int nOrigin) override;
  int64_t Tell(FileHandle hFile) override;

  int64_t ListSubdirectories(std::string_view sPattern, std::vector<std::string>& aNames) override;
  int64_t ListFiles(std::string_view sPattern, std::vector<std::string>& aNames) override;
  void ListDirectory(std::string_view sDirectory, std::string_view sFilePattern,
                     std::vector<std::string>& aSubdirectories, std::vector<std::string>& aFiles) override;
  bool DirExists(std::string_view sPath) override;
  int64_t UnlistableDirectories() const override { return nUnlistable_; }
  IoError MakeDirectories(std::string_view sPath) override;
  // Copies into a temporary file beside sTarget and renames it over
  // sTarget, so a failed copy leaves the old target as it was.
  IoError Copy(std::string_view sSource, std::string_view sTarget) override;
  IoError Rename(std::string_view sOld, std::string_view sNew) override;
  IoError Remove(std::string_view sPath) override;
  IoError CreateTemporary(std::string_view sTarget, FileHandle& hFile, std::string& sTemp) override;
  // O_CREAT | O_EXCL | O_NOFOLLOW.
  IoError CreateNew(std::string_view sPath, FileHandle& hFile) override;
  IoError CloseWritten(FileHandle hFile, FileStamp* pStamp = nullptr) override;
  // One syncfs(2) per file system that holds one of the paths.
  IoError SyncAll(const std::vector<std::string>& aPaths) override;
  // A hard link.
  IoError KeepAside(std::string_view sTarget, std::string& sAside) override;
  IoError MoveOver(std::string_view sSource, std::string_view sTarget) override;
  // Keeps the old file's mode and owner; not synced to disk.
  IoError ReplaceContent(std::string_view sPath, std::string_view sText) override;
  int ReadWholeFile(std::string_view sPath, std::string& sText) const override;
  // Compares the sizes first, then the bytes, read with one call where the
  // file system allows it.
  bool HoldsExactly(std::string_view sPath, std::string_view sText) const override;
  // One read of nMax bytes where the file is longer.
  int ReadFileStart(std::string_view sPath, size_t nMax, std::string& sText, bool& bWhole) const override;
  int StampOf(std::string_view sPath, FileStamp& stamp) const override;
  // fstatat(2) of each name relative to one opening of the directory.
  void StampsIn(std::string_view sDirectory, const std::vector<std::string>& aNames, std::vector<FileStamp>& aStamps,
                std::vector<int>& aErrors) const override;
  // A drive maps to the drive root; kResolved follows the links of the
  // directories that exist.
  std::string SystemPath(std::string_view sPath, PathForm eForm) const override;
  // Each directory resolved once; a file on its own only when it is a link.
  std::vector<std::string> ResolvedPaths(const std::vector<std::string>& aPaths) const override;

 private:
  struct OpenFile;
  OpenFile* Find(FileHandle hFile);
  // Adds an open descriptor to the table; its handle.
  FileHandle Add(int nFd, bool bWritable, std::string sPath);
  std::string Map(std::string_view sPath) const;
  int64_t List(std::string_view sPattern, std::vector<std::string>& aNames, bool bDirectories);
  // Lists the POSIX directory sDir into either list (null: not wanted),
  // and counts and reports a directory that exists but cannot be read.
  void ListInto(const std::string& sDir, std::string_view sDirectoryPattern, std::vector<std::string>* pDirectories,
                std::string_view sFilePattern, std::vector<std::string>* pFiles);

  std::string sDriveRoot_;
  std::string sBareNameDir_;
  std::string sWorkingDir_;
  std::unordered_map<uintptr_t, std::unique_ptr<OpenFile>> aFiles_;
  uintptr_t nNextHandle_ = 1;
  ListingErrorHandler onListingError_;
  int64_t nUnlistable_ = 0;
};

}  // namespace qv
