// SPDX-License-Identifier: Apache-2.0
// The save state: what the last save of a repository knew of each source,
// so that the next save reads only the sources that changed.  It is a file
// of its own beside the class list (format::kSaveStateFile), written in
// the same transaction, before the class list:
//
//   quorvane save state 1
//   settings <TAB> TEXT                 what the lines depend on besides the sources
//   list <TAB> STAMP                    the class list file this state goes with
//   source <TAB> STAMP <TAB> STATE <TAB> KIND <TAB> LINE <TAB> HASH <TAB> STAMP <TAB> PACKAGE <TAB> PATH
//   ...
//   end <TAB> COUNT <TAB> CHECKSUM
//
// STAMP is size, modification time (ns), inode and device, separated by
// blanks (FileStamp); the first is the source's, the second its method
// file's.  STATE and KIND are the numbers of SourceState and JavaKind,
// LINE the class's line in the class list (-1: no class), HASH that
// line's LineHash in hex, so that a source read again whose line came out
// the same leaves the class list as it is.  TEXT, PACKAGE
// and PATH have "%", TAB, CR and LF written as %25, %09, %0D and %0A.
// CHECKSUM is the 64-bit FNV-1a of every byte before the end line, in hex.
//
// The state is a hint, never a source of truth: a file that is missing,
// damaged, of another version or settings, or that goes with another class
// list file than the one present, gives a full re-read; a source whose
// stamp differs, or whose time is not older than the state file itself
// (git's rule: it may have changed within the same tick as the save), is
// read again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"
#include "repository/source_batch.h"
#include "source/java_parser.h"

namespace qv {

// One source as a save left it.
struct SourceStamp {
  std::string sPath;  // directory "\" file name, in the library's form
  FileStamp source;
  SourceState eState = SourceState::kParsed;
  JavaKind eKind = JavaKind::kNone;
  int64_t nLine = -1;      // its class's line in the class list; -1: no class
  uint64_t nLineHash = 0;  // LineHash of that line
  FileStamp method;        // its method file's stamp (with a class)
  std::string sPackage;
  bool operator==(const SourceStamp&) const = default;
};

struct SaveState {
  std::string sSettings;
  FileStamp classList;
  std::vector<SourceStamp> aSources;  // in the scan's order
  bool operator==(const SaveState&) const = default;
};

// The 64-bit FNV-1a hash of s.
uint64_t LineHash(std::string_view s);

std::string FormatSaveState(const SaveState& state);
// FALSE when sText is no complete, undamaged save state of this version.
bool ParseSaveState(std::string_view sText, SaveState& state);

}  // namespace qv
