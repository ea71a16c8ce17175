// SPDX-License-Identifier: Apache-2.0
// What a command does with the tags file the library made: its problems
// and failures said on stderr, the text on stdout for FILE "-".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "quorvane/quorvane.h"

namespace CLI {
class Option;
class App;
}  // namespace CLI

namespace quorvane::cli {

// --format ctags|etags on sub, into sFormat ("ctags" unless given); the
// option, for a command to add its conditions.
CLI::Option* AddTagsFormat(CLI::App& sub, std::string& sFormat, const std::string& sHelp);
inline QvTagsFormat TagsFormatOf(const std::string& sFormat) {
  return sFormat == "etags" ? QV_TAGS_ETAGS : QV_TAGS_CTAGS;
}

// The path to hand the library for FILE: absolute, since a relative one is
// relative to where the command was started, the library's to the
// repository directory; "" for "-" (the library then returns the text).
std::string TagsPathForLibrary(const std::string& sOutput);

// Says a file the tags file could not use: "quorvane COMMAND: PATH: WHY".
void SayTagProblem(const char* sCommand, std::string_view sPath, std::string_view sWhy);

// The library's reports of the files a tags file could not use, said on
// stderr; bFailed once a file could not be read.  Handed to the library as
// its problem handler (TagProblems::Say) with the object as its user data.
struct TagProblems {
  const char* sCommand = "";
  bool bFailed = false;
  static void Say(void* pUserData, const char* sPath, size_t nPathSize, const char* sWhy, size_t nWhySize,
                  QvBoolean bFailure) {
    auto* pSelf = static_cast<TagProblems*>(pUserData);
    SayTagProblem(pSelf->sCommand, {sPath, nPathSize}, {sWhy, nWhySize});
    if (bFailure != 0) pSelf->bFailed = true;
  }
};

// The exit status of a tags file written to sOutput ("-": sText goes to
// stdout now): nResult is the library's (a count of lines, or a negative
// failure with sError), bFailed whether a file could not be read.
int FinishTags(const char* sCommand, const std::string& sOutput, int64_t nResult, const std::string& sError,
               const std::string& sText, bool bFailed);

}  // namespace quorvane::cli
