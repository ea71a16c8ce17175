// SPDX-License-Identifier: Apache-2.0
// The lexical pass over Java text: where the code is, and where comments,
// string and character literals and text blocks are.
//
// Java translates unicode escapes (\uXXXX) before it reads anything else,
// so an escape may spell a name, a quote or a comment's delimiter.  A text
// that holds an escape is read through its translation; every position the
// lexer hands out is a position in the text it was given, and the text of
// a name is its translation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
  size_t nBegin = 0;
  size_t nEnd = 0;
  char cSymbol = 0;  // the character of a kSymbol
  // Where it stands in the text the lexer reads (the translation, when the
  // text holds an escape).
  size_t nCodeBegin = 0;
  size_t nCodeEnd = 0;

  bool Is(char c) const { return eKind == JavaLexKind::kSymbol && cSymbol == c; }
  bool IsComment() const { return eKind == JavaLexKind::kComment || eKind == JavaLexKind::kDocComment; }
};

// Reads one text lexeme by lexeme, from the start.  An unterminated comment
// or literal runs to the end of the text (a literal: to its line's end), as
// the compiler would report it and go on.  The text must outlive the lexer.
class JavaLexer {
 public:
  explicit JavaLexer(std::string_view sText);
  // It may read its own translation: a copy would read the original's.
  JavaLexer(const JavaLexer&) = delete;
  JavaLexer& operator=(const JavaLexer&) = delete;

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

  // The text of a word as Java reads it (unicode escapes translated).
  std::string Text(const JavaLexeme& lexeme) const;
  // Whether a word is sWord.
  bool IsWord(const JavaLexeme& lexeme, std::string_view sWord) const;

 private:
  // Positions in the translated text map to the given text: aShift_ holds,
  // for each escape, where its translation ends in the translated text and
  // how far the given text lies ahead there.
  struct Shift {
    size_t nAt;
    size_t nAhead;
  };
  size_t Original(size_t nPos) const;
  JavaLexeme Lex();

  std::string_view sGiven_;
  std::string sTranslated_;  // empty when the text holds no escape
  std::vector<Shift> aShift_;
  std::string_view sCode_;  // the text the lexer reads: given or translated
  size_t nPos_ = 0;
};

// Whether c is Java's white space: a blank, a tab, a form feed or a line
// end.
bool IsJavaWhiteSpace(char c);

// Whether c may stand in a Java name: an ASCII letter or digit, '_', '$',
// or any byte of a non-ASCII character.
bool IsJavaNameByte(char c);

}  // namespace qv
