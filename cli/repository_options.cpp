// SPDX-License-Identifier: Apache-2.0
#include "cli/repository_options.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <CLI/CLI.hpp>

#include "quorvane/quorvane.hpp"

namespace quorvane::cli {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads \xHH, \t and \\ escapes; FALSE for a malformed escape.
bool Unescape(std::string_view s, std::string& sOut) {
  sOut.clear();
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      sOut += s[i];
    } else if (i + 1 < s.size() && s[i + 1] == '\\') {
      sOut += '\\';
      ++i;
    } else if (i + 1 < s.size() && s[i + 1] == 't') {
      sOut += '\t';
      ++i;
    } else if (i + 3 < s.size() && s[i + 1] == 'x' && HexDigit(s[i + 2]) >= 0 && HexDigit(s[i + 3]) >= 0) {
      sOut += static_cast<char>(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]));
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

const char* const kRepositoryHelp =
    "The repository is jbclass.txt in one directory, with one method file NAME.med per class, which jbclass.txt "
    "names: scan --save writes them in the folder methods of that directory (with --beside-sources beside each "
    "class's source), and every command reads a method file where jbclass.txt says it is.  "
    "When Quorvane.ini exists in the profile directory (--profile-dir DIR, else $QUORVANE_PROFILE_DIR, else "
    "$XDG_CONFIG_HOME/quorvane when it is absolute, else ~/.config/quorvane), every setting no option gives comes "
    "from it (one that exists but cannot be read stops the command with status 1 before it reads or writes "
    "anything): the delimiter and the token from \"Element Delimiter\" and \"CRLF Delimiter\" of [File Delimiters]; "
    "history copies from [Root Directories]: \"Archive Files\" (1 switches them on), \"Archive File Count\" and "
    "\"Archive File Diectory\" (spelled so).  The profile's own defaults (\"*\" for both separators) are unsafe: a "
    "command that writes then refuses and says so ('quorvane config init' writes the safe defaults \\x1F and "
    "\\x1E instead).\n"
    "TEXT may hold the escapes \\xHH, \\t and \\\\.  Reading needs the separators the repository was written with.  "
    "For writing, the delimiter and the token must differ, neither may contain the other, and neither may be a "
    "single printable or blank character: Java sources contain all of those (a \"*\" delimiter would split every "
    "documentation comment).  A class whose text still holds the delimiter or the token is not written over the "
    "old file: the command says which class and field, and the old file stays.\n"
    "History copies: with --history N, N numbered copies (NAME.001 newest) of every file are kept before it is "
    "overwritten; the repository files' copies go to --archive-dir, a source's copies stay beside it.  scan --save "
    "leaves a method file that already holds its new content as it is: it is not overwritten and gets no copy.";

const char* const kLockHelp =
    "A command that writes the repository (scan --save, write) holds the lock file quorvane.lock in the repository "
    "directory while it works; a second one waits for it, saying so on stderr, or with --no-wait fails at once "
    "with status 1.  Commands that only read take no lock.";

void AddRepositoryOptions(CLI::App& sub, RepositoryOptions& options) {
  sub.add_option("--repo", options.sRepoDir, "The repository directory (default: the current one)")->type_name("DIR");
  auto Separator = [&options](bool bDelimiter) {
    return [&options, bDelimiter](const std::string& sValue) {
      std::string sText;
      if (!Unescape(sValue, sText)) {
        throw CLI::ValidationError(bDelimiter ? "--delimiter" : "--token",
                                   "'" + sValue + "': malformed escape (use \\xHH, \\t or \\\\)");
      }
      (bDelimiter ? options.sDelimiter : options.sToken) = std::move(sText);
      (bDelimiter ? options.bDelimiterGiven : options.bTokenGiven) = true;
    };
  };
  sub.add_option_function<std::string>("--delimiter", Separator(true),
                                       "The element delimiter between the fields of a line (default \\x1F, the "
                                       "ASCII unit separator)")
      ->type_name("TEXT");
  sub.add_option_function<std::string>("--token", Separator(false),
                                       "The text that stands for a line break inside a field (default \\x1E, the "
                                       "ASCII record separator)")
      ->type_name("TEXT");
  sub.add_option_function<std::string>(
         "--history",
         [&options](const std::string& sValue) {
           int64_t n = 0;
           const bool bDigits = !sValue.empty() && sValue.size() <= 6 &&
                                std::all_of(sValue.begin(), sValue.end(), [](char c) { return c >= '0' && c <= '9'; });
           if (!bDigits) throw CLI::ValidationError("--history", "'" + sValue + "': not a count from 0 to 999999");
           for (const char c : sValue) n = n * 10 + (c - '0');
           options.nHistory = n;
           options.bHistoryGiven = true;
         },
         "Keep N numbered history copies (NAME.001 newest) of every file before it is overwritten (default 0: none)")
      ->type_name("N");
  sub.add_option_function<std::string>(
         "--archive-dir",
         [&options](const std::string& sValue) {
           options.sArchiveDir = sValue;
           options.bArchiveGiven = true;
         },
         "Where the repository files' history copies go (default: the repository directory); a source's copies "
         "stay beside it")
      ->type_name("DIR");
  sub.add_option("--profile-dir", options.sProfileDir, "The directory of Quorvane.ini (see quorvane config --help)")
      ->type_name("DIR");
}

