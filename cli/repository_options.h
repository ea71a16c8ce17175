// SPDX-License-Identifier: Apache-2.0
// The options every repository command shares: where the repository is,
// the separators of its files and the history settings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/session.h"
#include "quorvane/quorvane.h"

namespace CLI {
class App;
}

namespace quorvane::cli {

// The default separators: ASCII control characters that Java sources do
// not contain, so that no class is ever refused for holding one.  Written
// in options and output as \x1F and \x1E.
inline constexpr std::string_view kDefaultDelimiter = "\x1F";
inline constexpr std::string_view kDefaultToken = "\x1E";

struct RepositoryOptions {
  std::string sRepoDir = ".";
  std::string sDelimiter{kDefaultDelimiter};
  std::string sToken{kDefaultToken};
  int64_t nHistory = 0;     // history copies kept; 0 switches them off
  int64_t nMinHistory = 0;  // at least this many unless --history was given
  std::string sArchiveDir;  // where the repository's copies go; default the repository
  std::string sProfileDir;  // --profile-dir; empty: the usual place

  // Which settings an option gave (the profile does not override those),
  // and whether the profile supplied the others.
  bool bDelimiterGiven = false, bTokenGiven = false, bHistoryGiven = false, bArchiveGiven = false;
  bool bFromProfile = false;
};

// Registers --repo, --delimiter, --token, --history, --archive-dir and
// --profile-dir on a repository command, bound to options; a bad value is
// a usage error of the parse.
void AddRepositoryOptions(CLI::App& sub, RepositoryOptions& options);

// The help text on the repository options and the profile, the footer of
// every repository command.
extern const char* const kRepositoryHelp;
// The help text on the repository's lock, for the commands that write.
extern const char* const kLockHelp;

// A separator as it is written in options: printable ASCII as it is, "\"
// as "\\", every other byte as \xHH.
std::string EscapeSeparator(std::string_view s);

// Takes every setting that no option gave from the application profile
// that the linked library loads, when its file exists: the separators and
// the history settings (QvProfileRepositorySettings).  FALSE, after saying which file and why, when the profile
// exists but cannot be read: its settings are unknown then, and only a
// missing file means the defaults.
bool ApplyProfile(const char* sCommand, RepositoryOptions& options);

// The rows of the profile's settings that hold the element delimiter and
// the line-break token.
struct SeparatorSettings {
  int64_t nDelimiter = -1, nToken = -1;
  QvProfileSetting delimiter{}, token{};
};
SeparatorSettings FindSeparatorSettings();

// FALSE, after saying why, when the separators would endanger Java text
// (QvUnsafeSeparators); a command that writes refuses to go on then.
bool SeparatorsSafeForWriting(const char* sCommand, const RepositoryOptions& options);

// Makes the repository directory (created when bCreate) the directory the
// session's files resolve relative paths against, and sets the module's
// globals from the options; the process's own directory does not change.
// FALSE after printing an error.
bool EnterRepository(const char* sCommand, const RepositoryOptions& options, Session& session, bool bCreate);

}  // namespace quorvane::cli
