#include "source/java_parser.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/rt_string.h"
#include "core/runtime.h"
#include "core/toolkit.h"
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

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// Whether sName is a dotted Java name ("java.util.List"); with bStar its
// last component may be "*".
bool IsDottedName(std::string_view sName, bool bStar) {
  if (sName.empty()) return false;
  size_t nStart = 0;
  while (true) {
    const size_t nDot = std::min(sName.find('.', nStart), sName.size());
    const std::string_view sPart = sName.substr(nStart, nDot - nStart);
    const bool bLast = nDot == sName.size();
    const bool bStarPart = bStar && bLast && sPart == "*";
    if (!bStarPart) {
      if (sPart.empty() || (sPart[0] >= '0' && sPart[0] <= '9')) return false;
      for (const char c : sPart) {
        if (!IsJavaNameByte(c)) return false;
      }
    }
    if (bLast) return true;
    nStart = nDot + 1;
  }
}

// A package or import statement's text written over several lines, such as
// "java.util." and "List" on the next line: the name on one line.  With
// bImport a leading "static" and a final ".*" belong to it.  FALSE when the
// text is not such a name (the keyword stood in a comment or a sentence),
// so that the search goes on.
bool JoinDottedName(std::string_view sText, bool bImport, String& sName) {
  std::vector<std::string_view> aParts;
  for (size_t i = 0; i < sText.size();) {
    while (i < sText.size() && IsBlank(sText[i])) ++i;
    const size_t nStart = i;
    while (i < sText.size() && !IsBlank(sText[i])) ++i;
    if (i > nStart) aParts.push_back(sText.substr(nStart, i - nStart));
  }
  size_t nFirst = 0;
  String sJoined;
  if (bImport && aParts.size() > 1 && aParts[0] == "static") {
    sJoined = "static ";
    nFirst = 1;
  }
  const size_t nPrefix = sJoined.size();
  for (size_t k = nFirst; k < aParts.size(); ++k) {
    // Blanks may stand only beside a dot: "java.util. List", not "java util".
    if (k > nFirst && aParts[k - 1].back() != '.' && aParts[k].front() != '.') return false;
    sJoined.append(aParts[k]);
  }
  if (!IsDottedName(std::string_view(sJoined).substr(nPrefix), bImport)) return false;
  sName = std::move(sJoined);
  return true;
}

// The package statement's text, trimmed.  An occurrence of the word whose
// text runs over lines and is no dotted name is not the statement: the
// search goes on to the next one.
void CutPackage(std::string_view sPreamble, const CommentIndex& oComments, String& sPackage) {
  int64_t nPos = RtStrScan(sPreamble, kPackage);
  if (nPos < 0) return;
  const KeyPositions oPackage(sPreamble, kPackage);
  while (true) {
    nPos = oComments.SkipCommented(oPackage, nPos);
    const int64_t nSemi = ScanAt(sPreamble, ";", nPos);
    const std::string_view sText = RtStrTrimView(Mid(sPreamble, nPos + kPackageLength, nSemi - kPackageLength));
    if (!HasLineBreak(sText)) {
      sPackage = String(sText);
      return;
    }
    if (JoinDottedName(sText, false, sPackage)) return;
    nPos = oPackage.ScanNext(nPos);
    if (oPackage.ScanAt(nPos) == -1) return;
  }
}

