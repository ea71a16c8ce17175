// SPDX-License-Identifier: Apache-2.0
#include "source/java_scan.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "core/rt_string.h"
#include "core/runtime.h"
#include "core/toolkit.h"

namespace qv {
namespace {

constexpr std::string_view kKeySeparator = ",";
constexpr std::string_view kJavaPattern = "\\*.JAV";
constexpr int64_t kSortAscending = 0;
constexpr int64_t kSortStrings = 5;

// Orders the pairs (sFile[i], sDirectory[i]) for every position of sFile by
// the toolkit's ascending sort of their keys file + "," + directory.
//
// The keys decide the order, but the pairs are not cut back out of the
// sorted keys: a file name may hold the separator and a directory may be of
// any length, so each sorted key is traced back to a pair it was built
// from.  Pairs with equal keys are interchangeable in the order; they keep
// their relative positions.
void SortByKey(Module& m, DynArray<String>& sDirectory, DynArray<String>& sFile) {
  const size_t nCount = static_cast<size_t>(RtArrayBounds(sFile));
  if (nCount == 0) return;
  std::vector<String> aFileOf(nCount), aDirOf(nCount), aKeyOf(nCount);
  for (size_t i = 0; i < nCount; ++i) {
    const auto n = static_cast<int64_t>(i);
    aFileOf[i] = std::move(sFile.At(n));
    aDirOf[i] = std::move(sDirectory.At(n));
    aKeyOf[i].reserve(aFileOf[i].size() + kKeySeparator.size() + aDirOf[i].size());
    aKeyOf[i].append(aFileOf[i]).append(kKeySeparator).append(aDirOf[i]);
  }
  DynArray<String> aKey;
  aKey.Items() = aKeyOf;
  VtArraySort(m, aKey, kSortAscending, kSortStrings);

  // The pairs in byte order of their keys, equal keys by position: a run of
  // equal keys is found by binary search and handed out front to back.
  std::vector<size_t> aOrder(nCount);
  std::iota(aOrder.begin(), aOrder.end(), size_t{0});
  std::stable_sort(aOrder.begin(), aOrder.end(), [&](size_t a, size_t b) { return aKeyOf[a] < aKeyOf[b]; });
  std::vector<size_t> aTakenInRun(nCount, 0);
  std::vector<bool> aTaken(nCount, false);
  int64_t nOut = 0;
  auto Put = [&](size_t nPair) {
    sFile.At(nOut) = std::move(aFileOf[nPair]);
    sDirectory.At(nOut) = std::move(aDirOf[nPair]);
    aTaken[nPair] = true;
    ++nOut;
  };
  for (const String& sKey : aKey.Items()) {
    const auto it = std::lower_bound(aOrder.begin(), aOrder.end(), sKey,
                                     [&](size_t a, const String& s) { return aKeyOf[a] < s; });
    const auto nRun = static_cast<size_t>(it - aOrder.begin());
    if (nRun >= nCount) continue;
    const size_t nAt = nRun + aTakenInRun[nRun];
    if (nAt >= nCount || aKeyOf[aOrder[nAt]] != sKey) continue;
    ++aTakenInRun[nRun];
    Put(aOrder[nAt]);
  }
  // A sort hands back exactly the keys it was given; should a toolkit not,
  // no pair is lost: the ones not placed follow in their own order.
  for (size_t i = 0; i < nCount; ++i) {
    if (!aTaken[i]) Put(i);
  }
}

}  // namespace

String AllEntriesPattern(std::string_view sDirectory) {
  String sPattern(sDirectory);
  if (RtStrRight(sDirectory, 1) != "\\") sPattern += '\\';
  sPattern += "*.*";
  return sPattern;
}

Number ScanJavaFiles(Module& m, DynArray<String>& sDirectory, DynArray<String>& sFile) {
  RtWaitCursor(m, true);
  DynArray<String> aDir, aSub, aHit;

  for (int64_t i = 0; !sDirectory[i].empty(); ++i) aDir.At(i) = sDirectory[i];

  // Breadth first: the walk list grows behind the position being visited.
  // The host lists only real subdirectories, never "." or ".." nor links.
  int64_t nDirs = RtArrayBounds(aDir);
  for (int64_t j = 0; j < nDirs; ++j) {
    const String sDir = aDir[j];  // a copy: appending below may move the elements
    const int64_t nSub = VtListSubdirectories(m, AllEntriesPattern(sDir), aSub);
    for (int64_t i = 0; i < nSub; ++i) aDir.At(nDirs + i) = sDir + "\\" + aSub[i];
    if (nSub > 0) nDirs += nSub;
  }

  nDirs = RtArrayBounds(aDir);
  int64_t n = 0;
  for (int64_t j = 0; j < nDirs; ++j) {
    const String& sDir = aDir[j];
    if (sDir.empty()) continue;
    const int64_t nHit = VtListFiles(m, sDir + String(kJavaPattern), 0, aHit);
    for (int64_t k = 0; k < nHit; ++k) {
      sDirectory.At(n) = sDir;
      sFile.At(n) = aHit[k];
      ++n;
    }
  }

  SortByKey(m, sDirectory, sFile);
  RtWaitCursor(m, false);
  return Number::Null();
}

}  // namespace qv
