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

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kMaxCachedFiles = 16;
constexpr size_t kReadChunk = size_t{64} * 1024;
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

// A value that the reader's trim or quote stripping would change is stored
// in double quotes, which the reader (and Windows) strip again.
bool NeedsQuotes(std::string_view s) { return Trim(s).size() != s.size() || StripQuotes(s).size() != s.size(); }

void AppendUtf8(std::string& sOut, uint32_t nCode) {
  if (nCode < 0x80) {
    sOut.push_back(static_cast<char>(nCode));
  } else if (nCode < 0x800) {
    sOut.push_back(static_cast<char>(0xC0 | (nCode >> 6)));
    sOut.push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
  } else if (nCode < 0x10000) {
    sOut.push_back(static_cast<char>(0xE0 | (nCode >> 12)));
    sOut.push_back(static_cast<char>(0x80 | ((nCode >> 6) & 0x3F)));
    sOut.push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
  } else {
    sOut.push_back(static_cast<char>(0xF0 | (nCode >> 18)));
    sOut.push_back(static_cast<char>(0x80 | ((nCode >> 12) & 0x3F)));
    sOut.push_back(static_cast<char>(0x80 | ((nCode >> 6) & 0x3F)));
    sOut.push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
  }
}

// UTF-16 (its byte order mark included) as UTF-8, whose byte order mark the
// parser skips like any other.  FALSE when the bytes are no well-formed
// UTF-16 (an odd length, a lone surrogate): sOut then holds U+FFFD in their
// place, and the text could not be written back unchanged.
bool Utf16ToUtf8(std::string_view sBytes, bool bBigEndian, std::string& sOut) {
  sOut.clear();
  sOut.reserve(sBytes.size() + sBytes.size() / 2);
  bool bWhole = sBytes.size() % 2 == 0;
  const size_t nUnits = sBytes.size() / 2;
  auto Unit = [&](size_t i) {
    const auto nA = static_cast<unsigned char>(sBytes[2 * i]), nB = static_cast<unsigned char>(sBytes[2 * i + 1]);
    return static_cast<uint32_t>(bBigEndian ? (nA << 8 | nB) : (nB << 8 | nA));
  };
  for (size_t i = 0; i < nUnits; ++i) {
    uint32_t nCode = Unit(i);
    if (nCode >= 0xD800 && nCode < 0xDC00 && i + 1 < nUnits && Unit(i + 1) >= 0xDC00 && Unit(i + 1) < 0xE000) {
      nCode = 0x10000 + ((nCode - 0xD800) << 10) + (Unit(++i) - 0xDC00);
    } else if (nCode >= 0xD800 && nCode < 0xE000) {
      nCode = 0xFFFD;
      bWhole = false;
    }
    AppendUtf8(sOut, nCode);
  }
  if (sBytes.size() % 2 != 0) AppendUtf8(sOut, 0xFFFD);
  return bWhole;
}

