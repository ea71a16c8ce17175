// SPDX-License-Identifier: Apache-2.0
#include "cli/print.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "cli/commands.h"

namespace quorvane::cli {
namespace {

// The errno of the first write to stdout that failed; 0 while none has.
// It belongs to stdout, which is the process's own.
int nFirstWriteError = 0;

// Keeps errno as the reason when it is the first failure.
void KeepFailure() {
  if (nFirstWriteError == 0) nFirstWriteError = errno;
}

std::string Indent(int nIndent) { return std::string(static_cast<size_t>(std::max(nIndent, 0)), ' '); }

}  // namespace

void WriteOut(std::string_view s) {
  if (s.empty()) return;
  errno = 0;
  if (std::fwrite(s.data(), 1, s.size(), stdout) != s.size()) KeepFailure();
}

void FlushOut() {
  errno = 0;
  if (std::fflush(stdout) != 0) KeepFailure();
}

int FinishOutput(const std::string& sWho, int nStatus) {
  const bool bFailedBefore = std::ferror(stdout) != 0;
  errno = 0;
  const bool bFlushFailed = std::fflush(stdout) != 0;
  int nError = nFirstWriteError != 0 ? nFirstWriteError : bFlushFailed ? errno : 0;
  bool bLost = bFailedBefore || bFlushFailed;
  errno = 0;
  // EBADF with nothing left to write: stdout was closed and the command
  // printed nothing.
  if (std::fclose(stdout) != 0 && !bLost && errno != EBADF) {
    bLost = true;
    nError = errno;
  }
  if (bLost) {
    // No reason is kept when a printf wrote a text longer than the buffer
    // past it and failed: the error flag is all the C library left.
    const std::string sWhy = nError != 0 ? std::generic_category().message(nError)
                                         : std::string("an earlier write failed");
    std::fprintf(stderr, "%s: write error on standard output: %s\n", sWho.c_str(), sWhy.c_str());
  }
  const bool bStderrFailed = std::fflush(stderr) != 0 || std::ferror(stderr) != 0;
  return (bLost || bStderrFailed) ? std::max(nStatus, kExitFailed) : nStatus;
}

void PrintField(const char* sLabel, std::string_view s, int nIndent) {
  // The label is padded to 12 columns.
  const std::string sIndent = Indent(nIndent);
  std::string sLine = sIndent + sLabel;
  sLine.resize(std::max(sLine.size(), sIndent.size() + 12), ' ');
  sLine.append(" ").append(s).append("\n");
  WriteOut(sLine);
}

void PrintBlock(const char* sLabel, std::string_view s, int nIndent) {
  const std::string sIndent = Indent(nIndent);
  std::string sOut = sIndent + sLabel + "\n";
  size_t nBegin = 0;
  while (nBegin < s.size()) {
    size_t nEnd = s.find('\n', nBegin);
    if (nEnd == std::string_view::npos) nEnd = s.size();
    std::string_view sLine = s.substr(nBegin, nEnd - nBegin);
    while (!sLine.empty() && sLine.back() == '\r') sLine.remove_suffix(1);
    sOut.append(sIndent).append("  | ").append(sLine).append("\n");
    nBegin = nEnd + 1;
  }
  WriteOut(sOut);
}

}  // namespace quorvane::cli
