// SPDX-License-Identifier: Apache-2.0
#include "repository/repository_session.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "core/convert.h"
#include "core/runtime.h"
#include "repository/directories.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/replacing_file.h"
#include "repository/repository_format.h"

namespace qv {
namespace {

// Files read and parsed ahead of the records, on worker threads.
constexpr int kScanThreads = 2;
// How many written classes' files are put in place together, at most,
// and how many bytes they may hold: few durability waits, while the
// callers (a progress bar, QvWriteClasses's fnClass) still hear of the
// classes as the run goes.
constexpr size_t kWriteBatch = 4096;
constexpr size_t kWriteBatchBytes = size_t{64} * 1024 * 1024;

std::string Joined(std::string_view sDirectory, std::string_view sFileName) {
  std::string s(sDirectory);
  s.append("\\").append(sFileName);
  return s;
}

}  // namespace

void RepositorySession::CountFile(const ScannedFile& file, ScanReport& report) {
  if (file.eState == SourceState::kUnreadable) ++report.nUnreadable;
  if (file.eState == SourceState::kUnreadable || file.eState == SourceState::kBinary) {
    ++report.nUnparsed;
    return;
  }
  ++report.aKinds.at(static_cast<size_t>(file.eKind));
}

void RepositorySession::NameGap(ScanReport& report) {
  const auto Gap = [&report](int64_t n, const char* sOne, const char* sMany) {
    if (n == 0) return;
    if (!report.sGap.empty()) report.sGap += ", ";
    report.sGap += std::to_string(n) + " " + (n == 1 ? sOne : sMany);
  };
  Gap(static_cast<int64_t>(report.aMissingRoots.size()), "root is no directory", "roots are no directories");
  Gap(report.nUnlistable, "directory could not be listed", "directories could not be listed");
  Gap(report.nUnreadable, "source could not be read", "sources could not be read");
}

std::vector<String> RepositorySession::CheckRoots(const std::vector<std::string>& aRoots,
                                                  const std::function<void(const std::string&)>& fnMissingRoot,
                                                  ScanReport& report) {
  std::vector<String> aExisting;
  for (const std::string& sRoot : aRoots) {
    // The search skips a root that does not exist; the caller hears of it.
    if (m_.Files().DirExists(sRoot)) {
      aExisting.push_back(sRoot);
    } else {
      report.aMissingRoots.push_back(sRoot);
      if (fnMissingRoot) fnMissingRoot(sRoot);
    }
  }
  return aExisting;
}

std::vector<JavaSourceName> RepositorySession::FindSources(const std::vector<std::string>& aRoots,
                                                           const std::function<void(const std::string&)>& fnMissingRoot,
                                                           ScanReport& report) {
  std::string sRoots;
  for (const String& sRoot : CheckRoots(aRoots, fnMissingRoot, report)) {
    if (!sRoots.empty()) sRoots += ';';
    sRoots += sRoot;
  }
  const int64_t nUnlistableBefore = m_.Files().UnlistableDirectories();
  VC_Directories& dirs = DirectoriesInstance(m_);
  dirs.InitDirectories(m_);
  dirs.SetRootDirectories(m_, sRoots);
  const int64_t nFiles = dirs.GetJavaFileCount(m_).AsInt64();
  report.nUnlistable = m_.Files().UnlistableDirectories() - nUnlistableBefore;
  std::vector<JavaSourceName> aSources(static_cast<size_t>(nFiles));
  for (int64_t i = 0; i < nFiles; ++i) {
    aSources[static_cast<size_t>(i)] = {dirs.GetJavaFile(m_, Number(i)), dirs.GetDirectory(m_, Number(i))};
  }
  return aSources;
}

ScanReport RepositorySession::Scan(const std::vector<std::string>& aRoots, const ScanListener& listener) {
  ScanReport report;
  m_.Slot<StreamedTags>() = {};  // RecordTags goes by the records again
  const std::vector<JavaSourceName> aSources = FindSources(aRoots, listener.fnMissingRoot, report);
  if (listener.fnFound) listener.fnFound(static_cast<int64_t>(aSources.size()));

  JavaFileInstance(m_).ClearJavaFiles(m_);
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m_);
  std::set<std::string> aPackages;
  report.aFiles.reserve(aSources.size());
  ReadJavaSources(m_, aSources, kScanThreads, [&](int64_t i, SourceState eState, int nErrno, JavaKind eKind) {
    const ScannedFile& file = report.aFiles.emplace_back(ScannedFile{i, eState, nErrno, eKind});
    CountFile(file, report);
    if (eState == SourceState::kParsed) {
      if (const String& sPackage = aClasses.Get(i).sPackage; !sPackage.empty()) aPackages.insert(sPackage);
    }
    if (listener.fnFile) listener.fnFile(file);
  });
  report.nPackages = static_cast<int64_t>(aPackages.size());
  NameGap(report);
  RepositoryVars(m_).sScanGap = report.sGap;
  return report;
}

