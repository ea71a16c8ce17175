// SPDX-License-Identifier: Apache-2.0
// Writing a class record back out as Java source.
#include <algorithm>
#include <string>
#include <utility>

#include <memory>

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
  // Counted over every byte without a branch, which the compiler does many
  // bytes at a time: a search call per line costs several times as much.
  size_t nLf = 0;
  size_t nCrLf = 0;
  for (const char c : sText) nLf += static_cast<size_t>(c == '\n');
  for (size_t i = 1; i < sText.size(); ++i) nCrLf += static_cast<size_t>(sText[i] == '\n' && sText[i - 1] == '\r');
  if (nLf == 0 || (nCrLf != 0 && nCrLf != nLf)) return {};
  return nCrLf == nLf ? std::string_view("\r\n") : std::string_view("\n");
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

// Why sName cannot be one name of a path below a directory: "" when it
// can.  A name of dots and blanks only is refused whole: Windows drops
// trailing dots and blanks, so "..." or ". ." may name a directory too.
std::string_view NameProblem(std::string_view sName) {
  if (sName.empty()) return "is empty";
  if (sName.find_first_not_of(". ") == std::string_view::npos) return "is made of dots and blanks only";
  if (sName.find_first_of("\\/") != std::string_view::npos) return "holds a path separator";
  if (sName.find(':') != std::string_view::npos) return "holds a drive or a colon";
  for (const char c : sName) {
    if (static_cast<unsigned char>(c) < 0x20) return "holds a control character";
  }
  return {};
}

}  // namespace

String VC_JavaClass::UnsafeNames(bool bPackage) const {
  if (const std::string_view sProblem = NameProblem(sFileName); !sProblem.empty()) {
    return "file name \"" + sFileName + "\" " + std::string(sProblem);
  }
  if (!bPackage || sPackage.empty()) return {};
  for (size_t nFrom = 0;;) {
    const size_t nDot = std::min(sPackage.find('.', nFrom), sPackage.size());
    const std::string_view sSegment = std::string_view(sPackage).substr(nFrom, nDot - nFrom);
    if (const std::string_view sProblem = NameProblem(sSegment); !sProblem.empty()) {
      return "package \"" + sPackage + "\": segment \"" + std::string(sSegment) + "\" " + std::string(sProblem);
    }
    if (nDot == sPackage.size()) return {};
    nFrom = nDot + 1;
  }
}

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
  if (String sWhy = UnsafeNames(false); !sWhy.empty()) {
    RepositoryVars(m).sWriteError = std::move(sWhy);
    return false;
  }
  String sPath = sDirectory;
  sPath.append("\\").append(sFileName);
  return WriteSourceFileTo(m, sPath, {});
}

std::unique_ptr<ReplacingFile> VC_JavaClass::PrepareSourceFile(Module& m, std::string_view sPath,
                                                               std::string_view sLineEnd) const {
  const String sText = SourceText(sLineEnd.empty() ? FoundLineEnd(m, sPath) : sLineEnd);
  auto pOut = std::make_unique<ReplacingFile>(m, sPath, KeepSourceHistory);
  if (pOut->Open() && pOut->Write(sText)) pOut->Close();
  return pOut;
}

bool VC_JavaClass::WriteSourceFileTo(Module& m, std::string_view sPath, std::string_view sLineEnd) {
  WaitCursorScope wait(m);
  String& sError = RepositoryVars(m).sWriteError;
  sError.clear();
  const std::unique_ptr<ReplacingFile> pOut = PrepareSourceFile(m, sPath, sLineEnd);
  const bool bWritten = pOut->Commit();
  if (!bWritten) sError = pOut->Error();
  return bWritten;
}

}  // namespace qv
