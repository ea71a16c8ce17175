// SPDX-License-Identifier: Apache-2.0
#include "cli/json_lines.h"

#include <cstdint>
#include <string>

#include "cli/print.h"
#include "quorvane/quorvane.hpp"

namespace quorvane::cli {
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

Json JsonText(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  if (i == s.size()) return std::string(s);
  std::string sOut(s.substr(0, i));
  sOut.reserve(s.size() + 8);
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    const size_t n = c < 0x80 ? 1 : Utf8Length(s, i);
    if (n > 0) {
      sOut.append(s.substr(i, n));
      i += n;
    } else {
      // The Latin-1 character of the byte, in UTF-8.
      sOut += static_cast<char>(0xC0 | (c >> 6));
      sOut += static_cast<char>(0x80 | (c & 0x3F));
      ++i;
    }
  }
  return sOut;
}

Json JsonKind(std::string_view sBody) {
  const quorvane::String sText(sBody);
  return JsonKind(QvDeclarationKind(sText.Get()));
}

Json JsonKind(QvJavaKind eKind) { return eKind == QV_JAVA_NONE ? Json(nullptr) : Json(QvJavaKindName(eKind)); }

void PrintJsonLine(const Json& o) {
  std::string s = o.dump();
  s += '\n';
  WriteOut(s);
}

}  // namespace quorvane::cli