SaveReport RepositorySession::Save() {
  SaveReport report;
  if (const String& sGap = RepositoryVars(m_).sScanGap; !sGap.empty()) {
    report.sClassListError = "nothing saved: the scan did not read everything (" + sGap + ")";
    return report;
  }
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m_);
  ScanSave save = SaveScannedClasses(m_);
  for (auto& [i, sWhy] : save.aRefused) {
    const VC_JavaClass& r = aClasses[i];
    report.aRefused.push_back({Joined(r.sDirectory, r.sFileName), r.sClassName, std::move(sWhy)});
  }
  report.sClassListError = std::move(save.sClassListError);
  for (auto& [i, sWhy] : save.aMethodFileErrors) {
    report.aMethodFileErrors.push_back({aClasses[i].sMethodFile, aClasses[i].sClassName, std::move(sWhy)});
  }
  report.nSaved = save.nSaved;
  report.nUnchanged = save.nUnchanged;
  return report;
}

Outcome RepositorySession::RecoverInterruptedSave() {
  for (const std::string_view sLast : kSaveCommitPoints) {
    if (IoError oError = ReplacingFile::Recover(m_, sLast); oError.Failed()) {
      return {false, std::string(sLast), "the last save was interrupted and cannot be undone: " + oError.sMessage};
    }
  }
  return {};
}

bool RepositorySession::SaveInterrupted() {
  return std::any_of(kSaveCommitPoints.begin(), kSaveCommitPoints.end(),
                     [this](std::string_view sLast) { return ReplacingFile::Interrupted(m_, sLast); });
}

void RepositorySession::RecoverBeforeLoad() {
  if (!SaveInterrupted()) return;
  std::unique_ptr<FileLock>& pLock = RepositoryVars(m_).pLock;
  if (pLock != nullptr && pLock->Held()) {
    RecoverInterruptedSave();
    return;
  }
  const std::unique_ptr<FileLock> pReader = m_.Files().NewLock();
  std::string sError;
  if (pReader->Take(LockFilePath(), false, sError) == FileLock::Result::kHeld) {
    RecoverInterruptedSave();
    pReader->Release();
  }
}

std::string RepositorySession::LockFilePath() {
  const std::string& sDirectory = m_.Files().WorkingDirectory();
  return (std::filesystem::path(sDirectory.empty() ? "." : sDirectory) / format::kLockFile).string();
}

LockOutcome RepositorySession::Lock(bool bWait, const std::function<void(const std::string& sLockFile)>& fnWaiting) {
  LockOutcome outcome;
  const std::string sPath = LockFilePath();
  std::unique_ptr<FileLock>& pLock = RepositoryVars(m_).pLock;
  if (pLock == nullptr) pLock = m_.Files().NewLock();
  FileLock::Result eResult = pLock->Take(sPath, false, outcome.sWhy);
  if (eResult == FileLock::Result::kBusy && bWait) {
    if (fnWaiting) fnWaiting(sPath);
    eResult = pLock->Take(sPath, true, outcome.sWhy);
  }
  if (eResult == FileLock::Result::kHeld) {
    const Outcome recovered = RecoverInterruptedSave();
    if (recovered.bOk) {
      outcome.bOk = true;
      return outcome;
    }
    pLock->Release();
    outcome.sWhy = recovered.sWhy;
  }
  if (eResult == FileLock::Result::kBusy) {
    outcome.bBusy = true;
    outcome.sWhy = sPath + " is locked by another writer";
  }
  return outcome;
}

