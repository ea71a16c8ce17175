// quorvane config: the application profile "Quorvane.ini" in the profile
// directory, read and written through the library's VC_ApplicationProfile,
// so that the file always holds what the library itself would write.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/session.h"
#include "frame/runtime.h"
#include "profile/app_profile.h"

namespace qv::cli {
namespace {

namespace fs = std::filesystem;

struct ConfigArguments {
  std::string sProfileDir;  // --profile-dir
  bool bForce = false;      // --force
  std::vector<std::string> aPositional;
};

int UsageError(const std::string& sWhat) {
  std::fprintf(stderr, "quorvane config: %s (see quorvane --help)\n", sWhat.c_str());
  return 2;
}

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
// saves it.  The file is made in a fresh directory beside sPath and then
// renamed over it, so a failure leaves what was there before.
bool WriteDefaults(const std::string& sDir, const std::string& sPath, std::string& sError) {
  std::string sTemplate = (fs::path(sDir) / ".Quorvane.ini.XXXXXX").string();
  if (::mkdtemp(sTemplate.data()) == nullptr) {
    sError = "cannot create a temporary directory in " + sDir;
    return false;
  }
  const std::string sTempDir = sTemplate;
  const std::string sTempFile = IniPath(sTempDir);
  bool bOk = static_cast<bool>(std::ofstream(sTempFile, std::ios::binary));
  if (bOk) {
    Session session(sTempDir);
    Module& m = session.M();
    VC_ApplicationProfile& profile = AppProfileInstance(m);
    profile.InitProfile(m);
    profile.SaveProfile(m);
    bOk = AppProfileClassVars(m).cv_bLoaded && FirstUnsaved(m) == nullptr;
  }
  std::error_code ec;
  if (bOk) fs::rename(sTempFile, sPath, ec);
  if (!bOk || ec) sError = "cannot write " + sPath;
  fs::remove_all(sTempDir, ec);
  return sError.empty();
}

bool EnsureDirectory(const std::string& sDir, std::string& sError) {
  std::error_code ec;
  fs::create_directories(sDir, ec);
  if (ec || !fs::is_directory(sDir)) {
    sError = "cannot create the profile directory " + sDir + (ec ? ": " + ec.message() : std::string());
    return false;
  }
  return true;
}

// An existing file that cannot be read would load as all defaults; so
// would a directory of that name, which opens but yields no bytes.
bool Readable(const std::string& sPath) {
  std::error_code ec;
  if (!fs::exists(sPath, ec)) return !ec;
  return fs::is_regular_file(sPath, ec) && static_cast<bool>(std::ifstream(sPath, std::ios::binary));
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
bool LoadForReading(Session& session) {
  Module& m = session.M();
  const std::string sPath = session.Host().Profiles().ResolvePath(kAppProfileFile);
  if (!Readable(sPath)) {
    Failure("cannot read " + sPath);
    return false;
  }
  AppProfileInstance(m).InitProfile(m);
  if (!AppProfileClassVars(m).cv_bLoaded) NoteMissingFile(sPath);
  return true;
}

int RunList(const std::string& sDir) {
  Session session(sDir);
  Module& m = session.M();
  if (!LoadForReading(session)) return 1;
  const AppProfileVars& cv = AppProfileClassVars(m);
  for (const ProfileSetting& row : ProfileSettings()) {
    const bool bFromFile = cv.cv_bLoaded && KeyInFile(m, row);
    std::printf("%.*s\t%.*s\t%s\t%s\t%.*s\n", static_cast<int>(row.sSection.size()), row.sSection.data(),
                static_cast<int>(row.sKey.size()), row.sKey.data(), EncodeSetting(row, cv).c_str(),
                bFromFile ? "file" : "default", static_cast<int>(row.sVariable.size()), row.sVariable.data());
  }
  return 0;
}

int RunGet(const std::string& sDir, const std::string& sSection, const std::string& sKey) {
  const ProfileSetting* pRow = FindOrReport(sSection, sKey);
  if (pRow == nullptr) return 1;
  Session session(sDir);
  if (!LoadForReading(session)) return 1;
  std::printf("%s\n", EncodeSetting(*pRow, AppProfileClassVars(session.M())).c_str());
  return 0;
}

int RunSet(const std::string& sDir, const std::string& sSection, const std::string& sKey, const std::string& sValue) {
  const ProfileSetting* pRow = FindOrReport(sSection, sKey);
  if (pRow == nullptr) return 1;
  // The value as the setting's type holds it, which is what the file gets.
  AppProfileVars scratch;
  AssignSetting(*pRow, sValue, scratch);
  const String sStored = EncodeSetting(*pRow, scratch);
  if (const std::string sWhy = UnstorableValue(sStored); !sWhy.empty()) {
    return UsageError("cannot store '" + sStored + "' for " + SettingName(*pRow) + ": " + sWhy);
  }

  const std::string sPath = IniPath(sDir);
  std::string sError;
  if (!Readable(sPath)) return Failure("cannot read " + sPath);
  // Without a file the load would leave the other settings empty and the
  // save would write them so: start from a complete file of defaults.
  if (!fs::exists(sPath) && (!EnsureDirectory(sDir, sError) || !WriteDefaults(sDir, sPath, sError))) {
    return Failure(sError);
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
  if (sStored != sValue) {
    std::fprintf(stderr, "quorvane config: %s is stored as '%s'\n", SettingName(*pRow).c_str(), sStored.c_str());
  }
  return 0;
}

int RunInit(const std::string& sDir, bool bForce) {
  const std::string sPath = IniPath(sDir);
  if (fs::exists(sPath) && !bForce) return Failure(sPath + " exists (use --force to replace it)");
  std::string sError;
  if (!EnsureDirectory(sDir, sError) || !WriteDefaults(sDir, sPath, sError)) return Failure(sError);
  std::printf("%s\n", sPath.c_str());
  return 0;
}

}  // namespace

int RunConfig(const std::vector<std::string_view>& aArgs) {
  ConfigArguments args;
  for (size_t i = 0; i < aArgs.size(); ++i) {
    const std::string_view sArg = aArgs[i];
    if (sArg == "--profile-dir") {
      if (i + 1 >= aArgs.size() || aArgs[i + 1].empty()) return UsageError("--profile-dir needs a directory");
      args.sProfileDir = std::string(aArgs[++i]);
    } else if (sArg == "--force") {
      args.bForce = true;
    } else if (sArg.size() > 1 && sArg[0] == '-') {
      return UsageError("unknown option '" + std::string(sArg) + "'");
    } else {
      args.aPositional.emplace_back(sArg);
    }
  }
  if (args.aPositional.empty()) return UsageError("missing action: path, list, get, set or init");
  const std::string sAction = args.aPositional.front();
  const size_t nOperands = args.aPositional.size() - 1;
  if (args.bForce && sAction != "init") return UsageError("--force belongs to 'config init'");
  const std::string sDir = ResolveProfileDir(args.sProfileDir);

  if (sAction == "path" && nOperands == 0) {
    std::printf("%s\n", Session(sDir).Host().Profiles().ResolvePath(kAppProfileFile).c_str());
    return 0;
  }
  if (sAction == "list" && nOperands == 0) return RunList(sDir);
  if (sAction == "get" && nOperands == 2) return RunGet(sDir, args.aPositional[1], args.aPositional[2]);
  if (sAction == "set" && nOperands == 3) {
    return RunSet(sDir, args.aPositional[1], args.aPositional[2], args.aPositional[3]);
  }
  if (sAction == "init" && nOperands == 0) return RunInit(sDir, args.bForce);
  if (sAction == "path" || sAction == "list" || sAction == "get" || sAction == "set" || sAction == "init") {
    return UsageError("wrong number of arguments for 'config " + sAction + "'");
  }
  return UsageError("unknown action '" + sAction + "'");
}

}  // namespace qv::cli
