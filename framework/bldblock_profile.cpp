// SPDX-License-Identifier: Apache-2.0
#include "framework/bldblock_profile.h"

#include "core/convert.h"
#include "core/rt_sql.h"
#include "core/runtime.h"
#include "framework/display_msg.h"

namespace qv {
namespace {

constexpr std::string_view kPathSection = "BldBlock File Path";
constexpr std::string_view kDebugSection = "Debug BldBlock";
constexpr std::string_view kLineBreak = "\r\r\n";
constexpr std::string_view kDateTimePicture = "M/d/yy hh:mm:ss AMPM";

// Only the value 1 switches a mode on.
bool ModeKeyOn(Module& m, std::string_view sKey) {
  return RtIntToNumber(RtGetProfileInt(m, kDebugSection, sKey, 0, kBldBlockIni)) == Number(1);
}

// Writes the log's header block to sLog (appended to an existing file).
// The results of the open, the write and the close are not examined: a log
// that cannot be written is the host's to report.
void StartLog(Module& m, std::string_view sLog, std::string_view sKind) {
  if (sLog.empty()) return;
  FileHandle hFile;
  const int nStyle = RtFileOpen(m, hFile, sLog, kOpenExist) ? kOpenAppend : kOpenCreate;
  if (!RtFileOpen(m, hFile, sLog, nStyle)) return;
  RtFilePutLine(m, hFile, LogHeaderBlock(sKind, RtAppName(m), RtCurrentDateTime(m)));
  RtFileClose(m, hFile);
}

}  // namespace

String LogHeaderBlock(std::string_view sKind, std::string_view sAppName, DateTime dt) {
  String s;
  s += kLineBreak;
  s += kLineBreak;
  s += "Start New ";
  s += sKind;
  s += " Log ";
  s += kLineBreak;
  s += "Application: ";
  s += sAppName;
  s += kLineBreak;
  s += "DateTime: ";
  s += RtFormatDateTime(dt, kDateTimePicture);
  return s;
}

Number VC_BldBlockProfile::InitBldBlockProfile(Module& m) {
  BldBlockProfileVars& cv = BldBlockProfileClassVars(m);
  VC_DisplayMsg oMsg;
  RtSetStaticsAsWindows(m, true);
  cv.cv_sBldBlockIni = String(kBldBlockIni);
  RtGetProfileString(m, kPathSection, "BldBlock Help", "", cv.cv_sHelpFile, cv.cv_sBldBlockIni);
  RtGetProfileString(m, kDebugSection, "Performance Log", "", cv.cv_sPerformanceLog, cv.cv_sBldBlockIni);
  RtGetProfileString(m, kDebugSection, "SqlProfile Log", "", cv.cv_sSqlProfileLog, cv.cv_sBldBlockIni);
  if (ModeKeyOn(m, "Debug Mode (On/1)")) cv.cv_bDebugMode = true;
  if (ModeKeyOn(m, "SqlProfile Mode (On/1)")) {
    StartLog(m, cv.cv_sSqlProfileLog, "SqlProfile");
    oMsg.DisplaySystemMsg(m, Number(kMsgSqlProfileLogOn), Number(0));
    cv.cv_bSqlProfileMode = true;
  }
  if (ModeKeyOn(m, "Performance Mode (On/1)")) {
    StartLog(m, cv.cv_sPerformanceLog, "Performance");
    oMsg.DisplaySystemMsg(m, Number(kMsgPerformanceLogOn), Number(0));
    cv.cv_bPerformanceMode = true;
  }
  if (ModeKeyOn(m, "StaticsAsWindowsOff Mode (On/1)")) RtSetStaticsAsWindows(m, false);
  // The host's database layer appends to the logs that are on, below the
  // header blocks just written.
  if (m.GetHost().pSql != nullptr) {
    m.Db().SetLogFiles(cv.cv_bSqlProfileMode ? cv.cv_sSqlProfileLog : String(),
                       cv.cv_bPerformanceMode ? cv.cv_sPerformanceLog : String());
  }
  return Number::Null();
}

Number VC_BldBlockProfile::LoadBldBlockProfile(Module& m) {
  if (BldBlockProfileClassVars(m).cv_sBldBlockIni.empty()) InitBldBlockProfile(m);
  return Number::Null();
}

String VC_BldBlockProfile::GetSqlProfileLog(Module& m) {
  LoadBldBlockProfile(m);
  return BldBlockProfileClassVars(m).cv_sSqlProfileLog;
}
String VC_BldBlockProfile::GetPerformanceLog(Module& m) {
  LoadBldBlockProfile(m);
  return BldBlockProfileClassVars(m).cv_sPerformanceLog;
}
String VC_BldBlockProfile::GetBldBlockHelp(Module& m) {
  LoadBldBlockProfile(m);
  return BldBlockProfileClassVars(m).cv_sHelpFile;
}
bool VC_BldBlockProfile::GetDebugMode(Module& m) {
  LoadBldBlockProfile(m);
  return BldBlockProfileClassVars(m).cv_bDebugMode;
}
bool VC_BldBlockProfile::GetSqlProfileMode(Module& m) {
  LoadBldBlockProfile(m);
  return BldBlockProfileClassVars(m).cv_bSqlProfileMode;
}
bool VC_BldBlockProfile::GetPerformanceMode(Module& m) {
  LoadBldBlockProfile(m);
  return BldBlockProfileClassVars(m).cv_bPerformanceMode;
}

}  // namespace qv
