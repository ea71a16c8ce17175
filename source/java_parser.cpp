#include "source/java_parser.h"

#include "frame/rt_string.h"
#include "frame/runtime.h"
#include "frame/toolkit.h"
#include "source/text_index.h"
#include "source/text_utils.h"

// The parser cuts by position.  Every search below is one of the text
// utilities' questions; the repeated ones (is this keyword occurrence inside
// a block comment, where is the next one) are answered from a KeyPositions /
// CommentIndex built once per text, with the same answers as the plain
// functions, so that a file costs time linear in its size whatever its
// comments hold.

namespace qv {
namespace {

constexpr std::string_view kPackage = "package";
constexpr std::string_view kImport = "import ";  // with its trailing blank
constexpr int64_t kPackageLength = 7;
constexpr int64_t kImportLength = 7;
constexpr std::string_view kDotsCaption = ".......";

// StrScanAt as an integer position (relative to nPos, -1 when absent).
int64_t ScanAt(std::string_view sText, std::string_view sKey, int64_t nPos) {
  return StrScanAt(sText, sKey, Number(nPos)).AsInt64();
}

std::string_view Mid(std::string_view sText, int64_t nPos, int64_t nLength) {
  return StrMidXView(sText, Number(nPos), Number(nLength));
}

// Whether sText holds sKey at nPos (false when it would run past the end).
bool HasAt(std::string_view sText, int64_t nPos, std::string_view sKey) {
  return nPos >= 0 && nPos <= RtStrLength(sText) && sText.substr(static_cast<size_t>(nPos)).starts_with(sKey);
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

// The heading comment: the first comment of the file when a comment starts
// before the keyword and, if the file has a documentation comment, a plain
// one starts before it.  A line comment is taken with its CR LF.
void CutHeader(std::string_view sText, std::string_view sCRLF, int64_t nBlock, int64_t nLine, int64_t nDoc,
               String& sHeader) {
  const auto CutBlock = [&] {
    const int64_t nEnd = ScanAt(sText, "*/", nBlock);
    sHeader = String(Mid(sText, nBlock, nEnd + 2));
  };
  if (nDoc == -1) {
    if (nBlock == -1 && nLine == -1) return;
    if (nLine != -1 && (nBlock == -1 || nLine < nBlock)) {
      const int64_t nEnd = ScanAt(sText, sCRLF, nLine);
      sHeader = String(Mid(sText, nLine, nEnd + 2));
    } else {
      CutBlock();
    }
    return;
  }
  if (!((nBlock != -1 && nBlock < nDoc) || (nLine != -1 && nLine < nDoc))) return;
  if (nLine != -1 && nLine < nBlock) {
    const int64_t nEnd = ScanAt(sText, sCRLF, nLine);
    sHeader = String(Mid(sText, nLine, nEnd));
    sHeader += sCRLF;
  } else {
    CutBlock();
  }
}

// The package statement's text, trimmed.
void CutPackage(std::string_view sPreamble, const CommentIndex& oComments, String& sPackage) {
  int64_t nPos = RtStrScan(sPreamble, kPackage);
  if (nPos < 0) return;
  const KeyPositions oPackage(sPreamble, kPackage);
  while (oComments.InComment(oPackage, nPos) == 1) nPos = oPackage.ScanNext(nPos);
  const int64_t nSemi = ScanAt(sPreamble, ";", nPos);
  sPackage = RtStrTrim(Mid(sPreamble, nPos + kPackageLength, nSemi - kPackageLength));
}

// The imported names, untrimmed, from index 0.  The first search starts at
// position 7, so an import within the first six characters is not seen.
void CutImports(std::string_view sPreamble, const CommentIndex& oComments, DynArray<String>& sImport) {
  const KeyPositions oImport(sPreamble, kImport);
  int64_t nIndex = 0;
  int64_t nPos = oImport.ScanNext(0);
  while (oImport.ScanAt(nPos) != -1) {
    while (oComments.InComment(oImport, nPos) == 1) nPos = oImport.ScanNext(nPos);
    if (oComments.InComment(oImport, nPos) != 0) continue;
    const int64_t nSemi = ScanAt(sPreamble, ";", nPos);
    // An "import " with no ";" after it ends the scan: nothing later in the
    // preamble can be a complete import statement.
    if (nSemi == -1) break;
    sImport.Set(nIndex++, String(Mid(sPreamble, nPos + kImportLength, nSemi - kImportLength)));
    nPos += nSemi;
    nPos = oImport.ScanNext(nPos - kImportLength);  // the next search starts at the ";"
  }
}

// The documentation comment in front of the class: walking back from the
// end of the preamble to its last ";", the first "/**" ... "*/" met last.
void CutDescription(std::string_view sPreamble, String& sDescription) {
  if (RtStrScan(sPreamble, "/**") == -1) return;
  int64_t nDoc = -1;
  int64_t nEnd = 0;
  int64_t t = RtStrLength(sPreamble);
  while (t > 0) {
    if (HasAt(sPreamble, t, ";")) break;
    if (HasAt(sPreamble, t, "*/")) {
      nEnd = t;
      // Back to the "/**" that opens this comment (or to the start of the
      // preamble when the comment is a plain "/*" one without a "/**"
      // before it); t only moves back, so the whole walk is linear.
      while (t > 0) {
        if (HasAt(sPreamble, t, "/**")) break;
        nDoc = t;
        --t;
      }
    }
    --t;
  }
  if (nDoc > -1) sDescription = String(Mid(sPreamble, nDoc - 1, nEnd - nDoc + 3));
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

bool CutJavaText(JavaTextTools& tools, String& sText, const JavaSourceFields& out,
                 std::vector<String>& aDottedNames) {
  String& sClassName = out.sClassName;
  String& sSuperClass = out.sSuperClass;
  String& sPackage = out.sPackage;
  String& sHeader = out.sHeader;
  String& sDescription = out.sDescription;
  String& sFooter = out.sFooter;
  String& sBody = out.sBody;
  DynArray<String>& sImport = out.sImport;
  const auto Replace = [&tools](std::string_view sIn, std::string_view sSearch, std::string_view sWith) {
    return tools.Replace(sIn, sSearch, sWith);
  };
  const String sCRLF = RtCharToStr(13) + RtCharToStr(10);

  // A text without any CR LF has bare LF line ends: make them CR LF.
  if (RtStrScan(sText, sCRLF) == -1) sText = Replace(sText, RtStrRight(sCRLF, 1), sCRLF);

  // The form: any "class" at all selects the class form.
  std::string_view sKeyword;
  if (RtStrScan(sText, "class") >= 0) {
    sKeyword = "class";
  } else if (RtStrScan(sText, "interface") >= 0) {
    sKeyword = "interface";
  } else {
    return false;
  }
  const bool bClassForm = sKeyword == "class";
  const std::string_view vText = sText;

  // Last brace and footer.
  const int64_t nLength = RtStrLength(vText);
  const int64_t nLastBrace = tools.ScanReverse(vText, -1, "}");
  sFooter = String(Mid(vText, nLastBrace + 1, nLength - nLastBrace));

  // The keyword, skipping occurrences that the forward test puts inside a
  // block comment.
  const int64_t nBlock = RtStrScan(vText, "/*");
  const int64_t nLine = RtStrScan(vText, "//");
  const int64_t nDoc = RtStrScan(vText, "/**");
  const KeyPositions oKeyword(vText, sKeyword);
  int64_t nKey = oKeyword.FirstFrom(0);
  {
    const CommentIndex oComments(vText);
    while (oComments.InComment(oKeyword, nKey) == 1) nKey = oKeyword.ScanNext(nKey);
  }

  // Heading comment and preamble, only when a comment starts before the
  // keyword; otherwise the preamble stays empty and package, imports and
  // description are not looked for.
  const auto StartsBeforeKey = [nKey](int64_t n) { return n >= 0 && n < nKey; };
  std::string_view vPreamble;
  if (StartsBeforeKey(nBlock) || StartsBeforeKey(nDoc) || StartsBeforeKey(nLine)) {
    CutHeader(vText, sCRLF, nBlock, nLine, nDoc, sHeader);
    vPreamble = Mid(vText, 0, nKey);
  }

  if (!vPreamble.empty()) {
    const CommentIndex oPreambleComments(vPreamble);
    CutPackage(vPreamble, oPreambleComments, sPackage);
    CutImports(vPreamble, oPreambleComments, sImport);
  }

  // Body and declaration.  Without a "{" after the keyword there is no body
  // and no declaration.
  String sDecl;
  const int64_t nBraceOffset = ScanAt(vText, "{", nKey);
  if (nBraceOffset != -1) {
    const int64_t nOpen = nKey + nBraceOffset;
    if (nOpen < nLastBrace) sBody = String(Mid(vText, nOpen, nLastBrace - nOpen + 1));
    // The declaration runs back to the nearest ";" or "/" before the "{";
    // position 0 is never taken as that delimiter.
    const size_t nDelim = vText.find_last_of(";/", static_cast<size_t>(nOpen));
    if (nDelim != std::string_view::npos && nDelim > 0) {
      const int64_t t = static_cast<int64_t>(nDelim);
      // Every line break folds into a blank, the bare LFs of a file that
      // mixes line ends as well as its CR LF pairs.
      const String sOneLine = Replace(Replace(Mid(vText, t + 1, nOpen - (t + 1)), sCRLF, " "), "\n", " ");
      sDecl = sCRLF;
      sDecl += RtStrTrimView(sOneLine);
      sDecl += ' ';
      sBody = sDecl + sBody;
    }
  }
  DynArray<String> aWord;
  int64_t nWords = RtStrTokenize(RtStrTrimView(Replace(sDecl, sCRLF, " ")), "", " ", aWord);

  // Name, kind and superclass.  Every match assigns again: the last wins.
  int nKind = 0;
  for (int64_t i = 0; i < nWords; ++i) {
    if (aWord[i] == sKeyword) {
      nKind = 1;
      sClassName = aWord[i + 1];
      if (bClassForm && RtStrScan(sClassName, ".") >= 0) aDottedNames.push_back(sClassName);
    } else if (bClassForm && aWord[i] == "interface") {
      nKind = 2;
      sClassName = aWord[i + 1];
    }
  }
  if (nKind == 1) {
    // nWords is read afresh on every pass: a dotted superclass of the class
    // form is split into the same word array.
    for (int64_t i = 0; i < nWords; ++i) {
      if (aWord[i] != "extends") continue;
      sSuperClass = aWord[i + 1];
      if (bClassForm && ScanAt(sSuperClass, ".", 0) > -1) {
        nWords = RtStrTokenize(sSuperClass, "", ".", aWord);
        sSuperClass = aWord[nWords - 1];
      }
    }
    if (sClassName == "Object") {
      sSuperClass = "nill";
    } else if (sSuperClass.empty()) {
      sSuperClass = "Object";
    }
  }

  // Description.
  CutDescription(vPreamble, sDescription);
  return true;
}


Number ParseJavaSource(Module& m, std::string_view sFile, String& sClassName, String& sSuperClass,
                       String& sPackage, String& sHeader, String& sDescription, String& sFooter, String& sBody,
                       DynArray<String>& sImport, DynArray<String>& /*aUnused1*/, DynArray<String>& /*aUnused2*/,
                       DynArray<String>& /*aUnused3*/, DynArray<String>& /*aUnused4*/,
                       DynArray<String>& /*aUnused5*/, DynArray<String>& /*aUnused6*/) {
  String sText;
  if (!LoadFile(m, sFile, sText)) return Number(0);
  std::vector<String> aDottedNames;
  JavaTextTools tools = JavaTextTools::Lazy(m);
  CutJavaText(tools, sText,
              {sClassName, sSuperClass, sPackage, sHeader, sDescription, sFooter, sBody, sImport}, aDottedNames);
  ShowDottedNames(m, aDottedNames);
  return Number(1);
}

void ShowDottedNames(Module& m, const std::vector<String>& aDottedNames) {
  for (const String& sName : aDottedNames) RtMessageBox(m, sName, kDotsCaption, 0);
}

}  // namespace qv
