// SPDX-License-Identifier: Apache-2.0
#include "core/convert.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace qv {
namespace {

constexpr int64_t kDay = 86'400'000'000;

TEST(DateTimeParts, KnownInstantsAndWeekdays) {
  EXPECT_EQ(DateTime::FromParts(1, 1, 1).Micros(), 0);
  EXPECT_EQ(DateTime::FromParts(1970, 1, 1).Micros(), 719'162 * kDay);
  EXPECT_EQ(DateTime::FromParts(2026, 12, 7, 17, 5, 9, 1).Micros(), 63'932'259'909'000'001);
  EXPECT_EQ(DateTime::FromParts(1, 1, 1).Split().nWeekday, 1);  // Monday
  EXPECT_EQ(DateTime::FromParts(2000, 2, 29).Split().nWeekday, 2);
  EXPECT_EQ(DateTime::FromParts(9999, 12, 31).Split().nWeekday, 5);

  const DateTime::Parts parts = DateTime::FromParts(9999, 12, 31, 23, 59, 59, 999'999).Split();
  EXPECT_EQ(parts.nYear, 9999);
  EXPECT_EQ(parts.nMonth, 12);
  EXPECT_EQ(parts.nDay, 31);
  EXPECT_EQ(parts.nHour, 23);
  EXPECT_EQ(parts.nMinute, 59);
  EXPECT_EQ(parts.nSecond, 59);
  EXPECT_EQ(parts.nMicro, 999'999);
  EXPECT_EQ(DateTime().Split().nYear, 0);
  // Just before the epoch: the previous day, not a negative time of day.
  const DateTime::Parts before = DateTime::FromMicros(-1).Split();
  EXPECT_EQ(before.nDay, 31);
  EXPECT_EQ(before.nHour, 23);
  EXPECT_EQ(before.nMicro, 999'999);
}

TEST(DateTimeParts, EveryDayFollowsThePreviousOne) {
  DateTime::Parts prev = DateTime::FromMicros(0).Split();
  const int64_t nLastDay = DateTime::FromParts(9999, 12, 31).Micros() / kDay;
  for (int64_t nDay = 1; nDay <= nLastDay; ++nDay) {
    const DateTime::Parts cur = DateTime::FromMicros(nDay * kDay + 3'723'000'004).Split();
    const bool bNextInMonth = cur.nYear == prev.nYear && cur.nMonth == prev.nMonth && cur.nDay == prev.nDay + 1;
    const bool bNextMonth = cur.nDay == 1 && ((cur.nYear == prev.nYear && cur.nMonth == prev.nMonth + 1) ||
                                              (cur.nYear == prev.nYear + 1 && cur.nMonth == 1 && prev.nMonth == 12));
    ASSERT_TRUE(bNextInMonth || bNextMonth) << cur.nYear << "-" << cur.nMonth << "-" << cur.nDay;
    ASSERT_EQ(cur.nWeekday, (prev.nWeekday + 1) % 7);
    ASSERT_EQ(cur.nHour * 3600 + cur.nMinute * 60 + cur.nSecond, 3723);
    ASSERT_EQ(DateTime::FromParts(cur.nYear, cur.nMonth, cur.nDay, 1, 2, 3, 4).Micros(), nDay * kDay + 3'723'000'004);
    prev = cur;
  }
}

TEST(DateTimeParts, OutOfRangePartsGiveNull) {
  EXPECT_FALSE(DateTime::FromParts(2024, 2, 29).IsNull());
  EXPECT_FALSE(DateTime::FromParts(2000, 2, 29).IsNull());
  EXPECT_TRUE(DateTime::FromParts(2023, 2, 29).IsNull());
  EXPECT_TRUE(DateTime::FromParts(1900, 2, 29).IsNull());
  EXPECT_TRUE(DateTime::FromParts(2024, 4, 31).IsNull());
  EXPECT_TRUE(DateTime::FromParts(0, 1, 1).IsNull());
  EXPECT_TRUE(DateTime::FromParts(10000, 1, 1).IsNull());
  EXPECT_TRUE(DateTime::FromParts(2024, 13, 1).IsNull());
  EXPECT_TRUE(DateTime::FromParts(2024, 1, 0).IsNull());
  EXPECT_TRUE(DateTime::FromParts(2024, 1, 1, 24).IsNull());
  EXPECT_TRUE(DateTime::FromParts(2024, 1, 1, 0, 60).IsNull());
  EXPECT_TRUE(DateTime::FromParts(2024, 1, 1, 0, 0, -1).IsNull());
  EXPECT_TRUE(DateTime::FromParts(2024, 1, 1, 0, 0, 0, 1'000'000).IsNull());
}

TEST(DateTimeText, RoundTripsExactly) {
  EXPECT_EQ(RtDateTimeToStr(DateTime::FromParts(2026, 12, 7, 17, 5, 9, 123)), "2026-12-07-17.05.09.000123");
  EXPECT_EQ(RtDateTimeToStr(DateTime()), "");
  EXPECT_EQ(RtDateTimeToStr(DateTime::FromMicros(-1)), "");  // before year 1: no text form
  const DateTime aValues[] = {DateTime::FromParts(1, 1, 1), DateTime::FromParts(2000, 2, 29, 12, 0, 0, 1),
                              DateTime::FromParts(2024, 2, 29, 23, 59, 59, 999'999),
                              DateTime::FromParts(9999, 12, 31, 23, 59, 59, 999'999)};
  for (DateTime dt : aValues) EXPECT_EQ(RtStrToDateTime(RtDateTimeToStr(dt)), dt) << RtDateTimeToStr(dt);
  const int64_t nMax = DateTime::FromParts(9999, 12, 31, 23, 59, 59, 999'999).Micros();
  uint64_t nSeed = 12345;
  for (int i = 0; i < 20'000; ++i) {
    nSeed = nSeed * 6364136223846793005ULL + 1442695040888963407ULL;
    const DateTime dt = DateTime::FromMicros(static_cast<int64_t>((nSeed >> 1) % static_cast<uint64_t>(nMax + 1)));
    ASSERT_EQ(RtStrToDateTime(RtDateTimeToStr(dt)), dt) << RtDateTimeToStr(dt);
  }
}

TEST(DateTimeText, ReadsOtherFormsAndRejectsJunk) {
  EXPECT_EQ(RtStrToDateTime("2026-12-07"), DateTime::FromParts(2026, 12, 7));
  EXPECT_EQ(RtStrToDateTime(" 2026-12-07 17:05 "), DateTime::FromParts(2026, 12, 7, 17, 5));
  EXPECT_EQ(RtStrToDateTime("2026-12-07 17:05:09.5"), DateTime::FromParts(2026, 12, 7, 17, 5, 9, 500'000));
  EXPECT_EQ(RtStrToDateTime("2026-12-07-17.05"), DateTime::FromParts(2026, 12, 7, 17, 5));
  EXPECT_EQ(RtStrToDateTime("2026-12-07-17.05.09"), DateTime::FromParts(2026, 12, 7, 17, 5, 9));
  for (const char* s : {"", "garbage", "2026-13-01", "2026-02-30", "2026-12-07-17.05.09.000123x", "2026-1-07",
                        "2026-12-07 17.05", "2026-12-07-24.00", "2026-12-07 17:05:09.", "2026-12-07 17:05:09.1234567",
                        "2026-12-07T17:05", "2026-12-07-17.05.9"}) {
    EXPECT_TRUE(RtStrToDateTime(s).IsNull()) << s;
  }
}

TEST(DateTimeFormat, Pictures) {
  const DateTime dt = DateTime::FromParts(2026, 12, 7, 17, 5, 9, 123'456);
  EXPECT_EQ(RtFormatDateTime(dt, "M/d/yy hh:mm:ss AMPM"), "12/7/26 05:05:09 PM");
  EXPECT_EQ(RtFormatDateTime(dt, "hh:mm h:m"), "17:05 17:5");
  EXPECT_EQ(RtFormatDateTime(dt, "dddd, MMMM d, yyyy"), "Monday, December 7, 2026");
  EXPECT_EQ(RtFormatDateTime(dt, "ddd MMM dd MM"), "Mon Dec 07 12");
  EXPECT_EQ(RtFormatDateTime(dt, "s.fff|ffffff|f"), "9.123|123456|1");
  EXPECT_EQ(RtFormatDateTime(DateTime::FromParts(2026, 3, 1, 0, 30), "h:mm AMPM"), "12:30 AM");
  EXPECT_EQ(RtFormatDateTime(DateTime::FromParts(2026, 3, 1, 12, 0), "h AMPM"), "12 PM");
  EXPECT_EQ(RtFormatDateTime(DateTime::FromParts(5, 9, 3, 9), "yyyy yy h [x]"), "0005 05 9 [x]");
  EXPECT_EQ(RtFormatDateTime(DateTime(), "yyyy"), "");
}

TEST(NumberText, FixedDecimals) {
  struct Case {
    double d;
    int nDecimals;
    const char* sExpected;
  };
  const Case aCases[] = {{2.5, 0, "3"},
                         {-2.5, 0, "-3"},
                         {0.5, 0, "1"},
                         {1.005, 2, "1.01"},
                         {0.125, 2, "0.13"},
                         {-0.001, 2, "0.00"},
                         {-0.4, 0, "0"},
                         {-0.0, 0, "0"},
                         {0.0, 2, "0.00"},
                         {9.995, 2, "10.00"},
                         {99.5, 0, "100"},
                         {0.005, 2, "0.01"},
                         {0.0005, 2, "0.00"},
                         {1234.5, 3, "1234.500"},
                         {-7.25, 1, "-7.3"},
                         {1e20, 0, "100000000000000000000"},
                         {4294967295.0, 0, "4294967295"},
                         {2147483648.0, 0, "2147483648"},
                         {0.1 + 0.2, 15, "0.300000000000000"},
                         {12.0, 20, "12.000000000000000"}};
  for (const Case& c : aCases) EXPECT_EQ(RtNumberToStr(c.d, c.nDecimals), c.sExpected) << c.d << " " << c.nDecimals;
  EXPECT_EQ(RtNumberToStr(Number::Null(), 2), "");
  String s = "old";
  EXPECT_EQ(RtFormatNumber(Number(-12.345), 2, s), 6);
  EXPECT_EQ(s, "-12.35");
}

TEST(NumberText, ShortestForm) {
  EXPECT_EQ(RtNumberToStr(0.1, -1), "0.1");
  EXPECT_EQ(RtNumberToStr(-2.5, -1), "-2.5");
  EXPECT_EQ(RtNumberToStr(1e-7, -1), "0.0000001");
  EXPECT_EQ(RtNumberToStr(123456789012.0, -1), "123456789012");
  EXPECT_EQ(RtNumberToStr(0.1 + 0.2, -1), "0.30000000000000004");
  EXPECT_EQ(RtNumberToStr(1e21, -1), "1e+21");
  EXPECT_EQ(RtNumberToStr(-0.0, -1), "0");
  for (double d : {0.1 + 0.2, 1e-300, 123.456, -98765.4321, 4294967295.0, 1e21, DBL_MAX}) {
    EXPECT_EQ(RtStrToNumber(RtNumberToStr(d, -1)), Number(d)) << d;
  }
}

TEST(NumberText, ReadsLeadingNumber) {
  EXPECT_EQ(RtStrToNumber("  12.5"), Number(12.5));
  EXPECT_EQ(RtStrToNumber("-3"), Number(-3));
  EXPECT_EQ(RtStrToNumber("+4"), Number(4));
  EXPECT_EQ(RtStrToNumber("12abc"), Number(12));
  EXPECT_EQ(RtStrToNumber("-.5e1"), Number(-5));
  EXPECT_EQ(RtStrToNumber("1e3x"), Number(1000));
  EXPECT_EQ(RtStrToNumber("1e"), Number(1));
  EXPECT_EQ(RtStrToNumber("4294967295"), Number(4294967295.0));
  EXPECT_EQ(RtStrToNumber("1e-999"), Number(0));
  EXPECT_EQ(RtStrToNumber("1e999"), Number(DBL_MAX));
  EXPECT_EQ(RtStrToNumber("-0.000001e999"), Number(-DBL_MAX));
  for (const char* s : {"", "abc", ".", "-", "+-5", "inf", "nan", " . 5"}) {
    const Number n = RtStrToNumber(s);
    EXPECT_FALSE(n.IsNull()) << s;
    EXPECT_EQ(n, Number(0)) << s;
  }
}

TEST(NumberText, IntegersAndWords) {
  EXPECT_EQ(RtIntToNumber(-2147483648LL), Number(-2147483648.0));
  EXPECT_EQ(RtWordToNumber(65537), Number(1));
  EXPECT_EQ(RtWordToNumber(-1), Number(65535));
  EXPECT_EQ(RtWordToNumber(1), Number(1));
  EXPECT_EQ(RtWordToNumber(0), Number(0));
}

}  // namespace
}  // namespace qv
