// SPDX-License-Identifier: Apache-2.0
// Conversions between Numbers, Date/Times and text.
//
// Number to text works on decimal digits, not on the binary value: the value
// is first written in its shortest form that reads back as the same double
// (std::to_chars), and that decimal string is rounded.  So 1.005 with two
// decimals gives "1.01", the way the number was written, although the double
// nearest to 1.005 lies slightly below it.
#include "core/convert.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>

#include "core/rt_string.h"

namespace qv {
namespace {

// ---------------------------------------------------------------- numbers --

constexpr int kMaxDecimals = 15;

// A non-negative finite value as decimal digits without leading zeros (or
// "0") and the power of ten of the first digit: value = 0.D * 10^(nPoint),
// i.e. nPoint digits stand before the decimal point.
struct Decimal {
  String sDigits;
  int nPoint = 0;
};

Decimal ShortestDecimal(double d) {
  std::array<char, 64> aBuf{};
  const auto result = std::to_chars(aBuf.data(), aBuf.data() + aBuf.size(), d, std::chars_format::scientific);
  const std::string_view sText(aBuf.data(), static_cast<size_t>(result.ptr - aBuf.data()));
  // "d[.ddd]e[+-]xx"
  const size_t nE = sText.find('e');
  Decimal dec;
  for (char c : sText.substr(0, nE)) {
    if (c != '.') dec.sDigits.push_back(c);
  }
  int nExponent = 0;
  std::string_view sExp = sText.substr(nE + 1);
  if (!sExp.empty() && sExp.front() == '+') sExp.remove_prefix(1);
  std::from_chars(sExp.data(), sExp.data() + sExp.size(), nExponent);
  dec.nPoint = nExponent + 1;
  return dec;
}

// Plain digits of dec, with every digit it has (no rounding).
void AppendPlain(const Decimal& dec, String& sOut) {
  const int nDigits = static_cast<int>(dec.sDigits.size());
  if (dec.nPoint <= 0) {
    sOut += "0.";
    sOut.append(static_cast<size_t>(-dec.nPoint), '0');
    sOut += dec.sDigits;
  } else if (dec.nPoint >= nDigits) {
    sOut += dec.sDigits;
    sOut.append(static_cast<size_t>(dec.nPoint - nDigits), '0');
  } else {
    sOut.append(dec.sDigits, 0, static_cast<size_t>(dec.nPoint));
    sOut += '.';
    sOut.append(dec.sDigits, static_cast<size_t>(dec.nPoint), String::npos);
  }
}

// dec rounded half away from zero to nDecimals decimals, written with
// exactly that many decimals.  Returns false when the result is zero.
bool AppendFixed(const Decimal& dec, int nDecimals, String& sOut) {
  // All digits down to the last kept decimal, integer part included; one
  // leading '0' leaves room for a carry out of the first digit.
  const int nKeep = dec.nPoint + nDecimals;  // digits of sDigits that are kept
  String sDigits = "0";
  if (nKeep > 0) {
    const auto nTake = static_cast<size_t>(std::min<int>(nKeep, static_cast<int>(dec.sDigits.size())));
    sDigits.append(dec.sDigits, 0, nTake);
    sDigits.append(static_cast<size_t>(nKeep) - nTake, '0');
  }
  // The first dropped digit decides; any digits after it only make the
  // dropped part larger, so ">= 5" is exactly "half or more".
  bool bRoundUp = false;
  if (nKeep >= 0 && nKeep < static_cast<int>(dec.sDigits.size()))
    bRoundUp = dec.sDigits[static_cast<size_t>(nKeep)] >= '5';
  if (bRoundUp) {
    size_t i = sDigits.size();
    while (i-- > 0) {
      if (sDigits[i] == '9') {
        sDigits[i] = '0';
      } else {
        ++sDigits[i];
        break;
      }
    }
  }
  // sDigits now holds the integer part and the nDecimals decimals; pad the
  // integer part to at least one digit.
  const auto nFraction = static_cast<size_t>(nDecimals);
  if (sDigits.size() < nFraction + 1) sDigits.insert(0, nFraction + 1 - sDigits.size(), '0');
  const size_t nFirst = std::min(sDigits.find_first_not_of('0'), sDigits.size() - nFraction - 1);
  const bool bNonZero = sDigits.find_first_not_of('0') != String::npos;
  sOut.append(sDigits, nFirst, sDigits.size() - nFraction - nFirst);
  if (nFraction > 0) {
    sOut += '.';
    sOut.append(sDigits, sDigits.size() - nFraction, nFraction);
  }
  return bNonZero;
}

String NumberText(Number n, int nDecimals) {
  if (n.IsNull()) return {};
  const double d = n.Value();
  // The library never produces a NaN or an infinity; should one arrive, it
  // has no decimal form and reads as no value.
  if (!std::isfinite(d)) return {};
  const double dAbs = std::fabs(d);
  String s;
  if (d < 0) s += '-';
  if (nDecimals < 0) {
    if (dAbs == 0.0) return "0";
    if (dAbs >= 1e21) {
      std::array<char, 64> aBuf{};
      const auto result = std::to_chars(aBuf.data(), aBuf.data() + aBuf.size(), dAbs, std::chars_format::scientific);
      s.append(aBuf.data(), result.ptr);
      return s;
    }
    AppendPlain(ShortestDecimal(dAbs), s);
    return s;
  }
  if (!AppendFixed(ShortestDecimal(dAbs), std::min(nDecimals, kMaxDecimals), s) && !s.empty() && s[0] == '-') {
    s.erase(0, 1);  // no "-0"
  }
  return s;
}

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of a decimal number whose text from_chars reports out of range:
// the largest finite value when its magnitude is too large, 0 when too small.
double OutOfRange(std::string_view sNumber) {
  int nPower = 0;  // power of ten of the first significant digit, + 1
  bool bSeen = false, bPoint = false;
  size_t i = 0;
  for (; i < sNumber.size() && (IsDigit(sNumber[i]) || sNumber[i] == '.'); ++i) {
    const char c = sNumber[i];
    if (c == '.') {
      bPoint = true;
    } else if (bSeen) {
      if (!bPoint) ++nPower;
    } else if (c != '0') {
      bSeen = true;
      if (!bPoint) nPower = 1;
    } else if (bPoint) {
      --nPower;
    }
  }
  int64_t nExponent = 0;
  if (i < sNumber.size()) {
    std::string_view sExp = sNumber.substr(i + 1);
    const bool bNegative = !sExp.empty() && sExp.front() == '-';
    if (!sExp.empty() && (sExp.front() == '-' || sExp.front() == '+')) sExp.remove_prefix(1);
    for (char c : sExp) {
      if (!IsDigit(c)) break;
      if (nExponent < 100'000'000) nExponent = nExponent * 10 + (c - '0');
    }
    if (bNegative) nExponent = -nExponent;
  }
  return bSeen && nPower + nExponent > 0 ? DBL_MAX : 0.0;
}

// -------------------------------------------------------------- date/time --

constexpr std::array<std::string_view, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                          "May",       "June",     "July",     "August",
                                                          "September", "October",  "November", "December"};
constexpr std::array<std::string_view, 7> kWeekdayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                           "Thursday", "Friday", "Saturday"};

