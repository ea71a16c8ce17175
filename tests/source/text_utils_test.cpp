// SPDX-License-Identifier: Apache-2.0
#include "source/text_utils.h"

#include <gtest/gtest.h>

#include "support/printers.h"

#include <random>
#include <string>

namespace qv {
namespace {

TEST(StrScanAt, AnswersRelativeToTheStartPosition) {
  EXPECT_EQ(StrScanAt("abcabc", "abc", 1), Number(2));
  EXPECT_EQ(StrScanAt("abcabc", "abc", 0), Number(0));
  EXPECT_EQ(StrScanAt("abc", "c", 3), Number(-1));
  EXPECT_EQ(StrScanAt("abc", "c", 10), Number(-1));
  EXPECT_EQ(StrScanAt("abc", "c", 2), Number(0));
}

TEST(StrScanNext, WithoutAFurtherOccurrenceEndsOneBeforeTheSkip) {
  EXPECT_EQ(StrScanNext("class A class B", "class", 0), Number(8));
  EXPECT_EQ(StrScanNext("class A", "class", 0), Number(4));
  // The end is detected by a following StrScanAt from the result.
  EXPECT_EQ(StrScanAt("class A", "class", StrScanNext("class A", "class", 0)), Number(-1));
}

TEST(StrInComment, LooksOnlyForward) {
  EXPECT_EQ(StrInComment("/* x class */ y /* z */", "class", 5), Number(1));
  EXPECT_EQ(StrInComment("x class /* y */", "class", 2), Number(0));
  // Inside a comment, but no "/*" follows: not inside.
  EXPECT_EQ(StrInComment("/* x class */", "class", 5), Number(0));
  EXPECT_EQ(StrInComment("/* x class */", "interface", 0), Number(-1));
  EXPECT_EQ(StrInComment("class x", "class", 0), Number(0));  // no "*/" at all
  EXPECT_EQ(StrInComment("// class\nclass", "class", 3), Number(0));
}

TEST(StrCommentType, ClassifiesTheFirstSlash) {
  Number nStart(-5);
  Number nEnd(-5);
  EXPECT_EQ(StrCommentType("a = b / c", nStart, nEnd), Number(0));
  EXPECT_EQ(nStart, Number(6));
  EXPECT_EQ(nEnd, Number(-1));

  EXPECT_EQ(StrCommentType("  // note\n", nStart, nEnd), Number(1));
  EXPECT_EQ(nStart, Number(2));
  EXPECT_EQ(nEnd, Number(7));

  EXPECT_EQ(StrCommentType("/** doc */", nStart, nEnd), Number(3));
  EXPECT_EQ(nStart, Number(0));
  EXPECT_EQ(nEnd, Number(8));

  EXPECT_EQ(StrCommentType("x /* block */ y", nStart, nEnd), Number(2));
  EXPECT_EQ(nStart, Number(2));
  EXPECT_EQ(nEnd, Number(9));  // relative to the slash

  EXPECT_EQ(StrCommentType("/**/", nStart, nEnd), Number(3));  // the empty comment
  EXPECT_EQ(nEnd, Number(2));

  EXPECT_EQ(StrCommentType("// no line feed", nStart, nEnd), Number(1));
  EXPECT_EQ(nEnd, Number(-1));

  EXPECT_EQ(StrCommentType("ends in a slash /", nStart, nEnd), Number(0));
  EXPECT_EQ(nStart, Number(16));
}

TEST(StrCommentType, WithoutASlashLeavesTheReceiveParametersAlone) {
  Number nStart(41);
  Number nEnd(42);
  EXPECT_EQ(StrCommentType("no comment here", nStart, nEnd), Number(0));
  EXPECT_EQ(nStart, Number(41));
  EXPECT_EQ(nEnd, Number(42));
}

TEST(StrMidX, ClipsOutOfRangePositions) {
  EXPECT_EQ(StrMidX("abcdef", 2, 3), "cde");
  EXPECT_EQ(StrMidX("abcdef", 6, 1), "");
  EXPECT_EQ(StrMidX("abcdef", 4, 100), "ef");
  EXPECT_EQ(StrMidX("abcdef", 1, 0), "");
  EXPECT_EQ(StrMidX("abcdef", 1, -3), "");
  EXPECT_EQ(StrMidX("abcdef", 1.9, 2.9), "bc");  // positions are converted to integers
}

TEST(MakeLong, PacksLowAndHighWords) {
  EXPECT_EQ(MakeLong(1, 2), Number(131073));
  EXPECT_EQ(MakeLong(0xFFFF, 0x7FFF), Number(2147483647));
  EXPECT_EQ(MakeLong(0, 0), Number(0));
  EXPECT_TRUE(MakeLong(Number::Null(), 1).IsNull());
}

// The copying formulation: cut the tail, then search it.
int64_t ReferenceScanAt(const std::string& s, const std::string& sKey, int64_t nPos) {
  const std::string sTail = nPos < 0 || nPos >= static_cast<int64_t>(s.size()) ? std::string()
                                                                               : s.substr(static_cast<size_t>(nPos));
  const size_t n = sTail.find(sKey);
  return n == std::string::npos ? -1 : static_cast<int64_t>(n);
}

TEST(TextUtilities, AgreeWithTheCopyingFormulationOnRandomTexts) {
  std::mt19937 rng(12345);
  const std::string kAlphabet = "/*c la s\n";
  const std::string aKeys[] = {"class", "/*", "*/", "s", "", "la"};
  for (int nRound = 0; nRound < 3000; ++nRound) {
    std::string s;
    const int nLength = static_cast<int>(rng() % 40);
    for (int i = 0; i < nLength; ++i) s += kAlphabet[rng() % kAlphabet.size()];
    const std::string& sKey = aKeys[rng() % std::size(aKeys)];
    const int64_t nPos = static_cast<int64_t>(rng() % 45);
    ASSERT_EQ(StrScanAt(s, sKey, Number(nPos)), Number(ReferenceScanAt(s, sKey, nPos))) << s << "|" << sKey;

    const int64_t nSkip = nPos + static_cast<int64_t>(sKey.size());
    ASSERT_EQ(StrScanNext(s, sKey, Number(nPos)), Number(nSkip + ReferenceScanAt(s, sKey, nSkip)));

    int64_t nExpected = -1;
    if (ReferenceScanAt(s, sKey, nPos) != -1) {
      const int64_t nClose = ReferenceScanAt(s, "*/", nPos);
      const int64_t nOpen = ReferenceScanAt(s, "/*", nPos);
      nExpected = nClose == -1 ? 0 : (nClose < nOpen ? 1 : 0);
    }
    ASSERT_EQ(StrInComment(s, sKey, Number(nPos)), Number(nExpected)) << s;
  }
}

}  // namespace
}  // namespace qv
