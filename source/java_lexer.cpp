// SPDX-License-Identifier: Apache-2.0
#include "source/java_lexer.h"

#include <algorithm>
#include <iterator>

namespace qv {
namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

// The length of the unicode escape at nPos ("\u0041", "\uuu0041"), 0 when
// none starts there.  A backslash starts one only when an even number of
// backslashes stands right before it: "\\u0041" is a backslash and "u0041".
size_t EscapeLength(std::string_view s, size_t nPos, size_t nBackslashesBefore) {
  if (s[nPos] != '\\' || nBackslashesBefore % 2 != 0) return 0;
  size_t i = nPos + 1;
  while (i < s.size() && s[i] == 'u') ++i;
  if (i == nPos + 1 || i + 4 > s.size()) return 0;
  for (size_t k = i; k < i + 4; ++k) {
    if (!IsHex(s[k])) return 0;
  }
  return i + 4 - nPos;
}

void AppendUtf8(std::string& s, unsigned nCode) {
  if (nCode < 0x80) {
    s += static_cast<char>(nCode);
  } else if (nCode < 0x800) {
    s += static_cast<char>(0xC0 | (nCode >> 6));
    s += static_cast<char>(0x80 | (nCode & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (nCode >> 12));
    s += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (nCode & 0x3F));
  }
}

// Where the "//" comment at nPos ends: before its line end.
size_t LineCommentEnd(std::string_view s, size_t nPos) {
  size_t i = nPos + 2;
  while (i < s.size() && s[i] != '\n' && s[i] != '\r') ++i;
  return i;
}

// The bytes a block's skip stops at: braces, and what may open a comment
// or a literal.  A table, since the library's find_first_of searches the
// set once for every byte of the text.
struct BlockStops {
  bool a[256] = {};
  constexpr BlockStops() {
    for (const char c : {'{', '}', '/', '"', '\''}) a[static_cast<unsigned char>(c)] = true;
  }
};
constexpr BlockStops kBlockStops;

// Where the "/*" comment at nPos ends: after its "*/" ("/*/" closes
// nothing).
size_t BlockCommentEnd(std::string_view s, size_t nPos) {
  const size_t nClose = s.find("*/", nPos + 2);
  return nClose == std::string_view::npos ? s.size() : nClose + 2;
}

// Where the literal that opens at nPos ends: a text block after its closing
// """, a string or character literal after its closing quote or, left open,
// at its line's end.  A backslash escapes the character after it.
size_t LiteralEnd(std::string_view s, size_t nPos) {
  const size_t n = s.size();
  if (s.compare(nPos, 3, R"(""")") == 0) {
    for (size_t i = nPos + 3; i < n; ++i) {
      if (s[i] == '\\') {
        ++i;
      } else if (s.compare(i, 3, R"(""")") == 0) {
        return i + 3;
      }
    }
    return n;
  }
  const char cQuote = s[nPos];
  for (size_t i = nPos + 1; i < n; ++i) {
    const char c = s[i];
    if (c == '\\') {
      ++i;
    } else if (c == cQuote) {
      return i + 1;
    } else if (c == '\r' || c == '\n') {
      return i;
    }
  }
  return n;
}

}  // namespace

bool IsJavaWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\r' || c == '\n'; }

bool IsJavaNameByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || c == '_' || c == '$' ||
         u >= 0x80;
}

JavaLexer::JavaLexer(std::string_view sText) : sGiven_(sText), sCode_(sText) {
  size_t nSlash = sText.find("\\u");
  if (nSlash == std::string_view::npos) return;
  // Translate once, from the first escape on: the text between backslashes
  // is copied as it stands.  Only the backslashes of the text itself count
  // for whether one starts an escape.
  sTranslated_.reserve(sText.size());
  size_t nBackslashes = 0;
  for (size_t i = 0; i < sText.size();) {
    const size_t nNext = std::min(sText.find('\\', i), sText.size());
    if (nNext > i) {
      sTranslated_.append(sText.substr(i, nNext - i));
      nBackslashes = 0;
      i = nNext;
      continue;
    }
    const size_t nLength = EscapeLength(sText, i, nBackslashes);
    if (nLength == 0) {
      ++nBackslashes;
      sTranslated_ += sText[i++];
      continue;
    }
    unsigned nCode = 0;
    for (size_t k = i + nLength - 4; k < i + nLength; ++k) {
      nCode = nCode * 16 + static_cast<unsigned>(HexValue(sText[k]));
    }
    AppendUtf8(sTranslated_, nCode);
    i += nLength;
    aShift_.push_back({sTranslated_.size(), i - sTranslated_.size()});
    nBackslashes = 0;
  }
  if (aShift_.empty()) {
    std::string().swap(sTranslated_);
  } else {
    sCode_ = sTranslated_;
  }
}

