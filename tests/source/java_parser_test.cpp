// SPDX-License-Identifier: Apache-2.0
#include "source/java_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fault_files.h"
#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

using test::HostFixture;

// The receive parameters of one call.  Each starts with a marker so that a
// parameter the parse leaves alone is told from one it assigns.
struct Parsed {
  Number nResult = Number::Null();
  String sClassName = "<class>";
  String sSuperClass = "<super>";
  String sPackage = "<package>";
  String sHeader = "<header>";
  String sDescription = "<description>";
  String sFooter = "<footer>";
  String sBody = "<body>";
  DynArray<String> aImport;

  std::vector<String> Imports() const { return aImport.Items(); }
};

Number ParseWith(Module& m, std::string_view sPath, Parsed& p) {
  DynArray<String> a1, a2, a3, a4, a5, a6;
  return ParseJavaSource(m, sPath, p.sClassName, p.sSuperClass, p.sPackage, p.sHeader, p.sDescription, p.sFooter,
                         p.sBody, p.aImport, a1, a2, a3, a4, a5, a6);
}

class ParseJavaSourceTest : public HostFixture {
 protected:
  Parsed Parse(const std::string& sContent, Parsed p = {}, const std::string& sName = "A.java") {
    const std::string sPath = dir_.Write("src/" + sName, sContent);
    p.nResult = ParseWith(*module_, sPath, p);
    return p;
  }
  Parsed ParseWithEmptySuper(const std::string& sContent) {
    Parsed p;
    p.sSuperClass.clear();
    return Parse(sContent, p);
  }
  void ExpectUntouched(const Parsed& p) {
    const Parsed fresh;
    EXPECT_EQ(p.sClassName, fresh.sClassName);
    EXPECT_EQ(p.sSuperClass, fresh.sSuperClass);
    EXPECT_EQ(p.sPackage, fresh.sPackage);
    EXPECT_EQ(p.sHeader, fresh.sHeader);
    EXPECT_EQ(p.sDescription, fresh.sDescription);
    EXPECT_EQ(p.sFooter, fresh.sFooter);
    EXPECT_EQ(p.sBody, fresh.sBody);
    EXPECT_EQ(p.aImport.Count(), 0);
  }
};

const std::string kExample =
    "/* head */\r\npackage p;\r\nimport x.Y;\r\nimport z.*;\r\n/** doc */\r\n"
    "public class A extends b.c.B {\r\n  int n;\r\n}\r\n// tail\r\n";

TEST_F(ParseJavaSourceTest, CutsTheExampleFileIntoEveryPiece) {
  const Parsed p = Parse(kExample);
  EXPECT_EQ(p.nResult, Number(1));
  EXPECT_EQ(p.sHeader, "/* head */");
  EXPECT_EQ(p.sPackage, "p");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"x.Y", "z.*"}));
  EXPECT_EQ(p.sDescription, "/** doc */");
  EXPECT_EQ(p.sClassName, "A");
  EXPECT_EQ(p.sSuperClass, "B");
  EXPECT_EQ(p.sBody, "\r\npublic class A extends b.c.B {\r\n  int n;\r\n}");
  EXPECT_EQ(p.sFooter, "\r\n// tail\r\n");
  EXPECT_TRUE(host_->Windows().Boxes().empty());
}

