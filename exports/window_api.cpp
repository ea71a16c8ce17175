// SPDX-License-Identifier: Apache-2.0
// The runtime API of the window classes: the arrays that the application
// fills inside instances, the runtime's context values, and the headless
// window system of the process's host.
#include <cstring>
#include <string_view>

#include "controls/containers.h"
#include "controls/mdi_children.h"
#include "controls/object_size.h"
#include "exports/abi.h"
#include "exports/process.h"

using qv::abi::FromAbi;
using qv::abi::TheHost;
using qv::abi::TheProcess;
using qv::abi::ToAbi;
using qv::abi::View;

namespace {

qv::Object* AsObject(QvObject* p) { return reinterpret_cast<qv::Object*>(p); }
QvObject* AsHandle(qv::Object* p) { return reinterpret_cast<QvObject*>(p); }
qv::WindowHandle Window(QvWindowHandle h) { return qv::WindowHandle{h}; }

// The window-handle array named sArray inside the object (or its class).
qv::DynArray<qv::WindowHandle>* WindowArray(qv::Object* p, const char* sArray) {
  if (p == nullptr || sArray == nullptr) return nullptr;
  const std::string_view s(sArray);
  if (auto* pGroup = dynamic_cast<qv::VC_ObjectSizeGroup*>(p); pGroup != nullptr && s == "hWndObjects") {
    return &pGroup->hWndObjects;
  }
  if (dynamic_cast<qv::INT_MDI_ManageChildren*>(p) != nullptr) {
    qv::MdiChildrenVars& cv = qv::MdiChildrenClassVars(*TheProcess().pModule);
    if (s == "cv_hWndChildList") return &cv.cv_hWndChildList;
    if (s == "cv_hWndOwnerList") return &cv.cv_hWndOwnerList;
  }
  return nullptr;
}

// Calls fn(array) on the object array named sArray inside the object; FALSE
// when there is none.
template <class Fn>
bool WithObjectArray(qv::Object* p, const char* sArray, Fn fn) {
  if (p == nullptr || sArray == nullptr) return false;
  const std::string_view s(sArray);
  if (auto* pGroup = dynamic_cast<qv::VC_ObjectSizeGroup*>(p); pGroup != nullptr && s == "oObjectSizes") {
    fn(pGroup->oObjectSizes);
    return true;
  }
  if (auto* pList = dynamic_cast<qv::VC_ListContainerObject*>(p); pList != nullptr && s == "oCells") {
    fn(pList->oCells);
    return true;
  }
  if (auto* pCtrl = dynamic_cast<qv::VC_ContainerCtrl*>(p); pCtrl != nullptr && s == "oLists") {
    fn(pCtrl->oLists);
    return true;
  }
  return false;
}

qv::WindowHandle* ContextWindow(qv::HostContext& context, const char* sName) {
  if (sName == nullptr) return nullptr;
  const std::string_view s(sName);
  if (s == "hWndForm") return &context.hWndForm;
  if (s == "hWndItem") return &context.hWndItem;
  if (s == "hWndMDI") return &context.hWndMDI;
  return nullptr;
}

}  // namespace

