// SPDX-License-Identifier: Apache-2.0
// Checks run against a fresh load of the built shared library, in a child
// process: each load starts from the library's first initialisation, and a
// crash inside shows as a status instead of ending the test binary.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cli/library_client.h"

namespace qv::test {

// What the child sets up before it loads the library.
struct ChildSetup {
  std::string sWorkDir;                                   // the child's working directory, when not empty
  std::vector<std::pair<std::string, std::string>> aEnv;  // environment variables the library reads
  bool bQuietStderr = false;                              // stderr to /dev/null (message boxes print there)
};

// The statuses the child ends with when it could not run fn.
constexpr int kChildSetupFailed = 90;
constexpr int kChildLoadFailed = 91;
constexpr int kChildKilled = 1000;  // plus the signal's number

// Forks; the child applies setup, loads QV_SHARED_LIBRARY and exits with
// fn's result.  Returns the child's exit status (0 when every check in fn
// held), or kChildKilled plus the signal that ended it.
int InLoadedChild(const std::function<int(quorvane::cli::LibraryClient&)>& fn, const ChildSetup& setup = {});

// Numbers as they cross the C interface: a value, and the null Number.
inline QvNumber Num(double d) { return QvNumber{d, 0, 0}; }
inline constexpr QvNumber kNull{0, 1, 0};

}  // namespace qv::test
