// SPDX-License-Identifier: Apache-2.0
// The framework's global window functions: small routines the application's
// windows call while they work.
//
//   - window routines: the application font and colours, object-type and
//     name tests;
//   - two pass-throughs to host operations.
//
// The SQL bind-variable routines that work on the current window item are in
// framework/sql_binding.h, the counted wait cursor in core/wait_cursor.h.
#pragma once

#include <cstdint>

#include "core/module.h"

namespace qv {

// Object type codes and system colour indexes these routines test and set.
namespace fw {
inline constexpr int64_t kTypeTableWindow = 524288;  // 0x80000
// The framework's standard objects, in the order they are tested.
inline constexpr int64_t kTypeStandardObjects[] = {8, 16384, 16};
inline constexpr int kColorWindowText = 8;
inline constexpr int kColorWindowBackground = 5;
}  // namespace fw

// Gives hWnd the application font (sFontName, nFontSize, nFontEnhancement;
// one point smaller for a table window) and text colour (nFontColor), the
// background colour nBkgdColor when it differs from the text colour, and
// makes nOutlineFont a toolkit font of the same face at the full size.  With
// an empty sFontName nothing changes.  Result: null.
Number ApplyFontSettings(Module& m, WindowHandle hWnd);

// TRUE when hWnd is a table window (by object type).
bool IsTableWindow(Module& m, WindowHandle hWnd);
// TRUE when hWnd is one of the framework's standard objects (by object type).
bool IsStandardFWObject(Module& m, WindowHandle hWnd);
// The same test as IsStandardFWObject.
bool IsFrameworkObject(Module& m, WindowHandle hWnd);
// FALSE for the null window handle; otherwise TRUE when the object has no name.
bool IsUnnamedWindow(Module& m, WindowHandle hWnd);

// The host command for nValue (run with the arguments 0, 0); its result unchanged.
int32_t CallHostCommand(Module& m, int32_t nValue);
// The third of the three numbers the host reports for nValue, plus 1.
Number GetQueriedCount(Module& m, int32_t nValue);

}  // namespace qv
