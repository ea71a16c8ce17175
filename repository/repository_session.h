// SPDX-License-Identifier: Apache-2.0
// RepositorySession: every job of the Java repository that a host
// application asks for, over one Module: the scan of source roots, the
// save, loading, finding a class, the subclass tree, writing classes back
// as Java source and the tags file of the classes for editors.
//
// Results are plain values (strings, integers, vectors of structs), errors
// are values with a message, progress and per-file reports go through
// callbacks; nothing is printed and no process state is touched.  Paths
// are in the library's form ("\" separators); a host shows them in its own.
// The session keeps no state of its own: everything lives in the Module,
// so that a thin C layer can hand out sessions freely.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/module.h"
#include "repository/replacing_file.h"
#include "repository/repository_format.h"
#include "repository/source_batch.h"
#include "repository/subclass_tree.h"
#include "repository/tags_file.h"
#include "source/java_parser.h"

namespace qv {

// One source file of a scan and what the parser made of it; its names are
// in its record, read only by a caller that needs them: copying them for
// every file costs a scan of thousands of files a noticeable share of its
// time.
struct ScannedFile {
  int64_t nIndex = 0;  // its record's position in JavaClass
  SourceState eState = SourceState::kParsed;
  int nErrno = 0;                    // why it could not be read (kUnreadable)
  JavaKind eKind = JavaKind::kNone;  // the parser's kind; kNone: no class
};

// What a scan found.
struct ScanReport {
  std::vector<std::string> aMissingRoots;  // roots that are no directory: not searched
  std::vector<ScannedFile> aFiles;         // in the scan's order
  // The files parsed (or empty) by the kind they declare, indexed by
  // JavaKind; at kNone those where no class was found.
  std::array<int64_t, kJavaKindCount> aKinds{};
  int64_t nUnparsed = 0;    // unreadable or binary
  int64_t nPackages = 0;    // distinct packages of the parsed files
  int64_t nUnreadable = 0;  // sources that could not be read
  int64_t nUnlistable = 0;  // directories that could not be listed
  // Empty when every root was searched, every directory listed and every
  // source read; else what was not, said for people.
  std::string sGap;
};

// Called on the calling thread: for each root that is no directory, before
// the search; once the files are known (their count); then after each
// file, in order.
struct ScanListener {
  std::function<void(const std::string& sRoot)> fnMissingRoot;
  std::function<void(int64_t nFiles)> fnFound;
  std::function<void(const ScannedFile& file)> fnFile;
};

// A record that the save could not store, or a file it could not write.
struct SaveProblem {
  std::string sPath;  // the class's source, or the file not written
  std::string sClassName;
  std::string sWhy;
};

// What a save did.
struct SaveReport {
  std::vector<SaveProblem> aRefused;  // records left out of the class list, with why
  std::string sClassListError;        // empty when the class list file was written
  std::vector<SaveProblem> aMethodFileErrors;
  int64_t nSaved = 0;      // classes in the class list file
  int64_t nUnchanged = 0;  // method files that already held their content
  bool Ok() const { return sClassListError.empty() && aRefused.empty() && aMethodFileErrors.empty(); }
};

// How Stream goes through the sources.
struct StreamOptions {
  // Save the repository of the repository directory as the sources are
  // cut: each changed method file is written as soon as its class is, and
  // only the class list lines are kept; the class list, the save state
  // and the method files are put in place together at the end.
  bool bSave = false;
  // Read every source, even the ones the save state says are unchanged.
  bool bReadAll = false;
  // The listener's files carry their class's names also when their source
  // was not read (from the class list saved last).
  bool bNames = false;
  // Keep each class's tags line for RecordTags (every source is read).
  bool bTags = false;
};

// One file of a stream, for the listener: what it refers to lives until
// the call returns.
struct StreamedFile {
  ScannedFile file;  // nIndex: its position in the scan's order
  // Unchanged since the last save, which the repository keeps: not read.
  bool bKept = false;
  std::string_view sFileName, sDirectory;
  std::string_view sClassName, sSuperClass, sPackage;  // empty without a class
};

struct StreamListener {
  std::function<void(const std::string& sRoot)> fnMissingRoot;
  std::function<void(int64_t nFiles)> fnFound;
  std::function<void(const StreamedFile& file)> fnFile;
};

// What a stream did: its scan report (without the files) and, with bSave,
// its save report.
struct StreamReport {
  ScanReport scan;
  SaveReport save;
  int64_t nFiles = 0;
  int64_t nKept = 0;  // sources not read: unchanged since the last save
};

// A class looked up by name.
struct ClassLookup {
  int64_t nAt = -1;  // its position; -1: no such class
  // A simple name that several classes have: how many (the first was
  // taken); 0 when the name decided.
  int64_t nChosenAmong = 0;
  std::string sPackage;  // its package
};

// The outcome of a step that may fail: bOk, else the file concerned and why.
struct Outcome {
  bool bOk = true;
  std::string sPath;
  std::string sWhy;
};

// A text of a class record (RepositorySession::ClassText).
enum class ClassPart : int {
  kName = 1,
  kSuperClass,
  kPackage,
  kFileName,
  kDirectory,
  kSourcePath,  // directory "\" file name
  kMethodFile,
  kExtra,
  kStamp,  // the time stamp as text; "" when none
  kHeader,
  kDescription,
  kFooter,
  kDeclaration  // the one-line declaration its body starts with
};
// A text of a method (RepositorySession::MethodText).
enum class MethodPart : int { kName = 1, kComment, kBody };

// What RepositorySession::Lock did: bOk when the lock is held; bBusy when
// another writer holds it; sWhy says why not.
struct LockOutcome {
  bool bOk = false;
  bool bBusy = false;
  std::string sWhy;
};

struct MethodRecord {
  std::string sName, sComment, sBody;
};

// One class as the repository holds it (methods only once read).
struct ClassRecord {
  std::string sClassName, sSuperClass, sPackage, sFileName, sDirectory, sMethodFile, sExtra;
  std::string sStamp;  // "" when none
  std::string sHeader, sDescription, sFooter;
  std::vector<std::string> aImports;
  std::vector<MethodRecord> aMethods;  // method 1 first
  JavaKind eKind = JavaKind::kNone;    // from the declaration the body starts with
};

// Where WriteClass puts a class's source.
struct WritePlace {
  // Empty: over the class's own source file (a history copy kept first,
  // as the history settings say); else the directory it goes into.
  std::string sDirectory;
  // With a directory: in the subdirectories of the class's package
  // (org.example.Circle as DIR\org\example\Circle.java).
  bool bMirrorPackage = false;
  std::string sLineEnd;  // "" for the one found (VC_JavaClass::FoundLineEnd)
};

// What WriteClasses did with one class.
struct ClassWrite {
  int64_t nAt = 0;
  // sPath: the file written, or the one that was not; for a class whose
  // names would leave the directory (VC_JavaClass::UnsafeNames), its source.
  Outcome outcome;
  // Not written because an earlier class of the same call had the target
  // outcome.sPath: that class's position; else -1.
  int64_t nSameTargetAs = -1;
};

// A line of the class list file as a tags file needs it.
struct ClassListEntry {
  std::string sClassName, sSuperClass;
  std::string sSourcePath;  // directory "\" file name
  std::string sMethodFile;
};

// The tags lines a stream kept (StreamOptions::bTags), for RecordTags.
struct StreamedTags : ModuleSlot {
  bool bActive = false;
  std::vector<TagClass> aClasses;
};

// The last file of a save's commit: the class list, or the save state
// when the class list stayed as it was (a save's journal lies beside it).
inline constexpr std::array<std::string_view, 2> kSaveCommitPoints = {format::kClassListFile, format::kSaveStateFile};

class RepositorySession {
 public:
  explicit RepositorySession(Module& m) : m_(m) {}

