// SPDX-License-Identifier: Apache-2.0
// The top level of a Java compilation unit as the compiler reads it: the
// package statement, the imports and the top-level type declarations, with
// where each stands.  Built on the lexical pass (source/java_lexer.h), so
// that nothing in a comment or a literal is taken for code; the bodies of
// the types are skipped, not read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "source/java_lexer.h"

namespace qv {

// What a top-level type declaration declares.  A record is written as
// "record", an annotation type as "@interface".
enum class JavaKind { kNone, kClass, kInterface, kEnum, kRecord, kAnnotation };

// A package or import statement: from its keyword through its ";", and the
// name it states ("java.util.List", "static java.lang.Math.max",
// "java.util.*", "module java.base").
struct JavaStatement {
  size_t nStart = 0;
  size_t nEnd = 0;
  std::string sName;
  // The comments within the statement, [begin, end) each.
  std::vector<std::pair<size_t, size_t>> aComments;
};

struct JavaTypeDeclaration {
  JavaKind eKind = JavaKind::kNone;
  std::string sName;                      // as Java reads it: unicode escapes translated
  std::string sExtends;                   // the first name after "extends", dotted, without type arguments
  size_t nStart = 0;                      // its first annotation or modifier
  size_t nName = 0;                       // its name
  size_t nOpen = std::string_view::npos;  // its body's "{"
  size_t nEnd = 0;                        // after its body's "}"
  // The comments between nStart and nOpen, [begin, end) each.
  std::vector<std::pair<size_t, size_t>> aComments;
};

struct JavaOutline {
  bool bPackage = false;
  JavaStatement package;
  std::vector<JavaStatement> aImports;
  std::vector<JavaTypeDeclaration> aTypes;
  // Where the first top-level code stands that is no package or import
  // statement (a type, a module declaration, a stray ";"); npos when none.
  size_t nFirstOther = std::string_view::npos;
};

// The outline of sText, read with its line feeds as eLineFeeds says
// (source/java_lexer.h).
JavaOutline OutlineJava(std::string_view sText, JavaLineFeeds eLineFeeds = JavaLineFeeds::kAsWritten);

}  // namespace qv
