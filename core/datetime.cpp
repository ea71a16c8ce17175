// SPDX-License-Identifier: Apache-2.0
// DateTime parts: the calendar arithmetic behind FromParts and Split.
//
// Days are counted with the days-from-civil / civil-from-days algorithms of
// the proleptic Gregorian calendar in its 400-year eras (integer arithmetic
// only, correct for any day count, before or after the epoch).
#include "core/values.h"

namespace qv {
namespace {

constexpr int64_t kMicrosPerSecond = 1'000'000;
constexpr int64_t kMicrosPerDay = 86'400 * kMicrosPerSecond;

// Days from 1970-01-01 to the given civil date (month 1..12).
constexpr int64_t DaysFromCivil(int64_t nYear, int64_t nMonth, int64_t nDay) {
  nYear -= nMonth <= 2 ? 1 : 0;
  const int64_t nEra = (nYear >= 0 ? nYear : nYear - 399) / 400;
  const int64_t nYearOfEra = nYear - nEra * 400;                                                // [0, 399]
  const int64_t nDayOfYear = (153 * (nMonth + (nMonth > 2 ? -3 : 9)) + 2) / 5 + nDay - 1;       // [0, 365]
  const int64_t nDayOfEra = nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;  // [0, 146096]
  return nEra * 146097 + nDayOfEra - 719468;
}

struct Civil {
  int64_t nYear;
  int nMonth, nDay;
};

// The civil date of a day count from 1970-01-01.
constexpr Civil CivilFromDays(int64_t nDays) {
  nDays += 719468;
  const int64_t nEra = (nDays >= 0 ? nDays : nDays - 146096) / 146097;
  const int64_t nDayOfEra = nDays - nEra * 146097;  // [0, 146096]
  const int64_t nYearOfEra = (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
  const int64_t nDayOfYear = nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);  // [0, 365]
  const int64_t nMonthIndex = (5 * nDayOfYear + 2) / 153;  // [0, 11], March first
  const int nDay = static_cast<int>(nDayOfYear - (153 * nMonthIndex + 2) / 5 + 1);
  const int nMonth = static_cast<int>(nMonthIndex < 10 ? nMonthIndex + 3 : nMonthIndex - 9);
  return {nYearOfEra + nEra * 400 + (nMonth <= 2 ? 1 : 0), nMonth, nDay};
}

// The epoch of DateTime, 0001-01-01, as a day count from 1970-01-01.
constexpr int64_t kEpochDays = DaysFromCivil(1, 1, 1);
static_assert(kEpochDays == -719162);
static_assert(CivilFromDays(kEpochDays).nYear == 1 && CivilFromDays(kEpochDays).nDay == 1);

constexpr bool IsLeapYear(int nYear) { return nYear % 4 == 0 && (nYear % 100 != 0 || nYear % 400 == 0); }

constexpr int DaysInMonth(int nYear, int nMonth) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return nMonth == 2 && IsLeapYear(nYear) ? 29 : kDays[nMonth - 1];
}

}  // namespace

DateTime DateTime::FromParts(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond, int nMicro) {
  if (nYear < 1 || nYear > 9999 || nMonth < 1 || nMonth > 12) return {};
  if (nDay < 1 || nDay > DaysInMonth(nYear, nMonth)) return {};
  if (nHour < 0 || nHour > 23 || nMinute < 0 || nMinute > 59 || nSecond < 0 || nSecond > 59) return {};
  if (nMicro < 0 || nMicro > 999'999) return {};
  const int64_t nDays = DaysFromCivil(nYear, nMonth, nDay) - kEpochDays;
  const int64_t nSeconds = (int64_t{nHour} * 60 + nMinute) * 60 + nSecond;
  return FromMicros(nDays * kMicrosPerDay + nSeconds * kMicrosPerSecond + nMicro);
}

DateTime::Parts DateTime::Split() const {
  if (bNull_) return {0, 0, 0, 0, 0, 0, 0, 0};
  // Floor division, so that a value before the epoch splits into an earlier
  // day and a non-negative time of day (no overflow even at the int64 ends).
  int64_t nDays = nMicros_ / kMicrosPerDay;
  int64_t nTimeOfDay = nMicros_ % kMicrosPerDay;
  if (nTimeOfDay < 0) {
    nTimeOfDay += kMicrosPerDay;
    --nDays;
  }
  const Civil civil = CivilFromDays(nDays + kEpochDays);
  const int64_t nSeconds = nTimeOfDay / kMicrosPerSecond;
  // 0001-01-01 was a Monday.
  const int64_t nWeekday = (nDays % 7 + 7 + 1) % 7;
  Parts parts{};
  parts.nYear = static_cast<int>(civil.nYear);
  parts.nMonth = civil.nMonth;
  parts.nDay = civil.nDay;
  parts.nHour = static_cast<int>(nSeconds / 3600);
  parts.nMinute = static_cast<int>(nSeconds / 60 % 60);
  parts.nSecond = static_cast<int>(nSeconds % 60);
  parts.nMicro = static_cast<int>(nTimeOfDay % kMicrosPerSecond);
  parts.nWeekday = static_cast<int>(nWeekday);
  return parts;
}

}  // namespace qv
