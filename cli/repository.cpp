// SPDX-License-Identifier: Apache-2.0
// The repository of a directory, through the library's C interface.
#include "cli/repository.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/progress.h"
#include "quorvane/quorvane.hpp"

namespace quorvane::cli {
namespace {

using quorvane::TakeText;

// FALSE after saying that the repository directory holds no class list.
bool HasClassList(const char* sCommand, const Session& session) {
  if (QvHasClassList() != 0) return true;
  std::fprintf(stderr, "quorvane %s: no repository here: %s not found in %s\n", sCommand, QvClassListFileName(),
               session.RepositoryDir().c_str());
  return false;
}

// Loads the repository, with a progress bar.  FALSE after printing an error.
bool Load(const char* sCommand, const Session& session) {
  if (!HasClassList(sCommand, session)) return false;
  // The bar needs the number of classes; count the lines only when there is
  // a terminal to show it on, not on every load.
  Progress progress("loading", isatty(STDERR_FILENO) == 1 ? QvClassListLineCount() : 0);
  QvLoadRepository([](void* p, int64_t nLoaded) { static_cast<Progress*>(p)->Update(nLoaded); }, &progress);
  return true;
}

}  // namespace

std::optional<int> OpenRepository(const char* sCommand, RepositoryOptions& options, Session& session, bool bLock,
                                  bool bNoWait) {
  if (!ApplyProfile(sCommand, options)) return kExitFailed;
  if (bLock && !SeparatorsSafeForWriting(sCommand, options)) return kExitUsage;
  if (!EnterRepository(sCommand, options, session, false)) return kExitFailed;
  if (bLock && !LockRepository(sCommand, bNoWait)) return kExitFailed;
  if (!Load(sCommand, session)) return kExitFailed;
  return std::nullopt;
}

std::optional<int> FindClassListFile(const char* sCommand, RepositoryOptions& options, Session& session,
                                     std::string& sPath) {
  if (!ApplyProfile(sCommand, options)) return kExitFailed;
  if (!EnterRepository(sCommand, options, session, false)) return kExitFailed;
  if (!HasClassList(sCommand, session)) return kExitFailed;
  sPath = session.RepositoryDir() + "/" + QvClassListFileName();
  return std::nullopt;
}

bool LockRepository(const char* sCommand, bool bNoWait) {
  QvBoolean bBusy = 0;
  quorvane::String sError;
  const auto Waiting = [](void* pCommand, const char* sLockFile) {
    std::fprintf(stderr, "quorvane %s: waiting for another command that is writing this repository (%s)...\n",
                 static_cast<const char*>(pCommand), sLockFile);
    std::fflush(stderr);
  };
  if (QvLockRepository(bNoWait ? 0 : 1, Waiting, const_cast<char*>(sCommand), &bBusy, sError.Receive()) != 0) {
    return true;
  }
  if (bBusy != 0) {
    std::fprintf(stderr, "quorvane %s: another command is writing this repository (%s is locked); not waiting\n",
                 sCommand, TakeText(QvRepositoryLockFile()).c_str());
  } else {
    std::fprintf(stderr, "quorvane %s: %s\n", sCommand, sError.Str().c_str());
  }
  return false;
}

int64_t Resolve(const char* sCommand, const std::string& sName) {
  int64_t nChosenAmong = 0;
  const int64_t nAt = QvFindClass(sName.c_str(), &nChosenAmong);
  if (nChosenAmong > 1) {
    std::fprintf(stderr,
                 "quorvane %s: %lld classes are named %s; using the one in package '%s' (qualify the name "
                 "with its package to choose)\n",
                 sCommand, static_cast<long long>(nChosenAmong), sName.c_str(),
                 TakeText(QvClassText(nAt, QV_CLASS_PACKAGE)).c_str());
  }
  if (nAt < 0) std::fprintf(stderr, "quorvane %s: %s: no such class in the repository\n", sCommand, sName.c_str());
  return nAt;
}

bool ReadMethods(const char* sCommand, int64_t nAt) {
  quorvane::String sPath, sWhy;
  if (QvReadMethods(nAt, sPath.Receive(), sWhy.Receive()) != 0) return true;
  std::fprintf(stderr, "quorvane %s: %s: %s\n", sCommand, NativePath(sPath.View()).c_str(), sWhy.Str().c_str());
  return false;
}

std::string NativePath(std::string_view sPath) { return TakeText(QvNativePath(std::string(sPath).c_str())); }

}  // namespace quorvane::cli
