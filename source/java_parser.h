// The Java source parser: cuts one Java source file into the pieces of a
// class record.  A text cutter, not a Java grammar: it finds keywords by
// plain substring search and decides by forward-looking comment tests.
#pragma once

#include <vector>

#include "core/module.h"
#include "core/toolkit.h"

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

// What a top-level type declaration declares.  A record is written as
// "record", an annotation type as "@interface".
enum class JavaKind { kNone, kClass, kInterface, kEnum, kRecord, kAnnotation };

// "class", "interface", "enum", "record", "annotation"; "" for kNone.
std::string_view JavaKindName(JavaKind eKind);

// The one-line declaration a class body starts with: its first line, up to
// the body's "{" (a "{" inside an annotation's parentheses, @Target({...}),
// is not the body's), without the blanks around it.  It is the source's
// declaration with every line break folded into one blank.
std::string_view DeclarationText(std::string_view sBody);

// The kind a class body declares, read from its one-line declaration
// (DeclarationText) by the rules the parser names the class by:
// the last word "class" or "interface", or, when there is neither, the last
// word "enum", "record" or "@interface".
JavaKind DeclarationKind(std::string_view sBody);

// Whether c may stand in a Java name: an ASCII letter or digit, '_', '$',
// or any byte of a non-ASCII character.
bool IsJavaNameByte(char c);

// ParseJavaSource's parse of a text already read: assigns what it finds to
// the fields of out, and appends every dotted class name that
// ParseJavaSource would show in a message box, in order, to aDottedNames.
// The parse reads the text with CR LF line ends: a text with none is
// converted into sSpare, whose memory a caller that parses many texts may
// keep for the next one.  With tools from Bound() it reads and writes
// nothing but its arguments, so threads may run it at once on different
// texts.  Returns the kind of the declaration it named the class by; kNone
// when it named none (the text holds no declaration it knows, or neither
// "class" nor "interface" nor a declaration keyword at all, in which case
// nothing is assigned).
JavaKind CutJavaText(JavaTextTools& tools, std::string_view sText, String& sSpare, const JavaSourceFields& out,
                     std::vector<String>& aDottedNames);

// Shows the message box that the parse shows for each dotted class name.
void ShowDottedNames(Module& m, const std::vector<String>& aDottedNames);

}  // namespace qv
