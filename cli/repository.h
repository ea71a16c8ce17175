// SPDX-License-Identifier: Apache-2.0
// The repository of a directory as the repository commands use it, through
// the library's C interface: opening and loading it, finding a class by
// name, and saving what a scan found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/repository_options.h"
#include "cli/session.h"

namespace quorvane::cli {

// Takes the settings no option gave from the profile, makes the repository
// directory the library's and loads it.  A command that writes (bLock)
// first makes sure the separators are safe and takes the repository's lock.
// The exit status when the command cannot go on; nullopt when all went well.
std::optional<int> OpenRepository(const char* sCommand, RepositoryOptions& options, Session& session, bool bLock,
                                  bool bNoWait);

// OpenRepository for a command that reads only a few fields of every line
// and no method file through the library: sPath is the class list file,
// which could be opened; nothing is loaded.  The exit status when the
// command cannot go on; nullopt when all went well.
std::optional<int> FindClassListFile(const char* sCommand, RepositoryOptions& options, Session& session,
                                     std::string& sPath);

// Takes the lock of the repository directory for a command that writes: when
// another command holds it, waits (saying so) or, with bNoWait, fails.  FALSE
// after printing why.
bool LockRepository(const char* sCommand, bool bNoWait);

// The position of CLASS: a simple name (the first class of that name) or a
// name qualified with its package.  -1 after printing an error.
int64_t Resolve(const char* sCommand, const std::string& sName);

// Reads the method file of class nAt; FALSE after printing a warning.
bool ReadMethods(const char* sCommand, int64_t nAt);

// A path of the library's (Windows separators) in this system's form, as
// every command prints paths.
std::string NativePath(std::string_view sPath);

}  // namespace quorvane::cli
