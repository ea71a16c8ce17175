// SPDX-License-Identifier: Apache-2.0
// VC_ApplicationProfile: the application's user settings, kept in the
// application INI file "Quorvane.ini".
//
// The settings are class variables, one set per module, shared by every
// instance (the global AppProfile included).  One table (ProfileSettings)
// names each setting's section, key, variable, type and default; the load,
// the save and the quorvane command all walk it.  Every read and write goes
// through the host's private-profile operations with the bare file name, so
// where that name lives is the host's business.
//
// Encodings in the file: Strings unchanged; Numbers as decimal text without
// decimals, read back with RtStrToNumber; Booleans as "1" or "0", and only
// the text "1" reads as TRUE.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/module.h"
#include "core/object.h"

namespace qv {

struct AppProfileVars : ModuleSlot {
  bool cv_bLoaded = false;  // TRUE from the first load that found the file on
  String cv_sIniFile;       // the file name, set by every load and save
  String cv_sSpare;         // returned by GetSpareString; assigned by no function

  // The settings, in the order of the table.
  String cv_sJavaBinDirectory, cv_sJavaFilesRoot;
  Number cv_nFileCount, cv_nArchiveFileCount;
  String cv_sArchiveFileDirectory;
  Number cv_nArchiveFiles;
  bool cv_bAutoTile = false, cv_bAutoSaveRepository = false, cv_bShowValidationMsgs = false;
  String cv_sFontName;
  Number cv_nFontSize, cv_nFontEnhancement, cv_nFontColor, cv_nBkgdColor, cv_nClassColor, cv_nMethodColor;
  String cv_sCRLFDelimiter, cv_sElementDelimiter;
  String cv_sCommentPreChar;
  Number cv_nPreSpacesHeaderFooter, cv_nPreSpacesClassDesc, cv_nPreSpacesClassBody, cv_nPreSpacesMethodComment,
      cv_nPreSpacesMethodBody;
  String cv_sAltEditor;
  bool cv_bUseAltEditor = false;
  String cv_sHeaderFile, cv_sFooterFile, cv_sDescriptionFile, cv_sAuthorName;
  String cv_sCompiledClasses, cv_sClassPath;
  bool cv_bOptimizeSize = false, cv_bGenerateDebuggingTbl = false, cv_bVerbose = false, cv_bNoWarnings = false,
       cv_bAutoSaveFile = false;
  String cv_sRunClassPath;
  bool cv_bRunVerbose = false, cv_bRunVersion = false, cv_bRunProf = false, cv_bRunDebug = false;
  String cv_sHTMLBrowser, cv_sHTMLDocument;
};

inline AppProfileVars& AppProfileClassVars(Module& m) { return m.Slot<AppProfileVars>(); }

inline constexpr std::string_view kAppProfileFile = "Quorvane.ini";

// The colours a load sets when the file is missing (and nothing else).
inline constexpr int64_t kNoFileFontColor = 0;
inline constexpr int64_t kNoFileBkgdColor = 12632256;   // 0xC0C0C0
inline constexpr int64_t kNoFileClassColor = 16711680;  // 0xFF0000

enum class SettingType { kString, kNumber, kBoolean };

// One row of the settings table.  Exactly one member pointer, the one of
// eType, is set.  The texts are zero-terminated.
struct ProfileSetting {
  std::string_view sSection;
  std::string_view sKey;
  std::string_view sVariable;
  SettingType eType;
  std::string_view sDefault;  // the text a read yields when the key is absent
  String AppProfileVars::*pString = nullptr;
  Number AppProfileVars::*pNumber = nullptr;
  bool AppProfileVars::*pBoolean = nullptr;
};

// The settings in the order in which the load and the save handle them.
std::span<const ProfileSetting> ProfileSettings();
// The row of sSection and sKey, compared like INI names (ASCII letters in
// any case, blanks around them ignored); nullptr when there is none.
const ProfileSetting* FindProfileSetting(std::string_view sSection, std::string_view sKey);
// The row's variable as the save writes it.
String EncodeSetting(const ProfileSetting& row, const AppProfileVars& cv);
// Assigns the row's variable from its text form, as the load does.
void AssignSetting(const ProfileSetting& row, std::string_view sText, AppProfileVars& cv);
// The row's name as people read it: "[Section] Key".
String SettingName(const ProfileSetting& row);
// Why sValue does not fit the row's type, "" when it does: a Number is
// [+-] digits [. digits] (digits on at least one side of the point), a
// Boolean "1" or "0"; every text fits a String.
String SettingMisfit(const ProfileSetting& row, std::string_view sValue);
// Why a value, in the form the save writes it, would not read back from
// the file unchanged; "" when it would.  Only a line break cannot be
// stored: blanks and quotes around a value are kept (the profile engine
// quotes such a value).
String UnstorableSetting(std::string_view sStored);

// Runs InitProfile and tells whether this load found the file (unlike
// cv_bLoaded, which stays TRUE from the first load that found it).
bool LoadAppProfile(Module& m);
// Whether the file holds the row's key (a missing key reads as a default
// that no stored value can equal: a line break).
bool ProfileHoldsKey(Module& m, const ProfileSetting& row);
// The first setting whose key in sFile does not read back as the save
// writes it from the class's variables, or nullptr when the file holds
// every one: what tells a save that the host could not complete.
const ProfileSetting* FirstUnsavedSetting(Module& m, std::string_view sFile = kAppProfileFile);

// One setting's value in its text form.
struct SettingValue {
  const ProfileSetting* pRow;
  std::string_view sText;
};
// Makes the class's settings those of a new profile, every default (what
// a load of an empty file yields) but aValues, and writes them all into
// sFile, a name as the host's profile operations take it, which must be
// empty or missing; the settings then count as loaded.  FALSE when the
// file does not give every setting back.  Putting the file in place of the
// application profile, in one step, is the caller's: this one may have
// left a partial file.
bool WriteNewAppProfile(Module& m, std::string_view sFile, std::span<const SettingValue> aValues);

// Numbered key lists: entry n has the key prefix + ProfileListSuffix(n),
// the digits of n padded with zeros to three ("000", "010", "100", "1000",
// "1001", ...).  The value "(None)" marks a dead entry.  No list has more
// than kMaxProfileListEntries entries (suffixes "000" to "9999"): reads,
// blanking and writes stop there.
inline constexpr std::string_view kDeadListEntry = "(None)";
inline constexpr int64_t kMaxProfileListEntries = 10000;
String ProfileListSuffix(int64_t n);

class VC_ApplicationProfile : public Object {
 public:
  std::string_view ClassName() const override { return "VC_ApplicationProfile"; }

