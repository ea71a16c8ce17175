// The subcommands of the quorvane command.  Each returns the exit status.
#pragma once

#include <string_view>
#include <vector>

#include "frame/module.h"

namespace qv::cli {

int RunDemo(const char* sArgv0, const std::vector<std::string_view>& aArgs);
int RunExports(const char* sArgv0, const std::vector<std::string_view>& aArgs);
int RunParse(const std::vector<std::string_view>& aArgs);
int RunScan(const std::vector<std::string_view>& aArgs);
int RunClasses(const std::vector<std::string_view>& aArgs);
int RunShow(const std::vector<std::string_view>& aArgs);
int RunTree(const std::vector<std::string_view>& aArgs);
int RunWrite(const std::vector<std::string_view>& aArgs);
int RunConfig(const std::vector<std::string_view>& aArgs);
int RunSql(const std::vector<std::string_view>& aArgs);

// Writes the class list file of the current directory from JavaClass, and
// a method file for each class written; returns the exit status.
int SaveScannedRepository(Module& m);

}  // namespace qv::cli
