// SPDX-License-Identifier: Apache-2.0
#include "repository/repository_format.h"

#include <algorithm>

#include "core/convert.h"
#include "core/rt_string.h"
#include "core/toolkit.h"

namespace qv::format {

namespace {

// What a multi-line text is after a store and a load with a token that
// never collides: every CR CR LF stays, every LF left over becomes one.
String NormaliseLineBreaks(std::string_view sText) {
  String sOut;
  sOut.reserve(sText.size() + sText.size() / 16);
  auto AppendSegment = [&sOut](std::string_view sSegment) {
    size_t nFrom = 0;
    for (size_t nAt = sSegment.find('\n'); nAt != std::string_view::npos; nAt = sSegment.find('\n', nFrom)) {
      sOut.append(sSegment.substr(nFrom, nAt - nFrom)).append(kLineBreak);
      nFrom = nAt + 1;
    }
    sOut.append(sSegment.substr(nFrom));
  };
  size_t nFrom = 0;
  for (size_t nAt = sText.find(kLineBreak); nAt != std::string_view::npos; nAt = sText.find(kLineBreak, nFrom)) {
    AppendSegment(sText.substr(nFrom, nAt - nFrom));
    sOut.append(kLineBreak);
    nFrom = nAt + kLineBreak.size();
  }
  AppendSegment(sText.substr(nFrom));
  return sOut;
}

bool Contains(std::string_view sText, std::string_view sKey) {
  return !sKey.empty() && sText.find(sKey) != std::string_view::npos;
}

// Whether sWhole holds sPart at nAt.
bool HoldsAt(std::string_view sWhole, size_t nAt, std::string_view sPart) {
  return nAt <= sWhole.size() && sWhole.size() - nAt >= sPart.size() && sWhole.compare(nAt, sPart.size(), sPart) == 0;
}

// DecodeText(sField, sToken) == sExpected, without building the decoded
// text: the check runs on every text the writer stores, whole class bodies
// among them.
bool DecodesTo(std::string_view sField, std::string_view sToken, std::string_view sExpected) {
  if (sToken.empty()) return sField == sExpected;
  size_t nFrom = 0;
  size_t nOut = 0;
  for (size_t nAt = sField.find(sToken); nAt != std::string_view::npos; nAt = sField.find(sToken, nFrom)) {
    const std::string_view sPiece = sField.substr(nFrom, nAt - nFrom);
    if (!HoldsAt(sExpected, nOut, sPiece)) return false;
    nOut += sPiece.size();
    if (!HoldsAt(sExpected, nOut, kLineBreak)) return false;
    nOut += kLineBreak.size();
    nFrom = nAt + sToken.size();
  }
  return nOut <= sExpected.size() && sExpected.substr(nOut) == sField.substr(nFrom);
}

}  // namespace

void SplitFields(std::string_view sLine, std::string_view sDelimiter, std::vector<std::string_view>& aFields) {
  aFields.clear();
  if (sDelimiter.empty()) {
    if (!sLine.empty()) aFields.push_back(sLine);
    return;
  }
  size_t nFrom = 0;
  for (size_t nAt = sLine.find(sDelimiter); nAt != std::string_view::npos; nAt = sLine.find(sDelimiter, nFrom)) {
    aFields.push_back(sLine.substr(nFrom, nAt - nFrom));
    nFrom = nAt + sDelimiter.size();
  }
  if (nFrom < sLine.size()) aFields.push_back(sLine.substr(nFrom));
}

bool SplitRecord(std::string_view sLine, std::string_view sDelimiter, size_t nFields, LineTrim eTrim,
                 std::vector<std::string_view>& aFields) {
  SplitFields(sLine, sDelimiter, aFields);
  if (aFields.size() > nFields && aFields[nFields] == kExactMarker) return true;
  if (eTrim == LineTrim::kWholeLine) SplitFields(RtStrTrimView(sLine), sDelimiter, aFields);
  return false;
}

std::string_view FieldOf(const std::vector<std::string_view>& aFields, size_t k, bool bTrim) {
  const std::string_view sField = FieldAt(aFields, k);
  return bTrim ? RtStrTrimView(sField) : sField;
}

void SplitImports(std::string_view sField, std::string_view sToken, std::vector<std::string_view>& aImports) {
  SplitFields(sField, sToken, aImports);
  std::erase_if(aImports, [](std::string_view s) { return s.empty(); });
}

String DecodeText(JavaTextTools& tools, std::string_view sField, std::string_view sToken) {
  if (sToken.empty() || sField.find(sToken) == std::string_view::npos) return String(sField);
  return tools.Replace(sField, sToken, kLineBreak);
}

String DecodeText(Module& m, std::string_view sField, std::string_view sToken) {
  JavaTextTools tools = JavaTextTools::Lazy(m);
  return DecodeText(tools, sField, sToken);
}

String EncodeText(JavaTextTools& tools, std::string_view sText, std::string_view sToken) {
  if (sText.find('\n') == std::string_view::npos) return String(sText);
  // Each replacement is made only where it finds something: a source with
  // bare LF line ends holds no stored line break.
  if (sText.find(kLineBreak) == std::string_view::npos) return tools.Replace(sText, "\n", sToken);
  String sEncoded = tools.Replace(sText, kLineBreak, sToken);
  if (sEncoded.find('\n') == std::string_view::npos) return sEncoded;
  return tools.Replace(sEncoded, "\n", sToken);
}

namespace {

// Whether EncodeInPlace can encode with sToken: a token of one character
// that is no line break never makes a line break of its own.
bool EncodesInPlace(std::string_view sToken) { return sToken.size() == 1 && sToken[0] != '\r' && sToken[0] != '\n'; }

// EncodeText's result made in sText's own memory (EncodesInPlace(sToken)):
// one pass that puts the token for each stored line break and then for
// each LF left, as the two replacements do one after the other.
void EncodeInPlace(String& sText, char cToken) {
  size_t nOut = sText.find('\n');
  if (nOut == std::string_view::npos) return;
  // Only a line break that ends at this LF or later can start before it.
  nOut = nOut >= kLineBreak.size() - 1 ? nOut - (kLineBreak.size() - 1) : 0;
  char* p = sText.data();
  const size_t n = sText.size();
  for (size_t i = nOut; i < n;) {
    if (std::string_view(p + i, n - i).starts_with(kLineBreak)) {
      p[nOut++] = cToken;
      i += kLineBreak.size();
    } else {
      p[nOut++] = p[i] == '\n' ? cToken : p[i];
      ++i;
    }
  }
  sText.resize(nOut);
}

}  // namespace

String EncodeText(Module& m, std::string_view sText, std::string_view sToken) {
  JavaTextTools tools = JavaTextTools::Lazy(m);
  return EncodeText(tools, sText, sToken);
}

RecordLine::RecordLine(const JavaTextTools& tools, std::string_view sDelimiter, std::string_view sToken, LineTrim eTrim)
    : tools_(tools), sDelimiter_(sDelimiter), sToken_(sToken), eTrim_(eTrim) {
  aFields_.reserve(kClassFieldCount);
}

RecordLine::RecordLine(Module& m, std::string_view sDelimiter, std::string_view sToken, LineTrim eTrim)
    : RecordLine(JavaTextTools::Lazy(m), sDelimiter, sToken, eTrim) {}

void RecordLine::Check(Pending& field, std::string_view sOriginal, bool bText) {
  CheckStored(field, sOriginal, bText, bText && Contains(sOriginal, sToken_));
}

void RecordLine::CheckStored(Pending& field, std::string_view sOriginal, bool bText, bool bHoldsToken) {
  if (bHoldsToken) {
    field.sProblem = "contains the line-break token";
  } else if (!bText && sOriginal.find('\n') != std::string_view::npos) {
    field.sProblem = "contains a line break";
  } else if (Contains(field.sStored, sDelimiter_)) {
    field.sProblem = "contains the delimiter";
  } else if (bText) {
    // A one-character token other than CR and LF that the text does not
    // hold stands for exactly the line breaks, so the stored text decodes
    // to the text with its line breaks made whole.  Any other token may
    // overlap what surrounds it, and the decoded text is compared.
    if (sToken_.size() == 1 && sToken_[0] != '\r' && sToken_[0] != '\n') {
      field.bRoundTrips = true;
      return;
    }
    field.sExpected = NormaliseLineBreaks(sOriginal);
    if (!DecodesTo(field.sStored, sToken_, field.sExpected)) {
      field.sProblem = "would not read back with this line-break token";
    }
  }
}

String RecordLine::Expected(const Pending& field, std::string_view sStored) {
  return field.bRoundTrips ? DecodeText(tools_, sStored, sToken_) : field.sExpected;
}

std::string_view RecordLine::Stored(const Pending& field, std::string_view sLine) {
  return field.nInLine == std::string_view::npos ? std::string_view(field.sStored)
                                                 : sLine.substr(field.nInLine, field.nStoredSize);
}

void RecordLine::AddPlain(std::string_view sLabel, std::string_view sValue, bool bTrimmed) {
  Pending& field = aFields_.emplace_back(
      Pending{sLabel, String(sValue), {}, Kind::kPlain, bTrimmed, String(sValue), {}});
  Check(field, sValue, false);
}

void RecordLine::AddText(std::string_view sLabel, std::string_view sText, bool bTrimmed) {
  Pending& field = aFields_.emplace_back(
      Pending{sLabel, EncodeText(tools_, sText, sToken_), {}, Kind::kText, bTrimmed, {}, {}});
  Check(field, sText, true);
}

void RecordLine::AddText(std::string_view sLabel, String&& sText, bool bTrimmed) {
  if (!EncodesInPlace(sToken_)) {
    AddText(sLabel, std::string_view(sText), bTrimmed);
    String().swap(sText);
    return;
  }
  // A one-character token decodes to the text by itself (CheckStored), so
  // the original is not needed once it is known whether it holds the token.
  const bool bHoldsToken = Contains(sText, sToken_);
  EncodeInPlace(sText, sToken_[0]);
  Pending& field = aFields_.emplace_back(Pending{sLabel, std::move(sText), {}, Kind::kText, bTrimmed, {}, {}});
  CheckStored(field, {}, true, bHoldsToken);
}

void RecordLine::AddImports(const DynArray<String>& aImports) {
  Pending& field = aFields_.emplace_back(Pending{"imports", {}, {}, Kind::kImports, true, {}, {}});
  // Every entry counts, also those behind an empty one: a gap in the list
  // must not cost the entries after it.
  for (int64_t j = 0; j < aImports.Count(); ++j) {
    const String& sImport = aImports[j];
    if (sImport.empty()) continue;
    if (field.sProblem.empty()) {
      if (Contains(sImport, sToken_)) field.sProblem = "contain the line-break token";
      if (sImport.find('\n') != std::string_view::npos) field.sProblem = "contain a line break";
    }
    field.sStored.append(sImport).append(sToken_);
    field.aImports.push_back(sImport);
  }
  if (!field.sProblem.empty()) return;
  if (Contains(field.sStored, sDelimiter_)) {
    field.sProblem = "contain the delimiter";
    return;
  }
  std::vector<std::string_view> aRead;
  SplitImports(field.sStored, sToken_, aRead);
  if (!std::equal(aRead.begin(), aRead.end(), field.aImports.begin(), field.aImports.end())) {
    field.sProblem = "would not read back with this line-break token";
  }
}

int64_t RecordLine::FirstChanged(std::string_view sLine) {
  // The line reader drops a CR before the line's end.
  if (!sLine.empty() && sLine.back() == '\r') return static_cast<int64_t>(aFields_.size()) - 1;
  std::vector<std::string_view> aRead, aImports;
  const bool bExact = SplitRecord(sLine, sDelimiter_, aFields_.size(), eTrim_, aRead);
  for (size_t k = 0; k < aFields_.size(); ++k) {
    const Pending& field = aFields_[k];
    const std::string_view sRead = FieldOf(aRead, k, !bExact && field.bTrimmed && eTrim_ == LineTrim::kEachField);
    bool bSame = false;
    switch (field.eKind) {
      case Kind::kPlain:
        bSame = sRead == field.sExpected;
        break;
      case Kind::kText:
        // Finish runs this only when Check found no problem, so a field
        // read back as stored decodes as expected.
        bSame = sRead == Stored(field, sLine) || DecodesTo(sRead, sToken_, Expected(field, Stored(field, sLine)));
        break;
      case Kind::kImports:
        SplitImports(sRead, sToken_, aImports);
        bSame = std::equal(aImports.begin(), aImports.end(), field.aImports.begin(), field.aImports.end());
        break;
    }
    if (!bSame) return static_cast<int64_t>(k);
  }
  return -1;
}

bool RecordLine::Finish(String& sLine, String& sError) {
  sLine.clear();
  sError.clear();
  if (sDelimiter_.empty()) {
    sError = "the delimiter is empty";
    return false;
  }
  for (const Pending& field : aFields_) {
    if (!field.sProblem.empty()) {
      sError.append(field.sLabel).append(" ").append(field.sProblem);
      return false;
    }
  }
  size_t nSize = kExactMarker.size() + sDelimiter_.size();
  for (const Pending& field : aFields_) nSize += field.sStored.size() + sDelimiter_.size();
  // A field whose memory has room for the whole line, a large class body
  // most likely, becomes the line: what comes before it is moved in front,
  // so that the line costs no second copy of it.
  const auto itHost = std::find_if(aFields_.begin(), aFields_.end(), [nSize](const Pending& field) {
    return field.sStored.size() >= kLineInField && field.sStored.capacity() >= nSize;
  });
  if (itHost != aFields_.end()) {
    size_t nBefore = 0;
    for (auto it = aFields_.begin(); it != itHost; ++it) nBefore += it->sStored.size() + sDelimiter_.size();
    itHost->nInLine = nBefore;
    itHost->nStoredSize = itHost->sStored.size();
    sLine = std::move(itHost->sStored);
    sLine.insert(0, nBefore, ' ');
    size_t nAt = 0;
    for (auto it = aFields_.begin(); it != itHost; ++it) {
      nAt += it->sStored.copy(sLine.data() + nAt, it->sStored.size());
      nAt += sDelimiter_.copy(sLine.data() + nAt, sDelimiter_.size());
    }
    sLine.append(sDelimiter_);
    for (auto it = itHost + 1; it != aFields_.end(); ++it) sLine.append(it->sStored).append(sDelimiter_);
  } else {
    sLine.reserve(nSize);
    for (const Pending& field : aFields_) sLine.append(field.sStored).append(sDelimiter_);
  }
  if (FirstChanged(sLine) == -1) return true;
  // Some field would lose blanks at its edges, or a delimiter straddles two
  // fields: the marked line is read as it stands.
  sLine.append(kExactMarker).append(sDelimiter_);
  const int64_t nChanged = FirstChanged(sLine);
  if (nChanged == -1) return true;
  sError = "the fields would not read back with this delimiter";
  if (!sLine.empty() && sLine.back() == '\r') sError = "the delimiter ends in a carriage return";
  sLine.clear();
  return false;
}

std::string_view FileNameOf(std::string_view sPath) {
  const size_t nSeparator = sPath.find_last_of("\\/");
  return nSeparator == std::string_view::npos ? sPath : sPath.substr(nSeparator + 1);
}

std::string_view BaseName(std::string_view sFile) {
  const size_t nNameStart = sFile.size() - FileNameOf(sFile).size();
  const size_t nDot = sFile.find('.', nNameStart);
  return nDot == std::string_view::npos ? sFile : sFile.substr(0, nDot);
}

String HistoryCopyName(std::string_view sFile, int64_t n) {
  String sName(BaseName(sFile));
  if (n < 10) {
    sName.append(".00");
  } else if (n < 100) {
    sName.append(".0");
  } else {
    sName.append(".");
  }
  sName.append(RtNumberToStr(Number(n), 0));
  return sName;
}

String MethodFilePath(std::string_view sDirectory, std::string_view sFileName) {
  String sPath(sDirectory);
  sPath.append("\\").append(BaseName(sFileName)).append(kMethodFileExtension);
  return sPath;
}

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Whether c is written %XX in a folder or file name: the escape itself, a
// colon (a drive, or a Windows alternate data stream), what a Windows name
// cannot hold, and the control characters.
bool NeedsEscape(char c) {
  const auto n = static_cast<unsigned char>(c);
  return n < 0x20 || n == 0x7F || std::string_view("%:<>\"|?*").find(c) != std::string_view::npos;
}

void AppendEscaped(String& sOut, char c) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  const auto n = static_cast<unsigned char>(c);
  sOut.push_back('%');
  sOut.push_back(kHex[n >> 4]);
  sOut.push_back(kHex[n & 0xF]);
}