  // Searches the roots for Java sources, and cuts each into a record of
  // JavaClass (reading and parsing on worker threads), each with the kind
  // the parser found.
  ScanReport Scan(const std::vector<std::string>& aRoots, const ScanListener& listener = {});
  // Saves the records of JavaClass as the repository of the current
  // repository directory: the class list file and a method file per class,
  // all or nothing.  Records of a scan that could not read everything
  // (ScanReport::sGap) are not saved: they would drop the classes of what
  // was missed.
  SaveReport Save();
  // Scan, without keeping any record: each file is read and cut on the
  // worker threads, handed to the listener, and gone; with bSave each
  // class goes straight into the repository, and a source whose stamp is
  // that of the last save is not read (repository/save_state.h).  JavaClass
  // is left empty.  A save whose scan did not read everything, or that
  // could not write a file, replaces nothing.
  StreamReport Stream(const std::vector<std::string>& aRoots, const StreamOptions& options,
                      const StreamListener& listener = {});

  // Undoes a save that a killed process left half done (its moves are
  // journaled), or finishes one that had put its class list in place.  For
  // the writer that holds the repository's lock: a save that is running
  // would be undone.
  Outcome RecoverInterruptedSave();
  // Whether a save was interrupted, or is running (its journal is there).
  bool SaveInterrupted();
  // Before a load: a save that a killed writer left half done is repaired
  // first, by this reader when no writer is at work (the lock is free, or
  // this Module's writer holds it), so that no class reads back half old
  // and half new.
  void RecoverBeforeLoad();

