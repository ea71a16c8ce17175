// SPDX-License-Identifier: Apache-2.0
// The lexical pass over Java text: where the code is, and where comments,
// string and character literals and text blocks are.
//
// Java translates unicode escapes (\uXXXX) before it reads anything else,
// so an escape may spell a name, a quote or a comment's delimiter.  The
// lexer reads each escape where it stands, as the character it stands for:
// it makes no translated copy of the text.  Every position it hands out is
// a position in the text it was given, and the text of a name is its
// translation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

enum class JavaLexKind : uint8_t {
  kEnd,         // no more text
  kWord,        // a name, a keyword or a number
  kSymbol,      // one character of punctuation or of an operator
  kLiteral,     // a string or character literal or a text block
  kComment,     // a "//" or "/* */" comment
  kDocComment,  // a "/** */" comment
};

// One lexeme: its kind and where it stands, [nBegin, nEnd) of the text.
struct JavaLexeme {
  JavaLexKind eKind = JavaLexKind::kEnd;
  char cSymbol = 0;  // the character of a kSymbol
  size_t nBegin = 0;
  size_t nEnd = 0;

  bool Is(char c) const { return eKind == JavaLexKind::kSymbol && cSymbol == c; }
  bool IsComment() const { return eKind == JavaLexKind::kComment || eKind == JavaLexKind::kDocComment; }
};

// How the lexer reads a line feed.  The parser cuts a text without any
// CR LF as if each LF were written CR LF; the one place where that reads
// differently is a backslash at the end of a line in a string or character
// literal, which then escapes the CR and leaves the literal ending at the
// LF.  kLfAsCrLf reads a text that way without converting it.
enum class JavaLineFeeds : uint8_t { kAsWritten, kLfAsCrLf };

// Reads one text lexeme by lexeme, from the start.  An unterminated comment
// or literal runs to the end of the text (a literal: to its line's end), as
// the compiler would report it and go on.  The text must outlive the lexer.
class JavaLexer {
 public:
  explicit JavaLexer(std::string_view sText, JavaLineFeeds eLineFeeds = JavaLineFeeds::kAsWritten)
      : s_(sText), bLfAsCrLf_(eLineFeeds == JavaLineFeeds::kLfAsCrLf) {}

  // The next lexeme after blanks and line ends; kEnd at the end.
  JavaLexeme Next();
  // The next lexeme that is no comment.
  JavaLexeme NextCode();
  // The lexeme NextCode would return, without moving on.
  JavaLexeme PeekCode();
  // Skips to the "}" that closes the "{" just read, past comments and
  // literals; returns the position after that "}", or the text's length
  // when it is not closed.
  size_t SkipBlock();
  // Goes on at nPos, the end of text that the caller has read itself.
  void Seek(size_t nPos) { nPos_ = nPos; }

  // The text of a word as Java reads it (unicode escapes translated).
  std::string Text(const JavaLexeme& lexeme) const;
  // Whether a word is sWord.
  bool IsWord(const JavaLexeme& lexeme, std::string_view sWord) const;

 private:
  // One character of the text: the byte it reads as (a unicode escape for
  // a character beyond ASCII reads as 0x80, a name byte like any byte of
  // such a character), its code, and how many bytes of the text it takes.
  struct Char {
    unsigned char c = 0;
    unsigned nCode = 0;
    size_t nLength = 0;
  };
  Char At(size_t nPos) const;
  Char EscapedAt(size_t nPos) const;
  JavaLexeme Lex();
  size_t LineCommentEnd(size_t nFrom) const;
  size_t BlockCommentEnd(size_t nFrom) const;
  size_t LiteralEnd(size_t nPos) const;
  size_t WordEnd(size_t nPos) const;
  bool TranslatesLongerThan(size_t nFrom, size_t nTo, size_t nBytes) const;

  std::string_view s_;
  bool bLfAsCrLf_;
  size_t nPos_ = 0;
  // The last PeekCode: where it started, its lexeme, and where it ended.
  size_t nPeekFrom_ = std::string_view::npos;
  size_t nPeekTo_ = 0;
  JavaLexeme peek_;
};

// Whether c is Java's white space: a blank, a tab, a form feed or a line
// end.
inline bool IsJavaWhiteSpace(char c) {
  constexpr uint64_t kBlanks = uint64_t{1} << ' ' | uint64_t{1} << '\t' | uint64_t{1} << '\f' | uint64_t{1} << '\r' |
                               uint64_t{1} << '\n';
  const auto u = static_cast<unsigned char>(c);
  return u <= ' ' && ((kBlanks >> u) & 1) != 0;
}

// Whether c may stand in a Java name: an ASCII letter or digit, '_', '$',
// or any byte of a non-ASCII character.
inline bool IsJavaNameByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || c == '_' || c == '$' ||
         u >= 0x80;
}

}  // namespace qv
