// SPDX-License-Identifier: Apache-2.0
#include "repository/java_records.h"

#include "core/rt_string.h"
#include "repository/java_repository.h"
#include "source/java_parser.h"

namespace qv {

Number VC_JavaClass::ClearClass(Module& /*m*/) {
  RtSetArrayBounds(sImport, -1, -1);
  RtSetArrayBounds(aSpare1, -1, -1);
  RtSetArrayBounds(aSpare2, -1, -1);
  RtSetArrayBounds(aMethods, -1, -1);
  RtSetArrayBounds(aVariables, -1, -1);
  return Number::Null();
}

Number VC_JavaClass::ParseSourceFile(Module& m, Number nIndex) {
  String sPath;
  sPath.reserve(sDirectory.size() + 1 + sFileName.size());
  sPath.append(sDirectory).append("\\").append(sFileName);

  String sBody;
  DynArray<String> a1, a2, a3, a4, a5, a6;
  // Whether the file could be read does not matter here: whatever the parser
  // assigned is kept, and an unread file leaves an empty body.
  ParseJavaSource(m, sPath, sClassName, sSuperClass, sPackage, sHeader, sDescription, sFooter, sBody, sImport, a1, a2,
                  a3, a4, a5, a6);
  aMethods.At(1).sBody = std::move(sBody);

  JavaRepositoryVars& repo = RepositoryVars(m);
  const int64_t nAt = nIndex.AsInt64();
  repo.cv_sClassName.Set(nAt, sClassName);
  repo.cv_sSuperClass.Set(nAt, sSuperClass);
  return Number::Null();
}

Number VC_JavaFile::ClearJavaFiles(Module& m) {
  RtSetArrayBounds(m.G().glb_sFile, -1, -1);
  RtSetArrayBounds(m.G().glb_sClass, -1, -1);
  RtSetArrayBounds(JavaClassArray(m), -1, -1);
  return Number::Null();
}

Number VC_JavaFile::SetJavaFile(Module& m, Number nFileIndex, std::string_view sFileName,
                                std::string_view sFileDirectory) {
  const int64_t nAt = nFileIndex.AsInt64();
  sFile = String(sFileName);
  m.G().glb_sFile.At(nAt) = sFile;
  sDirectory = String(sFileDirectory);
  nIndex = nFileIndex;
  VC_JavaClass& record = JavaClassArray(m).At(nAt);
  record.sFileName = sFile;
  record.sDirectory = sDirectory;
  return Number::Null();
}

Number VC_JavaFile::GetJavaFileInfo(Module& /*m*/, String& sFileOut, String& sDirectoryOut) {
  sFileOut = sFile;
  sDirectoryOut = sDirectory;
  return Number::Null();
}

}  // namespace qv
