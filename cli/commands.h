// The subcommands of the quorvane command.  Each returns the exit status.
#pragma once

#include <string_view>
#include <vector>

namespace qv::cli {

int RunDemo(const char* sArgv0, const std::vector<std::string_view>& aArgs);
int RunExports(const char* sArgv0, const std::vector<std::string_view>& aArgs);
int RunParse(const std::vector<std::string_view>& aArgs);
int RunScan(const std::vector<std::string_view>& aArgs);

}  // namespace qv::cli
