// SPDX-License-Identifier: Apache-2.0
// The repository's file formats, in one place for the reader and the writer.
//
// Every line of a repository file is a row of fields, each followed by the
// delimiter (the last one too).  A line cannot hold a line break, so the
// multi-line texts, which hold their line breaks as the three characters
// CR CR LF, are stored with every line break replaced by a token text.
//
//   class list file   one line per class, the twelve ClassField fields
//   method file       one line per method: name, comment, body
//   variable file     one line per class variable: six plain fields
//
// A writer must never produce a line that reads back as something else: a
// field holding the delimiter would split into two, a text holding the
// token would gain a line break.  RecordLine builds a line and checks that
// it reads back as written; the writers refuse a record that does not.
//
// Readers trim blanks and control white space off most fields (the whole
// line, for a variable file).  A line whose fields would lose such edges
// gets one more field behind the last one, the word kExactMarker, and its
// fields are then read as they stand.  Lines without it read as they always
// have, and readers that know only the plain fields ignore the extra one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/module.h"
#include "core/values.h"
#include "source/java_parser.h"

namespace qv::format {

// The line break of multi-line texts in memory.
inline constexpr std::string_view kLineBreak = "\r\r\n";
// The class list file of the repository.
inline constexpr std::string_view kClassListFile = "jbclass.txt";
// What the last save knew of each source (repository/save_state.h).
inline constexpr std::string_view kSaveStateFile = "jbclass.state";
// The lock a writer of the repository holds (RepositorySession::Lock).
inline constexpr std::string_view kLockFile = "quorvane.lock";
inline constexpr std::string_view kMethodFileExtension = ".med";

enum ClassField : size_t {
  kSuperClass,
  kClassName,
  kFileName,
  kDirectory,
  kPackage,
  kHeader,
  kFooter,
  kDescription,  // multi-line texts
  kImports,      // every import followed by the token
  kMethodFile,
  kExtra,
  kStamp,  // the Date/Time's text; empty when null
  kClassFieldCount
};
enum MethodField : size_t { kMethodName, kMethodComment, kMethodBody, kMethodFieldCount };
inline constexpr size_t kVariableFieldCount = 6;

// The field behind the last one that marks a line whose fields are exact.
inline constexpr std::string_view kExactMarker = "exact";
// How a reader trims the fields of a line without the marker.
enum class LineTrim {
  kEachField,  // class list and method files: each trimmed field on its own
  kWholeLine,  // variable files: the whole line, before it is split
};

// Why writing repository files with these separators would endanger Java
// text, or "" when they are safe: each must be non-empty, hold no line
// break and not be one printable or blank character (Java sources commonly
// hold every one of those: a "*" delimiter would split every documentation
// comment), and neither may contain the other.  A host application that
// writes refuses such separators.
std::string UnsafeSeparators(std::string_view sDelimiter, std::string_view sToken);

// Splits sLine at every occurrence of sDelimiter: piece k is field k; the
// empty piece after a final delimiter is not a field.  The pieces are views
// into sLine.  An empty delimiter leaves the whole line as one field.
void SplitFields(std::string_view sLine, std::string_view sDelimiter, std::vector<std::string_view>& aFields);
// Field k, or the empty text when the line has fewer fields.
inline std::string_view FieldAt(const std::vector<std::string_view>& aFields, size_t k) {
  return k < aFields.size() ? aFields[k] : std::string_view();
}

// Splits a line of nFields fields as every reader does; TRUE when the line
// carries the exact marker.  Without it, a kWholeLine line is split after
// trimming, and a kEachField reader trims the fields it trims (FieldOf).
bool SplitRecord(std::string_view sLine, std::string_view sDelimiter, size_t nFields, LineTrim eTrim,
                 std::vector<std::string_view>& aFields);
// Field k as a reader takes it: trimmed when bTrim.
std::string_view FieldOf(const std::vector<std::string_view>& aFields, size_t k, bool bTrim);
// The imports of a stored import field: the pieces between the tokens,
// empty ones left out.
void SplitImports(std::string_view sField, std::string_view sToken, std::vector<std::string_view>& aImports);

// A stored multi-line text back in memory: every token becomes CR CR LF.
String DecodeText(Module& m, std::string_view sField, std::string_view sToken);
String DecodeText(JavaTextTools& tools, std::string_view sField, std::string_view sToken);
// A multi-line text for storing: every CR CR LF, and every LF left over,
// becomes the token.
String EncodeText(Module& m, std::string_view sText, std::string_view sToken);
String EncodeText(JavaTextTools& tools, std::string_view sText, std::string_view sToken);

// One line under construction.  Fields are added in file order; Finish
// joins them and checks that the line reads back as the fields written.
class RecordLine {
 public:
  RecordLine(Module& m, std::string_view sDelimiter, std::string_view sToken, LineTrim eTrim = LineTrim::kEachField);
  // With tools from JavaTextTools::Bound the line touches no Module, so
  // threads may build lines at once.
  RecordLine(const JavaTextTools& tools, std::string_view sDelimiter, std::string_view sToken,
             LineTrim eTrim = LineTrim::kEachField);

