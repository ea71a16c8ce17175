// SPDX-License-Identifier: Apache-2.0
// The repository files read and written on real files, the class lookups,
// and a class's road from source to repository and back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/convert.h"
#include "core/rt_string.h"
#include "core/window_messages.h"
#include "repository/directories.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/repository_format.h"
#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

// Runs the test in the temporary directory, where "jbclass.txt" is looked for.
class RepositoryFilesTest : public test::HostFixture {
 protected:
  RepositoryFilesTest() : oldCwd_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_.Path());
    Module& m = *module_;
    m.G().sElementDelimiter = "|";
    m.G().sCRLFToken = "~";
  }
  ~RepositoryFilesTest() override { std::filesystem::current_path(oldCwd_); }

  DynArray<VC_JavaClass>& Classes() { return JavaClassArray(*module_); }
  JavaRepositoryVars& Repo() { return RepositoryVars(*module_); }
  std::vector<int64_t> ProgressMessages() {
    std::vector<int64_t> a;
    for (const auto& sent : host_->Windows().Sent()) {
      if (sent.nMessage == kMsgRepositoryLoadProgress && sent.hWnd == host_->Windows().Context().hWndMDI &&
          sent.nwParam == Number(0)) {
        a.push_back(sent.nlParam.AsInt64());
      }
    }
    return a;
  }

  VC_JavaRepository repo_;

 private:
  std::filesystem::path oldCwd_;
};

TEST_F(RepositoryFilesTest, ReadClassFileFillsRecordsListsAndKeysAndReportsProgress) {
  Module& m = *module_;
  const std::string sLong(40000, 'x');  // longer than any line limit
  dir_.Write("jbclass.txt",
             "Applet|Applet1|Applet1.java|C:\\src|demo| /* a~b */ |foot|doc|java.applet.Applet~java.awt.*~|"
             "C:\\src\\Applet1.med|extra|2026-12-07-09.30.00.000000|\r\n"
             " Object | Base |Base.java|C:\\src||||||||\r\n"
             "Base|Leaf|Leaf.java|C:\\lib||" +
                 sLong + "|\r\n");
  Classes().At(2).dtStamp = RtStrToDateTime("2000-01-01-00.00.00.000000");

  EXPECT_EQ(repo_.ReadClassFile(m, "jbclass.txt", "|"), Number(3));
  EXPECT_EQ(Repo().cv_nClassCount, Number(3));
  EXPECT_EQ(ProgressMessages(), (std::vector<int64_t>{1, 2, 3}));

  const VC_JavaClass& r = Classes()[0];
  EXPECT_EQ(r.sSuperClass, "Applet");
  EXPECT_EQ(r.sClassName, "Applet1");
  EXPECT_EQ(r.sPackage, "demo");
  EXPECT_EQ(r.sHeader, "/* a\r\r\nb */");
  EXPECT_EQ(r.sImport.Items(), (std::vector<String>{"java.applet.Applet", "java.awt.*"}));
  EXPECT_EQ(r.sMethodFile, "C:\\src\\Applet1.med");
  EXPECT_EQ(r.sExtra, "extra");
  EXPECT_EQ(RtDateTimeToStr(r.dtStamp), "2026-12-07-09.30.00.000000");
  EXPECT_EQ(Classes()[1].sClassName, "Base");  // trimmed
  EXPECT_EQ(Classes()[1].sSuperClass, "Object");
  EXPECT_EQ(Classes()[2].sHeader, sLong);                                          // read whole
  EXPECT_EQ(RtDateTimeToStr(Classes()[2].dtStamp), "2000-01-01-00.00.00.000000");  // no field 11: kept
  EXPECT_EQ(Repo().cv_sClassKey[0], "Applet1,Applet,0");
  EXPECT_EQ(Repo().cv_sClassKey[2], "Leaf,Base,2");
  EXPECT_EQ(repo_.FindClass(m, "Leaf"), Number(2));

  // A file that cannot be opened reads nothing and marks the repository unloaded.
  EXPECT_EQ(repo_.ReadClassFile(m, "missing.txt", "|"), Number(0));
  EXPECT_EQ(Repo().cv_nClassCount, Number(0));
  EXPECT_EQ(Classes()[0].sClassName, "Applet1");  // nothing is emptied
}

