// SPDX-License-Identifier: Apache-2.0
// The application profile through the C interface (quorvane_profile.h): the
// settings table, and the load, change and save of "Quorvane.ini" by the
// process's module, at the path where the process's host keeps it.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exports/abi.h"
#include "exports/process.h"
#include "profile/app_profile.h"
#include "repository/repository_format.h"

using qv::abi::NewString;
using qv::abi::TheProcess;

namespace {

qv::Module& InitialisedModule() {
  qv::Module& m = *TheProcess().pModule;
  m.EnsureInitialised();
  return m;
}

const qv::ProfileSetting* Row(int64_t nIndex) {
  const std::span<const qv::ProfileSetting> aRows = qv::ProfileSettings();
  return nIndex >= 0 && static_cast<uint64_t>(nIndex) < aRows.size() ? &aRows[static_cast<size_t>(nIndex)] : nullptr;
}

std::string ProfilePath() { return qv::abi::TheHost().ProfilePath(qv::kAppProfileFile); }

// Stores sWhy in *ppError when asked for and returns FALSE.
QvBoolean Fail(QvString** ppError, const std::string& sWhy) {
  if (ppError != nullptr) *ppError = NewString(sWhy);
  return 0;
}
QvBoolean Succeed(QvString** ppError) {
  if (ppError != nullptr) *ppError = nullptr;
  return 1;
}

// Why sValue cannot be stored for the row, "" when it can.
std::string Refusal(const qv::ProfileSetting* pRow, std::string_view sValue) {
  if (pRow == nullptr) return "no such setting";
  if (std::string sWhy = qv::SettingMisfit(*pRow, sValue); !sWhy.empty()) return sWhy;
  qv::AppProfileVars scratch;
  qv::AssignSetting(*pRow, sValue, scratch);
  return qv::UnstorableSetting(qv::EncodeSetting(*pRow, scratch));
}

// Checks that the file holds every setting as the module does.
QvBoolean Saved(qv::Module& m, QvString** ppError) {
  if (const qv::ProfileSetting* pBad = qv::FirstUnsavedSetting(m); pBad != nullptr) {
    return Fail(ppError, "cannot write " + ProfilePath() + " (" + qv::SettingName(*pBad) + " was not saved)");
  }
  return Succeed(ppError);
}

}  // namespace

