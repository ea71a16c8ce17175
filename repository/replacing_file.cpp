#include "repository/replacing_file.h"

#include <cerrno>
#include <string>
#include <utility>

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

bool ReplacingFile::Open() {
  if (sTarget_.empty()) return Fail("no file name");
  if (IoError oError = m_.Files().CreateTemporary(sTarget_, hFile_, sNew_); oError.Failed()) return Fail(oError);
  bOpen_ = true;
  return true;
}

bool ReplacingFile::PutLine(std::string_view sLine) {
  if (bFailed_ || !bOpen_ || bClosed_) return false;
  // A failed write says why when the file is closed.
  if (!m_.Files().PutLine(hFile_, sLine)) return Close() && Fail("cannot write " + Native(sNew_));
  return true;
}

bool ReplacingFile::Write(std::string_view sText) {
  if (bFailed_ || !bOpen_ || bClosed_) return false;
  if (m_.Files().Write(hFile_, sText) != static_cast<int64_t>(sText.size())) {
    return Close() && Fail("cannot write " + Native(sNew_));
  }
  return true;
}

bool ReplacingFile::Close() {
  if (!bOpen_ || bClosed_) return false;
  bClosed_ = true;
  if (IoError oError = m_.Files().CloseWritten(hFile_); oError.Failed()) return Fail(oError);
  return !bFailed_;
}

bool ReplacingFile::Commit() {
  String sError;
  return CommitAll(m_, {this}, sError);
}

bool ReplacingFile::CommitAll(Module& m, const std::vector<ReplacingFile*>& aFiles, String& sError) {
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
  for (ReplacingFile* p : aFiles) {
    if (p->fnHistory_ == nullptr) continue;
    if (IoError oError = p->fnHistory_(m, p->sTarget_); oError.Failed()) {
      return Abort(p, "no history copy of " + p->Native(p->sTarget_) + " (" + oError.sMessage + "); not replaced");
    }
  }
  // Each old file is kept aside before its new one takes its place, so
  // that a later failure can put it back.
  struct Moved {
    ReplacingFile* p;
    std::string sAside;  // empty: there was no old file
  };
  std::vector<Moved> aMoved;
  const auto RemoveAsides = [&] {
    for (const Moved& moved : aMoved) {
      if (!moved.sAside.empty()) files.Remove(moved.sAside);
    }
  };
  for (ReplacingFile* p : aFiles) {
    std::string sAside;
    IoError oError = files.KeepAside(p->sTarget_, sAside);
    if (oError.Failed() && oError.nCode == ENOENT) {
      sAside.clear();
      oError = {};
    }
    if (!oError.Failed()) {
      oError = files.MoveOver(p->sNew_, p->sTarget_);
      if (oError.Failed() && !sAside.empty()) files.Remove(sAside);
    }
    if (oError.Failed()) {
      // Back to the old state, newest first.
      String sWhy = oError.sMessage;
      for (auto it = aMoved.rbegin(); it != aMoved.rend(); ++it) {
        const IoError oBack = it->sAside.empty() ? files.Remove(it->p->sTarget_)
                                                 : files.MoveOver(it->sAside, it->p->sTarget_);
        if (oBack.Failed()) sWhy += "; and " + oBack.sMessage;
      }
      return Abort(p, sWhy);
    }
    aMoved.push_back({p, std::move(sAside)});
  }
  for (ReplacingFile* p : aFiles) p->bCommitted_ = true;
  // The renames made durable; the files are in place either way.
  std::vector<std::string> aTargets;
  for (ReplacingFile* p : aFiles) aTargets.push_back(p->sTarget_);
  const IoError oSynced = files.SyncAll(aTargets);
  RemoveAsides();
  if (oSynced.Failed()) {
    sError = aFiles.back()->sError_ = oSynced.sMessage;
    return false;
  }
  return true;
}

}  // namespace qv