// Appends n as at least nWidth digits (n >= 0).
void AppendNumber(String& sOut, int64_t n, int nWidth) {
  std::array<char, 24> aBuf{};
  const auto result = std::to_chars(aBuf.data(), aBuf.data() + aBuf.size(), n);
  const auto nLength = static_cast<int>(result.ptr - aBuf.data());
  if (nLength < nWidth) sOut.append(static_cast<size_t>(nWidth - nLength), '0');
  sOut.append(aBuf.data(), result.ptr);
}

// The parts of a Date/Time that has a text form: not null and within the
// years 1 to 9999 (a value built from raw microseconds may lie outside).
bool TextParts(DateTime dt, DateTime::Parts& parts) {
  if (dt.IsNull()) return false;
  parts = dt.Split();
  return parts.nYear >= 1 && parts.nYear <= 9999;
}

// A cursor over the text of a Date/Time being read.
class DateReader {
 public:
  explicit DateReader(std::string_view sText) : sText_(sText) {}

  bool AtEnd() const { return nPos_ == sText_.size(); }
  // Reads exactly nCount digits.
  bool Digits(int nCount, int& nValue) {
    nValue = 0;
    for (int i = 0; i < nCount; ++i, ++nPos_) {
      if (nPos_ >= sText_.size() || !IsDigit(sText_[nPos_])) return false;
      nValue = nValue * 10 + (sText_[nPos_] - '0');
    }
    return true;
  }
  bool Char(char c) {
    if (nPos_ >= sText_.size() || sText_[nPos_] != c) return false;
    ++nPos_;
    return true;
  }
  // 1 to 6 digits of a fraction of a second, as microseconds.
  bool Fraction(int& nMicro) {
    nMicro = 0;
    int nCount = 0;
    while (nPos_ < sText_.size() && IsDigit(sText_[nPos_])) {
      if (++nCount > 6) return false;
      nMicro = nMicro * 10 + (sText_[nPos_++] - '0');
    }
    if (nCount == 0) return false;
    for (; nCount < 6; ++nCount) nMicro *= 10;
    return true;
  }

