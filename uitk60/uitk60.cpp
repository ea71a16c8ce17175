// SPDX-License-Identifier: Apache-2.0
// uitk60.dll: the UI toolkit library of the Windows build.  Every function
// the library binds from it is exported by ordinal only (uitk60.def, made
// from the function table in core/external.h), with the C interface of
// uitk60/uitk60.h.  Texts and listings use the system (FindFirstFileA,
// CopyFileA, MoveFileA); the list controls are the toolkit's own model
// (host/toolkit/toolkit_lists.*), kept for the process, which records every
// list operation and takes scripted answers; the named exports uitk_Lists...
// reach that record and those scripts.
#include "uitk60/uitk60.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "host/toolkit/toolkit_lists.h"

namespace {

// The toolkit's state for the process: its list controls, its fonts, and
// the storage of the text it handed out last.
struct Toolkit {
  qv::ToolkitLists lists;
  std::map<std::tuple<std::string, int32_t, int32_t>, int32_t> aFonts;
  std::string sNames;
};
Toolkit& TheToolkit() {
  static Toolkit toolkit;  // NOLINT: the toolkit library's one state, for the process
  return toolkit;
}

// A text result stays valid until the calling thread's next text call.
// Each thread has its own: the library cuts Java files on several threads
// at once, and a shared result would hand one thread another's text.
//
// The buffer is reached through a plain thread-local pointer and never
// freed: with a thread-local std::string, whose destructor the runtime
// runs when threads and the process end, the test program hung at its exit
// under Wine now and then.  What stays behind is one string per thread
// that ever asked.
const char* Hand(std::string s) {
  thread_local std::string* pText = nullptr;
  if (pText == nullptr) pText = new std::string();
  *pText = std::move(s);
  return pText->c_str();
}

int32_t List(const char* sPattern, const char** pNames, bool bDirectories) {
  Toolkit& t = TheToolkit();
  t.sNames.clear();
  int32_t nCount = 0;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(sPattern, &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string_view sName(found.cFileName);
      if (sName == "." || sName == "..") continue;
      const bool bDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (bDirectories != bDirectory) continue;
      if (bDirectory && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) continue;
      t.sNames.append(sName);
      t.sNames.push_back('\0');
      ++nCount;
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  *pNames = t.sNames.c_str();
  return nCount;
}

qv::ToolkitLists::Arg IntegerArg(int32_t n) { return {qv::ToolkitLists::Arg::kInteger, n, {}}; }

template <class Shape>
qv::ToolkitLists::Arg RecordArg(typename uitk::CArg<Shape>::Type a) {
  if constexpr (std::is_same_v<Shape, qv::listop::S>) {
    return {qv::ToolkitLists::Arg::kText, 0, qv::String(a)};
  } else if constexpr (std::is_same_v<Shape, qv::listop::SI>) {
    return {qv::ToolkitLists::Arg::kString, 0, qv::String(a)};
  } else if constexpr (std::is_same_v<Shape, qv::listop::R>) {
    return {qv::ToolkitLists::Arg::kReceive, *a, {}};
  } else {
    return IntegerArg(a);
  }
}

std::vector<int32_t> Values(const int32_t* pValues, size_t nCount) {
  return pValues == nullptr ? std::vector<int32_t>() : std::vector<int32_t>(pValues, pValues + nCount);
}

template <class Shape>
void CollectReceive(std::vector<int32_t*>& aReceives, typename uitk::CArg<Shape>::Type a) {
  if constexpr (std::is_same_v<Shape, qv::listop::R>) aReceives.push_back(a);
}

// A list operation: recorded and answered by the model.
template <int32_t Ordinal, class Result, class... Shapes>
typename uitk::CResult<Result>::Type Answer(bool bOwnWindow, uint32_t hWnd, typename uitk::CArg<Shapes>::Type... args) {
  qv::ToolkitLists& lists = TheToolkit().lists;
  qv::ToolkitLists::Call call{Ordinal, bOwnWindow, qv::WindowHandle{hWnd}, {RecordArg<Shapes>(args)...}};
  if constexpr (std::is_same_v<Result, qv::listop::Str>) {
    return Hand(lists.ServeText(std::move(call)));
  } else {
    std::vector<int32_t*> aReceives;
    (CollectReceive<Shapes>(aReceives, args), ...);
    return lists.Serve(std::move(call), aReceives);
  }
}

template <int32_t Ordinal, class Window, class Result, class... Shapes>
struct ListEntry;
template <int32_t Ordinal, class Result, class... Shapes>
struct ListEntry<Ordinal, qv::listop::Win, Result, Shapes...> {
  static typename uitk::CResult<Result>::Type Call(uint32_t hWnd, typename uitk::CArg<Shapes>::Type... args) {
    return Answer<Ordinal, Result, Shapes...>(true, hWnd, args...);
  }
};
template <int32_t Ordinal, class Result, class... Shapes>
struct ListEntry<Ordinal, qv::listop::NoWin, Result, Shapes...> {
  static typename uitk::CResult<Result>::Type Call(typename uitk::CArg<Shapes>::Type... args) {
    return Answer<Ordinal, Result, Shapes...>(false, 0, args...);
  }
};

}  // namespace

extern "C" {

const char* uitk_VtStrReplace(const char* sText, const char* sSearch, const char* sReplacement) {
  const std::string_view text(sText), search(sSearch);
  if (search.empty()) return Hand(std::string(text));
  std::string sOut;
  size_t nFrom = 0;
  for (size_t nAt = text.find(search); nAt != std::string_view::npos; nAt = text.find(search, nFrom)) {
    sOut.append(text, nFrom, nAt - nFrom);
    sOut.append(sReplacement);
    nFrom = nAt + search.size();
  }
  sOut.append(text.substr(nFrom));
  return Hand(std::move(sOut));
}

int32_t uitk_VtStrScanReverse(const char* sText, int32_t nStart, const char* sKey) {
  const std::string_view text(sText);
  const size_t nFrom = nStart >= 0 ? static_cast<size_t>(nStart) : std::string_view::npos;
  const size_t nAt = text.rfind(sKey, nFrom);
  return nAt == std::string_view::npos ? -1 : static_cast<int32_t>(nAt);
}

int32_t uitk_VtListSubdirectories(const char* sPattern, const char** pNames) { return List(sPattern, pNames, true); }
int32_t uitk_VtListFiles(const char* sPattern, int32_t /*nFlags*/, const char** pNames) {
  return List(sPattern, pNames, false);
}

int32_t uitk_VtDirExists(const char* sPath) {
  const DWORD n = GetFileAttributesA(sPath);
  return n != INVALID_FILE_ATTRIBUTES && (n & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 1 : 0;
}
int32_t uitk_VtFileCopy(const char* sSource, const char* sTarget) { return CopyFileA(sSource, sTarget, FALSE) ? 1 : 0; }
int32_t uitk_VtFileRename(const char* sOld, const char* sNew) { return MoveFileA(sOld, sNew) ? 1 : 0; }

int32_t uitk_VtArraySort(const char** aTexts, int32_t nCount, int32_t nOrder, int32_t /*nType*/) {
  std::stable_sort(aTexts, aTexts + nCount, [](const char* a, const char* b) { return qv::ToolkitLess(a, b); });
  if (nOrder != 0) std::reverse(aTexts, aTexts + nCount);
  return 1;
}
int32_t uitk_VtArrayCopy(const char* const* aSource, int32_t nSource, const char** aTarget, int32_t /*nType*/) {
  std::copy(aSource, aSource + nSource, aTarget);
  return nSource;
}
int32_t uitk_VtArrayFindString(const char* const* aTexts, int32_t nCount, const char* sText) {
  for (int32_t i = 0; i < nCount; ++i) {
    if (std::string_view(aTexts[i]) == sText) return i;
  }
  return -1;
}

// Fonts: one handle per distinct face, size and enhancement.
int32_t uitk_VtCreateFont(const char* sName, int32_t nSize, int32_t nEnhancement) {
  auto& aFonts = TheToolkit().aFonts;
  const auto key = std::make_tuple(std::string(sName), nSize, nEnhancement);
  const auto it = aFonts.find(key);
  if (it != aFonts.end()) return it->second;
  const auto nHandle = static_cast<int32_t>(aFonts.size() + 1);
  aFonts.emplace(key, nHandle);
  return nHandle;
}

int32_t uitk_VtGetSelection(uint32_t hWnd) { return TheToolkit().lists.Serve({94, true, qv::WindowHandle{hWnd}, {}}); }
const char* uitk_VtGetItemText(uint32_t hWnd, int32_t nIndex) {
  return Hand(TheToolkit().lists.ServeText({87, true, qv::WindowHandle{hWnd}, {IntegerArg(nIndex)}}));
}
int32_t uitk_VtGetItemValue(uint32_t hWnd, int32_t nIndex) {
  return TheToolkit().lists.Serve({80, true, qv::WindowHandle{hWnd}, {IntegerArg(nIndex)}});
}

// Message-box style of the error prompt: Retry and Cancel buttons, warning icon.
int32_t uitk_VtErrorPrompt(const char* sCaption, uitk::ShowBoxFn fnShow) {
  const std::string sText = TheToolkit().lists.Prompt(sCaption);
  return fnShow(sText.c_str(), sCaption, 5 | 48);
}

// The record and the scripts of the list controls.
int32_t uitk_ListsAddItem(uint32_t hWnd, const uitk::UitkListItem* pItem) {
  if (pItem == nullptr) return -1;
  const qv::String sText = pItem->text == nullptr ? qv::String() : qv::String(pItem->text, pItem->textSize);
  return TheToolkit().lists.AddItem(qv::WindowHandle{hWnd}, qv::ItemFromC(*pItem, sText));
}
void uitk_ListsSetSelection(uint32_t hWnd, int32_t nIndex) {
  TheToolkit().lists.SetSelection(qv::WindowHandle{hWnd}, nIndex);
}
void uitk_ListsSetStyle(uint32_t hWnd, int32_t nStyle) { TheToolkit().lists.SetStyle(qv::WindowHandle{hWnd}, nStyle); }
void uitk_ListsSetResult(int32_t nOrdinal, int32_t nResult) { TheToolkit().lists.SetResult(nOrdinal, nResult); }
void uitk_ListsQueueResults(int32_t nOrdinal, const int32_t* pResults, size_t nCount) {
  TheToolkit().lists.QueueResults(nOrdinal, Values(pResults, nCount));
}
void uitk_ListsSetReceives(int32_t nOrdinal, const int32_t* pValues, size_t nCount) {
  TheToolkit().lists.SetReceives(nOrdinal, Values(pValues, nCount));
}
void uitk_ListsSetText(int32_t nOrdinal, const char* sText, size_t nSize) {
  TheToolkit().lists.SetText(nOrdinal, sText == nullptr ? qv::String() : qv::String(sText, nSize));
}
void uitk_ListsClearScripts() { TheToolkit().lists.ClearScripts(); }
size_t uitk_ListsCallCount() { return TheToolkit().lists.Calls().size(); }
int32_t uitk_ListsCallAt(size_t nIndex, uitk::UitkCall* pCall) {
  const auto& aCalls = TheToolkit().lists.Calls();
  if (pCall == nullptr || nIndex >= aCalls.size()) return 0;
  const qv::ToolkitCall& call = aCalls[nIndex];
  *pCall = uitk::UitkCall{call.nOrdinal, call.bOwnWindow ? 1 : 0, static_cast<uint32_t>(call.hWnd.nValue),
                          static_cast<int32_t>(call.aArgs.size())};
  return 1;
}
int32_t uitk_ListsCallArg(size_t nIndex, size_t nArg, uitk::UitkArg* pArg) {
  const auto& aCalls = TheToolkit().lists.Calls();
  if (pArg == nullptr || nIndex >= aCalls.size() || nArg >= aCalls[nIndex].aArgs.size()) return 0;
  const qv::ToolkitArg& arg = aCalls[nIndex].aArgs[nArg];
  *pArg = uitk::UitkArg{arg.eKind, arg.nValue, arg.sText.data(), arg.sText.size()};
  return 1;
}
void uitk_ListsClearCalls() { TheToolkit().lists.ClearCalls(); }
#define QV_UITK_CHECK_TYPE(name) \
  static_assert(std::is_same_v<decltype(&uitk_##name), uitk::name##Fn>, "type of uitk_" #name);
UITK_LISTS_EXPORTS(QV_UITK_CHECK_TYPE)
#undef QV_UITK_CHECK_TYPE

// The list operations: each entry's assembler name is set to its template
// instance, so that uitk60.def can export it.  Never called.
__attribute__((used)) void uitk_list_aliases() {
#define QV_UITK_LIST_ALIAS(Pass, member, id, ordinal, fn, window, result, ...) \
  asm(".globl _uitk_" #fn "\n\t.set _uitk_" #fn ", %P0"                        \
      :                                                                        \
      : "i"(&ListEntry<ordinal, qv::listop::window,                            \
                       qv::listop::result __VA_OPT__(, ) QV_UITK_SHAPES(__VA_ARGS__)>::Call));
#define QV_UITK_SHAPE(shape, i) QV_UITK_SHAPE_SEP_##i qv::listop::shape
#define QV_UITK_SHAPE_SEP_0
#define QV_UITK_SHAPE_SEP_1 ,
#define QV_UITK_SHAPE_SEP_2 ,
#define QV_UITK_SHAPE_SEP_3 ,
#define QV_UITK_SHAPE_SEP_4 ,
#define QV_UITK_SHAPE_SEP_5 ,
#define QV_UITK_SHAPES(...) QV_LIST_EACH(QV_UITK_SHAPE, __VA_ARGS__)
  QV_LIST_BOX_FAMILY(QV_UITK_LIST_ALIAS, )
}

}  // extern "C"
