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

// The order of the toolkit's ascending sort of the keys file + "," +
// directory of nCount entries, KeyOf(i) giving the three pieces of entry
// i's key: the entries' positions in that order.
//
// The keys decide the order, but the entries are not cut back out of the
// sorted keys: a file name may hold the separator and a directory may be of
// any length, so each sorted key is traced back to an entry of that key by
// binary search in the entries' byte order (the keys are not kept twice).
// Entries with equal keys are interchangeable; they keep their relative
// positions.
template <class KeyOf>
std::vector<uint32_t> ToolkitKeyOrder(Module& m, size_t nCount, const KeyOf& fnKeyOf) {
  DynArray<String> aKey;
  aKey.Items().reserve(nCount);
  for (uint32_t f = 0; f < nCount; ++f) {
    const std::array<std::string_view, 3> key = fnKeyOf(f);
    String& sKey = aKey.Items().emplace_back();
    sKey.reserve(key[0].size() + key[1].size() + key[2].size());
    sKey.append(key[0]).append(key[1]).append(key[2]);
  }
  VtArraySort(m, aKey, kSortAscending, kSortStrings);
  std::vector<uint32_t> aOrder(nCount);
  std::iota(aOrder.begin(), aOrder.end(), uint32_t{0});
  std::stable_sort(aOrder.begin(), aOrder.end(),
                   [&](uint32_t a, uint32_t b) { return ComparePieces(fnKeyOf(a), fnKeyOf(b)) < 0; });
  std::vector<uint32_t> aTakenInRun(nCount, 0);
  std::vector<bool> aTaken(nCount, false);
  std::vector<uint32_t> aPlaced;  // the entries in the toolkit's order
  aPlaced.reserve(nCount);
  for (String& sKey : aKey.Items()) {
    const auto it = std::lower_bound(aOrder.begin(), aOrder.end(), sKey, [&](uint32_t f, const String& s) {
      return ComparePieces(fnKeyOf(f), {s, {}, {}}) < 0;
    });
    const auto nRun = static_cast<size_t>(it - aOrder.begin());
    const size_t nAt = nRun < aOrder.size() ? nRun + aTakenInRun[nRun] : aOrder.size();
    const bool bFound = nAt < aOrder.size() && ComparePieces(fnKeyOf(aOrder[nAt]), {sKey, {}, {}}) == 0;
    String().swap(sKey);
    if (!bFound) continue;
    ++aTakenInRun[nRun];
    aTaken[aOrder[nAt]] = true;
    aPlaced.push_back(aOrder[nAt]);
  }
  // Should a toolkit not hand back exactly the keys it was given, no entry
  // is lost: the ones not placed follow in their own order.
  for (uint32_t f = 0; f < nCount; ++f) {
    if (!aTaken[f]) aPlaced.push_back(f);
  }
  return aPlaced;
}

// Orders the pairs (sFile[i], sDirectory[i]) for every position of sFile by
// the toolkit's ascending sort of their keys file + "," + directory.
void SortByKey(Module& m, DynArray<String>& sDirectory, DynArray<String>& sFile) {
  const size_t nCount = static_cast<size_t>(RtArrayBounds(sFile));
  if (nCount == 0) return;
  std::vector<String> aFileOf(nCount), aDirOf(nCount);
  for (size_t i = 0; i < nCount; ++i) {
    const auto n = static_cast<int64_t>(i);
    aFileOf[i] = std::move(sFile.At(n));
    aDirOf[i] = std::move(sDirectory.At(n));
  }
  const std::vector<uint32_t> aPlaced = ToolkitKeyOrder(m, nCount, [&](uint32_t f) -> std::array<std::string_view, 3> {
    return {aFileOf[f], kKeySeparator, aDirOf[f]};
  });
  int64_t nOut = 0;
  for (const uint32_t f : aPlaced) {
    sFile.At(nOut) = std::move(aFileOf[f]);
    sDirectory.At(nOut) = std::move(aDirOf[f]);
    ++nOut;
  }
}

}  // namespace