 private:
  std::string_view sText_;
  size_t nPos_ = 0;
};

// The number of times the character at sPicture[nPos] repeats, at most nMax.
size_t RunLength(std::string_view sPicture, size_t nPos, size_t nMax) {
  size_t n = 1;
  while (n < nMax && nPos + n < sPicture.size() && sPicture[nPos + n] == sPicture[nPos]) ++n;
  return n;
}

}  // namespace

Number RtStrToNumber(std::string_view sText) {
  size_t i = 0;
  while (i < sText.size() && (sText[i] == ' ' || sText[i] == '\t')) ++i;
  bool bNegative = false;
  if (i < sText.size() && (sText[i] == '+' || sText[i] == '-')) bNegative = sText[i++] == '-';
  const std::string_view sNumber = sText.substr(i);
  // A number starts with a digit or with a point and a digit; this also keeps
  // from_chars away from "inf" and "nan".
  const bool bStart = !sNumber.empty() &&
                      (IsDigit(sNumber[0]) || (sNumber[0] == '.' && sNumber.size() > 1 && IsDigit(sNumber[1])));
  if (!bStart) return Number(0);
  double d = 0.0;
  const auto result = std::from_chars(sNumber.data(), sNumber.data() + sNumber.size(), d, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    d = OutOfRange(sNumber.substr(0, static_cast<size_t>(result.ptr - sNumber.data())));
  } else if (result.ec != std::errc()) {
    return Number(0);
  }
  if (d == 0.0) return Number(0);  // never a negative zero
  return Number(bNegative ? -d : d);
}

String RtNumberToStr(Number n, int nDecimals) { return NumberText(n, nDecimals); }

int64_t RtFormatNumber(Number n, int nDecimals, String& sOut) {
  sOut = NumberText(n, nDecimals);
  return static_cast<int64_t>(sOut.size());
}

Number RtIntToNumber(int64_t n) { return Number(n); }

Number RtWordToNumber(int64_t n) { return Number(static_cast<int64_t>(static_cast<uint16_t>(n))); }

String RtDateTimeToStr(DateTime dt) {
  DateTime::Parts parts{};
  if (!TextParts(dt, parts)) return {};
  String s;
  s.reserve(26);
  AppendNumber(s, parts.nYear, 4);
  s += '-';
  AppendNumber(s, parts.nMonth, 2);
  s += '-';
  AppendNumber(s, parts.nDay, 2);
  s += '-';
  AppendNumber(s, parts.nHour, 2);
  s += '.';
  AppendNumber(s, parts.nMinute, 2);
  s += '.';
  AppendNumber(s, parts.nSecond, 2);
  s += '.';
  AppendNumber(s, parts.nMicro, 6);
  return s;
}