// The imported names, untrimmed, from index 0.  The first search starts at
// position 7, so an import within the first six characters is not seen.  A
// name written over several lines is stored on one line; other text with a
// line break is no import statement, and the search goes on after its
// "import ".
void CutImports(std::string_view sPreamble, const CommentIndex& oComments, DynArray<String>& sImport) {
  const KeyPositions oImport(sPreamble, kImport);
  int64_t nIndex = 0;
  int64_t nPos = oImport.ScanNext(0);
  while (oImport.ScanAt(nPos) != -1) {
    nPos = oComments.SkipCommented(oImport, nPos);
    if (oComments.InComment(oImport, nPos) != 0) continue;
    const int64_t nSemi = ScanAt(sPreamble, ";", nPos);
    // An "import " with no ";" after it ends the scan: nothing later in the
    // preamble can be a complete import statement.
    if (nSemi == -1) break;
    const std::string_view sText = Mid(sPreamble, nPos + kImportLength, nSemi - kImportLength);
    if (!HasLineBreak(sText)) {
      sImport.Set(nIndex++, String(sText));
    } else if (String sName; JoinDottedName(sText, true, sName)) {
      sImport.Set(nIndex++, std::move(sName));
    } else {
      nPos = oImport.ScanNext(nPos);
      continue;
    }
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

namespace {

// The kind a declaration word introduces.  The first pass knows "class" and
// "interface"; when it names no class, a second pass looks for every
// declaration keyword, "enum", "record" and "@interface" too.
JavaKind KeywordKind(std::string_view sWord, bool bEveryKeyword) {
  if (sWord == "class") return JavaKind::kClass;
  if (sWord == "interface") return JavaKind::kInterface;
  if (bEveryKeyword) {
    if (sWord == "enum") return JavaKind::kEnum;
    if (sWord == "record") return JavaKind::kRecord;
    if (sWord == "@interface") return JavaKind::kAnnotation;
  }
  return JavaKind::kNone;
}

// A type's name as a declaration word holds it: without its type parameters
// and, for a record, its components.
std::string_view TypeName(std::string_view sWord, JavaKind eKind) {
  return sWord.substr(0, sWord.find_first_of(eKind == JavaKind::kRecord ? "<(" : "<"));
}

// A superclass as a declaration word holds it: without its type arguments
// or a comma that lists the next name ("extends A, B" of an interface).
std::string_view SuperName(std::string_view sWord) { return sWord.substr(0, sWord.find_first_of("<,")); }

// The angle-bracket depth after sWord, from the depth before it.
int64_t AngleDepth(int64_t nDepth, std::string_view sWord) {
  for (const char c : sWord) {
    if (c == '<') ++nDepth;
    if (c == '>' && nDepth > 0) --nDepth;
  }
  return nDepth;
}

// The kind named by the last declaration word of the pass, and where that
// word stands (-1 when none).
JavaKind LastKeyword(const DynArray<String>& aWord, int64_t nWords, bool bEveryKeyword, int64_t& nAt) {
  JavaKind eKind = JavaKind::kNone;
  nAt = -1;
  for (int64_t i = 0; i < nWords; ++i) {
    const JavaKind e = KeywordKind(aWord.Get(i), bEveryKeyword);
    if (e == JavaKind::kNone) continue;
    eKind = e;
    nAt = i;
  }
  return eKind;
}

// The first declaration keyword ("class", "interface", "enum", "record" or
// "@interface") that stands as a word outside comments, string and
// character literals, not after a dot, followed by blanks and a name.  -1
// when there is none.
int64_t FindDeclarationKeyword(std::string_view sText) {
  const size_t n = sText.size();
  size_t i = 0;
  while (i < n) {
    const char c = sText[i];
    if (c == '/' && i + 1 < n && sText[i + 1] == '/') {
      i = std::min(sText.find('\n', i), n);
    } else if (c == '/' && i + 1 < n && sText[i + 1] == '*') {
      const size_t nEnd = RtStrFind(sText, "*/", i + 2);
      i = nEnd == std::string_view::npos ? n : nEnd + 2;
    } else if (c == '"' && sText.substr(i, 3) == "\"\"\"") {  // a text block
      const size_t nEnd = RtStrFind(sText, "\"\"\"", i + 3);
      i = nEnd == std::string_view::npos ? n : nEnd + 3;
    } else if (c == '"' || c == '\'') {
      ++i;
      while (i < n && sText[i] != c && sText[i] != '\n') i += sText[i] == '\\' ? 2u : 1u;
      ++i;
    } else if (IsJavaNameByte(c) || c == '@') {
      const size_t nStart = i;
      ++i;
      while (i < n && IsJavaNameByte(sText[i])) ++i;
      const std::string_view sWord = sText.substr(nStart, i - nStart);
      const bool bAfterDot = nStart > 0 && sText[nStart - 1] == '.';
      if (!bAfterDot && KeywordKind(sWord, true) != JavaKind::kNone) {
        size_t j = i;
        while (j < n && IsBlank(sText[j])) ++j;
        if (j > i && j < n && IsJavaNameByte(sText[j])) return static_cast<int64_t>(nStart);
      }
    } else {
      ++i;
    }
  }
  return -1;
}

// Where a declaration stands: its keyword, its body's "{" and its one-line
// text with the words it splits into.
struct Declaration {
  int64_t nKey = -1;
  int64_t nOpen = -1;  // -1: no "{" after the keyword
  String sDecl;        // CR LF, the declaration on one line, a blank; or empty
  DynArray<String> aWord;
  int64_t nWords = 0;
};

Declaration LocateDeclaration(JavaTextTools& tools, std::string_view vText, std::string_view sCRLF, int64_t nKey) {
  Declaration d;
  d.nKey = nKey;
  const int64_t nBraceOffset = ScanAt(vText, "{", nKey);
  if (nBraceOffset != -1) {
    d.nOpen = nKey + nBraceOffset;
    // The declaration runs back to the nearest ";" or "/" before the "{",
    // or to the start of the text when there is none: a file may begin
    // with its declaration, without a package line or a comment.
    const size_t nDelim = vText.find_last_of(";/", static_cast<size_t>(d.nOpen));
    {
      const int64_t t = nDelim == std::string_view::npos ? -1 : static_cast<int64_t>(nDelim);
      // Every line break folds into a blank, the bare LFs of a file that
      // mixes line ends as well as its CR LF pairs.
      const String sOneLine = tools.Replace(tools.Replace(Mid(vText, t + 1, d.nOpen - (t + 1)), sCRLF, " "), "\n", " ");
      d.sDecl = String(sCRLF);
      d.sDecl += RtStrTrimView(sOneLine);
      d.sDecl += ' ';
    }
  }
  d.nWords = RtStrTokenize(RtStrTrimView(tools.Replace(d.sDecl, sCRLF, " ")), "", " ", d.aWord);
  return d;
}

// The declaration the parse names the class by, and how it was found.
struct NamedDeclaration {
  Declaration decl;
  JavaKind eKind = JavaKind::kNone;  // the kind of its last declaration word
  int64_t nNameAt = -1;              // where that word stands; the name follows it
  bool bSecondPass = false;          // found by the second pass
  // Whether a declaration word is followed by a name: a keyword that ends
  // the declaration names nothing.
  bool Named() const { return eKind != JavaKind::kNone && !TypeName(decl.aWord[nNameAt + 1], eKind).empty(); }
};

// The LF bytes of a text, 16 at a time where the machine has SSE2.  Each
// compare leaves -1 in the lanes that hold an LF; subtracting it counts per
// lane, and the lane counts are summed before any of them can pass 255.
// This needs no population count, which plain x86-64 lacks an instruction
// for.
size_t CountLf(const char* p, size_t n) {
  size_t nLf = 0;
  size_t i = 0;
#if defined(__SSE2__)
  constexpr size_t kBlocksPerSum = 255;
  const __m128i vLf = _mm_set1_epi8('\n');
  const __m128i vZero = _mm_setzero_si128();
  while (i + 16 <= n) {
    __m128i vCount = vZero;
    for (size_t k = 0; k < kBlocksPerSum && i + 16 <= n; ++k, i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      vCount = _mm_sub_epi8(vCount, _mm_cmpeq_epi8(v, vLf));
    }
    const __m128i vSums = _mm_sad_epu8(vCount, vZero);
    nLf += static_cast<size_t>(_mm_cvtsi128_si32(vSums)) + static_cast<size_t>(_mm_extract_epi16(vSums, 4));
  }
#endif
  for (; i < n; ++i) nLf += p[i] == '\n' ? 1U : 0U;
  return nLf;
}

// Copies p[0 .. n) to pOut with every LF written as CR LF; pOut holds
// exactly n + CountLf(p, n) bytes.  With SSE2 it copies 16 bytes at a time
// and stops after each LF: every 16-byte store ends within the output,
// since the input it copies lies before the end.
void CopyWithCrLf(const char* p, size_t n, char* pOut) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i vLf = _mm_set1_epi8('\n');
  while (i + 16 <= n) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut), v);
    const auto nMask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, vLf)));
    if (nMask == 0) {
      i += 16;
      pOut += 16;
      continue;
    }
    const auto k = static_cast<size_t>(std::countr_zero(nMask));
    pOut[k] = '\r';
    pOut[k + 1] = '\n';
    pOut += k + 2;
    i += k + 1;
  }