TEST_F(ParseJavaSourceTest, TextBetweenThePartsGoesToThePartBesideIt) {
  // Every comment before the package statement heads the file; comments
  // between and after the statements go in front of the class, in order.
  Parsed p = Parse(
      "/* licence 1 */\r\n\r\n/* licence 2 */\r\n// note\r\npackage p;\r\n/* after package */\r\nimport x.Y;\r\n"
      "// among imports\r\nimport z.*;\r\n\r\n/* plain */\r\n/** doc */\r\npublic class A extends b.c.B {\r\n}\r\n");
  EXPECT_EQ(p.sHeader, "/* licence 1 */\r\n\r\n/* licence 2 */\r\n// note\r\n");
  EXPECT_EQ(p.sPackage, "p");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"x.Y", "z.*"}));
  EXPECT_EQ(p.sDescription, "/* after package */\r\n// among imports\r\n/* plain */\r\n/** doc */");

  // Without package and imports the heading comment runs up to the
  // documentation comment in front of the class.
  p = Parse("// lead\r\n/* more */\r\n/** doc */\r\npublic class A {\r\n}\r\n");
  EXPECT_EQ(p.sHeader, "// lead\r\n/* more */");
  EXPECT_EQ(p.sDescription, "/** doc */");
  p = Parse("package p;\r\n/** doc */\r\npublic class A {\r\n}\r\n");
  EXPECT_EQ(p.sHeader, "<header>");
  EXPECT_EQ(p.sDescription, "/** doc */");

  // A line comment right before the declaration, and comments within it,
  // go in front of the class whole; the declaration keeps its annotation.
  p = Parse(
      "package p;\r\n// height of the view after layout occurs.\r\n@Deprecated // note\r\n"
      "public class A /* c */ extends B // d\r\n{\r\n}\r\n");
  EXPECT_EQ(p.sDescription, "// height of the view after layout occurs.\r\n// note\r\n/* c */\r\n// d");
  EXPECT_EQ(p.sBody, "\r\n@Deprecated  public class A  extends B {\r\n}");
  EXPECT_EQ(p.sSuperClass, "B");
}

TEST_F(ParseJavaSourceTest, WordsInCommentsAndLiteralsAreNoCode) {
  // "class" and "interface" in comments, keywords in package segments and
  // import names, imports in comments, a declaration in a text block.
  Parsed p = ParseWithEmptySuper(
      "/* This class implements the interface for */\r\npackage com.x.classfile.interfaces;\r\n"
      "//import a.B;\r\nimport a.classes.C;\r\n/** Example: <pre>import q.R;</pre> */\r\n"
      "@Doc(\"public class Foo extends Bar {\")\r\npublic class A {\r\n  String s = \"\"\"\r\n"
      "    class Ghost extends Bar {\r\n    \"\"\";\r\n  char c = '}';\r\n}\r\n");
  EXPECT_EQ(p.sPackage, "com.x.classfile.interfaces");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"a.classes.C"}));
  EXPECT_EQ(p.sClassName, "A");
  EXPECT_EQ(p.sSuperClass, "Object");
  EXPECT_EQ(p.sHeader, "/* This class implements the interface for */");
  EXPECT_TRUE(p.sBody.starts_with("\r\n@Doc(\"public class Foo extends Bar {\") public class A {")) << p.sBody;

  // A file whose only "class" is in a comment declares nothing.
  ExpectUntouched(Parse("package p;\r\n/* class Ghost { } */\r\n"));
  ExpectUntouched(Parse("/** Doc of the package. */\r\npackage p;\r\n", {}, "package-info.java"));
  ExpectUntouched(Parse("module m { requires java.base; }\r\n", {}, "module-info.java"));
}

TEST_F(ParseJavaSourceTest, TheMainTypeIsTheOneNamedLikeTheFile) {
  // A helper type before the public one stays in front of the class.
  Parsed p = Parse(
      "package p;\r\nclass Helper extends H {\r\n}\r\n/** two */\r\npublic class TwoTypes extends T {\r\n  "
      "class Inner {}\r\n}\r\n",
      {}, "TwoTypes.java");
  EXPECT_EQ(p.sClassName, "TwoTypes");
  EXPECT_EQ(p.sSuperClass, "T");
  EXPECT_EQ(p.sDescription, "class Helper extends H {\r\n}\r\n/** two */");
  EXPECT_EQ(p.sBody, "\r\npublic class TwoTypes extends T {\r\n  class Inner {}\r\n}");

  // Named like no type: the first top-level type; later types stay in the
  // body.
  const std::string sSealed =
      "package p;\r\npublic sealed interface Shape permits Sq, Ci {}\r\n"
      "record Sq(int a) implements Shape {}\r\nnon-sealed class Ci implements Shape {}\r\n";
  p = ParseWithEmptySuper(sSealed);
  EXPECT_EQ(p.sClassName, "Shape");
  EXPECT_EQ(DeclarationKind(p.sBody), JavaKind::kInterface);
  EXPECT_TRUE(p.sBody.ends_with("}\r\nnon-sealed class Ci implements Shape {}")) << p.sBody;
  p = Parse(sSealed, {}, "Ci.java");
  EXPECT_EQ(p.sClassName, "Ci");
  EXPECT_EQ(p.sDescription, "public sealed interface Shape permits Sq, Ci {}\r\nrecord Sq(int a) implements Shape {}");
  EXPECT_EQ(p.sBody, "\r\nnon-sealed class Ci implements Shape {}");
}

