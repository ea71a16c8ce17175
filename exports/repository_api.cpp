// SPDX-License-Identifier: Apache-2.0
// The Java repository in the C interface: a thin layer over
// RepositorySession on the process's Module.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "exports/abi.h"
#include "exports/process.h"
#include "quorvane/quorvane.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/repository_format.h"
#include "repository/repository_session.h"
#include "source/java_parser.h"

namespace {

qv::RepositorySession Session() { return qv::RepositorySession(qv::abi::TheModule()); }
bool InRange(int64_t nAt) { return Session().HasClass(nAt); }

// Stores s as a new String in *pp when pp is given.
void Put(QvString** pp, std::string s) {
  if (pp != nullptr) *pp = qv::abi::NewString(std::move(s));
}

// Where QvWriteClass and QvWriteClasses put a class.
qv::WritePlace Place(const char* sDirectory, QvBoolean bMirrorPackage, const char* sLineEnd) {
  qv::WritePlace place;
  place.sDirectory = qv::abi::OrEmpty(sDirectory);
  place.bMirrorPackage = bMirrorPackage != 0;
  place.sLineEnd = qv::abi::OrEmpty(sLineEnd);
  return place;
}

std::vector<std::string> RootsOf(const char* const* asRoots, size_t nRoots) {
  std::vector<std::string> aRoots;
  for (size_t i = 0; i < nRoots; ++i) aRoots.emplace_back(qv::abi::OrEmpty(asRoots[i]));
  return aRoots;
}

// The calls a scan and a stream share, a root that is no directory and the
// count of files, from the C listener to the session's.
template <class Callbacks, class Listener>
void ListenToRootsAndCount(const Callbacks& callbacks, Listener& listener) {
  if (callbacks.missingRoot != nullptr) {
    listener.fnMissingRoot = [callbacks](const std::string& sRoot) {
      callbacks.missingRoot(callbacks.pUserData, sRoot.c_str());
    };
  }
  if (callbacks.found != nullptr) {
    listener.fnFound = [callbacks](int64_t nFiles) { callbacks.found(callbacks.pUserData, nFiles); };
  }
}

// The C interface's kinds are the parser's, value for value.
static_assert(QV_JAVA_KIND_COUNT == qv::kJavaKindCount);
static_assert(QV_JAVA_NONE == static_cast<int>(qv::JavaKind::kNone) &&
              QV_JAVA_CLASS == static_cast<int>(qv::JavaKind::kClass) &&
              QV_JAVA_INTERFACE == static_cast<int>(qv::JavaKind::kInterface) &&
              QV_JAVA_ENUM == static_cast<int>(qv::JavaKind::kEnum) &&
              QV_JAVA_RECORD == static_cast<int>(qv::JavaKind::kRecord) &&
              QV_JAVA_ANNOTATION == static_cast<int>(qv::JavaKind::kAnnotation));

QvScanSummary Summary(const qv::ScanReport& report, int64_t nFiles) {
  QvScanSummary summary{};
  summary.files = nFiles;
  std::copy(report.aKinds.begin(), report.aKinds.end(), summary.kinds);
  summary.unparsed = report.nUnparsed;
  summary.packages = report.nPackages;
  summary.missingRoots = static_cast<int64_t>(report.aMissingRoots.size());
  return summary;
}

// Tells fnProblem every problem of a save, refused records first, and
// fills *pSummary (either may be NULL).
void ReportSave(const qv::SaveReport& report, QvSaveProblemFn fnProblem, void* pUserData, QvSaveSummary* pSummary) {
  if (fnProblem != nullptr) {
    for (const qv::SaveProblem& p : report.aRefused) {
      fnProblem(pUserData, QV_SAVE_REFUSED, p.sPath.c_str(), p.sClassName.c_str(), p.sWhy.c_str());
    }
    if (!report.sClassListError.empty()) {
      fnProblem(pUserData, QV_SAVE_CLASS_LIST, qv::format::kClassListFile.data(), "", report.sClassListError.c_str());
    }
    for (const qv::SaveProblem& p : report.aMethodFileErrors) {
      fnProblem(pUserData, QV_SAVE_METHOD_FILE, p.sPath.c_str(), p.sClassName.c_str(), p.sWhy.c_str());
    }
  }
  if (pSummary != nullptr) *pSummary = QvSaveSummary{report.nSaved, report.nUnchanged};
}

}  // namespace

