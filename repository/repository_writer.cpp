// Writing JavaClass out as repository files.
//
// Every writer builds its lines, checks that each reads back as written,
// writes them to a new file beside the old one, keeps the old file as a
// history copy, and only then puts the new file in its place.  A record
// that cannot be stored, or a file that cannot be written, leaves the old
// file as it was; the result says so and sWriteError says why.
#include <memory>
#include <vector>

#include "frame/convert.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/replacing_file.h"
#include "repository/repository_format.h"
#include "source/framework_globals.h"

namespace qv {

namespace {

bool Skipped(const VC_JavaClass& r) {
  return r.sClassName.empty() || (!r.bSkipSave.IsNull() && r.bSkipSave.Value() >= 1);
}

// The twelve fields of a record's class line, in file order.
void AddClassFields(format::RecordLine& line, const VC_JavaClass& r, std::string_view sMethodFile) {
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
}

// The position of the last row of aRows for which bUsed holds; -1 when none.
template <class Row, class Used>
int64_t LastRowWith(const DynArray<Row>& aRows, Used bUsed) {
  for (int64_t k = aRows.Count() - 1; k >= 0; --k) {
    if (bUsed(aRows[k])) return k;
  }
  return -1;
}

int64_t Failed(Module& m, String sWhy) {
  RepositoryVars(m).sWriteError = std::move(sWhy);
  return kWriteFailed;
}

// Writes the lines that addLines(line) produces, one call per line, to the
// new file of out; addLines returns FALSE when it has no more.  Each line
// must read back as written (sWhat(k) names line k in the error).  Returns
// the number of lines, or kWriteFailed with sWriteError set; the new file is
// closed but not yet in place.
template <class AddLines, class What>
int64_t WriteNewFile(Module& m, ReplacingFile& out, std::string_view sDelimiter, format::LineTrim eTrim,
                     AddLines addLines, What sWhat) {
  RepositoryVars(m).sWriteError.clear();
  const String sToken = m.G().sCRLFToken;
  if (!out.Open()) return Failed(m, out.Error());
  String sLine, sError;
  int64_t k = 0;
  for (;; ++k) {
    format::RecordLine line(m, sDelimiter, sToken, eTrim);
    if (!addLines(line, k)) break;
    if (!line.Finish(sLine, sError)) return Failed(m, sWhat(k) + ": " + sError);
    if (!out.PutLine(sLine)) return Failed(m, out.Error());
  }
  if (!out.Close()) return Failed(m, out.Error());
  return k;
}

// WriteNewFile, then the present sFile is kept as history and the new file
// put in its place.
template <class AddLines, class What>
int64_t WriteRecordFile(Module& m, std::string_view sFile, std::string_view sDelimiter, format::LineTrim eTrim,
                        AddLines addLines, What sWhat) {
  WaitCursorScope wait(m);
  ReplacingFile out(m, sFile);
  const int64_t k = WriteNewFile(m, out, sDelimiter, eTrim, addLines, sWhat);
  if (k == kWriteFailed) return k;
  VC_JavaRepository().SaveHistoryFile(m, out.Target());
  if (!out.Commit()) return Failed(m, out.Error());
  return k;
}

// The lines of a method file: every row from position 1 up to the last
// method with a name, nameless ones between them too, so that a row without
// a name costs none of the rows behind it.
auto MethodLines(const VC_JavaClass& r) {
  const int64_t nLast = LastRowWith(r.aMethods, [](const VC_JavaMethod& method) { return !method.sName.empty(); });
  return [&r, nLast](format::RecordLine& line, int64_t k) {
    if (k + 1 > nLast) return false;
    const VC_JavaMethod& method = r.aMethods[k + 1];
    line.AddPlain("method name", method.sName);
    line.AddText("comment", method.sComment);
    line.AddText("body", method.sBody, false);
    return true;
  };
}

auto MethodWhat(const VC_JavaClass& r) {
  return [&r](int64_t k) { return "method " + r.aMethods[k + 1].sName; };
}

}  // namespace

String ClassLineProblem(Module& m, const VC_JavaClass& r, std::string_view sDelimiter) {
  format::RecordLine line(m, sDelimiter, m.G().sCRLFToken);
  AddClassFields(line, r, format::MethodFilePath(r.sDirectory, r.sFileName));
  String sLine, sError;
  line.Finish(sLine, sError);
  return sError;
}

Number VC_JavaRepository::SaveRepository(Module& m) {
  const String sDelimiter = m.G().sElementDelimiter;
  WriteClassFile(m, format::kClassListFile, sDelimiter);
  return Number::Null();
}

Number VC_JavaRepository::WriteClassFile(Module& m, std::string_view sFile, std::string_view sDelimiter) {
  DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  const int64_t n = aClasses.Count();
  std::vector<std::pair<int64_t, String>> aWritten;  // position, method file
  int64_t i = -1;
  const int64_t nLines = WriteRecordFile(
      m, sFile, sDelimiter, format::LineTrim::kEachField,
      [&](format::RecordLine& line, int64_t) {
        do {
          ++i;
        } while (i < n && Skipped(aClasses[i]));
        if (i >= n) return false;
        const VC_JavaClass& r = aClasses[i];
        aWritten.emplace_back(i, format::MethodFilePath(r.sDirectory, r.sFileName));
        AddClassFields(line, r, aWritten.back().second);
        return true;
      },
      [&](int64_t) { return "class " + aClasses[i].sClassName; });
  if (nLines == kWriteFailed) return Number(kWriteFailed);
  // Only a record that is in the file counts as saved.
  for (auto& [nAt, sMethodFile] : aWritten) {
    VC_JavaClass& r = aClasses.At(nAt);
    r.bSaved = Number(1);
    r.sMethodFile = std::move(sMethodFile);
  }
  return Number(n);
}

Number VC_JavaRepository::WriteMethodFile(Module& m, std::string_view sFile, Number nClass,
                                          std::string_view sDelimiter) {
  const VC_JavaClass& r = JavaClassArray(m)[nClass.AsInt64()];
  // Without a name the method file goes where the class list file says it is.
  const String sPath = sFile.empty() ? format::MethodFilePath(r.sDirectory, r.sFileName) : String(sFile);
  const int64_t nLines =
      WriteRecordFile(m, sPath, sDelimiter, format::LineTrim::kEachField, MethodLines(r), MethodWhat(r));
  return Number(nLines == kWriteFailed ? kWriteFailed : nLines + 1);
}

int64_t VC_JavaRepository::WriteMethodFiles(Module& m, const std::vector<int64_t>& aClasses,
                                            std::string_view sDelimiter, std::vector<Number>& aResults,
                                            std::vector<String>& aErrors) {
  WaitCursorScope wait(m);
  const size_t n = aClasses.size();
  aResults.assign(n, Number(kWriteFailed));
  aErrors.assign(n, String());
  std::vector<std::unique_ptr<ReplacingFile>> aFiles(n);
  std::vector<int64_t> aLines(n, kWriteFailed);
  std::vector<ReplacingFile*> aReady;
  String sLastError;
  for (size_t k = 0; k < n; ++k) {
    const VC_JavaClass& r = JavaClassArray(m)[aClasses[k]];
    aFiles[k] = std::make_unique<ReplacingFile>(m, format::MethodFilePath(r.sDirectory, r.sFileName));
    aLines[k] =
        WriteNewFile(m, *aFiles[k], sDelimiter, format::LineTrim::kEachField, MethodLines(r), MethodWhat(r));
    if (aLines[k] == kWriteFailed) {
      aErrors[k] = RepositoryVars(m).sWriteError;
      sLastError = aErrors[k];
      aFiles[k].reset();  // removes the new file
      continue;
    }
    aReady.push_back(aFiles[k].get());
  }
  // The history copies are taken from the present files, before any of
  // them is replaced.
  for (ReplacingFile* p : aReady) SaveHistoryFile(m, p->Target());
  ReplacingFile::CommitAll(m, aReady);
  int64_t nWritten = 0;
  for (size_t k = 0; k < n; ++k) {
    if (!aFiles[k]) continue;
    if (!aFiles[k]->Error().empty()) {
      aErrors[k] = aFiles[k]->Error();
      sLastError = aErrors[k];
      continue;
    }
    aResults[k] = Number(aLines[k] + 1);
    ++nWritten;
  }
  RepositoryVars(m).sWriteError = sLastError;
  return nWritten;
}

Number VC_JavaRepository::WriteVariableFile(Module& m, std::string_view sFile, Number nClass,
                                            std::string_view sDelimiter) {
  const VC_JavaClass& r = JavaClassArray(m)[nClass.AsInt64()];
  // Every row up to the last one whose first value is set.
  const int64_t nLast = LastRowWith(r.aVariables, [](const VC_JavaClassVariable& v) { return !v.sValue1.empty(); });
  return Number(WriteRecordFile(
      m, sFile, sDelimiter, format::LineTrim::kWholeLine,
      [&r, nLast](format::RecordLine& line, int64_t k) {
        if (k > nLast) return false;
        const VC_JavaClassVariable& v = r.aVariables[k];
        for (size_t f = 0; f < VC_JavaClassVariable::kFieldCount; ++f) line.AddPlain("value", v.Value(f), false);
        return true;
      },
      [&r](int64_t k) { return "class variable " + r.aVariables[k].sValue1; }));
}

}  // namespace qv
