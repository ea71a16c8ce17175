// SPDX-License-Identifier: Apache-2.0
#include "host/os/win32/win32_toolkit.h"

#include "host/os/win32/win32_api.h"

#include <cstring>
#include <map>
#include <tuple>
#include <type_traits>
#include <unordered_map>

#include "core/list_calls.h"
#include "core/toolkit.h"
#include "uitk60/uitk60.h"

namespace qv {
namespace {

// The toolkit's C entry at nOrdinal, of type Fn.  The adapters run only
// after the library bound them, that is after GetProcAddress found the entry.
template <class Fn>
Fn Raw(const Host& host, int nOrdinal) {
  auto* pRuntime = dynamic_cast<Win32Runtime*>(host.pRuntime);
  void* p = pRuntime != nullptr ? pRuntime->ToolkitEntry(nOrdinal) : nullptr;
  if (p == nullptr) host.pRuntime->FatalError("the toolkit entry is not bound: ordinal " + std::to_string(nOrdinal));
  return reinterpret_cast<Fn>(p);
}

#define QV_RAW(host, fn, type) Raw<uitk::type>(host, OrdinalOf(ExternalFunction::fn))

std::string Z(std::string_view s) { return std::string(s); }

// The texts of an array as the toolkit takes them.
std::vector<const char*> Pointers(const DynArray<String>& a) {
  std::vector<const char*> aOut;
  aOut.reserve(a.Items().size());
  for (const String& s : a.Items()) aOut.push_back(s.c_str());
  return aOut;
}

int64_t FillNames(int32_t nCount, const char* pNames, DynArray<String>& aNames) {
  aNames.Clear();
  for (int32_t i = 0; i < nCount; ++i) {
    const size_t n = std::strlen(pNames);
    aNames.Append(String(pNames, n));
    pNames += n + 1;
  }
  return aNames.Count();
}

String StrReplace(const Host& host, std::string_view sText, std::string_view sSearch, std::string_view sRepl) {
  return String(QV_RAW(host, VtStrReplace, StrReplaceFn)(Z(sText).c_str(), Z(sSearch).c_str(), Z(sRepl).c_str()));
}
int64_t StrScanReverse(const Host& host, std::string_view sText, int64_t nStart, std::string_view sKey) {
  return QV_RAW(host, VtStrScanReverse, StrScanReverseFn)(Z(sText).c_str(), static_cast<int32_t>(nStart),
                                                          Z(sKey).c_str());
}
int64_t ListSubdirectories(const Host& host, std::string_view sPattern, DynArray<String>& aNames) {
  const char* pNames = nullptr;
  const int32_t n = QV_RAW(host, VtListSubdirectories, ListSubdirectoriesFn)(Z(sPattern).c_str(), &pNames);
  return FillNames(n, pNames, aNames);
}
int64_t ListFiles(const Host& host, std::string_view sPattern, int64_t nFlags, DynArray<String>& aNames) {
  const char* pNames = nullptr;
  const int32_t n = QV_RAW(host, VtListFiles, ListFilesFn)(Z(sPattern).c_str(), static_cast<int32_t>(nFlags), &pNames);
  return FillNames(n, pNames, aNames);
}
bool DirExists(const Host& host, std::string_view sPath) {
  return QV_RAW(host, VtDirExists, DirExistsFn)(Z(sPath).c_str()) != 0;
}
bool FileCopy(const Host& host, std::string_view sSource, std::string_view sTarget) {
  return QV_RAW(host, VtFileCopy, FileCopyFn)(Z(sSource).c_str(), Z(sTarget).c_str()) != 0;
}
bool FileRename(const Host& host, std::string_view sOld, std::string_view sNew) {
  return QV_RAW(host, VtFileRename, FileRenameFn)(Z(sOld).c_str(), Z(sNew).c_str()) != 0;
}
// The toolkit sorts the texts' pointers; the Strings follow them.
bool ArraySort(const Host& host, DynArray<String>& a, int64_t nOrder, int64_t nType) {
  std::vector<const char*> aSorted = Pointers(a);
  std::unordered_map<const char*, size_t> aIndex;
  for (size_t i = 0; i < aSorted.size(); ++i) aIndex[aSorted[i]] = i;
  if (QV_RAW(host, VtArraySort, ArraySortFn)(aSorted.data(), static_cast<int32_t>(aSorted.size()),
                                             static_cast<int32_t>(nOrder), static_cast<int32_t>(nType)) == 0) {
    return false;
  }
  std::vector<String> aItems;
  aItems.reserve(aSorted.size());
  for (const char* p : aSorted) aItems.push_back(std::move(a.Items()[aIndex.at(p)]));
  a.Items() = std::move(aItems);
  return true;
}
bool ArrayCopy(const Host& host, const DynArray<String>& aSource, DynArray<String>& aTarget, int64_t nType) {
  const std::vector<const char*> aFrom = Pointers(aSource);
  std::vector<const char*> aTo(aFrom.size());
  const int32_t n = QV_RAW(host, VtArrayCopy, ArrayCopyFn)(aFrom.data(), static_cast<int32_t>(aFrom.size()), aTo.data(),
                                                           static_cast<int32_t>(nType));
  std::vector<String> aCopied(aTo.begin(), aTo.begin() + std::max<int32_t>(n, 0));
  for (String& s : aCopied) aTarget.Append(std::move(s));
  return true;
}
int64_t ArrayFindString(const Host& host, const DynArray<String>& a, std::string_view sText) {
  const std::vector<const char*> aTexts = Pointers(a);
  return QV_RAW(host, VtArrayFindString, ArrayFindStringFn)(aTexts.data(), static_cast<int32_t>(aTexts.size()),
                                                            Z(sText).c_str());
}
int64_t CreateFont(const Host& host, std::string_view sName, Number nSize, Number nEnhancement) {
  return QV_RAW(host, VtCreateFont, CreateFontFn)(Z(sName).c_str(), nSize.AsInt(), nEnhancement.AsInt());
}
uint32_t WindowValue(WindowHandle hWnd) { return static_cast<uint32_t>(hWnd.nValue); }
int32_t GetSelection(const Host& host, WindowHandle hWnd) {
  return QV_RAW(host, VtGetSelection, GetSelectionFn)(WindowValue(hWnd));
}
String GetItemText(const Host& host, WindowHandle hWnd, int32_t nIndex) {
  const char* p = QV_RAW(host, VtGetItemText, GetItemTextFn)(WindowValue(hWnd), nIndex);
  return p != nullptr ? String(p) : String();
}
int32_t GetItemValue(const Host& host, WindowHandle hWnd, int32_t nIndex) {
  return QV_RAW(host, VtGetItemValue, GetItemValueFn)(WindowValue(hWnd), nIndex);
}

// The error prompt: the toolkit composes it and asks its caller to show it,
// which this host does through the window system's message box (so that
// the message-box handler answers it).  The box callback has no context
// argument, so the window system of the call is kept for its length.
thread_local Windows* tpPromptWindows = nullptr;  // NOLINT: set for the length of one prompt
int32_t ShowBox(const char* sText, const char* sCaption, int32_t nStyle) {
  return tpPromptWindows != nullptr ? tpPromptWindows->MessageBox(sText, sCaption, nStyle).AsInt() : 2;
}
int32_t ErrorPrompt(const Host& host, std::string_view sCaption) {
  tpPromptWindows = host.pWindows;
  const int32_t n = QV_RAW(host, VtErrorPrompt, ErrorPromptFn)(Z(sCaption).c_str(), &ShowBox);
  tpPromptWindows = nullptr;
  return n;
}

// The list operations: each argument turned into its C form for the call.
// A text is held as a NUL-terminated copy for the length of the call.
template <class Shape>
auto Held(typename Shape::Arg a) {
  if constexpr (std::is_same_v<Shape, listop::S>) {
    return std::string(a.data(), a.size());
  } else if constexpr (std::is_same_v<Shape, listop::SI>) {
    return std::string(a);
  } else {
    return a;
  }
}
template <class T>
auto CForm(T& a) {
  if constexpr (std::is_same_v<T, std::string>) {
    return a.c_str();
  } else {
    return a;
  }
}

template <class Result>
typename Result::Toolkit FromC(typename uitk::CResult<Result>::Type r) {
  if constexpr (std::is_same_v<Result, listop::Str>) {
    return r != nullptr ? new String(r) : nullptr;  // the caller releases it
  } else {
    return r;
  }
}

template <int Ordinal, class Window, class Result, class... Shapes>
struct ListAdapter;
template <int Ordinal, class Result, class... Shapes>
struct ListAdapter<Ordinal, listop::Win, Result, Shapes...> {
  static typename Result::Toolkit Call(const Host& host, WindowHandle hWnd, typename Shapes::Arg... args) {
    using Fn = typename uitk::CEntry<listop::Win, Result, Shapes...>::Type;
    const Fn pFn = Raw<Fn>(host, Ordinal);
    auto held = std::make_tuple(Held<Shapes>(args)...);
    return FromC<Result>(std::apply([&](auto&... h) { return pFn(WindowValue(hWnd), CForm(h)...); }, held));
  }
};
template <int Ordinal, class Result, class... Shapes>
struct ListAdapter<Ordinal, listop::NoWin, Result, Shapes...> {
  static typename Result::Toolkit Call(const Host& host, typename Shapes::Arg... args) {
    using Fn = typename uitk::CEntry<listop::NoWin, Result, Shapes...>::Type;
    const Fn pFn = Raw<Fn>(host, Ordinal);
    auto held = std::make_tuple(Held<Shapes>(args)...);
    return FromC<Result>(std::apply([&](auto&... h) { return pFn(CForm(h)...); }, held));
  }
};

template <ExternalFunction E, class Window, class Result, class... Shapes>
ExternalLibrary::Entry ListAdapterEntry(const listop::OpOf<E, Window, Result, Shapes...>*) {
  typename listop::OpOf<E, Window, Result, Shapes...>::Entry pEntry =
      &ListAdapter<OrdinalOf(E), Window, Result, Shapes...>::Call;
  return reinterpret_cast<ExternalLibrary::Entry>(pEntry);
}

template <class Fn>
ExternalLibrary::Entry AsEntry(Fn pFn) {
  return reinterpret_cast<ExternalLibrary::Entry>(pFn);
}

// The adapter of each toolkit row of the function table, by ordinal.
std::map<int, ExternalLibrary::Entry> Adapters() {
  std::map<int, ExternalLibrary::Entry> a;
  auto add = [&a](ExternalFunction e, ExternalLibrary::Entry p) { a[OrdinalOf(e)] = p; };
  add(ExternalFunction::VtStrReplace, AsEntry<ext::VtStrReplace>(StrReplace));
  add(ExternalFunction::VtStrScanReverse, AsEntry<ext::VtStrScanReverse>(StrScanReverse));
  add(ExternalFunction::VtListSubdirectories, AsEntry<ext::VtListSubdirectories>(ListSubdirectories));
  add(ExternalFunction::VtListFiles, AsEntry<ext::VtListFiles>(ListFiles));
  add(ExternalFunction::VtDirExists, AsEntry<ext::VtDirExists>(DirExists));
  add(ExternalFunction::VtFileCopy, AsEntry<ext::VtFileCopy>(FileCopy));
  add(ExternalFunction::VtFileRename, AsEntry<ext::VtFileRename>(FileRename));
  add(ExternalFunction::VtArraySort, AsEntry<ext::VtArraySort>(ArraySort));
  add(ExternalFunction::VtArrayCopy, AsEntry<ext::VtArrayCopy>(ArrayCopy));
  add(ExternalFunction::VtArrayFindString, AsEntry<ext::VtArrayFindString>(ArrayFindString));
  add(ExternalFunction::VtCreateFont, AsEntry<ext::VtCreateFont>(CreateFont));
  add(ExternalFunction::VtGetSelection, AsEntry<ext::VtGetSelection>(GetSelection));
  add(ExternalFunction::VtGetItemText, AsEntry<ext::VtGetItemText>(GetItemText));
  add(ExternalFunction::VtGetItemValue, AsEntry<ext::VtGetItemValue>(GetItemValue));
  add(ExternalFunction::VtErrorPrompt, AsEntry<ext::VtErrorPrompt>(ErrorPrompt));
#define QV_ADD_LIST_ADAPTER(Pass, member, id, ordinal, fn, ...) \
  add(ExternalFunction::fn, ListAdapterEntry(static_cast<const listop::Op<ExternalFunction::fn>*>(nullptr)));
  QV_LIST_BOX_FAMILY(QV_ADD_LIST_ADAPTER, )
#undef QV_ADD_LIST_ADAPTER
  return a;
}

}  // namespace

// One load of uitk60.dll (one library-table slot).
class Win32Runtime::ToolkitDll final : public ExternalLibrary {
 public:
  ToolkitDll(Win32Runtime& runtime, HMODULE h) : runtime_(runtime), h_(h) {}
  ~ToolkitDll() override { ::FreeLibrary(h_); }
  Entry FindOrdinal(int nOrdinal) override {
    const auto it = runtime_.aAdapters_.find(nOrdinal);
    if (it == runtime_.aAdapters_.end()) return nullptr;
    FARPROC p = ::GetProcAddress(h_, MAKEINTRESOURCEA(nOrdinal));
    if (p == nullptr) return nullptr;
    runtime_.aEntries_[nOrdinal] = reinterpret_cast<void*>(p);
    return it->second;
  }
  Entry FindName(std::string_view /*sName*/) override { return nullptr; }

