// SPDX-License-Identifier: Apache-2.0
#include "source/java_outline.h"

#include <algorithm>

#include "source/java_lexer.h"

namespace qv {
namespace {

bool SameBarBlanks(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (true) {
    while (i < a.size() && IsJavaWhiteSpace(a[i])) ++i;
    while (j < b.size() && IsJavaWhiteSpace(b[j])) ++j;
    if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
    if (a[i++] != b[j++]) return false;
  }
}

// The comments of sText between nFrom and nTo.
std::vector<std::pair<size_t, size_t>> CommentsIn(std::string_view sText, size_t nFrom, size_t nTo,
                                                  JavaLineFeeds eLineFeeds) {
  std::vector<std::pair<size_t, size_t>> aComments;
  JavaLexer lexer(sText.substr(nFrom, nTo - nFrom), eLineFeeds);
  for (JavaLexeme x = lexer.Next(); x.eKind != JavaLexKind::kEnd; x = lexer.Next()) {
    if (x.IsComment()) aComments.emplace_back(nFrom + x.nBegin, nFrom + x.nEnd);
  }
  return aComments;
}

// The statement whose keyword ("package" or "import") was just read, up to
// and including its ";".  FALSE, with the lexer after the text read, when
// it is no statement: a name of words, dots and a final "*", then ";".
bool ReadStatement(std::string_view sText, JavaLineFeeds eLineFeeds, JavaLexer& lexer, const JavaLexeme& keyword,
                   JavaStatement& out) {
  // Most statements are one blank, then names, dots and stars without a
  // blank, comment or escape, then ";": what the lexemes would give is
  // plain then, and it is read at once.
  size_t i = keyword.nEnd + 1;
  if (keyword.nEnd < sText.size() && sText[keyword.nEnd] == ' ') {
    while (i < sText.size() && (IsJavaNameByte(sText[i]) || sText[i] == '.' || sText[i] == '*')) ++i;
    if (i < sText.size() && sText[i] == ';' && i > keyword.nEnd + 1) {
      out.nStart = keyword.nBegin;
      out.nEnd = i + 1;
      out.sName = sText.substr(keyword.nEnd + 1, i - keyword.nEnd - 1);
      lexer.Seek(out.nEnd);
      return true;
    }
  }
  std::string sName;
  bool bAfterWord = false;
  for (JavaLexeme x = lexer.PeekCode();; x = lexer.PeekCode()) {
    if (x.eKind == JavaLexKind::kWord) {
      std::string sWord = lexer.Text(x);
      // "import static a.B.c;" and "import module java.base;": the word
      // that follows another without a dot is the statement's name.
      if (bAfterWord && (sName == "static" || sName == "module"))
        sName += ' ';
      else if (bAfterWord)
        return false;
      sName += sWord;
      bAfterWord = true;
    } else if (x.Is('.') || x.Is('*')) {
      sName += x.cSymbol;
      bAfterWord = false;
    } else if (x.Is(';') && !sName.empty()) {
      lexer.NextCode();
      out.nStart = keyword.nBegin;
      out.nEnd = x.nEnd;
      // The name as written when it is written on one line without
      // comments, so that a file's own spelling is kept.
      const std::string_view sRaw = sText.substr(keyword.nEnd, x.nBegin - keyword.nEnd);
      const bool bPlain = sRaw.size() > 1 && sRaw[0] == ' ' && sRaw.find_first_of("\r\n/") == std::string_view::npos &&
                          SameBarBlanks(sRaw, sName);
      out.sName = bPlain ? std::string(sRaw.substr(1)) : std::move(sName);
      if (!bPlain) out.aComments = CommentsIn(sText, keyword.nEnd, x.nBegin, eLineFeeds);
      return true;
    } else {
      return false;
    }
    lexer.NextCode();
  }
}

// The kind that the word x declares, kNone when none: a contextual keyword
// ("record") declares one only where the type's name follows it.
JavaKind KindOfWord(JavaLexer& lexer, const JavaLexeme& x) {
  for (const JavaKindRow& row : kJavaKinds) {
    if (row.sKeyword.starts_with('@') || !lexer.IsWord(x, row.sKeyword)) continue;
    if (!row.bContextual || lexer.PeekCode().eKind == JavaLexKind::kWord) return row.eKind;
  }
  return JavaKind::kNone;
}

// The kind that "@" followed by the word x declares ("@interface"), kNone
// when none.
JavaKind KindOfAtWord(const JavaLexer& lexer, const JavaLexeme& x) {
  for (const JavaKindRow& row : kJavaKinds) {
    if (row.sKeyword.starts_with('@') && lexer.IsWord(x, row.sKeyword.substr(1))) return row.eKind;
  }
  return JavaKind::kNone;
}

// A top-level declaration from its first lexeme to the end of its body (or
// its ";"): the type it declares, if any, is added to the outline, and a
// method outside any type is noted.  A type named sStopAt is read up to
// its body's "{" only; TRUE when it was.
bool ReadDeclaration(JavaLexer& lexer, const JavaLexeme& first, JavaOutline& outline, std::string_view sStopAt) {
  JavaTypeDeclaration type;
  type.nStart = first.nBegin;
  int nParens = 0;
  int nAngles = 0;
  bool bName = false;        // the next word is the type's name
  bool bAnnotation = false;  // the next word names an annotation
  bool bExtends = false;     // the words read are the superclass's name
  bool bRestart = false;     // the declaration starts at the next code
  bool bStop = false;        // the type named sStopAt: its body is not read
  bool bAfterName = false;   // the last code read is a word that names no annotation
  bool bMethod = false;      // parameters followed a name: a method, without a type keyword
  for (JavaLexeme x = first; x.eKind != JavaLexKind::kEnd; x = lexer.Next()) {
    if (x.IsComment()) {
      if (!bRestart) type.aComments.emplace_back(x.nBegin, x.nEnd);
      continue;
    }
    if (bRestart) {
      type.nStart = x.nBegin;
      type.aComments.clear();
      bRestart = false;
    }
    const bool bNameBefore = bAfterName;
    bAfterName = x.eKind == JavaLexKind::kWord && !bAnnotation;
    // Before its keyword a type declaration holds only annotations and
    // modifiers ("non-sealed" among them): anything else, such as text
    // left over from a broken comment, is no part of it.
    const bool bStray = x.eKind == JavaLexKind::kLiteral ||
                        (x.eKind == JavaLexKind::kSymbol && !x.Is('@') && !x.Is('.') && !x.Is('-') && !x.Is('(') &&
                         !x.Is(')') && !x.Is('{') && !x.Is(';'));
    if (type.eKind == JavaKind::kNone && nParens == 0 && bStray) {
      bRestart = true;
      continue;
    }
    // An annotation's arguments may hold braces and keywords of their own.
    if (x.Is('(') && nParens == 0 && bNameBefore && type.eKind == JavaKind::kNone) bMethod = true;
    if (x.Is('(')) ++nParens;
    if (x.Is(')') && nParens > 0) --nParens;
    if (nParens > 0 || x.Is(')')) continue;
    if (x.Is('{')) {
      type.nOpen = x.nBegin;
      if (bMethod && type.eKind == JavaKind::kNone) outline.nFirstMethod = std::min(outline.nFirstMethod, first.nBegin);
      bStop = !sStopAt.empty() && type.eKind != JavaKind::kNone && type.sName == sStopAt;
      type.nEnd = bStop ? x.nEnd : lexer.SkipBlock();
      break;
    }
    if (x.Is(';')) {  // a field or method outside any type
      type.nEnd = x.nEnd;
      break;
    }
    if (x.eKind == JavaLexKind::kWord) {
      if (bAnnotation) {
        bAnnotation = lexer.PeekCode().Is('.');
      } else if (bName) {
        type.sName = lexer.Text(x);
        type.nName = x.nBegin;
        bName = false;
      } else if (bExtends && (type.sExtends.empty() || type.sExtends.back() == '.')) {
        type.sExtends += lexer.Text(x);
      } else if (type.eKind == JavaKind::kNone) {
        type.eKind = KindOfWord(lexer, x);
        bName = type.eKind != JavaKind::kNone;
      } else if (nAngles == 0 && type.sExtends.empty() && lexer.IsWord(x, "extends")) {
        bExtends = true;
      } else {
        bExtends = false;
      }
      continue;
    }
    if (x.Is('.') && bExtends) {
      type.sExtends += '.';
      continue;
    }
    bExtends = false;
    if (x.Is('@')) {
      const JavaKind eAtKind = type.eKind == JavaKind::kNone ? KindOfAtWord(lexer, lexer.PeekCode()) : JavaKind::kNone;
      if (eAtKind != JavaKind::kNone) {
        lexer.NextCode();
        type.eKind = eAtKind;
        bName = true;
      } else {
        bAnnotation = true;
      }
    } else if (x.Is('<')) {
      ++nAngles;
    } else if (x.Is('>') && nAngles > 0) {
      --nAngles;
    }
  }
  if (type.nEnd == 0) type.nEnd = type.nStart;
  if (outline.nFirstOther == std::string_view::npos) outline.nFirstOther = type.nStart;
  // Every type has a body: a declaration without one is broken text.
  if (type.eKind == JavaKind::kNone || type.sName.empty() || type.nOpen == std::string_view::npos) return false;
  // Comments after the body's "{" are the body's.
  const size_t nUntil = type.nOpen == std::string_view::npos ? type.nEnd : type.nOpen;
  std::erase_if(type.aComments, [nUntil](const auto& c) { return c.first >= nUntil; });
  outline.aTypes.push_back(std::move(type));
  return bStop;
}

}  // namespace

JavaOutline OutlineJava(std::string_view sText, JavaLineFeeds eLineFeeds) {
  return OutlineJavaUpTo(sText, eLineFeeds, {});
}

JavaOutline OutlineJavaUpTo(std::string_view sText, JavaLineFeeds eLineFeeds, std::string_view sName) {
  JavaOutline outline;
  JavaLexer lexer(sText, eLineFeeds);
  for (JavaLexeme x = lexer.NextCode(); x.eKind != JavaLexKind::kEnd; x = lexer.NextCode()) {
    const bool bStatementsEnd = outline.nFirstOther != std::string_view::npos;
    if (lexer.IsWord(x, "package") && !outline.bPackage && outline.aImports.empty() && !bStatementsEnd) {
      outline.bPackage = ReadStatement(sText, eLineFeeds, lexer, x, outline.package);
    } else if (lexer.IsWord(x, "import")) {
      JavaStatement statement;
      if (ReadStatement(sText, eLineFeeds, lexer, x, statement)) outline.aImports.push_back(std::move(statement));
    } else if (x.Is(';') || x.Is('}') || x.Is(')')) {
      continue;  // an empty declaration, or a stray closing one
    } else {
      outline.nFirstDeclaration = std::min(outline.nFirstDeclaration, x.nBegin);
      if (ReadDeclaration(lexer, x, outline, sName)) break;
    }
  }
  return outline;
}

}  // namespace qv
