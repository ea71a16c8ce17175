// Writing JavaClass out as repository files.
//
// Every writer builds its lines, checks that each reads back as written,
// writes them to a new file beside the old one, keeps the old file as a
// history copy, and only then puts the new file in its place.  A record
// that cannot be stored, or a file that cannot be written, leaves the old
// file as it was; the result says so and sWriteError says why.
#include <vector>

#include "frame/convert.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/replacing_file.h"
#include "repository/repository_format.h"

namespace qv {

namespace {

bool Skipped(const VC_JavaClass& r) {
  return r.sClassName.empty() || (!r.bSkipSave.IsNull() && r.bSkipSave.Value() >= 1);
}

// Closes the finished new file, keeps the present one as history and puts
// the new one in its place.
bool CommitRepositoryFile(Module& m, ReplacingFile& out) {
  if (!out.Close()) return false;
  VC_JavaRepository().SaveHistoryFile(m, out.Target());
  return out.Commit();
}

Number Failed(Module& m, String sWhy) {
  RepositoryVars(m).sWriteError = std::move(sWhy);
  return Number(kWriteFailed);
}

}  // namespace

Number VC_JavaRepository::SaveRepository(Module& m) {
  const String sDelimiter = m.G().sElementDelimiter;
  WriteClassFile(m, format::kClassListFile, sDelimiter);
  return Number::Null();
}

Number VC_JavaRepository::WriteClassFile(Module& m, std::string_view sFile, std::string_view sDelimiter) {
  WaitCursorScope wait(m);
  RepositoryVars(m).sWriteError.clear();
  DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  const String sToken = m.G().sCRLFToken;
  const int64_t n = aClasses.Count();

  ReplacingFile out(m, sFile);
  if (!out.Open()) return Failed(m, out.Error());
  std::vector<std::pair<int64_t, String>> aWritten;  // position, method file
  String sLine, sError;
  for (int64_t i = 0; i < n; ++i) {
    const VC_JavaClass& r = aClasses[i];
    if (Skipped(r)) continue;
    String sMethodFile = format::MethodFilePath(r.sDirectory, r.sFileName);
    format::RecordLine line(m, sDelimiter, sToken);
    line.AddPlain("superclass", r.sSuperClass);
    line.AddPlain("class name", r.sClassName);
    line.AddPlain("file name", r.sFileName);
    line.AddPlain("directory", r.sDirectory);
    line.AddPlain("package", r.sPackage);
    line.AddText("heading comment", r.sHeader);
    line.AddText("footer", r.sFooter);
    line.AddText("documentation comment", r.sDescription);
    line.AddImports(r.sImport);
    line.AddPlain("method file", sMethodFile);
    line.AddPlain("extra", r.sExtra);
    line.AddPlain("time stamp", r.dtStamp.IsNull() ? String() : RtDateTimeToStr(r.dtStamp));
    if (!line.Finish(sLine, sError)) return Failed(m, "class " + r.sClassName + ": " + sError);
    if (!out.PutLine(sLine)) return Failed(m, out.Error());
    aWritten.emplace_back(i, std::move(sMethodFile));
  }
  if (!CommitRepositoryFile(m, out)) return Failed(m, out.Error());
  // Only a record that is in the file counts as saved.
  for (auto& [i, sMethodFile] : aWritten) {
    VC_JavaClass& r = aClasses.At(i);
    r.bSaved = Number(1);
    r.sMethodFile = std::move(sMethodFile);
  }
  return Number(n);
}

Number VC_JavaRepository::WriteMethodFile(Module& m, std::string_view sFile, Number nClass,
                                          std::string_view sDelimiter) {
  WaitCursorScope wait(m);
  RepositoryVars(m).sWriteError.clear();
  const VC_JavaClass& r = JavaClassArray(m)[nClass.AsInt64()];
  const String sToken = m.G().sCRLFToken;
  // Without a name the method file goes where the class list file says it is.
  const String sPath = sFile.empty() ? format::MethodFilePath(r.sDirectory, r.sFileName) : String(sFile);

  ReplacingFile out(m, sPath);
  if (!out.Open()) return Failed(m, out.Error());
  String sLine, sError;
  int64_t k = 1;
  for (; !r.aMethods[k].sName.empty(); ++k) {
    const VC_JavaMethod& method = r.aMethods[k];
    format::RecordLine line(m, sDelimiter, sToken);
    line.AddPlain("method name", method.sName);
    line.AddText("comment", method.sComment);
    line.AddText("body", method.sBody);
    if (!line.Finish(sLine, sError)) return Failed(m, "method " + method.sName + ": " + sError);
    if (!out.PutLine(sLine)) return Failed(m, out.Error());
  }
  if (!CommitRepositoryFile(m, out)) return Failed(m, out.Error());
  return Number(k);
}

Number VC_JavaRepository::WriteVariableFile(Module& m, std::string_view sFile, Number nClass,
                                            std::string_view sDelimiter) {
  WaitCursorScope wait(m);
  RepositoryVars(m).sWriteError.clear();
  const VC_JavaClass& r = JavaClassArray(m)[nClass.AsInt64()];
  const String sToken = m.G().sCRLFToken;

  ReplacingFile out(m, sFile);
  if (!out.Open()) return Failed(m, out.Error());
  String sLine, sError;
  int64_t k = 0;
  for (; !r.aVariables[k].sValue1.empty(); ++k) {
    const VC_JavaClassVariable& v = r.aVariables[k];
    format::RecordLine line(m, sDelimiter, sToken);
    for (size_t f = 0; f < VC_JavaClassVariable::kFieldCount; ++f) line.AddPlain("value", v.Value(f));
    if (!line.Finish(sLine, sError)) return Failed(m, "class variable " + v.sValue1 + ": " + sError);
    if (!out.PutLine(sLine)) return Failed(m, out.Error());
  }
  if (!CommitRepositoryFile(m, out)) return Failed(m, out.Error());
  return Number(k);
}

}  // namespace qv
