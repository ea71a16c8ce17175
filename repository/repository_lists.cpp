#include "repository/repository_lists.h"

#include "frame/rt_string.h"
#include "frame/toolkit.h"

namespace qv {

Number VC_JavaRepository::FindSubClasses(Module& m, std::string_view sClassName, DynArray<Number>& nIndexes) {
  const DynArray<String>& aSuper = RepositoryVars(m).cv_sSuperClass;
  const int64_t nFirst = VtArrayFindString(m, aSuper, sClassName);
  if (nFirst < 0) return Number(0);
  nIndexes.At(0) = Number(nFirst);
  int64_t nFound = 1;
  const int64_t nCount = RtArrayBounds(aSuper);
  for (int64_t j = nFirst + 1; j < nCount; ++j) {
    if (aSuper[j] == sClassName) nIndexes.At(nFound++) = Number(j);
  }
  return Number(nFound);
}

Number VC_JavaRepository::FindClass(Module& m, std::string_view sClassName) {
  return Number(VtArrayFindString(m, RepositoryVars(m).cv_sClassName, sClassName));
}

}  // namespace qv
