// SPDX-License-Identifier: Apache-2.0
#include "controls/list_box.h"

#include "core/convert.h"
#include "core/runtime.h"
#include "core/toolkit.h"

namespace qv {

// The family, one definition per row of the table.
#define QV_LIST_BOX_DEFINE(Pass, member, id, ordinal, fn, window, result, ...)         \
  listop::result::Value cRadioListBox::member(Module& m QV_LIST_PARAMS(__VA_ARGS__)) { \
    return listop::Op<ExternalFunction::fn>::Call(m QV_LIST_HOLDS(__VA_ARGS__));       \
  }
QV_LIST_BOX_FAMILY(QV_LIST_BOX_DEFINE, )
#undef QV_LIST_BOX_DEFINE

namespace {

// Makes a toolkit call until Succeeded(result) holds.  After a failure the
// toolkit's error prompt lets the user try again or quit; cancel asks the
// application to quit.  Once quit has been requested no further try is made
// (a host whose quit does not end the process would otherwise never get
// back from here): FALSE, and the caller stops.
template <class Call, class Succeeded>
bool WithRetry(Module& m, Call call, Succeeded succeeded) {
  for (;;) {
    if (succeeded(call())) return true;
    if (!RtQuitRequested(m) && VtErrorPrompt(m, kToolkitCaption) == kPromptCancel) RtQuit(m);
    if (RtQuitRequested(m)) return false;
  }
}

bool NonZero(int32_t n) { return n != 0; }

template <ExternalFunction E>
auto Toolkit(Module& m) {
  return listop::Op<E>::Bind(m);
}

}  // namespace

bool cRadioListBox::CacheSelection(Module& m) {
  m.MessageReturn() = Number(0);
  const WindowHandle hWnd = RtCurrentItem(m);
  nSelection = RtIntToNumber(VtGetSelection(m, hWnd));
  if (nSelection == Number(-1)) return false;

  const int32_t nIndex = nSelection.AsInt();
  sItemText = VtGetItemText(m, hWnd, nIndex);
  nItemValue = RtIntToNumber(VtGetItemValue(m, hWnd, nIndex));
  nListStyle = GetStyle(m);
  nItemFlags = GetFlags(m, nSelection);
  nItemColor = GetColor(m, nSelection);
  nItemFont = GetFont(m, nSelection);
  ListOp151(m, nSelection, nItemValueA, nItemValueB);
  hItem = GetItemHandle(m, nSelection);
  if (hItem.IsTrue()) nItemHandleValue = ListOp203(m, hItem);
  return false;
}

bool cRadioListBox::SetupList(Module& m) {
  m.MessageReturn() = Number(0);
  const WindowHandle hWnd = RtCurrentItem(m);
  const int32_t nlParam = m.Win().Context().nlParam.AsInt();
  const auto pSetup = Toolkit<ExternalFunction::VtListOp96>(m);
  WithRetry(
      m, [&] { return pSetup(m.GetHost(), hWnd, 1, nlParam); }, NonZero);
  return false;
}

bool cListItemToggle::ToggleSelected(Module& m) {
  m.MessageReturn() = Number(0);
  const WindowHandle hWnd = RtCurrentItem(m);
  nSelection = RtIntToNumber(VtGetSelection(m, hWnd));
  if (nSelection == Number(-1)) return false;

  const int32_t nIndex = nSelection.AsInt();
  const Host& host = m.GetHost();
  const auto pFlags = Toolkit<ExternalFunction::VtGetItemFlags>(m);
  int32_t nFlags = -1;
  const bool bRead = WithRetry(
      m, [&] { return nFlags = pFlags(host, hWnd, nIndex); }, [](int32_t n) { return n != -1; });
  nItemFlags = RtIntToNumber(nFlags);
  if (!bRead) return false;  // quitting: -1 is no flag set

  const bool bToggles = BitAnd(nItemFlags, Number(kItemFlagToggle)).IsTrue();
  const bool bChecked = BitAnd(nItemFlags, Number(kItemFlagChecked)).IsTrue();
  if (bToggles && bChecked) {
    const auto pOp143 = Toolkit<ExternalFunction::VtListOp143>(m);
    WithRetry(
        m, [&] { return pOp143(host, hWnd, nIndex); }, NonZero);
  } else if (bToggles) {
    const auto pOp144 = Toolkit<ExternalFunction::VtListOp144>(m);
    WithRetry(
        m, [&] { return pOp144(host, hWnd, nIndex); }, NonZero);
  }
  return false;
}

bool cListItemToggle::OnToggleKey(Module& m) {
  m.MessageReturn() = Number(0);
  const WindowHandle hWnd = RtCurrentItem(m);
  nSelection = RtIntToNumber(VtGetSelection(m, hWnd));
  if (nSelection == Number(-1)) return false;

  const int32_t nKey = m.Win().Context().nwParam.AsInt();
  if (nKey == kKeypadPlus || nKey == kKeypadMinus) RtSendMessage(m, hWnd, kToggleRequest, Number(0), Number(0));
  return false;
}

}  // namespace qv
