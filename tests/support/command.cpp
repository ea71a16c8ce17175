// SPDX-License-Identifier: Apache-2.0
#include "support/command.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace qv::test {

namespace {

CommandOutput Run(const std::string& sCommandLine, const TempDir& tmp) {
  const std::string sErrFile = tmp.Str() + "/stderr.txt";
  const std::string sCommand = sCommandLine + " 2>" + sErrFile;
  CommandOutput r;
  FILE* p = popen(sCommand.c_str(), "r");
  if (p == nullptr) return r;
  std::array<char, 65536> aBuffer{};
  size_t n = 0;
  while ((n = fread(aBuffer.data(), 1, aBuffer.size(), p)) > 0) r.sOut.append(aBuffer.data(), n);
  const int nWait = pclose(p);
  r.nStatus = WIFEXITED(nWait) ? WEXITSTATUS(nWait) : -1;
  r.sErr = tmp.Read("stderr.txt");
  return r;
}

}  // namespace

CommandOutput RunQuorvane(const std::string& sArgs, const TempDir& tmp) {
  return Run(std::string(QV_CLI) + " " + sArgs, tmp);
}

CommandOutput RunQuorvaneAsNobody(const std::string& sArgs, const TempDir& tmp) {
  return Run("setpriv --reuid=65534 --regid=65534 --clear-groups " + std::string(QV_CLI) + " " + sArgs, tmp);
}

CommandOutput RunShell(const std::string& sCommandLine, const TempDir& tmp) { return Run(sCommandLine, tmp); }

}  // namespace qv::test
