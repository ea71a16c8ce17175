// SPDX-License-Identifier: Apache-2.0
#include "source/java_lexer.h"

#include "core/byte_scan.h"

namespace qv {
namespace {

// What a byte is to the lexer, by table: a blank or line end, a byte of a
// name.
constexpr uint8_t kBlank = 1;
constexpr uint8_t kName = 2;

struct ByteClasses {
  uint8_t a[256] = {};
  constexpr ByteClasses() {
    for (const char c : {' ', '\t', '\f', '\r', '\n'}) a[static_cast<unsigned char>(c)] = kBlank;
    for (unsigned c = 0; c < 256; ++c) {
      const bool bName = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                         c == '$' || c >= 0x80;
      if (bName) a[c] = kName;
    }
  }
};
constexpr ByteClasses kClasses;

bool Is(unsigned char c, uint8_t nClass) { return (kClasses.a[c] & nClass) != 0; }

// The value of each hex digit; -1 for every other byte.
struct HexDigits {
  int8_t a[256] = {};
  constexpr HexDigits() {
    for (unsigned c = 0; c < 256; ++c) a[c] = -1;
    for (int k = 0; k < 10; ++k) a['0' + k] = static_cast<int8_t>(k);
    for (int k = 0; k < 6; ++k) {
      a['a' + k] = static_cast<int8_t>(10 + k);
      a['A' + k] = static_cast<int8_t>(10 + k);
    }
  }
};
constexpr HexDigits kHexDigits;

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

// How many bytes the translation of a unicode escape for nCode takes.
size_t Utf8Length(unsigned nCode) { return nCode < 0x80 ? 1 : nCode < 0x800 ? 2 : 3; }

template <char... kBytes>
size_t FindAny(std::string_view s, size_t i) {
  return byte_scan::FindAny<byte_scan::kFastest, kBytes...>(s, i);
}

size_t FindCommentClose(std::string_view s, size_t i) { return byte_scan::FindCommentClose<byte_scan::kFastest>(s, i); }

}  // namespace

inline JavaLexer::Char JavaLexer::At(size_t nPos) const {
  const auto c = static_cast<unsigned char>(s_[nPos]);
  // Most backslashes start no escape ("\n", "\\"): they are told at once.
  if (c != '\\' || nPos + 1 == s_.size() || s_[nPos + 1] != 'u') return Char{c, c, 1};
  return EscapedAt(nPos);
}

// The backslash at nPos as Java reads it: a unicode escape ("\u0041",
// "\uuu0041") or a backslash.  It starts an escape only when an even number
// of backslashes of the text itself stands right before it: "\\u0041" is a
// backslash and "u0041".
JavaLexer::Char JavaLexer::EscapedAt(size_t nPos) const {
  constexpr Char kBackslash{'\\', '\\', 1};
  const size_t n = s_.size();
  size_t i = nPos + 1;
  while (i < n && s_[i] == 'u') ++i;
  if (i == nPos + 1 || n - i < 4) return kBackslash;
  const auto Digit = [this](size_t k) { return kHexDigits.a[static_cast<unsigned char>(s_[k])]; };
  const int nDigits[4] = {Digit(i), Digit(i + 1), Digit(i + 2), Digit(i + 3)};
  if ((nDigits[0] | nDigits[1] | nDigits[2] | nDigits[3]) < 0) return kBackslash;
  const auto nCode = static_cast<unsigned>(nDigits[0] << 12 | nDigits[1] << 8 | nDigits[2] << 4 | nDigits[3]);
  size_t nRun = nPos;
  while (nRun > 0 && s_[nRun - 1] == '\\') --nRun;
  if ((nPos - nRun) % 2 != 0) return kBackslash;
  return {static_cast<unsigned char>(nCode < 0x80 ? nCode : 0x80), nCode, i + 4 - nPos};
}

// Whether [nFrom, nTo) is more than nBytes long once translated.
bool JavaLexer::TranslatesLongerThan(size_t nFrom, size_t nTo, size_t nBytes) const {
  size_t nTranslated = 0;
  for (size_t i = nFrom; i < nTo && nTranslated <= nBytes;) {
    const Char c = At(i);
    nTranslated += c.nLength == 1 ? 1 : Utf8Length(c.nCode);
    i += c.nLength;
  }
  return nTranslated > nBytes;
}

// Where the "//" comment whose text starts at nFrom ends: before its line
// end.
size_t JavaLexer::LineCommentEnd(size_t nFrom) const {
  const size_t n = s_.size();
  for (size_t i = nFrom;;) {
    i = FindAny<'\r', '\n', '\\'>(s_, i);
    if (i == n || s_[i] != '\\') return i;
    const Char c = EscapedAt(i);
    if (c.c == '\r' || c.c == '\n') return i;
    i += c.nLength;
  }
}

// Where the "/*" comment whose text starts at nFrom ends: after its "*/"
// ("/*/" closes nothing); the text's length when nothing closes it.
size_t JavaLexer::BlockCommentEnd(size_t nFrom) const {
  const size_t n = s_.size();
  for (size_t i = nFrom;;) {
    i = FindCommentClose(s_, i);
    if (i == n) return n;
    if (s_[i] == '*') return i + 2;
    const Char c = EscapedAt(i);
    if (c.c == '*' && i + c.nLength < n) {
      const Char cNext = At(i + c.nLength);
      if (cNext.c == '/') return i + c.nLength + cNext.nLength;
    } else if (c.c == '/' && c.nLength > 1 && i > nFrom && s_[i - 1] == '*') {
      return i + c.nLength;  // a "*" of the text itself, then an escape for "/"
    }
    i += c.nLength;
  }
}

// Where the literal that opens at nPos ends: a text block after its closing
// """, a string or character literal after its closing quote or, left open,
// at its line's end.  A backslash escapes the character after it.
size_t JavaLexer::LiteralEnd(size_t nPos) const {
  const size_t n = s_.size();
  const Char quote = At(nPos);
  const size_t nAfter = nPos + quote.nLength;
  // Where the three quotes at i end; 0 when no three quotes stand there.
  const auto ThreeQuotesEnd = [this, n](size_t i) -> size_t {
    for (int k = 0; k < 3; ++k) {
      if (i >= n) return 0;
      const Char c = At(i);
      if (c.c != '"') return 0;
      i += c.nLength;
    }
    return i;
  };
  if (const size_t nBody = quote.c == '"' ? ThreeQuotesEnd(nPos) : 0; nBody != 0) {
    for (size_t i = nBody; i < n;) {
      const Char c = At(i);
      if (c.c == '\\') {
        i += c.nLength;
        if (i < n) i += At(i).nLength;
      } else if (const size_t nEnd = c.c == '"' ? ThreeQuotesEnd(i) : 0; nEnd != 0) {
        return nEnd;
      } else {
        i += c.nLength;
      }
    }
    return n;
  }
  for (size_t i = nAfter; i < n;) {
    i = FindAny<'"', '\'', '\\', '\r', '\n'>(s_, i);
    if (i == n) break;
    const Char c = At(i);
    if (c.c == '\\') {
      i += c.nLength;
      if (i < n) {
        // A CR that a LF stands for is what the backslash escapes.
        if (bLfAsCrLf_ && s_[i] == '\n') return i;
        i += At(i).nLength;
      }
    } else if (c.c == quote.c) {
      return i + c.nLength;
    } else if (c.c == '\r' || c.c == '\n') {
      return i;
    } else {
      i += c.nLength;
    }
  }
  return n;
}

// Where the word that starts at nPos ends.
size_t JavaLexer::WordEnd(size_t nPos) const {
  const size_t n = s_.size();
  size_t i = nPos;
  while (i < n) {
    const auto b = static_cast<unsigned char>(s_[i]);
    if (Is(b, kName)) {
      ++i;
      continue;
    }
    if (b != '\\') break;
    const Char c = EscapedAt(i);
    if (c.nLength == 1 || !Is(c.c, kName)) break;
    i += c.nLength;
  }
  return i;
}

JavaLexeme JavaLexer::Lex() {
  const size_t n = s_.size();
  size_t i = nPos_;
  // Blanks and line ends; a Ctrl-Z may end a file.
  while (i < n) {
    const auto b = static_cast<unsigned char>(s_[i]);
    if (Is(b, kBlank)) {
      ++i;
      continue;
    }
    if (b != '\\' && b != 0x1A) break;
    const Char c = At(i);
    if (!Is(c.c, kBlank) && !(c.c == 0x1A && i + c.nLength == n)) break;
    i += c.nLength;
  }
  JavaLexeme lx;
  lx.nBegin = i;
  if (i == n) {
    lx.nEnd = n;
    nPos_ = n;
    return lx;
  }
  const Char c = At(i);
  if (const Char cNext = c.c == '/' && i + c.nLength < n ? At(i + c.nLength) : Char{};
      cNext.c == '/' || cNext.c == '*') {
    const size_t nFrom = i + c.nLength + cNext.nLength;
    const bool bBlock = cNext.c == '*';
    lx.nEnd = bBlock ? BlockCommentEnd(nFrom) : LineCommentEnd(nFrom);
    // "/**/" is no documentation comment.
    const bool bDoc = bBlock && nFrom < lx.nEnd && At(nFrom).c == '*' && TranslatesLongerThan(i, lx.nEnd, 4);
    lx.eKind = bDoc ? JavaLexKind::kDocComment : JavaLexKind::kComment;
  } else if (c.c == '"' || c.c == '\'') {
    lx.eKind = JavaLexKind::kLiteral;
    lx.nEnd = LiteralEnd(i);
  } else if (Is(c.c, kName)) {
    lx.eKind = JavaLexKind::kWord;
    lx.nEnd = WordEnd(i);
  } else {
    lx.eKind = JavaLexKind::kSymbol;
    lx.cSymbol = static_cast<char>(c.c);
    lx.nEnd = i + c.nLength;
  }
  nPos_ = lx.nEnd;
  return lx;
}

JavaLexeme JavaLexer::Next() { return Lex(); }

JavaLexeme JavaLexer::NextCode() {
  if (nPos_ == nPeekFrom_) {
    nPos_ = nPeekTo_;
    return peek_;
  }
  JavaLexeme lx = Lex();
  while (lx.IsComment()) lx = Lex();
  return lx;
}

JavaLexeme JavaLexer::PeekCode() {
  // What follows a position is always the same: the last peek is kept, so
  // that the NextCode after a PeekCode reads nothing twice.
  if (nPos_ != nPeekFrom_) {
    const size_t nAt = nPos_;
    peek_ = NextCode();
    nPeekTo_ = nPos_;
    nPeekFrom_ = nAt;
    nPos_ = nAt;
  }
  return peek_;
}

size_t JavaLexer::SkipBlock() {
  const size_t n = s_.size();
  int64_t nDepth = 1;
  size_t i = nPos_;
  while (true) {
    // The bytes that may matter: braces, and what may open a comment or a
    // literal or spell one of those in an escape.
    i = FindAny<'{', '}', '/', '"', '\'', '\\'>(s_, i);
    if (i == n) break;
    const Char c = At(i);
    if (c.c == '{') {
      ++nDepth;
      i += c.nLength;
    } else if (c.c == '}') {
      i += c.nLength;
      if (--nDepth == 0) {
        nPos_ = i;
        return i;
      }
    } else if (c.c == '/') {
      i += c.nLength;
      const Char cNext = i < n ? At(i) : Char{};
      if (cNext.c == '/') {
        i = LineCommentEnd(i + cNext.nLength);
      } else if (cNext.c == '*') {
        i = BlockCommentEnd(i + cNext.nLength);
      }
    } else if (c.c == '"' || c.c == '\'') {
      i = LiteralEnd(i);
    } else {
      i += c.nLength;  // a backslash, or an escape for any other character
    }
  }
  nPos_ = n;
  return n;
}

std::string JavaLexer::Text(const JavaLexeme& lexeme) const {
  const std::string_view sRaw = s_.substr(lexeme.nBegin, lexeme.nEnd - lexeme.nBegin);
  if (sRaw.find('\\') == std::string_view::npos) return std::string(sRaw);
  std::string sText;
  for (size_t i = lexeme.nBegin; i < lexeme.nEnd;) {
    const Char c = At(i);
    if (c.nLength == 1) {
      sText += s_[i];
    } else {
      AppendUtf8(sText, c.nCode);
    }
    i += c.nLength;
  }
  return sText;
}

bool JavaLexer::IsWord(const JavaLexeme& lexeme, std::string_view sWord) const {
  if (lexeme.eKind != JavaLexKind::kWord) return false;
  const std::string_view sRaw = s_.substr(lexeme.nBegin, lexeme.nEnd - lexeme.nBegin);
  // A translation is never longer than what it translates, and shorter
  // when there is an escape.
  if (sRaw.size() <= sWord.size()) return sRaw == sWord && sRaw.find('\\') == std::string_view::npos;
  return sRaw.find('\\') != std::string_view::npos && Text(lexeme) == sWord;
}

}  // namespace qv
