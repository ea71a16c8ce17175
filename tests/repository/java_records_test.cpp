// SPDX-License-Identifier: Apache-2.0
#include "repository/java_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "repository/directories.h"
#include "repository/java_repository.h"
#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

using test::HostFixture;

constexpr const char* kApplet1 =
    "/* Applet1 */\n"
    "package demo;\n"
    "import java.applet.Applet;\n"
    "import java.awt.*;\n"
    "/** The first applet. */\n"
    "public class Applet1 extends Applet {\n"
    "  int nCount;\n"
    "}\n"
    "// end\n";

class JavaRecordsTest : public HostFixture {
 protected:
  DynArray<VC_JavaClass>& Classes() { return JavaClassArray(*module_); }
  JavaRepositoryVars& Repo() { return RepositoryVars(*module_); }
};

TEST_F(JavaRecordsTest, SetJavaFileCreatesTheRecordAndGetJavaFileInfoReturnsIt) {
  Module& m = *module_;
  VC_JavaFile& oFile = JavaFileInstance(m);
  oFile.SetJavaFile(m, 3, "A.java", "C:\\src");

  EXPECT_EQ(Classes().Count(), 4);
  EXPECT_EQ(Classes()[3].sFileName, "A.java");
  EXPECT_EQ(Classes()[3].sDirectory, "C:\\src");
  EXPECT_EQ(Classes()[2].sFileName, "");
  EXPECT_EQ(m.G().glb_sFile.Count(), 4);
  EXPECT_EQ(m.G().glb_sFile[3], "A.java");
  EXPECT_EQ(oFile.nIndex, Number(3));

  String sFile = "old", sDirectory = "old";
  oFile.GetJavaFileInfo(m, sFile, sDirectory);
  EXPECT_EQ(sFile, "A.java");
  EXPECT_EQ(sDirectory, "C:\\src");
}

TEST_F(JavaRecordsTest, ClearJavaFilesEmptiesTheFileListsAndTheModel) {
  Module& m = *module_;
  VC_JavaFile oFile;
  oFile.SetJavaFile(m, 1, "A.java", "d");
  m.G().glb_sClass.At(0) = "A";
  oFile.ClearJavaFiles(m);
  EXPECT_TRUE(m.G().glb_sFile.Empty());
  EXPECT_TRUE(m.G().glb_sClass.Empty());
  EXPECT_TRUE(Classes().Empty());
}

TEST_F(JavaRecordsTest, ClearClassEmptiesTheListsAndKeepsTheTexts) {
  VC_JavaClass r;
  r.sClassName = "A";
  r.sHeader = "/* h */";
  r.bSkipSave = 1;
  r.sImport.At(0) = "x.Y";
  r.aSpare1.At(0) = "s1";
  r.aSpare2.At(1) = "s2";
  r.aMethods.At(1).sBody = "{}";
  r.aVariables.At(0).sValue1 = "v";

  r.ClearClass(*module_);
  EXPECT_TRUE(r.sImport.Empty());
  EXPECT_TRUE(r.aSpare1.Empty());
  EXPECT_TRUE(r.aSpare2.Empty());
  EXPECT_TRUE(r.aMethods.Empty());
  EXPECT_TRUE(r.aVariables.Empty());
  EXPECT_EQ(r.sClassName, "A");
  EXPECT_EQ(r.sHeader, "/* h */");
  EXPECT_EQ(r.bSkipSave, Number(1));
}

TEST_F(JavaRecordsTest, ParseSourceFileFillsTheRecordAndTheRepositoryLists) {
  Module& m = *module_;
  dir_.Write("src/Applet1.java", kApplet1);
  VC_JavaFile oFile;
  oFile.SetJavaFile(m, 2, "Applet1.java", Win("src"));
  VC_JavaClass& r = Classes().At(2);

  r.ParseSourceFile(m, 2);
  EXPECT_EQ(r.sClassName, "Applet1");
  EXPECT_EQ(r.sSuperClass, "Applet");
  EXPECT_EQ(r.sPackage, "demo");
  EXPECT_EQ(r.sImport.Items(), (std::vector<String>{"java.applet.Applet", "java.awt.*"}));
  EXPECT_EQ(r.sDescription, "/** The first applet. */");
  const String& sBody = r.aMethods[1].sBody;
  EXPECT_NE(sBody.find("public class Applet1 extends Applet"), String::npos);
  EXPECT_NE(sBody.find("int nCount;"), String::npos);
  EXPECT_EQ(sBody.back(), '}');
  EXPECT_TRUE(r.aMethods[0].sBody.empty());

  EXPECT_EQ(Repo().cv_sClassName[2], "Applet1");
  EXPECT_EQ(Repo().cv_sSuperClass[2], "Applet");
  EXPECT_EQ(Repo().cv_sClassName.Count(), 3);
  EXPECT_TRUE(Repo().cv_sClassKey.Empty());
  EXPECT_EQ(Repo().cv_nClassCount, Number(0));
}

