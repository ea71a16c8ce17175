// SPDX-License-Identifier: Apache-2.0
#include "source/java_parser.h"

#include <algorithm>
#include <cstring>

#include "core/byte_scan.h"
#include "core/rt_string.h"
#include "core/runtime.h"
#include "core/toolkit.h"
#include "source/java_lexer.h"
#include "source/text_utils.h"

// The parser cuts the text at the places the outline (source/java_outline.h)
// finds: everything before the package statement is the heading comment,
// the text between the statements and the main type's declaration is the
// part in front of the class, the main type's declaration and everything
// from its "{" to the last "}" of the file is the body, and what follows is
// the footer.  No text of the file falls between two parts, so that the
// record written back holds all of it.

namespace qv {
namespace {

std::string_view Mid(std::string_view sText, int64_t nPos, int64_t nLength) {
  return StrMidXView(sText, Number(nPos), Number(nLength));
}

std::string_view Between(std::string_view sText, size_t nFrom, size_t nTo) {
  return nFrom < nTo ? sText.substr(nFrom, nTo - nFrom) : std::string_view();
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsJavaWhiteSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsJavaWhiteSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Reads the whole file into sText.  FALSE when the file does not exist,
// cannot be opened for reading, or cannot be read in full.
bool LoadFile(Module& m, std::string_view sFile, String& sText) {
  FileHandle hFile;
  if (!RtFileOpen(m, hFile, sFile, kOpenExist)) return false;
  if (!RtFileOpen(m, hFile, sFile, kOpenRead)) return false;
  bool bOk = RtFileSeek(m, hFile, 0, kSeekEnd);
  const int64_t nSize = bOk ? RtFileTell(m, hFile) : -1;
  bOk = nSize >= 0 && RtFileSeek(m, hFile, 0, kSeekStart);
  if (bOk) bOk = RtFileRead(m, hFile, sText, nSize) == nSize;
  RtFileClose(m, hFile);
  return bOk;
}

using byte_scan::LineEnds;

LineEnds CountLineEnds(const char* p, size_t n) { return byte_scan::CountLineEnds<byte_scan::kFastest>(p, n); }

size_t CountLf(std::string_view s) { return CountLineEnds(s.data(), s.size()).nLf; }

template <bool bInPlace = false>
void CopyWithCrLf(const char* p, size_t n, char* pOut) {
  byte_scan::CopyWithCrLf<byte_scan::kFastest, bInPlace>(p, n, pOut);
}

// A text without any CR LF is cut as if each of its LF were written CR LF
// (source/java_lexer.h): its parts get CR LF line ends as they are copied
// out, and the text itself is not converted.
JavaLineFeeds LineFeedsOf(std::string_view sText, const LineEnds& ends) {
  const bool bCrLf = ends.bCr && RtStrScan(sText, "\r\n") >= 0;
  return bCrLf ? JavaLineFeeds::kAsWritten : JavaLineFeeds::kLfAsCrLf;
}

// Appends sPiece to sOut, with its line ends as eLineFeeds says.
void AppendLines(String& sOut, std::string_view sPiece, JavaLineFeeds eLineFeeds) {
  if (eLineFeeds == JavaLineFeeds::kAsWritten) {
    sOut += sPiece;
    return;
  }
  const size_t nAt = sOut.size();
  sOut.resize(nAt + sPiece.size() + CountLf(sPiece));
  CopyWithCrLf(sPiece.data(), sPiece.size(), sOut.data() + nAt);
}

String Lines(std::string_view sPiece, JavaLineFeeds eLineFeeds) {
  String s;
  AppendLines(s, sPiece, eLineFeeds);
  return s;
}

// The type the record is made of: the top-level type named like the file
// (the one the compiler requires a public type to be), else the first.
// The name of sFileName without its folders and extension.
std::string_view FileStem(std::string_view sFileName) {
  const std::string_view sName = sFileName.substr(std::min(sFileName.find_last_of("\\/") + 1, sFileName.size()));
  return sName.substr(0, std::min(sName.rfind('.'), sName.size()));
}

// A compact source file (one with a method outside any type) is the body
// of a class the compiler declares for it, named like the file: that class
// is the main type, unless a type of that name is declared too.  Its body
// is all top-level code from the first declaration on, and it has no
// declaration of its own (nOpen is nStart).  implicit holds it.
const JavaTypeDeclaration* MainType(const JavaOutline& outline, std::string_view sFileName,
                                    JavaTypeDeclaration& implicit) {
  const std::string_view sStem = FileStem(sFileName);
  for (const JavaTypeDeclaration& type : outline.aTypes) {
    if (type.sName == sStem) return &type;
  }
  if (outline.nFirstMethod != std::string_view::npos && !sStem.empty()) {
    implicit.eKind = JavaKind::kClass;
    implicit.sName = sStem;
    implicit.nStart = implicit.nName = implicit.nOpen = outline.nFirstDeclaration;
    return &implicit;
  }
  return outline.aTypes.empty() ? nullptr : &outline.aTypes.front();
}

constexpr std::string_view kCrLf = "\r\n";

// Whether the last lexeme of a text is a "//" comment, which the next part
// must not follow on the same line.
bool EndsInLineComment(std::string_view sText) {
  JavaLexer lexer(sText);
  JavaLexeme last;
  for (JavaLexeme x = lexer.Next(); x.eKind != JavaLexKind::kEnd; x = lexer.Next()) last = x;
  return last.eKind == JavaLexKind::kComment && sText.substr(last.nBegin, 2) == "//";
}

// Where the last documentation comment before nTo begins; nTo when none.
size_t LastDocComment(std::string_view sText, size_t nTo, JavaLineFeeds eLineFeeds) {
  JavaLexer lexer(sText.substr(0, nTo), eLineFeeds);
  size_t nDoc = nTo;
  for (JavaLexeme x = lexer.Next(); x.eKind != JavaLexKind::kEnd; x = lexer.Next()) {
    if (x.eKind == JavaLexKind::kDocComment) nDoc = x.nBegin;
  }
  return nDoc;
}

// A stretch of text between two parts, without the blanks around it,
// added to the part on a line of its own.
void AppendPiece(String& sPart, std::string_view sPiece, JavaLineFeeds eLineFeeds) {
  sPiece = Trimmed(sPiece);
  if (sPiece.empty()) return;
  if (!sPart.empty()) sPart += kCrLf;
  AppendLines(sPart, sPiece, eLineFeeds);
}

void AppendComments(String& sPart, std::string_view vText, const std::vector<std::pair<size_t, size_t>>& aComments,
                    JavaLineFeeds eLineFeeds) {
  for (const auto& [nBegin, nEnd] : aComments) AppendPiece(sPart, Between(vText, nBegin, nEnd), eLineFeeds);
}

// The heading comment and the part in front of the class.  With a package
// or an import statement, the heading comment is all that comes before the
// first of them, and the comments between and after them go in front of
// the class, which is written after the imports.  Without either, the
// heading comment runs up to the first other top-level code or, when the
// main type is the only code, up to the documentation comment in front of
// it.  Comments within the declaration go in front of the class too: the
// body starts with the declaration on one line.
void CutComments(std::string_view vText, JavaLineFeeds eLineFeeds, const JavaOutline& outline,
                 const JavaTypeDeclaration& main, String& sHeader, String& sDescription) {
  if (outline.bPackage || !outline.aImports.empty()) {
    const size_t nFirst = outline.bPackage ? outline.package.nStart : outline.aImports.front().nStart;
    sHeader = Lines(Trimmed(Between(vText, 0, nFirst)), eLineFeeds);
    size_t nAt = nFirst;
    if (outline.bPackage) {
      AppendComments(sDescription, vText, outline.package.aComments, eLineFeeds);
      nAt = outline.package.nEnd;
    }
    for (const JavaStatement& import : outline.aImports) {
      if (import.nStart < nAt || import.nEnd > main.nStart) continue;
      AppendPiece(sDescription, Between(vText, nAt, import.nStart), eLineFeeds);
      AppendComments(sDescription, vText, import.aComments, eLineFeeds);
      nAt = import.nEnd;
    }
    AppendPiece(sDescription, Between(vText, nAt, main.nStart), eLineFeeds);
  } else {
    const size_t nSplit = outline.nFirstOther < main.nStart ? outline.nFirstOther
                                                            : LastDocComment(vText, main.nStart, eLineFeeds);
    sHeader = Lines(Trimmed(Between(vText, 0, nSplit)), eLineFeeds);
    AppendPiece(sDescription, Between(vText, nSplit, main.nStart), eLineFeeds);
  }
  AppendComments(sDescription, vText, main.aComments, eLineFeeds);
  if (!sHeader.empty() && EndsInLineComment(sHeader)) sHeader += kCrLf;
}

// The declaration on one line: its text from the first annotation or
// modifier to the body's "{", without its comments, every line break
// folded into a blank; CR LF before it and a blank after it.
String DeclarationLine(JavaTextTools& tools, std::string_view vText, JavaLineFeeds eLineFeeds,
                       const JavaTypeDeclaration& main) {
  if (main.nOpen == main.nStart) return String(kCrLf);  // a compact source file's class declares nothing
  String sDecl;
  size_t nAt = main.nStart;
  for (const auto& [nBegin, nEnd] : main.aComments) {
    sDecl.append(Between(vText, nAt, nBegin));
    const bool bGlued = nBegin > nAt && !IsJavaWhiteSpace(vText[nBegin - 1]) && nEnd < vText.size() &&
                        !IsJavaWhiteSpace(vText[nEnd]);
    if (bGlued) sDecl += ' ';
    nAt = nEnd;
  }
  sDecl.append(Between(vText, nAt, main.nOpen));
  const String sOneLine = tools.Replace(tools.Replace(Lines(sDecl, eLineFeeds), kCrLf, " "), "\n", " ");
  String sLine(kCrLf);
  sLine += Trimmed(sOneLine);
  sLine += ' ';
  return sLine;
}

// The body: the declaration line sDecl, then vBlock with each of its nLf
// LF bytes written CR LF (none when its line ends stay as they are).  With
// pText, whose text vBlock is part of, the body is made in the text's own
// memory when that has room for it (JavaCutRoom), and the text is left
// empty: the largest part of a file is then never held twice.
String Body(std::string_view sDecl, std::string_view vBlock, size_t nLf, String* pText) {
  const size_t nSize = sDecl.size() + vBlock.size() + nLf;
  if (pText == nullptr || pText->capacity() < nSize) {
    String sBody;
    sBody.reserve(nSize);
    sBody.append(sDecl);
    if (nLf == 0) {
      sBody.append(vBlock);
    } else {
      sBody.resize(nSize);
      CopyWithCrLf(vBlock.data(), vBlock.size(), sBody.data() + sDecl.size());
    }
    return sBody;
  }
  // The block goes where its copy with CR LF, written from the front,
  // never overtakes what is still to be read: at least as far back as it
  // stands, and at least as far as the declaration and its LF bytes.
  String& sText = *pText;
  const auto nOpen = static_cast<size_t>(vBlock.data() - sText.data());
  const size_t nFrom = std::max(nOpen, sDecl.size() + nLf);
  sText.resize(std::max(sText.size(), nSize));  // within its capacity: no new memory
  char* const p = sText.data();
  if (nFrom != nOpen) std::memmove(p + nFrom, p + nOpen, vBlock.size());
  if (nLf == 0) {
    std::memmove(p + sDecl.size(), p + nFrom, vBlock.size());
  } else {
    CopyWithCrLf<true>(p + nFrom, vBlock.size(), p + sDecl.size());
  }
  std::memcpy(p, sDecl.data(), sDecl.size());
  sText.resize(nSize);
  String sBody = std::move(sText);
  sText.clear();
  return sBody;
}

// The superclass: a class's is the last component of the name after
// "extends", an interface's the first name it extends as written; "Object"
// when none is named, "nill" for Object itself.  Enums and records extend
// their fixed classes.
void CutSuperClass(const JavaTypeDeclaration& main, String& sSuperClass) {
  if (main.eKind == JavaKind::kEnum || main.eKind == JavaKind::kRecord) {
    sSuperClass = main.eKind == JavaKind::kEnum ? "Enum" : "Record";
    return;
  }
  if (!main.sExtends.empty()) {
    const std::string_view sExtends(main.sExtends);
    const size_t nDot = sExtends.rfind('.');
    const bool bLast = main.eKind == JavaKind::kClass && nDot != std::string_view::npos;
    sSuperClass = String(bLast ? sExtends.substr(nDot + 1) : sExtends);
  }
  if (main.sName == "Object") {
    sSuperClass = "nill";
  } else if (sSuperClass.empty()) {
    sSuperClass = "Object";
  }
}

}  // namespace

JavaTextTools JavaTextTools::Bound(Module& m) {
  JavaTextTools tools = Lazy(m);
  tools.pModule = nullptr;
  tools.pReplace = BindExternal<ext::VtStrReplace>(m, ExternalFunction::VtStrReplace);
  tools.pScanReverse = BindExternal<ext::VtStrScanReverse>(m, ExternalFunction::VtStrScanReverse);
  return tools;
}

String JavaTextTools::Replace(std::string_view sText, std::string_view sSearch, std::string_view sWith) {
  if (pReplace == nullptr) pReplace = BindExternal<ext::VtStrReplace>(*pModule, ExternalFunction::VtStrReplace);
  return pReplace(*pHost, sText, sSearch, sWith);
}

int64_t JavaTextTools::ScanReverse(std::string_view sText, int64_t nStart, std::string_view sKey) {
  if (pScanReverse == nullptr) {
    pScanReverse = BindExternal<ext::VtStrScanReverse>(*pModule, ExternalFunction::VtStrScanReverse);
  }
  return pScanReverse(*pHost, sText, nStart, sKey);
}

std::string_view JavaKindName(JavaKind eKind) {
  const JavaKindRow* pRow = JavaKindRowOf(eKind);
  return pRow == nullptr ? std::string_view() : pRow->sName;
}

std::string_view DeclarationText(std::string_view sBody) {
  const size_t nStart = std::min(sBody.find_first_not_of("\r\n"), sBody.size());
  size_t nEnd = nStart;
  for (int64_t nParens = 0; nEnd < sBody.size(); ++nEnd) {
    const char c = sBody[nEnd];
    if (c == '\r' || c == '\n' || (c == '{' && nParens == 0)) break;
    if (c == '(') ++nParens;
    if (c == ')' && nParens > 0) --nParens;
  }
  return RtStrTrimView(sBody.substr(nStart, nEnd - nStart));
}

JavaKind DeclarationKind(std::string_view sBody) {
  std::string sDecl(DeclarationText(sBody));
  sDecl += " {}";
  const JavaOutline outline = OutlineJava(sDecl);
  if (!outline.aTypes.empty()) return outline.aTypes.front().eKind;
  // A body that starts with no type declaration is a compact source file's
  // class when it holds a method outside any type.
  const bool bCompact = outline.nFirstMethod != std::string_view::npos ||
                        OutlineJava(sBody).nFirstMethod != std::string_view::npos;
  return bCompact ? JavaKind::kClass : JavaKind::kNone;
}

namespace {

// CutJavaText; with pText, sText is *pText, whose memory the body may take.
JavaKind Cut(JavaTextTools& tools, std::string_view sText, String* pText, std::string_view sFileName,
             const JavaSourceFields& out) {
  const LineEnds ends = CountLineEnds(sText.data(), sText.size());
  const JavaLineFeeds eLineFeeds = LineFeedsOf(sText, ends);
  const JavaOutline outline = OutlineJava(sText, eLineFeeds);
  JavaTypeDeclaration implicit;
  const JavaTypeDeclaration* pMain = MainType(outline, sFileName, implicit);
  if (pMain == nullptr) return JavaKind::kNone;
  const JavaTypeDeclaration& main = *pMain;

  // Every part but the body is copied out before the body is made, which
  // may take the text's memory.  The fields are assigned in the order
  // footer, body, heading comment, documentation comment.
  const int64_t nLastBrace = tools.ScanReverse(sText, -1, "}");
  String sFooter = Lines(Mid(sText, nLastBrace + 1, RtStrLength(sText) - nLastBrace), eLineFeeds);
  const String sDecl = DeclarationLine(tools, sText, eLineFeeds, main);
  String sHeader;
  String sDescription;
  CutComments(sText, eLineFeeds, outline, main, sHeader, sDescription);
  out.sFooter = std::move(sFooter);
  // Without a "}" after the "{" the body is the declaration line and what
  // it was given.
  const auto nOpen = static_cast<int64_t>(main.nOpen);
  if (nOpen < nLastBrace) {
    // The block's LF bytes: the text's, less those before and after it.
    const std::string_view vBlock = Mid(sText, nOpen, nLastBrace - nOpen + 1);
    const size_t nLf = eLineFeeds == JavaLineFeeds::kLfAsCrLf
                           ? ends.nLf - CountLf(sText.substr(0, main.nOpen)) -
                                 CountLf(sText.substr(static_cast<size_t>(nLastBrace) + 1))
                           : 0;
    out.sBody = Body(sDecl, vBlock, nLf, pText);
  } else {
    out.sBody = Body(sDecl, out.sBody, 0, nullptr);
  }
  if (!sHeader.empty()) out.sHeader = std::move(sHeader);
  if (!sDescription.empty()) out.sDescription = std::move(sDescription);
  if (outline.bPackage) out.sPackage = String(Trimmed(outline.package.sName));
  int64_t nIndex = 0;
  for (const JavaStatement& import : outline.aImports) out.sImport.Set(nIndex++, String(import.sName));
  out.sClassName = String(main.sName);
  CutSuperClass(main, out.sSuperClass);
  return main.eKind;
}

}  // namespace

size_t JavaCutRoom(std::string_view sText) {
  const LineEnds ends = CountLineEnds(sText.data(), sText.size());
  const bool bLfAsCrLf = LineFeedsOf(sText, ends) == JavaLineFeeds::kLfAsCrLf;
  return sText.size() + (bLfAsCrLf ? ends.nLf : 0);
}

JavaKind CutJavaNames(std::string_view sText, std::string_view sFileName, JavaNames& out) {
  // Whether LF stands for CR LF only decides how a backslash before a line
  // end reads: a text without CR needs no count of its line ends.
  const bool bCr = std::memchr(sText.data(), '\r', sText.size()) != nullptr;
  const JavaLineFeeds eLineFeeds = LineFeedsOf(sText, {0, bCr});
  const JavaOutline outline = OutlineJavaUpTo(sText, eLineFeeds, FileStem(sFileName));
  JavaTypeDeclaration implicit;
  const JavaTypeDeclaration* pMain = MainType(outline, sFileName, implicit);
  if (pMain == nullptr) return JavaKind::kNone;
  if (outline.bPackage) out.sPackage = String(Trimmed(outline.package.sName));
  out.sClassName = String(pMain->sName);
  CutSuperClass(*pMain, out.sSuperClass);
  return pMain->eKind;
}

JavaKind CutJavaText(JavaTextTools& tools, std::string_view sText, std::string_view sFileName,
                     const JavaSourceFields& out) {
  return Cut(tools, sText, nullptr, sFileName, out);
}

JavaKind CutJavaText(JavaTextTools& tools, String&& sText, std::string_view sFileName, const JavaSourceFields& out) {
  return Cut(tools, sText, &sText, sFileName, out);
}

Number ParseJavaSource(Module& m, std::string_view sFile, String& sClassName, String& sSuperClass, String& sPackage,
                       String& sHeader, String& sDescription, String& sFooter, String& sBody, DynArray<String>& sImport,
                       DynArray<String>& /*aUnused1*/, DynArray<String>& /*aUnused2*/, DynArray<String>& /*aUnused3*/,
                       DynArray<String>& /*aUnused4*/, DynArray<String>& /*aUnused5*/, DynArray<String>& /*aUnused6*/) {
  String sText;
  if (!LoadFile(m, sFile, sText)) return Number(0);
  JavaTextTools tools = JavaTextTools::Lazy(m);
  CutJavaText(tools, std::move(sText), sFile,
              {sClassName, sSuperClass, sPackage, sHeader, sDescription, sFooter, sBody, sImport});
  return Number(1);
}

}  // namespace qv