JavaSourceTree FindJavaSources(Module& m, const std::vector<String>& aRoots) {
  RtWaitCursor(m, true);
  JavaSourceTree tree;
  std::vector<String>& aDirs = tree.aDirectories;
  aDirs = aRoots;
  // The walk with one listing of each directory through the file
  // interface in place of the toolkit's two (subdirectories, then files):
  // the same directories and files in the same order, for half the
  // listings.
  FileSystem& files = m.Files();
  const auto fnList = [&files](const String& sDirectory, std::vector<String>& aSubdirectories,
                               DynArray<String>& aNames) {
    files.ListDirectory(sDirectory, kJavaPattern.substr(1), aSubdirectories, aNames.Items());
    return static_cast<int64_t>(aNames.Items().size());
  };
  WalkJavaDirectories(aDirs, fnList, [&](size_t nDirectory, const DynArray<String>& aNames, int64_t nNames) {
    for (int64_t k = 0; k < nNames; ++k) {
      const String& sName = aNames[k];
      tree.aFiles.push_back({static_cast<uint32_t>(tree.sNames.size()), static_cast<uint32_t>(sName.size()),
                             static_cast<uint32_t>(nDirectory)});
      tree.sNames += sName;
    }
  });
  // In the toolkit's order of the keys file + "," + directory.
  std::vector<JavaSourceTree::File>& aFiles = tree.aFiles;
  const std::vector<uint32_t> aPlaced = ToolkitKeyOrder(
      m, aFiles.size(), [&](uint32_t f) -> std::array<std::string_view, 3> {
        return {tree.Name(aFiles[f]), kKeySeparator, aDirs[aFiles[f].nDirectory]};
      });
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

void WalkJavaDirectories(std::vector<String>& aDirs, const JavaDirectoryLister& fnList,
                         const JavaFilesHandler& fnFiles) {
  std::vector<String> aSubdirectories;
  DynArray<String> aNames;
  for (size_t j = 0; j < aDirs.size(); ++j) {
    if (aDirs[j].empty()) continue;
    aSubdirectories.clear();
    aNames.Clear();
    const int64_t nNames = fnList(aDirs[j], aSubdirectories, aNames);
    // The name is made before the list grows: growing may move aDirs[j].
    for (const String& sSub : aSubdirectories) aDirs.push_back(aDirs[j] + "\\" + sSub);
    fnFiles(j, aNames, nNames);
  }
}

JavaDirectoryLister ToolkitJavaLister(Module& m) {
  return [&m](const String& sDirectory, std::vector<String>& aSubdirectories, DynArray<String>& aNames) {
    const int64_t nSub = VtListSubdirectories(m, AllEntriesPattern(sDirectory), aNames);
    for (int64_t i = 0; i < nSub; ++i) aSubdirectories.push_back(aNames[i]);
    aNames.Clear();
    return VtListFiles(m, sDirectory + String(kJavaPattern), 0, aNames);
  };
}

Number ScanJavaFiles(Module& m, DynArray<String>& sDirectory, DynArray<String>& sFile) {
  RtWaitCursor(m, true);
  std::vector<String> aDir;
  for (int64_t i = 0; !sDirectory[i].empty(); ++i) aDir.push_back(sDirectory[i]);
  int64_t n = 0;
  WalkJavaDirectories(aDir, ToolkitJavaLister(m), [&](size_t nDirectory, const DynArray<String>& aHit, int64_t nHit) {
    for (int64_t k = 0; k < nHit; ++k) {
      sDirectory.At(n) = aDir[nDirectory];
      sFile.At(n) = aHit[k];
      ++n;
    }
  });
  SortByKey(m, sDirectory, sFile);
  RtWaitCursor(m, false);
  return Number::Null();
}

}  // namespace qv
