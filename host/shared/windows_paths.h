// SPDX-License-Identifier: Apache-2.0
// The rules of Windows paths and wildcards that the library's file names
// follow, as plain functions without any I/O: shared by the hosts of every
// system.
#pragma once

#include <string_view>

namespace qv {

// Whether sPath starts with a drive ("C:": a letter and a colon).
bool HasDrive(std::string_view sPath);

// A file name without a directory or a drive (no "\", "/" or "C:").
bool IsBareName(std::string_view sPath);

// Whether the bare name sName matches the wildcard pattern sPattern under
// Windows rules: ASCII letters compare case-insensitively, "*" matches any
// run, "?" exactly one character.  A pattern ending in ".*" also matches the
// name without that tail ("*.*" matches every name, "foo.*" matches "foo"),
// and a pattern whose extension is three characters without wildcards
// ("*.JAV") also matches names whose extension is longer and begins with
// them ("Foo.java"), as the name's Windows short name would.
bool MatchesWildcard(std::string_view sName, std::string_view sPattern);

}  // namespace qv
