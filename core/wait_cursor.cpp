// SPDX-License-Identifier: Apache-2.0
#include "core/wait_cursor.h"

#include "core/runtime.h"

namespace qv {

Number SetWaitCursor(Module& m, bool bOn) {
  Number& nDepth = m.WaitCursorDepth();
  if (bOn) {
    RtWaitCursor(m, true);
    nDepth = nDepth + 1;
  } else if (nDepth > Number(0)) {
    nDepth = nDepth - 1;
    if (nDepth == Number(0)) RtWaitCursor(m, false);
  }
  return Number::Null();
}

}  // namespace qv