extern "C" {

QV_API QvJavaKind QvDeclarationKind(const QvString* pBody) {
  return static_cast<QvJavaKind>(qv::DeclarationKind(qv::abi::View(pBody)));
}
QV_API const char* QvJavaKindName(QvJavaKind eKind) {
  const qv::JavaKindRow* pRow = qv::JavaKindRowOf(static_cast<qv::JavaKind>(eKind));
  return pRow == nullptr ? "" : pRow->sName.data();  // static, zero-terminated texts
}
QV_API const char* QvJavaKindCounted(QvJavaKind eKind) {
  const qv::JavaKindRow* pRow = qv::JavaKindRowOf(static_cast<qv::JavaKind>(eKind));
  return pRow == nullptr ? "" : pRow->sCounted.data();  // static, zero-terminated texts
}
QV_API QvString* QvNativePath(const char* sPath) {
  return qv::abi::NewString(
      qv::abi::TheModule().Files().SystemPath(qv::abi::OrEmpty(sPath), qv::FileSystem::PathForm::kMapped));
}

QV_API QvBoolean QvScan(const char* const* asRoots, size_t nRoots, const QvScanListener* pListener,
                        QvScanSummary* pSummary) {
  const std::vector<std::string> aRoots = RootsOf(asRoots, nRoots);
  qv::ScanListener listener;
  if (pListener != nullptr) {
    const QvScanListener callbacks = *pListener;
    ListenToRootsAndCount(callbacks, listener);
    if (callbacks.file != nullptr) {
      listener.fnFile = [callbacks](const qv::ScannedFile& file) {
        const QvScannedFile c{file.nIndex, static_cast<QvSourceState>(file.eState), static_cast<QvJavaKind>(file.eKind),
                              file.nErrno, 0};
        callbacks.file(callbacks.pUserData, &c);
      };
    }
  }
  const qv::ScanReport report = Session().Scan(aRoots, listener);
  if (pSummary != nullptr) *pSummary = Summary(report, static_cast<int64_t>(report.aFiles.size()));
  return report.sGap.empty() ? 1 : 0;
}

QV_API void QvSetListingErrorHandler(void (*fn)(void* pUserData, const char* sDirectory, int32_t nErrno),
                                     void* pUserData) {
  if (fn == nullptr) {
    qv::abi::TheModule().Files().SetListingErrorHandler(nullptr);
    return;
  }
  qv::abi::TheModule().Files().SetListingErrorHandler(
      [fn, pUserData](const std::string& sDirectory, int nErrno) { fn(pUserData, sDirectory.c_str(), nErrno); });
}

QV_API const char* QvClassListFileName(void) { return qv::format::kClassListFile.data(); }
QV_API void QvSetMethodFileDirectory(const char* sDirectory) {
  qv::RepositoryVars(qv::abi::TheModule()).sMethodFileDirectory = qv::abi::OrEmpty(sDirectory);
}

QV_API QvBoolean QvSaveRepository(QvSaveProblemFn fnProblem, void* pUserData, QvSaveSummary* pSummary) {
  const qv::SaveReport report = Session().Save();
  ReportSave(report, fnProblem, pUserData, pSummary);
  return report.Ok() ? 1 : 0;
}

QV_API const char* QvSaveStateFileName(void) { return qv::format::kSaveStateFile.data(); }

QV_API QvBoolean QvStreamSources(const char* const* asRoots, size_t nRoots, const QvStreamOptions* pOptions,
                                 const QvStreamListener* pListener, QvScanSummary* pScan, QvSaveProblemFn fnProblem,
                                 void* pProblemData, QvSaveSummary* pSave, int64_t* pKept) {
  const std::vector<std::string> aRoots = RootsOf(asRoots, nRoots);
  qv::StreamOptions options;
  if (pOptions != nullptr) {
    options.bSave = pOptions->save != 0;
    options.bReadAll = pOptions->readAll != 0;
    options.bNames = pOptions->names != 0;
    options.bTags = pOptions->tags != 0;
  }
  qv::StreamListener listener;
  if (pListener != nullptr) {
    const QvStreamListener callbacks = *pListener;
    ListenToRootsAndCount(callbacks, listener);
    if (callbacks.file != nullptr) {
      listener.fnFile = [callbacks](const qv::StreamedFile& streamed) {
        const std::string aTexts[] = {std::string(streamed.sFileName), std::string(streamed.sDirectory),
                                      std::string(streamed.sClassName), std::string(streamed.sSuperClass),
                                      std::string(streamed.sPackage)};
        const qv::ScannedFile& file = streamed.file;
        const QvStreamedFile c{file.nIndex,
                               static_cast<QvSourceState>(file.eState),
                               static_cast<QvJavaKind>(file.eKind),
                               file.nErrno,
                               streamed.bKept ? 1 : 0,
                               aTexts[0].c_str(),
                               aTexts[1].c_str(),
                               aTexts[2].c_str(),
                               aTexts[3].c_str(),
                               aTexts[4].c_str()};
        callbacks.file(callbacks.pUserData, &c);
      };
    }
  }
  const qv::StreamReport report = Session().Stream(aRoots, options, listener);
  if (pScan != nullptr) *pScan = Summary(report.scan, report.nFiles);
  if (options.bSave) ReportSave(report.save, fnProblem, pProblemData, pSave);
  if (pKept != nullptr) *pKept = report.nKept;
  return report.scan.sGap.empty() && (!options.bSave || report.save.Ok()) ? 1 : 0;
}

QV_API QvBoolean QvHasClassList(void) { return Session().HasClassList() ? 1 : 0; }
QV_API int64_t QvClassListLineCount(void) { return Session().ClassListLineCount(); }
QV_API QvBoolean QvClassListNames(void (*fnName)(void* pUserData, const char* sName), void* pUserData,
                                  QvString** ppError) {
  std::vector<std::string> aNames;
  if (std::string sError = Session().ClassNames(aNames); !sError.empty()) {
    Put(ppError, sError);
    return 0;
  }
  if (fnName != nullptr) {
    for (const std::string& sName : aNames) fnName(pUserData, sName.c_str());
  }
  return 1;
}
QV_API QvBoolean QvLoadRepository(void (*fnProgress)(void* pUserData, int64_t nLoaded), void* pUserData) {
  Session().RecoverBeforeLoad();
  if (fnProgress == nullptr) return Session().Load() ? 1 : 0;
  return Session().Load([fnProgress, pUserData](int64_t nLoaded) { fnProgress(pUserData, nLoaded); }) ? 1 : 0;
}
QV_API int64_t QvClassCount(void) { return Session().ClassCount(); }

QV_API int64_t QvFindClass(const char* sName, int64_t* pChosenAmong) {
  const qv::ClassLookup found = Session().Find(qv::abi::OrEmpty(sName));
  if (pChosenAmong != nullptr) *pChosenAmong = found.nChosenAmong;
  return found.nAt;
}

// The C fields are the session's parts, number for number.
static_assert(int{QV_CLASS_NAME} == int(qv::ClassPart::kName) &&
              int{QV_CLASS_SOURCE_PATH} == int(qv::ClassPart::kSourcePath) &&
              int{QV_CLASS_STAMP} == int(qv::ClassPart::kStamp) &&
              int{QV_CLASS_DECLARATION} == int(qv::ClassPart::kDeclaration));
static_assert(int{QV_METHOD_NAME} == int(qv::MethodPart::kName) && int{QV_METHOD_BODY} == int(qv::MethodPart::kBody));

QV_API QvString* QvClassText(int64_t nAt, QvClassField eField) {
  if (!InRange(nAt) || eField < QV_CLASS_NAME || eField > QV_CLASS_DECLARATION) return nullptr;
  return qv::abi::NewString(Session().ClassText(nAt, static_cast<qv::ClassPart>(eField)));
}

QV_API QvJavaKind QvClassKind(int64_t nAt) {
  if (!InRange(nAt)) return QV_JAVA_NONE;
  return static_cast<QvJavaKind>(Session().Kind(nAt));
}
QV_API QvJavaKind QvReadClassKind(int64_t nAt, QvString** ppPath, QvString** ppError) {
  if (!InRange(nAt)) {
    Put(ppError, "no such class");
    return QV_JAVA_NONE;
  }
  qv::JavaKind eKind = qv::JavaKind::kNone;
  const qv::Outcome outcome = Session().ReadKind(nAt, eKind);
  if (!outcome.bOk) {
    Put(ppPath, outcome.sPath);
    Put(ppError, outcome.sWhy);
  }
  return static_cast<QvJavaKind>(eKind);
}
QV_API int64_t QvClassImportCount(int64_t nAt) { return InRange(nAt) ? Session().ImportCount(nAt) : 0; }
QV_API QvString* QvClassImport(int64_t nAt, int64_t nImport) {
  if (!InRange(nAt) || nImport < 0 || nImport >= QvClassImportCount(nAt)) return nullptr;
  return qv::abi::NewString(Session().Import(nAt, nImport));
}
QV_API int64_t QvClassMethodCount(int64_t nAt) { return InRange(nAt) ? Session().MethodCount(nAt) : 0; }
QV_API QvString* QvClassMethodText(int64_t nAt, int64_t nMethod, QvMethodField eField) {
  if (!InRange(nAt) || nMethod < 1 || nMethod > QvClassMethodCount(nAt)) return nullptr;
  if (eField < QV_METHOD_NAME || eField > QV_METHOD_BODY) return nullptr;
  return qv::abi::NewString(Session().MethodText(nAt, nMethod, static_cast<qv::MethodPart>(eField)));
}

QV_API QvBoolean QvReadMethods(int64_t nAt, QvString** ppPath, QvString** ppError) {
  if (!InRange(nAt)) {
    Put(ppError, "no such class");
    return 0;
  }
  const qv::Outcome outcome = Session().ReadMethods(nAt);
  if (outcome.bOk) return 1;
  Put(ppPath, outcome.sPath);
  Put(ppError, outcome.sWhy);
  return 0;
}

QV_API void QvSubclassTree(const char* sTop, void (*fnNode)(void* pUserData, const QvTreeNode* pNode),
                           void* pUserData) {
  if (fnNode == nullptr) return;
  for (const qv::SubclassNode& node : Session().Tree(qv::abi::OrEmpty(sTop))) {
    const QvTreeNode c{node.sClassName.c_str(),
                       node.sPackage.c_str(),
                       node.sParent.c_str(),
                       node.nDepth,
                       node.bInRepository ? 1 : 0,
                       node.bCycle ? 1 : 0,
                       node.nAt};
    fnNode(pUserData, &c);
  }
}

QV_API QvString* QvClassSource(int64_t nAt, const char* sLineEnd) {
  if (!InRange(nAt)) return nullptr;
  return qv::abi::NewString(Session().SourceText(nAt, qv::abi::OrEmpty(sLineEnd)));
}

QV_API QvBoolean QvWriteClass(int64_t nAt, const char* sDirectory, QvBoolean bMirrorPackage, const char* sLineEnd,
                              QvString** ppPath, QvString** ppError) {
  if (!InRange(nAt)) {
    Put(ppError, "no such class");
    return 0;
  }
  const qv::Outcome outcome = Session().WriteClass(nAt, Place(sDirectory, bMirrorPackage, sLineEnd));
  Put(ppPath, outcome.sPath);
  if (!outcome.bOk) Put(ppError, outcome.sWhy);
  return outcome.bOk ? 1 : 0;
}

QV_API int64_t QvWriteClasses(const char* sDirectory, QvBoolean bMirrorPackage, const char* sLineEnd,
                              void (*fnClass)(void* pUserData, const QvClassWritten* pClass), void* pUserData) {
  return Session().WriteClasses(Place(sDirectory, bMirrorPackage, sLineEnd), [&](const qv::ClassWrite& written) {
    if (fnClass == nullptr) return;
    const QvClassWritten c{written.nAt,
                           written.nSameTargetAs,
                           written.outcome.sPath.c_str(),
                           written.outcome.sWhy.c_str(),
                           written.outcome.bOk ? 1 : 0,
                           0};
    fnClass(pUserData, &c);
  });
}

QV_API QvBoolean QvLockRepository(QvBoolean bWait, void (*fnWaiting)(void* pUserData, const char* sLockFile),
                                  void* pUserData, QvBoolean* pBusy, QvString** ppError) {
  const qv::LockOutcome outcome = Session().Lock(bWait != 0, [fnWaiting, pUserData](const std::string& sLockFile) {
    if (fnWaiting != nullptr) fnWaiting(pUserData, sLockFile.c_str());
  });
  if (pBusy != nullptr) *pBusy = outcome.bBusy ? 1 : 0;
  if (outcome.bOk) return 1;
  Put(ppError, outcome.sWhy);
  return 0;
}
QV_API void QvUnlockRepository(void) { Session().Unlock(); }
QV_API QvString* QvRepositoryLockFile(void) { return qv::abi::NewString(Session().LockFilePath()); }

}  // extern "C"
