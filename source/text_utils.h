// SPDX-License-Identifier: Apache-2.0
// Text utilities: search and cut text by 0-based position.  Every question
// the Java source parser asks about a text is one of these.  Pure functions:
// they read their arguments and touch no module state.
//
// A search that starts at a position (StrScanAt) answers relative to that
// position; -1 means "not found".
#pragma once

#include <string_view>

#include "core/values.h"

namespace qv {

// The substring at nPos of at most nLength characters, clipped to the text
// (start at or past the end, or a length of 0 or less: empty).
String StrMidX(std::string_view sSource, Number nPos, Number nLength);
std::string_view StrMidXView(std::string_view sSource, Number nPos, Number nLength);

// Position of the first sKey at or after nPos, relative to nPos; -1 if none.
Number StrScanAt(std::string_view sSource, std::string_view sKey, Number nPos);

// The absolute position of the next sKey after the one at nPos:
// nPos + len(sKey) + StrScanAt(sSource, sKey, nPos + len(sKey)).  When there
// is none the result is nPos + len(sKey) - 1 (not -1); callers find the end
// of a search with a following StrScanAt from the result.
Number StrScanNext(std::string_view sSource, std::string_view sKey, Number nPos);

// Looking forward only from nPos: -1 when sKey does not occur from nPos on;
// 1 when the next "*/" comes before the next "/*" (nPos lies inside a block
// comment); 0 otherwise, also when no "*/" follows or no "/*" follows.  Line
// comments are not considered.
Number StrInComment(std::string_view sSource, std::string_view sKey, Number nPos);

// Classifies the first "/" of sText: 0 none or not a comment, 1 "//", 2
// "/*", 3 "/**".  Without a "/" returns 0 and leaves nStart and nEnd alone.
// Otherwise nStart is the slash's position and nEnd the position, relative to
// nStart, of the terminator (the line feed of a line comment, "*/" for every
// other type), -1 when it is missing.
Number StrCommentType(std::string_view sText, Number& nStart, Number& nEnd);

// (nHigh * 65536) bitwise-or nLow: two 16-bit values in one 32-bit value.
Number MakeLong(Number nLow, Number nHigh);

}  // namespace qv
