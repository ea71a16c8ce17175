#include "repository/replacing_file.h"

#include "core/runtime.h"

#include <string>
#include <utility>

namespace qv {

namespace {
// Appended to the target's name for the file being written.  The target's
// own name stays a prefix, so the new file lands in the same directory and
// the final rename never crosses file systems.
constexpr std::string_view kNewSuffix = ".qvnew";
}  // namespace

ReplacingFile::ReplacingFile(Module& m, std::string_view sTarget) : m_(m), sTarget_(sTarget) {
  sNew_ = sTarget_;
  sNew_.append(kNewSuffix);
}

ReplacingFile::~ReplacingFile() {
  if (!bCommitted_) Discard();
}

bool ReplacingFile::Fail(std::string_view sWhat) {
  if (!bFailed_) {
    sError_ = String(sWhat);
    bFailed_ = true;
  }
  return false;
}

void ReplacingFile::Discard() {
  if (bOpen_ && !bClosed_) RtFileClose(m_, hFile_);
  bClosed_ = true;
  if (bOpen_) {
    FileHandle hNone;
    RtFileOpen(m_, hNone, sNew_, kOpenDelete);
  }
  bOpen_ = false;
}

bool ReplacingFile::Open() {
  if (sTarget_.empty()) return Fail("no file name");
  if (!RtFileOpen(m_, hFile_, sNew_, kOpenCreate)) return Fail("cannot create " + sNew_);
  bOpen_ = true;
  return true;
}

bool ReplacingFile::PutLine(std::string_view sLine) {
  if (bFailed_ || !bOpen_ || bClosed_) return false;
  if (!RtFilePutLine(m_, hFile_, sLine)) return Fail("cannot write " + sNew_);
  return true;
}

bool ReplacingFile::Write(std::string_view sText) {
  if (bFailed_ || !bOpen_ || bClosed_) return false;
  if (!RtFileWrite(m_, sText, hFile_, static_cast<int64_t>(sText.size()))) return Fail("cannot write " + sNew_);
  return true;
}

bool ReplacingFile::Close() {
  if (bFailed_ || !bOpen_ || bClosed_) return false;
  bClosed_ = true;
  if (!RtFileClose(m_, hFile_)) return Fail("cannot write " + sNew_);
  return true;
}

bool ReplacingFile::Commit() {
  if (bFailed_ || !bClosed_) return false;
  if (!m_.Files().Replace(sNew_, sTarget_)) return Fail("cannot replace " + sTarget_);
  bCommitted_ = true;
  return true;
}

void ReplacingFile::CommitAll(Module& m, const std::vector<ReplacingFile*>& aFiles) {
  std::vector<std::pair<std::string, std::string>> aMoves;
  std::vector<ReplacingFile*> aMoving;
  for (ReplacingFile* p : aFiles) {
    if (p->bFailed_ || !p->bClosed_) continue;
    aMoves.emplace_back(p->sNew_, p->sTarget_);
    aMoving.push_back(p);
  }
  std::vector<bool> aDone;
  m.Files().ReplaceAll(aMoves, aDone);
  for (size_t k = 0; k < aMoving.size(); ++k) {
    if (k < aDone.size() && aDone[k]) {
      aMoving[k]->bCommitted_ = true;
    } else {
      aMoving[k]->Fail("cannot replace " + aMoving[k]->sTarget_);
    }
  }
}

}  // namespace qv
