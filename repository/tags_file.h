// SPDX-License-Identifier: Apache-2.0
// The tags file that editors read: the extended format of ctags (Vim,
// readtags and most others), one line per class, or the etags format of
// Emacs, a section per source.  RepositorySession makes it of the
// repository's class list file or of the records of a scan; this is the
// one place that knows the formats.
//
//   !_TAG_FILE_FORMAT 2 ... header lines, then one line per class:
//   NAME <TAB> FILE <TAB> /^SOURCE LINE$/;" <TAB> KIND <TAB> line:N [<TAB> inherits:SUPERCLASS]
//
// KIND is the letter universal-ctags gives Java declarations: c class (and
// record), i interface, g enum, a annotation type.  The address is the
// source line that holds the class's name in its declaration, found by
// the outline of the source (the top-level type of that name); lines are
// sorted in byte order, as "!_TAG_FILE_SORTED 1" promises and the binary
// search of readers needs.
//
//   <FF> <LF> PATH,SIZE <LF>, then a line per class of that source:
//   SOURCE LINE UP TO THE END OF THE NAME <DEL> NAME <SOH> LINE,OFFSET
//
// is the etags form that Emacs reads: SIZE counts the bytes of the
// section's tag lines, OFFSET is the byte offset of the line's start;
// sections come in path order, tags in line order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/module.h"

namespace qv {

// One class as the tags file names it.
struct TagClass {
  std::string sName;
  std::string sSource;       // the source file's path, in the library's form
  std::string sSuperClass;   // as the record holds it ("Object" when none)
  std::string sDeclaration;  // the parser's one-line declaration (DeclarationText)
  std::string_view sStored;  // what a ClassReader makes the class from
};

// A file that the tags file could not use as it should.
struct TagProblem {
  std::string sPath;  // the file, in this system's form (FileSystem::PathForm::kMapped)
  std::string sWhy;
  // The file could not be read (the class's line is then a guess); else a
  // notice: the declaration was not where the scan found it, a class that
  // cannot have a line.
  bool bFailure = false;
};
// Told of each problem on the calling thread, in the order of the classes.
using TagProblemHandler = std::function<void(const TagProblem& problem)>;

// What a ClassReader found wrong with the file it read: sPath in the
// library's form; nothing when sWhy is empty.
struct TagReadError {
  std::string sPath;
  std::string sWhy;
};
// Fills the fields of c from c.sStored.  Called on worker threads, each
// with a class of its own: reading the class's files there is what makes
// the tags file quick.  It must touch nothing of the Module but the
// thread-safe reads of its files (FileSystem::ReadFileStart, ReadWholeFile).
using ClassReader = std::function<TagReadError(TagClass& c)>;

enum class TagsFormat { kCtags, kEtags };

// Where a tags file goes.
struct TagsTarget {
  // The file to write, in the library's form (a relative path is below the
  // working directory).  Empty: no file; the text goes to *pText.
  std::string sPath;
  std::string* pText = nullptr;
  TagsFormat eFormat = TagsFormat::kCtags;
};

// What making a tags file came to.
struct TagsOutcome {
  enum class Failure {
    kNone,
    kNotWritten,           // the file could not be written (or no target was given)
    kUnreadableClassList,  // the repository's class list file could not be read
  };
  Failure eFailure = Failure::kNone;
  std::string sError;  // why, without the file's name
  int64_t nTags = 0;   // the classes written (lines of ctags, tags of etags)
};

// Makes the tags file of aClasses.  Paths in the file are relative to the
// directory of target.sPath, absolute in a text; in this system's form.  The
// file is written beside the old one and replaces it only when complete.
// fnRead, when given, fills every class first.  A source that cannot be
// read, or no longer holds the declaration, is a problem told to fnProblem;
// its class still gets a line, whose pattern is the declaration up to the
// name (the name alone without a declaration).
TagsOutcome MakeTagsFile(Module& m, std::vector<TagClass>& aClasses, const TagsTarget& target,
                         const ClassReader& fnRead, const TagProblemHandler& fnProblem);

}  // namespace qv
