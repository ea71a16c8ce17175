// SPDX-License-Identifier: Apache-2.0
#include "controls/mdi_children.h"

#include "core/rt_string.h"
#include "core/runtime.h"
#include "core/window_messages.h"

namespace qv {
namespace {

// Calls fn(child) for each listed child whose owner is the current MDI
// frame, i = 0 to the owner list's upper bound taken once at the start,
// until fn answers TRUE; answers whether it did.  An entry whose owner is
// the null window handle belongs to no frame and is skipped, even when
// there is no MDI frame.
template <class Fn>
bool WalkChildren(Module& m, Fn fn) {
  const MdiChildrenVars& cv = MdiChildrenClassVars(m);
  Number nLower;
  Number nUpper;
  RtArrayBounds(cv.cv_hWndOwnerList, nLower, nUpper);
  const int64_t nLast = nUpper.AsInt64();
  const WindowHandle hFrame = RtMdiFrame(m);
  const WindowHandle hNull = RtNullWindow(m);
  for (int64_t i = 0; i <= nLast; ++i) {
    const WindowHandle hOwner = cv.cv_hWndOwnerList[i];
    if (hOwner == hNull || !(hOwner == hFrame)) continue;
    if (fn(cv.cv_hWndChildList[i])) return true;
  }
  return false;
}

}  // namespace

bool INT_MDI_ManageChildren::CloseChildren(Module& m) {
  return WalkChildren(
      m, [&m](WindowHandle hChild) { return RtSendMessage(m, hChild, kMsgClose, Number(0), Number(0)).IsTrue(); });
}

bool INT_MDI_ManageChildren::SendToChildren(Module& m, Number bIncludeCurrent, Number nMsg, Number wParam,
                                            Number lParam) {
  const WindowHandle hForm = RtCurrentForm(m);
  const bool bInclude = bIncludeCurrent.IsTrue();
  WalkChildren(m, [&](WindowHandle hChild) {
    if (!(hChild == hForm) || bInclude) {
      RtSendMessage(m, hChild, nMsg.AsInt(), Number(wParam.AsInt()), Number(lParam.AsInt()));
    }
    return false;
  });
  return false;
}

Number INT_MDI_ManageChildren::EmptyHookTwo(Module&, int32_t, int32_t) { return Number::Null(); }
Number INT_MDI_ManageChildren::EmptyHookNone(Module&) { return Number::Null(); }
Number INT_MDI_ManageChildren::EmptyHookOne(Module&, ConvertedArgument) { return Number::Null(); }

}  // namespace qv
