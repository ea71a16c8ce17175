// Writing a class record back out as Java source.
#include "core/wait_cursor.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/replacing_file.h"
#include "repository/repository_format.h"

namespace qv {

namespace {

// The line end a file's text uses throughout: "\r\n" when every LF follows
// a CR, "\n" when none does, "" when it mixes them or has no LF.
std::string_view LineEndOf(std::string_view sText) {
  bool bCrLf = false;
  bool bLf = false;
  for (size_t i = sText.find('\n'); i != std::string_view::npos; i = sText.find('\n', i + 1)) {
    (i > 0 && sText[i - 1] == '\r' ? bCrLf : bLf) = true;
  }
  if (bCrLf == bLf) return {};
  return bCrLf ? std::string_view("\r\n") : std::string_view("\n");
}

// sText with every line end (a LF after any number of CRs) written as
// sLineEnd; a CR that no LF follows stays.
void AppendWithLineEnds(String& sOut, std::string_view sText, std::string_view sLineEnd) {
  size_t nFrom = 0;
  for (size_t i = sText.find('\n'); i != std::string_view::npos; i = sText.find('\n', i + 1)) {
    size_t nEnd = i;
    while (nEnd > nFrom && sText[nEnd - 1] == '\r') --nEnd;
    sOut.append(sText.substr(nFrom, nEnd - nFrom)).append(sLineEnd);
    nFrom = i + 1;
  }
  sOut.append(sText.substr(nFrom));
}

}  // namespace

String VC_JavaClass::SourceText(std::string_view sLineEnd) const {
  constexpr std::string_view N = format::kLineBreak;
  const String& sBody = aMethods[1].sBody;
  String sText;
  sText.reserve(sHeader.size() + sDescription.size() + sBody.size() + sFooter.size() + 256);
  sText.append(sHeader);
  if (!sPackage.empty()) sText.append(N).append("package ").append(sPackage).append(";").append(N).append(N);
  for (const String& s : sImport.Items()) {
    if (!s.empty()) sText.append("import ").append(s).append(";").append(N);
  }
  // Without a body the class documentation comment is not written either.
  if (!sBody.empty()) sText.append(N).append(sDescription).append(sBody);
  sText.append(N).append(N).append(sFooter);
  String sOut;
  sOut.reserve(sText.size());
  AppendWithLineEnds(sOut, sText, sLineEnd);
  return sOut;
}

std::string_view VC_JavaClass::FoundLineEnd(Module& m, std::string_view sPath) const {
  String sOwn = sDirectory;
  sOwn.append("\\").append(sFileName);
  for (const std::string_view sFile : {sPath, std::string_view(sOwn)}) {
    std::string sText;
    if (m.Files().ReadWholeFile(sFile, sText) != 0) continue;
    if (const std::string_view sFound = LineEndOf(sText); !sFound.empty()) return sFound;
  }
  return "\r\n";
}

bool VC_JavaClass::WriteSourceFile(Module& m) {
  String sPath = sDirectory;
  sPath.append("\\").append(sFileName);
  return WriteSourceFileTo(m, sPath, {});
}

bool VC_JavaClass::WriteSourceFileTo(Module& m, std::string_view sPath, std::string_view sLineEnd) {
  WaitCursorScope wait(m);
  String& sError = RepositoryVars(m).sWriteError;
  sError.clear();
  const String sText = SourceText(sLineEnd.empty() ? FoundLineEnd(m, sPath) : sLineEnd);

  ReplacingFile out(m, sPath, KeepSourceHistory);
  const bool bWritten = out.Open() && out.Write(sText) && out.Close() && out.Commit();
  if (!bWritten) sError = out.Error();
  return bWritten;
}

}  // namespace qv
