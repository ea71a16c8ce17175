// SPDX-License-Identifier: Apache-2.0
// The byte searches and copies the lexer, the parser and the runtime's
// string search spend most of their time in.  Each has two paths: a plain loop over the bytes, and, where the
// machine has SSE2 (every x86-64, and the 32-bit Windows build), one that
// looks at 16 bytes at a time and leaves the last few bytes to the loop.
// The code uses the fastest path (kFastest); both are compiled into every
// build that has SSE2, so that the unit tests hold one against the other.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv::byte_scan {

enum class Path { kScalar, kSse2 };
#if defined(__SSE2__)
inline constexpr Path kFastest = Path::kSse2;
#else
inline constexpr Path kFastest = Path::kScalar;
#endif

// The first position from i on whose byte is one of kBytes; the text's
// length when there is none.  The stretches between the bytes the lexer
// stops at are most of a text.
template <Path kPath, char... kBytes>
size_t FindAny(std::string_view s, size_t i) {
  const size_t n = s.size();
  const char* p = s.data();
#if defined(__SSE2__)
  if constexpr (kPath == Path::kSse2) {
    while (i + 16 <= n) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      __m128i vHits = _mm_setzero_si128();
      ((vHits = _mm_or_si128(vHits, _mm_cmpeq_epi8(v, _mm_set1_epi8(kBytes)))), ...);
      const auto nMask = static_cast<unsigned>(_mm_movemask_epi8(vHits));
      if (nMask != 0) return i + static_cast<size_t>(std::countr_zero(nMask));
      i += 16;
    }
  }
#endif
  for (; i < n; ++i) {
    if (((p[i] == kBytes) || ...)) return i;
  }
  return n;
}

// The first position from i on that holds "*/" or a backslash (which may
// start an escape for either); the text's length when there is none.
template <Path kPath>
size_t FindCommentClose(std::string_view s, size_t i) {
  const size_t n = s.size();
  const char* p = s.data();
#if defined(__SSE2__)
  if constexpr (kPath == Path::kSse2) {
    const __m128i vStar = _mm_set1_epi8('*');
    const __m128i vSlash = _mm_set1_epi8('/');
    const __m128i vBackslash = _mm_set1_epi8('\\');
    while (i + 17 <= n) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      const __m128i vNext = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
      const __m128i vClose = _mm_and_si128(_mm_cmpeq_epi8(v, vStar), _mm_cmpeq_epi8(vNext, vSlash));
      const auto nMask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(vClose, _mm_cmpeq_epi8(v, vBackslash))));
      if (nMask != 0) return i + static_cast<size_t>(std::countr_zero(nMask));
      i += 16;
    }
  }
#endif
  for (; i < n; ++i) {
    if (p[i] == '\\' || (p[i] == '*' && i + 1 < n && p[i + 1] == '/')) return i;
  }
  return n;
}

// The line ends of a text: how many LF bytes it holds, and whether it
// holds any CR.
struct LineEnds {
  size_t nLf = 0;
  bool bCr = false;
};

// The line ends of p[0 .. n), in one pass.  On the SSE2 path each compare
// leaves -1 in the lanes that hold an LF; subtracting it counts per lane,
// and the lane counts are summed before any of them can pass 255.  This
// needs no population count, which plain x86-64 lacks an instruction for.
template <Path kPath>
LineEnds CountLineEnds(const char* p, size_t n) {
  LineEnds ends;
  size_t i = 0;
#if defined(__SSE2__)
  if constexpr (kPath == Path::kSse2) {
    constexpr size_t kBlocksPerSum = 255;
    const __m128i vLf = _mm_set1_epi8('\n');
    const __m128i vCr = _mm_set1_epi8('\r');
    const __m128i vZero = _mm_setzero_si128();
    __m128i vCrSeen = vZero;
    while (i + 16 <= n) {
      __m128i vCount = vZero;
      for (size_t k = 0; k < kBlocksPerSum && i + 16 <= n; ++k, i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        vCount = _mm_sub_epi8(vCount, _mm_cmpeq_epi8(v, vLf));
        vCrSeen = _mm_or_si128(vCrSeen, _mm_cmpeq_epi8(v, vCr));
      }
      const __m128i vSums = _mm_sad_epu8(vCount, vZero);
      ends.nLf += static_cast<size_t>(_mm_cvtsi128_si32(vSums)) + static_cast<size_t>(_mm_extract_epi16(vSums, 4));
    }
    ends.bCr = _mm_movemask_epi8(vCrSeen) != 0;
  }
#endif
  for (; i < n; ++i) {
    ends.nLf += p[i] == '\n' ? 1U : 0U;
    ends.bCr = ends.bCr || p[i] == '\r';
  }
  return ends;
}

// Copies p[0 .. n) to pOut with every LF written as CR LF; pOut holds
// exactly n bytes and one more for each LF.  The SSE2 path copies 16 bytes
// at a time and stops after each LF: every 16-byte store ends within the
// output, since the input it copies lies before the end.
//
// bInPlace: the output lies in the input's memory, at least as many bytes
// before the input as LF bytes are still to come, so that it never
// overtakes the input.  A 16-byte store is then made only where it cannot
// reach input not yet read; closer than that, runs up to the next LF are
// moved whole.
template <Path kPath, bool bInPlace = false>
void CopyWithCrLf(const char* p, size_t n, char* pOut) {
  size_t i = 0;
#if defined(__SSE2__)
  if constexpr (kPath == Path::kSse2) {
    const __m128i vLf = _mm_set1_epi8('\n');
    while (i + 16 <= n) {
      if constexpr (bInPlace) {
        if (p + i - pOut < 16) {
          const void* pLf = std::memchr(p + i, '\n', n - i);
          const size_t nRun = pLf == nullptr ? n - i : static_cast<size_t>(static_cast<const char*>(pLf) - (p + i));
          std::memmove(pOut, p + i, nRun);
          pOut += nRun;
          i += nRun;
          if (i < n) {
            *pOut++ = '\r';
            *pOut++ = '\n';
            ++i;
          }
          continue;
        }
      }
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut), v);
      const auto nMask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, vLf)));
      if (nMask == 0) {
        i += 16;
        pOut += 16;
        continue;
      }
      const auto k = static_cast<size_t>(std::countr_zero(nMask));
      pOut[k] = '\r';
      pOut[k + 1] = '\n';
      pOut += k + 2;
      i += k + 1;
    }
  }
#endif
  for (; i < n; ++i) {
    if (p[i] == '\n') *pOut++ = '\r';
    *pOut++ = p[i];
  }
}

// Calls fnFound(i) for each place i in [nFrom, nTo) at which sKey begins,
// in order, until it returns true, and returns that place; npos when none
// does.  sKey is not empty and nTo is at most sText.size() - sKey.size() + 1.
template <Path kPath, class F>
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
  if constexpr (kPath == Path::kSse2) {
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
  }
#endif
  for (; i < nTo; ++i) {
    if (p[i] == sKey.front() && p[i + nKey - 1] == sKey.back() && Matches(i)) return i;
  }
  return std::string_view::npos;
}

}  // namespace qv::byte_scan