TEST_F(ParseJavaSourceTest, InterfacesExtendTheirFirstNameAsWritten) {
  Parsed p = ParseWithEmptySuper("/* a class-like thing */\r\npublic interface I extends a.b.J, K {\r\n}\r\n");
  EXPECT_EQ(p.sClassName, "I");
  EXPECT_EQ(p.sSuperClass, "a.b.J");
  p = ParseWithEmptySuper("package p;\r\npublic interface I {\r\n}\r\n");
  EXPECT_EQ(p.sSuperClass, "Object");
}

TEST_F(ParseJavaSourceTest, DeclarationsWithCommentsTabsAndOddBlanks) {
  for (const char* sDecl : {"class X // package-private\r\n    extends Y {", "public class  X extends Y {",
                            "public\tclass\tX\textends\tY\t{", "class X extends Y /* c */ {",
                            "class X extends Y // c\r\n{", "class X<T extends Z<T>>\r\n    extends Y<T> {"}) {
    SCOPED_TRACE(sDecl);
    const Parsed p = Parse(std::string("package p;\r\n") + sDecl + "\r\n}\r\n", {}, "X.java");
    EXPECT_EQ(p.sClassName, "X");
    EXPECT_EQ(p.sSuperClass, "Y");
    EXPECT_EQ(DeclarationKind(p.sBody), JavaKind::kClass);
    EXPECT_EQ(p.sBody.find("/*"), std::string::npos);
  }
  // A declaration over several lines becomes one line.
  const Parsed p = Parse("package p;\r\npublic class A\r\n    extends B\r\n{\r\n}\r\n");
  EXPECT_EQ(p.sBody, "\r\npublic class A     extends B {\r\n}");
}

TEST_F(ParseJavaSourceTest, WithoutACommentBeforeTheKeywordThePreambleIsStillSearched) {
  const Parsed p = Parse(
      "package p;\r\nimport x.Y;\r\n\r\n@Deprecated\r\npublic class A extends B {\r\n  /* inner */ int n; // "
      "note\r\n}\r\n");
  EXPECT_EQ(p.nResult, Number(1));
  EXPECT_EQ(p.sClassName, "A");
  EXPECT_EQ(p.sSuperClass, "B");
  EXPECT_EQ(p.sBody, "\r\n@Deprecated public class A extends B {\r\n  /* inner */ int n; // note\r\n}");
  EXPECT_EQ(p.sFooter, "\r\n");
  EXPECT_EQ(p.sPackage, "p");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"x.Y"}));
  // The heading comment keeps its own rule: no comment first, none taken.
  EXPECT_EQ(p.sHeader, "<header>");
  EXPECT_EQ(p.sDescription, "<description>");
}

TEST_F(ParseJavaSourceTest, TypeParametersAreNotPartOfNames) {
  Parsed p = ParseWithEmptySuper("package p;\npublic class ArrayList<E> extends AbstractList<E> {\n}\n");
  EXPECT_EQ(p.sClassName, "ArrayList");
  EXPECT_EQ(p.sSuperClass, "AbstractList");
  p = ParseWithEmptySuper("package p;\nclass V14<R, P> extends V9<R, P> {\n}\n");
  EXPECT_EQ(p.sClassName, "V14");
  EXPECT_EQ(p.sSuperClass, "V9");
  // A dotted superclass keeps its last component after the cut.
  p = ParseWithEmptySuper("package p;\nclass M<K, V> extends java.util.Map<K, java.util.List<V>> {\n}\n");
  EXPECT_EQ(p.sSuperClass, "Map");
  // An "extends" inside the type parameters bounds a parameter.
  p = ParseWithEmptySuper("package p;\nclass Sorted<T extends Comparable<T>> {\n}\n");
  EXPECT_EQ(p.sClassName, "Sorted");
  EXPECT_EQ(p.sSuperClass, "Object");
  p = ParseWithEmptySuper("package p;\nclass S<K extends Comparable<? super K>, V> extends Base<K> {\n}\n");
  EXPECT_EQ(p.sSuperClass, "Base");
  // An interface extending several names gets the first, without its comma.
  p = ParseWithEmptySuper("package p;\npublic interface I extends J, K {\n}\n");
  EXPECT_EQ(p.sClassName, "I");
  EXPECT_EQ(p.sSuperClass, "J");
}