extern "C" {

QV_API int64_t QvProfileSettingCount(void) { return static_cast<int64_t>(qv::ProfileSettings().size()); }

QV_API QvBoolean QvProfileSettingAt(int64_t nIndex, QvProfileSetting* pSetting) {
  const qv::ProfileSetting* pRow = Row(nIndex);
  if (pRow == nullptr || pSetting == nullptr) return 0;
  pSetting->section = pRow->sSection.data();
  pSetting->key = pRow->sKey.data();
  pSetting->variable = pRow->sVariable.data();
  pSetting->type = pRow->eType == qv::SettingType::kNumber    ? QV_SETTING_NUMBER
                   : pRow->eType == qv::SettingType::kBoolean ? QV_SETTING_BOOLEAN
                                                              : QV_SETTING_STRING;
  pSetting->defaultText = pRow->sDefault.data();
  return 1;
}

QV_API int64_t QvProfileFindSetting(const char* sSection, const char* sKey) {
  const qv::ProfileSetting* pRow = qv::FindProfileSetting(qv::abi::OrEmpty(sSection), qv::abi::OrEmpty(sKey));
  return pRow == nullptr ? -1 : pRow - qv::ProfileSettings().data();
}

QV_API QvString* QvProfilePath(void) { return NewString(ProfilePath()); }

QV_API QvBoolean QvProfileLoad(QvBoolean* pFound, QvString** ppError) {
  const bool bFound = qv::LoadAppProfile(InitialisedModule());
  if (pFound != nullptr) *pFound = bFound ? 1 : 0;
  // An existing file that cannot be read loads as all defaults, and says so.
  if (const std::string sWhy = qv::abi::TheHost().SettingsFileUnreadable(ProfilePath()); !sWhy.empty()) {
    return Fail(ppError, sWhy);
  }
  return Succeed(ppError);
}

QV_API QvString* QvProfileValue(int64_t nIndex) {
  const qv::ProfileSetting* pRow = Row(nIndex);
  return pRow == nullptr ? nullptr : NewString(qv::EncodeSetting(*pRow, qv::AppProfileClassVars(InitialisedModule())));
}

QV_API QvNumber QvProfileNumber(int64_t nIndex) {
  const qv::ProfileSetting* pRow = Row(nIndex);
  if (pRow == nullptr || pRow->pNumber == nullptr) return qv::abi::ToAbi(qv::Number::Null());
  return qv::abi::ToAbi(qv::AppProfileClassVars(InitialisedModule()).*(pRow->pNumber));
}

QV_API QvBoolean QvProfileKeyInFile(int64_t nIndex) {
  const qv::ProfileSetting* pRow = Row(nIndex);
  return pRow != nullptr && qv::ProfileHoldsKey(InitialisedModule(), *pRow) ? 1 : 0;
}

QV_API QvBoolean QvProfileStoredValue(int64_t nIndex, const char* sValue, QvString** ppStored, QvString** ppError) {
  const qv::ProfileSetting* pRow = Row(nIndex);
  if (pRow == nullptr) return Fail(ppError, "no such setting");
  if (const std::string sWhy = qv::SettingMisfit(*pRow, qv::abi::OrEmpty(sValue)); !sWhy.empty())
    return Fail(ppError, sWhy);
  qv::AppProfileVars scratch;
  qv::AssignSetting(*pRow, qv::abi::OrEmpty(sValue), scratch);
  if (ppStored != nullptr) *ppStored = NewString(qv::EncodeSetting(*pRow, scratch));
  return Succeed(ppError);
}

QV_API QvBoolean QvProfileStorable(const char* sStored, QvString** ppError) {
  if (const std::string sWhy = qv::UnstorableSetting(qv::abi::OrEmpty(sStored)); !sWhy.empty())
    return Fail(ppError, sWhy);
  return Succeed(ppError);
}

QV_API QvBoolean QvProfileSetValue(int64_t nIndex, const char* sValue, QvString** ppError) {
  const qv::ProfileSetting* pRow = Row(nIndex);
  if (const std::string sWhy = Refusal(pRow, qv::abi::OrEmpty(sValue)); !sWhy.empty()) return Fail(ppError, sWhy);
  qv::Module& m = InitialisedModule();
  qv::AssignSetting(*pRow, qv::abi::OrEmpty(sValue), qv::AppProfileClassVars(m));
  qv::AppProfileInstance(m).SaveProfile(m);
  return Saved(m, ppError);
}

QV_API QvBoolean QvProfileSave(QvString** ppError) {
  qv::Module& m = InitialisedModule();
  qv::AppProfileInstance(m).SaveProfile(m);
  return Saved(m, ppError);
}

QV_API QvBoolean QvProfileWriteDefaults(const QvProfileValueOf* aValues, size_t nCount, QvString** ppError) {
  std::vector<qv::SettingValue> aGiven;
  for (size_t k = 0; aValues != nullptr && k < nCount; ++k) {
    const qv::ProfileSetting* pRow = Row(aValues[k].setting);
    if (const std::string sWhy = Refusal(pRow, qv::abi::OrEmpty(aValues[k].value)); !sWhy.empty())
      return Fail(ppError, sWhy);
    aGiven.push_back({pRow, qv::abi::OrEmpty(aValues[k].value)});
  }
  const std::string sError = qv::abi::TheHost().ReplaceSettingsFile(ProfilePath(), [&](const std::string& sNewFile) {
    return qv::WriteNewAppProfile(InitialisedModule(), sNewFile, aGiven);
  });
  return sError.empty() ? Succeed(ppError) : Fail(ppError, sError);
}

QV_API void QvProfileRepositorySettings(QvRepositoryProfile* pSettings) {
  if (pSettings == nullptr) return;
  const qv::AppProfileVars& cv = qv::AppProfileClassVars(InitialisedModule());
  const auto IndexOf = [](qv::String qv::AppProfileVars::*pString) -> int64_t {
    const std::span<const qv::ProfileSetting> aRows = qv::ProfileSettings();
    for (size_t k = 0; k < aRows.size(); ++k) {
      if (aRows[k].pString == pString) return static_cast<int64_t>(k);
    }
    return -1;
  };
  // Whole copies only; a null or negative count keeps none.
  const auto WholeCount = [](const qv::Number& n) -> int64_t {
    if (n.IsNull() || std::isnan(n.Value())) return 0;
    return static_cast<int64_t>(std::clamp(n.Value(), 0.0, 9.2e18));
  };
  pSettings->delimiter = NewString(cv.cv_sElementDelimiter);
  pSettings->token = NewString(cv.cv_sCRLFDelimiter);
  pSettings->history = cv.cv_nArchiveFiles.IsTrue() ? WholeCount(cv.cv_nArchiveFileCount) : 0;
  pSettings->archiveDirectory = NewString(cv.cv_sArchiveFileDirectory);
  pSettings->delimiterSetting = IndexOf(&qv::AppProfileVars::cv_sElementDelimiter);
  pSettings->tokenSetting = IndexOf(&qv::AppProfileVars::cv_sCRLFDelimiter);
}

QV_API QvString* QvUnsafeSeparators(const QvString* pDelimiter, const QvString* pToken) {
  std::string sWhy = qv::format::UnsafeSeparators(qv::abi::View(pDelimiter), qv::abi::View(pToken));
  return sWhy.empty() ? nullptr : NewString(std::move(sWhy));
}

}  // extern "C"