#endif
  for (; i < n; ++i) {
    if (p[i] == '\n') *pOut++ = '\r';
    *pOut++ = p[i];
  }
}

// A text without any CR LF has bare LF line ends: they become CR LF, in
// sSpare.  A whole file passes through here, so it is done by hand (one
// count, one copy) rather than by the general replace.
std::string_view CrLfLineEnds(std::string_view sText, std::string_view sCRLF, String& sSpare) {
  if (RtStrScan(sText, sCRLF) >= 0) return sText;
  const size_t nLf = CountLf(sText.data(), sText.size());
  if (nLf == 0) return sText;
  sSpare.resize(sText.size() + nLf);
  CopyWithCrLf(sText.data(), sText.size(), sSpare.data());
  return sSpare;
}

// The form of the text: any "class" at all selects the class form, else
// any "interface" the interface form; "" when the text holds neither.
std::string_view FormKeyword(std::string_view vText) {
  if (RtStrScan(vText, "class") >= 0) return "class";
  if (RtStrScan(vText, "interface") >= 0) return "interface";
  return {};
}

// The first pass: the form's keyword is its first occurrence that the
// forward test does not put inside a block comment; the declaration around
// it names the class by its last "class" or "interface".
NamedDeclaration FirstPass(JavaTextTools& tools, std::string_view vText, std::string_view sCRLF,
                           std::string_view sKeyword) {
  NamedDeclaration found;
  if (sKeyword.empty()) return found;
  const KeyPositions oKeyword(vText, sKeyword);
  int64_t nKey = oKeyword.FirstFrom(0);
  const CommentIndex oComments(vText);
  nKey = oComments.SkipCommented(oKeyword, nKey);
  found.decl = LocateDeclaration(tools, vText, sCRLF, nKey);
  found.eKind = LastKeyword(found.decl.aWord, found.decl.nWords, false, found.nNameAt);
  return found;
}

