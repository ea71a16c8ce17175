/* SPDX-License-Identifier: Apache-2.0 */
/* The C interface of the Quorvane library (libquorvane.so).
 *
 * Every application function is exported under a fixed name:
 *   __quorvane__GF<id>   a global function
 *   __quorvane__XE<id>   a class function, the object instance first
 *   __quorvane__XT<id>   the same class function on the current instance
 * quorvane_exports.h (included below) declares each with its prototype.
 * Look names up with dlsym, or with QvFindExport, which also knows the
 * decorated names of the Windows build ("_StrMidX@36", ...).
 *
 * Types at the boundary have fixed sizes: a Number is 16 bytes, a Date/Time
 * 16 bytes, a Boolean a 32-bit integer; Strings, dynamic arrays and objects
 * are pointer-sized handles made and released with the runtime API below.
 *
 * Ownership:
 *   - Arguments are borrowed: the callee neither keeps nor releases them.
 *     A null QvString* argument reads as the empty String.
 *   - Results are owned by the caller: release a QvString* result with
 *     QvStringFree.
 *   - A receive parameter (QvString**, QvNumber*, ...) must point to a valid
 *     value; the callee releases the old String it holds before storing the
 *     new one.
 * The library is not thread-safe: call it from one thread at a time.
 */
#ifndef QUORVANE_QUORVANE_H
#define QUORVANE_QUORVANE_H

#include <stddef.h>
#include <stdint.h>

/* Calling conventions.  Every function declared here, the runtime API and
 * the exported functions __quorvane__GF<id>, __quorvane__XE<id> and
 * __quorvane__XT<id> alike, uses the C calling convention (__cdecl on
 * 32-bit Windows: the caller removes the arguments).  The decorated names
 * of the 32-bit Windows DLL (such as "_StrMidX@36") are __stdcall entry
 * points of the same functions: the callee removes the arguments, whose
 * size in bytes is the number after "@".  GetProcAddress and QvFindExport
 * give the same __stdcall entry for a decorated name; call it through its
 * QvDecorated_... type (quorvane_exports.h).  Elsewhere a decorated name is
 * no symbol of the library, and QvFindExport gives the C function.
 *
 * On 32-bit Windows, exactly, for a caller built with another compiler:
 *   - Arguments are pushed from right to left, each taking a multiple of
 *     4 bytes: a pointer, handle, Boolean or int32_t 4 bytes, a Number or
 *     Date/Time its 16 bytes as the struct lies in memory.  The number after
 *     "@" is their sum (the instance pointer of a class function included).
 *   - A Number or Date/Time result is returned in memory: the caller
 *     reserves 16 bytes and passes their address as a hidden argument,
 *     pushed after all the others (so it lies right above the return
 *     address); the callee stores the result there and returns the same
 *     address in EAX.  The number after "@" does not count this address.
 *   - Every other result is returned in EAX (an int64_t of the runtime API
 *     in EDX:EAX).
 *   - What the callee removes on return: a decorated __stdcall entry, its
 *     "@" bytes, plus 4 for the hidden address when it returns a Number
 *     ("_StrScanAt@24" removes 28 bytes); a __cdecl function nothing, not
 *     even the hidden address: the caller removes all it pushed.
 *   - EBX, ESI, EDI and EBP are preserved; EAX, ECX and EDX are not. */
#if defined(_WIN32) && defined(QV_BUILDING_LIBRARY)
#define QV_API __declspec(dllexport)
#elif defined(_WIN32)
#define QV_API __declspec(dllimport)
#else
#define QV_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A decimal number or null; null is distinct from 0. */
typedef struct QvNumber {
  double value;
  int32_t isNull; /* non-zero: null */
  int32_t reserved;
} QvNumber;

/* A date and time: microseconds since 0001-01-01 00:00:00, or null. */
typedef struct QvDateTime {
  int64_t micros;
  int32_t isNull;
  int32_t reserved;
} QvDateTime;