// Appends the folder or file name sName as MirroredFolders writes it; with
// bFirstFromRoot, a name that could be read as a drive or UNC gets its
// first character escaped.
void AppendName(String& sOut, std::string_view sName, bool bFirstFromRoot) {
  const bool bAmbiguous = bFirstFromRoot && ((sName.size() == 1 && IsAsciiLetter(sName[0])) ||
                                             (sName.size() == 3 && RtStrUpper(sName) == "UNC"));
  const size_t nKept = sName.find_last_not_of(". ") + 1;  // npos + 1 == 0: dots and blanks only
  for (size_t i = 0; i < sName.size(); ++i) {
    if ((i == 0 && bAmbiguous) || i >= nKept || NeedsEscape(sName[i])) {
      AppendEscaped(sOut, sName[i]);
    } else {
      sOut.push_back(sName[i]);
    }
  }
}

}  // namespace

String MirroredFolders(std::string_view sDirectory) {
  String sOut;
  std::string_view sRest = sDirectory;
  bool bFromRoot = false;
  bool bServer = false;  // the first folder of a UNC path: "\\.\" is not "\\"
  if (sRest.size() >= 3 && IsAsciiLetter(sRest[0]) && sRest[1] == ':' && IsSeparator(sRest[2])) {
    sOut.push_back(sRest[0]);
    sRest.remove_prefix(3);
  } else if (sRest.size() >= 2 && IsSeparator(sRest[0]) && IsSeparator(sRest[1])) {
    sOut.append("UNC");
    sRest.remove_prefix(2);
    bServer = true;
  } else if (!sRest.empty() && IsSeparator(sRest[0])) {
    sRest.remove_prefix(1);
    bFromRoot = true;
  } else {
    sOut.append("%2E");
  }
  while (!sRest.empty()) {
    const size_t nCut = std::min(sRest.find_first_of("\\/"), sRest.size());
    const std::string_view sName = sRest.substr(0, nCut);
    sRest.remove_prefix(std::min(nCut + 1, sRest.size()));
    if (sName.empty() || (sName == "." && !bServer)) continue;
    if (!sOut.empty()) sOut.push_back('\\');
    AppendName(sOut, sName, bFromRoot);
    bFromRoot = bServer = false;
  }
  return sOut;
}

