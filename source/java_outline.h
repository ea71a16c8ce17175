// SPDX-License-Identifier: Apache-2.0
// The top level of a Java compilation unit as the compiler reads it: the
// package statement, the imports and the top-level type declarations, with
// where each stands.  Built on the lexical pass (source/java_lexer.h), so
// that nothing in a comment or a literal is taken for code; the bodies of
// the types are skipped, not read.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "source/java_lexer.h"

namespace qv {

// What a top-level type declaration declares.  A new kind is a new value
// here and a new row of kJavaKinds.
enum class JavaKind { kNone, kClass, kInterface, kEnum, kRecord, kAnnotation };

// One kind of type declaration: everything the library knows of it apart
// from the grammar around its keyword.
struct JavaKindRow {
  JavaKind eKind;
  std::string_view sName;     // as records, tags and JSON name it: "annotation"
  std::string_view sKeyword;  // what declares it: "interface", "@interface" ("@", then the word)
  bool bContextual;           // a keyword only where it declares a type, before the type's name ("record")
  std::string_view sCounted;  // a count of them in a scan's summary: "annotation types"
};

// The kinds, in the order of JavaKind from kClass on.
inline constexpr std::array<JavaKindRow, 5> kJavaKinds = {{
    {JavaKind::kClass, "class", "class", false, "classes"},
    {JavaKind::kInterface, "interface", "interface", false, "interfaces"},
    {JavaKind::kEnum, "enum", "enum", false, "enums"},
    {JavaKind::kRecord, "record", "record", true, "records"},
    {JavaKind::kAnnotation, "annotation", "@interface", false, "annotation types"},
}};
// JavaKind values run from kNone (0) to the last row's kind.
inline constexpr size_t kJavaKindCount = kJavaKinds.size() + 1;

// The row of a kind; null for kNone.
constexpr const JavaKindRow* JavaKindRowOf(JavaKind eKind) {
  const auto n = static_cast<size_t>(eKind);
  return n >= 1 && n < kJavaKindCount ? &kJavaKinds[n - 1] : nullptr;
}

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
  // Where the first method declared outside any type starts; npos when
  // none.  Such a method makes the file a compact source file: its
  // top-level code is the body of a class the compiler declares for it,
  // named like the file.
  size_t nFirstMethod = std::string_view::npos;
  // Where the first top-level declaration starts, stray text included.
  size_t nFirstDeclaration = std::string_view::npos;
};

// The outline of sText, read with its line feeds as eLineFeeds says
// (source/java_lexer.h).
JavaOutline OutlineJava(std::string_view sText, JavaLineFeeds eLineFeeds = JavaLineFeeds::kAsWritten);

// The outline of sText up to the first top-level type named sName: that
// type is the last one read, its body not skipped (its nEnd is nOpen + 1),
// and nothing after its "{" is read.  Without such a type, the whole
// outline.  A reader that needs only the names of the type named like its
// file then does not read the bodies.
JavaOutline OutlineJavaUpTo(std::string_view sText, JavaLineFeeds eLineFeeds, std::string_view sName);

namespace detail {
constexpr bool KindsInOrder() {
  for (size_t i = 0; i < kJavaKinds.size(); ++i) {
    if (static_cast<size_t>(kJavaKinds[i].eKind) != i + 1) return false;
  }
  return true;
}
}  // namespace detail
static_assert(detail::KindsInOrder(), "kJavaKinds holds the kinds in the order of JavaKind, from kClass on");

}  // namespace qv
