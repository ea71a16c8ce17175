// SPDX-License-Identifier: Apache-2.0
#include "repository/save_state.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cinttypes>
#include <cstdio>

namespace qv {
namespace {

constexpr std::string_view kFirstLine = "quorvane save state 1";
constexpr char kHex[] = "0123456789ABCDEF";

}  // namespace

uint64_t LineHash(std::string_view s) {
  uint64_t h = 14695981039346656037ULL;
  for (const char c : s) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ULL;
  }
  return h;
}

namespace {

void AppendEscaped(std::string& s, std::string_view sText) {
  for (const char c : sText) {
    if (c == '%' || c == '\t' || c == '\r' || c == '\n') {
      s += '%';
      s += kHex[static_cast<unsigned char>(c) >> 4U];
      s += kHex[static_cast<unsigned char>(c) & 0xFU];
    } else {
      s += c;
    }
  }
}

bool Unescape(std::string_view s, std::string& sOut) {
  if (s.find('%') == std::string_view::npos) {
    sOut.assign(s);
    return true;
  }
  sOut.clear();
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      sOut += s[i];
      continue;
    }
    unsigned n = 0;
    if (i + 2 >= s.size()) return false;
    const auto [p, ec] = std::from_chars(s.data() + i + 1, s.data() + i + 3, n, 16);
    if (ec != std::errc() || p != s.data() + i + 3) return false;
    sOut += static_cast<char>(n);
    i += 2;
  }
  return true;
}

void AppendStamp(std::string& s, const FileStamp& stamp) {
  s += std::to_string(stamp.nSize) + ' ' + std::to_string(stamp.nModifiedNs) + ' ' + std::to_string(stamp.nInode) +
       ' ' + std::to_string(stamp.nDevice);
}

// Reads a whole number of type T from s (all of it).
template <class T>
bool Whole(std::string_view s, T& n) {
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
  return ec == std::errc() && p == s.data() + s.size();
}

bool ReadStamp(std::string_view s, FileStamp& stamp) {
  std::string_view aParts[4];
  for (size_t k = 0; k < 4; ++k) {
    const size_t nEnd = k == 3 ? s.size() : s.find(' ');
    if (nEnd == std::string_view::npos) return false;
    aParts[k] = s.substr(0, nEnd);
    s.remove_prefix(k == 3 ? nEnd : nEnd + 1);
  }
  return Whole(aParts[0], stamp.nSize) && Whole(aParts[1], stamp.nModifiedNs) && Whole(aParts[2], stamp.nInode) &&
         Whole(aParts[3], stamp.nDevice);
}

// The tab-separated fields of a line, up to kMaxFields; FALSE when it has
// not exactly nCount of them.
constexpr size_t kMaxFields = 9;
using LineFields = std::array<std::string_view, kMaxFields>;
bool Fields(std::string_view sLine, size_t nCount, LineFields& a) {
  for (size_t k = 0; k < nCount; ++k) {
    const size_t nTab = sLine.find('\t');
    a[k] = sLine.substr(0, nTab);
    if (nTab == std::string_view::npos) return k + 1 == nCount;
    sLine.remove_prefix(nTab + 1);
  }
  return false;
}

// A number in hex, all of s.
bool WholeHex(std::string_view s, uint64_t& n) {
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n, 16);
  return ec == std::errc() && p == s.data() + s.size();
}

bool ReadSource(std::string_view sLine, SourceStamp& s) {
  int nState = 0;
  int nKind = 0;
  LineFields a;
  if (!Fields(sLine, 9, a) || a[0] != "source" || !ReadStamp(a[1], s.source) || !Whole(a[2], nState) ||
      !Whole(a[3], nKind) || !Whole(a[4], s.nLine) || !WholeHex(a[5], s.nLineHash) || !ReadStamp(a[6], s.method) ||
      !Unescape(a[7], s.sPackage) || !Unescape(a[8], s.sPath)) {
    return false;
  }
  if (nState < static_cast<int>(SourceState::kParsed) || nState > static_cast<int>(SourceState::kBinary)) return false;
  if (nKind < static_cast<int>(JavaKind::kNone) || nKind > static_cast<int>(JavaKind::kAnnotation)) return false;
  s.eState = static_cast<SourceState>(nState);
  s.eKind = static_cast<JavaKind>(nKind);
  return s.nLine >= -1 && !s.sPath.empty();
}

}  // namespace

std::string FormatSaveState(const SaveState& state) {
  std::string s(kFirstLine);
  s += "\nsettings\t";
  AppendEscaped(s, state.sSettings);
  s += "\nlist\t";
  AppendStamp(s, state.classList);
  s += '\n';
  for (const SourceStamp& source : state.aSources) {
    s += "source\t";
    AppendStamp(s, source.source);
    s += '\t' + std::to_string(static_cast<int>(source.eState)) + '\t' +
         std::to_string(static_cast<int>(source.eKind)) + '\t' + std::to_string(source.nLine) + '\t';
    char aHash[24];
    std::snprintf(aHash, sizeof aHash, "%" PRIX64 "\t", source.nLineHash);
    s += aHash;
    AppendStamp(s, source.method);
    s += '\t';
    AppendEscaped(s, source.sPackage);
    s += '\t';
    AppendEscaped(s, source.sPath);
    s += '\n';
  }
  char aEnd[64];
  std::snprintf(aEnd, sizeof aEnd, "end\t%zu\t%016" PRIX64 "\n", state.aSources.size(), LineHash(s));
  return s + aEnd;
}

bool ParseSaveState(std::string_view sText, SaveState& state) {
  state = {};
  // The end line: the count and the checksum of everything before it.
  if (sText.size() < 2 || sText.back() != '\n') return false;
  const size_t nEndLine = sText.rfind('\n', sText.size() - 2);
  if (nEndLine == std::string_view::npos) return false;
  const std::string_view sBody = sText.substr(0, nEndLine + 1);
  LineFields aEnd;
  size_t nCount = 0;
  uint64_t nChecksum = 0;
  if (!Fields(sText.substr(nEndLine + 1, sText.size() - nEndLine - 2), 3, aEnd) || aEnd[0] != "end" ||
      !Whole(aEnd[1], nCount)) {
    return false;
  }
  if (!WholeHex(aEnd[2], nChecksum) || nChecksum != LineHash(sBody)) return false;
  size_t nAt = 0;
  const auto NextLine = [&](std::string_view& sLine) {
    if (nAt >= sBody.size()) return false;
    const size_t nEnd = sBody.find('\n', nAt);
    sLine = sBody.substr(nAt, nEnd - nAt);
    nAt = nEnd + 1;
    return true;
  };
  std::string_view sLine;
  if (!NextLine(sLine) || sLine != kFirstLine) return false;
  if (!NextLine(sLine)) return false;
  LineFields a;
  if (!Fields(sLine, 2, a) || a[0] != "settings" || !Unescape(a[1], state.sSettings)) return false;
  if (!NextLine(sLine)) return false;
  if (!Fields(sLine, 2, a) || a[0] != "list" || !ReadStamp(a[1], state.classList)) return false;
  // The count is outside input too: room for no more sources than lines.
  state.aSources.reserve(std::min(nCount, static_cast<size_t>(std::count(sBody.begin(), sBody.end(), '\n'))));
  int64_t nLines = 0;  // the classes' lines are numbered in order
  while (NextLine(sLine)) {
    SourceStamp& source = state.aSources.emplace_back();
    if (!ReadSource(sLine, source) || (source.nLine >= 0 && source.nLine != nLines++)) return false;
  }
  return state.aSources.size() == nCount;
}

}  // namespace qv
