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

// TRUE when a proper prefix of s is also its suffix ("||"): a field that
// ends with that prefix then straddles the separator behind it, and the
// format has no escape for it, so a writer must refuse such a field.
inline bool SelfOverlapping(std::string_view s) {
  for (size_t n = 1; n < s.size(); ++n) {
    if (s.substr(0, n) == s.substr(s.size() - n)) return true;
  }
  return false;
}

// Whether a refusal to write what was loaded is one the format forces: a
// field straddling a self-overlapping separator, or, when one separator
// holds the other (the profile's default "*" for both), an import list,
// which always holds the token.
inline bool ForcedRefusal(const Separators& oSep, std::string_view sError) {
  const bool bNested = oSep.sDelimiter.find(oSep.sToken) != std::string_view::npos ||
                       oSep.sToken.find(oSep.sDelimiter) != std::string_view::npos;
  if (bNested && !oSep.sToken.empty() && sError.find("contain the delimiter") != std::string_view::npos) return true;
  return (SelfOverlapping(oSep.sDelimiter) || SelfOverlapping(oSep.sToken)) &&
         sError.find("would not read back") != std::string_view::npos;
}

}  // namespace qv::fuzz
