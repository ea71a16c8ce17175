// The framework's global functions: small routines the application's windows
// call while they work.
//
//   - a counted wait cursor (SetWaitCursor), also used by the repository
//     writers around their work;
//   - window routines: the application font and colours, object-type and
//     name tests;
//   - SQL bind-variable routines that turn the current window item into a
//     bind variable and append it to column lists;
//   - two pass-throughs to host operations.
//
// The routines that name "the current item" or "the current form" read the
// host's context at the moment of the call: they act on the object whose
// message is being handled.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/module.h"

namespace qv {

// Object type codes and system colour indexes these routines test and set.
namespace fw {
inline constexpr int64_t kTypeTableWindow = 524288;  // 0x80000
// The framework's standard objects, in the order they are tested.
inline constexpr int64_t kTypeStandardObjects[] = {8, 16384, 16};
inline constexpr int kColorWindowText = 8;
inline constexpr int kColorWindowBackground = 5;
}  // namespace fw

// Counted wait cursor.  Every "on" (bOn TRUE) shows the wait cursor and
// deepens the count; an "off" lessens it and restores the cursor when it
// reaches 0; an "off" at depth 0 does nothing.  Calls nest: the cursor shows
// from the first "on" until the matching last "off".  Result: null.
Number SetWaitCursor(Module& m, bool bOn);

// Shows the counted wait cursor for as long as the object lives: one "on"
// at construction, the matching "off" at destruction.
class WaitCursorScope {
 public:
  explicit WaitCursorScope(Module& m) : m_(m) { SetWaitCursor(m_, true); }
  ~WaitCursorScope() { SetWaitCursor(m_, false); }
  WaitCursorScope(const WaitCursorScope&) = delete;
  WaitCursorScope& operator=(const WaitCursorScope&) = delete;

 private:
  Module& m_;
};

// Gives hWnd the application font (sFontName, nFontSize, nFontEnhancement;
// one point smaller for a table window) and text colour (nFontColor), the
// background colour nBkgdColor when it differs from the text colour, and
// makes nOutlineFont a toolkit font of the same face at the full size.  With
// an empty sFontName nothing changes.  Result: null.
Number ApplyFontSettings(Module& m, WindowHandle hWnd);

// TRUE when hWnd is one of the framework's standard objects (by object type).
bool IsStandardFWObject(Module& m, WindowHandle hWnd);
// The same test as IsStandardFWObject.
bool IsFrameworkObject(Module& m, WindowHandle hWnd);
// FALSE for the null window handle; otherwise TRUE when the object has no name.
bool IsUnnamedWindow(Module& m, WindowHandle hWnd);

// The current item's name without its lower-case prefix ("_" counts as part
// of the prefix), in upper case: "dfCustomerName" -> "CUSTOMERNAME",
// "name1" -> "1", "name" -> "".
String GetColumnName(Module& m);
// ":" and the current item's name.
String GetFieldBindVar(Module& m);
// ":form.item" for a column of a table window (the current form's name and
// the item's), ":item" for any other item.
String GetColumnBindVar(Module& m);

// Append sColumn to the column list sList and its bind variable sBindVar to
// sBindList.  nMode 3 builds an assignment list instead ("␣A = :a, B = :b")
// and leaves sBindList alone; in modes 2 and 3 a qualified column "T.C" is
// entered as "C".  The column list begins with a blank, the bind list does
// not.  An empty sBindVar stands for the current item's bind variable:
// GetColumnBindVar for BuildColumnBindList, GetFieldBindVar for
// BuildFieldBindList.  Note the two parameter orders.  Result: null.
Number BuildColumnBindList(Module& m, Number nMode, String& sList, String& sBindList, std::string_view sColumn,
                           std::string_view sBindVar);
Number BuildFieldBindList(Module& m, std::string_view sColumn, std::string_view sBindVar, String& sList,
                          String& sBindList, Number nMode);

// The host command for nValue (run with the arguments 0, 0); its result unchanged.
int32_t CallHostCommand(Module& m, int32_t nValue);
// The third of the three numbers the host reports for nValue, plus 1.
Number GetQueriedCount(Module& m, int32_t nValue);

}  // namespace qv
