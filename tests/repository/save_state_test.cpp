// SPDX-License-Identifier: Apache-2.0
#include "repository/save_state.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

SaveState Sample() {
  SaveState state;
  state.sSettings = "\x1F\n\x1E\n%\t";
  state.classList = {100, 1'700'000'000'123'456'789, 42, 7};
  state.aSources.push_back({"C:\\a b\\%20\tX.java",
                            {10, 5, 6, 7},
                            SourceState::kParsed,
                            JavaKind::kRecord,
                            0,
                            0xFEDCBA9876543210ULL,
                            {3, 4, 5, 6},
                            "p.q"});
  state.aSources.push_back({"\\e\\E.java", {0, 1, 2, 3}, SourceState::kEmpty, JavaKind::kNone, -1, 0, {}, ""});
  state.aSources.push_back(
      {"\\e\\F.java", {9, 1, 2, 3}, SourceState::kParsed, JavaKind::kEnum, 1, 1, {1, 1, 1, 1}, ""});
  return state;
}

// What it wrote reads back the same; a state that is cut short, changed
// anywhere, or numbers its lines out of order is no state.
TEST(SaveState, ReadsBackWhatItWroteAndNothingDamaged) {
  const std::string sText = FormatSaveState(Sample());
  SaveState read;
  ASSERT_TRUE(ParseSaveState(sText, read));
  EXPECT_EQ(read, Sample());

  EXPECT_FALSE(ParseSaveState(sText.substr(0, sText.size() - 1), read));
  EXPECT_FALSE(ParseSaveState(sText.substr(0, sText.rfind("source")) + sText.substr(sText.rfind("end")), read));
  for (size_t k = 0; k < sText.size(); k += 7) {
    std::string sChanged = sText;
    sChanged[k] = static_cast<char>(sChanged[k] ^ 0x04);
    EXPECT_FALSE(ParseSaveState(sChanged, read)) << k;
  }
  SaveState gap = Sample();
  gap.aSources[2].nLine = 2;  // lines 0 and 2: the class list has no line 1 for it
  EXPECT_FALSE(ParseSaveState(FormatSaveState(gap), read));
}

}  // namespace
}  // namespace qv
