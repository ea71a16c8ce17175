// SPDX-License-Identifier: Apache-2.0
#include "host/shared/settings_file.h"

#include <cerrno>
#include <string>

#include "core/host.h"
#include "host/os/posix/posix_io.h"

namespace qv {

// An existing file that cannot be read loads as all defaults; so does a
// directory of that name, which opens but yields no bytes.  Only a missing
// file means the defaults without a word.
std::string SettingsFileUnreadable(const std::string& sPath) {
  std::string sText;
  if (const IoError oError = io::ReadFile(sPath, sText);
      oError.Failed() && oError.nCode != ENOENT && oError.nCode != ENOTDIR) {
    return "cannot read " + sPath + ": " + io::ErrorText(oError.nCode);
  }
  return {};
}

// The new file is written in a private directory made beside the old one,
// so that no other program can take its name, and renamed over it.
std::string ReplaceSettingsFile(const std::string& sProfileDir, const std::string& sPath,
                                const std::function<bool(const std::string& sNewFile)>& fnWrite) {
  const std::string sDir = sProfileDir.empty() ? std::string(".") : sProfileDir;
  if (const IoError oError = io::CreateDirectories(sDir); oError.Failed()) {
    return "cannot create the profile directory " + sDir + ": " + io::ErrorText(oError.nCode);
  }
  std::string sTempDir = sDir + "/.Quorvane.ini.XXXXXX";
  if (const IoError oError = io::MakeTempDirectory(sTempDir); oError.Failed()) return oError.sMessage;
  // The new file has the old one's name.
  const std::string sTempFile = sTempDir + "/" + sPath.substr(sPath.find_last_of("/\\") + 1);
  std::string sError;
  if (!fnWrite(sTempFile)) {
    sError = "cannot write " + sPath;
  } else if (const IoError oError = io::Rename(sTempFile, sPath); oError.Failed()) {
    sError = "cannot write " + oError.sMessage;
  }
  io::RemoveAll(sTempDir);
  return sError;
}

}  // namespace qv
