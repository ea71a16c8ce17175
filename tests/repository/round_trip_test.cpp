// SPDX-License-Identifier: Apache-2.0
// What the repository loads it saves and loads again unchanged, and a class
// parsed from source comes back from the repository field for field.  Each
// case here is an input that once came back changed or lost data.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/repository_format.h"
#include "support/printers.h"
#include "support/record_compare.h"
#include "support/test_host.h"

namespace qv {
namespace {

constexpr std::string_view kDelimiter = "\x1f";
constexpr std::string_view kToken = "\x1e";

class RoundTripTest : public test::HostFixture {
 protected:
  RoundTripTest() : oldCwd_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_.Path());
    Separators(*module_);
  }
  ~RoundTripTest() override { std::filesystem::current_path(oldCwd_); }

  static void Separators(Module& m) {
    m.G().sElementDelimiter = kDelimiter;
    m.G().sCRLFToken = kToken;
  }
  // Loads jbclass.txt into a fresh Module.
  Module& Load() {
    Module& m = FreshModule();
    Separators(m);
    VC_JavaRepository().LoadRepository(m);
    return m;
  }
  // Saves what m holds and loads it into a fresh Module; every record must
  // come back as it was.
  void ExpectSavedAndLoadedUnchanged(Module& m) {
    ASSERT_NE(VC_JavaRepository().WriteClassFile(m, format::kClassListFile, kDelimiter), Number(kWriteFailed))
        << RepositoryVars(m).sWriteError;
    const DynArray<VC_JavaClass> aBefore = JavaClassArray(m);  // with the method file the save set
    Module& again = Load();
    const DynArray<VC_JavaClass>& aAfter = JavaClassArray(again);
    ASSERT_EQ(aAfter.Count(), aBefore.Count());
    for (int64_t i = 0; i < aBefore.Count(); ++i) {
      EXPECT_EQ(test::RecordDifference(aBefore[i], aAfter[i], false), "") << "record " << i;
    }
  }

 private:
  std::filesystem::path oldCwd_;
};

TEST_F(RoundTripTest, AnEmptyImportBeforeOthersCostsNoImportAtTheNextSave) {
  dir_.Write("jbclass.txt",
             "Object\x1f"
             "A\x1f\x1f\x1f\x1f\x1f\x1f\x1f\x1e"
             "a\x1e\x1f\n");
  EXPECT_EQ(JavaClassArray(Load())[0].sImport.Items(), (std::vector<String>{"a"}));
  ExpectSavedAndLoadedUnchanged(*module_);
  // A gap the parser leaves in memory ("import ;") costs the later ones
  // nothing either.
  Module& m = *module_;  // the Module the check loaded last
  JavaClassArray(m).At(0).sImport.Items() = {"x", "", "y"};
  ASSERT_EQ(VC_JavaRepository().WriteClassFile(m, format::kClassListFile, kDelimiter), Number(1));
  EXPECT_EQ(JavaClassArray(Load())[0].sImport.Items(), (std::vector<String>{"x", "y"}));
}

TEST_F(RoundTripTest, FieldsWithBlanksAtTheirEdgesReadBackExactlyAndOldLinesStillTrim) {
  Module& m = *module_;
  VC_JavaClass& r = JavaClassArray(m).At(0);
  r.sClassName = "A";
  r.sSuperClass = "Object";
  r.sFooter = " // end\r\r\n";
  r.sHeader = "\r\r\n";
  r.sImport.Items() = {" x.Y", "z "};
  r.sExtra = "\t";
  ExpectSavedAndLoadedUnchanged(m);
  const std::string sFile = dir_.Read("jbclass.txt");
  EXPECT_NE(sFile.find(std::string(format::kExactMarker) + "\x1f\r\n"), std::string::npos) << sFile;

  // A line without blanks at its edges is written as it always was, and an
  // old line with padded fields still reads trimmed.
  dir_.Write("jbclass.txt", "Object\x1f  A \x1f\x1f\x1f p \x1f\x1f \r\x1e \x1f\x1f x\x1e\x1f\x1f\x1f\x1f\r\n");
  const VC_JavaClass& old = JavaClassArray(Load())[0];
  EXPECT_EQ(old.sClassName, "A");
  EXPECT_EQ(old.sPackage, "p");
  EXPECT_EQ(old.sFooter, "\r\r\n");
  EXPECT_EQ(old.sImport.Items(), (std::vector<String>{"x"}));
}

