// The tags file that editors read (Vim, readtags and most others): the
// extended format of ctags, one line per class.
// `quorvane tags` writes it from the repository, `quorvane scan --tags`
// from the records of the scan; this is the one place that knows the
// format.
//
//   !_TAG_FILE_FORMAT 2 ... header lines, then one line per class:
//   NAME <TAB> FILE <TAB> /^SOURCE LINE$/;" <TAB> KIND <TAB> line:N [<TAB> inherits:SUPERCLASS]
//
// KIND is the letter universal-ctags gives Java declarations: c class (and
// record), i interface, g enum, a annotation type.  The address is the
// source line that holds the class's name in its declaration, found by
// looking for the parser's one-line declaration in the source; lines are
// sorted in byte order, as "!_TAG_FILE_SORTED 1" promises and the binary
// search of readers needs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frame/module.h"

namespace qv::cli {

// One class as the tags file names it.
struct TagClass {
  std::string sName;
  std::string sSource;       // the source file's path, in this system's form
  std::string sSuperClass;   // as the record holds it ("Object" when none)
  std::string sDeclaration;  // the parser's one-line declaration (DeclarationText)
};

// What the help of both commands says about the file.
extern const char* const kTagsHelp;

// Writes the tags file of aClasses to sOutput, "-" for stdout.  Paths in the
// file are relative to the directory of sOutput, absolute on stdout.  The
// file is written beside the old one and replaces it only when complete.
// A source that cannot be read, or no longer holds the declaration, is
// said on stderr ("quorvane COMMAND: ..."); its class still gets a line,
// whose pattern is the declaration up to the name (the name alone when
// sDeclaration is empty: the caller says why).  Returns the exit status: 1
// when the file could not be written or a source could not be read.
int WriteTagsFile(const char* sCommand, Module& m, const std::vector<TagClass>& aClasses, const std::string& sOutput);

}  // namespace qv::cli
