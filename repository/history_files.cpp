// SPDX-License-Identifier: Apache-2.0
// Numbered history copies of the files the repository overwrites.
//
// Copy 1 is the newest, copy nQtyOfArchiveFiles the oldest.  Before a new
// copy 1 is made, every existing copy moves up by one number (from the
// oldest down, so nothing is overwritten) and the oldest is dropped.  The
// repository's files keep their copies in the archive directory, Java
// sources beside themselves.
#include <algorithm>
#include <vector>

#include "core/host.h"
#include "core/rt_string.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/repository_format.h"

namespace qv {

namespace {

// Up to this many copy numbers are probed one by one; beyond it the
// existing copies are found by listing the directory, so that a huge copy
// count costs one listing instead of billions of existence tests.
constexpr int64_t kProbeLimit = 1000;

bool Exists(Module& m, std::string_view sPath) {
  FileHandle hNone;
  return m.Files().Open(hNone, sPath, kOpenExist);
}

void Delete(Module& m, std::string_view sPath) { m.Files().Remove(sPath); }

// The numbers from 1 to nHighest that have a copy of sFile under sPrefix,
// descending.
std::vector<int64_t> ExistingCopies(Module& m, std::string_view sPrefix, std::string_view sFile, int64_t nHighest) {
  std::vector<int64_t> aFound;
  if (nHighest <= kProbeLimit) {
    for (int64_t n = nHighest; n >= 1; --n) {
      if (Exists(m, String(sPrefix) + format::HistoryCopyName(sFile, n))) aFound.push_back(n);
    }
    return aFound;
  }
  const String sBase = String(sPrefix) + String(format::BaseName(sFile));
  const size_t nBaseName = format::FileNameOf(sBase).size();
  std::vector<std::string> aNames;
  m.Files().ListFiles(sBase + ".*", aNames);
  for (const std::string& sName : aNames) {
    // A copy's name is the base, "." and at least three digits.
    const std::string_view sDigits = std::string_view(sName).substr(std::min(sName.size(), nBaseName + 1));
    if (sDigits.size() < 3 || sDigits.size() > 18 ||
        !std::all_of(sDigits.begin(), sDigits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    int64_t n = 0;
    for (char c : sDigits) n = n * 10 + (c - '0');
    // Only the names the rotation itself uses ("jbclass.0042" is not one).
    if (n >= 1 && n <= nHighest && sName == format::FileNameOf(String(sPrefix) + format::HistoryCopyName(sFile, n))) {
      aFound.push_back(n);
    }
  }
  std::sort(aFound.rbegin(), aFound.rend());
  return aFound;
}

// Rotates the copies of sFile, named after sName and standing behind
// sPrefix, then copies sFile to copy 1.  When a copy cannot be moved, the
// rotation stops there and no new copy is made, so that no earlier version
// is lost; the error says why.  Nothing to copy (no file sFile yet) is no
// failure.
IoError RotateHistory(Module& m, std::string_view sPrefix, std::string_view sName, std::string_view sFile) {
  const Number nQuantity = m.G().nQtyOfArchiveFiles;
  const int64_t nOldest = nQuantity.IsNull() ? 0 : nQuantity.AsInt64();
  auto CopyPath = [&](int64_t n) { return String(sPrefix) + format::HistoryCopyName(sName, n); };
  FileSystem& files = m.Files();
  if (nOldest > 1) {
    const std::vector<int64_t> aExisting = ExistingCopies(m, sPrefix, sName, nOldest);
    // The oldest copy is dropped; every other copy n moves to n + 1, from
    // the highest down, so each target has been moved away already.
    for (int64_t n : aExisting) {
      if (n == nOldest) {
        Delete(m, CopyPath(n));
        continue;
      }
      const String sTarget = CopyPath(n + 1);
      Delete(m, sTarget);
      // A copy that cannot move up would be deleted as the next step's
      // target: stop, and leave every remaining copy where it is.
      if (IoError oError = files.Rename(CopyPath(n), sTarget); oError.Failed()) return oError;
    }
  }
  if (!Exists(m, sFile)) return {};
  return files.Copy(sFile, CopyPath(1));
}

// The folders below the archive directory that keep the copies of sFile
// apart from those of every other file of the same name: those of sFile's
// own directory (format::MirroredFolders, which never leave the archive
// directory), followed by "\\".  Empty for a bare file name such as the
// class list file's, and for a file in the root.
String ArchiveFolders(std::string_view sFile) {
  const size_t nLast = sFile.find_last_of("\\/");
  if (nLast == std::string_view::npos) return {};
  String sFolders = format::MirroredFolders(sFile.substr(0, nLast + 1));
  if (!sFolders.empty()) sFolders.push_back('\\');
  return sFolders;
}

}  // namespace

IoError KeepRepositoryHistory(Module& m, std::string_view sFile) {
  String& sArchive = m.G().sArchiveFileDirectory;
  if (!sArchive.empty() && sArchive.back() == '\\') sArchive.pop_back();
  if (!m.G().nSaveArchive.IsTrue()) return {};
  // Without an archive directory a file keeps its copies beside itself.
  if (sArchive.empty()) return RotateHistory(m, "", sFile, sFile);
  const String sPrefix = sArchive + "\\" + ArchiveFolders(sFile);
  if (sPrefix.size() > sArchive.size() + 1) {
    if (IoError oError = m.Files().MakeDirectories(sPrefix); oError.Failed()) return oError;
  }
  return RotateHistory(m, sPrefix, format::FileNameOf(sFile), sFile);
}

IoError KeepSourceHistory(Module& m, std::string_view sFile) {
  if (!m.G().nSaveArchive.IsTrue()) return {};
  return RotateHistory(m, "", sFile, sFile);
}

Number VC_JavaRepository::SaveHistoryFile(Module& m, std::string_view sFile) {
  // Failures are not reported: the caller rewrites its file in any case.
  KeepRepositoryHistory(m, sFile);
  return Number::Null();
}

Number VC_JavaClass::SaveHistoryFile(Module& m, std::string_view sFile) {
  KeepSourceHistory(m, sFile);
  return Number::Null();
}

}  // namespace qv