  // The repository's lock file, in this system's form: quorvane.lock in
  // the working directory.
  std::string LockFilePath();
  // Takes the repository's lock for this Module's writer, then recovers a
  // save that a killed writer left half done (the writer's first job).
  // Another writer holding the lock: with bWait fnWaiting is told the lock
  // file and the call waits; without, bBusy.  On failure nothing is held.
  LockOutcome Lock(bool bWait, const std::function<void(const std::string& sLockFile)>& fnWaiting = {});
  void Unlock();

  // Whether the repository directory holds a class list file.
  bool HasClassList();
  // The number of lines of the class list file (for a progress bar); 0
  // when none.
  int64_t ClassListLineCount();
  // The name of every class of the class list file, in its order, read
  // without loading it (JavaClass is left as it is); "" or why the file
  // could not be read.
  std::string ClassNames(std::vector<std::string>& aNames);
  // Loads the class list file into JavaClass, calling fnProgress after each
  // class with the number loaded.  FALSE when there is no class list file.
  bool Load(const std::function<void(int64_t nLoaded)>& fnProgress = {});
  int64_t ClassCount();

  // A class by simple name (the first of that name) or qualified with its
  // package.
  ClassLookup Find(std::string_view sName);
  // Reads the method file of class nAt (a class without one has nothing to
  // read).
  Outcome ReadMethods(int64_t nAt);
  ClassRecord Record(int64_t nAt);
  // Single parts of class nAt as they are in memory (its methods as read
  // so far), without copying the rest of it.  HasClass says whether nAt is
  // a class of JavaClass; the others take one.
  bool HasClass(int64_t nAt);
  std::string ClassText(int64_t nAt, ClassPart ePart);
  // The kind its body declares.
  JavaKind Kind(int64_t nAt);
  int64_t ImportCount(int64_t nAt);
  std::string Import(int64_t nAt, int64_t nImport);
  // The number of its methods; they are numbered from 1.
  int64_t MethodCount(int64_t nAt);
  std::string MethodText(int64_t nAt, int64_t nMethod, MethodPart ePart);
  // The kind of class nAt: its body's when its methods are read, else the
  // one the start of its method file declares (nothing is kept).
  Outcome ReadKind(int64_t nAt, JavaKind& eKind);
  // The one-line declaration of class nAt (DeclarationText of its body).
  std::string Declaration(int64_t nAt);
  // The path of class nAt's source.
  std::string SourcePath(int64_t nAt);

