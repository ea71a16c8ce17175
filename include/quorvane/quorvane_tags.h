/* SPDX-License-Identifier: Apache-2.0 */
/* The tags file of the repository's classes, for editors: in the extended
 * format of ctags, which Vim, readtags and most others read (below), or in
 * the etags format of Emacs (QvTagsFormat).  The ctags form: header lines
 * (!_TAG_FILE_FORMAT 2, !_TAG_FILE_SORTED 1, the program's name and
 * version), then one line per class, interface, enum, record and annotation
 * type, sorted by name in byte order: the name, the source file, a search
 * pattern for the source line that holds the name in the declaration, the
 * kind as universal-ctags names Java kinds (c class or record, i interface,
 * g enum, a annotation type), line:N, and inherits:SUPERCLASS unless the
 * superclass is Object or implied by the kind (Enum, Record).
 *
 * Included by quorvane.h; the conventions there hold.  Both functions read
 * the sources (and method files) on worker threads of their own and return
 * when all is done.
 */
#ifndef QUORVANE_QUORVANE_TAGS_H
#define QUORVANE_QUORVANE_TAGS_H

#ifdef __cplusplus
extern "C" {
#endif

/* A file the tags file could not use as it should, told while the file is
 * made, on the calling thread, in the order of the classes: sPath the file
 * (a source or a method file) in this system's form, sWhy what is wrong
 * ("cannot read: Permission denied", "method file missing", "declaration
 * of Main not found (changed since the scan?)"); both borrowed,
 * zero-terminated, valid during the call; sizes in bytes, not counting the
 * zero.  bFailure is non-zero when the file could not be read: the class
 * still has its line, but its pattern is a guess (the declaration up to the
 * name, or the name alone) and the tags file is incomplete.  Otherwise it is
 * a notice (a source changed since the scan, a class whose name or path
 * holds a tab or line break and so has no line).  The handler must not call
 * back into the library. */
typedef void (*QvTagsProblemHandler)(void* pUserData, const char* sPath, size_t nPathSize, const char* sWhy,
                                     size_t nWhySize, QvBoolean bFailure);

/* What the tags functions return below zero; *ppError then says why. */
#define QV_TAGS_NOT_WRITTEN (-1)           /* the tags file could not be written; the old one is as it was */
#define QV_TAGS_UNREADABLE_CLASS_LIST (-2) /* the repository's class list file could not be read */

/* Writes the tags file of the repository in the repository directory
 * (QvSetRepositoryDirectory), read with the separators the application has
 * set (QvSetGlobalString "sElementDelimiter", "sCRLFToken"): its class list
 * file gives each class's name, superclass, source and method file, the
 * start of the method file its declaration and kind, the start of the
 * source the declaration's line.  Nothing is loaded: JavaClass is left as
 * it is.
 *
 * sPath: the tags file to write (a relative path is below the repository
 * directory); its source paths are relative to its directory, as editors
 * resolve them.  It is written beside the old file, which it replaces only
 * when complete.  NULL or "": nothing is written, and *ppText receives the
 * text of the tags file, its paths absolute (a new String the caller frees;
 * ppText may be NULL when sPath is given).  Paths are in this system's
 * form.
 *
 * pHandler (may be NULL) hears of every source or method file that could
 * not be used.  Returns the number of class lines in the tags file, or
 * QV_TAGS_NOT_WRITTEN / QV_TAGS_UNREADABLE_CLASS_LIST; then, when ppError is
 * not NULL, *ppError receives a new String saying why (without the file's
 * name: "cannot read: Permission denied"), which the caller frees; it is
 * set to NULL otherwise. */
QV_API int64_t QvWriteRepositoryTags(const char* sPath, QvString** ppText, QvTagsProblemHandler pHandler,
                                     void* pUserData, QvString** ppError);

/* QvWriteRepositoryTags for the records in JavaClass (QvGlobalObject), as a
 * scan leaves them: each record that names a class gets a line, with the
 * declaration and kind the scan found.  After a QvStreamSources that kept
 * its tags (QvStreamOptions.tags), the classes of that stream instead. */
QV_API int64_t QvWriteRecordTags(const char* sPath, QvString** ppText, QvTagsProblemHandler pHandler, void* pUserData,
                                 QvString** ppError);

/* The formats of a tags file. */
typedef enum QvTagsFormat {
  QV_TAGS_CTAGS = 0, /* the extended format of ctags, above */
  /* The TAGS file of Emacs (etags): a section per source, in path order:
   * a form feed line, then "PATH,SIZE" (SIZE the bytes of the section's
   * tag lines that follow), then a tag line per class of that source, in
   * line order: the source line up to the end of the class's name, DEL,
   * the name, SOH, the line number (from 1), a comma and the byte offset
   * of the line's start.  Without the line (a source changed since the
   * scan) the tag has the declaration up to the name, the name, SOH and a
   * comma. */
  QV_TAGS_ETAGS = 1
} QvTagsFormat;

/* QvWriteRepositoryTags and QvWriteRecordTags in the format eFormat; they
 * return the number of classes in the file. */
QV_API int64_t QvWriteRepositoryTagsAs(QvTagsFormat eFormat, const char* sPath, QvString** ppText,
                                       QvTagsProblemHandler pHandler, void* pUserData, QvString** ppError);
QV_API int64_t QvWriteRecordTagsAs(QvTagsFormat eFormat, const char* sPath, QvString** ppText,
                                   QvTagsProblemHandler pHandler, void* pUserData, QvString** ppError);

#ifdef __cplusplus
}
#endif

#endif /* QUORVANE_QUORVANE_TAGS_H */
