// SPDX-License-Identifier: Apache-2.0
// RepositorySession::Stream: the scan that keeps no record, and the save
// that goes with it, class by class, reading only what changed since the
// last save.
//
// Worker threads stamp, read and cut each source and build its class line
// and method file; the calling thread hands each file to the listener,
// writes the method files that changed under temporary names and keeps
// the class lines.  At the end the method files, the save state and the
// class list are committed as one transaction, the class list last.
#include <algorithm>
#include <cerrno>
#include <future>
#include <memory>
#include <set>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <variant>

#include "core/convert.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/replacing_file.h"
#include "repository/repository_format.h"
#include "repository/repository_session.h"
#include "repository/run_ahead.h"
#include "repository/save_state.h"
#include "source/java_scan.h"

namespace qv {
namespace {

constexpr int kStreamThreads = 2;
// How far the workers run ahead of the calling thread, in files: what
// they made waits in memory meanwhile.
constexpr int64_t kStreamWindow = 64;

std::string SourcePathOf(const JavaSourceName& name) {
  std::string s(name.sDirectory);
  s.append("\\").append(name.sFileName);
  return s;
}

// The last save, as far as it can be trusted.
struct Prior {
  bool bValid = false;
  SaveState state;
  FileStamp stateFile;  // the state file's own stamp: its time decides what is too recent to trust
  std::unordered_map<std::string_view, const SourceStamp*> aByPath;
  std::string sListText;  // the class list saved last, once read
  std::vector<std::string_view> aLines;
};

// One file on its way from a worker to the calling thread.
struct Item {
  SourceRead read;
  FileStamp stamp;  // the source's, taken before it was read (saving only)
  bool bStamped = false;
  const SourceStamp* pKept = nullptr;  // unchanged since the last save: not read
  VC_JavaClass record;
  String sLine;  // its class line, when it has a class that can be stored
  uint64_t nLineHash = 0;
  String sLineError;     // why it cannot be stored
  std::string sContent;  // its method file, when that changed
  bool bMethodUnchanged = false;
  FileStamp methodStamp;  // of the unchanged method file
  bool bRacy = false;     // read only because its stamp was too recent to trust
  String sDeclaration;    // its class's one-line declaration (tags only)
};

// A line of the new class list: one of the last save's, or a new one.
using OutLine = std::variant<int64_t, String>;

// The stamps of the sources of a tree and of their method files, by the
// sources' positions; an error number where a file has none (0: stamped).
struct TreeStamps {
  std::vector<FileStamp> aSource, aMethod;
  std::vector<int> aSourceError, aMethodError;
};

// Stamps the sources of the tree, and with bMethods their method files
// (fnMethodFileOf names the one of a source), a directory at a time on the
// workers: each directory is looked up once for all its files, where a
// stamp of each file by its path would look up every folder of the path
// again (the method files' paths are the longest a save looks up).
template <class NameOf, class MethodFileOf>
TreeStamps StampTree(const FileSystem& files, const JavaSourceTree& tree, bool bMethods, const NameOf& fnNameOf,
                     const MethodFileOf& fnMethodFileOf) {
  const size_t n = tree.aFiles.size();
  TreeStamps stamps;
  stamps.aSource.resize(n);
  stamps.aSourceError.resize(n);
  stamps.aMethod.resize(n);
  stamps.aMethodError.assign(n, ENOENT);
  std::vector<std::vector<uint32_t>> aInDirectory(tree.aDirectories.size());
  for (uint32_t i = 0; i < n; ++i) aInDirectory[tree.aFiles[i].nDirectory].push_back(i);
  const auto Stamp = [&](int64_t d, int /*nWorker*/) {
    const std::vector<uint32_t>& aAt = aInDirectory[static_cast<size_t>(d)];
    if (aAt.empty()) return;
    std::vector<std::string> aNames;
    aNames.reserve(aAt.size());
    std::vector<FileStamp> aStamps;
    std::vector<int> aErrors;
    for (const uint32_t i : aAt) aNames.emplace_back(tree.Name(tree.aFiles[i]));
    files.StampsIn(tree.aDirectories[static_cast<size_t>(d)], aNames, aStamps, aErrors);
    for (size_t k = 0; k < aAt.size(); ++k) {
      stamps.aSource[aAt[k]] = aStamps[k];
      stamps.aSourceError[aAt[k]] = aErrors[k];
    }
    if (!bMethods) return;
    // The method files of one directory's sources share a directory; the
    // paths are split at their last separator.
    std::vector<std::string> aPaths;
    aPaths.reserve(aAt.size());
    for (const uint32_t i : aAt) aPaths.push_back(fnMethodFileOf(fnNameOf(i)));
    const auto DirectoryOf = [](const std::string& sPath) {
      return std::string_view(sPath).substr(0, std::min(sPath.rfind('\\'), sPath.size()));
    };
    bool bShared = true;
    aNames.clear();
    for (const std::string& sPath : aPaths) {
      bShared = bShared && DirectoryOf(sPath) == DirectoryOf(aPaths.front()) && sPath.rfind('\\') != std::string::npos;
      aNames.push_back(bShared ? sPath.substr(sPath.rfind('\\') + 1) : std::string());
    }
    if (bShared) files.StampsIn(DirectoryOf(aPaths.front()), aNames, aStamps, aErrors);
    for (size_t k = 0; k < aAt.size(); ++k) {
      if (!bShared) aErrors[k] = files.StampOf(aPaths[k], aStamps[k]);
      stamps.aMethod[aAt[k]] = aStamps[k];
      stamps.aMethodError[aAt[k]] = aErrors[k];
    }
  };
  const auto nDirectories = static_cast<int64_t>(aInDirectory.size());
  RunAheadByWorker(nDirectories, kStreamThreads, nDirectories, Stamp, [](int64_t) {});
  return stamps;
}

}  // namespace

StreamReport RepositorySession::Stream(const std::vector<std::string>& aRoots, const StreamOptions& options,
                                       const StreamListener& listener) {
  StreamReport report;
  ScanReport& scan = report.scan;
  SaveReport& save = report.save;
  StreamedTags& tags = m_.Slot<StreamedTags>();
  tags = {};
  tags.bActive = options.bTags;
  JavaFileInstance(m_).ClearJavaFiles(m_);  // no record is kept: none of an earlier scan stays
  RepositoryVars(m_).sScanGap.clear();

  if (options.bSave) {
    // A save that a killed process left half done goes back to the old one
    // first.  Its last file is the class list, or the state when the class
    // list stayed as it was.
    for (const std::string_view sLast : kSaveCommitPoints) {
      if (IoError oError = ReplacingFile::Recover(m_, sLast); oError.Failed()) {
        save.sClassListError = "nothing saved: the last save was interrupted and cannot be undone: " + oError.sMessage;
        return report;
      }
    }
  }
  const FileSystem& files = m_.Files();
  const JavaTextTools tools = JavaTextTools::Bound(m_);
  const String sDelimiter = m_.G().sElementDelimiter;
  const String sToken = m_.G().sCRLFToken;
  // Read here: the workers, which name the method files, must not touch the
  // Module.
  const std::string sMethodDirectory = RepositoryVars(m_).sMethodFileDirectory;
  const auto MethodFileOf = [&](const JavaSourceName& name) {
    return std::string(format::MethodFileIn(sMethodDirectory, name.sDirectory, name.sFileName));
  };
  // What every line and method file depends on besides the sources.
  const std::string sSettings = std::string(sDelimiter) + '\n' + std::string(sToken) + '\n' + sMethodDirectory;

  // The last save's state is read while the tree is walked.
  const auto ReadPrior = [&]() {
    Prior read;
    if (!options.bSave || options.bReadAll || options.bTags) return read;
    std::string sText;
    FileStamp list;
    if (files.ReadWholeFile(format::kSaveStateFile, sText) == 0 && ParseSaveState(sText, read.state) &&
        read.state.sSettings == sSettings && files.StampOf(format::kClassListFile, list) == 0 &&
        list == read.state.classList && files.StampOf(format::kSaveStateFile, read.stateFile) == 0) {
      read.bValid = true;
    }
    return read;
  };
  std::future<Prior> futurePrior = std::async(std::launch::async, ReadPrior);
  const std::vector<String> aExisting = CheckRoots(aRoots, listener.fnMissingRoot, scan);
  const int64_t nUnlistableBefore = m_.Files().UnlistableDirectories();
  JavaSourceTree tree = FindJavaSources(m_, aExisting);
  scan.nUnlistable = m_.Files().UnlistableDirectories() - nUnlistableBefore;
  // The name of source i, made when it is needed: the tree holds each
  // directory once.
  const auto NameOf = [&tree](int64_t i) {
    const JavaSourceTree::File& f = tree.aFiles[static_cast<size_t>(i)];
    return JavaSourceName{String(tree.Name(f)), tree.aDirectories[f.nDirectory]};
  };
  const auto n = static_cast<int64_t>(tree.aFiles.size());
  report.nFiles = n;
  if (listener.fnFound) listener.fnFound(n);

  Prior prior = futurePrior.get();
  if (prior.bValid) {
    prior.aByPath.reserve(prior.state.aSources.size());
    for (const SourceStamp& source : prior.state.aSources) prior.aByPath.emplace(source.sPath, &source);
  }
  int64_t nPriorLines = 0;  // the state numbers its classes' lines 0, 1, 2, ...
  for (const SourceStamp& source : prior.state.aSources) nPriorLines += source.nLine >= 0 ? 1 : 0;
  // Reads the class list of the last save once; FALSE when it is not the
  // one the state goes with.
  const auto ReadPriorList = [&]() -> bool {
    if (static_cast<int64_t>(prior.aLines.size()) == nPriorLines) return true;
    FileStamp list;
    if (files.ReadWholeFile(format::kClassListFile, prior.sListText) != 0 ||
        files.StampOf(format::kClassListFile, list) != 0 || !(list == prior.state.classList)) {
      return false;
    }
    prior.aLines = ClassListLines(prior.sListText);
    for (std::string_view& sLine : prior.aLines) {
      if (!sLine.empty() && sLine.back() == '\r') sLine.remove_suffix(1);
    }
    return static_cast<int64_t>(prior.aLines.size()) == nPriorLines;
  };
  if (prior.bValid && options.bNames && !ReadPriorList()) {
    prior = {};
    nPriorLines = 0;
  }

  // Without the method files' directory (a first save) there is no method
  // file to compare with: the workers do not look for one each (a failed
  // open of a deep path costs the most under Wine).
  const bool bMethodFilesMayExist = sMethodDirectory.empty() || m_.Files().DirExists(sMethodDirectory);
  TreeStamps stamps;
  if (options.bSave) stamps = StampTree(files, tree, prior.bValid && bMethodFilesMayExist, NameOf, MethodFileOf);
  // Which sources are unchanged since the last save, decided from the
  // stamps before any is read: only the others go to the workers, so that
  // an unchanged source costs no hand-over between threads.
  std::vector<const SourceStamp*> aKept(static_cast<size_t>(n), nullptr);
  // Read only because its stamp was too recent to trust.
  std::vector<char> aRacy(static_cast<size_t>(n), 0);
  if (options.bSave && !prior.aByPath.empty()) {
    std::string sPath;
    for (size_t i = 0; i < aKept.size(); ++i) {
      if (stamps.aSourceError[i] != 0) continue;
      const JavaSourceTree::File& f = tree.aFiles[i];
      sPath.assign(tree.aDirectories[f.nDirectory]).append("\\").append(tree.Name(f));
      const auto it = prior.aByPath.find(sPath);
      if (it == prior.aByPath.end() || !(it->second->source == stamps.aSource[i])) continue;
      // Git's rule: a source whose time is not older than the state file
      // may have changed after it was stamped, within the same tick.
      if (stamps.aSource[i].nModifiedNs >= prior.stateFile.nModifiedNs) {
        aRacy[i] = 1;
        continue;
      }
      const SourceStamp& kept = *it->second;
      if (kept.nLine < 0 || (stamps.aMethodError[i] == 0 && stamps.aMethod[i] == kept.method)) aKept[i] = &kept;
    }
  }
  std::vector<std::unique_ptr<Item>> aItems(static_cast<size_t>(n));
  std::vector<SourceScratch> aScratch(kStreamThreads);
  const auto Work = [&](int64_t i, int nWorker) {
    auto pItem = std::make_unique<Item>();
    Item& item = *pItem;
    const JavaSourceName name = NameOf(i);
    if (options.bSave) {
      const auto nAt = static_cast<size_t>(i);
      item.stamp = stamps.aSource[nAt];
      item.bStamped = stamps.aSourceError[nAt] == 0;
      item.bRacy = aRacy[nAt] != 0;
    }
    // Without a save or tags only the names are printed: the cut reads
    // no more of the text than they need.
    SourceScratch& scratch = aScratch[static_cast<size_t>(nWorker)];
    item.read = options.bSave || options.bTags ? ReadSourceRecord(files, tools, name, scratch, item.record)
                                               : ReadSourceNames(files, name, scratch, item.record);
    VC_JavaClass& r = item.record;
    // Taken before the save's line is built, which lets the body go.
    if (options.bTags) item.sDeclaration = DeclarationText(r.aMethods.Get(1).sBody);
    if (options.bSave && item.read.eState == SourceState::kParsed && !r.sClassName.empty()) {
      r.sFileName = name.sFileName;
      r.sDirectory = name.sDirectory;
      r.sMethodFile = MethodFileOf(name);
      if (BuildClassFiles(tools, sDelimiter, sToken, r, item.sLine, item.sContent, item.sLineError)) {
        item.nLineHash = LineHash(item.sLine);
        item.bMethodUnchanged = bMethodFilesMayExist && files.HoldsExactly(r.sMethodFile, item.sContent);
        if (item.bMethodUnchanged) {
          item.sContent = std::string();
          item.bMethodUnchanged = files.StampOf(r.sMethodFile, item.methodStamp) == 0;
        }
      }
    }
    aItems[static_cast<size_t>(i)] = std::move(pItem);
  };

  // The calling thread's part.
  std::set<std::string> aPackages;
  std::vector<OutLine> aOut;
  SaveState next;
  next.sSettings = sSettings;
  std::vector<std::unique_ptr<ReplacingFile>> aMethodFiles;
  MadeDirectories folders;             // the method files' folders made so far
  std::vector<std::string> aUnproven;  // method files kept that no save made durable
  String sWriteError;                  // the first method file that could not be written
  // A source read again only because its time was too recent: the state
  // is written anew, so that its time no longer is.
  bool bRacy = false;
  const auto UseItem = [&](int64_t i, Item& item) {
    const JavaSourceName name = NameOf(i);
    const std::string sPath = SourcePathOf(name);
    const VC_JavaClass& r = item.record;
    const ScannedFile file{i, item.read.eState, item.read.nErrno, item.read.eKind};
    bRacy = bRacy || item.bRacy;
    CountFile(file, scan);
    const std::string& sPackage = item.pKept != nullptr ? item.pKept->sPackage : r.sPackage;
    if (file.eState == SourceState::kParsed && !sPackage.empty()) aPackages.insert(sPackage);

    if (listener.fnFile) {
      StreamedFile streamed{file, item.pKept != nullptr, name.sFileName, name.sDirectory, {}, {}, sPackage};
      ClassListEntry names;
      if (item.pKept == nullptr) {
        streamed.sClassName = r.sClassName;
        streamed.sSuperClass = r.sSuperClass;
      } else if (item.pKept->nLine >= 0 && item.pKept->nLine < static_cast<int64_t>(prior.aLines.size())) {
        names = ClassListEntryOf(prior.aLines[static_cast<size_t>(item.pKept->nLine)], sDelimiter);
        streamed.sClassName = names.sClassName;
        streamed.sSuperClass = names.sSuperClass;
      }
      listener.fnFile(streamed);
    }
    if (options.bTags && !r.sClassName.empty()) {
      tags.aClasses.push_back({r.sClassName, sPath, r.sSuperClass, std::move(item.sDeclaration), {}});
    }
    if (!options.bSave) return;

    // What the next save needs to know of this source: nothing of one
    // that could not be read or was refused, so that it is read again.
    SourceStamp stamp{sPath, item.stamp, file.eState, file.eKind, -1, 0, {}, sPackage};
    if (item.pKept != nullptr) {
      stamp = *item.pKept;
      if (stamp.nLine >= 0) {
        aOut.emplace_back(stamp.nLine);
        stamp.nLine = static_cast<int64_t>(aOut.size()) - 1;
      }
      next.aSources.push_back(std::move(stamp));
      ++report.nKept;
      return;
    }
    if (file.eState != SourceState::kParsed && file.eState != SourceState::kEmpty) return;
    if (r.sClassName.empty()) {
      if (item.bStamped) next.aSources.push_back(std::move(stamp));
      return;
    }
    if (!item.sLineError.empty()) {
      save.aRefused.push_back({sPath, r.sClassName, item.sLineError});
      return;
    }
    if (item.bMethodUnchanged) {
      ++save.nUnchanged;
      stamp.method = item.methodStamp;
      // Without a last save's state, such a file may be one that a save
      // killed before its commit wrote in place, not known to be on disk.
      if (!prior.bValid) aUnproven.push_back(r.sMethodFile);
    } else if (sWriteError.empty()) {
      // A file that cannot be written stops the save: nothing is replaced.
      auto pFile = std::make_unique<ReplacingFile>(m_, r.sMethodFile, KeepRepositoryHistory);
      // Without the method files' directory no method file can be there:
      // none is looked for to keep aside.
      if (!bMethodFilesMayExist) pFile->MarkTargetNew();
      // Renaming keeps the stamp the new file has when it is closed.
      FileStamp written{-1, 0, 0, 0};
      if (!MakeMethodFileDirectory(m_, *pFile, &folders) || !pFile->Open() || !pFile->Write(item.sContent) ||
          !pFile->Close(&written)) {
        sWriteError = pFile->Error();
      } else if (written.nSize < 0) {
        item.bStamped = false;  // without a stamp the source is read again next time
      } else {
        stamp.method = written;
      }
      aMethodFiles.push_back(std::move(pFile));
    }
    // A line that came out as the last save's stays that line, so that a
    // source that was only touched, or whose body alone changed, leaves
    // the class list as it is.
    const auto it = prior.aByPath.find(stamp.sPath);
    if (it != prior.aByPath.end() && it->second->nLine >= 0 && it->second->nLineHash == item.nLineHash) {
      aOut.emplace_back(it->second->nLine);
    } else {
      aOut.emplace_back(std::move(item.sLine));
    }
    stamp.nLine = static_cast<int64_t>(aOut.size()) - 1;
    stamp.nLineHash = item.nLineHash;
    if (item.bStamped) next.aSources.push_back(std::move(stamp));
  };
  // The sources in order: the workers read the ones not kept, and the
  // kept ones between them are taken here as their turn comes.
  std::vector<int64_t> aToRead;
  for (int64_t i = 0; i < n; ++i) {
    if (aKept[static_cast<size_t>(i)] == nullptr) aToRead.push_back(i);
  }
  int64_t nNext = 0;  // the next source in order
  Item kept;
  const auto UseKeptBefore = [&](int64_t nEnd) {
    for (; nNext < nEnd; ++nNext) {
      kept.pKept = aKept[static_cast<size_t>(nNext)];
      kept.read = {kept.pKept->eState, 0, kept.pKept->eKind};
      UseItem(nNext, kept);
    }
  };
  RunAheadByWorker(
      static_cast<int64_t>(aToRead.size()), kStreamThreads, kStreamWindow,
      [&](int64_t k, int nWorker) { Work(aToRead[static_cast<size_t>(k)], nWorker); },
      [&](int64_t k) {
        const int64_t i = aToRead[static_cast<size_t>(k)];
        UseKeptBefore(i);
        UseItem(i, *std::unique_ptr<Item>(std::move(aItems[static_cast<size_t>(i)])));
        nNext = i + 1;
      });
  UseKeptBefore(n);
  tree = {};
  scan.nPackages = static_cast<int64_t>(aPackages.size());
  NameGap(scan);
  if (!options.bSave) return report;

  if (!scan.sGap.empty()) {
    save.sClassListError = "nothing saved: the scan did not read everything (" + scan.sGap + ")";
    return report;
  }
  if (!sWriteError.empty()) {
    save.sClassListError = "nothing saved: " + sWriteError;
    return report;
  }
  save.nSaved = static_cast<int64_t>(aOut.size());

  // The class list: unchanged when it is the last save's, line for line.
  bool bListSame = prior.bValid && nPriorLines == static_cast<int64_t>(aOut.size());
  for (size_t k = 0; bListSame && k < aOut.size(); ++k) {
    bListSame = std::holds_alternative<int64_t>(aOut[k]) && std::get<int64_t>(aOut[k]) == static_cast<int64_t>(k);
  }
  next.classList = prior.state.classList;  // a new class list's stamp is set below
  if (bListSame && aMethodFiles.empty() && !bRacy && next == prior.state) return report;

  if (bListSame && aMethodFiles.empty()) {
    // Only the state changes (a source was touched, or read again because
    // its time was too recent).  The state is a hint: a copy that a crash
    // loses or damages only makes the next save read more sources, never
    // one of them less.  So it replaces the old one in one step, without
    // waiting for the disk, which would be the longest part of such a save.
    if (const IoError oError = m_.Files().ReplaceContent(format::kSaveStateFile, FormatSaveState(next));
        oError.Failed()) {
      save.sClassListError = "nothing saved: " + oError.sMessage;
    }
    return report;
  }
  std::vector<ReplacingFile*> aCommit;
  aCommit.reserve(aMethodFiles.size() + 2);
  for (const auto& pFile : aMethodFiles) aCommit.push_back(pFile.get());
  const auto Fail = [&report](const String& sWhy) {
    report.save.sClassListError = "nothing saved: " + sWhy;
    return report;
  };
  ReplacingFile list(m_, format::kClassListFile, KeepRepositoryHistory);
  if (!bListSame) {
    for (const OutLine& line : aOut) {
      if (std::holds_alternative<int64_t>(line) && !ReadPriorList()) {
        // The class list is not the one the state describes, though it has
        // its stamp: without the state the next save reads every source.
        m_.Files().Remove(format::kSaveStateFile);
        return Fail(String(format::kClassListFile) + " does not hold the classes " + String(format::kSaveStateFile) +
                    " names; the next save reads every source");
      }
    }
    if (!list.Open()) return Fail(list.Error());
    for (OutLine& line : aOut) {
      const bool bPut = std::holds_alternative<int64_t>(line)
                            ? list.PutLine(prior.aLines[static_cast<size_t>(std::get<int64_t>(line))])
                            : list.PutLine(std::get<String>(line));
      if (!bPut) return Fail(list.Error());
      line = OutLine();
    }
    if (!list.Close()) return Fail(list.Error());
    // Renaming keeps the stamp: the new file's is the class list's to be.
    if (const int nError = files.StampOf(list.NewFile(), next.classList); nError != 0) {
      return Fail("cannot stamp " + files.SystemPath(list.NewFile(), FileSystem::PathForm::kMapped) + ": " +
                  std::generic_category().message(nError));
    }
  }
  if (!aUnproven.empty()) {
    if (const IoError oError = m_.Files().SyncAll(aUnproven); oError.Failed()) return Fail(oError.sMessage);
  }
  ReplacingFile state(m_, format::kSaveStateFile);
  if (!state.Open() || !state.Write(FormatSaveState(next)) || !state.Close()) return Fail(state.Error());
  aCommit.push_back(&state);
  if (!bListSame) aCommit.push_back(&list);
  String sCommit;
  const bool bCommitted = ReplacingFile::CommitAll(m_, aCommit, sCommit, true);
  if (!bCommitted) save.sClassListError = (aCommit.back()->Committed() ? "saved, " : "nothing saved: ") + sCommit;
  return report;
}

}  // namespace qv