typedef int32_t QvBoolean;
typedef uintptr_t QvWindowHandle;
typedef uintptr_t QvSqlHandle;
typedef uintptr_t QvFileHandle;
typedef struct QvString QvString;
typedef struct QvArray QvArray;
typedef struct QvObject QvObject;

/* Element types of dynamic arrays. */
typedef enum QvElementType {
  QV_ELEMENT_NUMBER = 1,
  QV_ELEMENT_STRING = 2,
  QV_ELEMENT_BOOLEAN = 3,
  QV_ELEMENT_DATETIME = 4,
  QV_ELEMENT_HANDLE = 5
} QvElementType;

#ifdef __cplusplus
static_assert(sizeof(QvNumber) == 16, "Number is 16 bytes");
static_assert(sizeof(QvDateTime) == 16, "Date/Time is 16 bytes");
static_assert(sizeof(QvBoolean) == 4, "Boolean is 32 bits");
static_assert(sizeof(QvWindowHandle) == sizeof(void*), "handles are pointer-sized");
#else
_Static_assert(sizeof(QvNumber) == 16, "Number is 16 bytes");
_Static_assert(sizeof(QvDateTime) == 16, "Date/Time is 16 bytes");
_Static_assert(sizeof(QvBoolean) == 4, "Boolean is 32 bits");
_Static_assert(sizeof(QvWindowHandle) == sizeof(void*), "handles are pointer-sized");
#endif

/* Strings: counted byte strings.  QvStringNew copies nSize bytes. */
QV_API QvString* QvStringNew(const char* pData, size_t nSize);
QV_API void QvStringFree(QvString* pString);
/* The bytes (not terminated by the library; may hold zero bytes) and size.
 * A null pointer reads as the empty String. */
QV_API const char* QvStringData(const QvString* pString);
QV_API size_t QvStringSize(const QvString* pString);

/* Dynamic arrays: created empty, extended by assignment. */
QV_API QvArray* QvArrayNew(QvElementType eType);
QV_API void QvArrayFree(QvArray* pArray);
QV_API QvElementType QvArrayType(const QvArray* pArray);
/* Number of elements (highest assigned index + 1). */
QV_API int64_t QvArrayCount(const QvArray* pArray);
QV_API void QvArrayClear(QvArray* pArray);
/* Reads never extend the array; an unassigned element reads empty.  The
 * String read is a new String owned by the caller.  A write to an array of
 * another element type does nothing and returns 0. */
QV_API QvString* QvArrayGetString(const QvArray* pArray, int64_t nIndex);
QV_API QvBoolean QvArraySetString(QvArray* pArray, int64_t nIndex, const QvString* pValue);
QV_API QvNumber QvArrayGetNumber(const QvArray* pArray, int64_t nIndex);
QV_API QvBoolean QvArraySetNumber(QvArray* pArray, int64_t nIndex, QvNumber nValue);

/* Objects: instances of the library's classes, by class name.  Returns
 * NULL for a name the library does not declare.  QvObjectNew runs the
 * class's constructor and QvObjectFree its destructor, for the classes that
 * have one (VC_ContainerCtrl), as the host runtime does. */
QV_API QvObject* QvObjectNew(const char* sClassName);
QV_API void QvObjectFree(QvObject* pObject);
QV_API const char* QvObjectClassName(const QvObject* pObject);
/* The library's own global instances: "JavaClass" (element nIndex of the
 * global array, created when missing), "JavaRepository", "Directories",
 * "JavaFile" and "AppProfile" (nIndex 0).  The result is borrowed: never
 * free it; an element of "JavaClass" stays valid until the array changes
 * size.  NULL for an unknown name or a negative index. */
QV_API QvObject* QvGlobalObject(const char* sName, int64_t nIndex);
/* The current instance that the __quorvane__XT<id> forms act on. */
QV_API void QvSetCurrentInstance(QvObject* pObject);
QV_API QvObject* QvCurrentInstance(void);

/* Global variables that the host application sets, by name.  Returns 0 for
 * an unknown name or a variable of another type. */
