// SPDX-License-Identifier: Apache-2.0
// The entry points the portable host provides for the toolkit library and
// User32, registered under their ordinals (and names).
#include <algorithm>
#include <type_traits>
#include <vector>

#include "core/list_calls.h"
#include "core/toolkit.h"
#include "host/shared/portable_runtime.h"
#include "host/toolkit/toolkit_lists.h"

namespace qv {
namespace {

String StrReplace(const Host&, std::string_view sText, std::string_view sSearch, std::string_view sReplacement) {
  if (sSearch.empty()) return String(sText);
  // The exact size first, so that the text is copied once: a whole source
  // file goes through here when its line ends are made CR LF.
  size_t nCount = 0;
  for (size_t nAt = sText.find(sSearch); nAt != std::string_view::npos;
       nAt = sText.find(sSearch, nAt + sSearch.size())) {
    ++nCount;
  }
  if (nCount == 0) return String(sText);
  String sOut;
  sOut.reserve(sText.size() - nCount * sSearch.size() + nCount * sReplacement.size());
  size_t nFrom = 0;
  for (size_t nAt = sText.find(sSearch); nAt != std::string_view::npos; nAt = sText.find(sSearch, nFrom)) {
    sOut.append(sText, nFrom, nAt - nFrom);
    sOut.append(sReplacement);
    nFrom = nAt + sSearch.size();
  }
  sOut.append(sText.substr(nFrom));
  return sOut;
}

int64_t StrScanReverse(const Host&, std::string_view sText, int64_t nStart, std::string_view sKey) {
  size_t nFrom = std::string_view::npos;
  if (nStart >= 0) nFrom = static_cast<size_t>(nStart);
  const size_t nAt = sText.rfind(sKey, nFrom);
  return nAt == std::string_view::npos ? -1 : static_cast<int64_t>(nAt);
}

int64_t Fill(std::vector<std::string>& aFound, DynArray<String>& aNames) {
  aNames.Clear();
  for (auto& s : aFound) aNames.Append(std::move(s));
  return aNames.Count();
}

int64_t ListSubdirectories(const Host& host, std::string_view sPattern, DynArray<String>& aNames) {
  std::vector<std::string> aFound;
  host.pFiles->ListSubdirectories(sPattern, aFound);
  return Fill(aFound, aNames);
}

int64_t ListFiles(const Host& host, std::string_view sPattern, int64_t /*nFlags*/, DynArray<String>& aNames) {
  std::vector<std::string> aFound;
  host.pFiles->ListFiles(sPattern, aFound);
  return Fill(aFound, aNames);
}

bool DirExists(const Host& host, std::string_view sPath) { return host.pFiles->DirExists(sPath); }
bool FileCopy(const Host& host, std::string_view sSource, std::string_view sTarget) {
  return !host.pFiles->Copy(sSource, sTarget).Failed();
}
bool FileRename(const Host& host, std::string_view sOld, std::string_view sNew) {
  return !host.pFiles->Rename(sOld, sNew).Failed();
}

bool ArraySort(const Host&, DynArray<String>& a, int64_t nOrder, int64_t /*nType*/) {
  auto& aItems = a.Items();
  std::stable_sort(aItems.begin(), aItems.end(), ToolkitLess);
  if (nOrder != 0) std::reverse(aItems.begin(), aItems.end());
  return true;
}

// Appends the source's elements behind the target's: a caller that copies
// the names of several directories one after the other keeps them all.
bool ArrayCopy(const Host&, const DynArray<String>& aSource, DynArray<String>& aTarget, int64_t /*nType*/) {
  if (&aSource == &aTarget) {
    // Inserting a vector's own range into it is undefined: copy it first.
    const std::vector<String> aCopy = aSource.Items();  // NOLINT(performance-unnecessary-copy-initialization)
    aTarget.Items().insert(aTarget.Items().end(), aCopy.begin(), aCopy.end());
  } else {
    aTarget.Items().insert(aTarget.Items().end(), aSource.Items().begin(), aSource.Items().end());
  }
  return true;
}

int64_t ArrayFindString(const Host&, const DynArray<String>& a, std::string_view sText) {
  const auto& aItems = a.Items();
  for (size_t i = 0; i < aItems.size(); ++i) {
    if (aItems[i] == sText) return static_cast<int64_t>(i);
  }
  return -1;
}

// Fonts are objects of the window system: the headless one keeps a table of
// the distinct fonts asked for and answers with their handles.
int64_t CreateFont(const Host& host, std::string_view sName, Number nSize, Number nEnhancement) {
  return host.pWindows->CreateFont(sName, nSize, nEnhancement);
}

bool IsWindow(const Host& host, WindowHandle hWnd) { return host.pWindows->IsWindow(hWnd); }

// The list controls.  The entry points are those of the libraries of the
// runtime through which the Module loaded them: the portable runtime, which
// keeps the controls' state.
ToolkitLists& ListsOf(const Host& host) {
  auto* pRuntime = dynamic_cast<PortableRuntime*>(host.pRuntime);
  if (pRuntime == nullptr) host.pRuntime->FatalError("the toolkit's list controls need the portable runtime");
  return pRuntime->Lists();
}

ToolkitLists::Arg IntegerArg(int32_t n) { return {ToolkitLists::Arg::kInteger, n, {}}; }

// One argument of a list operation as the record keeps it.
template <class Shape>
ToolkitLists::Arg RecordArg(typename Shape::Arg a) {
  if constexpr (std::is_same_v<Shape, listop::S>) {
    return {ToolkitLists::Arg::kText, 0, String(a)};
  } else if constexpr (std::is_same_v<Shape, listop::SI>) {
    return {ToolkitLists::Arg::kString, 0, a};
  } else if constexpr (std::is_same_v<Shape, listop::R>) {
    return {ToolkitLists::Arg::kReceive, *a, {}};
  } else {
    return IntegerArg(a);
  }
}

template <class Shape>
void CollectReceive(std::vector<int32_t*>& aReceives, typename Shape::Arg a) {
  if constexpr (std::is_same_v<Shape, listop::R>) aReceives.push_back(a);
}

// A list operation of the family: recorded, then answered by the model.  A
// String result is handed over to the caller, which releases it.
template <int32_t Ordinal, bool bOwnWindow, class Result, class... Shapes>
typename Result::Toolkit AnswerListOp(const Host& host, WindowHandle hWnd, typename Shapes::Arg... args) {
  ToolkitLists& lists = ListsOf(host);
  ToolkitLists::Call call{Ordinal, bOwnWindow, hWnd, {RecordArg<Shapes>(args)...}};
  if constexpr (std::is_same_v<typename Result::Toolkit, String*>) {
    return new String(lists.ServeText(std::move(call)));
  } else {
    std::vector<int32_t*> aReceives;
    (CollectReceive<Shapes>(aReceives, args), ...);
    return lists.Serve(std::move(call), aReceives);
  }
}
template <int32_t Ordinal, class Result, class... Shapes>
typename Result::Toolkit OwnWindowEntry(const Host& host, WindowHandle hWnd, typename Shapes::Arg... args) {
  return AnswerListOp<Ordinal, true, Result, Shapes...>(host, hWnd, args...);
}
template <int32_t Ordinal, class Result, class... Shapes>
typename Result::Toolkit NoWindowEntry(const Host& host, typename Shapes::Arg... args) {
  return AnswerListOp<Ordinal, false, Result, Shapes...>(host, WindowHandle{}, args...);
}

// The entry point of a row of the family, of exactly the row's type.
template <ExternalFunction E, class Window, class Result, class... Shapes>
ExternalLibrary::Entry ListOpEntry(const listop::OpOf<E, Window, Result, Shapes...>*) {
  constexpr int32_t nOrdinal = OrdinalOf(E);
  typename listop::OpOf<E, Window, Result, Shapes...>::Entry pEntry = nullptr;
  if constexpr (Window::kOwnWindow) {
    pEntry = &OwnWindowEntry<nOrdinal, Result, Shapes...>;
  } else {
    pEntry = &NoWindowEntry<nOrdinal, Result, Shapes...>;
  }
  return reinterpret_cast<ExternalLibrary::Entry>(pEntry);
}

int32_t GetSelection(const Host& host, WindowHandle hWnd) {
  return ListsOf(host).Serve({OrdinalOf(ExternalFunction::VtGetSelection), true, hWnd, {}});
}
String GetItemText(const Host& host, WindowHandle hWnd, int32_t nIndex) {
  return ListsOf(host).ServeText({OrdinalOf(ExternalFunction::VtGetItemText), true, hWnd, {IntegerArg(nIndex)}});
}
int32_t GetItemValue(const Host& host, WindowHandle hWnd, int32_t nIndex) {
  return ListsOf(host).Serve({OrdinalOf(ExternalFunction::VtGetItemValue), true, hWnd, {IntegerArg(nIndex)}});
}

// Message-box style of the error prompt: Retry and Cancel buttons, warning icon.
constexpr int64_t kRetryCancelBox = 5 | 48;

// The error prompt is a message box of the window system, so that whatever
// answers message boxes (a person, a test's responder) answers it too.
int32_t ErrorPrompt(const Host& host, std::string_view sCaption) {
  return host.pWindows->MessageBox(ListsOf(host).Prompt(sCaption), sCaption, kRetryCancelBox).AsInt();
}

// MoveWindow is bound by name and never called by the library; the host
// provides it so that the binding succeeds.
int MoveWindowEntry() { return 0; }

template <class Fn>
ExternalLibrary::Entry AsEntry(Fn pFn) {
  return reinterpret_cast<ExternalLibrary::Entry>(pFn);
}

void Add(FunctionLibrary& lib, ExternalFunction e, ExternalLibrary::Entry pEntry) {
  const ExternalFunctionRow& row = ExternalRow(e);
  if (row.sName != nullptr) {
    lib.AddName(row.sName, pEntry);
  } else {
    lib.AddOrdinal(row.nOrdinal, pEntry);
  }
}

}  // namespace

void AddToolkitEntries(FunctionLibrary& uitk) {
  Add(uitk, ExternalFunction::VtStrReplace, AsEntry<ext::VtStrReplace>(StrReplace));
  Add(uitk, ExternalFunction::VtStrScanReverse, AsEntry<ext::VtStrScanReverse>(StrScanReverse));
  Add(uitk, ExternalFunction::VtListSubdirectories, AsEntry<ext::VtListSubdirectories>(ListSubdirectories));
  Add(uitk, ExternalFunction::VtListFiles, AsEntry<ext::VtListFiles>(ListFiles));
  Add(uitk, ExternalFunction::VtDirExists, AsEntry<ext::VtDirExists>(DirExists));
  Add(uitk, ExternalFunction::VtFileCopy, AsEntry<ext::VtFileCopy>(FileCopy));
  Add(uitk, ExternalFunction::VtFileRename, AsEntry<ext::VtFileRename>(FileRename));
  Add(uitk, ExternalFunction::VtArraySort, AsEntry<ext::VtArraySort>(ArraySort));
  Add(uitk, ExternalFunction::VtArrayCopy, AsEntry<ext::VtArrayCopy>(ArrayCopy));
  Add(uitk, ExternalFunction::VtArrayFindString, AsEntry<ext::VtArrayFindString>(ArrayFindString));
  Add(uitk, ExternalFunction::VtCreateFont, AsEntry<ext::VtCreateFont>(CreateFont));
  Add(uitk, ExternalFunction::VtGetSelection, AsEntry<ext::VtGetSelection>(GetSelection));
  Add(uitk, ExternalFunction::VtGetItemText, AsEntry<ext::VtGetItemText>(GetItemText));
  Add(uitk, ExternalFunction::VtGetItemValue, AsEntry<ext::VtGetItemValue>(GetItemValue));
  Add(uitk, ExternalFunction::VtErrorPrompt, AsEntry<ext::VtErrorPrompt>(ErrorPrompt));
#define QV_ADD_LIST_OP(Pass, member, id, ordinal, fn, ...) \
  Add(uitk, ExternalFunction::fn, ListOpEntry(static_cast<const listop::Op<ExternalFunction::fn>*>(nullptr)));
  QV_LIST_BOX_FAMILY(QV_ADD_LIST_OP, )
#undef QV_ADD_LIST_OP
}

void AddUser32Entries(FunctionLibrary& user32) {
  Add(user32, ExternalFunction::WinIsWindow, AsEntry<ext::WinIsWindow>(IsWindow));
  Add(user32, ExternalFunction::MoveWindow, AsEntry(MoveWindowEntry));
}

}  // namespace qv
