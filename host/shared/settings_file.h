// SPDX-License-Identifier: Apache-2.0
// The settings command's file work, shared by both assemblies: whether the
// settings file can be read, and a new one put in place whole or not at
// all.  Both go through the system's I/O module (host/os/posix/posix_io.h,
// whose functions used here the Windows build implements too, in
// os/win32/win32_io.cpp).  See HostApplication for what each answers.
#pragma once

#include <functional>
#include <string>

namespace qv {

std::string SettingsFileUnreadable(const std::string& sPath);
// sProfileDir is the directory made when missing, sPath the file's path.
std::string ReplaceSettingsFile(const std::string& sProfileDir, const std::string& sPath,
                                const std::function<bool(const std::string& sNewFile)>& fnWrite);

}  // namespace qv