TEST_F(RepositoryFilesTest, LoadRepositoryReadsOnceUntilInitRepository) {
  Module& m = *module_;
  dir_.Write("jbclass.txt", "Object|A||||||||||\r\n");
  repo_.LoadRepository(m);
  dir_.Write("jbclass.txt", "Object|B||||||||||\r\nObject|C||||||||||\r\n");
  repo_.LoadRepository(m);
  EXPECT_EQ(Classes()[0].sClassName, "A");
  EXPECT_EQ(Repo().cv_nClassCount, Number(1));

  repo_.InitRepository(m);
  EXPECT_EQ(repo_.FindClass(m, "A"), Number(-1));
  EXPECT_TRUE(Repo().cv_sClassKey.Empty());
  repo_.LoadRepository(m);
  EXPECT_EQ(Classes()[1].sClassName, "C");
  EXPECT_EQ(Repo().cv_nClassCount, Number(2));
}

TEST_F(RepositoryFilesTest, MethodAndVariableFilesReadBackWhatWasWritten) {
  Module& m = *module_;
  VC_JavaClass& r = Classes().At(0);
  r.sDirectory = Win("");
  r.sDirectory.pop_back();
  r.sFileName = "Applet1.java";
  r.sClassName = "Applet1";
  r.aMethods.At(1).sName = "init";
  r.aMethods.At(1).sComment = "/** Starts. */";
  // A body with the source's own line breaks must stay one line of the file.
  r.aMethods.At(1).sBody = "  void init() {\n    go();\n  }\n";
  r.aMethods.At(2).sName = "paint";
  r.aMethods.At(2).sBody = "  void paint() {}\r\r\n";
  r.aMethods.At(4).sName = "later";  // behind a method without a name, which is written too
  r.aVariables.At(0) = VC_JavaClassVariable();
  r.aVariables.At(0).sValue1 = "nCount";
  r.aVariables.At(0).sValue2 = " int ";
  r.aVariables.At(0).sValue6 = "0";

  EXPECT_EQ(repo_.WriteMethodFile(m, "", 0, "|"), Number(5));
  EXPECT_EQ(repo_.WriteVariableFile(m, "Applet1.var", 0, "|"), Number(1));
  EXPECT_EQ(dir_.Read("Applet1.var"), "nCount| int ||||0|\r\n");
  // The default method file is the one the class list file points to.
  EXPECT_EQ(repo_.WriteClassFile(m, "jbclass.txt", "|"), Number(1));
  EXPECT_EQ(r.sMethodFile, Win("Applet1.med"));
  EXPECT_TRUE(std::filesystem::exists(dir_.Path() / "Applet1.med"));
  EXPECT_EQ(m.WaitCursorDepth(), Number(0));
  EXPECT_TRUE(host_->Windows().WaitCursorCalls().front());
  EXPECT_FALSE(host_->Windows().WaitCursorShown());

  Module& fresh = FreshModule();
  fresh.G().sCRLFToken = "~";
  VC_JavaRepository repo;
  EXPECT_EQ(repo.ReadMethodFile(fresh, Win("Applet1.med"), 0, "|"), Number(5));
  EXPECT_EQ(repo.ReadVariableFile(fresh, "Applet1.var", 0, "|"), Number(1));
  const VC_JavaClass& back = JavaClassArray(fresh)[0];
  EXPECT_EQ(back.aMethods[1].sName, "init");
  EXPECT_EQ(back.aMethods[1].sComment, "/** Starts. */");
  EXPECT_EQ(back.aMethods[1].sBody, "  void init() {\r\r\n    go();\r\r\n  }\r\r\n");
  EXPECT_EQ(back.aMethods[2].sBody, "  void paint() {}\r\r\n");
  EXPECT_EQ(back.aMethods.Count(), 5);
  EXPECT_EQ(back.aMethods[4].sName, "later");
  EXPECT_EQ(back.aVariables[0].sValue2, " int ");
  EXPECT_EQ(back.aVariables[0].sValue6, "0");

  // Nothing to write: an empty file, and the documented counts.
  JavaClassArray(fresh).At(1);
  EXPECT_EQ(repo.WriteMethodFile(fresh, "empty.med", 1, "|"), Number(1));
  EXPECT_EQ(repo.WriteVariableFile(fresh, "empty.var", 1, "|"), Number(0));
  EXPECT_EQ(dir_.Read("empty.med"), "");
  EXPECT_EQ(repo.ReadMethodFile(fresh, "missing.med", 1, "|"), Number(1));
  EXPECT_EQ(repo.ReadVariableFile(fresh, "missing.var", 1, "|"), Number(0));
}

