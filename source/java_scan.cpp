// SPDX-License-Identifier: Apache-2.0
#include "source/java_scan.h"

#include <algorithm>
#include <array>
#include <cstring>
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

// The byte order of the concatenations a[0] + a[1] + a[2] and b[0] + b[1] +
// b[2], without making them: negative, 0 or positive.
int ComparePieces(std::array<std::string_view, 3> a, std::array<std::string_view, 3> b) {
  size_t i = 0;
  size_t j = 0;
  for (;;) {
    while (i < a.size() && a[i].empty()) ++i;
    while (j < b.size() && b[j].empty()) ++j;
    if (i == a.size() || j == b.size()) return (i == a.size() ? 0 : 1) - (j == b.size() ? 0 : 1);
    const size_t n = std::min(a[i].size(), b[j].size());
    if (const int c = std::memcmp(a[i].data(), b[j].data(), n); c != 0) return c;
    a[i].remove_prefix(n);
    b[j].remove_prefix(n);
  }
}

}  // namespace

JavaSourceTree FindJavaSources(Module& m, const std::vector<String>& aRoots) {
  RtWaitCursor(m, true);
  JavaSourceTree tree;
  std::vector<String>& aDirs = tree.aDirectories;
  aDirs = aRoots;
  // Breadth first, then the files of each directory in that order: the
  // walk of ScanJavaFiles.
  DynArray<String> aNames;
  for (size_t j = 0; j < aDirs.size(); ++j) {
    const int64_t nSub = VtListSubdirectories(m, AllEntriesPattern(aDirs[j]), aNames);
    for (int64_t i = 0; i < nSub; ++i) aDirs.push_back(aDirs[j] + "\\" + aNames[i]);
  }
  for (size_t j = 0; j < aDirs.size(); ++j) {
    const int64_t nHit = VtListFiles(m, aDirs[j] + String(kJavaPattern), 0, aNames);
    for (int64_t k = 0; k < nHit; ++k) {
      const String& sName = aNames[k];
      tree.aFiles.push_back(
          {static_cast<uint32_t>(tree.sNames.size()), static_cast<uint32_t>(sName.size()), static_cast<uint32_t>(j)});
      tree.sNames += sName;
    }
  }
  // The toolkit sorts the keys file + "," + directory; each sorted key is
  // traced back to a file of that key by binary search in the files'
  // byte order (the keys are not kept twice), equal keys by position.
  std::vector<JavaSourceTree::File>& aFiles = tree.aFiles;
  const auto KeyOf = [&](uint32_t f) -> std::array<std::string_view, 3> {
    return {tree.Name(aFiles[f]), kKeySeparator, aDirs[aFiles[f].nDirectory]};
  };
  DynArray<String> aKey;
  aKey.Items().reserve(aFiles.size());
  for (uint32_t f = 0; f < aFiles.size(); ++f) {
    const auto key = KeyOf(f);
    String& sKey = aKey.Items().emplace_back();
    sKey.reserve(key[0].size() + key[1].size() + key[2].size());
    sKey.append(key[0]).append(key[1]).append(key[2]);
  }
  VtArraySort(m, aKey, kSortAscending, kSortStrings);
  std::vector<uint32_t> aOrder(aFiles.size());
  std::iota(aOrder.begin(), aOrder.end(), uint32_t{0});
  std::stable_sort(aOrder.begin(), aOrder.end(),
                   [&](uint32_t a, uint32_t b) { return ComparePieces(KeyOf(a), KeyOf(b)) < 0; });
  std::vector<uint32_t> aTakenInRun(aFiles.size(), 0);
  std::vector<bool> aTaken(aFiles.size(), false);
  std::vector<uint32_t> aPlaced;  // the files in the toolkit's order
  aPlaced.reserve(aFiles.size());
  for (String& sKey : aKey.Items()) {
    const auto it = std::lower_bound(aOrder.begin(), aOrder.end(), sKey, [&](uint32_t f, const String& s) {
      return ComparePieces(KeyOf(f), {s, {}, {}}) < 0;
    });
    const auto nRun = static_cast<size_t>(it - aOrder.begin());
    const size_t nAt = nRun < aOrder.size() ? nRun + aTakenInRun[nRun] : aOrder.size();
    const bool bFound = nAt < aOrder.size() && ComparePieces(KeyOf(aOrder[nAt]), {sKey, {}, {}}) == 0;
    String().swap(sKey);
    if (!bFound) continue;
    ++aTakenInRun[nRun];
    aTaken[aOrder[nAt]] = true;
    aPlaced.push_back(aOrder[nAt]);
  }
  // Should a toolkit not hand back exactly the keys it was given, no file
  // is lost: the ones not placed follow in their own order.
  for (uint32_t f = 0; f < aFiles.size(); ++f) {
    if (!aTaken[f]) aPlaced.push_back(f);
  }
  std::vector<JavaSourceTree::File> aSorted;
  aSorted.reserve(aFiles.size());
  for (const uint32_t f : aPlaced) aSorted.push_back(aFiles[f]);
  aFiles = std::move(aSorted);
  RtWaitCursor(m, false);
  return tree;
}

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
