// SPDX-License-Identifier: Apache-2.0
// Conversions between Numbers, Date/Times and their text forms, as the host
// runtime provides them.  Pure functions: no host, no module state.
#pragma once

#include <string>
#include <string_view>

#include "core/values.h"

namespace qv {

// Text to Number: the longest leading decimal number of the text (after
// leading blanks; sign, digits, one ".", an exponent); 0 when the text does
// not begin with a number.
Number RtStrToNumber(std::string_view sText);
// Number to text with exactly nDecimals decimals (0 to 15), rounded half away
// from zero, no thousands separator; "" for a null Number.  "-0" never
// appears.  A negative nDecimals keeps the shortest exact form.
String RtNumberToStr(Number n, int nDecimals);
// Formats like RtNumberToStr into sOut; returns the length of the text.
int64_t RtFormatNumber(Number n, int nDecimals, String& sOut);
Number RtIntToNumber(int64_t n);
// A 16-bit value (or a Boolean) as a Number: the low 16 bits, unsigned.
Number RtWordToNumber(int64_t n);
// A 32-bit argument as the runtime hands it to a function: the portable
// runtime passes 32-bit values in their final form, so the value is kept.
inline int32_t RtConvertArgument(int32_t n) { return n; }
// A 32-bit parameter that the export wrapper passes through
// RtConvertArgument before the call.
struct ConvertedArgument {
  int32_t nValue = 0;
};

// The text form of a Date/Time: "YYYY-MM-DD-HH.MM.SS.ffffff"; "" for null.
String RtDateTimeToStr(DateTime dt);
// Reads the text form back exactly.  Also accepts "YYYY-MM-DD",
// "YYYY-MM-DD HH:MM[:SS[.f...]]" and "YYYY-MM-DD-HH.MM[.SS[.f...]]"
// (blanks around the text ignored).  Anything else gives the null Date/Time.
DateTime RtStrToDateTime(std::string_view sText);
// Formats a Date/Time with a picture.  Picture elements (case matters):
//   yyyy yy        year, 4 or 2 digits
//   MMMM MMM MM M  month name, abbreviated name, 2 digits, digits
//   dddd ddd dd d  weekday name, abbreviated weekday, day 2 digits, day digits
//   hh h           hour; 12-hour clock when the picture holds AMPM, else 24
//   mm m           minute (2 digits, digits)
//   ss s           second
//   ffffff (1-6 f) fraction of the second, that many digits
//   AMPM           "AM" or "PM"
// Any other character is copied.  "" for a null Date/Time.
String RtFormatDateTime(DateTime dt, std::string_view sPicture);

}  // namespace qv
