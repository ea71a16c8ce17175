// SPDX-License-Identifier: Apache-2.0
#include "support/fault_files.h"

#include <cerrno>
#include <cstring>

namespace qv {

void FaultInjectingFileSystem::Arm(FaultOp eOp, int n, bool bOnce) {
  Plan& oPlan = aPlan_[Index(eOp)];
  oPlan.nAt = n < 1 ? 0 : aCount_[Index(eOp)] + n;
  oPlan.bOnce = bOnce;
}

void FaultInjectingFileSystem::Clear() { aPlan_ = {}; }

IoError FaultInjectingFileSystem::Injected(std::string_view sWhat) {
  return IoError{EIO, "injected " + std::string(sWhat) + " failure: " + std::strerror(EIO)};
}

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

bool FaultInjectingFileSystem::Close(FileHandle hFile) { return !CloseWritten(hFile).Failed(); }

IoError FaultInjectingFileSystem::CloseWritten(FileHandle hFile, FileStamp* pStamp) {
  const bool bFail = Tick(FaultOp::kClose);
  IoError oError = Base().CloseWritten(hFile, pStamp);
  if (bFail && !oError.Failed()) oError = Injected("close");
  return oError;
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

IoError FaultInjectingFileSystem::Copy(std::string_view sSource, std::string_view sTarget) {
  if (Tick(FaultOp::kCopy)) return Injected("copy");
  return Base().Copy(sSource, sTarget);
}

IoError FaultInjectingFileSystem::Rename(std::string_view sOld, std::string_view sNew) {
  if (Tick(FaultOp::kRename)) return Injected("rename");
  return Base().Rename(sOld, sNew);
}

IoError FaultInjectingFileSystem::MoveOver(std::string_view sSource, std::string_view sTarget) {
  if (Tick(FaultOp::kRename)) return Injected("rename");
  return Base().MoveOver(sSource, sTarget);
}

IoError FaultInjectingFileSystem::KeepAside(std::string_view sTarget, std::string& sAside) {
  if (Tick(FaultOp::kAside)) return Injected("link");
  return Base().KeepAside(sTarget, sAside);
}

IoError FaultInjectingFileSystem::SyncAll(const std::vector<std::string>& aPaths) {
  if (Tick(FaultOp::kSync)) return Injected("sync");
  return Base().SyncAll(aPaths);
}

IoError FaultInjectingFileSystem::CreateTemporary(std::string_view sTarget, FileHandle& hFile, std::string& sTemp) {
  const bool bAny = Tick(FaultOp::kOpenAny);
  if (Tick(FaultOp::kOpenForWrite) || bAny) return Injected("create");
  return Base().CreateTemporary(sTarget, hFile, sTemp);
}

IoError FaultInjectingFileSystem::CreateNew(std::string_view sPath, FileHandle& hFile) {
  const bool bAny = Tick(FaultOp::kOpenAny);
  if (Tick(FaultOp::kOpenForWrite) || bAny) return Injected("create");
  return Base().CreateNew(sPath, hFile);
}

}  // namespace qv
