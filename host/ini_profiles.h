// Real INI files with the behaviour of Windows private profiles.
//
//   * Section and key names compare without regard to ASCII case; blanks
//     and tabs around section names, keys and values are ignored.
//   * The first of duplicate sections, and the first of duplicate keys in a
//     section, is the one read and the one written.
//   * Lines starting with ";" are comments; lines without "=" inside a
//     section are ignored when reading and kept when writing.
//   * A value enclosed in matching double quotes is read without them.
//   * Writing a key replaces its line in place ("key=value", the key spelled
//     as the file had it), adds a new key after the last key line of its
//     section, or appends a new section at the end; every other line of the
//     file is kept byte for byte.  A missing file is created.  The new text
//     is written beside the file and renamed over it, so a failed write
//     leaves the old file as it was.
//   * Lines end in CR LF when written; CR LF and LF are read.
#pragma once

#include <string>
#include <string_view>

#include "frame/host.h"

namespace qv {

class IniProfiles final : public Profiles {
 public:
  // A bare file name ("Quorvane.ini") lives in sProfileDir.
  explicit IniProfiles(std::string sProfileDir);

  // The POSIX path of a profile: a bare name in the profile directory, any
  // other name a path in Windows form ("\" or "/" separators, a drive
  // prefix mapped to "/").
  std::string ResolvePath(std::string_view sFile) const;
  const std::string& ProfileDir() const { return sProfileDir_; }

  int AbsentCalls() const { return nAbsentCalls_; }
  bool LastAbsent() const { return bLastAbsent_; }

  int64_t GetString(std::string_view sSection, std::string_view sKey, std::string_view sDefault, std::string& sValue,
                    std::string_view sFile) override;
  bool WriteString(std::string_view sSection, std::string_view sKey, std::string_view sValue,
                   std::string_view sFile) override;
  int64_t GetInt(std::string_view sSection, std::string_view sKey, int64_t nDefault, std::string_view sFile) override;
  void ProfileAbsent(bool bAbsent) override {
    ++nAbsentCalls_;
    bLastAbsent_ = bAbsent;
  }

 private:
  std::string sProfileDir_;
  int nAbsentCalls_ = 0;
  bool bLastAbsent_ = false;
};

}  // namespace qv
