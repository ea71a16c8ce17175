// SPDX-License-Identifier: Apache-2.0
// The quorvane command run as a user runs it, for end-to-end tests.
#pragma once

#include <string>

#include "support/test_host.h"

namespace qv::test {

struct CommandOutput {
  int nStatus = -1;
  std::string sOut;  // stdout
  std::string sErr;  // stderr
};

// Runs "quorvane ARGS" through the shell (ARGS is shell text) with stderr
// captured in a file of tmp.
CommandOutput RunQuorvane(const std::string& sArgs, const TempDir& tmp);
// The same, run as the user nobody (with setpriv, so only root can do it).
CommandOutput RunQuorvaneAsNobody(const std::string& sArgs, const TempDir& tmp);
// Any command line (shell text), run the same way.
CommandOutput RunShell(const std::string& sCommandLine, const TempDir& tmp);

inline bool Has(const std::string& s, const std::string& sPart) { return s.find(sPart) != std::string::npos; }

}  // namespace qv::test
