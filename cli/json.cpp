#include "cli/json.h"

#include <cstdio>

namespace qv::cli {
namespace {

// Length of the valid UTF-8 sequence at s[i], or 0.
size_t Utf8Length(std::string_view s, size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  size_t n = 0;
  uint32_t nCode = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    nCode = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    nCode = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    nCode = c & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const auto cc = static_cast<unsigned char>(s[i + k]);
    if ((cc & 0xC0) != 0x80) return 0;
    nCode = (nCode << 6) | (cc & 0x3F);
  }
  // No overlong forms, no surrogates, nothing past U+10FFFF.
  if ((n == 3 && nCode < 0x800) || (n == 4 && (nCode < 0x10000 || nCode > 0x10FFFF)) ||
      (nCode >= 0xD800 && nCode <= 0xDFFF)) {
    return 0;
  }
  return n;
}

}  // namespace

std::string JsonString(std::string_view s) {
  std::string sOut;
  sOut.reserve(s.size() + 2);
  sOut += '"';
  char aHex[8];
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      const size_t n = Utf8Length(s, i);
      if (n > 0) {
        sOut.append(s.substr(i, n));
        i += n;
      } else {
        std::snprintf(aHex, sizeof(aHex), "\\u%04x", c);
        sOut += aHex;
        ++i;
      }
      continue;
    }
    switch (c) {
      case '"': sOut += "\\\""; break;
      case '\\': sOut += "\\\\"; break;
      case '\n': sOut += "\\n"; break;
      case '\r': sOut += "\\r"; break;
      case '\t': sOut += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          std::snprintf(aHex, sizeof(aHex), "\\u%04x", c);
          sOut += aHex;
        } else {
          sOut += static_cast<char>(c);
        }
    }
    ++i;
  }
  sOut += '"';
  return sOut;
}

}  // namespace qv::cli
