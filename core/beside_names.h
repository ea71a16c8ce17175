// SPDX-License-Identifier: Apache-2.0
// The names of the files that stand in for a file beside it while it is
// replaced: the new version (CreateTemporary) and the old one kept aside
// (KeepAside).  Both hosts make them, and a journal of replacements may
// name only them; one rule for all three.
#pragma once

#include <string>
#include <string_view>

namespace qv {

inline constexpr std::string_view kNewFileTag = ".qvnew-";
inline constexpr std::string_view kAsideFileTag = ".qvold-";
// How many random letters and digits end such a name.
inline constexpr size_t kBesideRandomLength = 12;

// The name beside sPath: sPath's directory (up to the last of
// sSeparators), ".", sPath's own name, sTag, then the letters and digits
// made of the bytes sRandom, which the host draws from the system's random
// source so that no one can guess the name beforehand.
std::string NameBeside(std::string_view sPath, std::string_view sTag, std::string_view sRandom,
                       std::string_view sSeparators = "\\/");
// Whether sOther is a name that NameBeside makes beside sTarget with sTag.
bool IsNameBeside(std::string_view sTarget, std::string_view sOther, std::string_view sTag);

}  // namespace qv
