// SPDX-License-Identifier: Apache-2.0
// The small runtime API of the C boundary: Strings, dynamic arrays, objects,
// the current instance, the globals the host sets, and the export table.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

#include "exports/abi.h"
#include "exports/export_table.h"
#include "exports/process.h"

using qv::abi::FromAbi;
using qv::abi::NewString;
using qv::abi::TheProcess;
using qv::abi::ToAbi;
using qv::abi::View;

namespace {

// The runtime API serves the host; it does not run the module's one-time
// initialisation, which belongs to the first application function called.
qv::ListScripting& Lists() { return qv::abi::TheHost().Lists(); }

// The host-set globals by name and type.
struct StringGlobal {
  const char* sName;
  qv::String qv::Globals::*pMember;
};
struct NumberGlobal {
  const char* sName;
  qv::Number qv::Globals::*pMember;
};
struct BooleanGlobal {
  const char* sName;
  bool qv::Globals::*pMember;
};

#define QV_G(name) \
  { #name, &qv::Globals::name }
constexpr StringGlobal kStringGlobals[] = {QV_G(sCompiledClassCode),
                                           QV_G(sHTMLDocument),
                                           QV_G(sHTMLApplication),
                                           QV_G(sDefaultHeaderFile),
                                           QV_G(sDefaultDescriptionFile),
                                           QV_G(sDefaultFooterFile),
                                           QV_G(sHLPFile),
                                           QV_G(sAltEditor),
                                           QV_G(sUserName),
                                           QV_G(sClassPath),
                                           QV_G(sFontName),
                                           QV_G(sArchiveFileDirectory),
                                           QV_G(sCRLFToken),
                                           QV_G(sElementDelimiter)};
constexpr NumberGlobal kNumberGlobals[] = {QV_G(nClassColor),      QV_G(nMethodColor), QV_G(nFontSize),
                                           QV_G(nFontEnhancement), QV_G(nFontColor),   QV_G(nBkgdColor),
                                           QV_G(nOutlineFont),     QV_G(nSaveArchive), QV_G(nQtyOfArchiveFiles)};
constexpr BooleanGlobal kBooleanGlobals[] = {QV_G(bOptimizeSize),      QV_G(bVerbose),  QV_G(bGenerateDebuggingTbl),
                                             QV_G(bNoWarning),         QV_G(bAutoTile), QV_G(bAltCommentEditor),
                                             QV_G(bRepositoryAutoSave)};
#undef QV_G

template <class Row, size_t N>
const Row* FindGlobal(const Row (&aRows)[N], const char* sName) {
  if (sName == nullptr) return nullptr;
  for (const Row& row : aRows) {
    if (std::strcmp(row.sName, sName) == 0) return &row;
  }
  return nullptr;
}

// The constructor and destructor that the host runs when it creates and
// destroys an instance, for the classes that have them; they run as the
// exported functions do, after the module's one-time initialisation.
template <class C>
void RunConstructor(C& o) {
  if constexpr (requires(qv::Module & m) { o.Construct(m); }) {
    qv::abi::CallExplicit<&C::Construct>(TheProcess(), reinterpret_cast<QvObject*>(static_cast<qv::Object*>(&o)));
  }
}
template <class C>
void RunDestructor(C& o) {
  if constexpr (requires(qv::Module & m) { o.Destruct(m); }) {
    qv::abi::CallExplicit<&C::Destruct>(TheProcess(), reinterpret_cast<QvObject*>(static_cast<qv::Object*>(&o)));
  }
}

template <class E>
qv::DynArray<E>* Typed(QvArray* p) {
  return p == nullptr ? nullptr : std::get_if<qv::abi::ArrayElement<E>::kIndex>(&p->a);
}
template <class E>
const qv::DynArray<E>* Typed(const QvArray* p) {
  return p == nullptr ? nullptr : std::get_if<qv::abi::ArrayElement<E>::kIndex>(&p->a);
}

}  // namespace

extern "C" {

QV_API QvString* QvStringNew(const char* pData, size_t nSize) {
  return NewString(pData == nullptr ? std::string() : std::string(pData, nSize));
}
QV_API void QvStringFree(QvString* pString) { delete pString; }
QV_API const char* QvStringData(const QvString* pString) { return View(pString).data(); }
QV_API size_t QvStringSize(const QvString* pString) { return View(pString).size(); }

QV_API QvArray* QvArrayNew(QvElementType eType) {
  auto* p = new QvArray{{}, eType};
  switch (eType) {
    case QV_ELEMENT_NUMBER:
      p->a.emplace<0>();
      break;
    case QV_ELEMENT_STRING:
      p->a.emplace<1>();
      break;
    case QV_ELEMENT_BOOLEAN:
      p->a.emplace<2>();
      break;
    case QV_ELEMENT_DATETIME:
      p->a.emplace<3>();
      break;
    case QV_ELEMENT_HANDLE:
      p->a.emplace<4>();
      break;
    default:
      delete p;
      return nullptr;
  }
  return p;
}
QV_API void QvArrayFree(QvArray* pArray) { delete pArray; }
QV_API QvElementType QvArrayType(const QvArray* pArray) { return pArray == nullptr ? QvElementType{} : pArray->eType; }
QV_API int64_t QvArrayCount(const QvArray* pArray) {
  if (pArray == nullptr) return 0;
  return std::visit([](const auto& a) { return a.Count(); }, pArray->a);
}
QV_API void QvArrayClear(QvArray* pArray) {
  if (pArray != nullptr) std::visit([](auto& a) { a.Clear(); }, pArray->a);
}
QV_API QvString* QvArrayGetString(const QvArray* pArray, int64_t nIndex) {
  const auto* p = Typed<qv::String>(pArray);
  return NewString(p == nullptr ? std::string() : p->Get(nIndex));
}
QV_API QvBoolean QvArraySetString(QvArray* pArray, int64_t nIndex, const QvString* pValue) {
  auto* p = Typed<qv::String>(pArray);
  if (p == nullptr || nIndex < 0) return 0;
  p->Set(nIndex, std::string(View(pValue)));
  return 1;
}
QV_API QvNumber QvArrayGetNumber(const QvArray* pArray, int64_t nIndex) {
  const auto* p = Typed<qv::Number>(pArray);
  return ToAbi(p == nullptr ? qv::Number() : p->Get(nIndex));
}
QV_API QvBoolean QvArraySetNumber(QvArray* pArray, int64_t nIndex, QvNumber nValue) {
  auto* p = Typed<qv::Number>(pArray);
  if (p == nullptr || nIndex < 0) return 0;
  p->Set(nIndex, FromAbi(nValue));
  return 1;
}

QV_API QvObject* QvObjectNew(const char* sClassName) {
  if (sClassName == nullptr) return nullptr;
  [[maybe_unused]] const std::string_view sName(sClassName);
#define QV_NEW_OBJECT(cls)                                           \
  if (sName == #cls) {                                               \
    auto* p = new qv::cls();                                         \
    RunConstructor(*p);                                              \
    return reinterpret_cast<QvObject*>(static_cast<qv::Object*>(p)); \
  }
  QV_EXPORTED_CLASSES(QV_NEW_OBJECT)
#undef QV_NEW_OBJECT
  return nullptr;
}
QV_API void QvObjectFree(QvObject* pObject) {
  auto* p = reinterpret_cast<qv::Object*>(pObject);
  if (p == nullptr) return;
  [[maybe_unused]] const std::string_view sName = p->ClassName();
#define QV_DESTRUCT_OBJECT(cls) \
  if (sName == #cls) RunDestructor(*static_cast<qv::cls*>(p));
  QV_EXPORTED_CLASSES(QV_DESTRUCT_OBJECT)
#undef QV_DESTRUCT_OBJECT
  if (TheProcess().pCurrent == p) TheProcess().pCurrent = nullptr;
  delete p;
}
QV_API const char* QvObjectClassName(const QvObject* pObject) {
  return pObject == nullptr ? "" : reinterpret_cast<const qv::Object*>(pObject)->ClassName().data();
}
QV_API QvObject* QvGlobalObject(const char* sName, int64_t nIndex) {
  if (sName == nullptr || nIndex < 0) return nullptr;
  const std::string_view s(sName);
  qv::Module& m = qv::abi::TheModule();
  m.EnsureInitialised();
  qv::Object* p = nullptr;
  if (s == "JavaClass") {
    p = &qv::JavaClassArray(m).At(nIndex);
  } else if (nIndex != 0) {
    return nullptr;
  } else if (s == "JavaRepository") {
    p = &qv::JavaRepositoryInstance(m);
  } else if (s == "Directories") {
    p = &qv::DirectoriesInstance(m);
  } else if (s == "JavaFile") {
    p = &qv::JavaFileInstance(m);
  } else if (s == "AppProfile") {
    p = &qv::AppProfileInstance(m);
  }
  return reinterpret_cast<QvObject*>(p);
}
QV_API void QvSetCurrentInstance(QvObject* pObject) { TheProcess().pCurrent = reinterpret_cast<qv::Object*>(pObject); }
QV_API QvObject* QvCurrentInstance(void) { return reinterpret_cast<QvObject*>(TheProcess().pCurrent); }

QV_API QvBoolean QvSetGlobalString(const char* sName, const QvString* pValue) {
  const auto* pRow = FindGlobal(kStringGlobals, sName);
  if (pRow == nullptr) return 0;
  qv::abi::TheModule().G().*(pRow->pMember) = std::string(View(pValue));
  return 1;
}
QV_API QvString* QvGetGlobalString(const char* sName) {
  const auto* pRow = FindGlobal(kStringGlobals, sName);
  return NewString(pRow == nullptr ? std::string() : qv::abi::TheModule().G().*(pRow->pMember));
}
QV_API QvBoolean QvSetGlobalNumber(const char* sName, QvNumber nValue) {
  const auto* pRow = FindGlobal(kNumberGlobals, sName);
  if (pRow == nullptr) return 0;
  qv::abi::TheModule().G().*(pRow->pMember) = FromAbi(nValue);
  return 1;
}
QV_API QvNumber QvGetGlobalNumber(const char* sName) {
  const auto* pRow = FindGlobal(kNumberGlobals, sName);
  return ToAbi(pRow == nullptr ? qv::Number::Null() : qv::abi::TheModule().G().*(pRow->pMember));
}
QV_API QvBoolean QvSetGlobalBoolean(const char* sName, QvBoolean bValue) {
  const auto* pRow = FindGlobal(kBooleanGlobals, sName);
  if (pRow == nullptr) return 0;
  qv::abi::TheModule().G().*(pRow->pMember) = bValue != 0;
  return 1;
}
QV_API QvBoolean QvGetGlobalBoolean(const char* sName) {
  const auto* pRow = FindGlobal(kBooleanGlobals, sName);
  return pRow != nullptr && qv::abi::TheModule().G().*(pRow->pMember) ? 1 : 0;
}
QV_API QvNumber QvGetBoundNumber(const char* sName) {
  if (sName != nullptr && std::string_view(sName) == qv::kMessageReturnName)
    return ToAbi(qv::abi::TheModule().MessageReturn());
  return ToAbi(qv::Number::Null());
}

QV_API size_t QvExportCount(void) { return qv::abi::ExportCount(); }
QV_API const QvExportInfo* QvExportAt(size_t nIndex) { return qv::abi::ExportAt(nIndex); }
QV_API QvString* QvExportSignature(size_t nIndex) {
  return nIndex < qv::abi::ExportCount() ? qv::abi::NewString(qv::abi::ExportSignature(nIndex)) : nullptr;
}
QV_API void (*QvFindExport(const char* sName))(void) {
  if (sName == nullptr) return nullptr;
  for (size_t i = 0; i < qv::abi::ExportCount(); ++i) {
    const QvExportInfo* p = qv::abi::ExportAt(i);
    if (std::strcmp(p->sExport, sName) == 0) return p->pFunction;
  }
  return nullptr;
}

// The record's argument kinds are those of the C header.
static_assert(QV_TOOLKIT_INTEGER == int{qv::ToolkitArg::kInteger} && QV_TOOLKIT_TEXT == int{qv::ToolkitArg::kText} &&
              QV_TOOLKIT_STRING == int{qv::ToolkitArg::kString} && QV_TOOLKIT_RECEIVE == int{qv::ToolkitArg::kReceive});

QV_API int32_t QvToolkitAddItem(QvWindowHandle hWnd, const QvToolkitItem* pItem) {
  if (pItem == nullptr) return -1;
  return Lists().AddItem(qv::WindowHandle{hWnd}, qv::ItemFromC(*pItem, std::string(View(pItem->text))));
}
QV_API void QvToolkitSetSelection(QvWindowHandle hWnd, int32_t nIndex) {
  Lists().SetSelection(qv::WindowHandle{hWnd}, nIndex);
}
QV_API void QvToolkitSetStyle(QvWindowHandle hWnd, int32_t nStyle) { Lists().SetStyle(qv::WindowHandle{hWnd}, nStyle); }
QV_API void QvToolkitSetResult(int32_t nOrdinal, int32_t nResult) { Lists().SetResult(nOrdinal, nResult); }
QV_API void QvToolkitQueueResult(int32_t nOrdinal, int32_t nResult) { Lists().QueueResults(nOrdinal, {nResult}); }
QV_API void QvToolkitSetReceives(int32_t nOrdinal, const int32_t* pValues, size_t nCount) {
  Lists().SetReceives(nOrdinal,
                      pValues == nullptr ? std::vector<int32_t>() : std::vector<int32_t>(pValues, pValues + nCount));
}
QV_API void QvToolkitSetText(int32_t nOrdinal, const QvString* pText) {
  Lists().SetText(nOrdinal, std::string(View(pText)));
}
QV_API void QvToolkitClearScripts(void) { Lists().ClearScripts(); }
QV_API size_t QvToolkitCallCount(void) { return Lists().Calls().size(); }
QV_API QvBoolean QvToolkitCallAt(size_t nIndex, QvToolkitCall* pCall) {
  const auto& aCalls = Lists().Calls();
  if (pCall == nullptr || nIndex >= aCalls.size()) return 0;
  const qv::ToolkitCall& call = aCalls[nIndex];
  *pCall = QvToolkitCall{};
  pCall->ordinal = call.nOrdinal;
  pCall->hasWindow = call.bOwnWindow ? 1 : 0;
  pCall->window = call.hWnd.nValue;
  const size_t nArgs = std::min(call.aArgs.size(), std::size(pCall->args));
  pCall->argCount = static_cast<int32_t>(nArgs);
  for (size_t i = 0; i < nArgs; ++i) {
    const qv::ToolkitArg& arg = call.aArgs[i];
    pCall->args[i] = QvToolkitArg{static_cast<QvToolkitArgKind>(arg.eKind), arg.nValue, arg.sText.data(),
                                  arg.sText.size()};
  }
  return 1;
}
QV_API void QvToolkitClearCalls(void) { Lists().ClearCalls(); }

QV_API void QvSetProfileDirectory(const char* sDirectory) {
  qv::abi::TheHost().SetProfileDir(sDirectory == nullptr ? "" : sDirectory);
}
QV_API QvString* QvProfileDirectory(void) { return qv::abi::NewString(qv::abi::TheHost().ProfileDir()); }
QV_API void QvSetDatabase(const char* sTarget) { qv::abi::TheHost().SetDatabase(sTarget == nullptr ? "" : sTarget); }
QV_API void QvSetRepositoryDirectory(const char* sDirectory) {
  qv::abi::TheModule().Files().SetWorkingDirectory(sDirectory == nullptr ? "" : sDirectory);
}
QV_API QvString* QvRedactedDatabase(const char* sTarget) {
  return NewString(qv::abi::TheHost().RedactedDatabase(sTarget == nullptr ? "" : sTarget));
}

QV_API QvBoolean QvLibrariesBound(void) { return TheProcess().pModule->LibrariesBound() ? 1 : 0; }
QV_API int32_t QvLoadedLibraryCount(void) { return TheProcess().pModule->LoadedLibraryCount(); }
QV_API int32_t QvInitialisationCount(void) { return TheProcess().pModule->InitialisationCount(); }

}  // extern "C"
