// SPDX-License-Identifier: Apache-2.0
// The scripting side of the toolkit's list model, as a host application
// reaches it (HostApplication::Lists, core/host_application.h): items put
// in, results scripted by ordinal, calls read back.  Its own header, free of
// the window interfaces, so that the toolkit DLL (uitk60/), which includes
// <windows.h> and its macros, can use the model too.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/values.h"

namespace qv {

// One item of a toolkit list control.
struct ToolkitItem {
  String sText;
  int32_t nValue = 0;
  int32_t nFlags = 0;
  int32_t nColor = 0;
  int32_t nFont = 0;
  int32_t hItem = 0;    // the item's handle, 0 for none
  int32_t nValueA = 0;  // the two values that operation 151 reports
  int32_t nValueB = 0;
};
// An item from its C form at either boundary (QvToolkitItem of quorvane.h,
// UitkListItem of uitk60/uitk60.h), which name their fields alike.
template <class CItem>
ToolkitItem ItemFromC(const CItem& c, String sText) {
  return ToolkitItem{std::move(sText), c.value, c.flags, c.color, c.font, c.itemHandle, c.valueA, c.valueB};
}
// One argument of a recorded toolkit call, after the window.
struct ToolkitArg {
  enum Kind : int32_t { kInteger = 1, kText = 2, kString = 3, kReceive = 4 };
  Kind eKind = kInteger;
  int32_t nValue = 0;  // an integer; for a receive argument its value on entry
  String sText;        // a text, or the String itself
};
// A toolkit call as recorded.
struct ToolkitCall {
  int32_t nOrdinal = 0;
  bool bOwnWindow = false;
  WindowHandle hWnd;  // the window passed first, when the operation takes one
  std::vector<ToolkitArg> aArgs;
};

// The scripting side of the toolkit's list model: items put in, results
// scripted by ordinal, calls read back.
class ListScripting {
 public:
  virtual ~ListScripting() = default;

  // Appends an item to the list of hWnd; its index.
  virtual int32_t AddItem(WindowHandle hWnd, ToolkitItem item) = 0;
  virtual void SetSelection(WindowHandle hWnd, int32_t nIndex) = 0;
  virtual void SetStyle(WindowHandle hWnd, int32_t nStyle) = 0;

  // A standing result, a result queued before it, the values written to
  // receive arguments and the String result of operation nOrdinal.
  virtual void SetResult(int32_t nOrdinal, int32_t nResult) = 0;
  virtual void QueueResults(int32_t nOrdinal, const std::vector<int32_t>& aResults) = 0;
  virtual void SetReceives(int32_t nOrdinal, std::vector<int32_t> aValues) = 0;
  virtual void SetText(int32_t nOrdinal, String sText) = 0;
  virtual void ClearScripts() = 0;

  virtual const std::vector<ToolkitCall>& Calls() const = 0;
  virtual void ClearCalls() = 0;
};

}  // namespace qv
