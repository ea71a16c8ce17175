// SPDX-License-Identifier: Apache-2.0
// The file system of a Windows machine behind qv::FileSystem, through the
// Win32 API (the ANSI functions).  The library's Windows paths are used as
// they are; listings are the system's own FindFirstFile matches, so the
// wildcard rules are Windows' own (short names included).  Open files are
// named by small integer handles that are never reused, so a stale handle
// fails instead of reaching another file.  One object serves one caller at
// a time; ReadWholeFile and HoldsExactly keep no state and may run on
// several threads at once.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/host.h"

namespace qv {

class Win32FileSystem final : public FileSystem {
 public:
  // The existence test (kOpenExist) looks for a bare file name first in the
  // current directory, then in sBareNameDir when one is given (the profile
  // directory), as the POSIX host does.
  explicit Win32FileSystem(std::string sBareNameDir = "");
  ~Win32FileSystem() override;
  // Told about a directory that exists but cannot be listed (no
  // permission, say), with its path and an errno value, as FileSystem says.
  void SetListingErrorHandler(ListingErrorHandler fn) override { onListingError_ = std::move(fn); }
  // A DirectoryLock (host/shared/directory_lock.h).
  std::unique_ptr<FileLock> NewLock() override;
  // The directory relative paths are resolved against ("" for the process's
  // current directory); the library's files are found there, and the
  // process's own current directory is left alone.
  void SetWorkingDirectory(std::string sDirectory) override { sWorkingDir_ = std::move(sDirectory); }
  const std::string& WorkingDirectory() const override { return sWorkingDir_; }
  void SetBareNameDirectory(std::string sDirectory) { sBareNameDir_ = std::move(sDirectory); }
  Win32FileSystem(const Win32FileSystem&) = delete;
  Win32FileSystem& operator=(const Win32FileSystem&) = delete;

  bool Open(FileHandle& hFile, std::string_view sPath, int nStyle) override;
  bool Close(FileHandle hFile) override;
  bool GetLine(FileHandle hFile, std::string& sLine, int64_t nMax) override;
  bool PutLine(FileHandle hFile, std::string_view sText) override;
  int64_t Read(FileHandle hFile, std::string& sOut, int64_t nBytes) override;
  int64_t Write(FileHandle hFile, std::string_view sText) override;
  bool Seek(FileHandle hFile, int64_t nOffset, int nOrigin) override;
  int64_t Tell(FileHandle hFile) override;

  int64_t ListSubdirectories(std::string_view sPattern, std::vector<std::string>& aNames) override;
  int64_t ListFiles(std::string_view sPattern, std::vector<std::string>& aNames) override;
  void ListDirectory(std::string_view sDirectory, std::string_view sFilePattern,
                     std::vector<std::string>& aSubdirectories, std::vector<std::string>& aFiles) override;
  bool DirExists(std::string_view sPath) override;
  int64_t UnlistableDirectories() const override { return nUnlistable_; }
  IoError MakeDirectories(std::string_view sPath) override;
  // Copies into a new file beside sTarget and moves it over sTarget.
  IoError Copy(std::string_view sSource, std::string_view sTarget) override;
  IoError Rename(std::string_view sOld, std::string_view sNew) override;
  IoError Remove(std::string_view sPath) override;
  // CREATE_NEW under a random name, never through a reparse point
  // (host/os/win32/win32_io.h).
  IoError CreateTemporary(std::string_view sTarget, FileHandle& hFile, std::string& sTemp) override;
  // CREATE_NEW, never through a reparse point; kept and flushed as a
  // temporary is, after which SyncAll flushes its directory for its name.
  IoError CreateNew(std::string_view sPath, FileHandle& hFile) override;
  // A temporary of CreateTemporary written without a failure is not
  // closed here: its handle is kept, and each time kKeptFiles temporaries
  // are kept they are flushed together, on several threads, and closed
  // (win32::FlushAndClose).  So no temporary is opened a second time for
  // its flush (each open a round trip to wineserver under Wine), the
  // flushes of a batch are made while it is written, and no thread outlives
  // the call.  A failure of such a flush, or of the close, comes back from
  // SyncAll, which every commit of a temporary calls first.
  IoError CloseWritten(FileHandle hFile, FileStamp* pStamp = nullptr) override;
  // Flushes the temporaries still kept (see CloseWritten), then
  // FlushFileBuffers on each other file, several files at once
  // (win32::FlushAll); directories are skipped.  A temporary flushed since
  // its last write is not flushed again, and one whose flush failed fails
  // the call each time.  A temporary that was flushed and then moved over
  // its target (MoveOver) needs only its name made durable: its directory
  // is flushed instead of the file (win32::FlushDirectories), once for all
  // the files moved into it, or the file itself where the directory cannot
  // be.
  IoError SyncAll(const std::vector<std::string>& aPaths) override;
  // A hard link, or a copy on a file system without them.
  IoError KeepAside(std::string_view sTarget, std::string& sAside) override;
  // MoveFileEx, replacing the target, with MOVEFILE_WRITE_THROUGH: on
  // Windows it returns when the move is on disk.  Wine ignores the flag;
  // there the flush of the directory in SyncAll (fsync of the directory)
  // makes the move durable.
  IoError MoveOver(std::string_view sSource, std::string_view sTarget) override;
  int ReadWholeFile(std::string_view sPath, std::string& sText) const override;
  // Size and last write time from the directory entry; no inode or device.
  int StampOf(std::string_view sPath, FileStamp& stamp) const override;
  // The path as the library names it; kResolved follows the links and
  // junctions of the directories that exist.
  std::string SystemPath(std::string_view sPath, PathForm eForm) const override;

