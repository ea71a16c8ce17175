// SPDX-License-Identifier: Apache-2.0
#include "source/java_scan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_host.h"

namespace qv {
namespace {

using test::HostFixture;

// Forwards to the host's file system and records the listing patterns.
class RecordingFiles final : public FileSystemWrapper {
 public:
  explicit RecordingFiles(FileSystem& oBase) : FileSystemWrapper(oBase) {}
  std::vector<std::string> aSubdirPatterns, aFilePatterns;

  int64_t ListSubdirectories(std::string_view sPattern, std::vector<std::string>& aNames) override {
    aSubdirPatterns.emplace_back(sPattern);
    return Base().ListSubdirectories(sPattern, aNames);
  }
  int64_t ListFiles(std::string_view sPattern, std::vector<std::string>& aNames) override {
    aFilePatterns.emplace_back(sPattern);
    return Base().ListFiles(sPattern, aNames);
  }
};

class ScanJavaFilesTest : public HostFixture {
 protected:
  void Touch(const std::string& sRelative) { dir_.Write(sRelative, "class X {}\n"); }
  static DynArray<String> Array(std::vector<String> a) {
    DynArray<String> o;
    o.Items() = std::move(a);
    return o;
  }
};

TEST_F(ScanJavaFilesTest, RootsWithAndWithoutTrailingBackslashUseTheirPatterns) {
  Touch("src/A.java");
  Touch("src/sub/B.java");
  Touch("lib/C.java");
  Touch("lib/x/D.java");
  dir_.Write("lib/notes.txt", "not java");
  const std::string sSrc = Win("src");
  const std::string sLib = Win("lib") + "\\";

  RecordingFiles rec(host_->Files());
  Host host = host_->GetHost();
  host.pFiles = &rec;
  Module m(host);
  ASSERT_TRUE(m.Attach());

  DynArray<String> aDir = Array({sSrc, sLib});
  DynArray<String> aFile;
  EXPECT_TRUE(ScanJavaFiles(m, aDir, aFile).IsNull());

  EXPECT_EQ(aFile.Items(), (std::vector<String>{"A.java", "B.java", "C.java", "D.java"}));
  EXPECT_EQ(aDir.Items(), (std::vector<String>{sSrc, sSrc + "\\sub", sLib, sLib + "\\x"}));
  EXPECT_EQ(aDir[3], Win("lib") + "\\\\x");  // two backslashes in a row

#ifndef _WIN32  // on Windows the toolkit, uitk60.dll, lists directories itself, not through the host's files
  EXPECT_EQ(rec.aSubdirPatterns,
            (std::vector<std::string>{sSrc + "\\*.*", sLib + "*.*", sSrc + "\\sub\\*.*", sLib + "\\x\\*.*"}));
  EXPECT_EQ(rec.aFilePatterns,
            (std::vector<std::string>{sSrc + "\\*.JAV", sLib + "\\*.JAV", sSrc + "\\sub\\*.JAV", sLib + "\\x\\*.JAV"}));
  EXPECT_EQ(rec.aFilePatterns[1], Win("lib") + "\\\\*.JAV");
#endif
}

TEST_F(ScanJavaFilesTest, RootListEndsAtTheFirstEmptyEntryAndLaterEntriesStay) {
  Touch("a/sub/F.java");
  Touch("b/G.java");
  Touch("b/H.java");
  const std::string sMissing = Win("missing");
  DynArray<String> aDir = Array({sMissing, Win("a"), "", Win("b")});
  DynArray<String> aFile;
  ScanJavaFiles(*module_, aDir, aFile);

  // Only "a" was scanned: the missing root adds nothing, "b" lies behind the
  // empty entry.  Positions behind the one file found keep the roots.
  EXPECT_EQ(aFile.Items(), (std::vector<String>{"F.java"}));
  EXPECT_EQ(aDir.Items(), (std::vector<String>{Win("a/sub"), Win("a"), "", Win("b")}));
}

TEST_F(ScanJavaFilesTest, SameFileNameInTwoDirectoriesIsOrderedByDirectory) {
  Touch("src/b/Foo.java");
  Touch("src/a/Foo.java");
  Touch("src/c/Zed.java");
  Touch("src/Bar.java");
  DynArray<String> aDir = Array({Win("src")});
  DynArray<String> aFile;
  ScanJavaFiles(*module_, aDir, aFile);

  EXPECT_EQ(aFile.Items(), (std::vector<String>{"Bar.java", "Foo.java", "Foo.java", "Zed.java"}));
  EXPECT_EQ(aDir.Items(), (std::vector<String>{Win("src"), Win("src/a"), Win("src/b"), Win("src/c")}));
}

TEST_F(ScanJavaFilesTest, CommasInNamesKeepFileAndDirectoryWhole) {
  Touch("sr,c/a,b.java");
  Touch("sr,c/a.java");
  Touch("sr,c/z/a,b.java");
  DynArray<String> aDir = Array({Win("sr,c")});
  DynArray<String> aFile;
  ScanJavaFiles(*module_, aDir, aFile);

  // In the order of the joined texts: "a,b.java,<dir>" sorts before
  // "a.java,<dir>" because "," sorts before ".".
  EXPECT_EQ(aFile.Items(), (std::vector<String>{"a,b.java", "a,b.java", "a.java"}));
  EXPECT_EQ(aDir.Items(), (std::vector<String>{Win("sr,c"), Win("sr,c/z"), Win("sr,c")}));
}

// The compact search finds the same files in the same order, names that
// differ only in case and names holding the separator among them.
TEST_F(ScanJavaFilesTest, TheCompactSearchFindsTheSameInTheSameOrder) {
  for (const char* sFile : {"sr,c/a,b.java", "sr,c/a.java", "sr,c/z/a,b.java", "sr,c/B.java", "sr,c/b.java",
                            "sr,c/z/B.java", "sr,c/a/b,c/x.java", "other/A.java"}) {
    Touch(sFile);
  }
  DynArray<String> aDir = Array({Win("sr,c"), Win("other")});
  DynArray<String> aFile;
  ScanJavaFiles(*module_, aDir, aFile);
  const JavaSourceTree tree = FindJavaSources(*module_, {Win("sr,c"), Win("other")});
  ASSERT_EQ(static_cast<int64_t>(tree.aFiles.size()), aFile.Count());
  for (size_t i = 0; i < tree.aFiles.size(); ++i) {
    EXPECT_EQ(tree.Name(tree.aFiles[i]), aFile[static_cast<int64_t>(i)]) << i;
    EXPECT_EQ(tree.aDirectories[tree.aFiles[i].nDirectory], aDir[static_cast<int64_t>(i)]) << i;
  }
}

#ifndef _WIN32  // the Windows file functions the toolkit lists with stop at MAX_PATH (260 characters)
TEST_F(ScanJavaFilesTest, LongDirectoryComesBackWhole) {
  const std::string sPart(100, 'd');
  const std::string sRelative = "deep/" + sPart + "/" + sPart + "/" + sPart;
  Touch(sRelative + "/L.java");
  DynArray<String> aDir = Array({Win("deep")});
  DynArray<String> aFile;
  ScanJavaFiles(*module_, aDir, aFile);

  ASSERT_EQ(aFile.Count(), 1);
  EXPECT_EQ(aFile[0], "L.java");
  EXPECT_GT(aDir[0].size(), 254u);
  EXPECT_EQ(aDir[0], Win(sRelative));
}
#endif

#ifndef _WIN32  // a directory link needs a privilege on Windows (Wine cannot make one at all)
TEST_F(ScanJavaFilesTest, LinkCycleDoesNotLoop) {
  Touch("src/a/A.java");
  std::filesystem::create_directory_symlink(dir_.Path() / "src", dir_.Path() / "src" / "a" / "loop");
  DynArray<String> aDir = Array({Win("src")});
  DynArray<String> aFile;
  ScanJavaFiles(*module_, aDir, aFile);

  EXPECT_EQ(aFile.Items(), (std::vector<String>{"A.java"}));
  EXPECT_EQ(aDir.Items(), (std::vector<String>{Win("src/a")}));
}
#endif

TEST_F(ScanJavaFilesTest, WaitCursorGoesOnAndOffAndNoRootsChangeNothing) {
  DynArray<String> aDir, aFile;
  ScanJavaFiles(*module_, aDir, aFile);
  EXPECT_EQ(host_->Windows().WaitCursorCalls(), (std::vector<bool>{true, false}));
  EXPECT_TRUE(aDir.Empty());
  EXPECT_TRUE(aFile.Empty());
}

TEST_F(ScanJavaFilesTest, EntriesThatTheFileListHeldBeforeJoinTheSort) {
  Touch("s/M.java");
  DynArray<String> aDir = Array({Win("s"), "", "d2"});
  DynArray<String> aFile = Array({"old", "Zz.java", "Aa.java"});
  ScanJavaFiles(*module_, aDir, aFile);

  EXPECT_EQ(aFile.Items(), (std::vector<String>{"Aa.java", "M.java", "Zz.java"}));
  EXPECT_EQ(aDir.Items(), (std::vector<String>{"d2", Win("s"), ""}));
}

}  // namespace
}  // namespace qv