TEST_F(RoundTripTest, MethodAndVariableRowsWithBlanksAtTheirEdgesReadBackExactly) {
  Module& m = *module_;
  VC_JavaClass& r = JavaClassArray(m).At(0);
  r.aMethods.At(1).sName = " run";
  r.aMethods.At(1).sComment = "// c\r\n";
  r.aMethods.At(1).sBody = " {}\r\n";
  r.aVariables.At(0).sValue1 = " int";
  r.aVariables.At(0).sValue6 = "x ";
  VC_JavaRepository repo;
  ASSERT_EQ(repo.WriteMethodFile(m, "a.med", Number(0), "|"), Number(2)) << RepositoryVars(m).sWriteError;
  ASSERT_EQ(repo.WriteVariableFile(m, "a.var", Number(0), "|"), Number(1)) << RepositoryVars(m).sWriteError;
  Module& fresh = FreshModule();
  Separators(fresh);
  EXPECT_EQ(repo.ReadMethodFile(fresh, "a.med", Number(0), "|"), Number(2));
  EXPECT_EQ(repo.ReadVariableFile(fresh, "a.var", Number(0), "|"), Number(1));
  const VC_JavaClass& b = JavaClassArray(fresh)[0];
  EXPECT_EQ(b.aMethods[1].sName, " run");
  EXPECT_EQ(b.aMethods[1].sComment, "// c\r\r\r\n");
  EXPECT_EQ(b.aMethods[1].sBody, " {}\r\r\r\n");
  EXPECT_EQ(b.aVariables[0].sValue1, " int");
  EXPECT_EQ(b.aVariables[0].sValue6, "x ");
}

TEST_F(RoundTripTest, ARowWithoutANameCostsNoRowBehindIt) {
  dir_.Write("a.med", "m1|||\n|c|b|\nm3|||\n");
  dir_.Write("a.var", "v1||||||\n|x|||||\nv3||||||\n");
  Module& m = *module_;
  VC_JavaRepository repo;
  repo.ReadMethodFile(m, "a.med", Number(0), "|");
  repo.ReadVariableFile(m, "a.var", Number(0), "|");
  ASSERT_EQ(repo.WriteMethodFile(m, "b.med", Number(0), "|"), Number(4));
  ASSERT_EQ(repo.WriteVariableFile(m, "b.var", Number(0), "|"), Number(3));
  EXPECT_EQ(dir_.Read("b.med"), "m1|||\r\n|c|b|\r\nm3|||\r\n");
  const VC_JavaClass before = JavaClassArray(m)[0];
  Module& fresh = FreshModule();
  repo.ReadMethodFile(fresh, "b.med", Number(0), "|");
  repo.ReadVariableFile(fresh, "b.var", Number(0), "|");
  EXPECT_EQ(test::RecordDifference(before, JavaClassArray(fresh)[0]), "");
}

TEST_F(RoundTripTest, AValueThatStraddlesASelfOverlappingDelimiterIsRefusedNotChanged) {
  // With the delimiter "||" a value ending in "|" cannot be stored: the
  // reader would split one character early.  The save says so and keeps the
  // old file.
  dir_.Write("a.var", "v| int||| |0|\n");
  dir_.Write("b.var", "old\n");
  Module& m = *module_;
  VC_JavaRepository repo;
  ASSERT_EQ(repo.ReadVariableFile(m, "a.var", Number(0), "||"), Number(1));
  EXPECT_EQ(JavaClassArray(m)[0].aVariables[0].sValue2, "| |0|");
  EXPECT_EQ(repo.WriteVariableFile(m, "b.var", Number(0), "||"), Number(kWriteFailed));
  EXPECT_EQ(RepositoryVars(m).sWriteError, "class variable v| int: the fields would not read back with this delimiter");
  EXPECT_EQ(dir_.Read("b.var"), "old\n");
}

TEST_F(RoundTripTest, WithTheSameTextForDelimiterAndTokenImportsAreRefusedNotLost) {
  // The profile's defaults are "*" for both: an import list, which always
  // holds the token, would split into fields.  The save says so.
  dir_.Write("jbclass.txt", "Object*A*********\n");
  Module& m = *module_;
  m.G().sCRLFToken = "*";
  VC_JavaRepository repo;
  ASSERT_EQ(repo.ReadClassFile(m, "jbclass.txt", "*"), Number(1));
  JavaClassArray(m).At(0).sImport.Items() = {"java.util.List"};
  EXPECT_EQ(repo.WriteClassFile(m, "jbclass.txt", "*"), Number(kWriteFailed));
  EXPECT_EQ(RepositoryVars(m).sWriteError, "class A: imports contain the delimiter");
  EXPECT_EQ(dir_.Read("jbclass.txt"), "Object*A*********\n");
  // Separators that overlap each other: an import "|" followed by the token
  // "|~" would hold the delimiter "||".
  m.G().sCRLFToken = "|~";
  JavaClassArray(m).At(0).sImport.Items() = {"x", "|"};
  EXPECT_EQ(repo.WriteClassFile(m, "jbclass.txt", "||"), Number(kWriteFailed));
  EXPECT_EQ(RepositoryVars(m).sWriteError, "class A: imports contain the delimiter");
}