// UTF-8 as UTF-16; FALSE when sText is no well-formed UTF-8.
bool Utf8ToUtf16(std::string_view sText, bool bBigEndian, std::string& sOut) {
  sOut.clear();
  sOut.reserve(sText.size() * 2);
  auto Put = [&](uint32_t nUnit) {
    const char cHigh = static_cast<char>(nUnit >> 8), cLow = static_cast<char>(nUnit & 0xFF);
    sOut.push_back(bBigEndian ? cHigh : cLow);
    sOut.push_back(bBigEndian ? cLow : cHigh);
  };
  for (size_t i = 0; i < sText.size();) {
    const auto c = static_cast<unsigned char>(sText[i]);
    const size_t nLength = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (nLength == 0 || i + nLength > sText.size()) return false;
    uint32_t nCode = nLength == 1 ? c : c & (0xFFu >> (nLength + 1));
    for (size_t k = 1; k < nLength; ++k) {
      const auto cNext = static_cast<unsigned char>(sText[i + k]);
      if ((cNext & 0xC0) != 0x80) return false;
      nCode = nCode << 6 | (cNext & 0x3F);
    }
    constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (nCode < kSmallest[nLength] || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode < 0xE000)) return false;
    if (nCode >= 0x10000) {
      Put(0xD800 + ((nCode - 0x10000) >> 10));
      Put(0xDC00 + ((nCode - 0x10000) & 0x3FF));
    } else {
      Put(nCode);
    }
    i += nLength;
  }
  return true;
}

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

  std::string sText;  // the text as UTF-8 when the file is UTF-16
  Encoding eEncoding = Encoding::kBytes;
  bool bWritable = true;  // the text encodes back to the file's bytes
  std::vector<Line> aLines;
  std::unordered_map<std::string, Section> mSections;  // folded name -> first section of that name

  explicit ParsedFile(std::string sContent, Encoding eFileEncoding = Encoding::kBytes, bool bCanWrite = true)
      : sText(std::move(sContent)), eEncoding(eFileEncoding), bWritable(bCanWrite) {
    Parse();
  }

  bool LineEnded(size_t nLine) const { return aLines[nLine].nNext > aLines[nLine].nEnd; }

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
      // The last line gets its end, unless it has one or the file holds
      // nothing but its byte order mark.
      if (!s.empty() && s.back() != '\n' && s.back() != '\r' && s != kByteOrderMark) sOut.append(kLineEnd);
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
      // A line ends at CR LF, at a lone LF or at a lone CR.
      const size_t nBreak = s.find_first_of("\r\n", oLine.nBegin);
      oLine.nEnd = nBreak == std::string_view::npos ? s.size() : nBreak;
      oLine.nNext = nBreak == std::string_view::npos      ? s.size()
                    : s.compare(nBreak, 2, kLineEnd) == 0 ? nBreak + 2
                                                          : nBreak + 1;
      nPos = oLine.nNext;
      const size_t nLine = aLines.size();
      aLines.push_back(oLine);

      const std::string_view sContent = Trim(s.substr(oLine.nBegin, oLine.nEnd - oLine.nBegin));
      if (sContent.empty() || sContent.front() == ';') continue;
      if (sContent.front() == '[') {
        const size_t nClose = sContent.find(']');
        if (nClose != std::string_view::npos) {
          const auto [it, bNew] = mSections.try_emplace(Fold(Trim(sContent.substr(1, nClose - 1))), Section{nLine, {}});
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
      const size_t nValueBegin = sValue.empty() ? static_cast<size_t>(sContent.data() - s.data()) + nEqual + 1
                                                : static_cast<size_t>(sValue.data() - s.data());
      pSection->nLastKeyLine = nLine;
      pSection->mKeys.try_emplace(
          Fold(sKey), Key{nLine, nKeyBegin, nKeyBegin + sKey.size(), nValueBegin, nValueBegin + sValue.size()});
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
  if (s.empty()) return nDefault;  // as Windows, which reads the value as text first
  size_t i = 0;
  const bool bNegative = s[0] == '-';
  if (s[0] == '-' || s[0] == '+') ++i;
  if (i >= s.size() || s[i] < '0' || s[i] > '9') return 0;
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

bool IniProfiles::Refuse(std::string sWhy) {
  sLastWriteError_ = std::move(sWhy);
  return false;
}

bool IniProfiles::WriteString(std::string_view sSection, std::string_view sKey, std::string_view sValue,
                              std::string_view sFile) {
  sLastWriteError_.clear();
  sSection = Trim(sSection);
  sKey = Trim(sKey);
  // Refuse what would not read back as written or would break the lines
  // around it.
  if (sFile.empty()) return Refuse("no file name");
  if (sSection.empty() || sKey.empty()) return Refuse("an empty section or key name");
  if (HasLineBreak(sSection) || HasLineBreak(sKey) || HasLineBreak(sValue)) return Refuse("a line break");
  if (sSection.find(']') != std::string_view::npos) return Refuse("\"]\" in the section name");
  if (sKey.find('=') != std::string_view::npos) return Refuse("\"=\" in the key");
  if (sKey.front() == ';' || sKey.front() == '[') return Refuse("a key starting with \";\" or \"[\"");
  std::string sQuoted;
  if (NeedsQuotes(sValue)) {
    sQuoted.append("\"").append(sValue).append("\"");
    sValue = sQuoted;
  }

  std::string sPath = ResolvePath(sFile);
  // Through a symbolic link the linked file is rewritten, not the link.
  struct stat oLink {};
  if (::lstat(sPath.c_str(), &oLink) == 0 && S_ISLNK(oLink.st_mode)) {
    char aTarget[PATH_MAX];
    if (::realpath(sPath.c_str(), aTarget) != nullptr) sPath = aTarget;
  }

  const ParsedFile* pOld = nullptr;
  const LoadResult eLoad = Load(sPath, &pOld);
  // Never replace a file that could not be read.
  if (eLoad == LoadResult::kFailed) return Refuse("the file cannot be read: " + sPath);
  const bool bExists = eLoad == LoadResult::kLoaded;
  const ParsedFile oEmpty{std::string()};
  const ParsedFile& oOld = bExists ? *pOld : oEmpty;
  if (!oOld.bWritable) return Refuse("the file is no well-formed UTF-16 and would be corrupted: " + sPath);
  std::string sNew = oOld.WithKey(sSection, sKey, sValue);
  if (bExists && sNew == pOld->sText) return true;
  const Encoding eEncoding = oOld.eEncoding;
  std::string sBytes;
  if (eEncoding != Encoding::kBytes && !Utf8ToUtf16(sNew, eEncoding == Encoding::kUtf16Be, sBytes)) {
    return Refuse("a name or value that is no UTF-8 cannot go into the UTF-16 file " + sPath);
  }

  if (!WriteFileAtomically(sPath, eEncoding == Encoding::kBytes ? std::string_view(sNew) : sBytes, bExists)) {
    mCache_.erase(sPath);
    return Refuse("the file cannot be written: " + sPath);
  }
  struct stat oStat {};
  if (::stat(sPath.c_str(), &oStat) == 0) {
    const FileStamp oStamp = StampOf(oStat);
    Remember(sPath, ParsedFile(std::move(sNew), eEncoding), oStamp, false);
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

  struct stat oStat {};
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
  const bool bTrusted = Nanoseconds(oNow.tv_sec, oNow.tv_nsec) -
                            Nanoseconds(oStamp.nModifiedSec, oStamp.nModifiedNsec) >
                        kTimestampSlackNs;
  // A UTF-16 file is parsed as UTF-8.
  Encoding eEncoding = Encoding::kBytes;
  if (sText.starts_with("\xFF\xFE")) eEncoding = Encoding::kUtf16Le;
  if (sText.starts_with("\xFE\xFF")) eEncoding = Encoding::kUtf16Be;
  bool bWritable = true;
  if (eEncoding != Encoding::kBytes) {
    bWritable = Utf16ToUtf8(sText, eEncoding == Encoding::kUtf16Be, sDecodeBuffer_);
    sText.swap(sDecodeBuffer_);
  }
  if (pCached != nullptr && pCached->oFile.sText == sText && pCached->oFile.eEncoding == eEncoding &&
      pCached->oFile.bWritable == bWritable) {  // same content: keep the parse
    pCached->oStamp = oStamp;
    pCached->bTrusted = bTrusted;
    *ppFile = &pCached->oFile;
    return LoadResult::kLoaded;
  }
  *ppFile = Remember(sPath, ParsedFile(std::exchange(sText, std::string()), eEncoding, bWritable), oStamp, bTrusted);
  return LoadResult::kLoaded;
}

const IniProfiles::ParsedFile* IniProfiles::Remember(const std::string& sPath, ParsedFile oFile,
                                                     const FileStamp& oStamp, bool bTrusted) {
  if (mCache_.size() >= kMaxCachedFiles && mCache_.find(sPath) == mCache_.end()) mCache_.clear();
  auto pEntry = std::make_unique<CacheEntry>(CacheEntry{std::move(oFile), oStamp, bTrusted});
  const ParsedFile* pFile = &pEntry->oFile;
  mCache_[sPath] = std::move(pEntry);
  return pFile;
}

bool IniProfiles::WriteFileAtomically(const std::string& sPath, std::string_view sText, bool bExists) {
  struct stat oOld {};
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
