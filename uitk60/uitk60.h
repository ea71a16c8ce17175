// SPDX-License-Identifier: Apache-2.0
// The C interface of uitk60.dll, the UI toolkit library: every function the
// library binds from it, reached by ordinal (core/external.h) with plain C
// arguments and the C calling convention:
//   - integers are 32-bit; a window is its handle value;
//   - a text is a NUL-terminated byte string, borrowed for the call;
//   - a receive argument is the address of the caller's variable;
//   - a text result is the toolkit's own, valid until the next call;
//   - a listing or an array of texts is an array of text pointers with its
//     count (a listing answers a block of NUL-terminated names, valid until
//     the next call).
// The list operations' C types follow from their rows (core/list_ops.h):
// the shapes N, L, H and Z are integers, S and SI texts, R a receive
// integer; their results are integers, Str a text.
//
// Besides, under names of their own and outside the ordinal table, the
// record of the list operations called and their scripted answers
// (qv::ListScripting of core/list_scripting.h, over the toolkit's model):
// uitk_ListsAddItem ... below.  The Windows host's Lists() goes through
// them, so that QvToolkit... of quorvane.h, a test or an outside checker
// see and script the list operations the library calls in this DLL.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/list_calls.h"

namespace uitk {

extern "C" {
typedef const char* (*StrReplaceFn)(const char* sText, const char* sSearch, const char* sReplacement);
typedef int32_t (*StrScanReverseFn)(const char* sText, int32_t nStart, const char* sKey);
// Names of the subdirectories / files that match the pattern: the count,
// and in *pNames a block of that many NUL-terminated names.
typedef int32_t (*ListSubdirectoriesFn)(const char* sPattern, const char** pNames);
typedef int32_t (*ListFilesFn)(const char* sPattern, int32_t nFlags, const char** pNames);
typedef int32_t (*DirExistsFn)(const char* sPath);
typedef int32_t (*FileCopyFn)(const char* sSource, const char* sTarget);
typedef int32_t (*FileRenameFn)(const char* sOld, const char* sNew);
// Sorts the text pointers in place.
typedef int32_t (*ArraySortFn)(const char** aTexts, int32_t nCount, int32_t nOrder, int32_t nType);
// Copies the source's text pointers to aTarget (room for nSource): the count copied.
typedef int32_t (*ArrayCopyFn)(const char* const* aSource, int32_t nSource, const char** aTarget, int32_t nType);
typedef int32_t (*ArrayFindStringFn)(const char* const* aTexts, int32_t nCount, const char* sText);
typedef int32_t (*CreateFontFn)(const char* sName, int32_t nSize, int32_t nEnhancement);
typedef int32_t (*GetSelectionFn)(uint32_t hWnd);
typedef const char* (*GetItemTextFn)(uint32_t hWnd, int32_t nIndex);
typedef int32_t (*GetItemValueFn)(uint32_t hWnd, int32_t nIndex);
// The prompt of the operation that failed last: the toolkit composes the
// text and asks its caller to show it (fnShow: text, caption, message-box
// style; the button pressed).  The button; 2 for cancel.
typedef int32_t (*ShowBoxFn)(const char* sText, const char* sCaption, int32_t nStyle);
typedef int32_t (*ErrorPromptFn)(const char* sCaption, ShowBoxFn fnShow);

// The record and the scripts.  Texts here are bytes and their count; a
// recorded argument's text stays valid until the next list operation or
// uitk_ListsClearCalls.
typedef struct UitkListItem {
  const char* text;  // NULL reads as ""
  size_t textSize;
  int32_t value, flags, color, font, itemHandle, valueA, valueB;
} UitkListItem;
typedef struct UitkCall {
  int32_t ordinal;
  int32_t ownWindow;  // 1 when the operation was called on the window of the current item
  uint32_t window;
  int32_t argCount;
} UitkCall;
typedef struct UitkArg {
  int32_t kind;   // qv::ToolkitArg::Kind
  int32_t value;  // an integer; for a receive argument its value on entry
  const char* text;
  size_t textSize;
} UitkArg;
typedef int32_t (*ListsAddItemFn)(uint32_t hWnd, const UitkListItem* pItem);  // the item's index
typedef void (*ListsSetSelectionFn)(uint32_t hWnd, int32_t nIndex);
typedef void (*ListsSetStyleFn)(uint32_t hWnd, int32_t nStyle);
typedef void (*ListsSetResultFn)(int32_t nOrdinal, int32_t nResult);
typedef void (*ListsQueueResultsFn)(int32_t nOrdinal, const int32_t* pResults, size_t nCount);
typedef void (*ListsSetReceivesFn)(int32_t nOrdinal, const int32_t* pValues, size_t nCount);
typedef void (*ListsSetTextFn)(int32_t nOrdinal, const char* sText, size_t nSize);
typedef void (*ListsClearScriptsFn)(void);
typedef size_t (*ListsCallCountFn)(void);
// 0, *pCall untouched, past the end of the record (or of the call's arguments).
typedef int32_t (*ListsCallAtFn)(size_t nIndex, UitkCall* pCall);
typedef int32_t (*ListsCallArgFn)(size_t nIndex, size_t nArg, UitkArg* pArg);
typedef void (*ListsClearCallsFn)(void);
}

// The named exports, X(name): exported as "uitk_<name>", of type uitk::<name>Fn.
#define UITK_LISTS_EXPORTS(X) \
  X(ListsAddItem)             \
  X(ListsSetSelection)        \
  X(ListsSetStyle)            \
  X(ListsSetResult)           \
  X(ListsQueueResults)        \
  X(ListsSetReceives)         \
  X(ListsSetText)             \
  X(ListsClearScripts)        \
  X(ListsCallCount)           \
  X(ListsCallAt)              \
  X(ListsCallArg)             \
  X(ListsClearCalls)

template <class Shape>
struct CArg {
  using Type = int32_t;
};
template <>
struct CArg<qv::listop::S> {
  using Type = const char*;
};
template <>
struct CArg<qv::listop::SI> {
  using Type = const char*;
};
template <>
struct CArg<qv::listop::R> {
  using Type = int32_t*;
};
template <class Result>
struct CResult {
  using Type = int32_t;
};
template <>
struct CResult<qv::listop::Str> {
  using Type = const char*;
};

// The C type of a list operation's entry point.
template <class Window, class Result, class... Shapes>
struct CEntry {
  using Type = typename CResult<Result>::Type (*)(uint32_t hWnd, typename CArg<Shapes>::Type...);
};
template <class Result, class... Shapes>
struct CEntry<qv::listop::NoWin, Result, Shapes...> {
  using Type = typename CResult<Result>::Type (*)(typename CArg<Shapes>::Type...);
};

}  // namespace uitk
