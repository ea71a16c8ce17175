// Writing a class record back out as Java source.
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/replacing_file.h"
#include "repository/repository_format.h"
#include "source/framework_globals.h"

namespace qv {

namespace {

// The source text of a record: heading comment, package line, import
// lines, documentation comment and class body, footer.
String SourceText(const VC_JavaClass& r) {
  constexpr std::string_view N = format::kLineBreak;
  const String& sBody = r.aMethods[1].sBody;
  String sText;
  sText.reserve(r.sHeader.size() + r.sDescription.size() + sBody.size() + r.sFooter.size() + 256);
  sText.append(r.sHeader);
  if (!r.sPackage.empty()) sText.append(N).append("package ").append(r.sPackage).append(";").append(N).append(N);
  for (const String& sImport : r.sImport.Items()) {
    if (!sImport.empty()) sText.append("import ").append(sImport).append(";").append(N);
  }
  // Without a body the class documentation comment is not written either.
  if (!sBody.empty()) sText.append(N).append(r.sDescription).append(sBody);
  sText.append(N).append(N).append(r.sFooter);
  return sText;
}

}  // namespace

bool VC_JavaClass::WriteSourceFile(Module& m) {
  WaitCursorScope wait(m);
  String& sError = RepositoryVars(m).sWriteError;
  sError.clear();
  String sPath = sDirectory;
  sPath.append("\\").append(sFileName);
  const String sText = SourceText(*this);

  ReplacingFile out(m, sPath);
  bool bWritten = out.Open() && out.Write(sText) && out.Close();
  if (bWritten) {
    SaveHistoryFile(m, sPath);
    bWritten = out.Commit();
  }
  if (!bWritten) sError = out.Error();
  return bWritten;
}

}  // namespace qv
