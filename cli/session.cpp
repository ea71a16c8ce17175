// SPDX-License-Identifier: Apache-2.0
#include "cli/session.h"

#include <filesystem>
#include <system_error>

#include "quorvane/quorvane.hpp"

namespace quorvane::cli {

std::string ResolveProfileDir(std::string_view sOption) {
  // The library read the environment when it was loaded.
  const std::filesystem::path dir = sOption.empty() ? TakeText(QvProfileDirectory()) : std::string(sOption);
  // Absolute, so that a command that changes its directory keeps it.
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(dir, ec);
  if (ec) absolute = dir;
  std::string s = absolute.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

Session::Session() : Session(".") {}

Session::Session(const std::string& sProfileDir) { QvSetProfileDirectory(sProfileDir.c_str()); }

void Session::SetRepositoryDir(std::string sDirectory) {
  sRepositoryDir_ = std::move(sDirectory);
  QvSetRepositoryDirectory(sRepositoryDir_.c_str());
}

}  // namespace quorvane::cli
