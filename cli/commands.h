// SPDX-License-Identifier: Apache-2.0
// The subcommands of the quorvane command.  Each Add...Command registers
// its subcommand with its options and help on the argument parser and
// returns the function that does the work after a successful parse; that
// function returns the exit status.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace CLI {
class App;
}

namespace quorvane::cli {

using Runner = std::function<int()>;

Runner AddScanCommand(CLI::App& app);
Runner AddParseCommand(CLI::App& app);
Runner AddClassesCommand(CLI::App& app);
Runner AddShowCommand(CLI::App& app);
Runner AddTreeCommand(CLI::App& app);
Runner AddWriteCommand(CLI::App& app);
Runner AddTagsCommand(CLI::App& app);
Runner AddConfigCommand(CLI::App& app);
Runner AddSqlCommand(CLI::App& app);
Runner AddDemoCommand(CLI::App& app, const char* sArgv0);
Runner AddExportsCommand(CLI::App& app, const char* sArgv0);
// Hidden from the help: the shell completion scripts, made of app's own
// definition when the runner runs.
Runner AddCompletionCommand(CLI::App& app);

// The exit statuses, as every help text states them.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr const char* kExitStatusHelp =
    "Exit status: 0 when the command did its job; 1 when a file or directory could not be read or written, or a "
    "class could not be saved; 2 for bad usage.";

// -q/--quiet and -v/--verbose, for the commands where they mean something.
struct Verbosity {
  bool bQuiet = false;
  bool bVerbose = false;
};
void AddVerbosity(CLI::App& sub, Verbosity& v, const std::string& sQuiet, const std::string& sVerbose);

// The text below the options in a command's help: sAbout, then sNotes,
// then the exit statuses, each paragraph wrapped to the width of a
// terminal.
std::string HelpFooter(std::string_view sAbout, std::string_view sNotes = "");

// Says what is wrong with the command line ("quorvane COMMAND: ...", with
// where the help is) and returns kExitUsage.
int UsageError(std::string_view sCommand, const std::string& sWhat);

}  // namespace quorvane::cli