  // Loads every setting when "Quorvane.ini" exists.  When it is missing,
  // tells the host (RtProfileAbsent), sets only the three no-file colours
  // and leaves the profile unloaded.  Result: null.
  Number InitProfile(Module& m);
  // Writes every setting, whether loaded or not.  Result: null.
  Number SaveProfile(Module& m);
  String GetSpareString(Module& m);
  Number GetFontSettings(Module& m, String& sFontName, Number& nFontEnhancement, Number& nFontSize, Number& nFontColor,
                         Number& nBkgdColor, Number& nClassColor, Number& nMethodColor);
  Number SetFontSettings(Module& m, std::string_view sFontName, Number nFontEnhancement, Number nFontSize,
                         Number nFontColor, Number nBkgdColor, Number nClassColor, Number nMethodColor);
  String GetJavaFilesRoot(Module& m);
  Number SetJavaFilesRoot(Module& m, std::string_view sDirectory);
  Number GetFileCount(Module& m);
  bool GetAutoTile(Module& m);
  Number SetAutoTile(Module& m, bool bAutoTile);
  // Reads the list sPrefix of sSection into aValues from element 0, up to
  // the first missing or empty key or "(None)".  Returns the number of
  // elements of aValues afterwards (more than were read when it held more).
  Number ReadProfileList(Module& m, std::string_view sSection, std::string_view sPrefix, DynArray<String>& aValues);
  // Marks every stored entry of the list "(None)", then writes aValues from
  // element 0 up to the first empty one.  Returns the element count of
  // aValues minus 1.
  Number WriteProfileList(Module& m, std::string_view sSection, std::string_view sPrefix, DynArray<String>& aValues);
};

// The global AppProfile instance the host application uses.
struct AppProfileGlobal : ModuleSlot {
  VC_ApplicationProfile AppProfile;
};
inline VC_ApplicationProfile& AppProfileInstance(Module& m) { return m.Slot<AppProfileGlobal>().AppProfile; }

}  // namespace qv
