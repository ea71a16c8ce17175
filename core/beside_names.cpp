// SPDX-License-Identifier: Apache-2.0
#include "core/beside_names.h"

namespace qv {

namespace {

// Where the name of sPath begins.
size_t NameStart(std::string_view sPath, std::string_view sSeparators) {
  const size_t nCut = sPath.find_last_of(sSeparators);
  return nCut == std::string_view::npos ? 0 : nCut + 1;
}

}  // namespace

std::string NameBeside(std::string_view sPath, std::string_view sTag, std::string_view sRandom,
                       std::string_view sSeparators) {
  static constexpr std::string_view kChars = "abcdefghijklmnopqrstuvwxyz0123456789";
  const size_t nName = NameStart(sPath, sSeparators);
  std::string sName(sPath.substr(0, nName));
  sName.append(".").append(sPath.substr(nName)).append(sTag);
  for (const char c : sRandom) sName.push_back(kChars[static_cast<unsigned char>(c) % kChars.size()]);
  return sName;
}

bool IsNameBeside(std::string_view sTarget, std::string_view sOther, std::string_view sTag) {
  const std::string sPrefix = NameBeside(sTarget, sTag, "");
  return sOther.size() > sPrefix.size() && sOther.starts_with(sPrefix) &&
         sOther.find_first_of("\\/", sPrefix.size()) == std::string_view::npos;
}

}  // namespace qv