size_t JavaLexer::Original(size_t nPos) const {
  if (aShift_.empty()) return nPos;
  const auto it = std::upper_bound(aShift_.begin(), aShift_.end(), nPos,
                                   [](size_t n, const Shift& s) { return n < s.nAt; });
  return it == aShift_.begin() ? nPos : nPos + std::prev(it)->nAhead;
}

JavaLexeme JavaLexer::Lex() {
  const std::string_view s = sCode_;
  const size_t n = s.size();
  // A Ctrl-Z may end a file.
  while (nPos_ < n && (IsJavaWhiteSpace(s[nPos_]) || (s[nPos_] == 0x1A && nPos_ + 1 == n))) ++nPos_;
  JavaLexeme lx;
  lx.nCodeBegin = nPos_;
  if (nPos_ == n) {
    lx.nCodeEnd = n;
  } else if (const char c = s[nPos_]; c == '/' && nPos_ + 1 < n && (s[nPos_ + 1] == '/' || s[nPos_ + 1] == '*')) {
    const bool bBlock = s[nPos_ + 1] == '*';
    lx.nCodeEnd = bBlock ? BlockCommentEnd(s, nPos_) : LineCommentEnd(s, nPos_);
    const bool bDoc = bBlock && lx.nCodeEnd - nPos_ > 4 && s[nPos_ + 2] == '*';
    lx.eKind = bDoc ? JavaLexKind::kDocComment : JavaLexKind::kComment;
  } else if (c == '"' || c == '\'') {
    lx.eKind = JavaLexKind::kLiteral;
    lx.nCodeEnd = LiteralEnd(s, nPos_);
  } else if (IsJavaNameByte(c)) {
    size_t i = nPos_ + 1;
    while (i < n && IsJavaNameByte(s[i])) ++i;
    lx.eKind = JavaLexKind::kWord;
    lx.nCodeEnd = i;
  } else {
    lx.eKind = JavaLexKind::kSymbol;
    lx.cSymbol = c;
    lx.nCodeEnd = nPos_ + 1;
  }
  nPos_ = lx.nCodeEnd;
  lx.nBegin = Original(lx.nCodeBegin);
  lx.nEnd = Original(lx.nCodeEnd);
  return lx;
}

JavaLexeme JavaLexer::Next() { return Lex(); }

JavaLexeme JavaLexer::NextCode() {
  JavaLexeme lx = Lex();
  while (lx.IsComment()) lx = Lex();
  return lx;
}

JavaLexeme JavaLexer::PeekCode() {
  const size_t nAt = nPos_;
  const JavaLexeme lx = NextCode();
  nPos_ = nAt;
  return lx;
}

size_t JavaLexer::SkipBlock() {
  const std::string_view s = sCode_;
  const size_t n = s.size();
  int64_t nDepth = 1;
  size_t i = nPos_;
  while (i < n) {
    while (i < n && !kBlockStops.a[static_cast<unsigned char>(s[i])]) ++i;
    if (i == n) break;
    const char c = s[i];
    if (c == '{') {
      ++nDepth;
      ++i;
    } else if (c == '}') {
      ++i;
      if (--nDepth == 0) {
        nPos_ = i;
        return Original(i);
      }
    } else if (c == '/') {
      const char cNext = i + 1 < n ? s[i + 1] : '\0';
      if (cNext == '/') {
        i = LineCommentEnd(s, i);
      } else if (cNext == '*') {
        i = BlockCommentEnd(s, i);
      } else {
        ++i;
      }
    } else {
      i = LiteralEnd(s, i);
    }
  }
  nPos_ = n;
  return sGiven_.size();
}

std::string JavaLexer::Text(const JavaLexeme& lexeme) const {
  return std::string(sCode_.substr(lexeme.nCodeBegin, lexeme.nCodeEnd - lexeme.nCodeBegin));
}

bool JavaLexer::IsWord(const JavaLexeme& lexeme, std::string_view sWord) const {
  return lexeme.eKind == JavaLexKind::kWord &&
         sCode_.substr(lexeme.nCodeBegin, lexeme.nCodeEnd - lexeme.nCodeBegin) == sWord;
}

}  // namespace qv