void RepositorySession::Unlock() {
  if (RepositoryVars(m_).pLock != nullptr) RepositoryVars(m_).pLock->Release();
}

bool RepositorySession::HasClassList() {
  FileHandle hNone;
  return RtFileOpen(m_, hNone, format::kClassListFile, kOpenExist);
}

int64_t RepositorySession::ClassListLineCount() {
  std::string sText;
  if (m_.Files().ReadWholeFile(format::kClassListFile, sText) != 0) return 0;
  return static_cast<int64_t>(ClassListLines(sText).size());
}

std::string RepositorySession::ClassNames(std::vector<std::string>& aNames) {
  std::string sText;
  if (const int nError = m_.Files().ReadWholeFile(format::kClassListFile, sText); nError != 0) {
    return "cannot read: " + std::generic_category().message(nError);
  }
  const std::string sDelimiter = m_.G().sElementDelimiter;
  for (const std::string_view sLine : ClassListLines(sText)) {
    std::string sName = ClassListEntryOf(sLine, sDelimiter).sClassName;
    if (!sName.empty()) aNames.push_back(std::move(sName));
  }
  return {};
}

bool RepositorySession::Load(const std::function<void(int64_t nLoaded)>& fnProgress) {
  if (!HasClassList()) return false;
  RepositoryVars(m_).sScanGap.clear();  // the records are the repository's now
  if (RepositoryVars(m_).cv_nClassCount == Number(0)) {
    const String sDelimiter = m_.G().sElementDelimiter;
    ReadClassList(m_, format::kClassListFile, sDelimiter, fnProgress);
  }
  return true;
}

int64_t RepositorySession::ClassCount() { return RepositoryVars(m_).cv_nClassCount.AsInt64(); }

ClassLookup RepositorySession::Find(std::string_view sName) {
  const IndexedNames& aNames = RepositoryVars(m_).cv_sClassName;
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m_);
  ClassLookup found;
  found.nAt = aNames.First(sName);
  if (const size_t nSame = aNames.Positions(sName).size(); nSame > 1) found.nChosenAmong = static_cast<int64_t>(nSame);
  if (const size_t nDot = sName.rfind('.'); found.nAt < 0 && nDot != std::string_view::npos) {
    for (const int64_t i : aNames.Positions(sName.substr(nDot + 1))) {
      if (aClasses[i].sPackage == sName.substr(0, nDot)) {
        found.nAt = i;
        break;
      }
    }
  }
  if (found.nAt >= 0) found.sPackage = aClasses[found.nAt].sPackage;
  return found;
}

Outcome RepositorySession::ReadMethods(int64_t nAt) {
  const VC_JavaClass& r = JavaClassArray(m_).At(nAt);
  if (r.sMethodFile.empty()) return {};
  FileHandle hNone;
  if (!RtFileOpen(m_, hNone, r.sMethodFile, kOpenExist)) return {false, r.sMethodFile, "method file missing"};
  JavaRepositoryInstance(m_).ReadMethodFile(m_, r.sMethodFile, Number(nAt), m_.G().sElementDelimiter);
  return {};
}

ClassRecord RepositorySession::Record(int64_t nAt) {
  const VC_JavaClass& r = JavaClassArray(m_)[nAt];
  ClassRecord c{r.sClassName, r.sSuperClass,
                r.sPackage,   r.sFileName,
                r.sDirectory, r.sMethodFile,
                r.sExtra,     r.dtStamp.IsNull() ? String() : RtDateTimeToStr(r.dtStamp),
                r.sHeader,    r.sDescription,
                r.sFooter,    r.sImport.Items(),
                {},           DeclarationKind(r.aMethods[1].sBody)};
  for (int64_t k = 1; !r.aMethods[k].sName.empty(); ++k) {
    c.aMethods.push_back({r.aMethods[k].sName, r.aMethods[k].sComment, r.aMethods[k].sBody});
  }
  return c;
}