  // A field stored as it is; bTrimmed when its reader trims it.
  void AddPlain(std::string_view sLabel, std::string_view sValue, bool bTrimmed = true);
  // A multi-line text, stored encoded.
  void AddText(std::string_view sLabel, std::string_view sText, bool bTrimmed = true);
  // The same, the text given: with a one-character token it is encoded in
  // its own memory, which the line may then take over (Finish).  sText is
  // left empty.
  void AddText(std::string_view sLabel, String&& sText, bool bTrimmed = true);
  // The import list: every entry that is not empty, each followed by the
  // token.
  void AddImports(const DynArray<String>& aImports);

  // The finished line.  FALSE when it would not read back as written;
  // sError then names the field and the reason.
  bool Finish(String& sLine, String& sError);

 private:
  enum class Kind { kPlain, kText, kImports };
  struct Pending {
    std::string_view sLabel;
    String sStored;
    String sProblem;
    Kind eKind = Kind::kPlain;
    bool bTrimmed = true;
    String sExpected;              // what a plain or text field must read back as
    std::vector<String> aImports;  // what the import field must read back as
    // A text whose stored form is known to decode to what it must read
    // back as; sExpected is then not kept (see Expected).
    bool bRoundTrips = false;
    // Where the stored form stands in the finished line when the line took
    // over its memory (sStored is then empty); npos when it did not.
    size_t nInLine = std::string_view::npos;
    size_t nStoredSize = 0;
  };
  // A field this large whose memory has room for the line becomes the line.
  static constexpr size_t kLineInField = size_t{64} * 1024;
  void Check(Pending& field, std::string_view sOriginal, bool bText);
  // Check, told whether the original text holds the token.
  void CheckStored(Pending& field, std::string_view sOriginal, bool bText, bool bHoldsToken);
  // What a plain or text field must read back as, its stored form sStored.
  String Expected(const Pending& field, std::string_view sStored);
  // The stored form of field in sLine, the line being finished.
  static std::string_view Stored(const Pending& field, std::string_view sLine);
  // The first field that sLine, read back as the reader reads it, does not
  // return as written; -1 when every field comes back.
  int64_t FirstChanged(std::string_view sLine);

  JavaTextTools tools_;
  std::string_view sDelimiter_;
  std::string_view sToken_;
  LineTrim eTrim_;
  std::vector<Pending> aFields_;
};

// The file name of a path: the part after its last "\\" or "/".
std::string_view FileNameOf(std::string_view sPath);
// The part of sFile before the first "." of its file name (the directory
// part is kept); the whole of sFile when the file name has no ".".
std::string_view BaseName(std::string_view sFile);
// The name of history copy n of sFile: its base and ".001" ... ".009",
// ".010" ... ".099", ".100" and up.
String HistoryCopyName(std::string_view sFile, int64_t n);
// The method file of a class whose source is sFileName in sDirectory:
// the directory, "\", the file name before its first "." and ".med".
String MethodFilePath(std::string_view sDirectory, std::string_view sFileName);

// The folders that stand for the directory sDirectory below a directory of
// the library's own (the method file directory, the archive directory),
// joined with "\", without a "\" at either end.  Distinct directories get
// distinct folders, and none of them leaves the directory it is put below:
//
//   C:\a\b           C\a\b         a drive: its letter
//   \\srv\share\x     UNC\srv\share\x
//   \tmp\jdk         tmp\jdk       from the root: its folders
//   src\p           %2E\src\p     relative: "%2E" (".") first
//
// "\" and "/" both separate folders; an empty folder (a doubled or a final
// separator) and "." are dropped, since they name the same directory.  In
// each folder, "%", ":" (after the drive's own), the characters a Windows
// name cannot hold (< > " | ? * and the control characters) and trailing
// dots and blanks (which Windows drops) are written %XX, the character's
// code in hexadecimal: ".." becomes "%2E%2E" and cannot climb, "a:b"
// becomes "a%3Ab".  The first folder from the root is escaped in the same
// way when it could be read as a drive or as UNC (one letter, or "UNC" in
// any letter case): \C\a becomes %43\a, apart from C:\a.  The root itself
// (\) has no folders.
String MirroredFolders(std::string_view sDirectory);
// The method file of a class whose source is sFileName in sDirectory when
// method files are kept in the directory sMethodDirectory: the name that
// MethodFilePath gives it beside the source (escaped as a folder is), in
// the MirroredFolders of the source's directory below sMethodDirectory
// (with the "methods" folder of /home/me/repo, the class of \src\p\A.java
// has the method file /home/me/repo/methods\src\p\A.med).  An empty
// sDirectory is the current directory.  An empty sMethodDirectory keeps the
// method file beside the source: MethodFilePath.
String MethodFileIn(std::string_view sMethodDirectory, std::string_view sDirectory, std::string_view sFileName);

}  // namespace qv::format
