#include "cli/repository_options.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "profile/app_profile.h"

namespace qv::cli {

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

int TakeRepositoryOption(const char* sCommand, const std::vector<std::string_view>& aArgs, size_t& i,
                         RepositoryOptions& options) {
  const std::string_view sOption = aArgs[i];
  const bool bKnown = sOption == "--repo" || sOption == "--delimiter" || sOption == "--token" ||
                      sOption == "--history" || sOption == "--archive-dir" || sOption == "--profile-dir";
  if (!bKnown) return 0;
  if (i + 1 >= aArgs.size()) {
    std::fprintf(stderr, "quorvane %s: %.*s needs a value\n", sCommand, static_cast<int>(sOption.size()),
                 sOption.data());
    return -1;
  }
  const std::string_view sValue = aArgs[++i];
  auto Bad = [&](const char* sWhy) {
    std::fprintf(stderr, "quorvane %s: %.*s '%.*s': %s\n", sCommand, static_cast<int>(sOption.size()),
                 sOption.data(), static_cast<int>(sValue.size()), sValue.data(), sWhy);
    return -1;
  };
  if (sOption == "--repo") {
    options.sRepoDir = std::string(sValue);
  } else if (sOption == "--profile-dir") {
    options.sProfileDir = std::string(sValue);
  } else if (sOption == "--archive-dir") {
    options.sArchiveDir = std::string(sValue);
    options.bArchiveGiven = true;
  } else if (sOption == "--history") {
    int64_t n = 0;
    if (sValue.empty() || sValue.size() > 6) return Bad("not a count from 0 to 999999");
    for (char c : sValue) {
      if (c < '0' || c > '9') return Bad("not a count from 0 to 999999");
      n = n * 10 + (c - '0');
    }
    options.nHistory = n;
    options.bHistoryGiven = true;
  } else {
    std::string sText;
    if (!Unescape(sValue, sText)) return Bad("malformed escape (use \\xHH, \\t or \\\\)");
    const bool bDelimiter = sOption == "--delimiter";
    (bDelimiter ? options.sDelimiter : options.sToken) = std::move(sText);
    (bDelimiter ? options.bDelimiterGiven : options.bTokenGiven) = true;
  }
  return 1;
}

std::string UnsafeSeparators(std::string_view sDelimiter, std::string_view sToken) {
  auto Problem = [](std::string_view s, const char* sWhat) -> std::string {
    const std::string sName = sWhat;
    if (s.empty()) return "the " + sName + " is empty";
    if (s.find('\n') != std::string_view::npos || s.find('\r') != std::string_view::npos) {
      return "the " + sName + " contains a line break";
    }
    if (s.size() == 1 && (s[0] == ' ' || s[0] == '\t' || (s[0] > ' ' && s[0] < 0x7F))) {
      return "the " + sName + " '" + EscapeSeparator(s) + "' is a character that Java sources commonly contain";
    }
    return "";
  };
  std::string sProblem = Problem(sDelimiter, "element delimiter");
  if (sProblem.empty()) sProblem = Problem(sToken, "line-break token");
  if (sProblem.empty() && (sDelimiter.find(sToken) != std::string_view::npos ||
                           sToken.find(sDelimiter) != std::string_view::npos)) {
    sProblem = "the element delimiter and the line-break token must differ and neither may contain the other";
  }
  return sProblem;
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

void ApplyProfile(Module& m, RepositoryOptions& options) {
  AppProfileInstance(m).InitProfile(m);
  const AppProfileVars& profile = AppProfileClassVars(m);
  if (!profile.cv_bLoaded) return;
  options.bFromProfile = true;
  if (!options.bDelimiterGiven) options.sDelimiter = profile.cv_sElementDelimiter;
  if (!options.bTokenGiven) options.sToken = profile.cv_sCRLFDelimiter;
  if (!options.bHistoryGiven) {
    options.nHistory = profile.cv_nArchiveFiles.IsTrue() ? std::max<int64_t>(0, profile.cv_nArchiveFileCount.AsInt64())
                                                         : 0;
  }
  if (!options.bArchiveGiven) options.sArchiveDir = profile.cv_sArchiveFileDirectory;
}

bool SeparatorsSafeForWriting(const char* sCommand, const RepositoryOptions& options) {
  const std::string sUnsafe = UnsafeSeparators(options.sDelimiter, options.sToken);
  if (sUnsafe.empty()) return true;
  std::fprintf(stderr, "quorvane %s: refusing to write: %s", sCommand, sUnsafe.c_str());
  if (options.bFromProfile && !(options.bDelimiterGiven && options.bTokenGiven)) {
    std::fprintf(stderr,
                 " (taken from the profile %s/%s; change \"Element Delimiter\" and \"CRLF Delimiter\" of "
                 "\"File Delimiters\" with quorvane config set, or give --delimiter and --token)",
                 ResolveProfileDir(options.sProfileDir).c_str(), std::string(kAppProfileFile).c_str());
  }
  std::fputc('\n', stderr);
  return false;
}

bool EnterRepository(const char* sCommand, const RepositoryOptions& options, Module& m, bool bCreate) {
  std::error_code ec;
  const std::filesystem::path repo = std::filesystem::absolute(options.sRepoDir, ec);
  // Relative to where the command was started, not to the repository.
  const std::filesystem::path archive =
      options.sArchiveDir.empty() ? repo : std::filesystem::absolute(options.sArchiveDir, ec);
  if (bCreate) std::filesystem::create_directories(repo, ec);
  std::filesystem::current_path(repo, ec);
  if (ec) {
    std::fprintf(stderr, "quorvane %s: %s: cannot use as the repository directory: %s\n", sCommand,
                 repo.string().c_str(), ec.message().c_str());
    return false;
  }
  Globals& g = m.G();
  g.sElementDelimiter = options.sDelimiter;
  g.sCRLFToken = options.sToken;
  g.nSaveArchive = Number(options.nHistory > 0 ? 1 : 0);
  g.nQtyOfArchiveFiles = Number(options.nHistory);
  g.sArchiveFileDirectory = archive.string();
  if (options.nHistory > 0 && !std::filesystem::is_directory(archive, ec)) {
    std::fprintf(stderr, "quorvane %s: %s: the archive directory does not exist\n", sCommand,
                 archive.string().c_str());
    return false;
  }
  return true;
}

}  // namespace qv::cli
