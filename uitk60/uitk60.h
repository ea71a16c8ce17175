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
#pragma once

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
}

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
