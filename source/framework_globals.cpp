#include "source/framework_globals.h"

#include "frame/rt_string.h"
#include "frame/runtime.h"
#include "frame/toolkit.h"

namespace qv {
namespace {

// How much of an item's name GetColumnName takes from the first kept
// character on.
constexpr int64_t kColumnNameLength = 32000;

bool IsTableWindow(Module& m, WindowHandle hWnd) { return RtGetObjectType(m, hWnd) == fw::kTypeTableWindow; }

// The shared work of the two list builders; sDefaultBindVar supplies the bind
// variable when sBindVar is empty.
template <class DefaultBindVar>
void AppendToBindList(Number nMode, String& sList, String& sBindList, std::string_view sColumn,
                      std::string_view sBindVar, DefaultBindVar sDefaultBindVar) {
  const bool bAssignment = nMode == Number(3);
  if (!sColumn.empty() && (nMode == Number(2) || bAssignment)) {
    const int64_t nDot = RtStrScan(sColumn, ".");
    if (nDot >= 0) sColumn = RtStrMidView(sColumn, nDot + 1, RtStrLength(sColumn));
  }
  String sDefault;
  if (sBindVar.empty()) {
    sDefault = sDefaultBindVar();
    sBindVar = sDefault;
  }

  sList += sList.empty() ? " " : ", ";
  sList += sColumn;
  if (bAssignment) {
    sList += " = ";
    sList += sBindVar;
    return;
  }
  if (!sBindList.empty()) sBindList += ", ";
  sBindList += sBindVar;
}

}  // namespace

Number SetWaitCursor(Module& m, bool bOn) {
  Number& nDepth = m.WaitCursorDepth();
  if (bOn) {
    RtWaitCursor(m, true);
    nDepth = nDepth + 1;
  } else if (nDepth > Number(0)) {
    nDepth = nDepth - 1;
    if (nDepth == Number(0)) RtWaitCursor(m, false);
  }
  return Number::Null();
}

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

String GetColumnName(Module& m) {
  const String sName = RtGetItemName(m, RtCurrentItem(m));
  const int64_t n = RtStrLength(sName);
  // Lower-case letters and "_" are the prefix; the first other character
  // (or the end of the name, which yields the empty text) starts the result.
  for (int64_t i = 0; i <= n; ++i) {
    const std::string_view c = RtStrMidView(sName, i, 1);
    if (RtStrUpper(c) == c && c != "_") return RtStrUpper(RtStrMidView(sName, i, kColumnNameLength));
  }
  return String();
}

String GetFieldBindVar(Module& m) { return ":" + RtGetItemName(m, RtCurrentItem(m)); }

String GetColumnBindVar(Module& m) {
  const WindowHandle hItem = RtCurrentItem(m);
  const String sName = RtGetItemName(m, hItem);
  if (IsTableWindow(m, RtGetParent(m, hItem))) {
    return ":" + RtGetItemName(m, RtCurrentForm(m)) + "." + sName;
  }
  return ":" + sName;
}

Number BuildColumnBindList(Module& m, Number nMode, String& sList, String& sBindList, std::string_view sColumn,
                           std::string_view sBindVar) {
  AppendToBindList(nMode, sList, sBindList, sColumn, sBindVar, [&m] { return GetColumnBindVar(m); });
  return Number::Null();
}

Number BuildFieldBindList(Module& m, std::string_view sColumn, std::string_view sBindVar, String& sList,
                          String& sBindList, Number nMode) {
  AppendToBindList(nMode, sList, sBindList, sColumn, sBindVar, [&m] { return GetFieldBindVar(m); });
  return Number::Null();
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
