// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include "support/printers.h"

#include "core/rt_string.h"
#include "core/values.h"

namespace qv {
namespace {

TEST(Number, NullIsDistinctFromZeroAndPropagatesThroughArithmetic) {
  const Number n = Number::Null();
  EXPECT_TRUE(n.IsNull());
  EXPECT_FALSE(Number().IsNull());
  EXPECT_NE(n, Number(0));
  EXPECT_EQ(n, Number::Null());
  EXPECT_TRUE((n + 1).IsNull());
  EXPECT_TRUE((Number(1) - n).IsNull());
  EXPECT_TRUE((n * 0).IsNull());
  EXPECT_TRUE((-n).IsNull());
  EXPECT_TRUE(BitOr(n, 1).IsNull());
  EXPECT_FALSE(n < Number(1));
  EXPECT_FALSE(n >= Number(-1));
  EXPECT_FALSE(n.IsTrue());
  EXPECT_EQ(n.AsInt(), 0);
}

TEST(Number, DivisionByZeroIsNullAndIntegersStayExact) {
  EXPECT_TRUE((Number(1) / 0).IsNull());
  EXPECT_TRUE((Number(1) % 0).IsNull());
  EXPECT_EQ(Number(7) / 2, Number(3.5));
  EXPECT_EQ(Number(2147483647) + 1, Number(int64_t{2147483648}));
  EXPECT_EQ(Number(1e12).AsInt(), 2147483647);  // saturates
  EXPECT_EQ(Number(-2.9).AsInt(), -2);          // truncates toward zero
  EXPECT_EQ(BitOr(Number(0x10000), Number(5)), Number(0x10005));
}

TEST(DynArray, ReadsNeverExtendWritesFillTheGap) {
  DynArray<String> a;
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Get(3), "");
  EXPECT_EQ(a.Count(), 0);
  a.Set(2, "c");
  EXPECT_EQ(a.Count(), 3);
  EXPECT_EQ(a.Get(0), "");
  EXPECT_EQ(a.Get(2), "c");
  a.Set(-1, "lost");
  EXPECT_EQ(a.Count(), 3);
  EXPECT_EQ(a.Get(-1), "");

  Number nLower(9);
  Number nUpper(9);
  EXPECT_EQ(RtArrayBounds(a, nLower, nUpper), 3);
  EXPECT_EQ(nLower, Number(0));
  EXPECT_EQ(nUpper, Number(2));
  EXPECT_TRUE(RtSetArrayBounds(a, -1, -1));
  EXPECT_EQ(RtArrayBounds(a, nLower, nUpper), 0);
  EXPECT_EQ(nUpper, Number(-1));
}

TEST(DynArray, ObjectElementsAreSuppliedOnWrite) {
  struct Record {
    String sName;
    DynArray<String> aItems;
  };
  DynArray<Record> a;
  a.At(4).aItems.Set(1, "x");
  EXPECT_EQ(a.Count(), 5);
  EXPECT_EQ(a.Get(4).aItems.Get(1), "x");
  EXPECT_EQ(a.Get(3).aItems.Count(), 0);
}

TEST(RtString, CutsAndSearchesClippingPositions) {
  EXPECT_EQ(RtStrLeft("abc", 5), "abc");
  EXPECT_EQ(RtStrRight("abc", 2), "bc");
  EXPECT_EQ(RtStrRight("abc", 0), "");
  EXPECT_EQ(RtStrTrim(" \t a  b \r\n"), "a  b");
  EXPECT_EQ(RtStrTrim("   "), "");
  EXPECT_EQ(RtStrUpper("Class1_x"), "CLASS1_X");
  EXPECT_EQ(RtStrScan("abcabc", "ca"), 2);
  EXPECT_EQ(RtStrScan("abc", "C"), -1);  // exact matching
  EXPECT_EQ(RtCharToStr(65), "A");
  String s;
  EXPECT_EQ(RtStrMid("abcdef", -1, 3, s), 0);
  EXPECT_EQ(RtStrMid("abcdef", 3, 10, s), 3);
  EXPECT_EQ(s, "def");
}

TEST(RtString, FindAgreesWithTheStandardSearchEverywhere) {
  // Texts of a few bytes over a small alphabet, so that keys match, half
  // match and overlap; every key length, every start, every text length up
  // to past two 16-byte blocks.
  std::string sText;
  uint32_t nSeed = 7;
  for (int n = 0; n < 600; ++n) {
    nSeed = nSeed * 1103515245U + 12345U;
    sText += "ab*/\n"[(nSeed >> 16) % 5];
  }
  for (const std::string_view sKey : {"a", "ab", "*/", "aba", "b*/a", "abab*", "ba*/\nab*/b", "zz", ""}) {
    for (const size_t nLength : {0UL, 1UL, 2UL, 15UL, 16UL, 17UL, 31UL, 32UL, 33UL, 47UL, 600UL}) {
      const std::string_view sPart(sText.data(), nLength);
      for (size_t nFrom = 0; nFrom <= nLength + 1; ++nFrom) {
        ASSERT_EQ(RtStrFind(sPart, sKey, nFrom), sPart.find(sKey, nFrom))
            << "key " << sKey << ", length " << nLength << ", from " << nFrom;
      }
    }
  }
}

TEST(RtString, TokenizeKeepsEmptyFieldsButNotTheTrailingOne) {
  DynArray<String> a;
  EXPECT_EQ(RtStrTokenize("a;;b;", "", ";", a), 3);
  EXPECT_EQ(a.Get(0), "a");
  EXPECT_EQ(a.Get(1), "");
  EXPECT_EQ(a.Get(2), "b");
  EXPECT_EQ(RtStrTokenize(";x", "", ";", a), 2);
  EXPECT_EQ(a.Get(0), "");
  EXPECT_EQ(a.Get(1), "x");
  EXPECT_EQ(a.Get(2), "b");  // elements above the pieces are kept
  EXPECT_EQ(RtStrTokenize("", "", ";", a), 0);
  EXPECT_EQ(RtStrTokenize("public class A", "", " ", a), 3);
  EXPECT_EQ(a.Get(2), "A");
  EXPECT_EQ(RtStrTokenize("a.b,c", "", ".,", a), 3);
  EXPECT_EQ(a.Get(1), "b");
}

}  // namespace
}  // namespace qv
