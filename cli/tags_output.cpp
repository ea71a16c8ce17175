// SPDX-License-Identifier: Apache-2.0
#include "cli/tags_output.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/print.h"

namespace quorvane::cli {

CLI::Option* AddTagsFormat(CLI::App& sub, std::string& sFormat, const std::string& sHelp) {
  return sub.add_option("--format", sFormat, sHelp)->check(CLI::IsMember({"ctags", "etags"}));
}

std::string TagsPathForLibrary(const std::string& sOutput) {
  if (sOutput == "-") return {};
  std::error_code ec;
  return std::filesystem::absolute(sOutput, ec).lexically_normal().string();
}

void SayTagProblem(const char* sCommand, std::string_view sPath, std::string_view sWhy) {
  std::fprintf(stderr, "quorvane %s: %.*s: %.*s\n", sCommand, static_cast<int>(sPath.size()), sPath.data(),
               static_cast<int>(sWhy.size()), sWhy.data());
}

int FinishTags(const char* sCommand, const std::string& sOutput, int64_t nResult, const std::string& sError,
               const std::string& sText, bool bFailed) {
  if (nResult < 0) {
    std::fprintf(stderr, "quorvane %s: %s not written: %s\n", sCommand, sOutput.c_str(), sError.c_str());
    return kExitFailed;
  }
  // A failed write to stdout is said, and fails the run, when main ends
  // the output.
  if (sOutput == "-") WriteOut(sText);
  return bFailed ? kExitFailed : kExitDone;
}

}  // namespace quorvane::cli
