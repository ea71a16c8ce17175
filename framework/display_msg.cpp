// SPDX-License-Identifier: Apache-2.0
#include "framework/display_msg.h"

#include <cmath>

#include "core/convert.h"
#include "core/runtime.h"
#include "core/toolkit.h"

namespace qv {
namespace {

constexpr std::string_view kSystemMsg[] = {
    "Delete - Are you sure?",
    "Save current changes?",
    "You must enter a database name!",
    "Auto Sql Profile Log On!",
    "Both Between and And values must be set!",
    "Number of Sql Handles is above Warning Level!",
    "Auto Performance Log On!",
    "Table Window Row Out of Range",
    "Table Window Overflow.",
    "Table Window Cache Full.",
    "Drop Command - Are you sure?",
    "This record has been updated\nby someone else. Do you wish to\nwork with this new information.",
    "This record already exists in database!",
    "Value not in Combo Box List!",
    "Unable to complete action at this time.\nA record in this set has been updated by someone else. ",
    "Login Error! Please try again.",
    "DDE - Application not available",
    "DDE - Topic not available",
    "Can't View Report: RtReportView failed.",
    "This record has been Deleted.\nBetter Luck Next Time.",
    "Error Closing Report Window.",
    "Can't get ROW_ID",
    "No items found!",
    "Update Statistics should only be run as an end of day process!",
    "File not found!",
    "Can't get File Version!",
    "No free Sql Handles!",
    "Restore SQL Stored Commands?",
    "",
    "",
    "Can't Insert Table Window Row! Row already exists in database.",
    "Can't Restore SQL Stored Commands!",
    "System Menu not supported by this Database Brand!",
    "Database Brand not found!",
    "Like Not allowed on number based fields!",
    "Invalid SqlStatement for ComboBox!",
};

constexpr std::string_view kValidationMsg[] = {
    "Value must be entered - ", "Valid Number must be entered - ", "Valid DateTime must be entered - ",
    "Value out of range - ",    "Value not valid increment - ",    "Spin Property not valid ",
};

template <size_t N>
void Fill(DynArray<String>& a, const std::string_view (&aTexts)[N]) {
  for (size_t i = 0; i < N; ++i) a.Set(static_cast<int64_t>(i), String(aTexts[i]));
}

// Element n of a table.  A number that names no element (null, negative,
// fractional or beyond the end) reads as the empty text, like an element
// that was never assigned.
const String& Element(const DynArray<String>& a, Number n) {
  const double d = n.Value();
  if (n.IsNull() || d < 0 || d != std::floor(d) || d >= static_cast<double>(a.Count())) return a.Get(-1);
  return a.Get(static_cast<int64_t>(d));
}

// Style 0 (or none): exclamation icon and OK; otherwise the caller's buttons with the
// question-mark icon bit.
Number BoxStyle(Number nStyle) { return nStyle.Value() == 0 ? Number(48) : BitOr(nStyle, Number(32)); }

}  // namespace

Number VC_DisplayMsg::DisplaySystemMsg(Module& m, Number nMsg, Number nStyle) {
  DisplayMsgVars& cv = DisplayMsgClassVars(m);
  if (cv.cv_sSystemMsg.Get(0).empty()) Fill(cv.cv_sSystemMsg, kSystemMsg);

  String sCaption;
  const WindowHandle hForm = RtCurrentForm(m);
  if (WinIsWindow(m, hForm)) {
    RtGetWindowText(m, hForm, sCaption, kCaptionBuffer);
    if (sCaption.empty()) RtGetWindowText(m, RtGetParent(m, hForm), sCaption, kCaptionBuffer);
  } else {
    sCaption = "System Message";
  }

  String sNumber;
  RtFormatNumber(nMsg, 0, sNumber);
  String sText("S");
  sText += sNumber;
  sText += ": ";
  sText += Element(cv.cv_sSystemMsg, nMsg);
  return RtMessageBox(m, sText, sCaption, BoxStyle(nStyle).AsInt64());
}

Number VC_DisplayMsg::DisplayValidationMsg(Module& m, Number nMsg, std::string_view sText, Number nStyle) {
  DisplayMsgVars& cv = DisplayMsgClassVars(m);
  if (cv.cv_sValidationMsg.Get(0).empty()) Fill(cv.cv_sValidationMsg, kValidationMsg);

  String sCaption;
  const WindowHandle hForm = RtCurrentForm(m);
  if (WinIsWindow(m, hForm)) {
    RtGetWindowText(m, hForm, sCaption, kCaptionBuffer);
  } else {
    sCaption = "Validation Message";
  }

  String sBox("V");
  sBox += RtNumberToStr(nMsg, 0);
  sBox += ":";
  sBox += Element(cv.cv_sValidationMsg, nMsg);
  sBox += sText;
  return RtMessageBox(m, sBox, sCaption, BoxStyle(nStyle).AsInt64());
}

Number ShowSystemMsg(Module& m, int nMsg) {
  VC_DisplayMsg oMsg;
  return oMsg.DisplaySystemMsg(m, Number(nMsg), Number(0));
}

}  // namespace qv