 private:
  Win32Runtime& runtime_;
  HMODULE h_;
};

// The record and scripts of uitk60.dll's list controls, through its named
// exports.  The DLL is loaded here on first use (the same module the library
// loads, so the same lists) and kept until the runtime ends, so that
// scripts set before the library attaches it are not lost.
class Win32Runtime::DllLists final : public ListScripting {
 public:
  explicit DllLists(const Win32Runtime& runtime) : runtime_(runtime) {}
  ~DllLists() override {
    if (h_ != nullptr) ::FreeLibrary(h_);
  }
  DllLists(const DllLists&) = delete;
  DllLists& operator=(const DllLists&) = delete;

  int32_t AddItem(WindowHandle hWnd, ToolkitItem item) override {
    const uitk::UitkListItem c{item.sText.data(), item.sText.size(), item.nValue,  item.nFlags, item.nColor,
                               item.nFont,        item.hItem,        item.nValueA, item.nValueB};
    return Ask<uitk::ListsAddItemFn>("uitk_ListsAddItem", -1, Window(hWnd), &c);
  }
  void SetSelection(WindowHandle hWnd, int32_t nIndex) override {
    Do<uitk::ListsSetSelectionFn>("uitk_ListsSetSelection", Window(hWnd), nIndex);
  }
  void SetStyle(WindowHandle hWnd, int32_t nStyle) override {
    Do<uitk::ListsSetStyleFn>("uitk_ListsSetStyle", Window(hWnd), nStyle);
  }
  void SetResult(int32_t nOrdinal, int32_t nResult) override {
    Do<uitk::ListsSetResultFn>("uitk_ListsSetResult", nOrdinal, nResult);
  }
  void QueueResults(int32_t nOrdinal, const std::vector<int32_t>& aResults) override {
    Do<uitk::ListsQueueResultsFn>("uitk_ListsQueueResults", nOrdinal, aResults.data(), aResults.size());
  }
  void SetReceives(int32_t nOrdinal, std::vector<int32_t> aValues) override {
    Do<uitk::ListsSetReceivesFn>("uitk_ListsSetReceives", nOrdinal, aValues.data(), aValues.size());
  }
  void SetText(int32_t nOrdinal, String sText) override {
    Do<uitk::ListsSetTextFn>("uitk_ListsSetText", nOrdinal, sText.data(), sText.size());
  }
  void ClearScripts() override { Do<uitk::ListsClearScriptsFn>("uitk_ListsClearScripts"); }
  void ClearCalls() override {
    Do<uitk::ListsClearCallsFn>("uitk_ListsClearCalls");
    aCalls_.clear();
  }

