// SPDX-License-Identifier: Apache-2.0
#include "repository/replacing_file.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <utility>

#include "core/beside_names.h"
#include "repository/run_ahead.h"

namespace qv {

ReplacingFile::ReplacingFile(Module& m, std::string_view sTarget, KeepHistory fnHistory)
    : m_(m), sTarget_(sTarget), fnHistory_(fnHistory) {}

ReplacingFile::~ReplacingFile() {
  if (!bCommitted_) Discard();
}

String ReplacingFile::Native(std::string_view sPath) const {
  return m_.Files().SystemPath(sPath, FileSystem::PathForm::kMapped);
}

bool ReplacingFile::Fail(std::string_view sWhat) {
  if (!bFailed_) {
    sError_ = String(sWhat);
    bFailed_ = true;
  }
  return false;
}

void ReplacingFile::Discard() {
  if (bOpen_ && !bClosed_) m_.Files().CloseWritten(hFile_);
  bClosed_ = true;
  if (bOpen_) m_.Files().Remove(sNew_);
  bOpen_ = false;
}

IoError MadeDirectories::Make(FileSystem& files, std::string_view sDirectory) {
  if (aMade_.contains(std::string(sDirectory))) return {};
  IoError oError = files.MakeDirectories(sDirectory);
  if (!oError.Failed()) aMade_.emplace(sDirectory);
  return oError;
}

bool ReplacingFile::MakeDirectory(MadeDirectories* pMade) {
  const size_t nCut = sTarget_.find_last_of("\\/");
  // A bare name stands in the current directory, "\\A" in the root.
  if (nCut == String::npos || nCut == 0) return true;
  const std::string_view sDirectory = std::string_view(sTarget_).substr(0, nCut);
  if (IoError oError = pMade != nullptr ? pMade->Make(m_.Files(), sDirectory) : m_.Files().MakeDirectories(sDirectory);
      oError.Failed()) {
    return Fail(oError);
  }
  return true;
}

bool ReplacingFile::Open() {
  if (sTarget_.empty()) return Fail("no file name");
  IoError oError;
  if (bTargetNew_) {
    oError = m_.Files().CreateNew(sTarget_, hFile_);
    if (!oError.Failed()) sNew_ = sTarget_;
  } else {
    oError = m_.Files().CreateTemporary(sTarget_, hFile_, sNew_);
  }
  if (oError.Failed()) return Fail(oError);
  bOpen_ = true;
  return true;
}

bool ReplacingFile::PutLine(std::string_view sLine) {
  if (bFailed_ || !bOpen_ || bClosed_) return false;
  // A failed write says why when the file is closed.
  if (!m_.Files().PutLine(hFile_, sLine)) return Close() && Fail("cannot write " + Native(sNew_));
  nWritten_ += sLine.size() + kLineEnd.size();
  return true;
}

bool ReplacingFile::Write(std::string_view sText) {
  if (bFailed_ || !bOpen_ || bClosed_) return false;
  if (m_.Files().Write(hFile_, sText) != static_cast<int64_t>(sText.size())) {
    return Close() && Fail("cannot write " + Native(sNew_));
  }
  nWritten_ += sText.size();
  return true;
}

bool ReplacingFile::Close(FileStamp* pStamp) {
  if (!bOpen_ || bClosed_) return false;
  bClosed_ = true;
  if (IoError oError = m_.Files().CloseWritten(hFile_, pStamp); oError.Failed()) return Fail(oError);
  return !bFailed_;
}

bool ReplacingFile::Commit() {
  String sError;
  return CommitAll(m_, {this}, sError);
}

namespace {

// The journal of a batch of moves: beside the batch's last file (its commit
// point), hidden, one line per file: target, new file, old file kept aside
// ("" when there was none), separated by tabs.
std::string JournalOf(std::string_view sLastTarget) { return NameBeside(sLastTarget, ".qvjournal", ""); }

// Threads that remove the old files of a committed batch.  Removing a file
// waits for the file system to free its blocks (on some, a discard sent to
// the disk and waited for, file by file), a wait that several removals in
// flight share.
constexpr int kRemoveThreads = 8;

// Removes the files aPaths ("" stands for none), several at a time.
void RemoveEach(FileSystem& files, const std::vector<std::string>& aPaths) {
  const auto n = static_cast<int64_t>(aPaths.size());
  RunAhead(
      n, n > 1 ? static_cast<int>(std::min<int64_t>(n, kRemoveThreads)) : 0, n,
      [&](int64_t k) {
        if (const std::string& sPath = aPaths[static_cast<size_t>(k)]; !sPath.empty()) files.Remove(sPath);
      },
      [](int64_t) {});
}

// Puts the old file (kept aside as sAside, or none) back in place of sTarget.
IoError PutBack(FileSystem& files, std::string_view sTarget, std::string_view sAside) {
  return sAside.empty() ? files.Remove(sTarget) : files.MoveOver(sAside, sTarget);
}

// Writes the journal sJournal, durably, in one step.
IoError WriteJournal(FileSystem& files, const std::string& sJournal, std::string_view sText) {
  FileHandle hFile;
  std::string sTemp;
  if (IoError oError = files.CreateTemporary(sJournal, hFile, sTemp); oError.Failed()) return oError;
  const bool bWritten = files.Write(hFile, sText) == static_cast<int64_t>(sText.size());
  IoError oError = files.CloseWritten(hFile);
  if (!bWritten && !oError.Failed()) oError = {kIoFailed, "cannot write the journal " + sJournal};
  if (!oError.Failed()) oError = files.SyncAll({sTemp});
  if (!oError.Failed()) oError = files.MoveOver(sTemp, sJournal);
  if (oError.Failed()) files.Remove(sTemp);
  if (!oError.Failed()) oError = files.SyncAll({sJournal});
  return oError;
}

}  // namespace

bool ReplacingFile::Interrupted(Module& m, std::string_view sLastTarget) {
  FileHandle hNone;
  return m.Files().Open(hNone, JournalOf(sLastTarget), kOpenExist);
}

IoError ReplacingFile::Recover(Module& m, std::string_view sLastTarget) {
  FileSystem& files = m.Files();
  const std::string sJournal = JournalOf(sLastTarget);
  std::string sText;
  if (const int nError = files.ReadWholeFile(sJournal, sText); nError != 0) {
    return nError == ENOENT ? IoError{} : IoError{nError, "cannot read the journal " + std::string(sJournal)};
  }
  struct Line {
    std::string_view sTarget, sNew, sAside;
  };
  std::vector<Line> aLines;
  for (size_t nAt = 0; nAt < sText.size();) {
    const size_t nEnd = std::min(sText.find('\n', nAt), sText.size());
    const std::string_view sLine = std::string_view(sText).substr(nAt, nEnd - nAt);
    nAt = nEnd + 1;
    const size_t nTab1 = sLine.find('\t'), nTab2 = sLine.find('\t', nTab1 + 1);
    if (nTab1 == std::string_view::npos || nTab2 == std::string_view::npos) continue;
    Line line{sLine.substr(0, nTab1), sLine.substr(nTab1 + 1, nTab2 - nTab1 - 1), sLine.substr(nTab2 + 1)};
    // A journal is outside input like any other file: lines that name
    // other files than those a commit makes beside its targets are not
    // acted on.
    if (!IsNameBeside(line.sTarget, line.sNew, kNewFileTag) ||
        (!line.sAside.empty() && !IsNameBeside(line.sTarget, line.sAside, kAsideFileTag))) {
      continue;
    }
    aLines.push_back(line);
  }
  const auto Exists = [&files](std::string_view sPath) {
    FileHandle hNone;
    return files.Open(hNone, sPath, kOpenExist);
  };
  // The commit point is the last file's move: done when its new file has
  // gone to its place.  Then only the old files kept aside are left to
  // remove; else every file moved goes back.
  const bool bCommitted = aLines.empty() || !Exists(aLines.back().sNew);
  IoError oResult;
  for (auto it = aLines.rbegin(); it != aLines.rend(); ++it) {
    IoError oError;
    if (bCommitted || Exists(it->sNew)) {
      if (Exists(it->sNew)) files.Remove(it->sNew);
      if (!it->sAside.empty()) files.Remove(it->sAside);
    } else {
      oError = PutBack(files, it->sTarget, it->sAside);
    }
    if (oError.Failed() && !oResult.Failed()) oResult = oError;
  }
  if (!oResult.Failed()) oResult = files.SyncAll({std::string(sLastTarget)});
  if (!oResult.Failed()) files.Remove(sJournal);
  return oResult;
}

bool ReplacingFile::CommitAll(Module& m, const std::vector<ReplacingFile*>& aFiles, String& sError, bool bJournal) {
  FileSystem& files = m.Files();
  // Stops the batch: the file p says why, every new file goes.
  const auto Abort = [&](ReplacingFile* p, const String& sWhy) {
    p->Fail(sWhy);
    sError = p->sError_;
    for (ReplacingFile* q : aFiles) q->Discard();
    return false;
  };
  std::vector<std::string> aNew;
  for (ReplacingFile* p : aFiles) {
    if (p->bFailed_) return Abort(p, p->sError_);
    if (!p->bClosed_ || !p->bOpen_) return Abort(p, "not written: " + p->Native(p->sTarget_));
    aNew.push_back(p->sNew_);
  }
  if (aFiles.empty()) return true;
  // No old file is replaced before every new one is on disk.
  if (IoError oError = files.SyncAll(aNew); oError.Failed()) return Abort(aFiles.front(), oError.sMessage);
  // A file written in place is done once it is on disk; the steps below
  // are those of the files that move over their targets.
  std::vector<ReplacingFile*> aMoved;
  aMoved.reserve(aFiles.size());
  for (ReplacingFile* p : aFiles) {
    if (!p->bTargetNew_) aMoved.push_back(p);
  }
  for (ReplacingFile* p : aMoved) {
    if (p->fnHistory_ == nullptr) continue;
    if (IoError oError = p->fnHistory_(m, p->sTarget_); oError.Failed()) {
      return Abort(p, "no history copy of " + p->Native(p->sTarget_) + " (" + oError.sMessage + "); not replaced");
    }
  }
  // Every old file is kept aside before any new one takes its place, so
  // that a failure can put them all back.
  std::vector<std::string> aAside(aMoved.size());
  const auto RemoveAsides = [&] { RemoveEach(files, aAside); };
  for (size_t k = 0; k < aMoved.size(); ++k) {
    IoError oError = files.KeepAside(aMoved[k]->sTarget_, aAside[k]);
    if (oError.Failed() && oError.nCode == ENOENT) {
      aAside[k].clear();
    } else if (oError.Failed()) {
      aAside[k].clear();
      RemoveAsides();
      return Abort(aMoved[k], oError.sMessage);
    }
  }
  // A process killed among the moves leaves the journal, by which the next
  // writer (Recover) puts the old files back.
  const std::string sJournal = bJournal && aMoved.size() > 1 ? JournalOf(aMoved.back()->sTarget_) : std::string();
  if (!sJournal.empty()) {
    std::string sText;
    for (size_t k = 0; k < aMoved.size(); ++k) {
      sText.append(aMoved[k]->sTarget_).append("\t").append(aMoved[k]->sNew_).append("\t").append(aAside[k]);
      sText.append("\n");
    }
    if (IoError oError = WriteJournal(files, sJournal, sText); oError.Failed()) {
      RemoveAsides();
      return Abort(aMoved.back(), oError.sMessage);
    }
  }
  for (size_t k = 0; k < aMoved.size(); ++k) {
    if (IoError oError = files.MoveOver(aMoved[k]->sNew_, aMoved[k]->sTarget_); oError.Failed()) {
      // Back to the old state, newest first.
      String sWhy = oError.sMessage;
      for (size_t j = k; j-- > 0;) {
        if (IoError oBack = PutBack(files, aMoved[j]->sTarget_, aAside[j]); oBack.Failed()) {
          sWhy += "; and " + oBack.sMessage;
        }
        aAside[j].clear();
      }
      RemoveAsides();
      if (!sJournal.empty()) files.Remove(sJournal);
      return Abort(aMoved[k], sWhy);
    }
  }
  // The moves made durable; the files are in place either way.
  std::vector<std::string> aTargets;
  aTargets.reserve(aMoved.size());
  for (ReplacingFile* p : aMoved) aTargets.push_back(p->sTarget_);
  for (ReplacingFile* p : aFiles) p->bCommitted_ = true;
  const IoError oSynced = aTargets.empty() ? IoError{} : files.SyncAll(aTargets);
  RemoveAsides();
  if (!sJournal.empty()) files.Remove(sJournal);
  if (oSynced.Failed()) {
    sError = aFiles.back()->sError_ = "in place, but not known to be on disk: " + oSynced.sMessage;
    return false;
  }
  return true;
}

}  // namespace qv