String MethodFileIn(std::string_view sMethodDirectory, std::string_view sDirectory, std::string_view sFileName) {
  if (sMethodDirectory.empty()) return MethodFilePath(sDirectory, sFileName);
  // A file name with a directory part (never one of the scan's) adds it to
  // the source's directory; an empty directory is the current one.
  const std::string_view sName = FileNameOf(sFileName);
  String sSourceDirectory(sDirectory);
  if (sName.size() < sFileName.size()) {
    if (!sSourceDirectory.empty() && !IsSeparator(sSourceDirectory.back())) sSourceDirectory.push_back('\\');
    sSourceDirectory.append(sFileName.substr(0, sFileName.size() - sName.size()));
  }
  String sPath(sMethodDirectory);
  while (!sPath.empty() && IsSeparator(sPath.back())) sPath.pop_back();
  if (const String sFolders = MirroredFolders(sSourceDirectory); !sFolders.empty()) {
    sPath.append("\\").append(sFolders);
  }
  sPath.push_back('\\');
  AppendName(sPath, BaseName(sName), false);
  sPath.append(kMethodFileExtension);
  return sPath;
}

std::string UnsafeSeparators(std::string_view sDelimiter, std::string_view sToken) {
  const auto Problem = [](std::string_view s, const std::string& sName) -> std::string {
    if (s.empty()) return "the " + sName + " is empty";
    if (s.find('\n') != std::string_view::npos || s.find('\r') != std::string_view::npos) {
      return "the " + sName + " contains a line break";
    }
    if (s.size() == 1 && (s[0] == ' ' || s[0] == '\t' || (s[0] > ' ' && s[0] < 0x7F))) {
      // Shown as a separator is written: "\" doubled, the tab as \x09.
      const std::string sShown = s[0] == '\\' ? "\\\\" : s[0] == '\t' ? "\\x09" : std::string(s);
      return "the " + sName + " '" + sShown + "' is a character that Java sources commonly contain";
    }
    return "";
  };
  std::string sProblem = Problem(sDelimiter, "element delimiter");
  if (sProblem.empty()) sProblem = Problem(sToken, "line-break token");
  if (sProblem.empty() &&
      (sDelimiter.find(sToken) != std::string_view::npos || sToken.find(sDelimiter) != std::string_view::npos)) {
    sProblem = "the element delimiter and the line-break token must differ and neither may contain the other";
  }
  return sProblem;
}

}  // namespace qv::format
