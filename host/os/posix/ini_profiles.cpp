// SPDX-License-Identifier: Apache-2.0
#include "host/os/posix/ini_profiles.h"

#include <cerrno>
#include <utility>

#include "host/os/posix/posix_files.h"
#include "host/os/posix/posix_io.h"

namespace qv {

namespace {

constexpr size_t kMaxCachedFiles = 16;
// A file changed more recently than this may change again without its
// modification time showing it, so the cache re-reads it.
constexpr int64_t kTimestampSlackNs = 2'000'000'000;

int64_t Nanoseconds(int64_t nSec, int64_t nNsec) { return nSec * 1'000'000'000 + nNsec; }

}  // namespace

struct IniProfiles::CacheEntry {
  IniDocument oFile;
  FileStamp oStamp;
  bool bTrusted = false;  // the stamp alone proves the file unchanged
};

namespace {

// What identifies the version of a file that oInfo describes.
template <typename Stamp>
Stamp StampOf(const io::FileInfo& oInfo) {
  return Stamp{oInfo.nDevice, oInfo.nInode, oInfo.nSize, oInfo.nModifiedSec, oInfo.nModifiedNsec};
}

}  // namespace

IniProfiles::IniProfiles(std::string sProfileDir, PathMapper fnMapPath, FileSystem* pFiles)
    : sProfileDir_(std::move(sProfileDir)), fnMapPath_(std::move(fnMapPath)), pFiles_(pFiles) {
  if (!fnMapPath_) fnMapPath_ = [](std::string_view sPath) { return MapToPosixPath(sPath, "/"); };
  if (pFiles_ == nullptr) {
    pOwnFiles_ = std::make_unique<PosixFileSystem>();
    pFiles_ = pOwnFiles_.get();
  }
}

IniProfiles::~IniProfiles() = default;

std::string IniProfiles::ResolvePath(std::string_view sFile) const {
  if (!IsBareName(sFile)) return fnMapPath_(sFile);
  std::string sPath = sProfileDir_;
  if (!sPath.empty() && sPath.back() != '/') sPath.push_back('/');
  sPath.append(sFile);
  return sPath;
}

void IniProfiles::ProfileAbsent(bool bAbsent) {
  ++nAbsentCalls_;
  bLastAbsent_ = bAbsent;
}

int64_t IniProfiles::GetString(std::string_view sSection, std::string_view sKey, std::string_view sDefault,
                               std::string& sValue, std::string_view sFile) {
  const IniDocument* pFile = nullptr;
  if (Load(ResolvePath(sFile), &pFile) == LoadResult::kLoaded) {
    if (const std::optional<std::string_view> sFound = pFile->Get(sSection, sKey)) {
      sValue.assign(*sFound);
      return static_cast<int64_t>(sValue.size());
    }
  }
  sValue.assign(sDefault);
  return 0;
}

int64_t IniProfiles::GetInt(std::string_view sSection, std::string_view sKey, int64_t nDefault,
                            std::string_view sFile) {
  const IniDocument* pFile = nullptr;
  if (Load(ResolvePath(sFile), &pFile) != LoadResult::kLoaded) return nDefault;
  const std::optional<std::string_view> sFound = pFile->Get(sSection, sKey);
  return sFound ? ProfileInteger(*sFound, nDefault) : nDefault;
}

bool IniProfiles::Refuse(std::string sWhy) {
  sLastWriteError_ = std::move(sWhy);
  return false;
}

bool IniProfiles::WriteString(std::string_view sSection, std::string_view sKey, std::string_view sValue,
                              std::string_view sFile) {
  sLastWriteError_.clear();
  if (sFile.empty()) return Refuse("no file name");
  // Through a symbolic link the linked file is rewritten, not the link.
  const std::string sPath = io::ResolveLink(ResolvePath(sFile));

  const IniDocument* pOld = nullptr;
  const LoadResult eLoad = Load(sPath, &pOld);
  // Never replace a file that could not be read.
  if (eLoad == LoadResult::kFailed) return Refuse("the file cannot be read: " + sPath);
  IniDocument oNew = eLoad == LoadResult::kLoaded ? *pOld : IniDocument();
  bool bChanged = false;
  if (std::string sWhy = oNew.Set(sSection, sKey, sValue, bChanged); !sWhy.empty()) {
    // A refusal of the names or the value says no more; one of the file's
    // encoding names the file.
    return Refuse(oNew.GetEncoding() == IniDocument::Encoding::kBytes ? sWhy : sWhy + ": " + sPath);
  }
  if (!bChanged && eLoad == LoadResult::kLoaded) return true;

  // The file system takes absolute paths: its own working directory is not
  // the one relative profile paths are meant in.
  if (const IoError oError = pFiles_->ReplaceContent(io::AbsolutePath(sPath), oNew.Bytes()); oError.Failed()) {
    mCache_.erase(sPath);
    return Refuse("the file cannot be written: " + oError.sMessage);
  }
  io::FileInfo oInfo;
  if (io::Stat(sPath, oInfo).Failed()) {
    mCache_.erase(sPath);
  } else {
    Remember(sPath, std::move(oNew), StampOf<FileStamp>(oInfo), false);
  }
  return true;
}

IniProfiles::LoadResult IniProfiles::Load(const std::string& sPath, const IniDocument** ppFile) {
  const int64_t nNow = io::NowNanoseconds();
  const auto itCached = mCache_.find(sPath);
  CacheEntry* pCached = itCached == mCache_.end() ? nullptr : itCached->second.get();

  io::FileInfo oInfo;
  if (const IoError oError = io::Stat(sPath, oInfo); oError.Failed()) {
    mCache_.erase(sPath);
    return oError.nCode == ENOENT || oError.nCode == ENOTDIR ? LoadResult::kMissing : LoadResult::kFailed;
  }
  if (!oInfo.bRegular) {  // a directory or a device is no profile
    mCache_.erase(sPath);
    return LoadResult::kFailed;
  }
  if (pCached != nullptr && pCached->bTrusted && pCached->oStamp == StampOf<FileStamp>(oInfo)) {
    *ppFile = &pCached->oFile;
    return LoadResult::kLoaded;
  }
  // The bytes go to a buffer kept between calls: a file that is re-read
  // and found unchanged then costs no allocation.
  std::string& sBytes = sReadBuffer_;
  if (const IoError oError = io::ReadFile(sPath, sBytes, &oInfo); oError.Failed() || !oInfo.bRegular) {
    mCache_.erase(sPath);
    return oError.nCode == ENOENT ? LoadResult::kMissing : LoadResult::kFailed;  // removed since the stat
  }
  const FileStamp oStamp = StampOf<FileStamp>(oInfo);
  const bool bTrusted = nNow - Nanoseconds(oStamp.nModifiedSec, oStamp.nModifiedNsec) > kTimestampSlackNs;
  if (pCached != nullptr && pCached->oFile.Bytes() == sBytes) {  // same content: keep the parse
    pCached->oStamp = oStamp;
    pCached->bTrusted = bTrusted;
    *ppFile = &pCached->oFile;
    return LoadResult::kLoaded;
  }
  *ppFile = Remember(sPath, IniDocument(std::exchange(sBytes, std::string())), oStamp, bTrusted);
  return LoadResult::kLoaded;
}

const IniDocument* IniProfiles::Remember(const std::string& sPath, IniDocument oFile, const FileStamp& oStamp,
                                         bool bTrusted) {
  if (mCache_.size() >= kMaxCachedFiles && mCache_.find(sPath) == mCache_.end()) mCache_.clear();
  auto pEntry = std::make_unique<CacheEntry>(CacheEntry{std::move(oFile), oStamp, bTrusted});
  const IniDocument* pFile = &pEntry->oFile;
  mCache_[sPath] = std::move(pEntry);
  return pFile;
}

}  // namespace qv
