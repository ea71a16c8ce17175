// What a command does with the tags file the library made: its problems
// and failures said on stderr, the text on stdout for FILE "-".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::cli {

// The path to hand the library for FILE: absolute, since a relative one is
// relative to where the command was started, the library's to the
// repository directory; "" for "-" (the library then returns the text).
std::string TagsPathForLibrary(const std::string& sOutput);

// Says a file the tags file could not use: "quorvane COMMAND: PATH: WHY".
void SayTagProblem(const char* sCommand, std::string_view sPath, std::string_view sWhy);

// The exit status of a tags file written to sOutput ("-": sText goes to
// stdout now): nResult is the library's (a count of lines, or a negative
// failure with sError), bFailed whether a file could not be read.
int FinishTags(const char* sCommand, const std::string& sOutput, int64_t nResult, const std::string& sError,
               const std::string& sText, bool bFailed);

}  // namespace qv::cli
