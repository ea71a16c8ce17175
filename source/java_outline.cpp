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

JavaKind KindOfWord(const JavaLexer& lexer, const JavaLexeme& x) {
  if (lexer.IsWord(x, "class")) return JavaKind::kClass;
  if (lexer.IsWord(x, "interface")) return JavaKind::kInterface;
  if (lexer.IsWord(x, "enum")) return JavaKind::kEnum;
  return JavaKind::kNone;
}

// A top-level declaration from its first lexeme to the end of its body (or
// its ";"): the type it declares, if any, is added to the outline.
void ReadDeclaration(JavaLexer& lexer, const JavaLexeme& first, JavaOutline& outline) {
  JavaTypeDeclaration type;
  type.nStart = first.nBegin;
  int nParens = 0;
  int nAngles = 0;
  bool bName = false;        // the next word is the type's name
  bool bAnnotation = false;  // the next word names an annotation
  bool bExtends = false;     // the words read are the superclass's name
  bool bRestart = false;     // the declaration starts at the next code
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
    if (x.Is('(')) ++nParens;
    if (x.Is(')') && nParens > 0) --nParens;
    if (nParens > 0 || x.Is(')')) continue;
    if (x.Is('{')) {
      type.nOpen = x.nBegin;
      type.nEnd = lexer.SkipBlock();
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
        // "record" is a keyword only where a record is declared.
        if (type.eKind == JavaKind::kNone && lexer.IsWord(x, "record") &&
            lexer.PeekCode().eKind == JavaLexKind::kWord) {
          type.eKind = JavaKind::kRecord;
        }
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
      if (type.eKind == JavaKind::kNone && lexer.IsWord(lexer.PeekCode(), "interface")) {
        lexer.NextCode();
        type.eKind = JavaKind::kAnnotation;
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
  if (type.eKind == JavaKind::kNone || type.sName.empty() || type.nOpen == std::string_view::npos) return;
  // Comments after the body's "{" are the body's.
  const size_t nUntil = type.nOpen == std::string_view::npos ? type.nEnd : type.nOpen;
  std::erase_if(type.aComments, [nUntil](const auto& c) { return c.first >= nUntil; });
  outline.aTypes.push_back(std::move(type));
}

}  // namespace

JavaOutline OutlineJava(std::string_view sText, JavaLineFeeds eLineFeeds) {
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
      ReadDeclaration(lexer, x, outline);
    }
  }
  return outline;
}

}  // namespace qv
