// SPDX-License-Identifier: Apache-2.0
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

namespace {

// Calls fnFound(i) for each place i in [nFrom, nTo) at which sKey begins,
// in order, until it returns true, and returns that place; npos when none
// does.  sKey is not empty and nTo is at most sText.size() - sKey.size() + 1.
template <class F>
size_t FindPlaces(std::string_view sText, std::string_view sKey, size_t nFrom, size_t nTo, const F& fnFound) {
  const char* const p = sText.data();
  const size_t nKey = sKey.size();
  if (nKey == 1) {
    for (size_t i = nFrom; i < nTo; ++i) {
      const void* pAt = std::memchr(p + i, sKey[0], nTo - i);
      if (pAt == nullptr) break;
      i = static_cast<size_t>(static_cast<const char*>(pAt) - p);
      if (fnFound(i)) return i;
    }
    return std::string_view::npos;
  }
  // Whether the key's inner bytes stand at a place whose first and last
  // bytes match.  Keys are short: a loop costs less than a call.
  const auto Matches = [&](size_t i) {
    for (size_t k = 1; k + 1 < nKey; ++k) {
      if (p[i + k] != sKey[k]) return false;
    }
    return fnFound(i);
  };
  size_t i = nFrom;
#if defined(__SSE2__)
  const __m128i vFirst = _mm_set1_epi8(sKey.front());
  const __m128i vLast = _mm_set1_epi8(sKey.back());
  // The places among the 16 from p + nAt whose first and last bytes match,
  // one bit each.
  const auto Candidates = [&](size_t nAt) -> uint64_t {
    const __m128i vAtFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + nAt));
    const __m128i vAtLast = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + nAt + nKey - 1));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(vAtFirst, vFirst), _mm_cmpeq_epi8(vAtLast, vLast))));
  };
  const auto FirstOf = [&](size_t nAt, uint64_t nMask) -> size_t {
    for (; nMask != 0; nMask &= nMask - 1) {
      const size_t nPlace = nAt + static_cast<size_t>(std::countr_zero(nMask));
      if (Matches(nPlace)) return nPlace;
    }
    return std::string_view::npos;
  };
  // 64 places a round while nothing matches, which is most of a text.
  for (; i + 64 <= nTo; i += 64) {
    const uint64_t nMask = Candidates(i) | Candidates(i + 16) << 16 | Candidates(i + 32) << 32 |
                           Candidates(i + 48) << 48;
    if (nMask == 0) continue;
    if (const size_t nFound = FirstOf(i, nMask); nFound != std::string_view::npos) return nFound;
  }
  for (; i + 16 <= nTo; i += 16) {
    if (const size_t nFound = FirstOf(i, Candidates(i)); nFound != std::string_view::npos) return nFound;
  }
#endif
  for (; i < nTo; ++i) {
    if (p[i] == sKey.front() && p[i + nKey - 1] == sKey.back() && Matches(i)) return i;
  }
  return std::string_view::npos;
}

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
  return FindPlaces(sText, sKey, nFrom, nEnd, [](size_t) { return true; });
}

void RtStrFindAll(std::string_view sText, std::string_view sKey, size_t nFrom, size_t nTo,
                  std::vector<int64_t>& aPlaces) {
  nTo = std::min(nTo, PlacesEnd(sText, sKey));
  if (sKey.empty() || nFrom >= nTo) return;
  FindPlaces(sText, sKey, nFrom, nTo, [&aPlaces](size_t i) {
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
