// SPDX-License-Identifier: Apache-2.0
// The save state's reader on any bytes: it never fails hard, and a state
// it accepts is written back to the same bytes and reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "repository/save_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string sText(reinterpret_cast<const char*>(pData), nSize);
  qv::SaveState state;
  if (!qv::ParseSaveState(sText, state)) return 0;
  const std::string sWritten = qv::FormatSaveState(state);
  qv::SaveState again;
  QV_FUZZ_CHECK(qv::ParseSaveState(sWritten, again), "a state it read and wrote back does not read");
  QV_FUZZ_CHECK(again == state, "a state written back reads as another");
  return 0;
}
