#include "core/rt_string.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

size_t RtStrFind(std::string_view sText, std::string_view sKey, size_t nFrom) {
  const size_t nText = sText.size();
  const size_t nKey = sKey.size();
  if (nKey == 0) return nFrom <= nText ? nFrom : std::string_view::npos;
  if (nKey > nText || nFrom > nText - nKey) return std::string_view::npos;
  if (nKey == 1) {
    const void* p = std::memchr(sText.data() + nFrom, sKey[0], nText - nFrom);
    return p == nullptr ? std::string_view::npos : static_cast<size_t>(static_cast<const char*>(p) - sText.data());
  }
  const char* const p = sText.data();
  const size_t nEnd = nText - nKey + 1;  // the places a match may start before
  // Whether the key's inner bytes stand at a place whose first and last
  // bytes match.
  const auto InnerMatches = [&](size_t i) {
    return nKey == 2 || std::memcmp(p + i + 1, sKey.data() + 1, nKey - 2) == 0;
  };
  size_t i = nFrom;
#if defined(__SSE2__)
  const __m128i vFirst = _mm_set1_epi8(sKey.front());
  const __m128i vLast = _mm_set1_epi8(sKey.back());
  for (; i + 16 <= nEnd; i += 16) {
    const __m128i vAtFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i vAtLast = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + nKey - 1));
    auto nMask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(vAtFirst, vFirst), _mm_cmpeq_epi8(vAtLast, vLast))));
    while (nMask != 0) {
      const size_t nAt = i + static_cast<size_t>(std::countr_zero(nMask));
      if (InnerMatches(nAt)) return nAt;
      nMask &= nMask - 1;
    }
  }
#endif
  for (; i < nEnd; ++i) {
    if (p[i] == sKey.front() && p[i + nKey - 1] == sKey.back() && InnerMatches(i)) return i;
  }
  return std::string_view::npos;
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
