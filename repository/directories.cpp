// SPDX-License-Identifier: Apache-2.0
#include "repository/directories.h"

#include "core/rt_string.h"
#include "core/runtime.h"
#include "core/toolkit.h"
#include "source/java_scan.h"

namespace qv {
namespace {
constexpr int64_t kCopyStrings = 5;
}  // namespace

Number VC_Directories::InitDirectories(Module& m) {
  DirectoriesVars& cv = DirectoriesClassVars(m);
  cv.cv_nSpare = Number(0);
  cv.cv_nRootCount = Number(0);
  RtSetArrayBounds(cv.cv_sDirectory, -1, -1);
  RtSetArrayBounds(cv.cv_sFile, -1, -1);
  return Number::Null();
}

Number VC_Directories::SetRootDirectories(Module& m, std::string_view sDirectories) {
  DirectoriesVars& cv = DirectoriesClassVars(m);
  DynArray<String> aPieces;
  const int64_t nPieces = RtStrTokenize(sDirectories, "", ";", aPieces);
  for (int64_t i = 0; i < nPieces; ++i) {
    if (!VtDirExists(m, aPieces[i])) continue;
    cv.cv_sDirectory.At(cv.cv_nRootCount.AsInt64()) = aPieces[i];
    cv.cv_nRootCount += Number(1);
  }
  FindDirectories(m);
  return Number(RtArrayBounds(cv.cv_sDirectory));
}

Number VC_Directories::GetDirectoryCount(Module& m) {
  return Number(RtArrayBounds(DirectoriesClassVars(m).cv_sDirectory));
}

Number VC_Directories::GetJavaFileCount(Module& m) { return Number(RtArrayBounds(DirectoriesClassVars(m).cv_sFile)); }

Number VC_Directories::CollectJavaFiles(Module& m) {
  DirectoriesVars& cv = DirectoriesClassVars(m);
  RtWaitCursor(m, true);
  WalkJavaDirectories(cv.cv_sDirectory.Items(), ToolkitJavaLister(m),
                      [&](size_t, const DynArray<String>& aNames, int64_t nNames) {
                        // The toolkit's copy appends, so the names of every directory stay.
                        if (nNames > 0) VtArrayCopy(m, aNames, cv.cv_sFile, kCopyStrings);
                      });
  RtWaitCursor(m, false);
  return Number::Null();
}

Number VC_Directories::FindDirectories(Module& m) {
  DirectoriesVars& cv = DirectoriesClassVars(m);
  RtWaitCursor(m, true);
  ScanJavaFiles(m, cv.cv_sDirectory, cv.cv_sFile);
  RtWaitCursor(m, false);
  return Number::Null();
}

String VC_Directories::GetDirectory(Module& m, Number nIndex) {
  return DirectoriesClassVars(m).cv_sDirectory[nIndex.AsInt64()];
}

String VC_Directories::GetJavaFile(Module& m, Number nIndex) {
  return DirectoriesClassVars(m).cv_sFile[nIndex.AsInt64()];
}

}  // namespace qv
