#include "source/text_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "source/text_utils.h"
#include "support/printers.h"

namespace qv {
namespace {

// Every answer of the index equals the plain function's over the same text,
// at every position from before the start to past the end.
void ExpectSameAnswers(const std::string& sText, std::string_view sKey) {
  const KeyPositions oKey(sText, sKey);
  const CommentIndex oComments(sText);
  const auto nLength = static_cast<int64_t>(sText.size());
  for (int64_t n = -3; n <= nLength + 3; ++n) {
    ASSERT_EQ(Number(oKey.ScanAt(n)), StrScanAt(sText, sKey, Number(n))) << sText << " / " << sKey << " @" << n;
    ASSERT_EQ(Number(oKey.ScanNext(n)), StrScanNext(sText, sKey, Number(n))) << sText << " / " << sKey << " @" << n;
    ASSERT_EQ(Number(oComments.InComment(oKey, n)), StrInComment(sText, sKey, Number(n)))
        << sText << " / " << sKey << " @" << n;
    // The parser skips only keys of several bytes: with one byte, the plain
    // walk can stand still on the last occurrence.
    if (sKey.size() < 2) continue;
    Number nSkipped(n);
    while (StrInComment(sText, sKey, nSkipped) == Number(1)) nSkipped = StrScanNext(sText, sKey, nSkipped);
    ASSERT_EQ(Number(oComments.SkipCommented(oKey, n)), nSkipped) << sText << " / " << sKey << " @" << n;
  }
}

TEST(ParserTextIndex, AnswersLikeThePlainFunctionsOnRandomTexts) {
  std::mt19937 rng(20240611);
  constexpr std::string_view kAlphabet = "/**/ab;a";
  const std::string_view aKeys[] = {"a", "ab", "aa", "aba", "/*", "*/", "/**", "**", "b;a", "class"};
  for (int nRound = 0; nRound < 400; ++nRound) {
    std::string sText;
    const int nLength = static_cast<int>(rng() % 40);
    for (int i = 0; i < nLength; ++i) sText += kAlphabet[rng() % kAlphabet.size()];
    for (int nWords = static_cast<int>(rng() % 8); nWords > 4; --nWords) {
      sText.insert(rng() % (sText.size() + 1), "class");
    }
    for (std::string_view sKey : aKeys) ExpectSameAnswers(sText, sKey);
    // A prefix, as the preamble is of the file text.
    ExpectSameAnswers(sText.substr(0, rng() % (sText.size() + 1)), "a");
  }
}

TEST(ParserTextIndex, AnswersQuestionsInAnyOrder) {
  // The index starts each search from its last answer: questions that jump
  // back, repeat, or leap far ahead must be answered as plainly.
  std::mt19937 rng(77);
  std::string sText;
  for (int i = 0; i < 3000; ++i) sText += "ab/*"[rng() % 4];
  const KeyPositions oKey(sText, "a");
  const CommentIndex oComments(sText);
  // Far leaps first, then back into what they leapt over.
  for (const int64_t n : {0, 2900, 1500, 1023, 1024, 2899, 10}) {
    ASSERT_EQ(Number(oKey.ScanAt(n)), StrScanAt(sText, "a", Number(n))) << n;
  }
  for (int i = 0; i < 5000; ++i) {
    const int64_t n = rng() % 8 == 0 ? static_cast<int64_t>(rng() % 3010) - 5 : (i * 7) % 3005;
    ASSERT_EQ(Number(oKey.ScanAt(n)), StrScanAt(sText, "a", Number(n))) << n;
    ASSERT_EQ(Number(oComments.InComment(oKey, n)), StrInComment(sText, "a", Number(n))) << n;
  }
  // The last occurrence before a place, across a leap's gap.
  const KeyPositions oLeaping(sText, "a");
  for (const int64_t n : {0, 2990, 1500, 2990, 3000}) {
    const size_t nLast = std::string_view(sText).substr(0, static_cast<size_t>(n)).rfind('a');
    ASSERT_EQ(oLeaping.LastBefore(n), nLast == std::string_view::npos ? -1 : static_cast<int64_t>(nLast)) << n;
  }
}

TEST(ParserTextIndex, OverlappingOccurrencesAndPrefixEnds) {
  ExpectSameAnswers("aaaa", "aa");
  ExpectSameAnswers("/*/*/", "*/");
  // The walk over a comment skips overlapping occurrences ("aaa" at 5).
  ExpectSameAnswers("/*bbaaaa*/ /*", "aaa");
  const KeyPositions oKey("aaaa", "aa");
  EXPECT_EQ(oKey.FirstFrom(1), 1);
  EXPECT_EQ(oKey.FirstFrom(3), -1);
  EXPECT_EQ(oKey.FirstFrom(-1), -1);

  // A "/*" straddling the end of a prefix is not in the prefix: the text
  // says "inside a comment", its prefix does not.
  const std::string sText = "k */ /*";
  const std::string_view sPrefix = std::string_view(sText).substr(0, 6);
  EXPECT_EQ(CommentIndex(sText).InComment(KeyPositions(sText, "k"), 0), 1);
  EXPECT_EQ(CommentIndex(sPrefix).InComment(KeyPositions(sPrefix, "k"), 0), 0);
  EXPECT_EQ(StrInComment(sPrefix, "k", 0), Number(0));
}

}  // namespace
}  // namespace qv
