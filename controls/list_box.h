// SPDX-License-Identifier: Apache-2.0
// The list box window classes driven by the toolkit's list control.
//
// cRadioListBox gives the application one member per toolkit list operation
// (the family of core/list_ops.h), always applied to the control on which
// it runs: the runtime's current item window, which a host sets with the
// message it dispatches.  Its two message handlers keep a cache of the
// selected item and set the control up.  cListItemToggle toggles the
// selected item of such a control between two states.
#pragma once

#include <string_view>

#include "core/list_calls.h"
#include "core/module.h"
#include "core/object.h"

namespace qv {

class cRadioListBox : public Object {
 public:
  std::string_view ClassName() const override { return "cRadioListBox"; }

  // The family: each member converts its arguments, calls its one toolkit
  // operation and converts the result back (core/list_calls.h).
#define QV_LIST_BOX_DECLARE(Pass, member, id, ordinal, fn, window, result, ...) \
  ::qv::listop::result::Value member(Module& m QV_LIST_PARAMS(__VA_ARGS__));
  QV_LIST_BOX_FAMILY(QV_LIST_BOX_DECLARE, )
#undef QV_LIST_BOX_DECLARE

  // Message handlers.  Each sets the message's return value to 0 and
  // returns FALSE.
  // Refreshes the selection cache below.  With no item selected only
  // nSelection changes.
  bool CacheSelection(Module& m);
  // Sets the control up: toolkit operation 96 with 1 and the message's
  // lParam, retried until it succeeds.
  bool SetupList(Module& m);

  // The selection cache, valid as of the last CacheSelection that found a
  // selection.
  Number nListStyle;
  Number nSelection;  // the selected index, -1 when none
  String sItemText;
  Number nItemValue;
  Number nItemFlags;
  Number nItemColor;
  Number nItemFont;
  Number nItemValueA;  // the two values that operation 151 reports
  Number nItemValueB;
  Number hItem;             // the item's handle, 0 when it has none
  Number nItemHandleValue;  // operation 203 of hItem, kept when hItem is 0
};

class cListItemToggle : public Object {
 public:
  std::string_view ClassName() const override { return "cListItemToggle"; }

  // Toggles the selected item by its flags: with bit 30 and bit 31 set
  // toolkit operation 143, with bit 30 alone operation 144, without bit 30
  // nothing.  Returns FALSE.
  bool ToggleSelected(Module& m);
  // The numeric keypad's + and - keys (wParam 107 and 109) send the toggle
  // request (message 8201) to the control.  Returns FALSE.
  bool OnToggleKey(Module& m);

  Number nSelection;  // the selected index, -1 when none
  Number nItemFlags;  // the selected item's flags
};

// The two item flags the toggle reads.
inline constexpr int64_t kItemFlagToggle = 0x40000000;   // bit 30: the item toggles
inline constexpr int64_t kItemFlagChecked = 0x80000000;  // bit 31: it is in its second state
// The toggle request, and the keypad keys that send it.
inline constexpr int64_t kToggleRequest = 8201;
inline constexpr int32_t kKeypadPlus = 107;
inline constexpr int32_t kKeypadMinus = 109;
// The caption of the toolkit's error prompt.
inline constexpr std::string_view kToolkitCaption = "UI Toolkit";

}  // namespace qv
