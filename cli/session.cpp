// SPDX-License-Identifier: Apache-2.0
#include "cli/session.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "quorvane/quorvane.h"

namespace quorvane::cli {
namespace {

// The environment variable's value, or "" when it is unset.
std::string_view Env(const char* sName) {
  const char* s = std::getenv(sName);
  return s == nullptr ? std::string_view() : std::string_view(s);
}

std::string HomeDirectory() {
  if (const std::string_view sHome = Env("HOME"); !sHome.empty()) return std::string(sHome);
  passwd oEntry{};
  passwd* p = nullptr;
  std::vector<char> aBuffer(16384);  // glibc's entries need far less
  if (::getpwuid_r(::getuid(), &oEntry, aBuffer.data(), aBuffer.size(), &p) == 0 && p != nullptr &&
      p->pw_dir != nullptr) {
    return p->pw_dir;
  }
  return ".";
}

}  // namespace

std::string ResolveProfileDir(std::string_view sOption) {
  std::filesystem::path dir;
  if (!sOption.empty()) {
    dir = std::string(sOption);
  } else if (const std::string_view sQuorvane = Env("QUORVANE_PROFILE_DIR"); !sQuorvane.empty()) {
    dir = std::string(sQuorvane);
  } else if (const std::string_view sXdg = Env("XDG_CONFIG_HOME"); !sXdg.empty() && sXdg.front() == '/') {
    dir = std::filesystem::path(std::string(sXdg)) / "quorvane";
  } else {
    dir = std::filesystem::path(HomeDirectory()) / ".config" / "quorvane";
  }
  // Absolute, so that a command that changes its directory keeps it.
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(dir, ec);
  if (ec) absolute = dir;
  std::string s = absolute.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

Session::Session() : Session(".") {}

Session::Session(const std::string& sProfileDir, const std::string& sDatabase) {
  QvSetProfileDirectory(sProfileDir.c_str());
  QvSetDatabase(sDatabase.c_str());
}

void Session::SetRepositoryDir(std::string sDirectory) {
  sRepositoryDir_ = std::move(sDirectory);
  QvSetRepositoryDirectory(sRepositoryDir_.c_str());
}

}  // namespace quorvane::cli