TEST_F(ParseJavaSourceTest, EnumsRecordsAndAnnotationTypes) {
  struct Case {
    const char* sText;
    const char* sName;
    const char* sSuper;
    JavaKind eKind;
  };
  const Case aCases[] = {
      {"package p;\n\n/** States. */\npublic enum State implements S { A, B }\n", "State", "Enum", JavaKind::kEnum},
      {"package p;\npublic record Point<T>(T x, T y) {\n}\n", "Point", "Record", JavaKind::kRecord},
      {"package p;\n@Target({TYPE, METHOD})\npublic @interface Tag {\n  String value();\n}\n", "Tag", "Object",
       JavaKind::kAnnotation},
      // "class" only in a comment and a class literal.
      {"package p;\n/** Not a class. */\nenum E { X; Object o = E.class; }\n", "E", "Enum", JavaKind::kEnum},
      // The words "interface" and "class" inside comments.
      {"package p;\n/** An interface, not a class. */\npublic interface Shape {\n  /** area, a class */\n  double "
       "a();\n}\n",
       "Shape", "Object", JavaKind::kInterface},
  };
  for (const Case& c : aCases) {
    SCOPED_TRACE(c.sText);
    const Parsed p = ParseWithEmptySuper(c.sText);
    EXPECT_EQ(p.sClassName, c.sName);
    EXPECT_EQ(p.sSuperClass, c.sSuper);
    EXPECT_EQ(p.sPackage, "p");
    EXPECT_EQ(DeclarationKind(p.sBody), c.eKind);
    // The kind also reads back from a body loaded from the repository.
    std::string sLoaded(p.sBody);
    EXPECT_EQ(DeclarationKind("\r" + sLoaded), c.eKind);
  }
  // A text without any declaration keyword gives nothing.
  ExpectUntouched(Parse("package p;\n// an enum of nothing\n"));
}

TEST_F(ParseJavaSourceTest, PackageAndImportsWrittenOverSeveralLines) {
  // A dotted name written over lines is kept on one line.
  Parsed p = Parse(
      "/* h */\npackage com.\n  acme;\nimport java.util.\n    List;\nimport static a.\n  B.*;\nclass A {\n}\n");
  EXPECT_EQ(p.sPackage, "com.acme");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"java.util.List", "static a.B.*"}));
  // The word in a comment, with text and line breaks up to the next ";", is
  // no statement: the search goes on to the real one.
  p = Parse(
      "/*\n * Used within this package.\n */\n// How to import this\n// and more;\npackage q;\n"
      "import x.Y;\nclass A {\n}\n");
  EXPECT_EQ(p.sPackage, "q");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"x.Y"}));
}

TEST_F(ParseJavaSourceTest, SuperclassDefaultsAndTheObjectClass) {
  Parsed p = Parse("package p;\r\npublic class Object {\r\n}\r\n");
  EXPECT_EQ(p.sClassName, "Object");
  EXPECT_EQ(p.sSuperClass, "nill");

  p = ParseWithEmptySuper("package p;\r\npublic class A {\r\n}\r\n");
  EXPECT_EQ(p.sSuperClass, "Object");
  // A superclass passed in is kept when the class extends nothing.
  p = Parse("package p;\r\npublic class A {\r\n}\r\n");
  EXPECT_EQ(p.sSuperClass, "<super>");

  // "implements" is not "extends".
  p = ParseWithEmptySuper("package p;\r\npublic class A implements I {\r\n}\r\n");
  EXPECT_EQ(p.sSuperClass, "Object");
  p = ParseWithEmptySuper("package p;\r\npublic class A extends B implements I {\r\n}\r\n");
  EXPECT_EQ(p.sSuperClass, "B");
}