TEST_F(RepositoryFilesTest, WriteClassFileWritesTwelveFieldsForEachSavedRecordOnly) {
  Module& m = *module_;
  Classes().At(0).sClassName = "A";
  Classes().At(0).sSuperClass = "B";
  Classes().At(1).sSuperClass = "NoName";
  Classes().At(1).sMethodFile = "kept";
  Classes().At(2).sClassName = "Skipped";
  Classes().At(2).bSkipSave = Number(1);
  VC_JavaClass& c = Classes().At(3);
  c.sClassName = "C";
  c.sSuperClass = "A";
  c.sFileName = "C.java";
  c.sDirectory = "D:\\src";
  c.sHeader = "x\r\r\ny";
  c.sFooter = "a\r\nb";
  c.sImport.Items() = {"a", "", "b"};

  EXPECT_EQ(repo_.WriteClassFile(m, "jbclass.txt", "|"), Number(4));
  EXPECT_EQ(dir_.Read("jbclass.txt"),
            "B|A||||||||\\.med|||\r\n"
            "A|C|C.java|D:\\src||x~y|a\r~b||a~b~|D:\\src\\C.med|||\r\n");
  EXPECT_EQ(Classes()[0].bSaved, Number(1));
  EXPECT_EQ(Classes()[1].sMethodFile, "kept");
  EXPECT_FALSE(Classes()[1].bSaved.IsTrue());
  EXPECT_FALSE(Classes()[2].bSaved.IsTrue());
  EXPECT_EQ(Classes()[2].sMethodFile, "");
}

TEST_F(RepositoryFilesTest, ARecordThatCannotBeStoredLeavesTheOldFileAndTheRecords) {
  Module& m = *module_;
  dir_.Write("jbclass.txt", "old content\r\n");
  Classes().At(0).sClassName = "Good";
  Classes().At(1).sClassName = "Bad";
  Classes().At(1).sDescription = "/** a | b */";

  EXPECT_EQ(repo_.WriteClassFile(m, "jbclass.txt", "|"), Number(kWriteFailed));
  EXPECT_EQ(dir_.Read("jbclass.txt"), "old content\r\n");
  EXPECT_NE(Repo().sWriteError.find("class Bad: documentation comment contains the delimiter"), std::string::npos)
      << Repo().sWriteError;
  EXPECT_FALSE(Classes()[0].bSaved.IsTrue());
  EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "jbclass.txt.qvnew"));
  EXPECT_EQ(m.WaitCursorDepth(), Number(0));

  Classes().At(1).sDescription = "/** a ~ b */";
  EXPECT_EQ(repo_.WriteClassFile(m, "jbclass.txt", "|"), Number(kWriteFailed));
  EXPECT_NE(Repo().sWriteError.find("line-break token"), std::string::npos);

  Classes().At(1).sDescription = "/** fine */";
  EXPECT_EQ(repo_.WriteClassFile(m, "jbclass.txt", "|"), Number(2));
  EXPECT_EQ(Repo().sWriteError, "");
}

