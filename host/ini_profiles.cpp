#include "host/ini_profiles.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <utility>
#include <vector>

#include "host/posix_files.h"

namespace qv {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kMaxCachedFiles = 16;
constexpr size_t kReadChunk = 64 * 1024;
// A file changed more recently than this may change again without its
// modification time showing it, so the cache re-reads it.
constexpr int64_t kTimestampSlackNs = 2'000'000'000;

std::string_view Trim(std::string_view s) {
  const size_t nFirst = s.find_first_not_of(" \t");
  if (nFirst == std::string_view::npos) return {};
  return s.substr(nFirst, s.find_last_not_of(" \t") - nFirst + 1);
}

// The lookup form of a section or key name: ASCII letters in lower case.
std::string Fold(std::string_view s) {
  std::string sOut(s);
  for (char& c : sOut) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return sOut;
}

std::string_view StripQuotes(std::string_view s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
    return s.substr(1, s.size() - 2);
  }
  return s;
}

bool HasDrive(std::string_view s) {
  return s.size() >= 2 && s[1] == ':' && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

int64_t Nanoseconds(int64_t nSec, int64_t nNsec) { return nSec * 1'000'000'000 + nNsec; }

size_t WriteAll(int nFd, std::string_view sData) {
  size_t nDone = 0;
  while (nDone < sData.size()) {
    const ssize_t n = ::write(nFd, sData.data() + nDone, sData.size() - nDone);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    nDone += static_cast<size_t>(n);
  }
  return nDone;
}

// Reads the rest of nFd into sOut, whose old content is dropped; nSizeHint
// is the size the file is expected to have.  FALSE on a read error.
bool ReadAll(int nFd, std::string& sOut, size_t nSizeHint) {
  // One byte more than expected, so that the end shows without growing.
  sOut.resize(nSizeHint + 1);
  size_t nSize = 0;
  for (;;) {
    if (nSize == sOut.size()) sOut.resize(nSize + kReadChunk);
    const ssize_t n = ::read(nFd, sOut.data() + nSize, sOut.size() - nSize);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    nSize += static_cast<size_t>(n);
  }
  sOut.resize(nSize);
  return true;
}

}  // namespace

// One parsed profile.  Positions are offsets into sText, so the object can
// be moved freely.
struct IniProfiles::ParsedFile {
  struct Line {
    size_t nBegin = 0;  // first byte of the content
    size_t nEnd = 0;    // end of the content, before "\r\n" or "\n"
    size_t nNext = 0;   // start of the next line
  };
  struct Key {
    size_t nLine = 0;
    size_t nKeyBegin = 0;
    size_t nKeyEnd = 0;
    size_t nValueBegin = 0;
    size_t nValueEnd = 0;
  };
  struct Section {
    size_t nLastKeyLine = 0;                     // the header line while it has no key
    std::unordered_map<std::string, Key> mKeys;  // folded key -> its first line
  };

  std::string sText;
  std::vector<Line> aLines;
  std::unordered_map<std::string, Section> mSections;  // folded name -> first section of that name

  explicit ParsedFile(std::string sContent) : sText(std::move(sContent)) { Parse(); }

  bool LineEnded(size_t nLine) const {
    const size_t nNext = aLines[nLine].nNext;
    return nNext > 0 && sText[nNext - 1] == '\n';
  }

  const Key* Find(std::string_view sSection, std::string_view sKey, const Section** ppSection) const {
    const auto itSection = mSections.find(Fold(sSection));
    *ppSection = itSection == mSections.end() ? nullptr : &itSection->second;
    if (*ppSection == nullptr) return nullptr;
    const auto itKey = itSection->second.mKeys.find(Fold(sKey));
    return itKey == itSection->second.mKeys.end() ? nullptr : &itKey->second;
  }

  std::string_view Value(const Key& oKey) const {
    return StripQuotes(std::string_view(sText).substr(oKey.nValueBegin, oKey.nValueEnd - oKey.nValueBegin));
  }

  // The text after writing sKey=sValue into sSection (both already
  // trimmed and checked).
  std::string WithKey(std::string_view sSection, std::string_view sKey, std::string_view sValue) const {
    const std::string_view s = sText;
    std::string sOut;
    sOut.reserve(s.size() + sSection.size() + sKey.size() + sValue.size() + 8);
    const Section* pSection = nullptr;
    if (const Key* pKey = Find(sSection, sKey, &pSection)) {
      // Replaced in place: the key as the file spells it, the line's own end.
      const auto& oLine = aLines[pKey->nLine];
      sOut.append(s.substr(0, oLine.nBegin));
      sOut.append(s.substr(pKey->nKeyBegin, pKey->nKeyEnd - pKey->nKeyBegin));
      sOut.push_back('=');
      sOut.append(sValue);
      sOut.append(s.substr(oLine.nEnd));
    } else if (pSection != nullptr) {
      // After the section's last key line (or its header).
      const size_t nAfter = pSection->nLastKeyLine;
      const size_t nAt = aLines[nAfter].nNext;
      sOut.append(s.substr(0, nAt));
      if (!LineEnded(nAfter)) sOut.append(kLineEnd);
      sOut.append(sKey);
      sOut.push_back('=');
      sOut.append(sValue);
      sOut.append(kLineEnd);
      sOut.append(s.substr(nAt));
    } else {
      sOut.append(s);
      if (!s.empty() && s.back() != '\n') sOut.append(kLineEnd);
      sOut.push_back('[');
      sOut.append(sSection);
      sOut.push_back(']');
      sOut.append(kLineEnd);
      sOut.append(sKey);
      sOut.push_back('=');
      sOut.append(sValue);
      sOut.append(kLineEnd);
    }
    return sOut;
  }

 private:
  void Parse() {
    const std::string_view s = sText;
    Section* pSection = nullptr;  // null before the first section and in a duplicate one
    size_t nPos = 0;
    while (nPos < s.size()) {
      Line oLine;
      oLine.nBegin = (nPos == 0 && s.starts_with(kByteOrderMark)) ? kByteOrderMark.size() : nPos;
      const size_t nFeed = s.find('\n', oLine.nBegin);
      oLine.nEnd = nFeed == std::string_view::npos ? s.size() : nFeed;
      oLine.nNext = nFeed == std::string_view::npos ? s.size() : nFeed + 1;
      if (oLine.nEnd > oLine.nBegin && s[oLine.nEnd - 1] == '\r') --oLine.nEnd;
      nPos = oLine.nNext;
      const size_t nLine = aLines.size();
      aLines.push_back(oLine);

      const std::string_view sContent = Trim(s.substr(oLine.nBegin, oLine.nEnd - oLine.nBegin));
      if (sContent.empty() || sContent.front() == ';') continue;
      if (sContent.front() == '[') {
        const size_t nClose = sContent.find(']');
        if (nClose != std::string_view::npos) {
          const auto [it, bNew] =
              mSections.try_emplace(Fold(Trim(sContent.substr(1, nClose - 1))), Section{nLine, {}});
          pSection = bNew ? &it->second : nullptr;
          continue;
        }
      }
      if (pSection == nullptr) continue;
      const size_t nEqual = sContent.find('=');
      if (nEqual == std::string_view::npos) continue;
      const std::string_view sKey = Trim(sContent.substr(0, nEqual));
      if (sKey.empty()) continue;
      const std::string_view sValue = Trim(sContent.substr(nEqual + 1));
      const size_t nKeyBegin = static_cast<size_t>(sKey.data() - s.data());
      // An empty value's view may point anywhere; anchor it after the "=".
      const size_t nValueBegin =
          sValue.empty() ? static_cast<size_t>(sContent.data() - s.data()) + nEqual + 1
                         : static_cast<size_t>(sValue.data() - s.data());
      pSection->nLastKeyLine = nLine;
      pSection->mKeys.try_emplace(Fold(sKey),
                                  Key{nLine, nKeyBegin, nKeyBegin + sKey.size(), nValueBegin, nValueBegin + sValue.size()});
    }
  }
};

struct IniProfiles::CacheEntry {
  ParsedFile oFile;
  FileStamp oStamp;
  bool bTrusted = false;  // the stamp alone proves the file unchanged
};

IniProfiles::FileStamp IniProfiles::StampOf(const struct ::stat& oStat) {
  return FileStamp{static_cast<uint64_t>(oStat.st_dev), static_cast<uint64_t>(oStat.st_ino),
                   static_cast<int64_t>(oStat.st_size), static_cast<int64_t>(oStat.st_mtim.tv_sec),
                   static_cast<int64_t>(oStat.st_mtim.tv_nsec)};
}

IniProfiles::IniProfiles(std::string sProfileDir, PathMapper fnMapPath)
    : sProfileDir_(std::move(sProfileDir)), fnMapPath_(std::move(fnMapPath)) {
  if (!fnMapPath_) fnMapPath_ = [](std::string_view sPath) { return MapToPosixPath(sPath, "/"); };
}

IniProfiles::~IniProfiles() = default;

std::string IniProfiles::ResolvePath(std::string_view sFile) const {
  if (sFile.find_first_of("\\/") != std::string_view::npos || HasDrive(sFile)) return fnMapPath_(sFile);
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
  const ParsedFile* pFile = nullptr;
  if (Load(ResolvePath(sFile), &pFile) == LoadResult::kLoaded) {
    const ParsedFile::Section* pSection = nullptr;
    if (const ParsedFile::Key* pKey = pFile->Find(Trim(sSection), Trim(sKey), &pSection)) {
      sValue.assign(pFile->Value(*pKey));
      return static_cast<int64_t>(sValue.size());
    }
  }
  sValue.assign(sDefault);
  return 0;
}

int64_t IniProfiles::GetInt(std::string_view sSection, std::string_view sKey, int64_t nDefault,
                            std::string_view sFile) {
  const ParsedFile* pFile = nullptr;
  if (Load(ResolvePath(sFile), &pFile) != LoadResult::kLoaded) return nDefault;
  const ParsedFile::Section* pSection = nullptr;
  const ParsedFile::Key* pKey = pFile->Find(Trim(sSection), Trim(sKey), &pSection);
  if (pKey == nullptr) return nDefault;
  const std::string_view s = pFile->Value(*pKey);
  size_t i = 0;
  const bool bNegative = !s.empty() && s[0] == '-';
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) ++i;
  if (i >= s.size() || s[i] < '0' || s[i] > '9') return nDefault;
  // The magnitude saturates at 2^63, which is INT64_MIN's and one past
  // INT64_MAX's.
  constexpr uint64_t kLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + 1;
  uint64_t nMagnitude = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    const auto nDigit = static_cast<uint64_t>(s[i] - '0');
    nMagnitude = nMagnitude > (kLimit - nDigit) / 10 ? kLimit : nMagnitude * 10 + nDigit;
  }
  if (bNegative) return nMagnitude == kLimit ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(nMagnitude);
  return nMagnitude >= kLimit ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(nMagnitude);
}