  // A copy of the DLL's record.  The record only grows between two
  // ClearCalls, so only the calls made since the last look are copied: the
  // texts handed out before stay where they are until the next list
  // operation, as with the portable host's record.
  const std::vector<ToolkitCall>& Calls() const override {
    const size_t nCount = Ask<uitk::ListsCallCountFn>("uitk_ListsCallCount", size_t{0});
    if (nCount < aCalls_.size()) aCalls_.clear();
    for (size_t i = aCalls_.size(); i < nCount; ++i) {
      uitk::UitkCall c{};
      if (Ask<uitk::ListsCallAtFn>("uitk_ListsCallAt", 0, i, &c) == 0) break;
      ToolkitCall& call = aCalls_.emplace_back();
      call.nOrdinal = c.ordinal;
      call.bOwnWindow = c.ownWindow != 0;
      call.hWnd = WindowHandle{c.window};
      for (size_t j = 0; j < static_cast<size_t>(c.argCount); ++j) {
        uitk::UitkArg a{};
        if (Ask<uitk::ListsCallArgFn>("uitk_ListsCallArg", 0, i, j, &a) == 0) break;
        call.aArgs.push_back(ToolkitArg{static_cast<ToolkitArg::Kind>(a.kind), a.value,
                                        a.text == nullptr ? String() : String(a.text, a.textSize)});
      }
    }
    return aCalls_;
  }