DateTime RtStrToDateTime(std::string_view sText) {
  DateReader reader(RtStrTrimView(sText));
  int nYear = 0, nMonth = 0, nDay = 0, nHour = 0, nMinute = 0, nSecond = 0, nMicro = 0;
  if (!reader.Digits(4, nYear) || !reader.Char('-') || !reader.Digits(2, nMonth) || !reader.Char('-') ||
      !reader.Digits(2, nDay)) {
    return {};
  }
  if (!reader.AtEnd()) {
    // The time: "HH:MM[:SS[.f]]" after a blank, or "HH.MM[.SS[.f]]" after a dash.
    char cTime = 0;
    if (reader.Char(' ')) {
      cTime = ':';
    } else if (reader.Char('-')) {
      cTime = '.';
    } else {
      return {};
    }
    if (!reader.Digits(2, nHour) || !reader.Char(cTime) || !reader.Digits(2, nMinute)) return {};
    if (reader.Char(cTime)) {
      if (!reader.Digits(2, nSecond)) return {};
      if (reader.Char('.') && !reader.Fraction(nMicro)) return {};
    }
    if (!reader.AtEnd()) return {};
  }
  return DateTime::FromParts(nYear, nMonth, nDay, nHour, nMinute, nSecond, nMicro);
}

String RtFormatDateTime(DateTime dt, std::string_view sPicture) {
  DateTime::Parts parts{};
  if (!TextParts(dt, parts)) return {};
  constexpr std::string_view kAmPm = "AMPM";
  const bool b12Hour = sPicture.find(kAmPm) != std::string_view::npos;
  int nHour = parts.nHour;
  if (b12Hour) {
    nHour %= 12;
    if (nHour == 0) nHour = 12;
  }
  String s;
  size_t i = 0;
  while (i < sPicture.size()) {
    const char c = sPicture[i];
    if (sPicture.substr(i, kAmPm.size()) == kAmPm) {
      s += parts.nHour < 12 ? "AM" : "PM";
      i += kAmPm.size();
      continue;
    }
    size_t nRun = 1;
    switch (c) {
      case 'y':
        nRun = RunLength(sPicture, i, 4);
        if (nRun == 4) {
          AppendNumber(s, parts.nYear, 4);
        } else if (nRun >= 2) {
          nRun = 2;
          AppendNumber(s, parts.nYear % 100, 2);
        } else {
          s += c;
        }
        break;
      case 'M':
        nRun = RunLength(sPicture, i, 4);
        if (nRun == 4) {
          s += kMonthNames[static_cast<size_t>(parts.nMonth - 1)];
        } else if (nRun == 3) {
          s += kMonthNames[static_cast<size_t>(parts.nMonth - 1)].substr(0, 3);
        } else {
          AppendNumber(s, parts.nMonth, static_cast<int>(nRun));
        }
        break;
      case 'd':
        nRun = RunLength(sPicture, i, 4);
        if (nRun == 4) {
          s += kWeekdayNames[static_cast<size_t>(parts.nWeekday)];
        } else if (nRun == 3) {
          s += kWeekdayNames[static_cast<size_t>(parts.nWeekday)].substr(0, 3);
        } else {
          AppendNumber(s, parts.nDay, static_cast<int>(nRun));
        }
        break;
      case 'h':
        nRun = RunLength(sPicture, i, 2);
        AppendNumber(s, nHour, static_cast<int>(nRun));
        break;
      case 'm':
        nRun = RunLength(sPicture, i, 2);
        AppendNumber(s, parts.nMinute, static_cast<int>(nRun));
        break;
      case 's':
        nRun = RunLength(sPicture, i, 2);
        AppendNumber(s, parts.nSecond, static_cast<int>(nRun));
        break;
      case 'f': {
        nRun = RunLength(sPicture, i, 6);
        int nFraction = parts.nMicro;
        for (size_t n = nRun; n < 6; ++n) nFraction /= 10;  // truncated, never rounded up into the next second
        AppendNumber(s, nFraction, static_cast<int>(nRun));
        break;
      }
      default:
        s += c;
        break;
    }
    i += nRun;
  }
  return s;
}

}  // namespace qv