TEST_F(ParseJavaSourceTest, LineEndsAreNormalisedOnlyInTextsWithoutCrLf) {
  Parsed p = Parse("package p;\npublic class A {\n  int n;\n}\n");
  EXPECT_EQ(p.sBody, "\r\npublic class A {\r\n  int n;\r\n}");
  EXPECT_EQ(p.sFooter, "\r\n");

  p = Parse("package p;\r\npublic class A {\n  int n;\n}\n");
  EXPECT_EQ(p.sBody, "\r\npublic class A {\n  int n;\n}");
  EXPECT_EQ(p.sFooter, "\n");

  // A CR that no LF follows, even as the last byte, makes no CR LF.
  p = Parse("public class A {\r int n;\n}\r");
  EXPECT_EQ(p.sBody, "\r\npublic class A {\r int n;\r\n}");
  EXPECT_EQ(p.sFooter, "\r");

  // Lines of every length from 0 to 40, LFs side by side among them.
  std::string sLines;
  std::string sExpected;
  for (int n = 0; n <= 40; ++n) {
    sLines += std::string(static_cast<size_t>(n), 'x') + (n % 7 == 0 ? "\n\n" : "\n");
    sExpected += std::string(static_cast<size_t>(n), 'x') + (n % 7 == 0 ? "\r\n\r\n" : "\r\n");
  }
  p = Parse("public class A {\n" + sLines + "}");
  EXPECT_EQ(p.sBody, "\r\npublic class A {\r\n" + sExpected + "}");

  // More LFs in a row than a byte counts.
  std::string sManyCrLf;
  for (int n = 0; n < 5000; ++n) sManyCrLf += "\r\n";
  p = Parse("public class A {" + std::string(5000, '\n') + "}");
  EXPECT_EQ(p.sBody, "\r\npublic class A {" + sManyCrLf + "}");
}

TEST_F(ParseJavaSourceTest, MissingBracesAndDelimiters) {
  const std::string sNoClose = "package p;\r\npublic class A {\r\n  int n;\r\n";
  Parsed p = Parse(sNoClose);
  EXPECT_EQ(p.sFooter, sNoClose);
  EXPECT_EQ(p.sBody, "\r\npublic class A <body>");
  EXPECT_EQ(p.sClassName, "A");

  // No "{" after the name: no type is declared.
  ExpectUntouched(Parse("package p;\r\npublic class A\r\n}\r\n"));

  // A text that begins with its declaration, or with a ";" right before it.
  for (const char* sText : {"public class A {\r\n}\r\n", ";public class A {\r\n}\r\n"}) {
    p = Parse(sText);
    EXPECT_EQ(p.sBody, "\r\npublic class A {\r\n}") << sText;
    EXPECT_EQ(p.sClassName, "A") << sText;
  }
}

TEST_F(ParseJavaSourceTest, ImportsAsTheCompilerReadsThem) {
  // The first import of a file that begins with one; names keep their
  // spelling when written on one line.
  Parsed p = Parse(
      "import a.B;\r\nimport static c.D.e;\r\nimport  u.V ;\r\nimport module java.base;\r\n"
      "import w\r\n  .X;\r\npublic class A {\r\n}\r\n");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"a.B", "static c.D.e", " u.V ", "module java.base", "w.X"}));
  // An import without its ";" is none, and no later import is lost for it.
  p = Parse("/* h */\r\nimport x.Y;\r\nimport a.B\r\nimport c.D;\r\npublic class A {\r\n}\r\n");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"x.Y", "c.D"}));
  EXPECT_EQ(p.sClassName, "A");
  // Comments within or after a statement go in front of the class.
  p = Parse("package p; // the package\r\nimport a./* c */B;\r\npublic class A {\r\n}\r\n");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"a.B"}));
  EXPECT_EQ(p.sDescription, "// the package\r\n/* c */");
  // Unicode escapes are read as Java reads them, in names and keywords.
  p = Parse("package p;\r\nimport \\u0061.B;\r\npublic class \\u0055nicode \\u0065xtends B {}\r\n");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"a.B"}));
  EXPECT_EQ(p.sClassName, "Unicode");
  EXPECT_EQ(p.sSuperClass, "B");
}

