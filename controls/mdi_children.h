// SPDX-License-Identifier: Apache-2.0
// INT_MDI_ManageChildren acts on the child windows of the current MDI frame:
// it asks them to close, stopping at the first that answers, or sends them
// any message.  The children are known from two parallel class-level lists
// of window handles that the application maintains; this class only walks
// them.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/convert.h"
#include "core/module.h"
#include "core/object.h"

namespace qv {

struct MdiChildrenVars : ModuleSlot {
  DynArray<WindowHandle> cv_hWndChildList;  // the child windows
  DynArray<WindowHandle> cv_hWndOwnerList;  // for each child, the MDI frame it belongs to
};

inline MdiChildrenVars& MdiChildrenClassVars(Module& m) { return m.Slot<MdiChildrenVars>(); }

class INT_MDI_ManageChildren : public Object {
 public:
  std::string_view ClassName() const override { return "INT_MDI_ManageChildren"; }

  // Sends the close request to each child of the current MDI frame, in list
  // order; TRUE at the first child that answers nonzero (the later ones get
  // nothing), FALSE when none did.
  bool CloseChildren(Module& m);
  // Sends nMsg with wParam and lParam (as 32-bit integers) to each child of
  // the current MDI frame; the one that is the current form only when
  // bIncludeCurrent is TRUE (nonzero).  Always FALSE.
  bool SendToChildren(Module& m, Number bIncludeCurrent, Number nMsg, Number wParam, Number lParam);
  // Hooks without behaviour.  Result: null.
  Number EmptyHookTwo(Module& m, int32_t h1, int32_t h2);
  Number EmptyHookNone(Module& m);
  Number EmptyHookOne(Module& m, ConvertedArgument h);
};

}  // namespace qv
