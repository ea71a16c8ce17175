/* SPDX-License-Identifier: Apache-2.0 */
/* SQL through the library's database layer: statements run on an SQL
 * handle with their rows handed to the caller, the last database error,
 * and how the errors nobody else deals with are reported.  quorvane.h
 * includes this header.
 *
 * Handles come from the library's pool of SQL handles, the exported class
 * BLC_ManageSqlHandles (GetSqlHandle, ReleaseSqlHandle,
 * DisconnectSqlHandles; see quorvane_exports.h), and connect to the
 * database set with QvSetDatabase.  Giving a handle back rolls back a
 * transaction left open on it.
 */
#ifndef QUORVANE_QUORVANE_SQL_H
#define QUORVANE_QUORVANE_SQL_H

#include "quorvane.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The database the SQL handles connect to next: the target set with
 * QvSetDatabase (or taken from QUORVANE_DATABASE), else the default,
 * quorvane.db in the profile directory.  It may hold a password: show
 * QvRedactedDatabase of it instead.  The caller frees the String. */
QV_API QvString* QvSqlDatabase(void);

/* One value of a result row, or a column name.  The bytes are not
 * terminated and may hold any byte, zero included.  The null value has
 * isNull set (and data "", size 0); an empty text has isNull 0. */
typedef struct QvSqlValue {
  const char* data;
  size_t size;
  QvBoolean isNull;
} QvSqlValue;

/* Receives the rows of a statement: first the column names (nRow -1),
 * then each row (nRow 0, 1, ...), nCount values each.  The values are
 * borrowed for the duration of the call.  A statement that returns no rows
 * (an INSERT, say) calls it not at all; a query that finds none calls it
 * once, with the names.  The handler must not call back into the
 * library. */
typedef void (*QvSqlRowHandler)(void* pUserData, int64_t nRow, const QvSqlValue* aValues, size_t nCount);

/* Runs sStatement (borrowed; NULL reads as "") on hSql.  A text of several
 * statements delivers the rows of the last one that returns rows.  Outside
 * BEGIN ... COMMIT the text is one transaction: it takes effect whole or
 * not at all.  pHandler may be NULL when the rows are not wanted.
 *
 * Errors: returns 0 when the database refuses the statement or hSql names
 * no connected handle; *ppError (when ppError is not NULL) then receives
 * the database's error text, which the caller frees (NULL on success; as
 * with every receive parameter, a String held there before is released).
 * The error goes to the caller only: the library does not report it too
 * (see QvSetSqlErrorReporter). */
QV_API QvBoolean QvSqlExecute(QvSqlHandle hSql, const char* sStatement, QvSqlRowHandler pHandler, void* pUserData,
                              QvString** ppError);

/* The text of the last error of the database layer, whichever operation
 * made it (a failed connect of the pool included); "" when there has been
 * none.  The caller frees the String.  The text never shows the password
 * of the database target. */
QV_API QvString* QvSqlLastError(void);

/* Receives the database errors that neither the caller of the failing
 * operation nor a handler of the library has dealt with (the rollback
 * when a handle is given back, say): the handle (0 for a failed connect)
 * and the error text (borrowed, zero-terminated, valid during the call;
 * size in bytes, not counting the zero).  A null reporter restores the
 * default: each error is printed on stderr as "quorvane: SQL error: text".
 * An application that reports the errors it gets itself, once each, sets a
 * reporter that ignores them.  The reporter must not call back into the
 * library. */
typedef void (*QvSqlErrorReporter)(void* pUserData, QvSqlHandle hSql, const char* sText, size_t nTextSize);
QV_API void QvSetSqlErrorReporter(QvSqlErrorReporter pReporter, void* pUserData);

#ifdef __cplusplus
}
#endif

#endif /* QUORVANE_QUORVANE_SQL_H */
