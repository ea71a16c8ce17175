/* SPDX-License-Identifier: Apache-2.0 */
/* The Java repository, as a host application drives it: scanning source
 * roots into the library's JavaClass records, saving them as the repository
 * of the repository directory (QvSetRepositoryDirectory), loading it, finding
 * a class, reading its fields, the subclass tree and writing a class back as
 * Java source.  The repository files use the separators of the globals
 * "sElementDelimiter" and "sCRLFToken" and the history settings of
 * "nSaveArchive", "nQtyOfArchiveFiles" and "sArchiveFileDirectory"
 * (QvSetGlobalString, QvSetGlobalNumber).
 *
 * A class is named by its position in JavaClass (0 first).  Paths are in
 * the library's form, with "\" separators, as the repository files hold
 * them; QvNativePath gives a path in this system's form.  Nothing here
 * prints: progress, per-file results and problems reach the caller through
 * callbacks, called on the calling thread, whose texts are borrowed for the
 * duration of the call.  quorvane.h includes this header. */
#ifndef QUORVANE_QUORVANE_REPOSITORY_H
#define QUORVANE_QUORVANE_REPOSITORY_H

#ifdef __cplusplus
extern "C" {
#endif

/* What a declaration declares. */
typedef enum QvJavaKind {
  QV_JAVA_NONE = 0, /* no class: package-info.java, an empty file, ... */
  QV_JAVA_CLASS = 1,
  QV_JAVA_INTERFACE = 2,
  QV_JAVA_ENUM = 3,
  QV_JAVA_RECORD = 4,
  QV_JAVA_ANNOTATION = 5
} QvJavaKind;
/* The number of QvJavaKind values, QV_JAVA_NONE included. */
#define QV_JAVA_KIND_COUNT 6

/* The kind of the declaration a class body starts with. */
QV_API QvJavaKind QvDeclarationKind(const QvString* pBody);
/* "class", "interface", "enum", "record", "annotation"; "" for QV_JAVA_NONE.
 * A static text: never free it. */
QV_API const char* QvJavaKindName(QvJavaKind eKind);
/* How a scan's summary names a count of the kind: "classes", "interfaces",
 * "enums", "records", "annotation types"; "" for QV_JAVA_NONE.  A static
 * text: never free it. */
QV_API const char* QvJavaKindCounted(QvJavaKind eKind);
/* A path of the library's ("C:\src\A.java", "src\A.java") in this system's
 * form.  The caller frees the String. */
QV_API QvString* QvNativePath(const char* sPath);

/* What became of a source file in a scan. */
typedef enum QvSourceState {
  QV_SOURCE_PARSED = 0,     /* read and parsed (its kind may still be NONE) */
  QV_SOURCE_UNREADABLE = 1, /* could not be read; errorCode is the errno value */
  QV_SOURCE_EMPTY = 2,      /* no bytes */
  QV_SOURCE_BINARY = 3      /* a NUL byte near its start: not parsed */
} QvSourceState;

typedef struct QvScannedFile {
  int64_t index; /* the position of its record in JavaClass */
  QvSourceState state;
  QvJavaKind kind;
  int32_t errorCode;
  int32_t reserved;
} QvScannedFile;

/* The calls of a scan, each optional (NULL): a root that is no directory
 * (not searched), the number of source files once they are known, then each
 * file in order, after the library's message boxes about it. */
typedef struct QvScanListener {
  void* pUserData;
  void (*missingRoot)(void* pUserData, const char* sRoot);
  void (*found)(void* pUserData, int64_t nFiles);
  void (*file)(void* pUserData, const QvScannedFile* pFile);
} QvScanListener;

typedef struct QvScanSummary {
  int64_t files;
  /* The files parsed (or empty) by the kind they declare, indexed by
   * QvJavaKind; kinds[QV_JAVA_NONE]: those where no class was found. */
  int64_t kinds[QV_JAVA_KIND_COUNT];
  int64_t unparsed; /* unreadable or binary */
  int64_t packages; /* distinct packages of the parsed files */
  int64_t missingRoots;
} QvScanSummary;

/* Searches the roots (nRoots directories) for Java sources and cuts each
 * into a record of JavaClass, which then holds exactly these files.  Reads
 * and parses on worker threads; the records and the calls come in the
 * order of the search.  pListener and pSummary may be NULL.  FALSE when the
 * scan did not read everything: a root that is no directory, a directory
 * that could not be listed, a source that could not be read.  The records
 * of such a scan are not saved (QvSaveRepository refuses them), since they
 * lack the classes of what was missed. */
QV_API QvBoolean QvScan(const char* const* asRoots, size_t nRoots, const QvScanListener* pListener,
                        QvScanSummary* pSummary);

/* Whether the library's file system reports directories it cannot list
 * (no permission, say): fn is called with the directory (this system's
 * form) and the errno value; NULL stops the reports. */
QV_API void QvSetListingErrorHandler(void (*fn)(void* pUserData, const char* sDirectory, int32_t nErrno),
                                     void* pUserData);

/* What a save could not do. */
typedef enum QvSaveProblemKind {
  QV_SAVE_REFUSED = 1,    /* a record left out of the class list (sPath its source) */
  QV_SAVE_CLASS_LIST = 2, /* the class list file not written (sPath the file) */
  QV_SAVE_METHOD_FILE = 3 /* a method file not written (sPath the file) */
} QvSaveProblemKind;
typedef void (*QvSaveProblemFn)(void* pUserData, QvSaveProblemKind eKind, const char* sPath, const char* sClassName,
                                const char* sWhy);
typedef struct QvSaveSummary {
  int64_t saved;     /* classes in the class list file */
  int64_t unchanged; /* method files that already held their content */
} QvSaveSummary;
/* The name of the class list file ("jbclass.txt"); a static text. */
QV_API const char* QvClassListFileName(void);
/* The name of the save state file beside it ("jbclass.state"), which
 * QvStreamSources keeps; a static text. */
QV_API const char* QvSaveStateFileName(void);
/* Where the saves (QvSaveRepository, QvStreamSources, and the class
 * functions WriteClassFile and WriteMethodFile without a file name) put
 * each class's method file, from now on.  NULL or "" (the default): beside
 * the class's source, as NAME.med in its directory.  Else below the
 * directory sDirectory (library form; a relative one is resolved as the
 * repository's files are), made as needed, in folders that mirror the
 * source's directory, so that classes of one name in different directories
 * never share a method file:
 *   C:\a\b\A.java        sDirectory\C\a\b\A.med
 *   \\srv\share\A.java   sDirectory\UNC\srv\share\A.med
 *   \tmp\jdk\A.java      sDirectory\tmp\jdk\A.med
 *   src\A.java           sDirectory\%2E\src\A.med  (relative)
 * A folder name that could climb out or be misread is written with %XX
 * escapes: ".." as %2E%2E, a colon as %3A, "%" as %25, the characters a
 * Windows name cannot hold and trailing dots and blanks likewise, and a
 * first folder from the root that looks like a drive or UNC (\C\x) with
 * its first letter escaped (%43\x).  "." and empty folders are dropped.
 * The class list file records each method file's path and readers go by
 * that record, so repositories saved with either layout read the same.
 * The text is copied. */
QV_API void QvSetMethodFileDirectory(const char* sDirectory);
/* Saves JavaClass as the repository of the repository directory: the class
 * list file and a method file per class, as one transaction: the method
 * files are written first under temporary names, made durable together,
 * and put in place with the class list file last; after a failure at any
 * point every class of the class list reads back whole from the old save
 * or the new one.  Each problem goes to fnProblem (may be NULL): refused
 * records first, then QV_SAVE_CLASS_LIST when nothing could be saved (the
 * repository is then as it was; sWhy names the file that failed and says
 * why).  TRUE when everything was stored. */
QV_API QvBoolean QvSaveRepository(QvSaveProblemFn fnProblem, void* pUserData, QvSaveSummary* pSummary);

/* How QvStreamSources goes through the sources. */
typedef struct QvStreamOptions {
  /* Save the repository of the repository directory as the sources are
   * cut (as QvSaveRepository would save what QvScan found): each changed
   * method file is written as soon as its class is cut, and the class list
   * file, the save state file (QvSaveStateFileName) and the method files
   * are put in place together at the end, all or nothing.  A source whose
   * size, time, inode and device are those the state file recorded at the
   * last save, and that is older than that save, is not read: its class
   * list line and method file stay as they are. */
  QvBoolean save;
  /* Read every source, whatever the save state says. */
  QvBoolean readAll;
  /* Give className and superClass also for the sources not read (from the
   * class list file). */
  QvBoolean names;
  /* Keep each class's tags line for QvWriteRecordTags (every source is
   * read). */
  QvBoolean tags;
} QvStreamOptions;

/* One file of a stream; the texts live until the call returns. */
typedef struct QvStreamedFile {
  int64_t index; /* its position in the scan's order */
  QvSourceState state;
  QvJavaKind kind;
  int32_t errorCode;
  QvBoolean kept; /* unchanged since the last save: not read */
  const char* fileName;
  const char* directory;
  const char* className;  /* "" without a class */
  const char* superClass; /* "" without a class */
  const char* package;
} QvStreamedFile;

typedef struct QvStreamListener {
  void* pUserData;
  void (*missingRoot)(void* pUserData, const char* sRoot);
  void (*found)(void* pUserData, int64_t nFiles);
  void (*file)(void* pUserData, const QvStreamedFile* pFile);
} QvStreamListener;

/* QvScan that keeps no record: each file is read and cut on worker
 * threads, handed to pListener in the scan's order, and gone, so that the
 * memory taken does not grow with the tree; JavaClass is left empty.  With
 * pOptions->save the classes also go into the repository (see
 * QvStreamOptions); its problems go to fnProblem as QvSaveRepository's do,
 * the summary to pSave and the number of sources not read to *pKept.  A
 * save whose scan did not read everything, or that could not write a
 * file, replaces nothing.  Every pointer may be NULL.  TRUE when the scan
 * read everything and, with save, everything was stored. */
QV_API QvBoolean QvStreamSources(const char* const* asRoots, size_t nRoots, const QvStreamOptions* pOptions,
                                 const QvStreamListener* pListener, QvScanSummary* pScan, QvSaveProblemFn fnProblem,
                                 void* pProblemData, QvSaveSummary* pSave, int64_t* pKept);

/* Whether the repository directory holds a class list file. */
QV_API QvBoolean QvHasClassList(void);
/* The number of lines of the class list file (for a progress bar). */
QV_API int64_t QvClassListLineCount(void);
/* The name of every class of the class list file, read without loading
 * it (JavaClass is left as it is, and no method file is read): fnName is
 * called for each in the file's order, with the name borrowed for the call.
 * FALSE when the file cannot be read; *ppError (may be NULL) then receives
 * why, which the caller frees. */
QV_API QvBoolean QvClassListNames(void (*fnName)(void* pUserData, const char* sName), void* pUserData,
                                  QvString** ppError);
/* Loads the repository into JavaClass, calling fnProgress (may be NULL)
 * after each class with the number loaded.  FALSE without a class list. */
QV_API QvBoolean QvLoadRepository(void (*fnProgress)(void* pUserData, int64_t nLoaded), void* pUserData);
/* The number of records in JavaClass. */
QV_API int64_t QvClassCount(void);

/* The position of a class by simple name (the first of that name) or
 * qualified with its package; -1 when there is none.  pChosenAmong (may be
 * NULL) receives how many classes have the simple name when that was more
 * than one, else 0. */
QV_API int64_t QvFindClass(const char* sName, int64_t* pChosenAmong);

/* The text fields of a record. */
typedef enum QvClassField {
  QV_CLASS_NAME = 1,
  QV_CLASS_SUPERCLASS = 2,
  QV_CLASS_PACKAGE = 3,
  QV_CLASS_FILE_NAME = 4,
  QV_CLASS_DIRECTORY = 5,
  QV_CLASS_SOURCE_PATH = 6, /* directory "\" file name */
  QV_CLASS_METHOD_FILE = 7,
  QV_CLASS_EXTRA = 8,
  QV_CLASS_STAMP = 9, /* the time stamp as text; "" when none */
  QV_CLASS_HEADER = 10,
  QV_CLASS_DESCRIPTION = 11,
  QV_CLASS_FOOTER = 12,
  QV_CLASS_DECLARATION = 13 /* the one-line declaration its body starts with */
} QvClassField;
/* A field of record nAt; NULL for a position outside JavaClass or an
 * unknown field.  The caller frees the String. */
QV_API QvString* QvClassText(int64_t nAt, QvClassField eField);
/* The kind its body declares. */
QV_API QvJavaKind QvClassKind(int64_t nAt);
/* The kind of class nAt as the start of its method file declares it (its
 * body's when its methods have been read), for a loaded class without
 * reading or keeping its methods.  QV_JAVA_NONE when the file cannot be
 * read: *ppPath and *ppError (either may be NULL) then receive the file
 * and why, which the caller frees. */
QV_API QvJavaKind QvReadClassKind(int64_t nAt, QvString** ppPath, QvString** ppError);
QV_API int64_t QvClassImportCount(int64_t nAt);
QV_API QvString* QvClassImport(int64_t nAt, int64_t nImport);
/* Methods are numbered from 1: method 1 is the class body itself.  Read a
 * loaded class's methods first (QvReadMethods). */
typedef enum QvMethodField { QV_METHOD_NAME = 1, QV_METHOD_COMMENT = 2, QV_METHOD_BODY = 3 } QvMethodField;
QV_API int64_t QvClassMethodCount(int64_t nAt);
QV_API QvString* QvClassMethodText(int64_t nAt, int64_t nMethod, QvMethodField eField);

/* Reads the method file of class nAt (a class without one has nothing to
 * read).  On failure FALSE, *ppPath (may be NULL) the file and *ppError why;
 * the caller frees both. */
QV_API QvBoolean QvReadMethods(int64_t nAt, QvString** ppPath, QvString** ppError);

/* A node of the subclass tree; its texts are borrowed for the call. */
typedef struct QvTreeNode {
  const char* className;
  const char* package; /* "" for a top that is no class of the repository */
  const char* parent;  /* the class above; "" for a top */
  int32_t depth;       /* 0 for a top */
  QvBoolean inRepository;
  QvBoolean cycle; /* already on the path above, or its superclasses form a cycle */
  int64_t index;   /* its position in JavaClass; -1 for a top that is only a name (sTop, or no class) */
} QvTreeNode;
/* The subclass tree below the class sTop, or below every superclass name
 * that is no class of the repository (Object, say) when sTop is NULL or "":
 * fnNode is called for each node, depth first. */
QV_API void QvSubclassTree(const char* sTop, void (*fnNode)(void* pUserData, const QvTreeNode* pNode), void* pUserData);

/* Class nAt as Java source text, its methods read first; sLineEnd NULL or
 * "" for the line end its own source uses.  NULL for a position outside
 * JavaClass.  The caller frees the String. */
QV_API QvString* QvClassSource(int64_t nAt, const char* sLineEnd);
/* Writes class nAt as Java source: over its own source file (a history
 * copy kept first, as the history settings say) when sDirectory is NULL or
 * "", else into sDirectory, in the subdirectories of its package with
 * bMirrorPackage (directories are made as needed).  sLineEnd as for
 * QvClassSource.  *ppPath (may be NULL) receives the file written or the
 * one that could not be; on failure *ppError (may be NULL) why.  The
 * caller frees both.  A class whose file name is no bare file name (a
 * "..", a separator, a drive), or whose package (with bMirrorPackage) has
 * an empty segment or one that holds a separator or a drive, is not
 * written: the names come from the class list, and the file must stay
 * inside the directory; *ppPath is then its source. */
QV_API QvBoolean QvWriteClass(int64_t nAt, const char* sDirectory, QvBoolean bMirrorPackage, const char* sLineEnd,
                              QvString** ppPath, QvString** ppError);
/* What QvWriteClasses did with one class; its texts are borrowed for the
 * call. */
typedef struct QvClassWritten {
  int64_t index; /* the class's position in JavaClass */
  /* Not written because an earlier class of the same call had the target
   * path: that class's position; else -1. */
  int64_t sameTargetAs;
  const char* path;  /* the file written, or the one that was not (for a class refused for its names, its source) */
  const char* error; /* why it was not written; "" when it was */
  QvBoolean written;
  int32_t reserved;
} QvClassWritten;
/* Writes every class of JavaClass as QvWriteClass does, in order, and calls
 * fnClass (may be NULL) after each.  Two classes of one target (the same
 * package and file name from two builds of a library, say) are not written
 * over each other: the later one is not written.  A file name, or a package
 * with bMirrorPackage, that would put the file outside the directory (a
 * "..", a separator, a drive) is refused, as QvWriteClass refuses it.
 * Returns the number of classes written. */
QV_API int64_t QvWriteClasses(const char* sDirectory, QvBoolean bMirrorPackage, const char* sLineEnd,
                              void (*fnClass)(void* pUserData, const QvClassWritten* pClass), void* pUserData);

/* The repository directory's lock: a writer holds it so that two writers
 * never interleave their files (readers need none: every file is replaced
 * whole).  With bWait the call waits for another holder, after calling
 * fnWaiting (may be NULL) once; without, it fails at once with *pBusy
 * (may be NULL) set.  The lock is held until QvUnlockRepository or the
 * process ends.  On failure *ppError (may be NULL) says why. */
QV_API QvBoolean QvLockRepository(QvBoolean bWait, void (*fnWaiting)(void* pUserData, const char* sLockFile),
                                  void* pUserData, QvBoolean* pBusy, QvString** ppError);
QV_API void QvUnlockRepository(void);
/* The path of the lock file in this system's form.  The caller frees it. */
QV_API QvString* QvRepositoryLockFile(void);

#ifdef __cplusplus
}
#endif

#endif /* QUORVANE_QUORVANE_REPOSITORY_H */
