// SPDX-License-Identifier: Apache-2.0
// Files rewritten without ever losing the old ones.  Each new content goes
// to a temporary file beside its target, created new under a name nobody
// can predict (FileSystem::CreateTemporary).  Committing puts a batch of
// such files in place as one transaction: every new file is made durable
// in one step for the whole batch, the history copies of the old files are
// kept, every old file is kept aside, and the new files are moved over
// their targets in order; when any step fails, every target that was
// already replaced gets its old file back, and no new file stays.  The last
// file of a batch is its commit point: a reader who goes by it (the class
// list file names the method files) sees the old batch or the new one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/host.h"
#include "core/module.h"
#include "core/values.h"

namespace qv {

// The directories one run has made: each is made, and looked up, once
// however many files the run writes into it.
class MadeDirectories {
 public:
  // Makes sDirectory and its missing parents unless this run made it.
  IoError Make(FileSystem& files, std::string_view sDirectory);

 private:
  std::unordered_set<std::string> aMade_;
};

class ReplacingFile {
 public:
  // How the old file's history copy is kept (KeepRepositoryHistory or
  // KeepSourceHistory); nullptr for none.
  using KeepHistory = IoError (*)(Module& m, std::string_view sFile);

  ReplacingFile(Module& m, std::string_view sTarget, KeepHistory fnHistory = nullptr);
  // A file not committed is removed.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Makes the target's directory and its missing parents, for a target in
  // folders the library keeps itself, unless pMade has it; FALSE with
  // Error() saying why.
  bool MakeDirectory(MadeDirectories* pMade = nullptr);
  // Creates the new file beside the target.
  bool Open();
  // Append a line (with the host's line terminator) or a text.  After the
  // first failure every call fails.
  bool PutLine(std::string_view sLine);
  bool Write(std::string_view sText);
  // Closes the new file; TRUE when all of it reached the file system.
  // pStamp, when given, receives the new file's stamp, which it keeps when
  // it is moved in place (FileSystem::CloseWritten: left as it was where
  // the system cannot tell).
  bool Close(FileStamp* pStamp = nullptr);
  // Before Open: the target does not exist (the caller has seen to it, as
  // a first save into a new folder does).  The file is then written in
  // place, created new (FileSystem::CreateNew: a file that has appeared
  // there meanwhile fails it), with nothing to keep aside or move; the
  // commit makes it durable with the others, and a failed commit removes
  // it.  A process killed before the commit leaves it, where no class list
  // names it; the next save compares it as any file it finds there.
  void MarkTargetNew() { bTargetNew_ = true; }
  // Puts the closed new file in place of the target (CommitAll of one).
  bool Commit();
  // Commits the closed files of aFiles, in order, as one transaction: all
  // or none.  A file that failed before, or is not closed, fails the batch
  // too.  FALSE with the failing file's Error() saying why, and the
  // message in sError.  With bJournal the moves are journaled beside the
  // last file, so that a process killed among them leaves what Recover
  // needs to put the old files back.
  static bool CommitAll(Module& m, const std::vector<ReplacingFile*>& aFiles, String& sError, bool bJournal = false);
  // Finishes a journaled commit whose last file is sLastTarget, when a
  // process was killed in it (its journal is still there): a commit that
  // had moved its last file is kept, any other is undone, every old file
  // put back.  Only the one writer of the files may call it (a live commit
  // would be undone).  Nothing to do without a journal.
  static IoError Recover(Module& m, std::string_view sLastTarget);
  // Whether a journaled commit whose last file is sLastTarget is running or
  // was interrupted.
  static bool Interrupted(Module& m, std::string_view sLastTarget);

  const String& Target() const { return sTarget_; }
  // How many bytes were written to the new file.
  size_t Written() const { return nWritten_; }
  // The new file until it is committed (library form); "" before Open.
  const std::string& NewFile() const { return sNew_; }
  // Whether the new file was put in place (a commit whose last step, the
  // sync after the moves, failed has put it there all the same).
  bool Committed() const { return bCommitted_; }
  // Why the last call failed: the file, as this system names it, and the
  // system's reason.
  const String& Error() const { return sError_; }

 private:
  bool Fail(std::string_view sWhat);
  bool Fail(const IoError& oError) { return Fail(oError.sMessage); }
  void Discard();
  String Native(std::string_view sPath) const;

  Module& m_;
  String sTarget_;
  KeepHistory fnHistory_;
  std::string sNew_;
  String sError_;
  FileHandle hFile_;
  bool bOpen_ = false;
  bool bClosed_ = false;
  bool bCommitted_ = false;
  bool bFailed_ = false;
  bool bTargetNew_ = false;
  size_t nWritten_ = 0;
};

}  // namespace qv