 private:
  static uint32_t Window(WindowHandle hWnd) { return static_cast<uint32_t>(hWnd.nValue); }

  // Calls the named export: Do when it gives nothing back, Ask when it
  // does.  When the DLL or the export cannot be found, Do does nothing and
  // Ask answers fallback.
  template <class Fn, class... Args>
  void Do(const char* sName, Args... args) const {
    if (const auto pFn = Find<Fn>(sName)) pFn(args...);
  }
  template <class Fn, class Result, class... Args>
  Result Ask(const char* sName, Result fallback, Args... args) const {
    const auto pFn = Find<Fn>(sName);
    return pFn != nullptr ? static_cast<Result>(pFn(args...)) : fallback;
  }
  template <class Fn>
  Fn Find(const char* sName) const {
    if (h_ == nullptr) h_ = ::LoadLibraryA(runtime_.ToolkitPath().c_str());
    if (h_ == nullptr) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(h_, sName)));
  }

  const Win32Runtime& runtime_;
  mutable HMODULE h_ = nullptr;
  mutable std::vector<ToolkitCall> aCalls_;
};

Win32Runtime::Win32Runtime(PortableRuntime& base, std::string sToolkitDll)
    : base_(base), sToolkitDll_(std::move(sToolkitDll)), aAdapters_(Adapters()),
      pLists_(std::make_unique<DllLists>(*this)) {}

