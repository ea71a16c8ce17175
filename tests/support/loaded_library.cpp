// SPDX-License-Identifier: Apache-2.0
#include "support/loaded_library.h"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace qv::test {

int InLoadedChild(const std::function<int(quorvane::cli::LibraryClient&)>& fn, const ChildSetup& setup) {
  std::fflush(nullptr);  // nothing buffered is printed twice
  const pid_t pid = fork();
  if (pid == 0) {
    if (!setup.sWorkDir.empty() && chdir(setup.sWorkDir.c_str()) != 0) _exit(kChildSetupFailed);
    for (const auto& [sName, sValue] : setup.aEnv) {
      if (setenv(sName.c_str(), sValue.c_str(), 1) != 0) _exit(kChildSetupFailed);
    }
    if (setup.bQuietStderr && std::freopen("/dev/null", "w", stderr) == nullptr) _exit(kChildSetupFailed);
    quorvane::cli::LibraryClient lib;
    if (!lib.Load(QV_SHARED_LIBRARY)) _exit(kChildLoadFailed);
    _exit(fn(lib));
  }
  int nStatus = 0;
  if (pid < 0 || waitpid(pid, &nStatus, 0) != pid) return kChildKilled;
  return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : kChildKilled + WTERMSIG(nStatus);
}

}  // namespace qv::test