QV_API QvBoolean QvSetGlobalString(const char* sName, const QvString* pValue);
QV_API QvString* QvGetGlobalString(const char* sName);
QV_API QvBoolean QvSetGlobalNumber(const char* sName, QvNumber nValue);
QV_API QvNumber QvGetGlobalNumber(const char* sName);
QV_API QvBoolean QvSetGlobalBoolean(const char* sName, QvBoolean bValue);
QV_API QvBoolean QvGetGlobalBoolean(const char* sName);
/* A Number bound under a name, such as the current message's return value
 * "___az_quorvane_001".  Null for an unknown name. */
QV_API QvNumber QvGetBoundNumber(const char* sName);

/* Arrays inside instances that the application fills, by name:
 *   VC_ObjectSizeGroup      "oObjectSizes" (VC_ObjectSize), "hWndObjects" (window handles)
 *   VC_ListContainerObject  "oCells" (VC_Container)
 *   VC_ContainerCtrl        "oLists" (VC_ListContainerObject)
 *   INT_MDI_ManageChildren  "cv_hWndChildList", "cv_hWndOwnerList" (window handles): class
 *                           variables, shared by every instance and reached through any
 * Element functions return 0 (NULL) for an unknown name, an array of another
 * element type or a negative index; reads never extend an array.
 * QvObjectElement returns element nIndex, created when missing; the result
 * is borrowed: never free it; it stays valid until the array changes size.
 * QvSetObjectElement stores a copy of pValue (borrowed) as element nIndex. */
QV_API QvBoolean QvSetWindowElement(QvObject* pObject, const char* sArray, int64_t nIndex, QvWindowHandle hWnd);
QV_API QvWindowHandle QvGetWindowElement(const QvObject* pObject, const char* sArray, int64_t nIndex);
QV_API QvObject* QvObjectElement(QvObject* pObject, const char* sArray, int64_t nIndex);
QV_API QvBoolean QvSetObjectElement(QvObject* pObject, const char* sArray, int64_t nIndex, const QvObject* pValue);
/* Number of elements (highest assigned index + 1); -1 for an unknown name. */
QV_API int64_t QvElementCount(const QvObject* pObject, const char* sArray);
QV_API QvBoolean QvClearElements(QvObject* pObject, const char* sArray);

/* The runtime's context values, which the host application's runtime
 * changes as it handles messages: the windows "hWndForm" (current form),
 * "hWndItem" (current item) and "hWndMDI" (MDI frame), and the current
 * message's wParam and lParam.  "hWndNULL", the null window handle, is 0 and
 * can only be read.  Set returns 0 for an unknown name; get answers 0. */
QV_API QvBoolean QvSetContextWindow(const char* sName, QvWindowHandle hWnd);
QV_API QvWindowHandle QvGetContextWindow(const char* sName);
QV_API void QvSetMessageParameters(QvNumber wParam, QvNumber lParam);

/* The headless window system that the library's window operations act on.
 * Windows have a parent (0: none), an object type code, a name, a text, and
 * a position inside the parent and a size in the runtime's window units.
 * QvCreateWindow returns the new window's handle; a new window sits at 0, 0
 * with size 0, 0.  The other functions return 0 for a handle that names no
 * window.  QvSetWindowAnswer makes the window answer nMessage with nResult
 * from now on (other messages answer 0).  QvMessagesSent counts the times
 * nMessage was sent to the window, QvWindowPaints its repaints. */
QV_API QvWindowHandle QvCreateWindow(QvWindowHandle hParent, int64_t nType, const char* sName);
QV_API QvBoolean QvSetWindowText(QvWindowHandle hWnd, const QvString* pText);
QV_API QvBoolean QvPlaceWindow(QvWindowHandle hWnd, QvNumber nLeft, QvNumber nTop, QvNumber nWidth, QvNumber nHeight);
QV_API QvBoolean QvGetWindowPlacement(QvWindowHandle hWnd, QvNumber* pLeft, QvNumber* pTop, QvNumber* pWidth,
                                      QvNumber* pHeight);
