// SPDX-License-Identifier: Apache-2.0
#include "host/ini/ini_document.h"

#include <limits>
#include <utility>

#include "core/host.h"
#include "host/shared/utf16.h"

namespace qv {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// A value that the reader's trim or quote stripping would change is stored
// in double quotes, which the reader (and Windows) strip again.
bool NeedsQuotes(std::string_view s) { return Trim(s).size() != s.size() || StripQuotes(s).size() != s.size(); }

}  // namespace

IniDocument::IniDocument(std::string sBytes) {
  if (sBytes.starts_with("\xFF\xFE")) eEncoding_ = Encoding::kUtf16Le;
  if (sBytes.starts_with("\xFE\xFF")) eEncoding_ = Encoding::kUtf16Be;
  if (eEncoding_ == Encoding::kBytes) {
    sText_ = std::move(sBytes);
  } else {
    // Parsed as UTF-8, whose byte order mark the parser skips like any other.
    bWritable_ = Utf16ToUtf8(sBytes, eEncoding_ == Encoding::kUtf16Be, sText_);
    sBytes_ = std::move(sBytes);
  }
  Parse();
}

IniDocument::IniDocument(std::string sText, Encoding eEncoding, std::string sBytes)
    : sText_(std::move(sText)), sBytes_(std::move(sBytes)), eEncoding_(eEncoding) {
  Parse();
}

const IniDocument::Key* IniDocument::Find(std::string_view sSection, std::string_view sKey,
                                          const Section** ppSection) const {
  const auto itSection = mSections_.find(Fold(sSection));
  *ppSection = itSection == mSections_.end() ? nullptr : &itSection->second;
  if (*ppSection == nullptr) return nullptr;
  const auto itKey = itSection->second.mKeys.find(Fold(sKey));
  return itKey == itSection->second.mKeys.end() ? nullptr : &itKey->second;
}

std::optional<std::string_view> IniDocument::Get(std::string_view sSection, std::string_view sKey) const {
  const Section* pSection = nullptr;
  const Key* pKey = Find(Trim(sSection), Trim(sKey), &pSection);
  if (pKey == nullptr) return std::nullopt;
  return StripQuotes(std::string_view(sText_).substr(pKey->nValueBegin, pKey->nValueEnd - pKey->nValueBegin));
}

std::string IniDocument::Set(std::string_view sSection, std::string_view sKey, std::string_view sValue,
                             bool& bChanged) {
  bChanged = false;
  sSection = Trim(sSection);
  sKey = Trim(sKey);
  // Refuse what would not read back as written or would break the lines
  // around it.
  if (sSection.empty() || sKey.empty()) return "an empty section or key name";
  if (HasLineBreak(sSection) || HasLineBreak(sKey) || HasLineBreak(sValue)) return "a line break";
  if (sSection.find(']') != std::string_view::npos) return "\"]\" in the section name";
  if (sKey.find('=') != std::string_view::npos) return "\"=\" in the key";
  if (sKey.front() == ';' || sKey.front() == '[') return "a key starting with \";\" or \"[\"";
  if (!bWritable_) return "the file is no well-formed UTF-16 and would be corrupted";
  std::string sQuoted;
  if (NeedsQuotes(sValue)) {
    sQuoted.append("\"").append(sValue).append("\"");
    sValue = sQuoted;
  }
  std::string sNew = WithKey(sSection, sKey, sValue);
  if (sNew == sText_) return {};
  std::string sBytes;
  if (eEncoding_ != Encoding::kBytes && !Utf8ToUtf16(sNew, eEncoding_ == Encoding::kUtf16Be, sBytes)) {
    return "a name or value that is no UTF-8 cannot go into a UTF-16 file";
  }
  *this = IniDocument(std::move(sNew), eEncoding_, std::move(sBytes));
  bChanged = true;
  return {};
}

std::string IniDocument::WithKey(std::string_view sSection, std::string_view sKey, std::string_view sValue) const {
  const std::string_view s = sText_;
  std::string sOut;
  sOut.reserve(s.size() + sSection.size() + sKey.size() + sValue.size() + 8);
  const Section* pSection = nullptr;
  if (const Key* pKey = Find(sSection, sKey, &pSection)) {
    // Replaced in place: the key as the file spells it, the line's own end.
    const auto& oLine = aLines_[pKey->nLine];
    sOut.append(s.substr(0, oLine.nBegin));
    sOut.append(s.substr(pKey->nKeyBegin, pKey->nKeyEnd - pKey->nKeyBegin));
    sOut.push_back('=');
    sOut.append(sValue);
    sOut.append(s.substr(oLine.nEnd));
  } else if (pSection != nullptr) {
    // After the section's last key line (or its header).
    const size_t nAfter = pSection->nLastKeyLine;
    const size_t nAt = aLines_[nAfter].nNext;
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

void IniDocument::Parse() {
  const std::string_view s = sText_;
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
    const size_t nLine = aLines_.size();
    aLines_.push_back(oLine);

    const std::string_view sContent = Trim(s.substr(oLine.nBegin, oLine.nEnd - oLine.nBegin));
    if (sContent.empty() || sContent.front() == ';') continue;
    if (sContent.front() == '[') {
      const size_t nClose = sContent.find(']');
      if (nClose != std::string_view::npos) {
        const auto [it, bNew] = mSections_.try_emplace(Fold(Trim(sContent.substr(1, nClose - 1))), Section{nLine, {}});
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

int64_t ProfileInteger(std::string_view s, int64_t nDefault) {
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

}  // namespace qv
