// Plain-text output of record fields, shared by the commands.
#pragma once

#include <string_view>

namespace quorvane::cli {

// "  label        value" on one line.
void PrintField(const char* sLabel, std::string_view s, int nIndent = 2);
// A multi-line text under its label, each line indented and marked "| ";
// any run of CRs before a LF belongs to the line break.
void PrintBlock(const char* sLabel, std::string_view s, int nIndent = 2);

}  // namespace quorvane::cli
