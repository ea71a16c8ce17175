// SPDX-License-Identifier: Apache-2.0
// The UTF-16 codec of the profiles: UTF-16 text (little or big endian) to
// UTF-8 and back, without I/O.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// UTF-16 (its byte order mark included) as UTF-8.  FALSE when the bytes
// are no well-formed UTF-16 (an odd length, a lone surrogate): sOut then
// holds U+FFFD in their place, and the text could not be written back
// unchanged.
bool Utf16ToUtf8(std::string_view sBytes, bool bBigEndian, std::string& sOut);

// UTF-8 as UTF-16; FALSE when sText is no well-formed UTF-8.
bool Utf8ToUtf16(std::string_view sText, bool bBigEndian, std::string& sOut);

}  // namespace qv