 private:
  struct OpenFile;
  OpenFile* Find(FileHandle hFile);
  int64_t List(std::string_view sPattern, std::vector<std::string>& aNames, bool bDirectories);
  // Calls fnEach with every entry the search of sPattern finds but "." and
  // "..", with its attributes; counts and reports a directory that exists
  // but cannot be read.
  void EachEntry(std::string_view sPattern,
                 const std::function<void(std::string_view sName, uint32_t nAttributes)>& fnEach);
  // sPath, or sPath below the working directory when it is relative.
  std::string Resolve(std::string_view sPath) const;
  // Adds an open file (a system HANDLE) to the table; its handle here.
  FileHandle Add(void* h, std::string sPath, bool bTemporary = false);
  // Flushes and closes the temporaries kept open (see CloseWritten).
  void FlushKept();
  // Closes the kept handle of sFull (resolved), if there is one, unflushed.
  void Release(const std::string& sFull);
  // A call other than SyncAll and MoveOver changes or removes the file
  // sFull (resolved): it is no longer known to be on disk.
  void Forget(const std::string& sFull) {
    Release(sFull);
    aTemporaries_.erase(sFull);
  }

  std::string sBareNameDir_;
  std::string sWorkingDir_;
  std::unordered_map<uintptr_t, std::unique_ptr<OpenFile>> aFiles_;
  // Temporaries closed by their writer and kept open for their flush.
  static constexpr size_t kKeptFiles = 256;
  struct Kept {
    void* h;
    std::string sPath;  // resolved
  };
  std::vector<Kept> aKept_;
  // The temporaries of CreateTemporary, by resolved path, from their
  // creation until they are moved into place and synced, or removed: being
  // written, their content on disk (flushed, and nothing written since),
  // their flush failed (oError says why), or moved over a target (the entry
  // is the target's: content on disk, name not yet).  The files of
  // CreateNew are here too (bInPlace): once flushed, their names are not
  // yet on disk, as a moved temporary's.
  enum class TempState { kWritten, kDurable, kFailed, kMoved };
  struct Temporary {
    TempState eState = TempState::kWritten;
    IoError oError;
    bool bInPlace = false;
  };
  std::unordered_map<std::string, Temporary> aTemporaries_;
  std::mutex muRemove_;  // Remove may run on several threads at once
  uintptr_t nNextHandle_ = 1;
  ListingErrorHandler onListingError_;
  int64_t nUnlistable_ = 0;
};

}  // namespace qv