Win32Runtime::~Win32Runtime() = default;

ExternalLibrary* Win32Runtime::LoadLibrary(std::string_view sName) {
  if (sName != "uitk60") return base_.LoadLibrary(sName);
  HMODULE h = ::LoadLibraryA(ToolkitPath().c_str());
  if (h == nullptr) return nullptr;
  aLoaded_.push_back(std::make_unique<ToolkitDll>(*this, h));
  return aLoaded_.back().get();
}

// uitk60.dll beside the module that holds this code (quorvane.dll, or a
// program linked with the library), whatever directory the process runs in.
std::string Win32Runtime::ToolkitPath() const {
  std::string sPath = sToolkitDll_;
  HMODULE hSelf = nullptr;
  char aBuffer[MAX_PATH * 4];
  if (sPath.find_first_of("\\/") == std::string::npos &&
      GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&Adapters), &hSelf)) {
    const DWORD n = GetModuleFileNameA(hSelf, aBuffer, sizeof(aBuffer));
    const std::string sSelf(aBuffer, n < sizeof(aBuffer) ? n : 0);
    const size_t nSlash = sSelf.find_last_of("\\/");
    if (nSlash != std::string::npos) sPath = sSelf.substr(0, nSlash + 1) + sPath;
  }
  return sPath;
}

void Win32Runtime::FreeLibrary(ExternalLibrary* pLibrary) {
  for (auto it = aLoaded_.begin(); it != aLoaded_.end(); ++it) {
    if (it->get() == pLibrary) {
      aLoaded_.erase(it);
      return;
    }
  }
  base_.FreeLibrary(pLibrary);
}

ListScripting& Win32Runtime::Lists() { return *pLists_; }

void* Win32Runtime::ToolkitEntry(int nOrdinal) const {
  const auto it = aEntries_.find(nOrdinal);
  return it == aEntries_.end() ? nullptr : it->second;
}

}  // namespace qv