std::string EscapeSeparator(std::string_view s) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string sOut;
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\\') {
      sOut += "\\\\";
    } else if (u >= 0x20 && u < 0x7F) {
      sOut += c;
    } else {
      sOut += "\\x";
      sOut += kHex[u >> 4];
      sOut += kHex[u & 15];
    }
  }
  return sOut;
}

bool ApplyProfile(const char* sCommand, RepositoryOptions& options) {
  QvBoolean bFound = 0;
  quorvane::String sWhy;
  if (QvProfileLoad(&bFound, sWhy.Receive()) == 0) {
    std::fprintf(stderr, "quorvane %s: %s\n", sCommand, sWhy.Str().c_str());
    return false;
  }
  if (bFound == 0) return true;
  options.bFromProfile = true;
  QvRepositoryProfile profile{};
  QvProfileRepositorySettings(&profile);
  std::string sDelimiter = quorvane::TakeText(profile.delimiter), sToken = quorvane::TakeText(profile.token);
  std::string sArchive = quorvane::TakeText(profile.archiveDirectory);
  if (!options.bDelimiterGiven) options.sDelimiter = std::move(sDelimiter);
  if (!options.bTokenGiven) options.sToken = std::move(sToken);
  if (!options.bHistoryGiven) options.nHistory = profile.history;
  if (!options.bArchiveGiven) options.sArchiveDir = std::move(sArchive);
  return true;
}

SeparatorSettings FindSeparatorSettings() {
  QvRepositoryProfile profile{};
  QvProfileRepositorySettings(&profile);
  for (QvString* p : {profile.delimiter, profile.token, profile.archiveDirectory}) QvStringFree(p);
  SeparatorSettings rows;
  rows.nDelimiter = profile.delimiterSetting;
  rows.nToken = profile.tokenSetting;
  QvProfileSettingAt(rows.nDelimiter, &rows.delimiter);
  QvProfileSettingAt(rows.nToken, &rows.token);
  return rows;
}

bool SeparatorsSafeForWriting(const char* sCommand, const RepositoryOptions& options) {
  const quorvane::String sUnsafe = quorvane::String::Adopt(
      QvUnsafeSeparators(quorvane::String(options.sDelimiter).Get(), quorvane::String(options.sToken).Get()));
  if (sUnsafe.Get() == nullptr) return true;
  std::fprintf(stderr, "quorvane %s: refusing to write: %s", sCommand, sUnsafe.Str().c_str());
  if (options.bFromProfile && !(options.bDelimiterGiven && options.bTokenGiven)) {
    const SeparatorSettings rows = FindSeparatorSettings();
    const quorvane::String sPath = quorvane::String::Adopt(QvProfilePath());
    std::fprintf(stderr,
                 " (taken from the profile %s; change \"%s\" and \"%s\" of \"%s\" with quorvane config set, or give "
                 "--delimiter and --token)",
                 sPath.Str().c_str(), rows.delimiter.key, rows.token.key, rows.delimiter.section);
  }
  std::fputc('\n', stderr);
  return false;
}

bool EnterRepository(const char* sCommand, const RepositoryOptions& options, Session& session, bool bCreate) {
  std::error_code ec;
  const std::filesystem::path repo = std::filesystem::absolute(options.sRepoDir, ec);
  // Relative to where the command was started, not to the repository.
  const std::filesystem::path archive = options.sArchiveDir.empty()
                                            ? repo
                                            : std::filesystem::absolute(options.sArchiveDir, ec);
  if (bCreate) std::filesystem::create_directories(repo, ec);
  if (!std::filesystem::is_directory(repo, ec)) {
    std::fprintf(stderr, "quorvane %s: %s: cannot use as the repository directory: %s\n", sCommand,
                 repo.string().c_str(), ec ? ec.message().c_str() : "not a directory");
    return false;
  }
  session.SetRepositoryDir(repo.lexically_normal().string());
  const int64_t nHistory = options.bHistoryGiven ? options.nHistory : std::max(options.nHistory, options.nMinHistory);
  const auto SetString = [](const char* sName, const std::string& sValue) {
    QvSetGlobalString(sName, quorvane::String(sValue).Get());
  };
  SetString("sElementDelimiter", options.sDelimiter);
  SetString("sCRLFToken", options.sToken);
  SetString("sArchiveFileDirectory", archive.string());
  QvSetGlobalNumber("nSaveArchive", quorvane::Number(nHistory > 0 ? 1 : 0));
  QvSetGlobalNumber("nQtyOfArchiveFiles", quorvane::Number(static_cast<double>(nHistory)));
  if (nHistory > 0 && !std::filesystem::is_directory(archive, ec)) {
    std::fprintf(stderr, "quorvane %s: %s: the archive directory does not exist\n", sCommand, archive.string().c_str());
    return false;
  }
  return true;
}

}  // namespace quorvane::cli
