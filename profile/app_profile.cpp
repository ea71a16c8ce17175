// SPDX-License-Identifier: Apache-2.0
#include "profile/app_profile.h"

#include "core/convert.h"
#include "core/rt_string.h"
#include "core/runtime.h"

namespace qv {
namespace {

constexpr ProfileSetting StringRow(std::string_view sSection, std::string_view sKey, std::string_view sVariable,
                                   String AppProfileVars::*p, std::string_view sDefault) {
  return {sSection, sKey, sVariable, SettingType::kString, sDefault, p, nullptr, nullptr};
}
constexpr ProfileSetting NumberRow(std::string_view sSection, std::string_view sKey, std::string_view sVariable,
                                   Number AppProfileVars::*p, std::string_view sDefault) {
  return {sSection, sKey, sVariable, SettingType::kNumber, sDefault, nullptr, p, nullptr};
}
constexpr ProfileSetting BooleanRow(std::string_view sSection, std::string_view sKey, std::string_view sVariable,
                                    bool AppProfileVars::*p, std::string_view sDefault) {
  return {sSection, sKey, sVariable, SettingType::kBoolean, sDefault, nullptr, nullptr, p};
}

#define QV_STRING(section, key, var, def) StringRow(section, key, #var, &AppProfileVars::var, def)
#define QV_NUMBER(section, key, var, def) NumberRow(section, key, #var, &AppProfileVars::var, def)
#define QV_BOOLEAN(section, key, var, def) BooleanRow(section, key, #var, &AppProfileVars::var, def)

// "Archive File Diectory" is the key's name in every existing file, so it
// keeps that spelling.  Every text is a literal, so its view ends before a
// zero byte: the C interface hands the texts out as C strings.
constexpr ProfileSetting kSettings[] = {
    QV_STRING("Root Directories", "Java Bin Directory", cv_sJavaBinDirectory, ""),
    QV_STRING("Root Directories", "Java Files", cv_sJavaFilesRoot, ""),
    QV_NUMBER("Root Directories", "File Count", cv_nFileCount, "0"),
    QV_NUMBER("Root Directories", "Archive File Count", cv_nArchiveFileCount, "0"),
    QV_STRING("Root Directories", "Archive File Diectory", cv_sArchiveFileDirectory, ""),
    QV_NUMBER("Root Directories", "Archive Files", cv_nArchiveFiles, ""),
    QV_BOOLEAN("Profile", "Auto Tile", cv_bAutoTile, ""),
    QV_BOOLEAN("Profile", "Auto Save Repository", cv_bAutoSaveRepository, ""),
    QV_BOOLEAN("Profile", "Show Validation Messages", cv_bShowValidationMsgs, ""),
    QV_STRING("Profile", "Font Name", cv_sFontName, "Arial"),
    QV_NUMBER("Profile", "Font Size", cv_nFontSize, "10"),
    QV_NUMBER("Profile", "Font Enhancement", cv_nFontEnhancement, ""),
    QV_NUMBER("Profile", "Font Color", cv_nFontColor, "0"),
    QV_NUMBER("Profile", "Bkgd Color", cv_nBkgdColor, "1"),
    QV_NUMBER("Profile", "Class Color", cv_nClassColor, "0"),
    QV_NUMBER("Profile", "Method Color", cv_nMethodColor, "0"),
    QV_STRING("File Delimiters", "CRLF Delimiter", cv_sCRLFDelimiter, "*"),
    QV_STRING("File Delimiters", "Element Delimiter", cv_sElementDelimiter, "*"),
    QV_STRING("Formatting", "Comment Pre Character", cv_sCommentPreChar, "*"),
    QV_NUMBER("Formatting", "Pre Spaces File Header and Footer", cv_nPreSpacesHeaderFooter, "0"),
    QV_NUMBER("Formatting", "Pre Spaces Class Description", cv_nPreSpacesClassDesc, "1"),
    QV_NUMBER("Formatting", "Pre Spaces Class Body", cv_nPreSpacesClassBody, "3"),
    QV_NUMBER("Formatting", "Pre Spaces Method Comment", cv_nPreSpacesMethodComment, "6"),
    QV_NUMBER("Formatting", "Pre Spaces Method Body", cv_nPreSpacesMethodBody, "9"),
    QV_STRING("Editor", "Alternate Editor", cv_sAltEditor, "notepad.exe %F"),
    QV_BOOLEAN("Editor", "Use Alternate Editor", cv_bUseAltEditor, "0"),
    QV_STRING("Default Files", "Header", cv_sHeaderFile, "Header.txt"),
    QV_STRING("Default Files", "Footer", cv_sFooterFile, "Footer.txt"),
    QV_STRING("Default Files", "Description", cv_sDescriptionFile, "ClsDesc.txt"),
    QV_STRING("Default Files", "Author Name", cv_sAuthorName, "Tavrine"),
    QV_STRING("Java Compiler", "Compiled Classes", cv_sCompiledClasses, ""),
    QV_STRING("Java Compiler", "ClassPath", cv_sClassPath, ""),
    QV_BOOLEAN("Java Compiler", "Optimize Size", cv_bOptimizeSize, "0"),
    QV_BOOLEAN("Java Compiler", "Generate Debugging Tbl", cv_bGenerateDebuggingTbl, "0"),
    QV_BOOLEAN("Java Compiler", "Verbose", cv_bVerbose, "0"),
    QV_BOOLEAN("Java Compiler", "Display No Warnings", cv_bNoWarnings, "0"),
    QV_BOOLEAN("Java Compiler", "Auto-Save File", cv_bAutoSaveFile, "0"),
    QV_STRING("Java Interpreter", "ClassPath", cv_sRunClassPath, ""),
    QV_BOOLEAN("Java Interpreter", "Verbose", cv_bRunVerbose, "0"),
    QV_BOOLEAN("Java Interpreter", "Version", cv_bRunVersion, "0"),
    QV_BOOLEAN("Java Interpreter", "Prof", cv_bRunProf, "0"),
    QV_BOOLEAN("Java Interpreter", "Debug", cv_bRunDebug, "0"),
    QV_STRING("HTML Browser", "Browser", cv_sHTMLBrowser, "netscape.exe"),
    QV_STRING("HTML Browser", "Document", cv_sHTMLDocument, "AllNames.html"),
};

#undef QV_STRING
#undef QV_NUMBER
#undef QV_BOOLEAN

// Whether a and b name the same section or key in an INI file: ASCII
// letters in any case, blanks and tabs around the name ignored.
bool SameIniName(std::string_view a, std::string_view b) {
  const auto Trim = [](std::string_view s) {
    const size_t nFirst = s.find_first_not_of(" \t");
    if (nFirst == std::string_view::npos) return std::string_view();
    return s.substr(nFirst, s.find_last_not_of(" \t") - nFirst + 1);
  };
  const auto Fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  a = Trim(a);
  b = Trim(b);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

String ListKey(std::string_view sPrefix, int64_t n) {
  String sKey(sPrefix);
  sKey += ProfileListSuffix(n);
  return sKey;
}

// Writes every setting of cv into sFile, in the order of the table.
void WriteSettings(Module& m, const AppProfileVars& cv, std::string_view sFile) {
  for (const ProfileSetting& row : kSettings) {
    RtWriteProfileString(m, row.sSection, row.sKey, EncodeSetting(row, cv), sFile);
  }
}

void LoadIfNeeded(VC_ApplicationProfile& self, Module& m) {
  if (!AppProfileClassVars(m).cv_bLoaded) self.InitProfile(m);
}

}  // namespace

std::span<const ProfileSetting> ProfileSettings() { return kSettings; }

const ProfileSetting* FindProfileSetting(std::string_view sSection, std::string_view sKey) {
  for (const ProfileSetting& row : kSettings) {
    if (SameIniName(row.sSection, sSection) && SameIniName(row.sKey, sKey)) return &row;
  }
  return nullptr;
}

String EncodeSetting(const ProfileSetting& row, const AppProfileVars& cv) {
  switch (row.eType) {
    case SettingType::kString:
      return cv.*row.pString;
    case SettingType::kNumber:
      return RtNumberToStr(cv.*row.pNumber, 0);
    case SettingType::kBoolean:
      return cv.*row.pBoolean ? "1" : "0";
  }
  return String();
}

void AssignSetting(const ProfileSetting& row, std::string_view sText, AppProfileVars& cv) {
  switch (row.eType) {
    case SettingType::kString:
      cv.*row.pString = String(sText);
      break;
    case SettingType::kNumber:
      cv.*row.pNumber = RtStrToNumber(sText);
      break;
    case SettingType::kBoolean:
      cv.*row.pBoolean = sText == "1";
      break;
  }
}

String SettingName(const ProfileSetting& row) {
  String sName = "[";
  sName.append(row.sSection).append("] ").append(row.sKey);
  return sName;
}

String SettingMisfit(const ProfileSetting& row, std::string_view sValue) {
  if (row.eType == SettingType::kBoolean) {
    return sValue == "0" || sValue == "1" ? "" : "a flag is 1 (TRUE) or 0 (FALSE)";
  }
  if (row.eType != SettingType::kNumber) return "";
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

String UnstorableSetting(std::string_view sStored) {
  return sStored.find_first_of("\r\n") == std::string_view::npos ? "" : "it holds a line break";
}

bool LoadAppProfile(Module& m) {
  AppProfileVars& cv = AppProfileClassVars(m);
  const bool bLoadedBefore = cv.cv_bLoaded;
  cv.cv_bLoaded = false;
  AppProfileInstance(m).InitProfile(m);
  const bool bFound = cv.cv_bLoaded;
  cv.cv_bLoaded = bLoadedBefore || bFound;
  return bFound;
}

bool ProfileHoldsKey(Module& m, const ProfileSetting& row) {
  String sValue;
  RtGetProfileString(m, row.sSection, row.sKey, "\n", sValue, kAppProfileFile);
  return sValue != "\n";
}

const ProfileSetting* FirstUnsavedSetting(Module& m, std::string_view sFile) {
  const AppProfileVars& cv = AppProfileClassVars(m);
  String sValue;
  for (const ProfileSetting& row : kSettings) {
    // A missing key reads as a line break, which no saved value equals.
    RtGetProfileString(m, row.sSection, row.sKey, "\n", sValue, sFile);
    if (sValue != EncodeSetting(row, cv)) return &row;
  }
  return nullptr;
}

bool WriteNewAppProfile(Module& m, std::string_view sFile, std::span<const SettingValue> aValues) {
  AppProfileVars& cv = AppProfileClassVars(m);
  for (const ProfileSetting& row : kSettings) AssignSetting(row, row.sDefault, cv);
  for (const SettingValue& value : aValues) AssignSetting(*value.pRow, value.sText, cv);
  cv.cv_bLoaded = true;
  cv.cv_sIniFile = String(kAppProfileFile);
  WriteSettings(m, cv, sFile);
  return FirstUnsavedSetting(m, sFile) == nullptr;
}

String ProfileListSuffix(int64_t n) {
  String sDigits = RtNumberToStr(Number(n), 0);
  if (n >= 0 && sDigits.size() < 3) sDigits.insert(0, 3 - sDigits.size(), '0');
  return sDigits;
}

Number VC_ApplicationProfile::InitProfile(Module& m) {
  AppProfileVars& cv = AppProfileClassVars(m);
  cv.cv_sIniFile = String(kAppProfileFile);
  FileHandle hFile;
  if (!RtFileOpen(m, hFile, cv.cv_sIniFile, kOpenExist)) {
    RtProfileAbsent(m, true);
    cv.cv_nFontColor = Number(kNoFileFontColor);
    cv.cv_nBkgdColor = Number(kNoFileBkgdColor);
    cv.cv_nClassColor = Number(kNoFileClassColor);
    return Number::Null();
  }
  cv.cv_bLoaded = true;
  String sValue;
  for (const ProfileSetting& row : kSettings) {
    RtGetProfileString(m, row.sSection, row.sKey, row.sDefault, sValue, cv.cv_sIniFile);
    AssignSetting(row, sValue, cv);
  }
  return Number::Null();
}

Number VC_ApplicationProfile::SaveProfile(Module& m) {
  AppProfileVars& cv = AppProfileClassVars(m);
  cv.cv_sIniFile = String(kAppProfileFile);
  WriteSettings(m, cv, cv.cv_sIniFile);
  return Number::Null();
}

String VC_ApplicationProfile::GetSpareString(Module& m) {
  LoadIfNeeded(*this, m);
  return AppProfileClassVars(m).cv_sSpare;
}

Number VC_ApplicationProfile::GetFontSettings(Module& m, String& sFontName, Number& nFontEnhancement, Number& nFontSize,
                                              Number& nFontColor, Number& nBkgdColor, Number& nClassColor,
                                              Number& nMethodColor) {
  LoadIfNeeded(*this, m);
  const AppProfileVars& cv = AppProfileClassVars(m);
  sFontName = cv.cv_sFontName;
  nFontEnhancement = cv.cv_nFontEnhancement;
  nFontSize = cv.cv_nFontSize;
  nFontColor = cv.cv_nFontColor;
  nBkgdColor = cv.cv_nBkgdColor;
  nClassColor = cv.cv_nClassColor;
  nMethodColor = cv.cv_nMethodColor;
  return Number::Null();
}

Number VC_ApplicationProfile::SetFontSettings(Module& m, std::string_view sFontName, Number nFontEnhancement,
                                              Number nFontSize, Number nFontColor, Number nBkgdColor,
                                              Number nClassColor, Number nMethodColor) {
  AppProfileVars& cv = AppProfileClassVars(m);
  cv.cv_sFontName = String(sFontName);
  cv.cv_nFontEnhancement = nFontEnhancement;
  cv.cv_nFontSize = nFontSize;
  cv.cv_nFontColor = nFontColor;
  cv.cv_nBkgdColor = nBkgdColor;
  cv.cv_nClassColor = nClassColor;
  cv.cv_nMethodColor = nMethodColor;
  return Number::Null();
}

String VC_ApplicationProfile::GetJavaFilesRoot(Module& m) {
  LoadIfNeeded(*this, m);
  return AppProfileClassVars(m).cv_sJavaFilesRoot;
}

Number VC_ApplicationProfile::SetJavaFilesRoot(Module& m, std::string_view sDirectory) {
  AppProfileClassVars(m).cv_sJavaFilesRoot = String(sDirectory);
  return Number::Null();
}

Number VC_ApplicationProfile::GetFileCount(Module& m) {
  LoadIfNeeded(*this, m);
  return AppProfileClassVars(m).cv_nFileCount;
}

bool VC_ApplicationProfile::GetAutoTile(Module& m) {
  LoadIfNeeded(*this, m);
  return AppProfileClassVars(m).cv_bAutoTile;
}

Number VC_ApplicationProfile::SetAutoTile(Module& m, bool bAutoTile) {
  // The flag arrives as a truth value, so its word form is 1 or 0: a TRUE
  // whose low 16 bits are zero cannot turn into FALSE here.
  AppProfileClassVars(m).cv_bAutoTile = RtWordToNumber(bAutoTile ? 1 : 0).IsTrue();
  return Number::Null();
}

Number VC_ApplicationProfile::ReadProfileList(Module& m, std::string_view sSection, std::string_view sPrefix,
                                              DynArray<String>& aValues) {
  LoadIfNeeded(*this, m);
  const String& sFile = AppProfileClassVars(m).cv_sIniFile;
  String sValue;
  for (int64_t n = 0; n < kMaxProfileListEntries; ++n) {
    if (RtGetProfileString(m, sSection, ListKey(sPrefix, n), "", sValue, sFile) == 0) break;
    if (sValue == kDeadListEntry) break;
    aValues.At(n) = sValue;
  }
  Number nLower;
  Number nUpper;
  RtArrayBounds(aValues, nLower, nUpper);
  return nUpper - nLower + Number(1);
}

Number VC_ApplicationProfile::WriteProfileList(Module& m, std::string_view sSection, std::string_view sPrefix,
                                               DynArray<String>& aValues) {
  LoadIfNeeded(*this, m);
  const String& sFile = AppProfileClassVars(m).cv_sIniFile;
  String sValue;
  for (int64_t n = 0; n < kMaxProfileListEntries; ++n) {
    const String sKey = ListKey(sPrefix, n);
    if (RtGetProfileString(m, sSection, sKey, "", sValue, sFile) == 0) break;
    RtWriteProfileString(m, sSection, sKey, kDeadListEntry, sFile);
  }
  for (int64_t n = 0; n < kMaxProfileListEntries; ++n) {
    const String& sEntry = aValues[n];
    if (sEntry.empty()) break;
    RtWriteProfileString(m, sSection, ListKey(sPrefix, n), sEntry, sFile);
  }
  Number nLower;
  Number nUpper;
  RtArrayBounds(aValues, nLower, nUpper);
  return nUpper - nLower;
}

}  // namespace qv
