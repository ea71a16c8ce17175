// SPDX-License-Identifier: Apache-2.0
// What the command tells the library before a command runs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::cli {

// The directory that holds the command's profiles ("Quorvane.ini"), as an
// absolute path: sOption (the value of --profile-dir) when it is not empty,
// else the one the library took from the environment when it was loaded
// ($QUORVANE_PROFILE_DIR, else $XDG_CONFIG_HOME/quorvane, else
// ~/.config/quorvane: see QvSetProfileDirectory).
std::string ResolveProfileDir(std::string_view sOption);

// The settings the command gives the library it links: the profile
// directory and, once a repository command has entered it, the repository
// directory.
class Session {
 public:
  // Bare profile names resolve against the current directory.
  Session();
  // Bare profile names resolve against sProfileDir (see ResolveProfileDir).
  explicit Session(const std::string& sProfileDir);
  // The repository directory the library works in (EnterRepository), as an
  // absolute path; "" before one is entered.
  const std::string& RepositoryDir() const { return sRepositoryDir_; }
  void SetRepositoryDir(std::string sDirectory);

 private:
  std::string sRepositoryDir_;
};

}  // namespace quorvane::cli
