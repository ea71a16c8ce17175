// SPDX-License-Identifier: Apache-2.0
// The host runtime's string operations, under the runtime's names.
//
// Strings are byte strings: positions and lengths count bytes, positions are
// 0-based and -1 means "not found".  Out-of-range positions are clipped: a
// start at or beyond the end yields the empty text, a length that runs past
// the end is cut at the end, a length of 0 or less (or a negative start)
// yields the empty text.  Searches compare bytes exactly.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/values.h"

namespace qv {

inline int64_t RtStrLength(std::string_view sText) { return static_cast<int64_t>(sText.size()); }

// The clipped substring as a view into sText: no copy.
std::string_view RtStrMidView(std::string_view sText, int64_t nStart, int64_t nLength);
// The clipped substring into sOut; returns its length.
int64_t RtStrMid(std::string_view sText, int64_t nStart, int64_t nLength, String& sOut);
inline String RtStrMidValue(std::string_view sText, int64_t nStart, int64_t nLength) {
  return String(RtStrMidView(sText, nStart, nLength));
}
String RtStrLeft(std::string_view sText, int64_t nLength);
String RtStrRight(std::string_view sText, int64_t nLength);
// Removes leading and trailing white space (blank, tab, CR, LF, VT, FF).
// Inner white space is kept as it is.
std::string_view RtStrTrimView(std::string_view sText);
inline String RtStrTrim(std::string_view sText) { return String(RtStrTrimView(sText)); }
// ASCII letters to upper case; other bytes unchanged.
String RtStrUpper(std::string_view sText);
// Position of the first occurrence of sKey in sText, or -1.  An empty key is
// found at position 0.
int64_t RtStrScan(std::string_view sText, std::string_view sKey);
// Position of the first occurrence of sKey in sText at or after nFrom, or
// std::string_view::npos: std::string_view::find, but for the short keys a
// parser looks for in long texts.  It tests 16 places at a time for the
// key's first and last byte, so a frequent first byte costs no call.
size_t RtStrFind(std::string_view sText, std::string_view sKey, size_t nFrom = 0);
// Appends to aPlaces every place in [nFrom, nTo) at which sKey begins,
// overlapping ones included, in ascending order.  An empty key is found
// nowhere.
void RtStrFindAll(std::string_view sText, std::string_view sKey, size_t nFrom, size_t nTo,
                  std::vector<int64_t>& aPlaces);
// Splits sText at every occurrence of any character of sDelimiters and stores
// the pieces in aPieces from index 0 (elements above the pieces are kept).
// Empty pieces between delimiters count; the empty piece after a final
// delimiter does not, so "a;b;" and "a;b" both give two pieces and "" none.
// sStartDelimiters is accepted for the runtime's signature; the library
// always passes the empty text.  Returns the number of pieces.
int64_t RtStrTokenize(std::string_view sText, std::string_view sStartDelimiters, std::string_view sDelimiters,
                      DynArray<String>& aPieces);
// The one-byte text with this character code (taken modulo 256).
String RtCharToStr(int64_t nCode);

// Number of elements of an array; stores the bounds (0 and count - 1, so an
// empty array has bounds 0 and -1).
template <class T>
int64_t RtArrayBounds(const DynArray<T>& a, Number& nLower, Number& nUpper) {
  nLower = Number(0);
  nUpper = Number(a.Count() - 1);
  return a.Count();
}
template <class T>
int64_t RtArrayBounds(const DynArray<T>& a) {
  return a.Count();
}
// Sets the bounds of an array.  (-1, -1) empties it; other bounds resize it
// to nUpper + 1 elements.  Returns FALSE for bounds it cannot set.
template <class T>
bool RtSetArrayBounds(DynArray<T>& a, int64_t nLower, int64_t nUpper) {
  if (nLower == -1 && nUpper == -1) {
    a.Clear();
    return true;
  }
  if (nLower != 0 || nUpper < -1) return false;
  a.Items().resize(static_cast<size_t>(nUpper + 1));
  return true;
}

}  // namespace qv
