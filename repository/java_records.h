// SPDX-License-Identifier: Apache-2.0
// The in-memory records of the Java class model: the global array JavaClass
// of VC_JavaClass records, each with its methods and class variables, and
// VC_JavaFile, which remembers the source file chosen last.
#pragma once

#include <memory>
#include <string_view>

#include "core/module.h"
#include "core/object.h"

namespace qv {

class ReplacingFile;

class VC_JavaMethod : public Object {
 public:
  std::string_view ClassName() const override { return "VC_JavaMethod"; }

  String sName;     // the method name
  String sBody;     // its text (multi-line)
  String sComment;  // its comment (multi-line)
};

// One line of a variable file: six texts stored and loaded unchanged.
class VC_JavaClassVariable : public Object {
 public:
  std::string_view ClassName() const override { return "VC_JavaClassVariable"; }

  static constexpr size_t kFieldCount = 6;
  // Field k (0 to 5) in file order: sValue1 to sValue6.
  String& Value(size_t k) { return this->*kFields[k]; }
  const String& Value(size_t k) const { return this->*kFields[k]; }

  String sValue1, sValue2, sValue3, sValue4, sValue5, sValue6;

 private:
  static constexpr String VC_JavaClassVariable::*kFields[kFieldCount] = {
      &VC_JavaClassVariable::sValue1, &VC_JavaClassVariable::sValue2, &VC_JavaClassVariable::sValue3,
      &VC_JavaClassVariable::sValue4, &VC_JavaClassVariable::sValue5, &VC_JavaClassVariable::sValue6};
};

class VC_JavaClass : public Object {
 public:
  std::string_view ClassName() const override { return "VC_JavaClass"; }

  // Empties sImport, aSpare1, aSpare2, aMethods and aVariables; the texts
  // and Numbers stay.  Result: null.
  Number ClearClass(Module& m);
  // Parses the source sDirectory + "\" + sFileName into this record: class
  // name, superclass, package, heading comment, documentation comment,
  // footer and imports, and the class body into aMethods[1].sBody.  The
  // class name and superclass then enter the repository's lists at nIndex,
  // the record's position in JavaClass.  A file that cannot be read leaves
  // what the parser left (an empty body).  Result: null.
  Number ParseSourceFile(Module& m, Number nIndex);
  // The record as Java source: heading comment, package line, import
  // lines, documentation comment and class body, footer, with every line
  // end (a LF after any number of CRs, as texts loaded from the repository
  // and texts parsed from a file hold them) written as sLineEnd.
  String SourceText(std::string_view sLineEnd) const;
  // The line end a written source of this record takes: that of the file
  // sPath replaces when it exists and uses one kind throughout, else that
  // of the record's own source file when it does, else CR LF.
  std::string_view FoundLineEnd(Module& m, std::string_view sPath) const;
  // Why the record's names cannot place a written source: "" when its file
  // name is a bare file name and, with bPackage, every segment of its
  // package a plain directory name.  The names come from a class list,
  // which is outside input: a "..", a separator, a drive or a colon in them
  // would put the file outside the directory it is written into.
  String UnsafeNames(bool bPackage) const;
  // Writes the record back as Java source (SourceText) to sDirectory + "\" +
  // sFileName, after keeping the present file as a history copy beside it,
  // with the line end FoundLineEnd gives.  The old file is replaced only
  // once the new one is complete.  TRUE when the file was written; FALSE
  // too when the file name is no bare file name (UnsafeNames).
  bool WriteSourceFile(Module& m);
  // WriteSourceFile to sPath, with sLineEnd ("" for FoundLineEnd's).
  bool WriteSourceFileTo(Module& m, std::string_view sPath, std::string_view sLineEnd);
  // The source text written to a new file beside sPath, not yet in place:
  // Commit (or CommitAll, for many at once) puts it there, keeping the
  // present file as history.  A failure shows in its Error() and fails
  // the commit.
  std::unique_ptr<ReplacingFile> PrepareSourceFile(Module& m, std::string_view sPath, std::string_view sLineEnd) const;
  // Keeps sFile as history copy 1 beside it, moving the older copies up by
  // one, when history copies are switched on.  Result: null.
  Number SaveHistoryFile(Module& m, std::string_view sFile);

  DateTime dtStamp;  // null until set
  Number nSpare1, nSpare2;
  Number bSaved;  // 1 once written to the class list file
  Number nSpare3;
  Number bSkipSave;  // 1 or more: left out of the class list file
  String sClassName;
  String sSuperClass;  // "Object" when none, "nill" for Object itself
  String sPackage;
  String sFileName;    // without directory
  String sMethodFile;  // path of the class's method file
  String sExtra;
  String sDirectory;         // directory of the source file
  String sHeader;            // leading comment (multi-line)
  String sFooter;            // text after the last "}" (multi-line)
  String sDescription;       // documentation comment of the class (multi-line)
  DynArray<String> sImport;  // imported names, without "import " and ";"
  DynArray<String> aSpare1, aSpare2;
  DynArray<VC_JavaMethod> aMethods;           // from position 1; 1 holds the whole body after parsing
  DynArray<VC_JavaClassVariable> aVariables;  // from position 0
};

class VC_JavaFile : public Object {
 public:
  std::string_view ClassName() const override { return "VC_JavaFile"; }

  // Empties glb_sFile, glb_sClass and JavaClass.  Result: null.
  Number ClearJavaFiles(Module& m);
  // Remembers the file and its position, stores the file name at
  // glb_sFile[nFileIndex], and file and directory in JavaClass[nFileIndex]
  // (created when missing).  Result: null.
  Number SetJavaFile(Module& m, Number nFileIndex, std::string_view sFileName, std::string_view sFileDirectory);
  // The remembered file name and directory.  Result: null.
  Number GetJavaFileInfo(Module& m, String& sFileOut, String& sDirectoryOut);

  String sFile;
  String sDirectory;
  Number nIndex;  // the position in JavaClass the file belongs to
};

// The global JavaClass: the records at positions 0, 1, 2, …
struct JavaClassGlobal : ModuleSlot {
  DynArray<VC_JavaClass> JavaClass;
};
inline DynArray<VC_JavaClass>& JavaClassArray(Module& m) { return m.Slot<JavaClassGlobal>().JavaClass; }

// The global JavaFile instance the host application uses.
struct JavaFileGlobal : ModuleSlot {
  VC_JavaFile JavaFile;
};
inline VC_JavaFile& JavaFileInstance(Module& m) { return m.Slot<JavaFileGlobal>().JavaFile; }

}  // namespace qv
