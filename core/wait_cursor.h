// SPDX-License-Identifier: Apache-2.0
// The counted wait cursor: the wait-cursor depth is module data, and this is
// the one routine that changes it.  The repository writers bracket their work
// with it, and the host application calls it as a global function.
#pragma once

#include "core/module.h"

namespace qv {

// Counted wait cursor.  Every "on" (bOn TRUE) shows the wait cursor and
// deepens the count; an "off" lessens it and restores the cursor when it
// reaches 0; an "off" at depth 0 does nothing.  Calls nest: the cursor shows
// from the first "on" until the matching last "off".  Result: null.
Number SetWaitCursor(Module& m, bool bOn);

// Shows the counted wait cursor for as long as the object lives: one "on"
// at construction, the matching "off" at destruction.
class WaitCursorScope {
 public:
  explicit WaitCursorScope(Module& m) : m_(m) { SetWaitCursor(m_, true); }
  ~WaitCursorScope() { SetWaitCursor(m_, false); }
  WaitCursorScope(const WaitCursorScope&) = delete;
  WaitCursorScope& operator=(const WaitCursorScope&) = delete;

 private:
  Module& m_;
};

}  // namespace qv
