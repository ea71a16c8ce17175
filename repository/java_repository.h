// SPDX-License-Identifier: Apache-2.0
// VC_JavaRepository: the repository of Java classes on disk and in memory.
//
// On disk the repository is three kinds of text file: the class list file
// ("jbclass.txt", one line per class), one method file per class (one line
// per method) and one variable file per class (one line per class
// variable); repository/repository_format.h defines their lines.  In memory
// it is the global JavaClass array and the lookup lists below, whose
// position i describes JavaClass[i].  All state is in class variables and
// globals: every instance works on the same repository.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "core/module.h"
#include "core/object.h"
#include "repository/java_records.h"
#include "repository/name_index.h"
#include "repository/replacing_file.h"
#include "source/java_parser.h"

namespace qv {

struct JavaRepositoryVars : ModuleSlot {
  Number cv_nClassCount;          // class lines read by the last ReadClassFile; 0: not loaded
  IndexedNames cv_sClassName;     // the class name of JavaClass[i]
  IndexedNames cv_sSuperClass;    // its superclass name
  DynArray<String> cv_sClassKey;  // class name, ",", superclass, ",", i

  // Why the last repository or source write failed; empty after a write
  // that succeeded.  The writers' results only say that a write failed.
  String sWriteError;
  // What the last scan could not read (a root that is no directory, a
  // directory that cannot be listed, a source that cannot be read); empty
  // when it read everything.  Its records are then not the whole tree, and
  // a save refuses to put them in place of the repository.
  String sScanGap;
  // Where the writers put the method files (QvSetMethodFileDirectory): empty
  // beside the sources, else below this directory (format::MethodFileIn).
  String sMethodFileDirectory;
  // The repository's lock, while this Module's writer holds it or last
  // tried to (RepositorySession::Lock).
  std::unique_ptr<FileLock> pLock;
};

inline JavaRepositoryVars& RepositoryVars(Module& m) { return m.Slot<JavaRepositoryVars>(); }

// The result of a writer whose file could not be written completely.  The
// previous file is then unchanged.
inline constexpr int64_t kWriteFailed = -1;

class VC_JavaRepository : public Object {
 public:
  std::string_view ClassName() const override { return "VC_JavaRepository"; }

  // Empties the lookup lists and marks the repository as not loaded; the
  // JavaClass array is left alone.  Result: null.
  Number InitRepository(Module& m);
  // Reads "jbclass.txt" with sElementDelimiter unless the repository is
  // loaded already.  Result: null.
  Number LoadRepository(Module& m);
  // Reads a class list file into JavaClass and the lookup lists from
  // position 0, sending message 16499 to the MDI frame after each class.
  // Returns the number of lines read (0 when the file cannot be opened).
  Number ReadClassFile(Module& m, std::string_view sFile, std::string_view sDelimiter);
  // Reads a method file into JavaClass[nClass].aMethods from position 1.
  // Returns the lines read plus 1.
  Number ReadMethodFile(Module& m, std::string_view sFile, Number nClass, std::string_view sDelimiter);
  // Reads a variable file into JavaClass[nClass].aVariables from position 0.
  // Returns the lines read.
  Number ReadVariableFile(Module& m, std::string_view sFile, Number nClass, std::string_view sDelimiter);
  // The positions of all classes whose superclass is sClassName, ascending,
  // stored into nIndexes from position 0 (left alone when there are none).
  // Returns how many were stored.
  Number FindSubClasses(Module& m, std::string_view sClassName, DynArray<Number>& nIndexes);
  // The first position of sClassName in the class-name list, or -1.
  Number FindClass(Module& m, std::string_view sClassName);

