// SPDX-License-Identifier: Apache-2.0
#include "source/text_utils.h"

#include "core/rt_string.h"

namespace qv {

std::string_view StrMidXView(std::string_view sSource, Number nPos, Number nLength) {
  return RtStrMidView(sSource, nPos.AsInt(), nLength.AsInt());
}

String StrMidX(std::string_view sSource, Number nPos, Number nLength) {
  return String(StrMidXView(sSource, nPos, nLength));
}

Number StrScanAt(std::string_view sSource, std::string_view sKey, Number nPos) {
  const std::string_view sTail = StrMidXView(sSource, nPos, Number(RtStrLength(sSource)));
  return Number(RtStrScan(sTail, sKey));
}

Number StrScanNext(std::string_view sSource, std::string_view sKey, Number nPos) {
  const Number nSkip = nPos + Number(RtStrLength(sKey));
  return nSkip + StrScanAt(sSource, sKey, nSkip);
}

Number StrInComment(std::string_view sSource, std::string_view sKey, Number nPos) {
  if (StrScanAt(sSource, sKey, nPos) == Number(-1)) return Number(-1);
  const Number nClose = StrScanAt(sSource, "*/", nPos);
  if (nClose == Number(-1)) return Number(0);
  const Number nOpen = StrScanAt(sSource, "/*", nPos);
  return Number(nClose < nOpen ? 1 : 0);
}

Number StrCommentType(std::string_view sText, Number& nStart, Number& nEnd) {
  const int64_t nSlash = RtStrScan(sText, "/");
  if (nSlash == -1) return Number(0);
  nStart = Number(nSlash);

  const std::string_view sNext = RtStrMidView(sText, nSlash + 1, 1);
  const std::string_view sAfter = RtStrMidView(sText, nSlash + 2, 1);
  int nType = 0;
  if (sNext == "/") {
    nType = 1;
  } else if (sNext == "*") {
    nType = sAfter == "*" ? 3 : 2;
  }

  const std::string_view sRest = RtStrMidView(sText, nSlash, RtStrLength(sText) - nSlash);
  nEnd = Number(RtStrScan(sRest, nType == 1 ? "\n" : "*/"));
  return Number(nType);
}

Number MakeLong(Number nLow, Number nHigh) { return BitOr(nHigh * Number(65536), nLow); }

}  // namespace qv
