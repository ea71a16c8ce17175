// SPDX-License-Identifier: Apache-2.0
#include "repository/subclass_tree.h"

#include <algorithm>
#include <string>

#include "repository/java_records.h"
#include "repository/java_repository.h"

namespace qv {

std::vector<SubclassNode> SubclassTree(Module& m, std::string_view sTop) {
  VC_JavaRepository& repo = JavaRepositoryInstance(m);
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  const int64_t nClasses = RepositoryVars(m).cv_nClassCount.AsInt64();
  std::vector<SubclassNode> aNodes;

  std::vector<String> aTops;
  if (!sTop.empty()) {
    aTops.emplace_back(sTop);
  } else {
    for (int64_t i = 0; i < nClasses; ++i) {
      const String& sSuper = aClasses[i].sSuperClass;
      if (repo.FindClass(m, sSuper).AsInt64() >= 0) continue;
      if (std::find(aTops.begin(), aTops.end(), sSuper) == aTops.end()) aTops.push_back(sSuper);
    }
  }
  // Depth first, without recursion; a class already on the path (a cycle
  // of superclasses) is not entered again.
  std::vector<char> aOnPath(static_cast<size_t>(nClasses), 0);
  std::vector<char> aListed(static_cast<size_t>(nClasses), 0);
  DynArray<Number> aSubs;
  struct Frame {
    int64_t nClass;
    int nDepth;
    bool bLeaving;
    String sParent;
  };
  std::vector<Frame> aStack;
  const auto PushSubclasses = [&](const String& sName, int nDepth) {
    aSubs.Clear();
    const int64_t nFound = repo.FindSubClasses(m, sName, aSubs).AsInt64();
    for (int64_t k = nFound - 1; k >= 0; --k) aStack.push_back({aSubs[k].AsInt64(), nDepth, false, sName});
  };
  const auto Walk = [&] {
    while (!aStack.empty()) {
      const Frame f = std::move(aStack.back());
      aStack.pop_back();
      const auto nAt = static_cast<size_t>(f.nClass);
      if (f.bLeaving) {
        aOnPath[nAt] = 0;
        continue;
      }
      const VC_JavaClass& r = aClasses[f.nClass];
      const bool bCycle = aOnPath[nAt] != 0;
      aNodes.push_back({r.sClassName, r.sPackage, f.nDepth, f.sParent, true, bCycle, f.nClass});
      if (bCycle) continue;
      aListed[nAt] = 1;
      aOnPath[nAt] = 1;
      aStack.push_back({f.nClass, f.nDepth, true, f.sParent});
      PushSubclasses(r.sClassName, f.nDepth + 1);
    }
  };
  // A top named by the caller that is a class of the repository is on the
  // path below it: met again, it is a cycle too.
  const std::vector<int64_t> aTopClasses = sTop.empty() ? std::vector<int64_t>()
                                                        : RepositoryVars(m).cv_sClassName.Positions(sTop);
  for (const int64_t i : aTopClasses) {
    if (i < nClasses) aOnPath[static_cast<size_t>(i)] = 1;
  }
  for (const String& sName : aTops) {
    aNodes.push_back({sName, String(), 0, String(), !sTop.empty(), false, -1});
    PushSubclasses(sName, 1);
    Walk();
  }
  for (int64_t i = 0; sTop.empty() && i < nClasses; ++i) {
    const auto nAt = static_cast<size_t>(i);
    if (aListed[nAt] != 0) continue;
    aNodes.push_back({aClasses[i].sClassName, aClasses[i].sPackage, 0, String(), true, true, i});
    aListed[nAt] = 1;
    aOnPath[nAt] = 1;
    PushSubclasses(aClasses[i].sClassName, 1);
    Walk();
    aOnPath[nAt] = 0;
  }
  return aNodes;
}

}  // namespace qv
