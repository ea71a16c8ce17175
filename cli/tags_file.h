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

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/module.h"

namespace qv::cli {

// One class as the tags file names it.
struct TagClass {
  std::string sName;
  std::string sSource;       // the source file's path, in this system's form
  std::string sSuperClass;   // as the record holds it ("Object" when none)
  std::string sDeclaration;  // the parser's one-line declaration (DeclarationText)
  std::string_view sStored;  // what a ClassReader makes the class from
};

// Fills the fields of c from c.sStored; returns "" or what went wrong.
// Called on worker threads, each with a class of its own: reading the
// class's files there is what makes the tags file quick.
using ClassReader = std::function<std::string(TagClass& c)>;

// Reads the start of a file, at most nMax bytes with one read, or all of it
// (kWhole) into sText, one system read each (unbuffered stdio): the tags
// file reads the start of thousands of files, and little else.  bWhole: sText is known to
// be the whole file.  FALSE with errno set when the file cannot be read.
inline constexpr size_t kWhole = std::string::npos;
bool ReadStart(const std::string& sPath, size_t nMax, std::string& sText, bool& bWhole);

// What the help of both commands says about the file.
extern const char* const kTagsHelp;

// Writes the tags file of aClasses to sOutput, "-" for stdout.  Paths in the
// file are relative to the directory of sOutput, absolute on stdout.  The
// file is written beside the old one and replaces it only when complete.
// fnRead, when given, fills every class first; what it reports makes the
// status 1.  A source that cannot be read, or no longer
// holds the declaration, is said on stderr ("quorvane COMMAND: ..."); its
// class still gets a line, whose pattern is the declaration up to the name
// (the name alone without a declaration).  Messages come in the order of
// aClasses.  Returns the exit status: 1 when the file could not be written
// or a file could not be read.
int WriteTagsFile(const char* sCommand, Module& m, std::vector<TagClass>& aClasses, const std::string& sOutput,
                  const ClassReader& fnRead = {});

}  // namespace qv::cli
