/* SPDX-License-Identifier: Apache-2.0 */
/* The application profile through the C interface: the settings of
 * "Quorvane.ini" in the profile directory (QvSetProfileDirectory), which the
 * class VC_ApplicationProfile keeps in the process's module.  Included by
 * quorvane.h; the conventions there hold (texts in are borrowed and NULL
 * reads as ""; a QvString* result or error belongs to the caller, who frees
 * it with QvStringFree).
 *
 * A setting is addressed by its index in the library's table, 0 to
 * QvProfileSettingCount() - 1, in the order the load and the save handle
 * them.  A value is given and returned in the text form the file holds:
 * Strings unchanged, Numbers as decimal text without decimals, Booleans as
 * "1" or "0".  A function that can fail returns QvBoolean and, when ppError
 * is not NULL, stores a new String saying why (NULL on success); *ppError
 * and *ppStored are written, never read or freed. */
#ifndef QUORVANE_QUORVANE_PROFILE_H
#define QUORVANE_QUORVANE_PROFILE_H

#ifdef __cplusplus
extern "C" {
#endif

typedef enum QvSettingType { QV_SETTING_STRING = 1, QV_SETTING_NUMBER = 2, QV_SETTING_BOOLEAN = 3 } QvSettingType;

/* One row of the settings table.  The texts are zero-terminated and
 * belong to the library: valid while it is loaded, never freed. */
typedef struct QvProfileSetting {
  const char* section;     /* "Profile" */
  const char* key;         /* "Font Size" */
  const char* variable;    /* the class variable, "cv_nFontSize" */
  QvSettingType type;      /* how the value is held and written */
  const char* defaultText; /* what a load takes when the file lacks the key */
} QvProfileSetting;

QV_API int64_t QvProfileSettingCount(void);
/* Fills *pSetting with row nIndex; 0 for an index out of range. */
QV_API QvBoolean QvProfileSettingAt(int64_t nIndex, QvProfileSetting* pSetting);
/* The index of the setting sKey of sSection, names compared as the INI
 * file compares them (ASCII letters in any case, blanks around ignored);
 * -1 when there is none. */
QV_API int64_t QvProfileFindSetting(const char* sSection, const char* sKey);

/* The full path of the profile file on this machine. */
QV_API QvString* QvProfilePath(void);
/* Loads every setting from the file (the class's InitProfile) and stores
 * in *pFound (when not NULL) whether this load found the file.  Without
 * the file the module's settings stay as they were, but for the three
 * colours a load sets then (Font Color 0, Bkgd Color 12632256, Class Color
 * 16711680).  Fails when the file exists but cannot be read (or is a
 * directory), with an error that names the file and says the system's
 * reason ("cannot read PATH: Permission denied"): what the load took then
 * is not the file's content (an unreadable file loads as every setting's
 * default). */
QV_API QvBoolean QvProfileLoad(QvBoolean* pFound, QvString** ppError);
/* Setting nIndex as the module holds it, in the form the save writes it;
 * NULL for an index out of range. */
QV_API QvString* QvProfileValue(int64_t nIndex);
/* A Number setting's value; null for another type or an index out of range. */
QV_API QvNumber QvProfileNumber(int64_t nIndex);
/* Whether the file holds the key of setting nIndex (0 without the file). */
QV_API QvBoolean QvProfileKeyInFile(int64_t nIndex);

/* The text that setting nIndex would hold for sValue, in *ppStored (the
 * caller frees it): a Number is rounded to a whole number ("12.6" is held
 * as "13").  Fails when sValue does not fit the setting's type: a Number is
 * [+-] digits [. digits], a Boolean "1" or "0". */
QV_API QvBoolean QvProfileStoredValue(int64_t nIndex, const char* sValue, QvString** ppStored, QvString** ppError);
/* Whether the file can hold sStored (a value in the form the save writes
 * it) so that it reads back unchanged: every text but one with a line
 * break. */
QV_API QvBoolean QvProfileStorable(const char* sStored, QvString** ppError);
/* Sets setting nIndex from sValue (refused as QvProfileStoredValue and
 * QvProfileStorable refuse it) and saves every setting to the file, as the
 * class's SaveProfile does: load the file first, or the module's other
 * settings are written over the file's.  Fails when the file does not
 * read back as saved; the module keeps the new value. */
QV_API QvBoolean QvProfileSetValue(int64_t nIndex, const char* sValue, QvString** ppError);
/* Saves every setting to the file (SaveProfile) and checks that it reads
 * back as saved. */
QV_API QvBoolean QvProfileSave(QvString** ppError);

/* What a host application that reads and writes a repository takes from
 * the loaded profile (QvProfileLoad) for every setting it was not given
 * otherwise.  The Strings belong to the caller. */
typedef struct QvRepositoryProfile {
  QvString* delimiter;        /* the element delimiter */
  QvString* token;            /* the line-break token */
  int64_t history;            /* history copies kept: the count when they are switched on, else 0; never negative */
  QvString* archiveDirectory; /* where the repository files' history copies go; "" for the repository */
  int64_t delimiterSetting;   /* the index of the delimiter's setting */
  int64_t tokenSetting;       /* the index of the token's setting */
} QvRepositoryProfile;
QV_API void QvProfileRepositorySettings(QvRepositoryProfile* pSettings);
/* Why writing a repository with the element delimiter pDelimiter and the
 * line-break token pToken would endanger Java text, or NULL when they are
 * safe: each must be non-empty, hold no line break and not be one printable
 * or blank character (Java sources commonly hold every one of those: a "*"
 * delimiter would split every documentation comment), and neither may
 * contain the other.  A host application that writes refuses unsafe
 * separators; the profile's own defaults ("*") are unsafe.  The caller
 * frees the String. */
QV_API QvString* QvUnsafeSeparators(const QvString* pDelimiter, const QvString* pToken);

/* A setting's value for QvProfileWriteDefaults: the index and the text. */
typedef struct QvProfileValueOf {
  int64_t setting;
  const char* value;
} QvProfileValueOf;
/* Replaces the profile file with a complete new one that holds every
 * setting's default (what a load takes from an empty file) but the nCount
 * values of aValues (refused as QvProfileStoredValue and QvProfileStorable
 * refuse them), creating the profile directory when it is missing.  The
 * file is written in a new directory beside it and then renamed over it,
 * so a failure leaves what was there before.  Once the new file has been
 * written (even when putting it in place then fails), the module holds its
 * settings. */
QV_API QvBoolean QvProfileWriteDefaults(const QvProfileValueOf* aValues, size_t nCount, QvString** ppError);

#ifdef __cplusplus
}
#endif

#endif /* QUORVANE_QUORVANE_PROFILE_H */