// The second pass, for a text whose first pass names no class: it may
// declare an enum, a record or an annotation type, or a class or interface
// that the plain search missed.  The first declaration keyword that stands
// as a word outside comments and literals, when its declaration names a
// type, replaces what the first pass found.
void SecondPass(JavaTextTools& tools, std::string_view vText, std::string_view sCRLF, NamedDeclaration& found) {
  const int64_t nKey = FindDeclarationKeyword(vText);
  if (nKey == -1) return;
  NamedDeclaration later;
  later.decl = LocateDeclaration(tools, vText, sCRLF, nKey);
  later.eKind = LastKeyword(later.decl.aWord, later.decl.nWords, true, later.nNameAt);
  if (!later.Named()) return;
  later.bSecondPass = true;
  found = std::move(later);
}

// The footer: the text after the last "}".  Returns where that "}" stands.
int64_t CutFooter(JavaTextTools& tools, std::string_view vText, String& sFooter) {
  const int64_t nLastBrace = tools.ScanReverse(vText, -1, "}");
  sFooter = String(Mid(vText, nLastBrace + 1, RtStrLength(vText) - nLastBrace));
  return nLastBrace;
}

// The heading comment, only when a comment starts before the keyword.
void CutHeadingComment(std::string_view vText, std::string_view sCRLF, int64_t nKey, String& sHeader) {
  const int64_t nBlock = RtStrScan(vText, "/*");
  const int64_t nLine = RtStrScan(vText, "//");
  const int64_t nDoc = RtStrScan(vText, "/**");
  const auto StartsBeforeKey = [nKey](int64_t n) { return n >= 0 && n < nKey; };
  if (StartsBeforeKey(nBlock) || StartsBeforeKey(nDoc) || StartsBeforeKey(nLine)) {
    CutHeader(vText, sCRLF, nBlock, nLine, nDoc, sHeader);
  }
}

