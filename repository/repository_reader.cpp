// SPDX-License-Identifier: Apache-2.0
// Reading the repository files into JavaClass, and the class lookups.
#include <vector>

#include "core/convert.h"
#include "core/rt_string.h"
#include "core/runtime.h"
#include "core/window_messages.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/repository_format.h"

namespace qv {

namespace {

// Opens sFile for reading, calls onOpen() and then onLine(line) for every
// line, read whole however long it is.  Returns FALSE when the file cannot
// be opened.
template <class OnOpen, class OnLine>
bool ForEachLine(Module& m, std::string_view sFile, OnOpen onOpen, OnLine onLine) {
  FileHandle hFile;
  if (!RtFileOpen(m, hFile, sFile, kOpenRead)) return false;
  onOpen();
  String sLine;
  while (RtFileGetLine(m, hFile, sLine, 0)) onLine(std::string_view(sLine));
  RtFileClose(m, hFile);
  return true;
}

// The same without onOpen.
template <class OnLine>
bool ForEachLine(Module& m, std::string_view sFile, OnLine onLine) {
  return ForEachLine(
      m, sFile, [] {}, onLine);
}

static_assert(VC_JavaClassVariable::kFieldCount == format::kVariableFieldCount);

// Field k of a line as stored: trimmed unless the line is marked exact.
String Field(const std::vector<std::string_view>& aFields, size_t k, bool bExact) {
  return String(format::FieldOf(aFields, k, !bExact));
}

String TextField(Module& m, const std::vector<std::string_view>& aFields, size_t k, bool bExact,
                 std::string_view sToken) {
  return format::DecodeText(m, format::FieldOf(aFields, k, !bExact), sToken);
}

}  // namespace

Number VC_JavaRepository::InitRepository(Module& m) {
  JavaRepositoryVars& repo = RepositoryVars(m);
  repo.cv_nClassCount = Number(0);
  repo.cv_sClassName.Clear();
  repo.cv_sSuperClass.Clear();
  repo.cv_sClassKey.Clear();
  return Number::Null();
}

Number VC_JavaRepository::LoadRepository(Module& m) {
  if (RepositoryVars(m).cv_nClassCount == Number(0)) {
    // A copy: the host may change the global while the file is read.
    const String sDelimiter = m.G().sElementDelimiter;
    ReadClassFile(m, format::kClassListFile, sDelimiter);
  }
  return Number::Null();
}

Number VC_JavaRepository::ReadClassFile(Module& m, std::string_view sFile, std::string_view sDelimiter) {
  const WindowHandle hFrame = m.Win().Context().hWndMDI;
  return Number(ReadClassList(m, sFile, sDelimiter, [&m, hFrame](int64_t nRead) {
    RtSendMessage(m, hFrame, kMsgRepositoryLoadProgress, Number(0), Number(nRead));
  }));
}

int64_t ReadClassList(Module& m, std::string_view sFile, std::string_view sDelimiter,
                      const std::function<void(int64_t nRead)>& fnProgress) {
  using namespace format;
  JavaRepositoryVars& repo = RepositoryVars(m);
  DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  const String sToken = m.G().sCRLFToken;
  std::vector<std::string_view> aFields;
  std::vector<std::string_view> aImports;
  int64_t i = 0;
  ForEachLine(m, sFile, [&](std::string_view sLine) {
    const bool bExact = SplitRecord(sLine, sDelimiter, kClassFieldCount, LineTrim::kEachField, aFields);
    VC_JavaClass& r = aClasses.At(i);
    r.sSuperClass = Field(aFields, kSuperClass, bExact);
    repo.cv_sSuperClass.Set(i, r.sSuperClass);
    r.sClassName = Field(aFields, kClassName, bExact);
    repo.cv_sClassName.Set(i, r.sClassName);
    r.sFileName = Field(aFields, kFileName, bExact);
    r.sDirectory = Field(aFields, kDirectory, bExact);
    const std::string_view sStamp = RtStrTrimView(FieldAt(aFields, kStamp));
    if (!FieldAt(aFields, kStamp).empty()) r.dtStamp = RtStrToDateTime(sStamp);
    r.sPackage = Field(aFields, kPackage, bExact);
    r.sHeader = TextField(m, aFields, kHeader, bExact, sToken);
    r.sFooter = TextField(m, aFields, kFooter, bExact, sToken);
    r.sDescription = TextField(m, aFields, kDescription, bExact, sToken);
    // The line's imports replace the record's whole list: a record read over
    // an older one must not keep imports it no longer has.
    SplitImports(FieldOf(aFields, kImports, !bExact), sToken, aImports);
    r.sImport.Clear();
    for (size_t j = 0; j < aImports.size(); ++j) r.sImport.Set(static_cast<int64_t>(j), String(aImports[j]));
    r.sMethodFile = Field(aFields, kMethodFile, bExact);
    r.sExtra = Field(aFields, kExtra, bExact);
    String& sKey = repo.cv_sClassKey.At(i);
    sKey = repo.cv_sClassName[i];
    sKey.append(",").append(repo.cv_sSuperClass[i]).append(",").append(RtNumberToStr(Number(i), 0));
    ++i;
    if (fnProgress) fnProgress(i);
  });
  repo.cv_nClassCount = Number(i);
  return i;
}

Number VC_JavaRepository::ReadMethodFile(Module& m, std::string_view sFile, Number nClass,
                                         std::string_view sDelimiter) {
  using namespace format;
  VC_JavaClass& r = JavaClassArray(m).At(nClass.AsInt64());
  const String sToken = m.G().sCRLFToken;
  std::vector<std::string_view> aFields;
  int64_t k = 1;
  // The file's methods replace the record's whole list.
  ForEachLine(
      m, sFile, [&r] { r.aMethods.Clear(); },
      [&](std::string_view sLine) {
        const bool bExact = SplitRecord(sLine, sDelimiter, kMethodFieldCount, LineTrim::kEachField, aFields);
        VC_JavaMethod& method = r.aMethods.At(k);
        method.sName = Field(aFields, kMethodName, bExact);
        method.sComment = TextField(m, aFields, kMethodComment, bExact, sToken);
        method.sBody = DecodeText(m, FieldAt(aFields, kMethodBody), sToken);
        ++k;
      });
  return Number(k);
}

Number VC_JavaRepository::ReadVariableFile(Module& m, std::string_view sFile, Number nClass,
                                           std::string_view sDelimiter) {
  VC_JavaClass& r = JavaClassArray(m).At(nClass.AsInt64());
  std::vector<std::string_view> aFields;
  int64_t k = 0;
  // The file's variables replace the record's whole list.
  ForEachLine(
      m, sFile, [&r] { r.aVariables.Clear(); },
      [&](std::string_view sLine) {
        format::SplitRecord(sLine, sDelimiter, format::kVariableFieldCount, format::LineTrim::kWholeLine, aFields);
        VC_JavaClassVariable& v = r.aVariables.At(k);
        for (size_t f = 0; f < VC_JavaClassVariable::kFieldCount; ++f) v.Value(f) = String(format::FieldAt(aFields, f));
        ++k;
      });
  return Number(k);
}

Number VC_JavaRepository::FindSubClasses(Module& m, std::string_view sClassName, DynArray<Number>& nIndexes) {
  const std::vector<int64_t>& aAt = RepositoryVars(m).cv_sSuperClass.Positions(sClassName);
  for (size_t c = 0; c < aAt.size(); ++c) nIndexes.At(static_cast<int64_t>(c)) = Number(aAt[c]);
  return Number(static_cast<int64_t>(aAt.size()));
}

Number VC_JavaRepository::FindClass(Module& m, std::string_view sClassName) {
  return Number(RepositoryVars(m).cv_sClassName.First(sClassName));
}

}  // namespace qv
