// The repository of a directory, through the library, in this process.
#include "cli/repository.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/progress.h"
#include "cli/repository_options.h"
#include "cli/session.h"
#include "host/posix_files.h"
#include "repository/repository_format.h"
#include "repository/repository_session.h"

namespace qv::cli {
namespace {

// FALSE after saying that the repository directory holds no class list.
bool HasClassList(const char* sCommand, Session& session) {
  if (RepositorySession(session.M()).HasClassList()) return true;
  std::fprintf(stderr, "quorvane %s: no repository here: %s not found in %s\n", sCommand,
               std::string(format::kClassListFile).c_str(), session.Host().Files().WorkingDirectory().c_str());
  return false;
}

// Loads the repository, with a progress bar.  FALSE after printing an error.
bool Load(const char* sCommand, Session& session) {
  if (!HasClassList(sCommand, session)) return false;
  RepositorySession repo(session.M());
  // The bar needs the number of classes; count the lines only when there is
  // a terminal to show it on, not on every load.
  Progress progress("loading", isatty(STDERR_FILENO) == 1 ? repo.ClassListLineCount() : 0);
  repo.Load([&progress](int64_t nLoaded) { progress.Update(nLoaded); });
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
  if (!HasClassList(sCommand, session)) return 1;
  sPath = session.Host().Files().WorkingDirectory() + "/" + std::string(format::kClassListFile);
  return -1;
}

int64_t Resolve(const char* sCommand, Module& m, const std::string& sName) {
  const ClassLookup found = RepositorySession(m).Find(sName);
  if (found.nChosenAmong > 1) {
    std::fprintf(stderr,
                 "quorvane %s: %lld classes are named %s; using the one in package '%s' (qualify the name "
                 "with its package to choose)\n",
                 sCommand, static_cast<long long>(found.nChosenAmong), sName.c_str(), found.sPackage.c_str());
  }
  if (found.nAt < 0)
    std::fprintf(stderr, "quorvane %s: %s: no such class in the repository\n", sCommand, sName.c_str());
  return found.nAt;
}

bool ReadMethods(const char* sCommand, Module& m, int64_t nAt) {
  return Said(sCommand, RepositorySession(m).ReadMethods(nAt));
}

bool Said(const char* sCommand, const Outcome& outcome) {
  if (!outcome.bOk) {
    std::fprintf(stderr, "quorvane %s: %s: %s\n", sCommand, NativePath(outcome.sPath).c_str(), outcome.sWhy.c_str());
  }
  return outcome.bOk;
}

std::string NativePath(std::string_view sPath) { return MapToPosixPath(sPath, "/"); }

int SaveScannedRepository(Session& session, bool bQuiet, bool bSummaryToStderr) {
  const SaveReport save = RepositorySession(session.M()).Save();
  for (const SaveProblem& refused : save.aRefused) {
    std::fprintf(stderr, "quorvane scan: %s: class %s not saved: %s\n", NativePath(refused.sPath).c_str(),
                 refused.sClassName.c_str(), refused.sWhy.c_str());
  }
  if (!save.sClassListError.empty()) {
    std::fprintf(stderr, "quorvane scan: %s not written: %s\n", std::string(format::kClassListFile).c_str(),
                 save.sClassListError.c_str());
    return 1;
  }
  for (const SaveProblem& failed : save.aMethodFileErrors) {
    std::fprintf(stderr, "quorvane scan: %s: method file not written: %s\n", NativePath(failed.sPath).c_str(),
                 failed.sWhy.c_str());
  }
  if (!bQuiet) {
    std::fprintf(bSummaryToStderr ? stderr : stdout,
                 "saved: %s with %lld classes in %s\nmethod files unchanged: %lld\n",
                 std::string(format::kClassListFile).c_str(), static_cast<long long>(save.nSaved),
                 session.Host().Files().WorkingDirectory().c_str(), static_cast<long long>(save.nUnchanged));
  }
  return save.Ok() ? 0 : 1;
}

}  // namespace qv::cli