QV_API QvBoolean QvSetWindowAnswer(QvWindowHandle hWnd, int64_t nMessage, QvNumber nResult);
QV_API int64_t QvMessagesSent(QvWindowHandle hWnd, int64_t nMessage);
QV_API int32_t QvWindowPaints(QvWindowHandle hWnd);

/* Message boxes.  The library shows a message box (a standard message, the
 * toolkit's retry prompt, ...) by asking its host; an application answers
 * them with a handler.  The handler gets the caption and the text (borrowed,
 * zero-terminated, valid during the call; sizes in bytes, not counting the
 * zero) and the box's style (the Windows MB_* bits: 0 OK, 5 Retry and
 * Cancel, plus icon bits such as 16, 32, 48 or 64), and returns the button
 * pressed (1 OK, 2 Cancel, 4 Retry, 6 Yes, 7 No).  A null handler restores
 * the default: every box is printed on stderr as "[caption] text" and
 * answered with OK.  The handler must not call back into the library. */
typedef int32_t (*QvMessageBoxHandler)(void* pUserData, const char* sCaption, size_t nCaptionSize, const char* sText,
                                       size_t nTextSize, int32_t nStyle);
QV_API void QvSetMessageBoxHandler(QvMessageBoxHandler pHandler, void* pUserData);
/* Whether the application has been asked to quit (the retry prompt's
 * Cancel asks it): the library then stops retrying. */
QV_API QvBoolean QvQuitRequested(void);

/* Host settings.  When it is loaded the library takes them from the
 * environment, the one place that reads it: QUORVANE_PROFILE_DIR (default
 * $XDG_CONFIG_HOME/quorvane when XDG_CONFIG_HOME is absolute, else
 * $HOME/.config/quorvane, HOME being the user's home directory where
 * $HOME is unset), QUORVANE_DRIVE_ROOT (the directory every drive letter
 * maps to, default "/"; not used on Windows) and QUORVANE_DATABASE.  These
 * change them for what the library does next.  Texts are borrowed; NULL
 * reads as "". */
/* Where a bare profile name such as "Quorvane.ini" lives; the default
 * database moves with it. */
QV_API void QvSetProfileDirectory(const char* sDirectory);
/* The profile directory now, as it was given (or taken from the
 * environment).  The caller frees the String. */
QV_API QvString* QvProfileDirectory(void);
/* The database of the SQL handles connected from now on: a PostgreSQL
 * connection string, as a URI ("postgresql://" or "postgres://", in any
 * letter case) or as libpq's keyword=value pairs, or the path of an SQLite
 * file; "" for the default, quorvane.db in the profile directory.  A
 * connect to a target that is neither (another URI scheme, a control
 * character, keyword=value pairs after other text) fails. */
QV_API void QvSetDatabase(const char* sTarget);
/* The directory the library resolves relative file names against, such as
 * the repository's files ("jbclass.txt", ...); "" for the process's current
 * directory.  The process's own directory is never changed. */
QV_API void QvSetRepositoryDirectory(const char* sDirectory);
/* sTarget as it may be printed or logged.  A PostgreSQL connection string
 * comes back as the keyword=value pairs libpq's parser reads in it, each
 * password written "***" ("user=alice password=*** host=h dbname=db"); one
 * libpq cannot read, and any other target that could not be used, with no
 * value shown: its URI scheme, if any, then "***".  An SQLite path comes
 * back as it is.  The caller frees the String. */
QV_API QvString* QvRedactedDatabase(const char* sTarget);

/* The export table. */
typedef struct QvExportInfo {
  const char* sKind;     /* "GF", "XE", "XT" or "DECORATED" */
  const char* sClass;    /* class name, "" for global functions */
  const char* sFunction; /* function name */
  uint32_t nId;          /* export id, or argument bytes for DECORATED */
  const char* sExport;   /* the exported name */
  void (*pFunction)(void);
} QvExportInfo;
QV_API size_t QvExportCount(void);
QV_API const QvExportInfo* QvExportAt(size_t nIndex);
/* The C signature of export nIndex as "RESULT(PARAMETERS)", for example
 * "QvNumber(const QvString* a0, QvNumber a1, QvNumber a2)"; NULL past the
 * end.  The caller frees the String.  quorvane_exports.h declares them all. */