TEST_F(RoundTripTest, ARecordReadOverAnOlderOneReplacesItsLists) {
  dir_.Write("jbclass.txt",
             "Object\x1f"
             "A\x1f\x1f\x1f\x1f\x1f\x1f\x1f"
             "a\x1e"
             "b\x1e"
             "c\x1e\x1f\x1f\x1f\x1f\n");
  dir_.Write("a.med", "m1|||\nm2|||\n");
  dir_.Write("a.var", "v1|||||||\nv2|||||||\n");
  Module& m = Load();
  VC_JavaRepository repo;
  repo.ReadMethodFile(m, "a.med", Number(0), "|");
  repo.ReadVariableFile(m, "a.var", Number(0), "|");
  JavaClassArray(m).At(0).sImport.Items() = {"a"};
  ASSERT_EQ(repo.WriteClassFile(m, format::kClassListFile, kDelimiter), Number(1));
  dir_.Write("a.med", "m1|||\n");
  dir_.Write("a.var", "");
  repo.InitRepository(m);
  repo.LoadRepository(m);
  repo.ReadMethodFile(m, "a.med", Number(0), "|");
  repo.ReadVariableFile(m, "a.var", Number(0), "|");
  const VC_JavaClass& r = JavaClassArray(m)[0];
  EXPECT_EQ(r.sImport.Items(), (std::vector<String>{"a"}));
  EXPECT_EQ(r.aMethods.Count(), 2);
  EXPECT_EQ(r.aVariables.Count(), 0);
  // A method file that cannot be opened leaves the list alone.
  repo.ReadMethodFile(m, "missing.med", Number(0), "|");
  EXPECT_EQ(JavaClassArray(m)[0].aMethods.Count(), 2);
}

// A Java file parsed, saved and loaded again.
class SourceRoundTripTest : public RoundTripTest {
 protected:
  // The record parsed from sSource, and the same record after a save and a load.
  void ExpectStoredWhole(const std::string& sSource) {
    dir_.Write("A.java", sSource);
    Module& m = *module_;
    JavaClassArray(m).At(0).sFileName = "A.java";
    JavaClassArray(m).At(0).sDirectory = Win("");
    JavaClassArray(m).At(0).ParseSourceFile(m, Number(0));
    // What the repository keeps of a parsed record: line breaks as CR CR LF.
    VC_JavaClass expected = JavaClassArray(m)[0];
    for (String* p : {&expected.sHeader, &expected.sFooter, &expected.sDescription}) {
      *p = format::DecodeText(m, format::EncodeText(m, *p, kToken), kToken);
    }
    expected.sMethodFile = format::MethodFilePath(expected.sDirectory, expected.sFileName);
    ASSERT_EQ(VC_JavaRepository().WriteClassFile(m, format::kClassListFile, kDelimiter), Number(1))
        << RepositoryVars(m).sWriteError;
    EXPECT_EQ(test::RecordDifference(expected, JavaClassArray(Load())[0], false), "") << sSource;
  }
};

TEST_F(SourceRoundTripTest, FootersAndImportsWithBlanksComeBackWhole) {
  ExpectStoredWhole("// c\nclass A {}\n");
  ExpectStoredWhole("// c\nclass A {\n} // end\n");
  ExpectStoredWhole("/* h */\npackage p;\nimport  x.Y;\nimport z;\n/** d */\nclass A extends B {}  \n");
  ExpectStoredWhole("// import ;\nimport a;\nclass A {}\n");
}

TEST_F(SourceRoundTripTest, ABareLineFeedInTheDeclarationIsABlank) {
  ExpectStoredWhole("// c\r\nclass A\n extends B {}\n");
  const VC_JavaClass& r = JavaClassArray(*module_)[0];
  EXPECT_EQ(r.sClassName, "A");
  EXPECT_EQ(r.sSuperClass, "B");
}

}  // namespace
}  // namespace qv
