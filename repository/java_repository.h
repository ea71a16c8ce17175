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
#include <string_view>
#include <utility>
#include <vector>

#include "core/module.h"
#include "core/object.h"
#include "repository/name_index.h"

namespace qv {

struct JavaRepositoryVars : ModuleSlot {
  Number cv_nClassCount;          // class lines read by the last ReadClassFile; 0: not loaded
  IndexedNames cv_sClassName;     // the class name of JavaClass[i]
  IndexedNames cv_sSuperClass;    // its superclass name
  DynArray<String> cv_sClassKey;  // class name, ",", superclass, ",", i

  // Why the last repository or source write failed; empty after a write
  // that succeeded.  The writers' results only say that a write failed.
  String sWriteError;
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

// What the save of a scan did.
struct ScanSave {
  // The records that could not be stored (a field holds the delimiter or
  // the line-break token, say), with why: left out, so that they do not
  // cost the save of all the others.
  std::vector<std::pair<int64_t, String>> aRefused;
  // Empty when the class list file was written; else why not (then no
  // method file was written either).
  String sClassListError;
  int64_t nSaved = 0;      // classes in the class list file
  int64_t nUnchanged = 0;  // method files that already held their content
  // The method files that could not be written (record, why).
  std::vector<std::pair<int64_t, String>> aMethodFileErrors;
};

// Saves the records of JavaClass as the repository (the class list file of
// the repository directory, with the module's delimiter and token, and one
// method file per class): each class line is built once, on worker
// threads; a record that cannot be stored is left out (bSkipSave) and
// reported; the parser's body in method 1 is named after its class, so that
// the method file keeps it; the method files are written as
// WriteMethodFiles writes them.
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
