// SPDX-License-Identifier: Apache-2.0
// JSON Lines output of the commands (--json): one object per record and
// line on stdout, written by nlohmann-json.
#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "quorvane/quorvane.h"

namespace quorvane::cli {

// Objects keep their fields in the order they are given.
using Json = nlohmann::ordered_json;

// A JSON string of the bytes of s.  Valid UTF-8 passes through; a byte
// that is not part of a valid UTF-8 sequence stands for the character of
// its Latin-1 reading (0xE9 becomes U+00E9), so every byte of the text is
// accounted for and the output is always valid JSON.
Json JsonText(std::string_view s);

// The kind a class body's declaration declares ("class", "interface",
// "enum", "record", "annotation"), null when it declares none.
Json JsonKind(std::string_view sBody);
// The name of eKind, null for QV_JAVA_NONE.
Json JsonKind(QvJavaKind eKind);

// Writes o on one line of stdout.
void PrintJsonLine(const Json& o);

}  // namespace quorvane::cli
