// quorvane config: the application profile "Quorvane.ini" in the profile
// directory, read and written through the library's VC_ApplicationProfile,
// so that the file always holds what the library itself would write.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/repository_options.h"
#include "cli/session.h"
#include "core/runtime.h"
#include "host/posix_io.h"
#include "profile/app_profile.h"

namespace qv::cli {
namespace {

namespace fs = std::filesystem;

int Failure(const std::string& sWhat) {
  std::fprintf(stderr, "quorvane config: %s\n", sWhat.c_str());
  return 1;
}

std::string IniPath(const std::string& sDir) { return (fs::path(sDir) / std::string(kAppProfileFile)).string(); }

std::string SettingName(const ProfileSetting& row) {
  return "[" + std::string(row.sSection) + "] " + std::string(row.sKey);
}

// Without the file the library's load only sets three colours: everything
// else keeps the empty value it started with.
void NoteMissingFile(const std::string& sPath) {
  std::fprintf(stderr,
               "quorvane config: %s does not exist; the values are those the library holds without it: "
               "empty texts, 0 and FALSE, apart from Font Color %lld, Bkgd Color %lld and Class Color %lld "
               "('quorvane config init' writes the file with the defaults)\n",
               sPath.c_str(), static_cast<long long>(kNoFileFontColor), static_cast<long long>(kNoFileBkgdColor),
               static_cast<long long>(kNoFileClassColor));
}

// Whether the row's key is in the file.  A missing key reads as the
// default given, and no stored value can equal a line break.
bool KeyInFile(Module& m, const ProfileSetting& row) {
  String sValue;
  RtGetProfileString(m, row.sSection, row.sKey, "\n", sValue, kAppProfileFile);
  return sValue != "\n";
}

// The first setting whose key does not read back as the save wrote it, or
// nullptr when the file holds every setting of the class's variables.
const ProfileSetting* FirstUnsaved(Module& m) {
  const AppProfileVars& cv = AppProfileClassVars(m);
  String sValue;
  for (const ProfileSetting& row : ProfileSettings()) {
    RtGetProfileString(m, row.sSection, row.sKey, "\n", sValue, kAppProfileFile);
    if (sValue != EncodeSetting(row, cv)) return &row;
  }
  return nullptr;
}

// Why a value, in the form the save writes it, would not read back from an
// INI file unchanged; "" when it would.
std::string UnstorableValue(std::string_view sValue) {
  // Blanks and quotes around a value are kept by the profile engine, which
  // quotes such a value; only a line break cannot be stored.
  if (sValue.find_first_of("\r\n") != std::string_view::npos) return "it holds a line break";
  return "";
}

// Writes a complete profile with the defaults to sPath: the class loads an
// empty file (every key absent, so every setting takes its default) and
// saves it, with the two separators set to the repository commands' safe
// defaults, since the profile's own ("*") would make them refuse to write.
// The file is made in a fresh directory beside sPath and then
// renamed over it, so a failure leaves what was there before.
bool WriteDefaults(const std::string& sDir, const std::string& sPath, std::string& sError) {
  std::string sTempDir = (fs::path(sDir) / ".Quorvane.ini.XXXXXX").string();
  if (const IoError oError = io::MakeTempDirectory(sTempDir); oError.Failed()) {
    sError = oError.sMessage;
    return false;
  }
  const std::string sTempFile = IniPath(sTempDir);
  bool bOk = !io::WriteReplacing(sTempFile, "").Failed();
  if (bOk) {
    Session session(sTempDir);
    Module& m = session.M();
    VC_ApplicationProfile& profile = AppProfileInstance(m);
    profile.InitProfile(m);
    AppProfileClassVars(m).cv_sElementDelimiter = String(kDefaultDelimiter);
    AppProfileClassVars(m).cv_sCRLFDelimiter = String(kDefaultToken);
    profile.SaveProfile(m);
    bOk = AppProfileClassVars(m).cv_bLoaded && FirstUnsaved(m) == nullptr;
  }
  if (!bOk) {
    sError = "cannot write " + sPath;
  } else if (const IoError oError = io::Rename(sTempFile, sPath); oError.Failed()) {
    sError = "cannot write " + oError.sMessage;
  }
  io::RemoveAll(sTempDir);
  return sError.empty();
}

void NoteSafeSeparators(const std::string& sPath) {
  std::fprintf(stderr,
               "quorvane config: %s: the separators of [File Delimiters] are written as %s and %s, the repository "
               "commands' safe defaults, not the profile's \"*\", which the commands refuse to write with\n",
               sPath.c_str(), EscapeSeparator(kDefaultDelimiter).c_str(), EscapeSeparator(kDefaultToken).c_str());
}

// Why sValue does not fit the type of the row's setting, or "" when it does.
std::string Misfit(const ProfileSetting& row, std::string_view sValue) {
  if (row.eType == SettingType::kBoolean) {
    return sValue == "0" || sValue == "1" ? "" : "a flag is 1 (TRUE) or 0 (FALSE)";
  }
  if (row.eType != SettingType::kNumber) return "";
  // [+-] digits [. digits], with digits on at least one side of the point.
  size_t i = sValue.starts_with('+') || sValue.starts_with('-') ? 1 : 0;
  size_t nDigits = 0;
  bool bPoint = false;
  for (; i < sValue.size(); ++i) {
    if (sValue[i] >= '0' && sValue[i] <= '9') {
      ++nDigits;
    } else if (sValue[i] == '.' && !bPoint) {
      bPoint = true;
    } else {
      return "not a number";
    }
  }
  return nDigits > 0 ? "" : "not a number";
}

bool EnsureDirectory(const std::string& sDir, std::string& sError) {
  if (const IoError oError = io::CreateDirectories(sDir); oError.Failed()) {
    sError = "cannot create the profile directory " + sDir + ": " + io::ErrorText(oError.nCode);
    return false;
  }
  return true;
}

// An existing file that cannot be read would load as all defaults; so
// would a directory of that name, which opens but yields no bytes.
bool Readable(const std::string& sPath) {
  std::string sText;
  const IoError oError = io::ReadFile(sPath, sText);
  return !oError.Failed() || oError.nCode == ENOENT || oError.nCode == ENOTDIR;
}

const ProfileSetting* FindOrReport(const std::string& sSection, const std::string& sKey) {
  const ProfileSetting* pRow = FindProfileSetting(sSection, sKey);
  if (pRow == nullptr) {
    std::fprintf(stderr, "quorvane config: unknown setting [%s] %s ('quorvane config list' shows them)\n",
                 sSection.c_str(), sKey.c_str());
  }
  return pRow;
}

// Loads the session's profile through the library, saying so when the file
// is missing.  FALSE (after the message) when it cannot be read.
bool LoadForReading(Session& session, bool bQuiet) {
  Module& m = session.M();
  const std::string sPath = session.Host().Profiles().ResolvePath(kAppProfileFile);
  if (!Readable(sPath)) {
    Failure("cannot read " + sPath);
    return false;
  }
  AppProfileInstance(m).InitProfile(m);
  if (!AppProfileClassVars(m).cv_bLoaded && !bQuiet) NoteMissingFile(sPath);
  return true;
}

int RunList(const std::string& sDir, bool bJson, bool bQuiet) {
  Session session(sDir);
  Module& m = session.M();
  if (!LoadForReading(session, bQuiet)) return 1;
  const AppProfileVars& cv = AppProfileClassVars(m);
  for (const ProfileSetting& row : ProfileSettings()) {
    const bool bFromFile = cv.cv_bLoaded && KeyInFile(m, row);
    if (bJson) {
      PrintJsonLine({{"section", JsonText(row.sSection)},
                     {"key", JsonText(row.sKey)},
                     {"value", JsonText(EncodeSetting(row, cv))},
                     {"source", bFromFile ? "file" : "default"},
                     {"variable", JsonText(row.sVariable)}});
      continue;
    }
    std::printf("%.*s\t%.*s\t%s\t%s\t%.*s\n", static_cast<int>(row.sSection.size()), row.sSection.data(),
                static_cast<int>(row.sKey.size()), row.sKey.data(), EncodeSetting(row, cv).c_str(),
                bFromFile ? "file" : "default", static_cast<int>(row.sVariable.size()), row.sVariable.data());
  }
  return 0;
}

int RunGet(const std::string& sDir, const std::string& sSection, const std::string& sKey, bool bQuiet) {
  const ProfileSetting* pRow = FindOrReport(sSection, sKey);
  if (pRow == nullptr) return 1;
  Session session(sDir);
  if (!LoadForReading(session, bQuiet)) return 1;
  std::printf("%s\n", EncodeSetting(*pRow, AppProfileClassVars(session.M())).c_str());
  return 0;
}

int RunSet(const std::string& sDir, const std::string& sSection, const std::string& sKey, const std::string& sValue,
           bool bQuiet) {
  const ProfileSetting* pRow = FindOrReport(sSection, sKey);
  if (pRow == nullptr) return 1;
  if (const std::string sWhy = Misfit(*pRow, sValue); !sWhy.empty()) {
    return UsageError("config set", "cannot store '" + sValue + "' for " + SettingName(*pRow) + ": " + sWhy +
                                        "; the file is left as it was");
  }
  // The value as the setting's type holds it, which is what the file gets.
  AppProfileVars scratch;
  AssignSetting(*pRow, sValue, scratch);
  const String sStored = EncodeSetting(*pRow, scratch);
  if (const std::string sWhy = UnstorableValue(sStored); !sWhy.empty()) {
    return UsageError("config set", "cannot store '" + sStored + "' for " + SettingName(*pRow) + ": " + sWhy);
  }

  const std::string sPath = IniPath(sDir);
  std::string sError;
  if (!Readable(sPath)) return Failure("cannot read " + sPath);
  // Without a file the load would leave the other settings empty and the
  // save would write them so: start from a complete file of defaults.
  if (!fs::exists(sPath)) {
    if (!EnsureDirectory(sDir, sError) || !WriteDefaults(sDir, sPath, sError)) return Failure(sError);
    if (!bQuiet) NoteSafeSeparators(sPath);
  }

  Session session(sDir);
  Module& m = session.M();
  VC_ApplicationProfile& profile = AppProfileInstance(m);
  profile.InitProfile(m);
  AppProfileVars& cv = AppProfileClassVars(m);
  if (!cv.cv_bLoaded) return Failure(sPath + " disappeared before it could be read");
  AssignSetting(*pRow, sValue, cv);
  profile.SaveProfile(m);
  if (const ProfileSetting* pBad = FirstUnsaved(m); pBad != nullptr) {
    return Failure("cannot write " + sPath + " (" + SettingName(*pBad) + " was not saved)");
  }
  if (sStored != sValue && !bQuiet) {
    std::fprintf(stderr, "quorvane config: %s is stored as '%s'\n", SettingName(*pRow).c_str(), sStored.c_str());
  }
  return 0;
}

int RunInit(const std::string& sDir, bool bForce, bool bQuiet) {
  const std::string sPath = IniPath(sDir);
  if (fs::exists(sPath) && !bForce) return Failure(sPath + " exists (use --force to replace it)");
  std::string sError;
  if (!EnsureDirectory(sDir, sError) || !WriteDefaults(sDir, sPath, sError)) return Failure(sError);
  if (!bQuiet) NoteSafeSeparators(sPath);
  std::printf("%s\n", sPath.c_str());
  return 0;
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
    const std::string sDir = ResolveProfileDir(args->sProfileDir);
    if (pAction == pPath) {
      std::printf("%s\n", Session(sDir).Host().Profiles().ResolvePath(kAppProfileFile).c_str());
      return 0;
    }
    if (pAction == pList) return RunList(sDir, args->bJson, args->bQuiet);
    if (pAction == pGet) return RunGet(sDir, args->sSection, args->sKey, args->bQuiet);
    if (pAction == pSet) return RunSet(sDir, args->sSection, args->sKey, args->sValue, args->bQuiet);
    if (pAction == pInit) return RunInit(sDir, args->bForce, args->bQuiet);
    return UsageError("config", "missing action");
  };
}

}  // namespace qv::cli