// Package and imports, from the preamble: the text before the keyword.
void CutPackageAndImports(std::string_view vPreamble, const JavaSourceFields& out) {
  if (vPreamble.empty()) return;
  const CommentIndex oPreambleComments(vPreamble);
  CutPackage(vPreamble, oPreambleComments, out.sPackage);
  CutImports(vPreamble, oPreambleComments, out.sImport);
}

// The body: the one-line declaration, then the text from the body's "{" to
// the last "}".  Without a "{" ... "}" the declaration goes in front of the
// body passed in.  The body is most of a file: it is copied once.
void CutBody(std::string_view vText, const Declaration& decl, int64_t nLastBrace, String& sBody) {
  const bool bBlock = decl.nOpen != -1 && decl.nOpen < nLastBrace;
  const std::string_view vBlock = bBlock ? Mid(vText, decl.nOpen, nLastBrace - decl.nOpen + 1) : sBody;
  if (decl.sDecl.empty()) {
    if (bBlock) sBody = String(vBlock);
    return;
  }
  String sWhole;
  sWhole.reserve(decl.sDecl.size() + vBlock.size());
  sWhole.append(decl.sDecl).append(vBlock);
  sBody = std::move(sWhole);
}

// The name: the word after the last declaration keyword.  In the first
// pass every word "class" names the class again: a dotted name is shown
// for each, though only the last name stays.
void CutName(const NamedDeclaration& found, String& sClassName, std::vector<String>& aDottedNames) {
  if (found.eKind == JavaKind::kNone) return;
  const DynArray<String>& aWord = found.decl.aWord;
  for (int64_t i = 0; i < found.nNameAt && !found.bSecondPass; ++i) {
    if (aWord[i] != "class") continue;
    const std::string_view sName = TypeName(aWord[i + 1], JavaKind::kClass);
    if (sName.find('.') != std::string_view::npos) aDottedNames.emplace_back(sName);
  }
  sClassName = String(TypeName(aWord[found.nNameAt + 1], found.eKind));
  if (found.eKind == JavaKind::kClass && RtStrScan(sClassName, ".") >= 0) aDottedNames.push_back(sClassName);
}

// The superclass named after "extends" (outside the type parameters; the
// last such word); a dotted one of the class form keeps its last component.
void CutExtends(const Declaration& decl, bool bClassForm, String& sSuperClass) {
  DynArray<String> aSplit;
  const DynArray<String>* pWords = &decl.aWord;
  int64_t nWords = decl.nWords;
  int64_t nDepth = 0;
  for (int64_t i = 0; i < nWords; ++i) {
    const bool bOutside = nDepth == 0;
    nDepth = AngleDepth(nDepth, (*pWords)[i]);
    if (!bOutside || (*pWords)[i] != "extends") continue;
    sSuperClass = String(SuperName((*pWords)[i + 1]));
    if (bClassForm && ScanAt(sSuperClass, ".", 0) > -1) {
      // nWords is read afresh on every pass: the dotted name's components
      // take the place of the declaration's words.
      nWords = RtStrTokenize(sSuperClass, "", ".", aSplit);
      pWords = &aSplit;
      sSuperClass = aSplit[nWords - 1];
    }
  }
}

// The superclass, of a class, of an interface of the interface form and of
// an annotation type: the one after "extends", "Object" when none, "nill"
// for Object itself.  An interface found in the class form gets none.
// Enums and records extend their fixed classes.
void CutSuperClass(const NamedDeclaration& found, bool bClassForm, const String& sClassName, String& sSuperClass) {
  const JavaKind eKind = found.eKind;
  if (eKind == JavaKind::kEnum || eKind == JavaKind::kRecord) {
    sSuperClass = eKind == JavaKind::kEnum ? "Enum" : "Record";
    return;
  }
  if (!((eKind == JavaKind::kClass && bClassForm) || (eKind == JavaKind::kInterface && !bClassForm) ||
        eKind == JavaKind::kAnnotation)) {
    return;
  }
  CutExtends(found.decl, bClassForm, sSuperClass);
  if (sClassName == "Object") {
    sSuperClass = "nill";
  } else if (sSuperClass.empty()) {
    sSuperClass = "Object";
  }
}

}  // namespace

