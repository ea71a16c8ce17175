// SPDX-License-Identifier: Apache-2.0
// The Java source parser: cuts one Java source file into the pieces of a
// class record, at the places where the compiler sees the package
// statement, the imports and the top-level types (source/java_outline.h).
#pragma once

#include "core/module.h"
#include "core/toolkit.h"
#include "source/java_outline.h"

namespace qv {

// Reads sFile and assigns, where it finds them, the class name, superclass,
// package, heading comment, documentation comment, footer, body and imports.
// A receive parameter that the parse does not find keeps the value passed in.
// The six trailing arrays are part of the exported parameter list and are not
// used.  Returns 1 when the file could be opened and read, 0 otherwise.
Number ParseJavaSource(Module& m, std::string_view sFile, String& sClassName, String& sSuperClass, String& sPackage,
                       String& sHeader, String& sDescription, String& sFooter, String& sBody, DynArray<String>& sImport,
                       DynArray<String>& aUnused1, DynArray<String>& aUnused2, DynArray<String>& aUnused3,
                       DynArray<String>& aUnused4, DynArray<String>& aUnused5, DynArray<String>& aUnused6);

// The receive parameters of a parse, by reference.
struct JavaSourceFields {
  String& sClassName;
  String& sSuperClass;
  String& sPackage;
  String& sHeader;
  String& sDescription;
  String& sFooter;
  String& sBody;
  DynArray<String>& sImport;
};

// The two toolkit text functions the parser calls, with the host they are
// called with.  Lazy(m) binds each entry on its first use, as every other
// external call does; Bound(m) binds both at once, so that the parse then
// never touches the Module.
struct JavaTextTools {
  static JavaTextTools Lazy(Module& m) { return {&m.GetHost(), nullptr, nullptr, &m}; }
  static JavaTextTools Bound(Module& m);
  String Replace(std::string_view sText, std::string_view sSearch, std::string_view sWith);
  int64_t ScanReverse(std::string_view sText, int64_t nStart, std::string_view sKey);

  const Host* pHost;
  ext::VtStrReplace pReplace;
  ext::VtStrScanReverse pScanReverse;
  Module* pModule;  // for binding; null once both entries are bound
};

// The kind's name (kJavaKinds: "class", "interface", ...); "" for kNone.
std::string_view JavaKindName(JavaKind eKind);

// The one-line declaration a class body starts with: its first line, up to
// the body's "{" (a "{" inside an annotation's parentheses, @Target({...}),
// is not the body's), without the blanks around it.  It is the source's
// declaration with every line break folded into one blank.
std::string_view DeclarationText(std::string_view sBody);

// The kind a class body declares, read from its one-line declaration
// (DeclarationText): the kind of the type it declares; kClass for the body
// of a compact source file's class, which starts with its first member and
// holds a method; kNone for any other.
JavaKind DeclarationKind(std::string_view sBody);

// ParseJavaSource's parse of a text already read from the file sFileName
// (a path or a name; its name without the extension picks the main type):
// assigns what it finds to the fields of out.  The record is made of the
// main type: the top-level type named like the file, else the class the
// compiler declares for a compact source file (named like the file, its
// body the top-level code without a declaration), else the first type.
// The parts get CR LF line ends: in a text without any CR LF, each LF is
// written CR LF.  With tools from Bound() it reads and writes nothing but
// its arguments, so threads may run it at once on different texts.
// Returns the main type's kind; kNone when the text declares no type
// (package-info.java, module-info.java, only comments), in which case
// nothing is assigned.
JavaKind CutJavaText(JavaTextTools& tools, std::string_view sText, std::string_view sFileName,
                     const JavaSourceFields& out);
// The names CutJavaText gives a record of sText: its class name,
// superclass and package, assigned as CutJavaText assigns them to empty
// fields, and the main type's kind.  It copies no part and reads no text
// after the main type's "{" when that type is named like the file: the
// road of a scan that only lists its classes.
struct JavaNames {
  String sClassName;
  String sSuperClass;
  String sPackage;
};
JavaKind CutJavaNames(std::string_view sText, std::string_view sFileName, JavaNames& out);
// The same parse of a text the caller gives up: the body, most of a file,
// is made in the text's memory when that has room for it (JavaCutRoom),
// instead of in a copy.  sText is left empty or as it was.
JavaKind CutJavaText(JavaTextTools& tools, String&& sText, std::string_view sFileName, const JavaSourceFields& out);

// The memory CutJavaText needs to make the body of sText in sText's own
// memory: the text's size and, when its LF bytes are to be written CR LF,
// one byte for each of them.  (The declaration line the body starts with
// is at most three bytes longer than the declaration, so it fits in the
// place of the text before the body's "{" unless the declaration is the
// text's very start.)
size_t JavaCutRoom(std::string_view sText);

}  // namespace qv