bool RepositorySession::HasClass(int64_t nAt) { return nAt >= 0 && nAt < JavaClassArray(m_).Count(); }

std::string RepositorySession::ClassText(int64_t nAt, ClassPart ePart) {
  const VC_JavaClass& r = JavaClassArray(m_)[nAt];
  switch (ePart) {
    case ClassPart::kName:
      return r.sClassName;
    case ClassPart::kSuperClass:
      return r.sSuperClass;
    case ClassPart::kPackage:
      return r.sPackage;
    case ClassPart::kFileName:
      return r.sFileName;
    case ClassPart::kDirectory:
      return r.sDirectory;
    case ClassPart::kSourcePath:
      return SourcePath(nAt);
    case ClassPart::kMethodFile:
      return r.sMethodFile;
    case ClassPart::kExtra:
      return r.sExtra;
    case ClassPart::kStamp:
      return r.dtStamp.IsNull() ? std::string() : std::string(RtDateTimeToStr(r.dtStamp));
    case ClassPart::kHeader:
      return r.sHeader;
    case ClassPart::kDescription:
      return r.sDescription;
    case ClassPart::kFooter:
      return r.sFooter;
    case ClassPart::kDeclaration:
      return Declaration(nAt);
  }
  return {};
}

JavaKind RepositorySession::Kind(int64_t nAt) { return DeclarationKind(JavaClassArray(m_)[nAt].aMethods.Get(1).sBody); }

int64_t RepositorySession::ImportCount(int64_t nAt) { return JavaClassArray(m_)[nAt].sImport.Count(); }

std::string RepositorySession::Import(int64_t nAt, int64_t nImport) {
  return JavaClassArray(m_)[nAt].sImport.Get(nImport);
}

int64_t RepositorySession::MethodCount(int64_t nAt) {
  const VC_JavaClass& r = JavaClassArray(m_)[nAt];
  int64_t n = 0;
  while (!r.aMethods.Get(n + 1).sName.empty()) ++n;
  return n;
}

std::string RepositorySession::MethodText(int64_t nAt, int64_t nMethod, MethodPart ePart) {
  const auto& method = JavaClassArray(m_)[nAt].aMethods.Get(nMethod);
  switch (ePart) {
    case MethodPart::kName:
      return method.sName;
    case MethodPart::kComment:
      return method.sComment;
    case MethodPart::kBody:
      return method.sBody;
  }
  return {};
}

std::string RepositorySession::Declaration(int64_t nAt) {
  return std::string(DeclarationText(JavaClassArray(m_)[nAt].aMethods[1].sBody));
}

std::string RepositorySession::SourcePath(int64_t nAt) {
  const VC_JavaClass& r = JavaClassArray(m_)[nAt];
  return Joined(r.sDirectory, r.sFileName);
}

std::vector<SubclassNode> RepositorySession::Tree(std::string_view sTop) { return SubclassTree(m_, sTop); }

std::string RepositorySession::SourceText(int64_t nAt, std::string_view sLineEnd) {
  const VC_JavaClass& r = JavaClassArray(m_)[nAt];
  return r.SourceText(sLineEnd.empty() ? r.FoundLineEnd(m_, SourcePath(nAt)) : sLineEnd);
}

