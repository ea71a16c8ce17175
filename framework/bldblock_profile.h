// SPDX-License-Identifier: Apache-2.0
// VC_BldBlockProfile: the framework profile "BLDBLOCK.INI".  It switches on
// the debug mode, the SQL profile log and the performance log, and can turn
// the host's statics-as-windows behaviour off.  Starting a log writes a
// header block to the log file and tells the user.
//
// The settings are class variables, loaded once on first use (every getter
// loads them when that has not happened yet).  The file is read through the
// host's profile operations with its bare name.
#pragma once

#include <string_view>

#include "core/module.h"
#include "core/object.h"

namespace qv {

struct BldBlockProfileVars : ModuleSlot {
  String cv_sBldBlockIni;  // empty until the first load
  String cv_sHelpFile;
  bool cv_bDebugMode = false;
  bool cv_bSqlProfileMode = false;
  bool cv_bPerformanceMode = false;
  String cv_sSqlProfileLog;
  String cv_sPerformanceLog;
};

inline BldBlockProfileVars& BldBlockProfileClassVars(Module& m) { return m.Slot<BldBlockProfileVars>(); }

inline constexpr std::string_view kBldBlockIni = "BLDBLOCK.INI";

// The header block that starts a log: sKind is "SqlProfile" or
// "Performance"; dt is formatted "M/d/yy hh:mm:ss AMPM".
String LogHeaderBlock(std::string_view sKind, std::string_view sAppName, DateTime dt);

class VC_BldBlockProfile : public Object {
 public:
  std::string_view ClassName() const override { return "VC_BldBlockProfile"; }

  // Reads every key of the profile, starts the logs whose mode key is 1 and
  // shows their messages.  Result: null.
  Number InitBldBlockProfile(Module& m);
  // Loads the profile when it is not loaded yet.  Result: null.
  Number LoadBldBlockProfile(Module& m);
  String GetSqlProfileLog(Module& m);
  String GetPerformanceLog(Module& m);
  String GetBldBlockHelp(Module& m);
  bool GetDebugMode(Module& m);
  bool GetSqlProfileMode(Module& m);
  bool GetPerformanceMode(Module& m);
};

}  // namespace qv