extern "C" {

QV_API QvBoolean QvSetWindowElement(QvObject* pObject, const char* sArray, int64_t nIndex, QvWindowHandle hWnd) {
  auto* p = WindowArray(AsObject(pObject), sArray);
  if (p == nullptr || nIndex < 0) return 0;
  p->Set(nIndex, Window(hWnd));
  return 1;
}

QV_API QvWindowHandle QvGetWindowElement(const QvObject* pObject, const char* sArray, int64_t nIndex) {
  const auto* p = WindowArray(AsObject(const_cast<QvObject*>(pObject)), sArray);
  return p == nullptr ? 0 : p->Get(nIndex).nValue;
}

QV_API QvObject* QvObjectElement(QvObject* pObject, const char* sArray, int64_t nIndex) {
  if (nIndex < 0) return nullptr;
  qv::Object* pElement = nullptr;
  WithObjectArray(AsObject(pObject), sArray, [&](auto& a) { pElement = &a.At(nIndex); });
  return AsHandle(pElement);
}

QV_API QvBoolean QvSetObjectElement(QvObject* pObject, const char* sArray, int64_t nIndex, const QvObject* pValue) {
  if (nIndex < 0 || pValue == nullptr) return 0;
  const auto* pSource = reinterpret_cast<const qv::Object*>(pValue);
  bool bStored = false;
  WithObjectArray(AsObject(pObject), sArray, [&](auto& a) {
    using Element = std::remove_reference_t<decltype(a.At(0))>;
    // Only an instance of the element class itself is stored.
    if (pSource->ClassName() != Element().ClassName()) return;
    a.Set(nIndex, *static_cast<const Element*>(pSource));
    bStored = true;
  });
  return bStored ? 1 : 0;
}

QV_API int64_t QvElementCount(const QvObject* pObject, const char* sArray) {
  qv::Object* p = AsObject(const_cast<QvObject*>(pObject));
  if (const auto* pWindows = WindowArray(p, sArray)) return pWindows->Count();
  int64_t nCount = -1;
  WithObjectArray(p, sArray, [&](auto& a) { nCount = a.Count(); });
  return nCount;
}

QV_API QvBoolean QvClearElements(QvObject* pObject, const char* sArray) {
  qv::Object* p = AsObject(pObject);
  if (auto* pWindows = WindowArray(p, sArray)) {
    pWindows->Clear();
    return 1;
  }
  return WithObjectArray(p, sArray, [](auto& a) { a.Clear(); }) ? 1 : 0;
}

QV_API QvBoolean QvSetContextWindow(const char* sName, QvWindowHandle hWnd) {
  qv::WindowHandle* p = ContextWindow(TheHost().Windows().MutableContext(), sName);
  if (p == nullptr) return 0;
  *p = Window(hWnd);
  return 1;
}

QV_API QvWindowHandle QvGetContextWindow(const char* sName) {
  qv::HostContext& context = TheHost().Windows().MutableContext();
  if (sName != nullptr && std::strcmp(sName, "hWndNULL") == 0) return context.hWndNULL.nValue;
  const qv::WindowHandle* p = ContextWindow(context, sName);
  return p == nullptr ? 0 : p->nValue;
}

QV_API void QvSetMessageParameters(QvNumber wParam, QvNumber lParam) {
  TheHost().Windows().SetMessageParameters(FromAbi(wParam), FromAbi(lParam));
}

QV_API void QvSetMessageBoxHandler(QvMessageBoxHandler pHandler, void* pUserData) {
  if (pHandler == nullptr) {
    TheHost().Windows().SetBoxResponder(nullptr);
    return;
  }
  TheHost().Windows().SetBoxResponder([pHandler, pUserData](const qv::ShownBox& box) {
    return qv::Number(pHandler(pUserData, box.sCaption.c_str(), box.sCaption.size(), box.sText.c_str(),
                               box.sText.size(), static_cast<int32_t>(box.nStyle)));
  });
}

QV_API QvBoolean QvQuitRequested(void) { return TheHost().Windows().QuitRequested() ? 1 : 0; }

QV_API QvWindowHandle QvCreateWindow(QvWindowHandle hParent, int64_t nType, const char* sName) {
  return TheHost().Windows().CreateWindow(Window(hParent), nType, sName == nullptr ? "" : sName).nValue;
}

QV_API QvBoolean QvSetWindowText(QvWindowHandle hWnd, const QvString* pText) {
  return TheHost().Windows().SetText(Window(hWnd), std::string(View(pText))) ? 1 : 0;
}

QV_API QvBoolean QvPlaceWindow(QvWindowHandle hWnd, QvNumber nLeft, QvNumber nTop, QvNumber nWidth, QvNumber nHeight) {
  return TheHost().Windows().Place(Window(hWnd), FromAbi(nLeft), FromAbi(nTop), FromAbi(nWidth), FromAbi(nHeight)) ? 1
                                                                                                                   : 0;
}

QV_API QvBoolean QvGetWindowPlacement(QvWindowHandle hWnd, QvNumber* pLeft, QvNumber* pTop, QvNumber* pWidth,
                                      QvNumber* pHeight) {
  qv::Number nLeft, nTop, nWidth, nHeight;
  if (!TheHost().Windows().Placement(Window(hWnd), nLeft, nTop, nWidth, nHeight)) return 0;
  if (pLeft != nullptr) *pLeft = ToAbi(nLeft);
  if (pTop != nullptr) *pTop = ToAbi(nTop);
  if (pWidth != nullptr) *pWidth = ToAbi(nWidth);
  if (pHeight != nullptr) *pHeight = ToAbi(nHeight);
  return 1;
}

QV_API QvBoolean QvSetWindowAnswer(QvWindowHandle hWnd, int64_t nMessage, QvNumber nResult) {
  return TheHost().Windows().SetMessageAnswer(Window(hWnd), nMessage, FromAbi(nResult)) ? 1 : 0;
}

QV_API int64_t QvMessagesSent(QvWindowHandle hWnd, int64_t nMessage) {
  return TheHost().Windows().MessagesSent(Window(hWnd), nMessage);
}

QV_API int32_t QvWindowPaints(QvWindowHandle hWnd) { return TheHost().Windows().PaintCount(Window(hWnd)); }

}  // extern "C"
