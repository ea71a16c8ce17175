// JSON text for the command's machine-readable output.
#pragma once

#include <string>
#include <string_view>

namespace qv::cli {

// A JSON string literal of the bytes of s.  Valid UTF-8 passes through
// (with the escapes JSON requires); a byte that is not part of a valid UTF-8
// sequence is written as \u00XX, its Latin-1 reading, so every byte of the
// text is accounted for.
std::string JsonString(std::string_view s);

}  // namespace qv::cli