  // The subclass tree below sTop, or below every superclass outside the
  // repository with sTop empty (see SubclassTree).
  std::vector<SubclassNode> Tree(std::string_view sTop);

  // Class nAt as Java source text, its methods read; sLineEnd "" for the
  // one its own source uses.
  std::string SourceText(int64_t nAt, std::string_view sLineEnd);
  // Writes class nAt (its methods read first) where place says; sPath of
  // the outcome is the file written, or the one that could not be.  A
  // class whose file name, or package with bMirrorPackage, would put the
  // file outside the directory is not written (sPath its source).
  Outcome WriteClass(int64_t nAt, const WritePlace& place);
  // Writes every class as WriteClass does, in order, calling fnEach for
  // each; the files are put in place a batch of classes at a time, with one
  // durability step for the batch, all of a batch or none of it (so that
  // fnEach, a progress bar, hears of the classes as the run goes).  Two
  // classes of one target (one package and file name from two builds of a
  // library, say) are not written over each other: the later one is not
  // written.  Returns the number of classes written.
  int64_t WriteClasses(const WritePlace& place, const std::function<void(const ClassWrite& written)>& fnEach);

  // The tags file (repository/tags_file.h) of the repository in the
  // repository directory, made of its class list file without loading it:
  // five short fields of each line, the start of each class's method file
  // (its declaration and kind) and of its source (the declaration's line).
  // A method file that cannot be read is a failure told to fnProblem.
  TagsOutcome RepositoryTags(const TagsTarget& target, const TagProblemHandler& fnProblem = {});
  // The tags file of the records in JavaClass, what a scan made of the
  // sources; a record without a class has no line.
  TagsOutcome RecordTags(const TagsTarget& target, const TagProblemHandler& fnProblem = {});

  // The one-line declaration of a class from the start of its method file
  // (sStart, bWhole when it is the whole file): "" with bNeedMore when the
  // start does not hold the whole first line of the body.
  static std::string DeclarationFromMethodFile(JavaTextTools tools, std::string_view sDelimiter,
                                               std::string_view sToken, std::string_view sStart, bool bWhole,
                                               bool& bNeedMore);
  // The lines of a class list file's text, one per class.
  static std::vector<std::string_view> ClassListLines(std::string_view sText);
  // The entry of one line of the class list file (ClassListLines); reads
  // nothing of the Module, so threads may call it at once.
  static ClassListEntry ClassListEntryOf(std::string_view sLine, std::string_view sDelimiter);

 private:
  // The roots that are directories; each other goes to fnMissingRoot and
  // report.aMissingRoots.
  std::vector<String> CheckRoots(const std::vector<std::string>& aRoots,
                                 const std::function<void(const std::string&)>& fnMissingRoot, ScanReport& report);
  // The Java sources below the roots, in the scan's order, through the
  // Directories lists (CheckRoots first); the directories that could not be
  // listed are counted.
  std::vector<JavaSourceName> FindSources(const std::vector<std::string>& aRoots,
                                          const std::function<void(const std::string&)>& fnMissingRoot,
                                          ScanReport& report);
  // report.sGap from its counts.
  static void NameGap(ScanReport& report);
  // Adds file to the counts of report.
  static void CountFile(const ScannedFile& file, ScanReport& report);
  // Where class nAt goes as place says, or why it cannot go anywhere; no
  // file or directory is touched.
  Outcome TargetOf(int64_t nAt, const WritePlace& place);
  // Writes class nAt, its methods read first, to a new file beside the
  // target sPath (pFile, to be committed), making its directory when place
  // names one, unless pMade (the directories made before in the same
  // call) has it.
  Outcome PrepareWrite(int64_t nAt, const std::string& sPath, const WritePlace& place,
                       std::unique_ptr<ReplacingFile>& pFile, MadeDirectories* pMade = nullptr);

  Module& m_;
};

}  // namespace qv