QV_API QvString* QvExportSignature(size_t nIndex);
/* The entry point exported under sName (any kind, decorated names too). */
QV_API void (*QvFindExport(const char* sName))(void);

/* The toolkit's list controls as the portable host keeps them, for hosts
 * and tests.  A control is addressed by its window handle (the list-box
 * functions act on the current item window); its list is made empty on
 * first use.  Texts are copied; nothing here takes ownership. */
typedef struct QvToolkitItem {
  const QvString* text; /* NULL reads as "" */
  int32_t value;
  int32_t flags;
  int32_t color;
  int32_t font;
  int32_t itemHandle; /* 0: the item has none */
  int32_t valueA;     /* the two values that toolkit operation 151 reports */
  int32_t valueB;
} QvToolkitItem;
/* Appends an item; returns its index (-1 for a NULL item). */
QV_API int32_t QvToolkitAddItem(QvWindowHandle hWnd, const QvToolkitItem* pItem);
QV_API void QvToolkitSetSelection(QvWindowHandle hWnd, int32_t nIndex); /* -1: none */
QV_API void QvToolkitSetStyle(QvWindowHandle hWnd, int32_t nStyle);
/* Scripted answers of a list operation, by toolkit ordinal: queued results
 * are used first, one per call; then the standing result; then the host's
 * own answer.  Receive values are written to the receive arguments in order;
 * a text is the result of a String operation. */
QV_API void QvToolkitSetResult(int32_t nOrdinal, int32_t nResult);
QV_API void QvToolkitQueueResult(int32_t nOrdinal, int32_t nResult);
QV_API void QvToolkitSetReceives(int32_t nOrdinal, const int32_t* pValues, size_t nCount);
QV_API void QvToolkitSetText(int32_t nOrdinal, const QvString* pText);
QV_API void QvToolkitClearScripts(void);
/* The record of the list operations called, oldest first.  A text in a
 * recorded call stays valid until the next list operation or
 * QvToolkitClearCalls. */
typedef enum QvToolkitArgKind {
  QV_TOOLKIT_INTEGER = 1, /* a 32-bit integer */
  QV_TOOLKIT_TEXT = 2,    /* the text of a String */
  QV_TOOLKIT_STRING = 3,  /* the String itself */
  QV_TOOLKIT_RECEIVE = 4  /* a receive integer; value is what it held on entry */
} QvToolkitArgKind;
typedef struct QvToolkitArg {
  QvToolkitArgKind kind;
  int32_t value;
  const char* text;
  size_t textSize;
} QvToolkitArg;
typedef struct QvToolkitCall {
  int32_t ordinal;
  QvBoolean hasWindow; /* the operation takes the window first */
  QvWindowHandle window;
  int32_t argCount; /* the arguments after the window */
  QvToolkitArg args[8];
} QvToolkitCall;
QV_API size_t QvToolkitCallCount(void);
QV_API QvBoolean QvToolkitCallAt(size_t nIndex, QvToolkitCall* pCall);
QV_API void QvToolkitClearCalls(void);

/* Loader state of the process's module, for hosts and tests: whether the
 * external libraries are bound, how many are held, and how often the module
 * was initialised (0 or 1). */
QV_API QvBoolean QvLibrariesBound(void);
QV_API int32_t QvLoadedLibraryCount(void);
QV_API int32_t QvInitialisationCount(void);

#ifdef __cplusplus
}
#endif

/* Every exported function with its prototype. */
#include "quorvane_exports.h"
/* The Java repository's jobs. */
#include "quorvane_repository.h"
/* The application profile's settings. */
#include "quorvane_profile.h"
/* SQL statements, their rows and the database errors. */
#include "quorvane_sql.h"
/* The tags file of the repository's classes, for editors. */
#include "quorvane_tags.h"

#endif /* QUORVANE_QUORVANE_H */
