// SPDX-License-Identifier: Apache-2.0
#include "host/shared/windows_paths.h"

namespace qv {

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// "*" and "?" matching, case-insensitive, with the usual backtrack to the
// last star: linear in the name for patterns with one star.
bool MatchPlain(std::string_view sName, std::string_view sPattern) {
  size_t i = 0;
  size_t j = 0;
  size_t nStarPattern = std::string_view::npos;
  size_t nStarName = 0;
  while (i < sName.size()) {
    if (j < sPattern.size() && sPattern[j] == '*') {
      nStarPattern = j++;
      nStarName = i;
    } else if (j < sPattern.size() && (sPattern[j] == '?' || FoldCase(sPattern[j]) == FoldCase(sName[i]))) {
      ++i;
      ++j;
    } else if (nStarPattern != std::string_view::npos) {
      j = nStarPattern + 1;
      i = ++nStarName;
    } else {
      return false;
    }
  }
  while (j < sPattern.size() && sPattern[j] == '*') ++j;
  return j == sPattern.size();
}

}  // namespace

bool HasDrive(std::string_view sPath) {
  return sPath.size() >= 2 && sPath[1] == ':' &&
         ((sPath[0] >= 'A' && sPath[0] <= 'Z') || (sPath[0] >= 'a' && sPath[0] <= 'z'));
}

bool IsBareName(std::string_view sPath) {
  return !HasDrive(sPath) && sPath.find_first_of("\\/") == std::string_view::npos;
}

bool MatchesWildcard(std::string_view sName, std::string_view sPattern) {
  if (MatchPlain(sName, sPattern)) return true;
  if (sPattern.size() >= 2 && sPattern.substr(sPattern.size() - 2) == ".*" &&
      MatchPlain(sName, sPattern.substr(0, sPattern.size() - 2)))
    return true;
  const size_t nDot = sPattern.rfind('.');
  if (nDot == std::string_view::npos || sPattern.size() - nDot - 1 != 3) return false;
  if (sPattern.substr(nDot + 1).find_first_of("*?") != std::string_view::npos) return false;
  const size_t nNameDot = sName.rfind('.');
  if (nNameDot == std::string_view::npos || sName.size() - nNameDot - 1 <= 3) return false;
  return MatchPlain(sName.substr(0, nNameDot + 4), sPattern);
}

}  // namespace qv
