// SPDX-License-Identifier: Apache-2.0
// VC_DisplayMsg: the framework's numbered standard messages in message
// boxes.  System messages show "S<n>: <text>", validation messages
// "V<n>:<text><caller's text>"; the caption comes from the current form.
//
// The two tables are class variables, filled on the first call of their
// function and shared by every instance.
#pragma once

#include <string_view>

#include "core/module.h"
#include "core/object.h"

namespace qv {

struct DisplayMsgVars : ModuleSlot {
  DynArray<String> cv_sSystemMsg;
  DynArray<String> cv_sValidationMsg;
};

inline DisplayMsgVars& DisplayMsgClassVars(Module& m) { return m.Slot<DisplayMsgVars>(); }

// The message numbers the framework itself shows.
inline constexpr int kMsgSqlProfileLogOn = 3;
inline constexpr int kMsgAboveWarningLevel = 5;
inline constexpr int kMsgPerformanceLogOn = 6;
inline constexpr int kMsgLoginError = 15;
inline constexpr int kMsgNoFreeSqlHandles = 26;
inline constexpr int kMsgBrandNotFound = 33;

// The longest window text read for a caption, in characters.  The window
// text reader takes a buffer size that counts a terminating zero.
inline constexpr int64_t kCaptionMax = 32656;
inline constexpr int64_t kCaptionBuffer = kCaptionMax + 1;

class VC_DisplayMsg : public Object {
 public:
  std::string_view ClassName() const override { return "VC_DisplayMsg"; }

  // Shows system message n.  Style 0 shows the exclamation icon and OK (48);
  // any other style gets the question-mark bit (32) ORed in.  Returns the
  // button pressed.
  Number DisplaySystemMsg(Module& m, Number nMsg, Number nStyle);
  // Shows validation message n with sText appended; styles as above.
  Number DisplayValidationMsg(Module& m, Number nMsg, std::string_view sText, Number nStyle);
  // The constructor and destructor the host runs: nothing beyond the
  // module's one-time initialisation, which every export does first.
  Number Construct(Module&) { return Number::Null(); }
  Number Destruct(Module&) { return Number::Null(); }
};

// Shows system message n with style 0 on a temporary instance, as the
// framework's own classes do.
Number ShowSystemMsg(Module& m, int nMsg);

}  // namespace qv
