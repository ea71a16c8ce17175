// SPDX-License-Identifier: Apache-2.0
// The separators a repository fuzz input chooses with its first byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qv::fuzz {

struct Separators {
  std::string_view sDelimiter;
  std::string_view sToken;
};

// The command's defaults, the profile's defaults ("*" for both), characters
// people pick by hand, and texts of several characters that can straddle
// field ends.  A token holding a CR or LF is left out: the in-memory line
// break holds it, so no text with a line break could be stored.
inline Separators PickSeparators(uint8_t nChoice) {
  constexpr Separators kChoices[] = {
      {"\x1f", "\x1e"}, {"|", "~"}, {"*", "*"}, {"ab", "ba"}, {"\t", "\\n"}, {"||", "|~"}, {" ", "<br>"}, {"x", ""},
  };
  return kChoices[nChoice % (sizeof(kChoices) / sizeof(kChoices[0]))];
}

// TRUE when a non-empty proper suffix of sA is a prefix of sB ("||" and
// "|~", or "x|" and "|~" inside a field): a text ending in that suffix then
// straddles the separator behind it.  The format has no escape for this, so
// a writer must refuse such a field.
inline bool Overlapping(std::string_view sA, std::string_view sB) {
  for (size_t n = 1; n < sA.size() && n <= sB.size(); ++n) {
    if (sA.substr(sA.size() - n) == sB.substr(0, n)) return true;
  }
  return false;
}

// Whether a refusal to write what was loaded is one the format forces: the
// separators overlap themselves or each other, or one holds the other (the
// profile's default "*" for both; an import list always holds the token).
inline bool ForcedRefusal(const Separators& oSep, std::string_view sError) {
  const std::string_view d = oSep.sDelimiter, t = oSep.sToken;
  const bool bNested = !t.empty() && (d.find(t) != std::string_view::npos || t.find(d) != std::string_view::npos);
  const bool bOverlap = Overlapping(d, d) || Overlapping(t, t) || Overlapping(d, t) || Overlapping(t, d);
  const bool bSeparatorProblem = sError.find("delimiter") != std::string_view::npos ||
                                 sError.find("would not read back") != std::string_view::npos;
  return (bNested || bOverlap) && bSeparatorProblem;
}

}  // namespace qv::fuzz
