#include "support/fault_files.h"

namespace qv {

void FaultInjectingFileSystem::Arm(FaultOp eOp, int n, bool bOnce) {
  Plan& oPlan = aPlan_[Index(eOp)];
  oPlan.nAt = n < 1 ? 0 : aCount_[Index(eOp)] + n;
  oPlan.bOnce = bOnce;
}

void FaultInjectingFileSystem::Clear() { aPlan_ = {}; }

bool FaultInjectingFileSystem::Tick(FaultOp eOp) {
  const int nCount = ++aCount_[Index(eOp)];
  const Plan& oPlan = aPlan_[Index(eOp)];
  if (oPlan.nAt == 0) return false;
  return oPlan.bOnce ? nCount == oPlan.nAt : nCount >= oPlan.nAt;
}

bool FaultInjectingFileSystem::Open(FileHandle& hFile, std::string_view sPath, int nStyle) {
  // Both groups count every call they cover, whichever one fails it.
  bool bFail = Tick(FaultOp::kOpenAny);
  if (nStyle == kOpenCreate || nStyle == kOpenAppend) bFail = Tick(FaultOp::kOpenForWrite) || bFail;
  if (bFail) return false;
  return Base().Open(hFile, sPath, nStyle);
}

bool FaultInjectingFileSystem::Close(FileHandle hFile) {
  const bool bFail = Tick(FaultOp::kClose);
  const bool bClosed = Base().Close(hFile);
  return bClosed && !bFail;
}

bool FaultInjectingFileSystem::PutLine(FileHandle hFile, std::string_view sText) {
  if (Tick(FaultOp::kWrite)) return false;
  return Base().PutLine(hFile, sText);
}

int64_t FaultInjectingFileSystem::Write(FileHandle hFile, std::string_view sText) {
  if (Tick(FaultOp::kWrite)) {
    const std::string_view sHalf = sText.substr(0, sText.size() / 2);
    return sHalf.empty() ? 0 : Base().Write(hFile, sHalf);
  }
  return Base().Write(hFile, sText);
}

bool FaultInjectingFileSystem::Copy(std::string_view sSource, std::string_view sTarget) {
  if (Tick(FaultOp::kCopy)) return false;
  return Base().Copy(sSource, sTarget);
}

bool FaultInjectingFileSystem::Rename(std::string_view sOld, std::string_view sNew) {
  if (Tick(FaultOp::kRename)) return false;
  return Base().Rename(sOld, sNew);
}

bool FaultInjectingFileSystem::Replace(std::string_view sSource, std::string_view sTarget) {
  if (Tick(FaultOp::kRename)) return false;
  return Base().Replace(sSource, sTarget);
}

void FaultInjectingFileSystem::ReplaceAll(const std::vector<std::pair<std::string, std::string>>& aMoves,
                                          std::vector<bool>& aDone) {
  aDone.assign(aMoves.size(), false);
  if (Tick(FaultOp::kSync)) return;
  // The moves the plan lets through go to the wrapped file system as one
  // batch, so that its own durability step is the one tested.
  std::vector<std::pair<std::string, std::string>> aPassed;
  std::vector<size_t> aAt;
  for (size_t k = 0; k < aMoves.size(); ++k) {
    if (Tick(FaultOp::kRename)) continue;
    aPassed.push_back(aMoves[k]);
    aAt.push_back(k);
  }
  std::vector<bool> aPassedDone;
  Base().ReplaceAll(aPassed, aPassedDone);
  for (size_t j = 0; j < aAt.size(); ++j) aDone[aAt[j]] = aPassedDone[j];
}

}  // namespace qv
