// SPDX-License-Identifier: Apache-2.0
// The Windows host's own file steps, shared by its file system
// (win32_files.cpp), its lock (win32_lock.cpp) and the functions of
// host/os/posix/posix_io.h that the Windows build carries (win32_io.cpp): the
// system's reason for an error, and the creation, second name, copy, move
// and flush of the files that stand in for a target while it is replaced.
// A file created here is always created new (CREATE_NEW) under a name
// nobody can predict, and never through a link or other reparse point
// planted at that name (FILE_FLAG_OPEN_REPARSE_POINT).  Paths are this
// system's own; every failure comes back as an IoError whose code is the
// errno value nearest to the system's (ENOENT for a missing file) and whose
// message names the file and gives the system's text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"
#include "host/os/win32/win32_api.h"

namespace qv::win32 {

// The errno value nearest to the Windows error nError.
int ErrnoOf(DWORD nError);
// The system's text for nError (FormatMessage), without the final period.
std::string ErrorText(DWORD nError);
// An IoError for nError: "<sWhat>: <the system's text>".
IoError ErrorOf(DWORD nError, std::string_view sWhat);
// ErrorOf for GetLastError().
IoError LastError(std::string_view sWhat);

// WriteFile until all of sData is written or a call fails: the count
// written; GetLastError() tells why when it is short.
size_t WriteAll(HANDLE h, std::string_view sData);

// Creates a new file for reading and writing in sTarget's directory: a
// hidden-style name (".NAME" + sTag + twelve random letters from the
// system's random source), CREATE_NEW, retried under a new name while one
// exists.  The handle, or INVALID_HANDLE_VALUE with GetLastError() set;
// sTemp gets the name.
HANDLE CreateBeside(const std::string& sTarget, std::string_view sTag, std::string& sTemp);
// Gives the file sTarget a second name beside it (sAside): a hard link, or
// a copy where the file system has no hard links.  ENOENT when sTarget
// does not exist.
IoError LinkBeside(const std::string& sTarget, std::string& sAside);
// Copies sFrom to sTo through a new file beside sTo moved over it, so a
// failed copy leaves sTo as it was.
IoError CopyOver(const std::string& sFrom, const std::string& sTo);
// MoveFileEx with MOVEFILE_REPLACE_EXISTING: sFrom takes sTo's place.
IoError MoveOver(const std::string& sFrom, const std::string& sTo);
// Renames sFrom to sTo only when sTo does not exist (EEXIST when it does).
IoError RenameNew(const std::string& sFrom, const std::string& sTo);
// DeleteFile.
IoError Remove(const std::string& sPath);
// Flushes every file of aPaths to disk (FlushFileBuffers on each), several
// at once: the calls are independent of each other, and a file system
// (NTFS's log, ext4's journal under Wine) or a disk (its queue) serves
// concurrent flushes together where one after the other each waits for a
// write of its own.  The first failure, in the order of aPaths, comes back
// (the files after it may be flushed or not).  A directory is left as it
// is here (FlushDirectories flushes directories).
IoError FlushAll(const std::vector<std::string>& aPaths);
// Flushes each open file of aHandles (aPaths names them, for messages) and
// closes it, several at once as FlushAll does: each file's failure of the
// flush or of the close, or none.
std::vector<IoError> FlushAndClose(const std::vector<HANDLE>& aHandles, const std::vector<std::string>& aPaths);
// Flushes the entries of each directory of aDirectories, several at once:
// FlushFileBuffers on a handle of the directory that may write, which
// Wine maps to fsync of the directory (what makes the renames into it
// durable on Linux) and which FAT and NTFS serve too.  The result says,
// for each directory, whether it was flushed; where it could not be opened
// so, or the file system refused the flush (a network share, say), the
// caller flushes the directory's files instead.
std::vector<bool> FlushDirectories(const std::vector<std::string>& aDirectories);

}  // namespace qv::win32
