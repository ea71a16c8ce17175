// SPDX-License-Identifier: Apache-2.0
#include "host/os/win32/win32_profiles.h"

#include "host/os/win32/win32_api.h"

#include <climits>

namespace qv {

Win32Profiles::Win32Profiles(std::string sProfileDir) : sProfileDir_(std::move(sProfileDir)) {}

std::string Win32Profiles::ResolvePath(std::string_view sFile) const {
  std::string s(sFile);
  if (s.find_first_of("\\/:") == std::string::npos) s = (sProfileDir_.empty() ? "." : sProfileDir_) + "\\" + s;
  char aFull[MAX_PATH * 4];
  const DWORD n = GetFullPathNameA(s.c_str(), sizeof(aFull), aFull, nullptr);
  return n > 0 && n < sizeof(aFull) ? std::string(aFull, n) : s;
}

int64_t Win32Profiles::GetString(std::string_view sSection, std::string_view sKey, std::string_view sDefault,
                                 std::string& sValue, std::string_view sFile) {
  const std::string sS(sSection), sK(sKey), sPath = ResolvePath(sFile);
  // The function copies the default for a missing key and counts it; the
  // interface answers 0 for a missing key.  A default no value can hold (it
  // has a line break) tells a missing key from a value equal to the default.
  static constexpr std::string_view kMissing = "\n(missing)\n";
  // The function cuts a value to the buffer and answers the buffer size
  // less one; a value that fills the buffer is read again with a larger one.
  std::string aBuffer(256, '\0');
  for (;;) {
    const DWORD n = GetPrivateProfileStringA(sS.c_str(), sK.c_str(), kMissing.data(), aBuffer.data(),
                                             static_cast<DWORD>(aBuffer.size()), sPath.c_str());
    if (n + 1 < aBuffer.size() || aBuffer.size() >= (1u << 24)) {
      if (std::string_view(aBuffer.data(), n) == kMissing) {
        sValue.assign(sDefault);
        return 0;
      }
      sValue.assign(aBuffer.data(), n);
      return static_cast<int64_t>(n);
    }
    aBuffer.assign(aBuffer.size() * 4, '\0');
  }
}

bool Win32Profiles::WriteString(std::string_view sSection, std::string_view sKey, std::string_view sValue,
                                std::string_view sFile) {
  const std::string sS(sSection), sK(sKey), sV(sValue), sPath = ResolvePath(sFile);
  return WritePrivateProfileStringA(sS.c_str(), sK.c_str(), sV.c_str(), sPath.c_str()) != 0;
}

int64_t Win32Profiles::GetInt(std::string_view sSection, std::string_view sKey, int64_t nDefault,
                              std::string_view sFile) {
  const std::string sS(sSection), sK(sKey), sPath = ResolvePath(sFile);
  const INT nDefault32 = nDefault > INT_MAX ? INT_MAX : nDefault < INT_MIN ? INT_MIN : static_cast<INT>(nDefault);
  // The function answers an unsigned value: a negative number comes back
  // as its bit pattern.
  return static_cast<int32_t>(GetPrivateProfileIntA(sS.c_str(), sK.c_str(), nDefault32, sPath.c_str()));
}

}  // namespace qv
