// SPDX-License-Identifier: Apache-2.0
// The external functions of the toolkit and of Windows, called through the
// module's function table (core/external.h): each call binds its entry on
// first use.  The entry points take the caller's Host first, so that a
// provider serves the call with the same files and windows the module uses.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/module.h"

namespace qv {

// The signature of each external function's entry point.
namespace ext {
using VtStrReplace = String (*)(const Host&, std::string_view sText, std::string_view sSearch,
                                std::string_view sReplacement);
using VtStrScanReverse = int64_t (*)(const Host&, std::string_view sText, int64_t nStart, std::string_view sKey);
using VtListSubdirectories = int64_t (*)(const Host&, std::string_view sPattern, DynArray<String>& aNames);
using VtListFiles = int64_t (*)(const Host&, std::string_view sPattern, int64_t nFlags, DynArray<String>& aNames);
using VtDirExists = bool (*)(const Host&, std::string_view sPath);
using VtFileCopy = bool (*)(const Host&, std::string_view sSource, std::string_view sTarget);
using VtFileRename = bool (*)(const Host&, std::string_view sOld, std::string_view sNew);
using VtArraySort = bool (*)(const Host&, DynArray<String>& a, int64_t nOrder, int64_t nType);
using VtArrayCopy = bool (*)(const Host&, const DynArray<String>& aSource, DynArray<String>& aTarget, int64_t nType);
using VtArrayFindString = int64_t (*)(const Host&, const DynArray<String>& a, std::string_view sText);
using VtCreateFont = int64_t (*)(const Host&, std::string_view sName, Number nSize, Number nEnhancement);
using WinIsWindow = bool (*)(const Host&, WindowHandle hWnd);
// The list control (the family of list operations is in core/list_calls.h).
using VtGetSelection = int32_t (*)(const Host&, WindowHandle hWnd);
using VtGetItemText = String (*)(const Host&, WindowHandle hWnd, int32_t nIndex);
using VtGetItemValue = int32_t (*)(const Host&, WindowHandle hWnd, int32_t nIndex);
using VtErrorPrompt = int32_t (*)(const Host&, std::string_view sCaption);
}  // namespace ext

template <class Fn>
Fn BindExternal(Module& m, ExternalFunction e) {
  return reinterpret_cast<Fn>(m.External(e));
}

// The text with every occurrence of sSearch replaced by sReplacement.
inline String VtStrReplace(Module& m, std::string_view sText, std::string_view sSearch, std::string_view sReplacement) {
  return BindExternal<ext::VtStrReplace>(m, ExternalFunction::VtStrReplace)(m.GetHost(), sText, sSearch, sReplacement);
}
// Position of the last occurrence of sKey that begins at or before nStart
// (nStart -1: anywhere), or -1.
inline int64_t VtStrScanReverse(Module& m, std::string_view sText, int64_t nStart, std::string_view sKey) {
  return BindExternal<ext::VtStrScanReverse>(m, ExternalFunction::VtStrScanReverse)(m.GetHost(), sText, nStart, sKey);
}
inline int64_t VtListSubdirectories(Module& m, std::string_view sPattern, DynArray<String>& aNames) {
  return BindExternal<ext::VtListSubdirectories>(m, ExternalFunction::VtListSubdirectories)(m.GetHost(), sPattern,
                                                                                            aNames);
}
inline int64_t VtListFiles(Module& m, std::string_view sPattern, int64_t nFlags, DynArray<String>& aNames) {
  return BindExternal<ext::VtListFiles>(m, ExternalFunction::VtListFiles)(m.GetHost(), sPattern, nFlags, aNames);
}
inline bool VtDirExists(Module& m, std::string_view sPath) {
  return BindExternal<ext::VtDirExists>(m, ExternalFunction::VtDirExists)(m.GetHost(), sPath);
}
inline bool VtFileCopy(Module& m, std::string_view sSource, std::string_view sTarget) {
  return BindExternal<ext::VtFileCopy>(m, ExternalFunction::VtFileCopy)(m.GetHost(), sSource, sTarget);
}
inline bool VtFileRename(Module& m, std::string_view sOld, std::string_view sNew) {
  return BindExternal<ext::VtFileRename>(m, ExternalFunction::VtFileRename)(m.GetHost(), sOld, sNew);
}
// Sorts a String array in ascending toolkit order (nOrder 0, nType 5).
inline bool VtArraySort(Module& m, DynArray<String>& a, int64_t nOrder, int64_t nType) {
  return BindExternal<ext::VtArraySort>(m, ExternalFunction::VtArraySort)(m.GetHost(), a, nOrder, nType);
}
// Appends the elements of aSource behind those of aTarget.
inline bool VtArrayCopy(Module& m, const DynArray<String>& aSource, DynArray<String>& aTarget, int64_t nType) {
  return BindExternal<ext::VtArrayCopy>(m, ExternalFunction::VtArrayCopy)(m.GetHost(), aSource, aTarget, nType);
}
// Index of the first element equal to sText, or -1.
inline int64_t VtArrayFindString(Module& m, const DynArray<String>& a, std::string_view sText) {
  return BindExternal<ext::VtArrayFindString>(m, ExternalFunction::VtArrayFindString)(m.GetHost(), a, sText);
}
// A toolkit font with this face, point size and enhancement (bold, italic,
// ... flags): a non-zero font handle, 0 when none could be made.
inline int64_t VtCreateFont(Module& m, std::string_view sName, Number nSize, Number nEnhancement) {
  return BindExternal<ext::VtCreateFont>(m, ExternalFunction::VtCreateFont)(m.GetHost(), sName, nSize, nEnhancement);
}
// The list control: the index of the selected item, -1 when none.
inline int32_t VtGetSelection(Module& m, WindowHandle hWnd) {
  return BindExternal<ext::VtGetSelection>(m, ExternalFunction::VtGetSelection)(m.GetHost(), hWnd);
}
inline String VtGetItemText(Module& m, WindowHandle hWnd, int32_t nIndex) {
  return BindExternal<ext::VtGetItemText>(m, ExternalFunction::VtGetItemText)(m.GetHost(), hWnd, nIndex);
}
inline int32_t VtGetItemValue(Module& m, WindowHandle hWnd, int32_t nIndex) {
  return BindExternal<ext::VtGetItemValue>(m, ExternalFunction::VtGetItemValue)(m.GetHost(), hWnd, nIndex);
}
// The toolkit's error prompt for the operation that just failed: the button
// the user chose, 2 for cancel.
inline constexpr int32_t kPromptCancel = 2;
inline int32_t VtErrorPrompt(Module& m, std::string_view sCaption) {
  return BindExternal<ext::VtErrorPrompt>(m, ExternalFunction::VtErrorPrompt)(m.GetHost(), sCaption);
}

inline bool WinIsWindow(Module& m, WindowHandle hWnd) {
  return BindExternal<ext::WinIsWindow>(m, ExternalFunction::WinIsWindow)(m.GetHost(), hWnd);
}

}  // namespace qv
