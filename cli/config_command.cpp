// SPDX-License-Identifier: Apache-2.0
// quorvane config: the application profile "Quorvane.ini" in the profile
// directory, read and written through the library's VC_ApplicationProfile
// (the C interface's QvProfile* functions), so that the file always holds
// what the library itself would write.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/print.h"
#include "cli/repository_options.h"
#include "cli/session.h"
#include "quorvane/quorvane.hpp"

namespace quorvane::cli {
namespace {

using quorvane::String;

int Failure(const std::string& sWhat) {
  std::fprintf(stderr, "quorvane config: %s\n", sWhat.c_str());
  return kExitFailed;
}

std::string SettingName(const QvProfileSetting& row) {
  return "[" + std::string(row.section) + "] " + std::string(row.key);
}

std::string Value(int64_t nIndex) { return String::Adopt(QvProfileValue(nIndex)).Str(); }

std::string ProfilePath() { return String::Adopt(QvProfilePath()).Str(); }

bool Exists(const std::string& sPath) {
  std::error_code ec;
  return std::filesystem::exists(sPath, ec);
}

// Without the file the library's load only sets three colours: everything
// else keeps the empty value it started with.
void NoteMissingFile(const std::string& sPath) {
  const auto Colour = [](const char* sKey) { return Value(QvProfileFindSetting("Profile", sKey)); };
  std::fprintf(stderr,
               "quorvane config: %s does not exist; the values are those the library holds without it: "
               "empty texts, 0 and FALSE, apart from Font Color %s, Bkgd Color %s and Class Color %s "
               "('quorvane config init' writes the file with the defaults)\n",
               sPath.c_str(), Colour("Font Color").c_str(), Colour("Bkgd Color").c_str(),
               Colour("Class Color").c_str());
}

// Writes a complete profile with the defaults, with the two separators set
// to the repository commands' safe defaults, since the profile's own ("*")
// would make them refuse to write.
bool WriteDefaults(std::string& sError) {
  const SeparatorSettings rows = FindSeparatorSettings();
  const std::string sDelimiter(kDefaultDelimiter), sToken(kDefaultToken);
  const QvProfileValueOf aSafe[] = {{rows.nDelimiter, sDelimiter.c_str()}, {rows.nToken, sToken.c_str()}};
  String sWhy;
  if (QvProfileWriteDefaults(aSafe, std::size(aSafe), sWhy.Receive()) != 0) return true;
  sError = sWhy.Str();
  return false;
}

void NoteSafeSeparators(const std::string& sPath) {
  std::fprintf(stderr,
               "quorvane config: %s: the separators of [%s] are written as %s and %s, the repository "
               "commands' safe defaults, not the profile's \"*\", which the commands refuse to write with\n",
               sPath.c_str(), FindSeparatorSettings().delimiter.section, EscapeSeparator(kDefaultDelimiter).c_str(),
               EscapeSeparator(kDefaultToken).c_str());
}

// The index of the setting, or -1 after saying that there is none.
int64_t FindOrReport(const std::string& sSection, const std::string& sKey) {
  const int64_t nIndex = QvProfileFindSetting(sSection.c_str(), sKey.c_str());
  if (nIndex < 0) {
    std::fprintf(stderr, "quorvane config: unknown setting [%s] %s ('quorvane config list' shows them)\n",
                 sSection.c_str(), sKey.c_str());
  }
  return nIndex;
}

// Loads the profile through the library, saying so when the file is
// missing.  FALSE (after the message) when it cannot be read; bFound tells
// whether the file was there.
bool LoadForReading(bool bQuiet, bool& bFound) {
  QvBoolean bLoaded = 0;
  String sWhy;
  if (QvProfileLoad(&bLoaded, sWhy.Receive()) == 0) {
    Failure(sWhy.Str());
    return false;
  }
  bFound = bLoaded != 0;
  if (!bFound && !bQuiet) NoteMissingFile(ProfilePath());
  return true;
}

int RunList(bool bJson, bool bQuiet) {
  bool bFound = false;
  if (!LoadForReading(bQuiet, bFound)) return kExitFailed;
  QvProfileSetting row{};
  for (int64_t i = 0; QvProfileSettingAt(i, &row) != 0; ++i) {
    const bool bFromFile = bFound && QvProfileKeyInFile(i) != 0;
    const std::string sValue = Value(i);
    if (bJson) {
      PrintJsonLine({{"section", JsonText(row.section)},
                     {"key", JsonText(row.key)},
                     {"value", JsonText(sValue)},
                     {"source", bFromFile ? "file" : "default"},
                     {"variable", JsonText(row.variable)}});
      continue;
    }
    WriteOut(std::string(row.section) + "\t" + row.key + "\t" + sValue + "\t" + (bFromFile ? "file" : "default") +
             "\t" + row.variable + "\n");
  }
  return kExitDone;
}

int RunGet(const std::string& sSection, const std::string& sKey, bool bQuiet) {
  const int64_t nIndex = FindOrReport(sSection, sKey);
  if (nIndex < 0) return kExitFailed;
  bool bFound = false;
  if (!LoadForReading(bQuiet, bFound)) return kExitFailed;
  WriteOut(Value(nIndex) + "\n");
  return kExitDone;
}

int RunSet(const std::string& sSection, const std::string& sKey, const std::string& sValue, bool bQuiet) {
  const int64_t nIndex = FindOrReport(sSection, sKey);
  if (nIndex < 0) return kExitFailed;
  QvProfileSetting row{};
  QvProfileSettingAt(nIndex, &row);
  // The value as the setting's type holds it, which is what the file gets.
  String sStored;
  String sWhy;
  if (QvProfileStoredValue(nIndex, sValue.c_str(), sStored.Receive(), sWhy.Receive()) == 0) {
    return UsageError("config set", "cannot store '" + sValue + "' for " + SettingName(row) + ": " + sWhy.Str() +
                                        "; the file is left as it was");
  }
  if (QvProfileStorable(sStored.Str().c_str(), sWhy.Receive()) == 0) {
    return UsageError("config set", "cannot store '" + sStored.Str() + "' for " + SettingName(row) + ": " + sWhy.Str());
  }

  const std::string sPath = ProfilePath();
  QvBoolean bLoaded = 0;
  if (QvProfileLoad(&bLoaded, sWhy.Receive()) == 0) return Failure(sWhy.Str());
  // Without a file the load would leave the other settings empty and the
  // save would write them so: start from a complete file of defaults.
  if (!Exists(sPath)) {
    std::string sError;
    if (!WriteDefaults(sError)) return Failure(sError);
    if (!bQuiet) NoteSafeSeparators(sPath);
    if (QvProfileLoad(&bLoaded, sWhy.Receive()) == 0) return Failure(sWhy.Str());
  }
  if (bLoaded == 0) return Failure(sPath + " disappeared before it could be read");
  if (QvProfileSetValue(nIndex, sValue.c_str(), sWhy.Receive()) == 0) return Failure(sWhy.Str());
  if (sStored.View() != sValue && !bQuiet) {
    std::fprintf(stderr, "quorvane config: %s is stored as '%s'\n", SettingName(row).c_str(), sStored.Str().c_str());
  }
  return kExitDone;
}

int RunInit(bool bForce, bool bQuiet) {
  const std::string sPath = ProfilePath();
  if (Exists(sPath) && !bForce) return Failure(sPath + " exists (use --force to replace it)");
  std::string sError;
  if (!WriteDefaults(sError)) return Failure(sError);
  if (!bQuiet) NoteSafeSeparators(sPath);
  WriteOut(sPath + "\n");
  return kExitDone;
}

}  // namespace

Runner AddConfigCommand(CLI::App& app) {
  struct Args {
    std::string sProfileDir;
    std::string sSection, sKey, sValue;
    bool bForce = false;
    bool bJson = false;
    bool bQuiet = false;
  };
  auto args = std::make_shared<Args>();
  CLI::App* sub = app.add_subcommand("config", "Read and change the application profile Quorvane.ini");
  const std::string sAbout(
      "The application profile Quorvane.ini in the profile directory: DIR, else $QUORVANE_PROFILE_DIR, else "
      "$XDG_CONFIG_HOME/quorvane (when it is absolute), else ~/.config/quorvane.  Every change goes through the "
      "library's own load and save, so the file keeps the form the library writes (numbers without decimals, "
      "flags as 1 or 0).");
  auto ProfileDir = [&args](CLI::App& a) {
    a.add_option("--profile-dir", args->sProfileDir, "The directory of Quorvane.ini")->type_name("DIR");
  };
  auto Quiet = [&args](CLI::App& a) { a.add_flag("-q,--quiet", args->bQuiet, "No notes on stderr, errors only"); };
  ProfileDir(*sub);
  const std::string sStatuses =
      "An unknown setting, or a file that cannot be read or written, exits with status 1; a value that does not fit "
      "the setting's type, with status 2, and the file stays as it was.";
  sub->footer(HelpFooter(sAbout, sStatuses));

  CLI::App* pPath = sub->add_subcommand("path", "Print the full path of the file");
  ProfileDir(*pPath);

  CLI::App* pList = sub->add_subcommand("list", "Every setting in the library's order");
  pList->footer(HelpFooter(
      "Every setting in the library's order: section, key, value, source and variable, separated by tabs; the "
      "source is \"file\" or \"default\" (the key is absent).  Without the file, \"default\" means what the library "
      "holds then: empty texts, 0 and FALSE, but Font Color 0, Bkgd Color 12632256 and Class Color 16711680, not "
      "the defaults of init.",
      sStatuses));
  pList->add_flag("--json", args->bJson,
                  "One JSON object per line and setting with the fields section, key, value, source and variable");
  ProfileDir(*pList);
  Quiet(*pList);

  CLI::App* pGet = sub->add_subcommand("get", "Print one value (names in any case)");
  pGet->add_option("SECTION", args->sSection, "The section, such as Profile")->required();
  pGet->add_option("KEY", args->sKey, "The key, such as \"Font Size\"")->required();
  ProfileDir(*pGet);
  Quiet(*pGet);

  CLI::App* pSet = sub->add_subcommand("set", "Store one value in the setting's type");
  pSet->footer(HelpFooter(
      "Store one value in the setting's type: a number (decimals are rounded away: 12.6 is stored as 13), a flag "
      "as 1 (TRUE) or 0 (FALSE), or a text.  A value that does not fit the type is refused with status 2 and the "
      "file stays as it was; so is a text with a line break, which cannot be stored.  Blanks or quotes around a text "
      "are kept: the profile stores such a value in quotes.  A missing file is first created as init creates it.",
      sStatuses));
  pSet->add_option("SECTION", args->sSection, "The section")->required();
  pSet->add_option("KEY", args->sKey, "The key")->required();
  pSet->add_option("VALUE", args->sValue, "The new value")->required();
  ProfileDir(*pSet);
  Quiet(*pSet);

  CLI::App* pInit = sub->add_subcommand("init", "Write a complete file with the defaults");
  pInit->footer(HelpFooter(
      "Write a complete file with every default of the settings table, except the two separators of [File "
      "Delimiters], which get the repository commands' safe defaults \\x1F and \\x1E instead of the profile's "
      "\"*\" (say so on stderr); an existing file is replaced only with --force.",
      sStatuses));
  pInit->add_flag("--force", args->bForce, "Replace an existing file");
  ProfileDir(*pInit);
  Quiet(*pInit);

  return [args, sub, pPath, pList, pGet, pSet, pInit]() -> int {
    if (sub->get_subcommands().empty()) return UsageError("config", "missing action: path, list, get, set or init");
    const CLI::App* pAction = sub->get_subcommands().front();
    QvSetProfileDirectory(ResolveProfileDir(args->sProfileDir).c_str());
    if (pAction == pPath) {
      WriteOut(ProfilePath() + "\n");
      return kExitDone;
    }
    if (pAction == pList) return RunList(args->bJson, args->bQuiet);
    if (pAction == pGet) return RunGet(args->sSection, args->sKey, args->bQuiet);
    if (pAction == pSet) return RunSet(args->sSection, args->sKey, args->sValue, args->bQuiet);
    if (pAction == pInit) return RunInit(args->bForce, args->bQuiet);
    return UsageError("config", "missing action");
  };
}

}  // namespace quorvane::cli