TEST_F(ParseJavaSourceTest, EscapesAndLineEndsAsTheCompilerReadsThem) {
  // Escapes close a comment, end a line comment and close a literal where
  // they stand; after a backslash "\u" starts none.  The parts keep the
  // text as written.
  Parsed p = Parse(
      "/* h \\u002a/ package p;\n// \\u000a import a.B;\n// \\\\u000a import c.D;\n"
      "@X(\"class B {\\u0022) class A {\n}\n");
  EXPECT_EQ(p.sHeader, "/* h \\u002a/");
  EXPECT_EQ(p.sPackage, "p");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"a.B"}));
  EXPECT_EQ(p.sDescription, "// \\u000a\r\n// \\\\u000a import c.D;");
  EXPECT_EQ(p.sBody, "\r\n@X(\"class B {\\u0022) class A {\r\n}");
  // A text without CR LF is read as if each LF were CR LF: a backslash at
  // a literal's line end escapes the CR, the literal ends, and the rest of
  // the line opens another, which hides the class.  In a text block the
  // backslash joins the lines.
  ExpectUntouched(Parse("@X(\"a\\\n\") class A {}\n"));
  ExpectUntouched(Parse("@X(\"a\\\r\n\") class A {}\r\n"));
  EXPECT_EQ(Parse("@X(\"\"\"\na\\\n\"\"\") class A {}\n").sClassName, "A");
}

TEST_F(ParseJavaSourceTest, UnreadableFilesReturnZeroAndAssignNothing) {
  Parsed p;
  EXPECT_EQ(ParseWith(*module_, dir_.Str() + "/missing.java", p), Number(0));
  ExpectUntouched(p);

  // No "class" and no "interface": read, but nothing assigned.
  p = Parse("package p;\r\nimport x.Y;\r\n");
  EXPECT_EQ(p.nResult, Number(1));
  ExpectUntouched(p);

  // The file exists but cannot be opened for reading.
  const std::string sPath = dir_.Write("B.java", kExample);
  FaultInjectingFileSystem oFaulty(host_->Files());
  Host host = host_->GetHost();
  host.pFiles = &oFaulty;
  Module m(host);
  m.Attach();
  oFaulty.FailNth(FaultOp::kOpenAny, 2);
  p = Parsed{};
  EXPECT_EQ(ParseWith(m, sPath, p), Number(0));
  ExpectUntouched(p);
  EXPECT_EQ(ParseWith(m, sPath, p), Number(1));
  EXPECT_EQ(p.sClassName, "A");
}

// Reads return only half of what was asked for, as when the file shrinks
// between the size query and the read.
class ShortReadFiles final : public FileSystemWrapper {
 public:
  explicit ShortReadFiles(FileSystem& oBase) : FileSystemWrapper(oBase) {}
  int64_t Read(FileHandle h, std::string& s, int64_t n) override { return Base().Read(h, s, n / 2); }
};

TEST_F(ParseJavaSourceTest, AShortReadIsAFailure) {
  const std::string sPath = dir_.Write("B.java", kExample);
  ShortReadFiles oShort(host_->Files());
  Host host = host_->GetHost();
  host.pFiles = &oShort;
  Module m(host);
  m.Attach();
  Parsed p;
  EXPECT_EQ(ParseWith(m, sPath, p), Number(0));
  ExpectUntouched(p);
}

TEST_F(ParseJavaSourceTest, ThousandsOfKeywordsInCommentsAreSkipped) {
  std::string s = "/* head */\r\npackage p.q;\r\n/*\r\n";
  for (int i = 0; i < 5000; ++i) s += " * class X" + std::to_string(i) + " import y.Z; subclass\r\n";
  s += " */\r\n";
  for (int i = 0; i < 2000; ++i) s += "/* import c.D" + std::to_string(i) + "; class E */\r\n";
  s += "import a.B;\r\n/** doc */\r\npublic class Real extends base.Base {\r\n  /* class in body */\r\n}\r\n";
  const Parsed p = Parse(s);
  EXPECT_EQ(p.sHeader, "/* head */");
  EXPECT_EQ(p.sPackage, "p.q");
  EXPECT_EQ(p.Imports(), (std::vector<String>{"a.B"}));
  EXPECT_TRUE(p.sDescription.starts_with("/*\r\n * class X0 import y.Z; subclass"));
  EXPECT_TRUE(p.sDescription.ends_with("/* import c.D1999; class E */\r\n/** doc */"));
  EXPECT_EQ(p.sClassName, "Real");
  EXPECT_EQ(p.sSuperClass, "Base");
  EXPECT_EQ(p.sBody, "\r\npublic class Real extends base.Base {\r\n  /* class in body */\r\n}");
}

}  // namespace
}  // namespace qv