bool IniProfiles::WriteString(std::string_view sSection, std::string_view sKey, std::string_view sValue,
                              std::string_view sFile) {
  sSection = Trim(sSection);
  sKey = Trim(sKey);
  // Refuse what would not read back as written or would break the lines
  // around it.
  if (sFile.empty() || sSection.empty() || sKey.empty()) return false;
  if (HasLineBreak(sSection) || HasLineBreak(sKey) || HasLineBreak(sValue)) return false;
  if (sSection.find(']') != std::string_view::npos || sKey.find('=') != std::string_view::npos) return false;
  if (sKey.front() == ';' || sKey.front() == '[') return false;

  std::string sPath = ResolvePath(sFile);
  // Through a symbolic link the linked file is rewritten, not the link.
  struct stat oLink;
  if (::lstat(sPath.c_str(), &oLink) == 0 && S_ISLNK(oLink.st_mode)) {
    char aTarget[PATH_MAX];
    if (::realpath(sPath.c_str(), aTarget) != nullptr) sPath = aTarget;
  }

  const ParsedFile* pOld = nullptr;
  const LoadResult eLoad = Load(sPath, &pOld);
  if (eLoad == LoadResult::kFailed) return false;  // never replace a file that could not be read
  const bool bExists = eLoad == LoadResult::kLoaded;
  const ParsedFile oEmpty{std::string()};
  std::string sNew = (bExists ? *pOld : oEmpty).WithKey(sSection, sKey, sValue);
  if (bExists && sNew == pOld->sText) return true;

  if (!WriteFileAtomically(sPath, sNew, bExists)) {
    mCache_.erase(sPath);
    return false;
  }
  struct stat oStat;
  if (::stat(sPath.c_str(), &oStat) == 0) {
    const FileStamp oStamp = StampOf(oStat);
    Remember(sPath, std::move(sNew), oStamp, false);
  } else {
    mCache_.erase(sPath);
  }
  return true;
}