std::string_view JavaKindName(JavaKind eKind) {
  switch (eKind) {
    case JavaKind::kClass:
      return "class";
    case JavaKind::kInterface:
      return "interface";
    case JavaKind::kEnum:
      return "enum";
    case JavaKind::kRecord:
      return "record";
    case JavaKind::kAnnotation:
      return "annotation";
    case JavaKind::kNone:
      break;
  }
  return "";
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
  DynArray<String> aWord;
  const int64_t nWords = RtStrTokenize(DeclarationText(sBody), "", " ", aWord);
  int64_t nAt = -1;
  const JavaKind eKind = LastKeyword(aWord, nWords, false, nAt);
  return eKind != JavaKind::kNone ? eKind : LastKeyword(aWord, nWords, true, nAt);
}

JavaKind CutJavaText(JavaTextTools& tools, std::string_view sText, String& sSpare, const JavaSourceFields& out,
                     std::vector<String>& aDottedNames) {
  const String sCRLF = RtCharToStr(13) + RtCharToStr(10);
  const std::string_view vText = CrLfLineEnds(sText, sCRLF, sSpare);

  const std::string_view sKeyword = FormKeyword(vText);
  NamedDeclaration found = FirstPass(tools, vText, sCRLF, sKeyword);
  const bool bNamed = found.Named();
  if (!bNamed) {
    SecondPass(tools, vText, sCRLF, found);
    if (!found.bSecondPass && sKeyword.empty()) return JavaKind::kNone;
  }
  // The second pass treats an interface as the interface form does.
  const bool bClassForm = found.bSecondPass ? found.eKind == JavaKind::kClass : sKeyword == "class";

  const int64_t nLastBrace = CutFooter(tools, vText, out.sFooter);
  CutHeadingComment(vText, sCRLF, found.decl.nKey, out.sHeader);
  const std::string_view vPreamble = Mid(vText, 0, found.decl.nKey);
  CutPackageAndImports(vPreamble, out);
  CutBody(vText, found.decl, nLastBrace, out.sBody);
  CutName(found, out.sClassName, aDottedNames);
  CutSuperClass(found, bClassForm, out.sClassName, out.sSuperClass);
  CutDescription(vPreamble, out.sDescription);
  return bNamed || found.bSecondPass ? found.eKind : JavaKind::kNone;
}

Number ParseJavaSource(Module& m, std::string_view sFile, String& sClassName, String& sSuperClass, String& sPackage,
                       String& sHeader, String& sDescription, String& sFooter, String& sBody, DynArray<String>& sImport,
                       DynArray<String>& /*aUnused1*/, DynArray<String>& /*aUnused2*/, DynArray<String>& /*aUnused3*/,
                       DynArray<String>& /*aUnused4*/, DynArray<String>& /*aUnused5*/, DynArray<String>& /*aUnused6*/) {
  String sText;
  if (!LoadFile(m, sFile, sText)) return Number(0);
  std::vector<String> aDottedNames;
  JavaTextTools tools = JavaTextTools::Lazy(m);
  String sSpare;
  CutJavaText(tools, sText, sSpare, {sClassName, sSuperClass, sPackage, sHeader, sDescription, sFooter, sBody, sImport},
              aDottedNames);
  ShowDottedNames(m, aDottedNames);
  return Number(1);
}

void ShowDottedNames(Module& m, const std::vector<String>& aDottedNames) {
  for (const String& sName : aDottedNames) RtMessageBox(m, sName, kDotsCaption, 0);
}

bool IsJavaNameByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || c == '_' || c == '$' ||
         u >= 0x80;
}

}  // namespace qv