// Every line end of a written source, the joins and the texts' own (CR CR
// LF as loaded, CR LF or LF as parsed), is one kind: the replaced file's,
// else CR LF.
TEST_F(RepositoryFilesTest, WriteSourceFileWritesOneKindOfLineEnd) {
  Module& m = *module_;
  VC_JavaClass& r = Classes().At(0);
  r.sDirectory = dir_.Str();
  r.sFileName = "A.java";
  r.sHeader = "/* head */";
  r.sPackage = "demo";
  r.sImport.Items() = {"a", "", "b"};
  r.sDescription = "/** doc */\r\r\n";
  r.aMethods.At(1).sBody = "class A {\r\n  int n;\n}";
  r.sFooter = "// foot";
  ASSERT_TRUE(r.WriteSourceFile(m));
  const std::string sCrLf =
      "/* head */\r\npackage demo;\r\n\r\nimport a;\r\nimport b;\r\n\r\n/** doc */\r\nclass A {\r\n  int "
      "n;\r\n}\r\n\r\n// foot";
  EXPECT_EQ(dir_.Read("A.java"), sCrLf);
  // A file with LF line ends is replaced by one with LF line ends; a file
  // that mixes them by one with CR LF.
  dir_.Write("A.java", "old\nfile\n");
  ASSERT_TRUE(r.WriteSourceFile(m));
  std::string sLf = sCrLf;
  for (size_t i = sLf.find('\r'); i != std::string::npos; i = sLf.find('\r', i)) sLf.erase(i, 1);
  EXPECT_EQ(dir_.Read("A.java"), sLf);
  dir_.Write("A.java", "old\r\nfile\n");
  ASSERT_TRUE(r.WriteSourceFile(m));
  EXPECT_EQ(dir_.Read("A.java"), sCrLf);
  ASSERT_TRUE(r.WriteSourceFileTo(m, Win("B.java"), "\n"));
  EXPECT_EQ(dir_.Read("B.java"), sLf);

  // No package: the first import follows the heading comment directly.
  // No body: the documentation comment goes too.
  r.sPackage = "";
  r.aMethods.At(1).sBody = "";
  ASSERT_TRUE(r.WriteSourceFile(m));
  EXPECT_EQ(dir_.Read("A.java"), "/* head */import a;\r\nimport b;\r\n\r\n\r\n// foot");

  // A directory that does not exist: FALSE, and the reason.
  r.sDirectory = Win("missing");
  EXPECT_FALSE(r.WriteSourceFile(m));
  EXPECT_FALSE(Repo().sWriteError.empty());
  EXPECT_EQ(m.WaitCursorDepth(), Number(0));

  // A file name that leaves the directory: FALSE, and nothing written.
  std::filesystem::create_directories(dir_.Path() / "sub");
  r.sDirectory = Win("sub");
  r.sFileName = "..\\Up.java";
  EXPECT_FALSE(r.WriteSourceFile(m));
  EXPECT_EQ(Repo().sWriteError, "file name \"..\\Up.java\" holds a path separator");
  EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "Up.java"));
}

