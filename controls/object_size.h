// SPDX-License-Identifier: Apache-2.0
// VC_ObjectSize keeps the layout rule of one child object of a form: it
// captures once where the object sits inside its parent and how large it is,
// in absolute units and as fractions of the parent's size, and re-applies
// that geometry to the parent's current size by four layout modes and two
// growth factors.  VC_ObjectSizeGroup re-lays out a list of them in one pass
// with the form's painting switched off.
//
// Layout modes (the four sets do not overlap, so a value alone tells which
// dimension it governs):
//   horizontal  5 fixed left edge         6 proportional left edge
//               7 fixed right gap         8 proportional right gap
//   vertical   10 fixed top edge         11 proportional top edge
//              12 fixed bottom gap       13 proportional bottom gap
//   width       3 fixed   4 proportional  9 stretch (keeps left edge and right gap)
//   height      1 fixed   2 proportional 14 stretch (keeps top edge and bottom gap)
// A mode outside its set leaves the coordinate or extent it governs null,
// and the null is passed on to the window system unchanged.
#pragma once

#include <string_view>

#include "core/module.h"
#include "core/object.h"

namespace qv {

namespace layout {
inline constexpr int kHeightFixed = 1, kHeightProportional = 2, kHeightStretch = 14;
inline constexpr int kWidthFixed = 3, kWidthProportional = 4, kWidthStretch = 9;
inline constexpr int kLeftFixed = 5, kLeftProportional = 6, kRightGapFixed = 7, kRightGapProportional = 8;
inline constexpr int kTopFixed = 10, kTopProportional = 11, kBottomGapFixed = 12, kBottomGapProportional = 13;
// Objects of this type code have only a width of their own (table-window
// columns): only their width is captured and set.
inline constexpr int64_t kTypeWidthOnly = 4096;
}  // namespace layout

class VC_ObjectSize : public Object {
 public:
  std::string_view ClassName() const override { return "VC_ObjectSize"; }

  // Stores the six values unchanged, none validated.  Note the order: the
  // two factors first.  Result: null.
  Number SetMode(Module& m, Number nWidthFactorIn, Number nHeightFactorIn, Number nHorzModeIn, Number nVertModeIn,
                 Number nWidthModeIn, Number nHeightModeIn);
  // Binds the object to hWnd and captures its geometry and that of its
  // parent; a later call takes a new reference geometry.  Result: null.
  Number SetObjectSizeDetail(Module& m, WindowHandle hWnd);
  // Re-applies the captured geometry to the parent's current size: position
  // first, then size.  Does nothing while the object is bound to the null
  // window handle; never changes the captured values.  Result: null.
  Number Resize(Module& m);

  Number nHorzMode, nVertMode, nWidthMode, nHeightMode;
  Number nOrigWidth;   // W0
  Number nOrigHeight;  // H0
  Number nOrigLeft;    // X0, inside the parent
  Number nOrigTop;     // Y0
  Number nBottomGap;   // B0 = PH0 - (Y0 + H0)
  Number nRightGap;    // R0 = PW0 - (X0 + W0)
  Number nHeightRatio, nWidthRatio, nLeftRatio, nRightGapRatio, nTopRatio, nBottomGapRatio;
  Number nWidthFactor;   // applied to a changed width
  Number nHeightFactor;  // applied to a shrunken height
  WindowHandle hWndObject;
  Number nObjectType;
};

class VC_ObjectSizeGroup : public Object {
 public:
  std::string_view ClassName() const override { return "VC_ObjectSizeGroup"; }

  // Switches the current form's painting off, resizes oObjectSizes[i] for
  // each i before the first null handle of hWndObjects, switches painting
  // back on and repaints the form once.  Result: null.
  Number ResizeObjects(Module& m);

  // Filled by the application: the objects, and a parallel list of window
  // handles whose first null handle ends the list.
  DynArray<VC_ObjectSize> oObjectSizes;
  DynArray<WindowHandle> hWndObjects;
};

}  // namespace qv
