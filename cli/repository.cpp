// The repository of a directory, through the library, in this process.
#include "cli/repository.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/print.h"
#include "cli/progress.h"
#include "cli/repository_options.h"
#include "cli/session.h"
#include "frame/convert.h"
#include "frame/runtime.h"
#include "frame/window_messages.h"
#include "host/posix_files.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/repository_format.h"

namespace qv::cli {
namespace {

// Opens "jbclass.txt" of the repository directory.  FALSE after printing
// an error.
bool OpenClassList(const char* sCommand, Session& session, std::ifstream& in) {
  const std::string& sRepository = session.Host().Files().WorkingDirectory();
  in.open(sRepository + "/" + std::string(format::kClassListFile), std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "quorvane %s: no repository here: %s not found in %s\n", sCommand,
                 std::string(format::kClassListFile).c_str(), sRepository.c_str());
    return false;
  }
  return true;
}

// Loads "jbclass.txt" of the current directory, with a progress bar fed by
// the library's progress message.  FALSE after printing an error.
bool Load(const char* sCommand, Session& session) {
  std::ifstream in;
  if (!OpenClassList(sCommand, session, in)) return false;
  // The bar needs the number of classes; count the lines only when there is
  // a terminal to show it on, not on every load.
  int64_t nLines = 0;
  if (isatty(STDERR_FILENO) == 1) {
    for (std::string sLine; std::getline(in, sLine);) ++nLines;
  }
  in.close();
  Progress progress("loading", nLines);
  session.Host().Windows().SetMessageHandler([&progress](const HeadlessWindows::SentMessage& sent) {
    if (sent.nMessage == kMsgRepositoryLoadProgress) progress.Update(sent.nlParam.AsInt64());
    return Number(0);
  });
  JavaRepositoryInstance(session.M()).LoadRepository(session.M());
  session.Host().Windows().SetMessageHandler(nullptr);
  return true;
}

}  // namespace

int OpenRepository(const char* sCommand, RepositoryOptions& options, Session& session, RepositoryLock* pLock,
                   bool bNoWait) {
  ApplyProfile(session.M(), options);
  if (pLock != nullptr && !SeparatorsSafeForWriting(sCommand, options)) return 2;
  if (!EnterRepository(sCommand, options, session, false)) return 1;
  if (pLock != nullptr && !pLock->Acquire(sCommand, session.Host().Files().WorkingDirectory(), bNoWait)) return 1;
  if (!Load(sCommand, session)) return 1;
  return -1;
}

int FindClassListFile(const char* sCommand, RepositoryOptions& options, Session& session, std::string& sPath) {
  ApplyProfile(session.M(), options);
  if (!EnterRepository(sCommand, options, session, false)) return 1;
  std::ifstream in;
  if (!OpenClassList(sCommand, session, in)) return 1;
  sPath = session.Host().Files().WorkingDirectory() + "/" + std::string(format::kClassListFile);
  return -1;
}

int64_t Resolve(const char* sCommand, Module& m, const std::string& sName) {
  const IndexedNames& aNames = RepositoryVars(m).cv_sClassName;
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  int64_t nAt = VC_JavaRepository().FindClass(m, sName).AsInt64();
  if (nAt < 0) {
    const size_t nDot = sName.rfind('.');
    if (nDot != std::string::npos) {
      for (const int64_t i : aNames.Positions(std::string_view(sName).substr(nDot + 1))) {
        if (aClasses[i].sPackage == std::string_view(sName).substr(0, nDot)) {
          nAt = i;
          break;
        }
      }
    }
  } else if (aNames.Positions(sName).size() > 1) {
    std::fprintf(stderr,
                 "quorvane %s: %zu classes are named %s; using the one in package '%s' (qualify the name "
                 "with its package to choose)\n",
                 sCommand, aNames.Positions(sName).size(), sName.c_str(), aClasses[nAt].sPackage.c_str());
  }
  if (nAt < 0) std::fprintf(stderr, "quorvane %s: %s: no such class in the repository\n", sCommand, sName.c_str());
  return nAt;
}

bool ReadMethods(const char* sCommand, Module& m, int64_t nAt) {
  VC_JavaClass& r = JavaClassArray(m).At(nAt);
  if (r.sMethodFile.empty()) return true;
  FileHandle hNone;
  if (!RtFileOpen(m, hNone, r.sMethodFile, kOpenExist)) {
    std::fprintf(stderr, "quorvane %s: %s: method file missing\n", sCommand, NativePath(r.sMethodFile).c_str());
    return false;
  }
  JavaRepositoryInstance(m).ReadMethodFile(m, r.sMethodFile, Number(nAt), m.G().sElementDelimiter);
  return true;
}

std::string Described(const VC_JavaClass& r) {
  std::string s = r.sClassName;
  if (!r.sPackage.empty()) s += "  (" + r.sPackage + ")";
  return s;
}

std::string NativePath(std::string_view sPath) { return MapToPosixPath(sPath, "/"); }

std::string SourcePath(std::string_view sDirectory, std::string_view sFileName) {
  std::string s(sDirectory);
  s.append("\\").append(sFileName);
  return NativePath(s);
}

std::string SourcePath(const VC_JavaClass& r) { return SourcePath(r.sDirectory, r.sFileName); }

int SaveScannedRepository(Session& session, bool bQuiet, bool bSummaryToStderr) {
  Module& m = session.M();
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  const ScanSave save = SaveScannedClasses(m);
  for (const auto& [i, sWhy] : save.aRefused) {
    std::fprintf(stderr, "quorvane scan: %s: class %s not saved: %s\n", SourcePath(aClasses[i]).c_str(),
                 aClasses[i].sClassName.c_str(), sWhy.c_str());
  }
  if (!save.sClassListError.empty()) {
    std::fprintf(stderr, "quorvane scan: %s not written: %s\n", std::string(format::kClassListFile).c_str(),
                 save.sClassListError.c_str());
    return 1;
  }
  for (const auto& [i, sWhy] : save.aMethodFileErrors) {
    std::fprintf(stderr, "quorvane scan: %s: method file not written: %s\n",
                 NativePath(aClasses[i].sMethodFile).c_str(), sWhy.c_str());
  }
  if (!bQuiet) {
    std::fprintf(bSummaryToStderr ? stderr : stdout,
                 "saved: %s with %lld classes in %s\nmethod files unchanged: %lld\n",
                 std::string(format::kClassListFile).c_str(), static_cast<long long>(save.nSaved),
                 session.Host().Files().WorkingDirectory().c_str(), static_cast<long long>(save.nUnchanged));
  }
  return save.aRefused.empty() && save.aMethodFileErrors.empty() ? 0 : 1;
}

}  // namespace qv::cli