Outcome RepositorySession::TargetOf(int64_t nAt, const WritePlace& place) {
  const VC_JavaClass& r = JavaClassArray(m_)[nAt];
  if (const String sWhy = r.UnsafeNames(place.bMirrorPackage && !place.sDirectory.empty()); !sWhy.empty()) {
    return {false, SourcePath(nAt), "not written: " + sWhy};
  }
  if (place.sDirectory.empty()) return {true, SourcePath(nAt), {}};
  std::string sDirectory = place.sDirectory;
  while (sDirectory.size() > 1 && (sDirectory.back() == '\\' || sDirectory.back() == '/')) sDirectory.pop_back();
  if (place.bMirrorPackage && !r.sPackage.empty()) {
    std::string sPackagePath = r.sPackage;
    std::replace(sPackagePath.begin(), sPackagePath.end(), '.', '\\');
    sDirectory = Joined(sDirectory, sPackagePath);
  }
  return {true, Joined(sDirectory, r.sFileName), {}};
}

Outcome RepositorySession::PrepareWrite(int64_t nAt, const std::string& sPath, const WritePlace& place,
                                        std::unique_ptr<ReplacingFile>& pFile, MadeDirectories* pMade) {
  if (Outcome read = ReadMethods(nAt); !read.bOk) return {false, read.sPath, "not written: " + read.sWhy};
  // The file name is bare (TargetOf), so the last separator ends the
  // directory.  A failure to make it shows when the file is written.
  if (!place.sDirectory.empty()) {
    const std::string_view sDirectory = std::string_view(sPath).substr(0, sPath.rfind('\\'));
    if (pMade != nullptr) {
      pMade->Make(m_.Files(), sDirectory);
    } else {
      m_.Files().MakeDirectories(sDirectory);
    }
  }
  pFile = JavaClassArray(m_).At(nAt).PrepareSourceFile(m_, sPath, place.sLineEnd);
  return {true, sPath, {}};
}

Outcome RepositorySession::WriteClass(int64_t nAt, const WritePlace& place) {
  Outcome outcome = TargetOf(nAt, place);
  std::unique_ptr<ReplacingFile> pFile;
  if (outcome.bOk) outcome = PrepareWrite(nAt, outcome.sPath, place, pFile);
  if (outcome.bOk && !pFile->Commit()) outcome = {false, outcome.sPath, "not written: " + pFile->Error()};
  return outcome;
}

int64_t RepositorySession::WriteClasses(const WritePlace& place,
                                        const std::function<void(const ClassWrite& written)>& fnEach) {
  const int64_t nClasses = ClassCount();
  // Every class's target, and each target as the system names it
  // (absolute, links resolved), all at once: the host resolves each
  // directory once for all the files in it.
  std::vector<ClassWrite> aWrites;
  aWrites.reserve(static_cast<size_t>(nClasses));
  std::vector<std::string> aPaths;
  for (int64_t i = 0; i < nClasses; ++i) {
    const ClassWrite& written = aWrites.emplace_back(ClassWrite{i, TargetOf(i, place), -1});
    if (written.outcome.bOk) aPaths.push_back(written.outcome.sPath);
  }
  const std::vector<std::string> aResolved = m_.Files().ResolvedPaths(aPaths);
  aPaths = {};
  // Each resolved target with the first class that had it, written or
  // not: a later class of that target would replace the first's file, or
  // stand for a source that could not be written either.
  std::unordered_map<std::string_view, int64_t> aTargets;
  MadeDirectories made;  // the directories made so far
  int64_t nWritten = 0;
  // The files of a batch of classes are written under temporary names and
  // put in place together, with one durability step for the batch
  // (ReplacingFile::CommitAll): all of a batch, or none of it.  A batch is
  // large: each durability step waits for the disk twice.
  size_t nFirst = 0;  // the batch's first class
  size_t nBytes = 0;  // what the batch's files hold
  std::vector<std::unique_ptr<ReplacingFile>> aFiles;
  const auto Commit = [&](size_t nEnd) {
    std::vector<ReplacingFile*> aReady;
    aReady.reserve(aFiles.size());
    for (const auto& pFile : aFiles) aReady.push_back(pFile.get());
    String sError;
    const bool bCommitted = ReplacingFile::CommitAll(m_, aReady, sError);
    for (size_t k = nFirst, f = 0; k < nEnd; ++k) {
      ClassWrite& written = aWrites[k];
      if (written.outcome.bOk) {
        // A file of its own that failed says why; else the batch's failure.
        const String& sOwn = aFiles[f++]->Error();
        if (!bCommitted)
          written.outcome = {false, written.outcome.sPath, "not written: " + (sOwn.empty() ? sError : sOwn)};
      }
      if (written.outcome.bOk) ++nWritten;
      if (fnEach) fnEach(written);
      written = {};
    }
    aFiles.clear();
    nFirst = nEnd;
    nBytes = 0;
  };
  size_t nResolved = 0;
  for (size_t k = 0; k < aWrites.size(); ++k) {
    ClassWrite& written = aWrites[k];
    if (written.outcome.bOk) {
      const auto [it, bNew] = aTargets.try_emplace(aResolved[nResolved++], written.nAt);
      if (bNew) {
        std::unique_ptr<ReplacingFile> pFile;
        written.outcome = PrepareWrite(written.nAt, written.outcome.sPath, place, pFile, &made);
        if (pFile) {
          nBytes += pFile->Written();
          aFiles.push_back(std::move(pFile));
        }
      } else {
        written.nSameTargetAs = it->second;
        written.outcome.bOk = false;
        written.outcome.sWhy = "not written: an earlier class of the same run has this target";
      }
    }
    if (aFiles.size() >= kWriteBatch || nBytes >= kWriteBatchBytes) Commit(k + 1);
  }
  Commit(aWrites.size());
  return nWritten;
}

