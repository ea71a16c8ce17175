// SPDX-License-Identifier: Apache-2.0
#include "controls/object_size.h"

#include "core/runtime.h"
#include "core/window_messages.h"

namespace qv {

Number VC_ObjectSize::SetMode(Module&, Number nWidthFactorIn, Number nHeightFactorIn, Number nHorzModeIn,
                              Number nVertModeIn, Number nWidthModeIn, Number nHeightModeIn) {
  nWidthFactor = nWidthFactorIn;
  nHeightFactor = nHeightFactorIn;
  nHorzMode = nHorzModeIn;
  nVertMode = nVertModeIn;
  nWidthMode = nWidthModeIn;
  nHeightMode = nHeightModeIn;
  return Number::Null();
}

Number VC_ObjectSize::SetObjectSizeDetail(Module& m, WindowHandle hWnd) {
  hWndObject = hWnd;
  nObjectType = Number(RtGetObjectType(m, hWnd));
  Number nParentWidth;
  Number nParentHeight;
  RtGetWindowSize(m, RtGetParent(m, hWnd), nParentWidth, nParentHeight);

  if (nObjectType == Number(layout::kTypeWidthOnly)) {
    // The other captured values keep what they held.
    nOrigWidth = RtGetObjectWidth(m, hWnd);
  } else {
    RtGetWindowSize(m, hWnd, nOrigWidth, nOrigHeight);
    RtGetWindowPosition(m, hWnd, nOrigLeft, nOrigTop);
    nBottomGap = nParentHeight - (nOrigTop + nOrigHeight);
    nRightGap = nParentWidth - (nOrigLeft + nOrigWidth);
    // A parent of zero width or height makes these null (Number division by
    // zero), and Resize then passes nulls on for what depends on them.
    nHeightRatio = nOrigHeight / nParentHeight;
    nLeftRatio = nOrigLeft / nParentWidth;
    nRightGapRatio = nRightGap / nParentWidth;
    nTopRatio = nOrigTop / nParentHeight;
    nBottomGapRatio = nBottomGap / nParentHeight;
  }
  nWidthRatio = nOrigWidth / nParentWidth;
  return Number::Null();
}

Number VC_ObjectSize::Resize(Module& m) {
  if (hWndObject == RtNullWindow(m)) return Number::Null();
  Number nParentWidth;
  Number nParentHeight;
  RtGetWindowSize(m, RtGetParent(m, hWndObject), nParentWidth, nParentHeight);

  if (nObjectType == Number(layout::kTypeWidthOnly)) {
    // The width factor applies whatever the width did.
    RtSetObjectWidth(m, hWndObject, (nWidthRatio * nParentWidth) * nWidthFactor);
    return Number::Null();
  }

  // Each step sees the results of the steps before it.
  Number nLeft = Number::Null();
  Number nTop = Number::Null();
  Number nWidth = Number::Null();
  Number nHeight = Number::Null();

  if (nHorzMode == Number(layout::kLeftFixed)) {
    nLeft = nOrigLeft;
  } else if (nHorzMode == Number(layout::kLeftProportional)) {
    nLeft = nLeftRatio * nParentWidth;
  }

  if (nWidthMode == Number(layout::kWidthFixed)) {
    nWidth = nOrigWidth;
  } else if (nWidthMode == Number(layout::kWidthProportional)) {
    nWidth = nWidthRatio * nParentWidth;
  } else if (nWidthMode == Number(layout::kWidthStretch)) {
    nWidth = nParentWidth - (nOrigLeft + nRightGap);
  }
  const Number nOne(1);
  if (nWidth > nOrigWidth && !(nWidthFactor == nOne)) {
    nWidth = nWidth * nWidthFactor;
  } else if (nWidth < nOrigWidth && !(nWidthFactor == nOne)) {
    nWidth = nWidth / nWidthFactor;
  }

  // The right-gap modes place the object by the width just worked out.
  if (nHorzMode == Number(layout::kRightGapFixed)) {
    nLeft = nParentWidth - (nWidth + nRightGap);
  } else if (nHorzMode == Number(layout::kRightGapProportional)) {
    nLeft = nParentWidth - (nRightGapRatio * nParentWidth + nWidth);
  }
  if (nWidthMode == Number(layout::kWidthStretch)) nLeft = nOrigLeft;

  if (nVertMode == Number(layout::kTopFixed)) {
    nTop = nOrigTop;
  } else if (nVertMode == Number(layout::kTopProportional)) {
    nTop = nTopRatio * nParentHeight;
  }

  if (nHeightMode == Number(layout::kHeightFixed)) {
    nHeight = nOrigHeight;
  } else if (nHeightMode == Number(layout::kHeightProportional)) {
    nHeight = nHeightRatio * nParentHeight;
  } else if (nHeightMode == Number(layout::kHeightStretch)) {
    nHeight = nParentHeight - (nOrigTop + nBottomGap);
  }
  // The height factor acts only on shrinking, and always multiplies.
  if (nHeight < nOrigHeight) nHeight = nHeight * nHeightFactor;

  if (nVertMode == Number(layout::kBottomGapFixed)) {
    nTop = nParentHeight - (nHeight + nBottomGap);
  } else if (nVertMode == Number(layout::kBottomGapProportional)) {
    nTop = nParentHeight - (nBottomGapRatio * nParentHeight + nHeight);
  }
  if (nHeightMode == Number(layout::kHeightStretch)) nTop = nOrigTop;

  RtSetWindowPosition(m, hWndObject, nLeft, nTop);
  RtSetWindowSize(m, hWndObject, nWidth, nHeight);
  return Number::Null();
}

Number VC_ObjectSizeGroup::ResizeObjects(Module& m) {
  const WindowHandle hForm = RtCurrentForm(m);
  RtSendMessage(m, hForm, kMsgSetRedraw, Number(0), Number(0));
  // An element past the end of hWndObjects reads as the null window handle.
  for (int64_t i = 0; i < hWndObjects.Count() && !(hWndObjects[i] == RtNullWindow(m)); ++i) {
    // Each object resizes the window it captured; the handle list only
    // bounds the loop.  An object never assigned is a new, unbound one.
    if (i < oObjectSizes.Count()) {
      oObjectSizes.At(i).Resize(m);
    } else {
      VC_ObjectSize().Resize(m);
    }
  }
  RtSendMessage(m, hForm, kMsgSetRedraw, Number(1), Number(0));
  RtInvalidateWindow(m, hForm);
  RtUpdateWindow(m, hForm);
  return Number::Null();
}

}  // namespace qv
