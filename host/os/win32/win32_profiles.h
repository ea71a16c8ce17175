// SPDX-License-Identifier: Apache-2.0
// Private profiles (INI files) of a Windows machine behind qv::Profiles: the
// system's own GetPrivateProfileStringA, WritePrivateProfileStringA and
// GetPrivateProfileIntA, so the Windows build reads and writes INI files
// exactly as Windows does.
//
// A bare file name ("Quorvane.ini") lives in the profile directory, as on
// the other systems (Windows itself would look in its own directory); any
// other name is made absolute against the current directory, since Windows
// resolves every relative profile path against its own directory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/host.h"

namespace qv {

class Win32Profiles final : public Profiles {
 public:
  explicit Win32Profiles(std::string sProfileDir);

  int64_t GetString(std::string_view sSection, std::string_view sKey, std::string_view sDefault, std::string& sValue,
                    std::string_view sFile) override;
  bool WriteString(std::string_view sSection, std::string_view sKey, std::string_view sValue,
                   std::string_view sFile) override;
  int64_t GetInt(std::string_view sSection, std::string_view sKey, int64_t nDefault, std::string_view sFile) override;
  // Only recorded, as the Linux host does.
  void ProfileAbsent(bool bAbsent) override {
    ++nAbsentCalls_;
    bLastAbsent_ = bAbsent;
  }

  // The path of this machine that sFile names.
  std::string ResolvePath(std::string_view sFile) const;
  const std::string& ProfileDir() const { return sProfileDir_; }
  void SetProfileDir(std::string sProfileDir) { sProfileDir_ = std::move(sProfileDir); }
  int AbsentCalls() const { return nAbsentCalls_; }
  bool LastAbsent() const { return bLastAbsent_; }

 private:
  std::string sProfileDir_;
  int nAbsentCalls_ = 0;
  bool bLastAbsent_ = false;
};

}  // namespace qv