namespace {

// Enough of a method file for the first line of nearly every class body.
constexpr size_t kMethodFileStart = 1024;

// The one-line declaration of class c from its method file sMethodFile:
// the first method's body is the whole class body.  Only the start of the
// method file is read; all of it when the first line of the body does not
// end in that start.
TagReadError ReadDeclaration(const FileSystem& files, TagClass& c, const std::string& sMethodFile, JavaTextTools tools,
                             std::string_view sDelimiter, std::string_view sToken) {
  const auto Unread = [&sMethodFile](int nError) {
    return TagReadError{sMethodFile, nError == ENOENT ? "method file missing"
                                                      : "cannot read: " + std::generic_category().message(nError)};
  };
  std::string sStart;
  bool bWhole = false;
  if (sMethodFile.empty()) return Unread(ENOENT);
  if (const int nError = files.ReadFileStart(sMethodFile, kMethodFileStart, sStart, bWhole); nError != 0) {
    return Unread(nError);
  }
  for (;;) {
    bool bNeedMore = false;
    c.sDeclaration = RepositorySession::DeclarationFromMethodFile(tools, sDelimiter, sToken, sStart, bWhole, bNeedMore);
    if (!bNeedMore) return {};
    if (const int nError = files.ReadWholeFile(sMethodFile, sStart); nError != 0) return Unread(nError);
    bWhole = true;
  }
}

}  // namespace

Outcome RepositorySession::ReadKind(int64_t nAt, JavaKind& eKind) {
  const VC_JavaClass& r = JavaClassArray(m_)[nAt];
  if (const String& sBody = r.aMethods.Get(1).sBody; !sBody.empty()) {
    eKind = DeclarationKind(sBody);
    return {};
  }
  TagClass c;
  const TagReadError error = ReadDeclaration(m_.Files(), c, r.sMethodFile, JavaTextTools::Bound(m_),
                                             m_.G().sElementDelimiter, m_.G().sCRLFToken);
  if (!error.sWhy.empty()) return {false, error.sPath, error.sWhy};
  eKind = DeclarationKind(c.sDeclaration);
  return {};
}

