// SPDX-License-Identifier: Apache-2.0
#include "framework/window_services.h"

#include "core/runtime.h"
#include "core/toolkit.h"

namespace qv {

bool IsTableWindow(Module& m, WindowHandle hWnd) { return RtGetObjectType(m, hWnd) == fw::kTypeTableWindow; }

Number ApplyFontSettings(Module& m, WindowHandle hWnd) {
  Globals& g = m.G();
  if (g.sFontName.empty()) return Number::Null();
  const Number nSize = IsTableWindow(m, hWnd) ? g.nFontSize - 1 : g.nFontSize;
  RtSetFont(m, hWnd, g.sFontName, nSize, g.nFontEnhancement);
  RtSetColor(m, hWnd, fw::kColorWindowText, g.nFontColor);
  g.nOutlineFont = Number(VtCreateFont(m, g.sFontName, g.nFontSize, g.nFontEnhancement));
  if (!(g.nBkgdColor == g.nFontColor)) RtSetColor(m, hWnd, fw::kColorWindowBackground, g.nBkgdColor);
  return Number::Null();
}

bool IsStandardFWObject(Module& m, WindowHandle hWnd) {
  const int64_t nType = RtGetObjectType(m, hWnd);
  for (const int64_t nStandard : fw::kTypeStandardObjects) {
    if (nType == nStandard) return true;
  }
  return false;
}

bool IsFrameworkObject(Module& m, WindowHandle hWnd) { return IsStandardFWObject(m, hWnd); }

bool IsUnnamedWindow(Module& m, WindowHandle hWnd) {
  if (hWnd == RtNullWindow(m)) return false;
  return RtGetItemName(m, hWnd).empty();
}

int32_t CallHostCommand(Module& m, int32_t nValue) { return RtHostCommand(m, nValue, 0, 0); }

Number GetQueriedCount(Module& m, int32_t nValue) {
  int32_t nA = 0;
  int32_t nB = 0;
  int32_t nC = 0;
  RtQueryThreeNumbers(m, nValue, nA, nB, nC);
  // Widened before adding, so that the largest 32-bit value does not wrap.
  return Number(static_cast<int64_t>(nC) + 1);
}

}  // namespace qv
