// SPDX-License-Identifier: Apache-2.0
// Writing JavaClass out as repository files.
//
// Every writer builds its lines, checks that each reads back as written,
// writes them to a new file beside the old one, keeps the old file as a
// history copy, and only then puts the new file in its place.  A record
// that cannot be stored, or a file that cannot be written, leaves the old
// file as it was; the result says so and sWriteError says why.
#include <memory>
#include <type_traits>
#include <vector>

#include "core/convert.h"
#include "core/wait_cursor.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/replacing_file.h"
#include "repository/repository_format.h"
#include "repository/run_ahead.h"

namespace qv {

namespace {

// The writers' worker threads, and how far ahead of the writing thread
// they may build method files and class list lines (what they build waits
// in memory).
constexpr int kWorkerThreads = 2;
constexpr int64_t kPrepareWindow = 64;
constexpr int64_t kLineWindow = 1024;

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

// The class list line of r with sDelimiter and sToken, its method file in
// sMethodDirectory (format::MethodFileIn); FALSE with sError saying why when
// the record cannot be stored.
bool BuildClassLine(const JavaTextTools& tools, std::string_view sDelimiter, std::string_view sToken,
                    std::string_view sMethodDirectory, const VC_JavaClass& r, String& sLine, String& sError) {
  format::RecordLine line(tools, sDelimiter, sToken);
  AddClassFields(line, r, format::MethodFileIn(sMethodDirectory, r.sDirectory, r.sFileName));
  return line.Finish(sLine, sError);
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

// Builds the lines that addLines(line, k) produces, one call per line
// until it returns FALSE, and hands each to fnPut, which returns FALSE when
// it cannot take it.  Each line must read back as written (sWhat(k) names
// line k in the error).  Returns the number of lines, or kWriteFailed with
// sError saying why (fnPut sets it for its own failures).
template <class AddLines, class What, class Put>
int64_t BuildLines(const JavaTextTools& tools, std::string_view sDelimiter, std::string_view sToken,
                   format::LineTrim eTrim, AddLines addLines, What sWhat, Put fnPut, String& sError) {
  String sLine, sProblem;
  int64_t k = 0;
  for (;; ++k) {
    format::RecordLine line(tools, sDelimiter, sToken, eTrim);
    if (!addLines(line, k)) break;
    if (!line.Finish(sLine, sProblem)) {
      sError = sWhat(k) + ": " + sProblem;
      return kWriteFailed;
    }
    if (!fnPut(sLine)) return kWriteFailed;
  }
  return k;
}

// Writes the lines that addLines builds (BuildLines) to the new file of out.
// Returns the number of lines, or kWriteFailed with sWriteError set; the
// new file is closed but not yet in place.
template <class AddLines, class What>
int64_t WriteNewFile(Module& m, ReplacingFile& out, std::string_view sDelimiter, format::LineTrim eTrim,
                     AddLines addLines, What sWhat) {
  String& sError = RepositoryVars(m).sWriteError;
  sError.clear();
  if (!out.Open()) return Failed(m, out.Error());
  const auto PutLine = [&out, &sError](std::string_view sLine) {
    if (!out.PutLine(sLine)) sError = out.Error();
    return sError.empty();
  };
  const int64_t k = BuildLines(JavaTextTools::Lazy(m), sDelimiter, m.G().sCRLFToken, eTrim, addLines, sWhat, PutLine,
                               sError);
  if (k == kWriteFailed) return k;
  if (!out.Close()) return Failed(m, out.Error());
  return k;
}

// WriteNewFile, then the new file put in place of sFile, the present one
// kept as history.
// bMethodFile: sFile is a class's own method file (MakeMethodFileDirectory).
template <class AddLines, class What>
int64_t WriteRecordFile(Module& m, std::string_view sFile, std::string_view sDelimiter, format::LineTrim eTrim,
                        AddLines addLines, What sWhat, bool bMethodFile = false) {
  WaitCursorScope wait(m);
  ReplacingFile out(m, sFile, KeepRepositoryHistory);
  if (bMethodFile && !MakeMethodFileDirectory(m, out)) return Failed(m, out.Error());
  const int64_t k = WriteNewFile(m, out, sDelimiter, eTrim, addLines, sWhat);
  if (k == kWriteFailed) return k;
  if (!out.Commit()) return Failed(m, out.Error());
  return k;
}

// The lines of a method file: every row from position 1 up to the last
// method with a name, nameless ones between them too, so that a row without
// a name costs none of the rows behind it.
template <class Record>
auto MethodLinesOf(Record& r) {
  const int64_t nLast = LastRowWith(r.aMethods, [](const VC_JavaMethod& method) { return !method.sName.empty(); });
  return [&r, nLast](format::RecordLine& line, int64_t k) {
    if (k + 1 > nLast) return false;
    if constexpr (std::is_const_v<Record>) {
      const VC_JavaMethod& method = r.aMethods[k + 1];
      line.AddPlain("method name", method.sName);
      line.AddText("comment", method.sComment);
      line.AddText("body", method.sBody, false);
    } else {
      VC_JavaMethod& method = r.aMethods.At(k + 1);
      line.AddPlain("method name", method.sName);
      line.AddText("comment", std::move(method.sComment));
      line.AddText("body", std::move(method.sBody), false);
    }
    return true;
  };
}

auto MethodLines(const VC_JavaClass& r) { return MethodLinesOf(r); }
// MethodLines, each method's texts given to its line: r keeps none, and a
// large body is encoded in its own memory.
auto GivenMethodLines(VC_JavaClass& r) { return MethodLinesOf(r); }

auto MethodWhat(const VC_JavaClass& r) {
  return [&r](int64_t k) { return "method " + r.aMethods[k + 1].sName; };
}

}  // namespace

bool BuildClassFiles(const JavaTextTools& tools, std::string_view sDelimiter, std::string_view sToken, VC_JavaClass& r,
                     String& sLine, std::string& sMethodContent, String& sError) {
  sMethodContent.clear();
  // The parser leaves the whole class body in method 1, without a name;
  // it is named after its class so that the method file keeps it.
  VC_JavaMethod& body = r.aMethods.At(1);
  if (body.sName.empty() && !body.sBody.empty()) body.sName = r.sClassName;
  format::RecordLine line(tools, sDelimiter, sToken);
  AddClassFields(line, r, r.sMethodFile);
  if (!line.Finish(sLine, sError)) return false;
  // The first line is taken over, not copied: a large class's body is
  // most of its method file.  (A line has room for the marker of an exact
  // line, more than its line end needs.)
  const auto Append = [&sMethodContent](String& sMethodLine) {
    if (sMethodContent.empty()) {
      sMethodContent = std::move(sMethodLine);
    } else {
      sMethodContent.append(sMethodLine);
    }
    sMethodContent.append(kLineEnd);
    return true;
  };
  return BuildLines(tools, sDelimiter, sToken, format::LineTrim::kEachField, GivenMethodLines(r), MethodWhat(r), Append,
                    sError) != kWriteFailed;
}

Number VC_JavaRepository::SaveRepository(Module& m) {
  const String sDelimiter = m.G().sElementDelimiter;
  WriteClassFile(m, format::kClassListFile, sDelimiter);
  return Number::Null();
}

namespace {

// The class list file sFile of the records aAt (in order) from their lines,
// which aLine(k) hands over one at a time (FALSE with sError saying why a
// line cannot be had), kept as history and put in place; the records in it
// count as saved.  Returns the number of records, or kWriteFailed with
// sWriteError set.
//
// aBefore are files of the same save (the method files), committed in one
// transaction with the class list file, which comes last: the class list
// is the commit point.  *pInPlace, when given, tells whether the files are
// in place (they are when only the sync after the moves failed).
template <class Lines>
Number WriteClassLines(Module& m, std::string_view sFile, const std::vector<int64_t>& aAt, Lines lines,
                       std::vector<ReplacingFile*> aBefore = {}, bool* pInPlace = nullptr) {
  DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  WaitCursorScope wait(m);
  RepositoryVars(m).sWriteError.clear();
  ReplacingFile out(m, sFile, KeepRepositoryHistory);
  if (!out.Open()) return Number(Failed(m, out.Error()));
  String sError;
  lines(
      [&](const String& sLine) {
        if (sError.empty() && !out.PutLine(sLine)) sError = out.Error();
      },
      sError);
  if (!sError.empty()) return Number(Failed(m, sError));
  if (!out.Close()) return Number(Failed(m, out.Error()));
  aBefore.push_back(&out);
  String sCommit;
  const bool bCommitted = ReplacingFile::CommitAll(m, aBefore, sCommit, true);
  if (pInPlace != nullptr) *pInPlace = out.Committed();
  if (!out.Committed()) return Number(Failed(m, sCommit));
  // Only a record that is in the file counts as saved.
  for (const int64_t i : aAt) {
    VC_JavaClass& r = aClasses.At(i);
    r.bSaved = Number(1);
    r.sMethodFile = MethodFileOf(m, r.sDirectory, r.sFileName);
  }
  if (!bCommitted) return Number(Failed(m, sCommit));
  return Number(static_cast<int64_t>(aAt.size()));
}

}  // namespace

ScanSave SaveScannedClasses(Module& m) {
  ScanSave save;
  // A save that a killed process left half done goes back to the old one
  // first.
  if (IoError oError = ReplacingFile::Recover(m, format::kClassListFile); oError.Failed()) {
    save.sClassListError = "nothing saved: the last save was interrupted and cannot be undone: " + oError.sMessage;
    return save;
  }
  DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  const int64_t n = aClasses.Count();
  const String sDelimiter = m.G().sElementDelimiter;
  const String sToken = m.G().sCRLFToken;
  const String sMethodDirectory = RepositoryVars(m).sMethodFileDirectory;
  const JavaTextTools tools = JavaTextTools::Bound(m);
  // Every line once, on the worker threads; a record whose line cannot be
  // built is left out.
  std::vector<String> aLines(static_cast<size_t>(n));
  std::vector<String> aErrors(static_cast<size_t>(n));
  const DynArray<VC_JavaClass>& aRecords = aClasses;
  RunAhead(
      n, kWorkerThreads, n,
      [&](int64_t i) {
        const VC_JavaClass& r = aRecords[i];
        if (Skipped(r)) return;
        const auto k = static_cast<size_t>(i);
        if (!BuildClassLine(tools, sDelimiter, sToken, sMethodDirectory, r, aLines[k], aErrors[k])) aLines[k].clear();
      },
      [](int64_t) {});
  const auto Refuse = [&](int64_t i, String sWhy) {
    aClasses.At(i).bSkipSave = Number(1);
    save.aRefused.emplace_back(i, std::move(sWhy));
  };
  std::vector<int64_t> aAt;
  for (int64_t i = 0; i < n; ++i) {
    VC_JavaClass& r = aClasses.At(i);
    if (Skipped(r)) continue;
    if (String& sError = aErrors[static_cast<size_t>(i)]; !sError.empty()) {
      Refuse(i, std::move(sError));
      continue;
    }
    // The parser leaves the whole class body in method 1, without a name;
    // it is named after its class so that the method file keeps it.
    VC_JavaMethod& body = r.aMethods.At(1);
    if (body.sName.empty() && !body.sBody.empty()) body.sName = r.sClassName;
    aAt.push_back(i);
  }
  // The method files first, under temporary names; a class whose method
  // file cannot be built is left out as its line would be.  A file that
  // cannot be written stops the save: nothing is replaced.
  PreparedMethodFiles prepared = PrepareMethodFiles(m, aAt, sDelimiter);
  std::vector<int64_t> aSaved;
  std::vector<ReplacingFile*> aNew;
  for (size_t k = 0; k < aAt.size(); ++k) {
    if (prepared.aLines[k] == kWriteFailed && !prepared.aFiles[k]) {
      Refuse(aAt[k], std::move(prepared.aErrors[k]));
      continue;
    }
    if (prepared.aLines[k] == kWriteFailed) {
      save.sClassListError = "nothing saved: " + prepared.aFiles[k]->Error();
      return save;
    }
    if (prepared.aFiles[k]) aNew.push_back(prepared.aFiles[k].get());
    aSaved.push_back(aAt[k]);
  }
  bool bInPlace = false;
  const Number nWritten = WriteClassLines(
      m, format::kClassListFile, aSaved,
      [&](auto fnPut, String&) {
        for (const int64_t i : aSaved) {
          fnPut(aLines[static_cast<size_t>(i)]);
          aLines[static_cast<size_t>(i)] = String();
        }
      },
      aNew, &bInPlace);
  if (nWritten == Number(kWriteFailed)) {
    save.sClassListError = (bInPlace ? "saved, " : "nothing saved: ") + RepositoryVars(m).sWriteError;
    return save;
  }
  save.nSaved = nWritten.AsInt64();
  save.nUnchanged = prepared.nUnchanged;
  return save;
}

Number VC_JavaRepository::WriteClassFile(Module& m, std::string_view sFile, std::string_view sDelimiter) {
  const DynArray<VC_JavaClass>& aRecords = JavaClassArray(m);
  std::vector<int64_t> aAt;  // the records the file holds, in order
  for (int64_t i = 0; i < aRecords.Count(); ++i) {
    if (!Skipped(aRecords[i])) aAt.push_back(i);
  }
  // Worker threads build the lines; this thread writes them in order.  The
  // first line that cannot be stored fails the file.
  const JavaTextTools tools = JavaTextTools::Bound(m);
  const String sToken = m.G().sCRLFToken;
  const String sMethodDirectory = RepositoryVars(m).sMethodFileDirectory;
  struct Line {
    String sText;
    String sError;
    bool bBuilt = false;
  };
  std::vector<Line> aLines(aAt.size());
  const Number nWritten = WriteClassLines(m, sFile, aAt, [&](auto fnPut, String& sError) {
    RunAhead(
        static_cast<int64_t>(aAt.size()), kWorkerThreads, kLineWindow,
        [&](int64_t k) {
          Line& line = aLines[static_cast<size_t>(k)];
          line.bBuilt = BuildClassLine(tools, sDelimiter, sToken, sMethodDirectory,
                                       aRecords[aAt[static_cast<size_t>(k)]], line.sText, line.sError);
        },
        [&](int64_t k) {
          const Line line = std::move(aLines[static_cast<size_t>(k)]);
          if (!sError.empty()) return;
          if (!line.bBuilt) {
            sError = "class " + aRecords[aAt[static_cast<size_t>(k)]].sClassName + ": " + line.sError;
          } else {
            fnPut(line.sText);
          }
        });
  });
  return nWritten == Number(kWriteFailed) ? nWritten : Number(aRecords.Count());
}

Number VC_JavaRepository::WriteMethodFile(Module& m, std::string_view sFile, Number nClass,
                                          std::string_view sDelimiter) {
  const VC_JavaClass& r = JavaClassArray(m)[nClass.AsInt64()];
  // Without a name the method file goes where the class list file says it is.
  const String sPath = sFile.empty() ? MethodFileOf(m, r.sDirectory, r.sFileName) : String(sFile);
  const int64_t nLines = WriteRecordFile(m, sPath, sDelimiter, format::LineTrim::kEachField, MethodLines(r),
                                         MethodWhat(r), sFile.empty());
  return Number(nLines == kWriteFailed ? kWriteFailed : nLines + 1);
}

PreparedMethodFiles PrepareMethodFiles(Module& m, const std::vector<int64_t>& aClasses, std::string_view sDelimiter) {
  WaitCursorScope wait(m);
  const size_t n = aClasses.size();
  PreparedMethodFiles prepared;
  prepared.aFiles.resize(n);
  prepared.aLines.assign(n, kWriteFailed);
  prepared.aErrors.assign(n, String());
  const DynArray<VC_JavaClass>& aRecords = JavaClassArray(m);
  const FileSystem& files = m.Files();
  const JavaTextTools tools = JavaTextTools::Bound(m);
  const String sToken = m.G().sCRLFToken;
  const String sMethodDirectory = RepositoryVars(m).sMethodFileDirectory;

  // Worker threads build each file's content and compare it with the
  // present file; this thread writes the files that change, in order.
  struct Prepared {
    String sTarget;
    int64_t nLines = kWriteFailed;
    String sError;
    std::string sContent;  // the new file's bytes, until written
    bool bUnchanged = false;
  };
  std::vector<Prepared> aPrepared(n);
  MadeDirectories folders;  // made on the calling thread, each once
  RunAhead(
      static_cast<int64_t>(n), kWorkerThreads, kPrepareWindow,
      [&](int64_t k) {
        Prepared& p = aPrepared[static_cast<size_t>(k)];
        const VC_JavaClass& r = aRecords[aClasses[static_cast<size_t>(k)]];
        p.sTarget = format::MethodFileIn(sMethodDirectory, r.sDirectory, r.sFileName);
        const auto Append = [&p](std::string_view sLine) {
          p.sContent.append(sLine).append(kLineEnd);
          return true;
        };
        p.nLines = BuildLines(tools, sDelimiter, sToken, format::LineTrim::kEachField, MethodLines(r), MethodWhat(r),
                              Append, p.sError);
        if (p.nLines == kWriteFailed) return;
        p.bUnchanged = files.HoldsExactly(p.sTarget, p.sContent);
      },
      [&](int64_t k) {
        const auto j = static_cast<size_t>(k);
        Prepared& p = aPrepared[j];
        const std::string sContent = std::move(p.sContent);
        if (p.nLines == kWriteFailed) {
          prepared.aErrors[j] = p.sError;
          return;
        }
        if (p.bUnchanged) {
          ++prepared.nUnchanged;
          prepared.aLines[j] = p.nLines;
          return;
        }
        auto pFile = std::make_unique<ReplacingFile>(m, p.sTarget, KeepRepositoryHistory);
        if (MakeMethodFileDirectory(m, *pFile, &folders) && pFile->Open() && pFile->Write(sContent) && pFile->Close()) {
          prepared.aLines[j] = p.nLines;
        }
        prepared.aFiles[j] = std::move(pFile);
      });
  return prepared;
}

int64_t VC_JavaRepository::WriteMethodFiles(Module& m, const std::vector<int64_t>& aClasses,
                                            std::string_view sDelimiter, std::vector<Number>& aResults,
                                            std::vector<String>& aErrors, int64_t* pUnchanged) {
  PreparedMethodFiles prepared = PrepareMethodFiles(m, aClasses, sDelimiter);
  const size_t n = aClasses.size();
  aResults.assign(n, Number(kWriteFailed));
  aErrors = std::move(prepared.aErrors);
  std::vector<ReplacingFile*> aReady;
  for (size_t k = 0; k < n; ++k) {
    ReplacingFile* p = prepared.aFiles[k].get();
    if (p != nullptr && prepared.aLines[k] == kWriteFailed) aErrors[k] = p->Error();
    if (p != nullptr && prepared.aLines[k] != kWriteFailed) aReady.push_back(p);
  }
  // The files that were written go in place together, or none does.
  String sCommitError;
  const bool bCommitted = ReplacingFile::CommitAll(m, aReady, sCommitError);
  int64_t nWritten = 0;
  String sLastError;
  for (size_t k = 0; k < n; ++k) {
    if (!bCommitted && prepared.aFiles[k] && aErrors[k].empty()) aErrors[k] = sCommitError;
    if (!aErrors[k].empty()) {
      sLastError = aErrors[k];
      continue;
    }
    aResults[k] = Number(prepared.aLines[k] + 1);
    ++nWritten;
  }
  RepositoryVars(m).sWriteError = sLastError;
  if (pUnchanged != nullptr) *pUnchanged = prepared.nUnchanged;
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
