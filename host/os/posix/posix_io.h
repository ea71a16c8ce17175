// SPDX-License-Identifier: Apache-2.0
// The POSIX host's one owner of the system calls that touch files: open
// (always O_CLOEXEC), read, write-all, fsync, rename, unlink, temporary
// files and directories, directory listings, file locks, and the retry of a
// call that a signal interrupted (EINTR).  Above it, the sequence that puts
// a new version of a file in place without ever leaving a partial one
// (WriteReplacing: a temporary file in the same directory, all of it
// written, optionally synced, renamed over the old one).
//
// Everything else in host/ (files, profiles, logs) and the command's lock
// and settings code goes through these functions; no other file of the
// POSIX build calls the system for a file.  Paths are this system's paths.
// Failures come back as an IoError: errno's number and a message that
// names the file.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"

namespace qv::io {

// The system's text for an error number, as strerror gives it.
std::string ErrorText(int nCode);
// An IoError for nCode: "<sWhat>: <the system's text>".
IoError ErrorOf(int nCode, std::string_view sWhat);
// ErrorOf for the errno of the call that just failed.
IoError LastError(std::string_view sWhat);

// What stat(2) tells of a file.
struct FileInfo {
  uint64_t nDevice = 0;
  uint64_t nInode = 0;
  int64_t nSize = 0;
  int64_t nModifiedSec = 0;
  int64_t nModifiedNsec = 0;
  unsigned nMode = 0;  // the permission and set-id bits
  unsigned nUid = 0;
  unsigned nGid = 0;
  bool bRegular = false;
  bool bDirectory = false;
  bool bLink = false;  // only with bFollowLinks false
};
// stat(2), or lstat(2) without bFollowLinks.
IoError Stat(const std::string& sPath, FileInfo& oInfo, bool bFollowLinks = true);
// stat(2) of each of the files aNames of the directory sDir (bare names,
// links followed), relative to one opening of the directory: aInfos[k],
// and the error number aErrors[k] (0: stat'ed) of aNames[k].
void StatEach(const std::string& sDir, const std::vector<std::string>& aNames, std::vector<FileInfo>& aInfos,
              std::vector<int>& aErrors);
IoError StatOpen(int nFd, FileInfo& oInfo);

// open(2) with O_CLOEXEC, retried while a signal interrupts it: the
// descriptor, or -1 with errno set.
int Open(const std::string& sPath, int nFlags, unsigned nMode = 0);
// close(2); FALSE when it reported an error (the descriptor is gone either
// way: close is not retried).
bool Close(int nFd);
// read(2) retried on EINTR: the count read, 0 at the end, -1 with errno.
ssize_t ReadSome(int nFd, char* pData, size_t nSize);
// Reads the rest of nFd into sOut (replacing it); nSizeHint is the size
// the file is expected to have, read with one call where the system allows.
IoError ReadAll(int nFd, std::string& sOut, size_t nSizeHint);
// write(2) until all of sData is written or an error stops it (EINTR is
// retried): the count written; errno tells why when it is short.
size_t WriteAll(int nFd, std::string_view sData);
// lseek(2) to nOffset from the start; FALSE on failure.
bool SeekTo(int nFd, int64_t nOffset);
// The size from the end: lseek(2) to the end, -1 on failure.
int64_t SeekEnd(int nFd);

// Reads the whole file sPath into sText (replacing it; empty on failure).
// A directory fails with EISDIR.  pInfo, when given, receives what fstat
// said of the file read.
IoError ReadFile(const std::string& sPath, std::string& sText, FileInfo* pInfo = nullptr);
// Reads the start of the file sPath, at most nMax bytes, into sText
// (replacing it; empty on failure): one read(2) when the file is longer.
// bWhole: sText is the whole file, known when a read found its end.
IoError ReadStart(const std::string& sPath, size_t nMax, std::string& sText, bool& bWhole);
// Whether sPath is a regular file that holds exactly sText: the sizes are
// compared first, then the bytes.  Safe on any number of threads at once.
bool FileHolds(const std::string& sPath, std::string_view sText);

// Creates a new file for writing in the directory of sTarget that stands
// in for it until it is renamed over it: a hidden name holding the
// target's name and random letters that no one can guess beforehand,
// created with O_CREAT|O_EXCL|O_NOFOLLOW, so that nothing planted at that
// name (a link, a file) is ever opened or overwritten.  The descriptor, or
// -1 with errno set; sTemp gets the name.
int CreateBeside(const std::string& sTarget, unsigned nMode, std::string& sTemp);
// Gives the file sTarget a second name beside it (a hard link under a name
// made as CreateBeside makes its names), so that sTarget can be replaced
// and later put back; sAside gets the name.
IoError LinkBeside(const std::string& sTarget, std::string& sAside);

// fsync(2) of a file already open.
bool Sync(int nFd);
// Syncs the directory sDir, so that a rename into it is durable.
void SyncDirectory(const std::string& sDir);
// The directory holding sPath, with its trailing "/" ("." for a bare name).
std::string ParentDirectory(const std::string& sPath);
// Makes every file written on the file system holding sPath durable
// (syncfs(2)); FALSE on failure.
bool SyncFileSystemOf(const std::string& sPath);

// rename(2): sFrom takes sTo's place, replacing a file there.
IoError Rename(const std::string& sFrom, const std::string& sTo);
// Renames sFrom to sTo only when sTo does not exist (atomically where the
// file system can tell, else tested first); EEXIST when it does.
IoError RenameNoReplace(const std::string& sFrom, const std::string& sTo);
// Makes sFrom's content durable, renames it over sTo and syncs sTo's
// directory: the step that puts a completely written file in place.
IoError ReplaceWith(const std::string& sFrom, const std::string& sTo);
// unlink(2).
IoError Unlink(const std::string& sPath);

// How WriteReplacing treats the file it replaces.
struct ReplaceOptions {
  // The new file gets the old one's mode and, where this process may give
  // it, its owner; a new file is created with 0666 less the umask.
  bool bKeepModeAndOwner = true;
  // The new content is synced to disk before the rename and the directory
  // after it.  Without, the write goes through the system's cache, and
  // only the rename keeps a failure from harming the old file.
  bool bDurable = false;
};
// Puts sText in place of the file sPath (creating it) in one step: the text
// goes to a new temporary file in the same directory, which is renamed over
// sPath only when all of it was written and closed.  On failure sPath is
// as it was and the temporary file is gone.
IoError WriteReplacing(const std::string& sPath, std::string_view sText, const ReplaceOptions& oOptions = {});
// Copies sFrom (a regular file) to sTo, replacing a file there, the same
// way: a failed copy leaves sTo as it was.  The copy gets sFrom's mode.
IoError CopyFile(const std::string& sFrom, const std::string& sTo);

// Creates a new directory from sTemplate, whose name ends in "XXXXXX"
// (mkdtemp(3)); sTemplate then holds its name.
IoError MakeTempDirectory(std::string& sTemplate);
// Creates sDir and the directories above it that are missing.
IoError CreateDirectories(const std::string& sDir);
// Removes sPath and, for a directory, everything in it.
IoError RemoveAll(const std::string& sPath);

// One pass over the directory sDir ("." and ".." never listed): the names
// of the real directories that fnWantedDirectory accepts (a link to one is
// not followed, so that a walk over the listings cannot loop) are appended
// to *pDirectories, and those of the regular files (links followed) that
// fnWantedFile accepts to *pFiles.  A null list asks for no names of its
// kind.  The type comes from the directory entry where the file system
// gives it; only the others are asked for it.  The error of a directory
// that cannot be read.
using NameFilter = std::function<bool(std::string_view)>;
IoError ListDirectory(const std::string& sDir, const NameFilter& fnWantedDirectory,
                      std::vector<std::string>* pDirectories, const NameFilter& fnWantedFile,
                      std::vector<std::string>* pFiles);

// Takes an exclusive flock(2) on the open file nFd: waits with bWait, else
// fails with EWOULDBLOCK at once when another process holds it.  The lock
// goes with the descriptor's close.
IoError LockExclusive(int nFd, bool bWait);

// The file a symbolic link at sPath points to (fully resolved), or sPath
// itself when it is no link or cannot be resolved.
std::string ResolveLink(const std::string& sPath);
// sPath made absolute against the process's current directory.
std::string AbsolutePath(const std::string& sPath);
// sPath absolute and lexically normal, with the symbolic links of the part
// of it that exists resolved (std::filesystem::weakly_canonical); sPath made
// absolute and normal when that fails.
std::string ResolvedPath(const std::string& sPath);
// The wall-clock time in nanoseconds since the epoch.
int64_t NowNanoseconds();

}  // namespace qv::io