  // Writes "jbclass.txt" with sElementDelimiter.  Result: null.
  Number SaveRepository(Module& m);
  // Writes every record that has a class name and is not marked bSkipSave as
  // one line of the class list file, after keeping the previous file as a
  // history copy.  Returns the number of elements of JavaClass, or
  // kWriteFailed when the file could not be written (sWriteError says why):
  // then the previous file and the records are unchanged.
  Number WriteClassFile(Module& m, std::string_view sFile, std::string_view sDelimiter);
  // Writes the methods of JavaClass[nClass] from position 1 up to the last
  // one with a name (nameless ones before it included); an empty sFile writes the class's method file, the
  // path the class list file stores for it.  Returns 1 plus the lines
  // written, or kWriteFailed.
  Number WriteMethodFile(Module& m, std::string_view sFile, Number nClass, std::string_view sDelimiter);
  // WriteMethodFile(m, "", nClass, sDelimiter) for every position of
  // aClasses, with one durability step for all: every new file is written
  // and closed, the present files are kept as history, then all new files
  // are made durable together and put in place (FileSystem::ReplaceAll).
  // No file is replaced before its new content is on disk, and a file that
  // fails leaves its old one as it was.  A method file that already holds
  // exactly the new content is left as it is, without a history copy: it
  // counts as written.  aResults[k] is WriteMethodFile's result for
  // aClasses[k]; aErrors[k] says why it failed (sWriteError holds the last
  // failure).  Result: the number of files written; nUnchanged, when given,
  // gets how many of them were left as they were.
  int64_t WriteMethodFiles(Module& m, const std::vector<int64_t>& aClasses, std::string_view sDelimiter,
                           std::vector<Number>& aResults, std::vector<String>& aErrors, int64_t* pUnchanged = nullptr);
  // Writes the class variables of JavaClass[nClass] from position 0 up to
  // the last one whose first field is set.  Returns the lines written,
  // or kWriteFailed.
  Number WriteVariableFile(Module& m, std::string_view sFile, Number nClass, std::string_view sDelimiter);
  // Keeps sFile as history copy 1 in the archive directory, moving the
  // older copies up by one, when history copies are switched on.
  // Result: null.
  Number SaveHistoryFile(Module& m, std::string_view sFile);
};

// The history copy of SaveHistoryFile (VC_JavaRepository's, and
// VC_JavaClass's for a source), with the error of a copy that could not be
// made: a rotation that fails stops there and makes no new copy.  A
// repository file named with a directory keeps its copies in folders below
// the archive directory that repeat that directory (a method file
// C:\src\A.med in ARCHIVE\C\src\A.001), so that two files of one name
// never share copies; without an archive directory, beside itself.
IoError KeepRepositoryHistory(Module& m, std::string_view sFile);
IoError KeepSourceHistory(Module& m, std::string_view sFile);

// The method file of the class whose source is sFileName in sDirectory, as
// the writers name it and the class list file records it: beside the source
// or in the module's method file directory (format::MethodFileIn).  Worker
// threads, which must not touch the Module, call format::MethodFileIn with
// sMethodFileDirectory read beforehand.
String MethodFileOf(Module& m, std::string_view sDirectory, std::string_view sFileName);
// Makes the directory of file, a method file about to be created, when the
// module keeps method files in a method file directory: its folders are the
// library's own.  Beside the sources nothing is made (that directory is the
// user's, and holds the source).  FALSE with file.Error() saying why.
// pMade: the directories the run made before, not made again.
bool MakeMethodFileDirectory(Module& m, ReplacingFile& file, MadeDirectories* pMade = nullptr);

// What the save of a scan did.
struct ScanSave {
  // The records that could not be stored (a field holds the delimiter or
  // the line-break token, say), with why: left out, so that they do not
  // cost the save of all the others.
  std::vector<std::pair<int64_t, String>> aRefused;
  // Empty when the save was committed; else why not (then no file of the
  // repository was replaced: the save is all or nothing).
  String sClassListError;
  int64_t nSaved = 0;      // classes in the class list file
  int64_t nUnchanged = 0;  // method files that already held their content
  // The method files that could not be written (record, why).
  std::vector<std::pair<int64_t, String>> aMethodFileErrors;
};

// The method files of the records aClasses (positions in JavaClass)
// written under temporary names, to be committed by the caller
// (ReplacingFile::CommitAll): per position, the file (none when the present
// file already holds the content, or the content could not be built), the
// lines written (kWriteFailed when the content could not be built or the
// file not written) and why not.
struct PreparedMethodFiles {
  std::vector<std::unique_ptr<ReplacingFile>> aFiles;
  std::vector<int64_t> aLines;
  std::vector<String> aErrors;  // why the content could not be built
  int64_t nUnchanged = 0;
};
PreparedMethodFiles PrepareMethodFiles(Module& m, const std::vector<int64_t>& aClasses, std::string_view sDelimiter);

// The class list line of r (its method file r.sMethodFile) and the content
// of its method file, its body method named after the class first; FALSE
// with sError saying why when the record cannot be stored.  The methods'
// bodies and comments are let go as they are encoded: r keeps none.
// Touches no Module: worker threads call it, each with a record of its own.
bool BuildClassFiles(const JavaTextTools& tools, std::string_view sDelimiter, std::string_view sToken, VC_JavaClass& r,
                     String& sLine, std::string& sMethodContent, String& sError);

// Saves the records of JavaClass as the repository (the class list file of
// the repository directory, with the module's delimiter and token, and one
// method file per class): each class line is built once, on worker
// threads; a record that cannot be stored is left out (bSkipSave) and
// reported; the parser's body in method 1 is named after its class, so that
// the method file keeps it.  The changed method files and the class list
// file are written under temporary names and committed as one transaction
// (ReplacingFile::CommitAll), the class list last: after a failure at any
// point the repository is the old one, whole.
ScanSave SaveScannedClasses(Module& m);

// ReadClassFile, calling fnProgress (when given) after each class with the
// number read instead of sending the progress message.
int64_t ReadClassList(Module& m, std::string_view sFile, std::string_view sDelimiter,
                      const std::function<void(int64_t nRead)>& fnProgress);

// The global JavaRepository instance the host application uses.
struct JavaRepositoryGlobal : ModuleSlot {
  VC_JavaRepository JavaRepository;
};
inline VC_JavaRepository& JavaRepositoryInstance(Module& m) { return m.Slot<JavaRepositoryGlobal>().JavaRepository; }

}  // namespace qv
