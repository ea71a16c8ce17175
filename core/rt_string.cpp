// SPDX-License-Identifier: Apache-2.0
#include "core/rt_string.h"

#include <algorithm>

#include "core/byte_scan.h"

namespace qv {

std::string_view RtStrMidView(std::string_view sText, int64_t nStart, int64_t nLength) {
  const auto nSize = static_cast<int64_t>(sText.size());
  if (nStart < 0 || nStart >= nSize || nLength <= 0) return {};
  return sText.substr(static_cast<size_t>(nStart), static_cast<size_t>(std::min(nLength, nSize - nStart)));
}

int64_t RtStrMid(std::string_view sText, int64_t nStart, int64_t nLength, String& sOut) {
  sOut.assign(RtStrMidView(sText, nStart, nLength));
  return static_cast<int64_t>(sOut.size());
}

String RtStrLeft(std::string_view sText, int64_t nLength) { return String(RtStrMidView(sText, 0, nLength)); }

String RtStrRight(std::string_view sText, int64_t nLength) {
  const auto nSize = static_cast<int64_t>(sText.size());
  if (nLength <= 0) return {};
  if (nLength >= nSize) return String(sText);
  return String(sText.substr(static_cast<size_t>(nSize - nLength)));
}

std::string_view RtStrTrimView(std::string_view sText) {
  constexpr std::string_view kSpace = " \t\r\n\v\f";
  const size_t nFirst = sText.find_first_not_of(kSpace);
  if (nFirst == std::string_view::npos) return {};
  const size_t nLast = sText.find_last_not_of(kSpace);
  return sText.substr(nFirst, nLast - nFirst + 1);
}

String RtStrUpper(std::string_view sText) {
  String s(sText);
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

namespace {

// The end of the places at which sKey may begin in sText: 0 when it is
// longer than the text.
size_t PlacesEnd(std::string_view sText, std::string_view sKey) {
  return sKey.size() > sText.size() ? 0 : sText.size() - sKey.size() + 1;
}

}  // namespace

size_t RtStrFind(std::string_view sText, std::string_view sKey, size_t nFrom) {
  if (sKey.empty()) return nFrom <= sText.size() ? nFrom : std::string_view::npos;
  const size_t nEnd = PlacesEnd(sText, sKey);
  if (nFrom >= nEnd) return std::string_view::npos;
  return byte_scan::FindPlaces<byte_scan::kFastest>(sText, sKey, nFrom, nEnd, [](size_t) { return true; });
}

void RtStrFindAll(std::string_view sText, std::string_view sKey, size_t nFrom, size_t nTo,
                  std::vector<int64_t>& aPlaces) {
  nTo = std::min(nTo, PlacesEnd(sText, sKey));
  if (sKey.empty() || nFrom >= nTo) return;
  byte_scan::FindPlaces<byte_scan::kFastest>(sText, sKey, nFrom, nTo, [&aPlaces](size_t i) {
    aPlaces.push_back(static_cast<int64_t>(i));
    return false;
  });
}

int64_t RtStrScan(std::string_view sText, std::string_view sKey) {
  const size_t nPos = RtStrFind(sText, sKey);
  return nPos == std::string_view::npos ? -1 : static_cast<int64_t>(nPos);
}

int64_t RtStrTokenize(std::string_view sText, std::string_view /*sStartDelimiters*/, std::string_view sDelimiters,
                      DynArray<String>& aPieces) {
  int64_t nCount = 0;
  size_t nBegin = 0;
  while (nBegin < sText.size()) {
    const size_t nEnd = sDelimiters.empty() ? std::string_view::npos : sText.find_first_of(sDelimiters, nBegin);
    if (nEnd == std::string_view::npos) {
      aPieces.Set(nCount++, String(sText.substr(nBegin)));
      break;
    }
    aPieces.Set(nCount++, String(sText.substr(nBegin, nEnd - nBegin)));
    nBegin = nEnd + 1;
  }
  return nCount;
}

String RtCharToStr(int64_t nCode) { return String(1, static_cast<char>(static_cast<unsigned char>(nCode & 0xFF))); }

}  // namespace qv
