// The Java source parser: cuts one Java source file into the pieces of a
// class record.  A text cutter, not a Java grammar: it finds keywords by
// plain substring search and decides by forward-looking comment tests.
#pragma once

#include "frame/module.h"

namespace qv {

// Reads sFile and assigns, where it finds them, the class name, superclass,
// package, heading comment, documentation comment, footer, body and imports.
// A receive parameter that the parse does not find keeps the value passed in.
// The six trailing arrays are part of the exported parameter list and are not
// used.  Returns 1 when the file could be opened and read, 0 otherwise.
Number ParseJavaSource(Module& m, std::string_view sFile, String& sClassName, String& sSuperClass,
                       String& sPackage, String& sHeader, String& sDescription, String& sFooter, String& sBody,
                       DynArray<String>& sImport, DynArray<String>& aUnused1, DynArray<String>& aUnused2,
                       DynArray<String>& aUnused3, DynArray<String>& aUnused4, DynArray<String>& aUnused5,
                       DynArray<String>& aUnused6);

}  // namespace qv