IniProfiles::LoadResult IniProfiles::Load(const std::string& sPath, const ParsedFile** ppFile) {
  timespec oNow{};
  ::clock_gettime(CLOCK_REALTIME, &oNow);
  const auto itCached = mCache_.find(sPath);
  CacheEntry* pCached = itCached == mCache_.end() ? nullptr : itCached->second.get();

  struct stat oStat;
  if (::stat(sPath.c_str(), &oStat) != 0) {
    const bool bMissing = errno == ENOENT || errno == ENOTDIR;
    mCache_.erase(sPath);
    return bMissing ? LoadResult::kMissing : LoadResult::kFailed;
  }
  if (!S_ISREG(oStat.st_mode)) {  // a directory or a device is no profile
    mCache_.erase(sPath);
    return LoadResult::kFailed;
  }
  if (pCached != nullptr && pCached->bTrusted && pCached->oStamp == StampOf(oStat)) {
    *ppFile = &pCached->oFile;
    return LoadResult::kLoaded;
  }
  int nFd = -1;
  do {
    nFd = ::open(sPath.c_str(), O_RDONLY | O_CLOEXEC);
  } while (nFd < 0 && errno == EINTR);
  if (nFd < 0) {
    const bool bMissing = errno == ENOENT;  // removed since the stat(2)
    mCache_.erase(sPath);
    return bMissing ? LoadResult::kMissing : LoadResult::kFailed;
  }

  // The bytes go to a buffer kept between calls: a file that is re-read
  // and found unchanged then costs no allocation.
  std::string& sText = sReadBuffer_;
  const bool bRead = ::fstat(nFd, &oStat) == 0 && S_ISREG(oStat.st_mode) &&
                     ReadAll(nFd, sText, static_cast<size_t>(oStat.st_size));
  ::close(nFd);
  if (!bRead) {
    mCache_.erase(sPath);
    return LoadResult::kFailed;
  }
  const FileStamp oStamp = StampOf(oStat);
  const bool bTrusted = Nanoseconds(oNow.tv_sec, oNow.tv_nsec) - Nanoseconds(oStamp.nModifiedSec, oStamp.nModifiedNsec) >
                        kTimestampSlackNs;
  if (pCached != nullptr && pCached->oFile.sText == sText) {  // same bytes: keep the parse
    pCached->oStamp = oStamp;
    pCached->bTrusted = bTrusted;
    *ppFile = &pCached->oFile;
    return LoadResult::kLoaded;
  }
  *ppFile = Remember(sPath, std::exchange(sText, std::string()), oStamp, bTrusted);
  return LoadResult::kLoaded;
}

