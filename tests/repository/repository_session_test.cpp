// SPDX-License-Identifier: Apache-2.0
// The repository session over real files: the scan's kinds come from the
// parser, a save reports what it cannot store, a loaded repository's tree
// ends on a cycle of superclasses.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "repository/java_repository.h"
#include "repository/repository_session.h"
#include "support/fault_files.h"
#include "support/test_host.h"

namespace qv {
namespace {

class RepositorySessionTest : public test::HostFixture {
 protected:
  RepositorySessionTest() {
    host_->Files().SetWorkingDirectory(dir_.Str());
    Separators(*module_);
  }
  static void Separators(Module& m) {
    m.G().sElementDelimiter = "|";
    m.G().sCRLFToken = "~";
  }
  // Writes the sources below src/ and scans them.
  ScanReport Scan(const std::map<std::string, std::string>& aSources) {
    for (const auto& [sName, sText] : aSources) dir_.Write("src/" + sName, sText);
    return RepositorySession(*module_).Scan({Win("src")});
  }
  // A new Module that loads what was saved.
  RepositorySession Reloaded() {
    Module& m = FreshModule();
    Separators(m);
    RepositorySession repo(m);
    EXPECT_TRUE(repo.Load());
    return repo;
  }
};

TEST_F(RepositorySessionTest, EachKindComesFromTheParserAndIsCounted) {
  const ScanReport report = Scan({
      {"A.java", "package p;\n/** A class. */\npublic class A extends B {\n}\n"},
      {"I.java", "package p;\npublic interface I extends J {\n  void f();\n}\n"},
      {"E.java", "package p.q;\npublic enum E {\n  X, Y\n}\n"},
      {"R.java", "package p;\npublic record R(int x) implements I {\n}\n"},
      {"T.java", "package p;\n@Retention(RUNTIME)\npublic @interface T {\n  String value();\n}\n"},
      {"package-info.java", "package p;\n"},
  });
  std::map<std::string, JavaKind> aKinds;
  for (const ScannedFile& file : report.aFiles)
    aKinds[RepositorySession(*module_).Record(file.nIndex).sFileName] = file.eKind;
  const std::map<std::string, JavaKind> aWant = {
      {"A.java", JavaKind::kClass},  {"I.java", JavaKind::kInterface},  {"E.java", JavaKind::kEnum},
      {"R.java", JavaKind::kRecord}, {"T.java", JavaKind::kAnnotation}, {"package-info.java", JavaKind::kNone},
  };
  EXPECT_EQ(aKinds, aWant);
  // One file of each kind, counted under its kind.
  std::array<int64_t, kJavaKindCount> aCounts{};
  aCounts.fill(1);
  EXPECT_EQ(report.aKinds, aCounts);
  EXPECT_EQ(report.nPackages, 2);
  EXPECT_TRUE(report.aMissingRoots.empty());
}

TEST_F(RepositorySessionTest, ASaveReportsTheRecordItCannotStoreAndKeepsTheOthers) {
  Scan({
      {"Good.java", "package t;\npublic class Good {\n}\n"},
      {"Bad.java", "/* a | b */\npackage t;\npublic class Bad {\n}\n"},  // the delimiter in its heading comment
  });
  const SaveReport save = RepositorySession(*module_).Save();
  ASSERT_EQ(save.aRefused.size(), 1u);
  EXPECT_EQ(save.aRefused[0].sClassName, "Bad");
  EXPECT_EQ(save.aRefused[0].sPath, Win("src/Bad.java"));
  EXPECT_FALSE(save.aRefused[0].sWhy.empty());
  EXPECT_TRUE(save.sClassListError.empty());
  EXPECT_EQ(save.nSaved, 1);
  EXPECT_FALSE(save.Ok());

  RepositorySession repo = Reloaded();
  EXPECT_EQ(repo.ClassCount(), 1);
  EXPECT_LT(repo.Find("Bad").nAt, 0);
  const int64_t nGood = repo.Find("Good").nAt;
  ASSERT_GE(nGood, 0);
  EXPECT_TRUE(repo.ReadMethods(nGood).bOk);
  EXPECT_EQ(repo.Record(nGood).eKind, JavaKind::kClass);
}

// Every write, close, sync, link, rename and copy of a save fails in turn,
// once and from then on: afterwards the repository (the class list and
// every method file) is the old save or the new one, whole, no temporary
// file is left, and a save that did not put the new one in place says so.
TEST_F(RepositorySessionTest, ASaveFailingAtAnyStepLeavesTheOldRepositoryOrTheNewOne) {
  namespace fs = std::filesystem;
  const auto Sources = [this](const std::string& v) {
    for (const std::string sName : {"A", "B", "q/C"}) {
      const std::string sClass = sName.substr(sName.rfind('/') + 1);
      dir_.Write("src/" + sName + ".java", "/* " + v + " */\npackage p;\nimport java.util." + v + ";\npublic class " +
                                               sClass + " extends " + v + " {\n  int " + v + ";\n}\n");
    }
  };
  // The repository's files, and the names of any temporary file left.
  const auto Snapshot = [this](std::string& sLeft) {
    std::map<std::string, std::string> aFiles;
    for (const auto& e : fs::recursive_directory_iterator(dir_.Path())) {
      const std::string sName = e.path().filename().string();
      if (sName.find(".qvnew") != std::string::npos || sName.find(".qvold") != std::string::npos) sLeft += sName + " ";
      if (sName == "jbclass.txt" || e.path().extension() == ".med") {
        const std::string sRel = fs::relative(e.path(), dir_.Path()).string();
        aFiles[sRel] = dir_.Read(sRel);
      }
    }
    return aFiles;
  };
  const auto Prepare = [this](Module& m) {
    Separators(m);
    m.G().nSaveArchive = Number(1);
    m.G().nQtyOfArchiveFiles = Number(2);
    m.G().sArchiveFileDirectory = Win("arch");
    fs::create_directories(dir_.Path() / "arch");
    RepositorySession(m).Scan({Win("src")});
  };
  std::string sLeft;
  Sources("Old");
  Prepare(*module_);
  ASSERT_TRUE(RepositorySession(*module_).Save().Ok());
  const auto aOld = Snapshot(sLeft);
  Sources("New");
  Prepare(*module_);
  ASSERT_TRUE(RepositorySession(*module_).Save().Ok());
  const auto aNew = Snapshot(sLeft);
  ASSERT_EQ(aOld.size(), 4u);
  ASSERT_NE(aOld, aNew);

  for (const FaultOp eOp : {FaultOp::kOpenForWrite, FaultOp::kWrite, FaultOp::kClose, FaultOp::kSync, FaultOp::kAside,
                            FaultOp::kRename, FaultOp::kCopy}) {
    int nFired = 0;
    for (int n = 1; n < 100; ++n) {
      for (const bool bOnce : {true, false}) {
        if (!bOnce && n > 1) continue;
        SCOPED_TRACE(std::to_string(static_cast<int>(eOp)) + (bOnce ? " fails at call " : " fails from call ") +
                     std::to_string(n));
        for (const auto& [sName, sText] : aOld) dir_.Write(sName, sText);
        FaultInjectingFileSystem oFaults(host_->Files());
        Host h = host_->GetHost();
        h.pFiles = &oFaults;
        Module m(h);
        m.Attach();
        Prepare(m);
        if (bOnce) {
          oFaults.FailNth(eOp, n);
        } else {
          oFaults.FailFrom(eOp, n);
        }
        const SaveReport report = RepositorySession(m).Save();
        const bool bFired = oFaults.Count(eOp) >= n;
        sLeft.clear();
        const auto aNow = Snapshot(sLeft);
        EXPECT_EQ(sLeft, "");
        if (report.Ok()) {
          EXPECT_EQ(aNow, aNew);
        } else {
          // Only a sync after the moves comes too late to keep the old
          // save, and says so.
          const bool bInPlace = report.sClassListError.starts_with("saved, in place, but not known to be on disk");
          EXPECT_EQ(aNow, bInPlace ? aNew : aOld) << report.sClassListError;
          EXPECT_TRUE(bInPlace ? eOp == FaultOp::kSync : report.sClassListError.starts_with("nothing saved"))
              << report.sClassListError;
        }
        if (!bFired) {
          EXPECT_TRUE(report.Ok()) << report.sClassListError;
          n = 100;
          break;
        }
        ++nFired;
      }
    }
    EXPECT_GT(nFired, 0) << static_cast<int>(eOp) << " was never used";
  }
}

// A first save into a new method folder writes its method files in place;
// a file that appears at one's place meanwhile is not replaced: the save
// fails, the method files it wrote go, and the class list is not written.
TEST_F(RepositorySessionTest, AFirstSaveReplacesNoFileThatAppearedMeanwhile) {
  namespace fs = std::filesystem;
  // Plants a file where the second method file goes, just before it.
  class Planting : public FileSystemWrapper {
   public:
    using FileSystemWrapper::FileSystemWrapper;
    IoError CreateNew(std::string_view sPath, FileHandle& hFile) override {
      if (++nCreated == 2) {
        sPlanted = sPath;
        Base().ReplaceContent(sPath, "planted");
      }
      return Base().CreateNew(sPath, hFile);
    }
    int nCreated = 0;
    std::string sPlanted;
  };
  for (const std::string sName : {"A", "B", "C"}) {
    dir_.Write("src/" + sName + ".java", "package p;\npublic class " + sName + " {\n  int x;\n}\n");
  }
  Planting oFiles(host_->Files());
  Host h = host_->GetHost();
  h.pFiles = &oFiles;
  Module m(h);
  m.Attach();
  Separators(m);
  RepositoryVars(m).sMethodFileDirectory = Win("methods");
  StreamOptions options;
  options.bSave = true;
  const StreamReport report = RepositorySession(m).Stream({Win("src")}, options);
  ASSERT_FALSE(oFiles.sPlanted.empty());
  EXPECT_TRUE(report.save.sClassListError.starts_with("nothing saved")) << report.save.sClassListError;
  EXPECT_FALSE(fs::exists(dir_.Path() / "jbclass.txt"));
  std::vector<std::string> aLeft;
  for (const auto& e : fs::recursive_directory_iterator(dir_.Path() / "methods")) {
    if (e.is_regular_file()) aLeft.push_back(dir_.Read(fs::relative(e.path(), dir_.Path()).string()));
  }
  EXPECT_EQ(aLeft, std::vector<std::string>{"planted"});
}

TEST_F(RepositorySessionTest, TheTreeListsACycleOfSuperclassesOnceAndEnds) {
  Scan({
      {"A.java", "package t;\npublic class A extends B {\n}\n"},
      {"B.java", "package t;\npublic class B extends A {\n}\n"},
      {"C.java", "package t;\npublic class C {\n}\n"},
      {"D.java", "package t;\npublic class D extends C {\n}\n"},
  });
  ASSERT_TRUE(RepositorySession(*module_).Save().Ok());
  RepositorySession repo = Reloaded();
  std::vector<std::string> aLines;
  for (const SubclassNode& node : repo.Tree("")) {
    aLines.push_back(std::string(static_cast<size_t>(node.nDepth), ' ') + node.sClassName +
                     (node.bCycle ? " cycle" : ""));
  }
  const std::vector<std::string> aWant = {"Object", " C", "  D", "A cycle", " B", "  A cycle"};
  EXPECT_EQ(aLines, aWant);
  // Below a class of the cycle the walk ends where the class comes again.
  aLines.clear();
  for (const SubclassNode& node : repo.Tree("B")) aLines.push_back(node.sClassName + (node.bCycle ? " cycle" : ""));
  EXPECT_EQ(aLines, (std::vector<std::string>{"B", "A", "B cycle"}));
}

}  // namespace
}  // namespace qv