TagsOutcome RepositorySession::RepositoryTags(const TagsTarget& target, const TagProblemHandler& fnProblem) {
  // The class list is read whole, but not loaded: the tags file needs five
  // short fields of each line, and loading decodes every comment of every
  // class, which alone takes several times as long as the whole tags file
  // otherwise does.
  std::string sListText;
  if (const int nError = m_.Files().ReadWholeFile(format::kClassListFile, sListText); nError != 0) {
    return {TagsOutcome::Failure::kUnreadableClassList, "cannot read: " + std::generic_category().message(nError), 0};
  }
  const std::string sDelimiter = m_.G().sElementDelimiter;
  const std::string sToken = m_.G().sCRLFToken;
  // One class per line; each is read on a worker thread.
  std::vector<TagClass> aClasses;
  for (const std::string_view sLine : ClassListLines(sListText)) aClasses.emplace_back().sStored = sLine;
  // Both toolkit text functions bound now, so that the workers never touch
  // the Module.
  const JavaTextTools tools = JavaTextTools::Bound(m_);
  const FileSystem& files = m_.Files();
  return MakeTagsFile(
      m_, aClasses, target,
      [&](TagClass& c) {
        ClassListEntry entry = ClassListEntryOf(c.sStored, sDelimiter);
        c.sName = std::move(entry.sClassName);
        c.sSource = std::move(entry.sSourcePath);
        c.sSuperClass = std::move(entry.sSuperClass);
        return ReadDeclaration(files, c, entry.sMethodFile, tools, sDelimiter, sToken);
      },
      fnProblem);
}

TagsOutcome RepositorySession::RecordTags(const TagsTarget& target, const TagProblemHandler& fnProblem) {
  if (StreamedTags& streamed = m_.Slot<StreamedTags>(); streamed.bActive) {
    return MakeTagsFile(m_, streamed.aClasses, target, {}, fnProblem);
  }
  const DynArray<VC_JavaClass>& aRecords = JavaClassArray(m_);
  std::vector<TagClass> aClasses;
  for (int64_t i = 0; i < aRecords.Count(); ++i) {
    const VC_JavaClass& r = aRecords.Get(i);
    if (r.sClassName.empty()) continue;
    aClasses.push_back({r.sClassName, Joined(r.sDirectory, r.sFileName), r.sSuperClass, Declaration(i), {}});
  }
  return MakeTagsFile(m_, aClasses, target, {}, fnProblem);
}

ClassListEntry RepositorySession::ClassListEntryOf(std::string_view sLine, std::string_view sDelimiter) {
  using namespace format;
  if (!sLine.empty() && sLine.back() == '\r') sLine.remove_suffix(1);
  std::vector<std::string_view> aFields;
  const bool bTrim = !SplitRecord(sLine, sDelimiter, kClassFieldCount, LineTrim::kEachField, aFields);
  return {std::string(FieldOf(aFields, kClassName, bTrim)), std::string(FieldOf(aFields, kSuperClass, bTrim)),
          Joined(FieldOf(aFields, kDirectory, bTrim), FieldOf(aFields, kFileName, bTrim)),
          std::string(FieldOf(aFields, kMethodFile, bTrim))};
}

std::vector<std::string_view> RepositorySession::ClassListLines(std::string_view sText) {
  std::vector<std::string_view> aLines;
  for (size_t nAt = 0; nAt < sText.size();) {
    const size_t nEnd = std::min(sText.find('\n', nAt), sText.size());
    aLines.push_back(sText.substr(nAt, nEnd - nAt));
    nAt = nEnd + 1;
  }
  return aLines;
}

std::string RepositorySession::DeclarationFromMethodFile(JavaTextTools tools, std::string_view sDelimiter,
                                                         std::string_view sToken, std::string_view sStart, bool bWhole,
                                                         bool& bNeedMore) {
  // The first method's body is the whole class body; its first line holds
  // the declaration once the start of the file holds a line break after it.
  std::vector<std::string_view> aFields;
  format::SplitFields(sStart.substr(0, sStart.find('\n')), sDelimiter, aFields);
  const String sBody = format::DecodeText(tools, format::FieldAt(aFields, format::kMethodBody), sToken);
  const size_t nFirst = sBody.find_first_not_of("\r\n");
  bNeedMore = !bWhole && (nFirst == std::string::npos || sBody.find_first_of("\r\n", nFirst) == std::string::npos);
  return bNeedMore ? std::string() : std::string(DeclarationText(sBody));
}

}  // namespace qv
