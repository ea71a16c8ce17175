// SPDX-License-Identifier: Apache-2.0
// Java as it is written today, end to end: a generated project whose files
// start with their package statement, with generics, an enum, a record, an
// annotation type, LF and CR LF files, saved and written back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "support/command.h"
#include "support/test_host.h"

namespace {

using qv::test::Has;

class ModernJava : public ::testing::Test {
 protected:
  qv::test::CommandOutput Run(const std::string& sArgs) {
    return qv::test::RunQuorvane(sArgs + " --profile-dir " + tmp_.Str() + "/profile", tmp_);
  }
  // The generated project: path below src/ -> text.
  std::map<std::string, std::string> Project() const {
    const std::map<std::string, std::string> aLf = {
        {"com/acme/App.java",
         "package com.acme;\n\nimport java.util.List;\nimport java.util.Map;\n\n@Deprecated\n"
         "public class App extends Base<Map<String, List<Integer>>> {\n  int n;\n}\n"},
        {"com/acme/Base.java", "package com.acme;\n\npublic abstract class Base<T> {\n  T value;\n}\n"},
        {"com/acme/Sorted.java",
         "package com.acme;\n\nclass Sorted<T extends Comparable<T>> extends java.util.AbstractList<T> {\n}\n"},
        {"com/acme/model/Point.java",
         "package com.acme.model;\n\nimport java.io.Serializable;\n\n"
         "public record Point(int x, int y) implements Serializable {\n}\n"},
        {"com/acme/model/Tag.java",
         "package com.acme.model;\n\nimport java.lang.annotation.Retention;\n\n"
         "@Retention(java.lang.annotation.RetentionPolicy.RUNTIME)\npublic @interface Tag {\n  String value();\n}\n"},
    };
    std::map<std::string, std::string> aFiles = aLf;
    // A compact source file: the class the compiler declares for it.
    aFiles["Hello.java"] =
        "import module java.base;\n\n/** Greets. */\nString greeting = \"Hello\";\n\nvoid main() {\n"
        "  IO.println(greeting);\n}\n";
    // CR LF files.
    aFiles["com/acme/model/Color.java"] = "package com.acme.model;\r\n\r\npublic enum Color {\r\n  RED, GREEN\r\n}\r\n";
    aFiles["com/acme/Shape.java"] =
        "package com.acme;\r\n\r\nimport java.io.Serializable;\r\n\r\npublic interface Shape<S> extends Serializable "
        "{\r\n  double area();\r\n}\r\n";
    return aFiles;
  }

  qv::test::TempDir tmp_;
};

std::string WithoutBlanks(std::string s) {
  s.erase(std::remove_if(s.begin(), s.end(), [](unsigned char c) { return std::isspace(c) != 0; }), s.end());
  return s;
}

// The line end a text uses, checked to be one kind throughout.
std::string OneLineEnd(const std::string& s) {
  const size_t nCrLf = static_cast<size_t>(std::count(s.begin(), s.end(), '\r'));
  const size_t nLf = static_cast<size_t>(std::count(s.begin(), s.end(), '\n'));
  if (nCrLf == 0) return "LF";
  return nCrLf == nLf && s.find("\r\r") == std::string::npos && s.find("\r\n") != std::string::npos ? "CRLF" : "mixed";
}

// scan --save, then write --all: each written file has the original's
// line ends and every line of the original (package and imports included);
// only blank lines and the declaration folded onto one line differ.
TEST_F(ModernJava, SavedAndWrittenBackKeepsEveryLineAndItsLineEnd) {
  const auto aFiles = Project();
  for (const auto& [sPath, sText] : aFiles) tmp_.Write("src/" + sPath, sText);
  const auto save = Run("scan --save --repo " + tmp_.Str() + "/repo " + tmp_.Str() + "/src");
  ASSERT_EQ(save.nStatus, 0) << save.sErr;
  EXPECT_TRUE(Has(save.sOut, "classes: 4\ninterfaces: 1\nenums: 1\nrecords: 1\nannotation types: 1\n")) << save.sOut;
  const auto all = Run("write --all --to " + tmp_.Str() + "/out --repo " + tmp_.Str() + "/repo");
  ASSERT_EQ(all.nStatus, 0) << all.sErr;
  for (const auto& [sPath, sText] : aFiles) {
    SCOPED_TRACE(sPath);
    const std::string sWritten = tmp_.Read("out/" + sPath);
    EXPECT_EQ(OneLineEnd(sWritten), OneLineEnd(sText));
    EXPECT_EQ(WithoutBlanks(sWritten), WithoutBlanks(sText)) << sWritten;
  }

  // The classes, their kinds and superclasses, read back from the repository.
  const auto tree = Run("tree Base --repo " + tmp_.Str() + "/repo");
  EXPECT_EQ(tree.sOut, "Base\n  App  (com.acme)\n") << tree.sErr;
  const std::map<std::string, std::pair<std::string, std::string>> aExpected = {
      {"App", {"class", "Base"}},      {"Sorted", {"class", "AbstractList"}},
      {"Point", {"record", "Record"}}, {"Tag", {"annotation", "Object"}},
      {"Color", {"enum", "Enum"}},     {"Shape", {"interface", "Serializable"}},
      {"Hello", {"class", "Object"}}};
  for (const auto& [sClass, kind] : aExpected) {
    const auto show = Run("show --json " + sClass + " --repo " + tmp_.Str() + "/repo");
    ASSERT_EQ(show.nStatus, 0) << sClass << show.sErr;
    const nlohmann::json o = nlohmann::json::parse(show.sOut);
    EXPECT_EQ(o["kind"], kind.first) << sClass;
    EXPECT_EQ(o["superClass"], kind.second) << sClass;
    // Line breaks read back as the parser gives them, one CR LF each.
    const std::string sBody = o["methods"][0]["body"];
    EXPECT_NE(sBody.find("\r\n"), std::string::npos) << sClass;
    EXPECT_EQ(sBody.find("\r\r"), std::string::npos) << sClass;
  }
}

}  // namespace