const IniProfiles::ParsedFile* IniProfiles::Remember(const std::string& sPath, std::string sText,
                                                     const FileStamp& oStamp, bool bTrusted) {
  if (mCache_.size() >= kMaxCachedFiles && mCache_.find(sPath) == mCache_.end()) mCache_.clear();
  auto pEntry = std::make_unique<CacheEntry>(CacheEntry{ParsedFile(std::move(sText)), oStamp, bTrusted});
  const ParsedFile* pFile = &pEntry->oFile;
  mCache_[sPath] = std::move(pEntry);
  return pFile;
}

bool IniProfiles::WriteFileAtomically(const std::string& sPath, std::string_view sText, bool bExists) {
  struct stat oOld;
  const bool bKeepOwner = bExists && ::stat(sPath.c_str(), &oOld) == 0;
  const mode_t nMode = bKeepOwner ? (oOld.st_mode & 07777) : 0666;

  // A name beside the file that no one else uses: the rename must stay
  // within one file system, and a concurrent writer must not share it.
  std::string sTemp;
  int nFd = -1;
  for (int nTry = 0; nTry < 100 && nFd < 0; ++nTry) {
    sTemp = sPath + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++nTempCounter_);
    nFd = ::open(sTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, nMode);
    if (nFd < 0 && errno != EEXIST && errno != EINTR) return false;
  }
  if (nFd < 0) return false;
  if (bKeepOwner) {
    // The umask narrowed the mode; the file keeps the one it had.  A
    // failure (an owner this process may not give away) leaves the defaults;
    // the owner goes first, as changing it may clear set-id bits.
    if (::fchown(nFd, oOld.st_uid, oOld.st_gid) != 0) {
      // kept by the user who writes
    }
    if (::fchmod(nFd, nMode) != 0) {
      // left as created
    }
  }
  // Not synced to disk: like the Windows profile functions, the write goes
  // through the system's cache.  The rename keeps the old file whole when
  // anything before it fails, and file systems that delay allocation flush
  // a file renamed over another before the rename is committed.
  const bool bWritten = WriteAll(nFd, sText) == sText.size();
  const bool bClosed = ::close(nFd) == 0;
  if (!bWritten || !bClosed || ::rename(sTemp.c_str(), sPath.c_str()) != 0) {
    ::unlink(sTemp.c_str());
    return false;
  }
  return true;
}

}  // namespace qv