TEST_F(JavaRecordsTest, ParseSourceFileOfAMissingFileKeepsTheTextsAndEmptiesTheBody) {
  Module& m = *module_;
  VC_JavaClass& r = Classes().At(1);
  r.sDirectory = Win("nowhere");
  r.sFileName = "Gone.java";
  r.sClassName = "Kept";
  r.sSuperClass = "Base";
  r.aMethods.At(1).sBody = "old body";

  r.ParseSourceFile(m, 1);
  EXPECT_EQ(r.sClassName, "Kept");
  EXPECT_EQ(r.aMethods[1].sBody, "");
  EXPECT_EQ(Repo().cv_sClassName[1], "Kept");
  EXPECT_EQ(Repo().cv_sSuperClass[1], "Base");
}

TEST_F(JavaRecordsTest, FindClassAndFindSubClassesFollowTheFirstMatch) {
  Module& m = *module_;
  Repo().cv_sClassName.Assign({"A", "B", "C", "B", "E", "F"});
  Repo().cv_sSuperClass.Assign({"Object", "A", "X", "Object", "A", "X"});
  VC_JavaRepository repo;

  EXPECT_EQ(repo.FindClass(m, "B"), Number(1));
  EXPECT_EQ(repo.FindClass(m, "F"), Number(5));
  EXPECT_EQ(repo.FindClass(m, "Z"), Number(-1));

  DynArray<Number> aIndexes;
  EXPECT_EQ(repo.FindSubClasses(m, "X", aIndexes), Number(2));
  EXPECT_EQ(aIndexes.Items(), (std::vector<Number>{Number(2), Number(5)}));

  aIndexes.Items() = {Number(7), Number(8), Number(9)};
  EXPECT_EQ(repo.FindSubClasses(m, "A", aIndexes), Number(2));
  EXPECT_EQ(aIndexes.Items(), (std::vector<Number>{Number(1), Number(4), Number(9)}));

  EXPECT_EQ(repo.FindSubClasses(m, "Nobody", aIndexes), Number(0));
  EXPECT_EQ(aIndexes.Items(), (std::vector<Number>{Number(1), Number(4), Number(9)}));
}

TEST_F(JavaRecordsTest, TheRoadOfOneClassFromRootToRepositoryLookup) {
  Module& m = *module_;
  dir_.Write("src/demo/Applet1.java", kApplet1);
  dir_.Write("src/demo/Zeta.java", "/* z */\npublic class Zeta extends Applet1 {\n}\n");
  dir_.Write("lib/Base.java", "/* b */\npublic class Base {\n}\n");

  VC_Directories& oDirs = DirectoriesInstance(m);
  oDirs.InitDirectories(m);
  oDirs.SetRootDirectories(m, Win("src") + ";" + Win("lib"));
  ASSERT_EQ(oDirs.GetJavaFileCount(m), Number(3));

  VC_JavaFile& oFile = JavaFileInstance(m);
  VC_JavaRepository repo;
  for (int n = 0; n < 3; ++n) {
    oFile.SetJavaFile(m, n, oDirs.GetJavaFile(m, n), oDirs.GetDirectory(m, n));
    Classes().At(n).ParseSourceFile(m, n);
  }

  // Sorted by file name: Applet1, Base, Zeta.
  EXPECT_EQ(Classes()[0].sDirectory, Win("src/demo"));
  EXPECT_EQ(repo.FindClass(m, "Applet1"), Number(0));
  EXPECT_EQ(repo.FindClass(m, "Base"), Number(1));
  EXPECT_EQ(repo.FindClass(m, "Zeta"), Number(2));
  EXPECT_EQ(Classes()[1].sSuperClass, "Object");
  DynArray<Number> aIndexes;
  EXPECT_EQ(repo.FindSubClasses(m, "Applet1", aIndexes), Number(1));
  EXPECT_EQ(aIndexes[0], Number(2));

  String sFile, sDirectory;
  oFile.GetJavaFileInfo(m, sFile, sDirectory);
  EXPECT_EQ(sFile, "Zeta.java");
  EXPECT_EQ(m.G().glb_sFile.Items(), (std::vector<String>{"Applet1.java", "Base.java", "Zeta.java"}));
}

}  // namespace
}  // namespace qv
