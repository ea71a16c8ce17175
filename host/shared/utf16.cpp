// SPDX-License-Identifier: Apache-2.0
#include "host/shared/utf16.h"

#include <cstdint>

namespace qv {

namespace {

void AppendUtf8(std::string& sOut, uint32_t nCode) {
  if (nCode < 0x80) {
    sOut.push_back(static_cast<char>(nCode));
  } else if (nCode < 0x800) {
    sOut.push_back(static_cast<char>(0xC0 | (nCode >> 6)));
    sOut.push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
  } else if (nCode < 0x10000) {
    sOut.push_back(static_cast<char>(0xE0 | (nCode >> 12)));
    sOut.push_back(static_cast<char>(0x80 | ((nCode >> 6) & 0x3F)));
    sOut.push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
  } else {
    sOut.push_back(static_cast<char>(0xF0 | (nCode >> 18)));
    sOut.push_back(static_cast<char>(0x80 | ((nCode >> 12) & 0x3F)));
    sOut.push_back(static_cast<char>(0x80 | ((nCode >> 6) & 0x3F)));
    sOut.push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
  }
}

}  // namespace

bool Utf16ToUtf8(std::string_view sBytes, bool bBigEndian, std::string& sOut) {
  sOut.clear();
  sOut.reserve(sBytes.size() + sBytes.size() / 2);
  bool bWhole = sBytes.size() % 2 == 0;
  const size_t nUnits = sBytes.size() / 2;
  auto Unit = [&](size_t i) {
    const auto nA = static_cast<unsigned char>(sBytes[2 * i]), nB = static_cast<unsigned char>(sBytes[2 * i + 1]);
    return static_cast<uint32_t>(bBigEndian ? (nA << 8 | nB) : (nB << 8 | nA));
  };
  for (size_t i = 0; i < nUnits; ++i) {
    uint32_t nCode = Unit(i);
    if (nCode >= 0xD800 && nCode < 0xDC00 && i + 1 < nUnits && Unit(i + 1) >= 0xDC00 && Unit(i + 1) < 0xE000) {
      nCode = 0x10000 + ((nCode - 0xD800) << 10) + (Unit(++i) - 0xDC00);
    } else if (nCode >= 0xD800 && nCode < 0xE000) {
      nCode = 0xFFFD;
      bWhole = false;
    }
    AppendUtf8(sOut, nCode);
  }
  if (sBytes.size() % 2 != 0) AppendUtf8(sOut, 0xFFFD);
  return bWhole;
}

bool Utf8ToUtf16(std::string_view sText, bool bBigEndian, std::string& sOut) {
  sOut.clear();
  sOut.reserve(sText.size() * 2);
  auto Put = [&](uint32_t nUnit) {
    const char cHigh = static_cast<char>(nUnit >> 8), cLow = static_cast<char>(nUnit & 0xFF);
    sOut.push_back(bBigEndian ? cHigh : cLow);
    sOut.push_back(bBigEndian ? cLow : cHigh);
  };
  for (size_t i = 0; i < sText.size();) {
    const auto c = static_cast<unsigned char>(sText[i]);
    const size_t nLength = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (nLength == 0 || i + nLength > sText.size()) return false;
    uint32_t nCode = nLength == 1 ? c : c & (0xFFu >> (nLength + 1));
    for (size_t k = 1; k < nLength; ++k) {
      const auto cNext = static_cast<unsigned char>(sText[i + k]);
      if ((cNext & 0xC0) != 0x80) return false;
      nCode = nCode << 6 | (cNext & 0x3F);
    }
    constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (nCode < kSmallest[nLength] || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode < 0xE000)) return false;
    if (nCode >= 0x10000) {
      Put(0xD800 + ((nCode - 0x10000) >> 10));
      Put(0xDC00 + ((nCode - 0x10000) & 0x3FF));
    } else {
      Put(nCode);
    }
    i += nLength;
  }
  return true;
}

}  // namespace qv