TEST_F(RepositoryFilesTest, AClassGoesFromSourceToRepositoryAndBack) {
  Module& m = *module_;
  const std::string sExamples = std::string(QV_SOURCE_DIR) + "/examples";
  VC_Directories& oDirs = DirectoriesInstance(m);
  oDirs.InitDirectories(m);
  oDirs.SetRootDirectories(m, sExamples);
  const int64_t n = oDirs.GetJavaFileCount(m).AsInt64();
  ASSERT_GE(n, 5);
  for (int64_t i = 0; i < n; ++i) {
    JavaFileInstance(m).SetJavaFile(m, i, oDirs.GetJavaFile(m, i), oDirs.GetDirectory(m, i));
    Classes().At(i).ParseSourceFile(m, i);
    // The parser leaves the whole body in method 1 without a name.
    Classes().At(i).aMethods.At(1).sName = Classes()[i].sClassName;
  }
  // The method files go to the repository directory, not into the sources.
  VC_JavaRepository repo;
  repo.SaveRepository(m);
  for (int64_t i = 0; i < n; ++i) {
    const std::string sMethods = "m" + std::to_string(i) + ".med";
    ASSERT_EQ(repo.WriteMethodFile(m, sMethods, i, "|"), Number(2)) << Repo().sWriteError;
  }
  const DynArray<VC_JavaClass> aBefore = Classes();

  Module& fresh = FreshModule();
  fresh.G().sElementDelimiter = "|";
  fresh.G().sCRLFToken = "~";
  repo.LoadRepository(fresh);
  ASSERT_EQ(RepositoryVars(fresh).cv_nClassCount, Number(n));
  // Line breaks come back as CR CR LF (a CR LF of the source as CR CR CR
  // LF); nothing else changes, blanks at the ends of a field included.
  auto Stored = [&fresh](const String& s) {
    return format::DecodeText(fresh, format::EncodeText(fresh, s, "\x01"), "\x01");
  };
  for (int64_t i = 0; i < n; ++i) {
    ASSERT_EQ(repo.ReadMethodFile(fresh, "m" + std::to_string(i) + ".med", i, "|"), Number(2));
    const VC_JavaClass& a = aBefore[i];
    const VC_JavaClass& b = JavaClassArray(fresh)[i];
    EXPECT_EQ(b.sClassName, a.sClassName);
    EXPECT_EQ(b.sSuperClass, a.sSuperClass);
    EXPECT_EQ(b.sPackage, a.sPackage);
    EXPECT_EQ(b.sFileName, a.sFileName);
    EXPECT_EQ(b.sDirectory, a.sDirectory);
    EXPECT_EQ(b.sImport.Items(), a.sImport.Items());
    EXPECT_EQ(b.sHeader, Stored(a.sHeader));
    EXPECT_EQ(b.sDescription, Stored(a.sDescription));
    EXPECT_EQ(b.sFooter, Stored(a.sFooter));
    EXPECT_EQ(b.aMethods[1].sBody, Stored(a.aMethods[1].sBody));
    EXPECT_EQ(b.sMethodFile, a.sMethodFile);
    int64_t nFirst = 0;
    while (aBefore[nFirst].sClassName != a.sClassName) ++nFirst;
    EXPECT_EQ(repo.FindClass(fresh, a.sClassName), Number(nFirst));
  }
  // A loaded repository saved again keeps its form: a second load and save
  // gives the same file byte for byte.
  repo.SaveRepository(fresh);
  const std::string sSecond = dir_.Read("jbclass.txt");
  {
    test::HostFixture::FreshModule();
    Module& third = *module_;
    third.G().sElementDelimiter = "|";
    third.G().sCRLFToken = "~";
    repo.LoadRepository(third);
    repo.SaveRepository(third);
    EXPECT_EQ(dir_.Read("jbclass.txt"), sSecond);
    for (int64_t i = 0; i < n; ++i) repo.ReadMethodFile(third, "m" + std::to_string(i) + ".med", i, "|");
  }
  Module& again = *module_;

  // Written back as source and parsed again: the same class.
  std::filesystem::create_directory(dir_.Path() / "out");
  for (int64_t i = 0; i < n; ++i) {
    VC_JavaClass& b = JavaClassArray(again).At(i);
    if (b.sClassName.empty()) continue;
    b.sDirectory = Win("out");
    b.sFileName = "C" + std::to_string(i) + ".java";
    ASSERT_TRUE(b.WriteSourceFile(again)) << RepositoryVars(again).sWriteError;
    VC_JavaClass reparsed;
    reparsed.sDirectory = b.sDirectory;
    reparsed.sFileName = b.sFileName;
    reparsed.ParseSourceFile(again, 100 + i);
    EXPECT_EQ(reparsed.sClassName, b.sClassName);
    EXPECT_EQ(reparsed.sSuperClass, b.sSuperClass);
    EXPECT_EQ(reparsed.sPackage, b.sPackage);
    EXPECT_EQ(reparsed.sImport.Items(), b.sImport.Items());
  }
}

// The index behind FindClass and FindSubClasses against a plain walk of
// the lists, over random changes.
TEST(IndexedNames, AnswersLikeAWalkOfTheListAfterAnyChanges) {
  std::mt19937 rng(11);
  IndexedNames oNames;
  std::vector<String> aPlain;
  const std::vector<String> aPool = {"", "A", "B", "C", "Object"};
  for (int nRound = 0; nRound < 5000; ++nRound) {
    const int64_t nAt = static_cast<int64_t>(rng() % 40);
    const String& s = aPool[rng() % aPool.size()];
    if (rng() % 200 == 0) {
      oNames.Clear();
      aPlain.clear();
      continue;
    }
    oNames.Set(nAt, s);
    if (static_cast<size_t>(nAt) >= aPlain.size()) aPlain.resize(static_cast<size_t>(nAt) + 1);
    aPlain[static_cast<size_t>(nAt)] = s;
    for (const String& sName : aPool) {
      std::vector<int64_t> aWalk;
      for (size_t i = 0; i < aPlain.size(); ++i) {
        if (aPlain[i] == sName) aWalk.push_back(static_cast<int64_t>(i));
      }
      ASSERT_EQ(oNames.Positions(sName), aWalk);
      ASSERT_EQ(oNames.First(sName), aWalk.empty() ? -1 : aWalk.front());
    }
    ASSERT_EQ(oNames.Items().Items(), aPlain);
  }
}

}  // namespace
}  // namespace qv
