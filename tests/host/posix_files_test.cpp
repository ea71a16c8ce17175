// SPDX-License-Identifier: Apache-2.0
#include "host/os/posix/posix_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/test_host.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// A fresh directory per test, mapped as drive "C:".
class PosixFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sRoot_ = dir_.Str();
    pFs_ = std::make_unique<PosixFileSystem>(sRoot_);
  }
  void TearDown() override { pFs_.reset(); }

  std::string Posix(const std::string& sRelative) const { return sRoot_ + "/" + sRelative; }
  void WriteRaw(const std::string& sRelative, const std::string& sData) const { dir_.Write(sRelative, sData); }
  std::string ReadRaw(const std::string& sRelative) const { return dir_.Read(sRelative); }
  std::vector<std::string> Lines(const std::string& sPath, int64_t nMax) {
    std::vector<std::string> aLines;
    FileHandle h;
    if (!pFs_->Open(h, sPath, kOpenRead)) return aLines;
    std::string sLine;
    while (pFs_->GetLine(h, sLine, nMax)) aLines.push_back(sLine);
    pFs_->Close(h);
    return aLines;
  }
  static std::vector<std::string> Sorted(std::vector<std::string> a) {
    std::sort(a.begin(), a.end());
    return a;
  }

  test::TempDir dir_;
  std::string sRoot_;
  std::unique_ptr<PosixFileSystem> pFs_;
};

TEST(MapToPosixPathTest, MapsDrivesAndSeparators) {
  EXPECT_EQ(MapToPosixPath("C:\\src\\A.java", "/"), "/src/A.java");
  EXPECT_EQ(MapToPosixPath("C:\\src\\A.java", "/data/root"), "/data/root/src/A.java");
  EXPECT_EQ(MapToPosixPath("c:/src/A.java", "/data/root/"), "/data/root/src/A.java");
  EXPECT_EQ(MapToPosixPath("Z:src", "/r"), "/r/src");
  EXPECT_EQ(MapToPosixPath("C:", "/r"), "/r");
  EXPECT_EQ(MapToPosixPath("C:\\", "/r"), "/r");
  // Doubled separators are kept, as the source scan produces them.
  EXPECT_EQ(MapToPosixPath("D:\\lib\\\\x", "/"), "/lib//x");
  // Without a drive only the separators change.
  EXPECT_EQ(MapToPosixPath("\\a\\b", "/r"), "/a/b");
  EXPECT_EQ(MapToPosixPath("rel\\x.txt", "/r"), "rel/x.txt");
  EXPECT_EQ(MapToPosixPath("/tmp/x/y", "/r"), "/tmp/x/y");
  EXPECT_EQ(MapToPosixPath("1:\\x", "/r"), "1:/x");
  EXPECT_EQ(MapToPosixPath("ab:c", "/r"), "ab:c");
  EXPECT_EQ(MapToPosixPath("", "/r"), "");
}

TEST(MatchesWildcardTest, StarQuestionAndCase) {
  EXPECT_TRUE(MatchesWildcard("Foo.txt", "*.txt"));
  EXPECT_TRUE(MatchesWildcard("Foo.TXT", "*.txt"));
  EXPECT_TRUE(MatchesWildcard("foo.txt", "FOO.TXT"));
  EXPECT_FALSE(MatchesWildcard("Foo.txt", "*.doc"));
  EXPECT_TRUE(MatchesWildcard("abc", "a?c"));
  EXPECT_FALSE(MatchesWildcard("ac", "a?c"));
  EXPECT_FALSE(MatchesWildcard("abbc", "a?c"));
  EXPECT_TRUE(MatchesWildcard("abbbc", "a*c"));
  EXPECT_TRUE(MatchesWildcard("ac", "a*c"));
  EXPECT_FALSE(MatchesWildcard("acb", "a*c"));
  EXPECT_TRUE(MatchesWildcard("xaybzc", "*a*b*c"));
  EXPECT_FALSE(MatchesWildcard("xaybz", "*a*b*c"));
  EXPECT_TRUE(MatchesWildcard("anything", "*"));
  EXPECT_FALSE(MatchesWildcard("x", ""));
  // Bytes outside ASCII compare exactly.
  EXPECT_TRUE(MatchesWildcard("\xC4x", "\xC4?"));
  EXPECT_FALSE(MatchesWildcard("\xE4x", "\xC4?"));
}

TEST(MatchesWildcardTest, DotStarMatchesNamesWithoutExtension) {
  EXPECT_TRUE(MatchesWildcard("README", "*.*"));
  EXPECT_TRUE(MatchesWildcard("a.b.c", "*.*"));
  EXPECT_TRUE(MatchesWildcard(".hidden", "*.*"));
  EXPECT_TRUE(MatchesWildcard("foo", "foo.*"));
  EXPECT_TRUE(MatchesWildcard("foo.bar", "foo.*"));
  EXPECT_FALSE(MatchesWildcard("food", "foo.*"));
}

TEST(MatchesWildcardTest, ThreeLetterExtensionMatchesLongerOnes) {
  EXPECT_TRUE(MatchesWildcard("Foo.jav", "*.JAV"));
  EXPECT_TRUE(MatchesWildcard("Foo.java", "*.JAV"));
  EXPECT_TRUE(MatchesWildcard("x.javax", "*.JAV"));
  EXPECT_TRUE(MatchesWildcard("Foo.JAVA", "*.jav"));
  EXPECT_TRUE(MatchesWildcard("a.b.java", "*.JAV"));
  EXPECT_TRUE(MatchesWildcard("Foo.java", "FOO.JAV"));
  EXPECT_FALSE(MatchesWildcard("Foo.ja", "*.JAV"));
  EXPECT_FALSE(MatchesWildcard("Foo.jaxa", "*.JAV"));
  EXPECT_FALSE(MatchesWildcard("Foo.java.bak", "*.JAV"));
  EXPECT_FALSE(MatchesWildcard("Foojava", "*.JAV"));
  EXPECT_FALSE(MatchesWildcard("Bar.java", "FOO.JAV"));
  // Only a plain three-letter extension widens.
  EXPECT_FALSE(MatchesWildcard("Foo.javx", "*.JA?"));
  EXPECT_FALSE(MatchesWildcard("Foo.java", "*.JA"));
  EXPECT_FALSE(MatchesWildcard("Foo.javas", "*.JAVA"));
}

// Relative paths resolve against the working directory the host was given,
// never against the process's: a repository is used without changing it.
TEST_F(PosixFilesTest, RelativePathsResolveAgainstTheWorkingDirectory) {
  WriteRaw("repo/jbclass.txt", "line\r\n");
  pFs_->SetWorkingDirectory(Posix("repo"));
  EXPECT_EQ(Lines("jbclass.txt", 0), (std::vector<std::string>{"line"}));
  FileHandle h;
  EXPECT_TRUE(pFs_->Open(h, "jbclass.txt", kOpenExist));
  std::filesystem::create_directory(Posix("repo/sub"));
  ASSERT_TRUE(pFs_->Open(h, "sub\\new.txt", kOpenCreate));
  EXPECT_TRUE(pFs_->Close(h));
  EXPECT_TRUE(std::filesystem::exists(Posix("repo/sub/new.txt")));
  std::string sText;
  EXPECT_EQ(pFs_->ReadWholeFile("jbclass.txt", sText), 0);
  EXPECT_EQ(sText, "line\r\n");
  // Absolute and drive paths are not moved.
  EXPECT_EQ(Lines(Posix("repo/jbclass.txt"), 0), (std::vector<std::string>{"line"}));
  EXPECT_NE(std::filesystem::current_path(), std::filesystem::path(Posix("repo")));
}

TEST_F(PosixFilesTest, OpenStyles) {
  FileHandle h;
  EXPECT_FALSE(pFs_->Open(h, "C:\\missing.txt", kOpenRead));
  EXPECT_TRUE(h.IsNull());

  ASSERT_TRUE(pFs_->Open(h, "C:\\a.txt", kOpenCreate));
  EXPECT_FALSE(h.IsNull());
  EXPECT_TRUE(pFs_->PutLine(h, "one"));
  EXPECT_TRUE(pFs_->Close(h));
  EXPECT_EQ(ReadRaw("a.txt"), "one\r\n");

  FileHandle hAppend;
  ASSERT_TRUE(pFs_->Open(hAppend, "C:\\a.txt", kOpenAppend));
  EXPECT_EQ(pFs_->Tell(hAppend), 5);
  EXPECT_TRUE(pFs_->PutLine(hAppend, "two"));
  EXPECT_TRUE(pFs_->Close(hAppend));
  EXPECT_EQ(ReadRaw("a.txt"), "one\r\ntwo\r\n");

  ASSERT_TRUE(pFs_->Open(h, "C:\\new.txt", kOpenAppend));
  EXPECT_TRUE(pFs_->Close(h));
  EXPECT_TRUE(fs::exists(Posix("new.txt")));

  ASSERT_TRUE(pFs_->Open(h, "C:\\a.txt", kOpenCreate));  // truncates
  EXPECT_TRUE(pFs_->Close(h));
  EXPECT_EQ(ReadRaw("a.txt"), "");

  fs::create_directory(Posix("dir"));
  FileHandle hUntouched{77};
  EXPECT_TRUE(pFs_->Open(hUntouched, "C:\\a.txt", kOpenExist));
  EXPECT_FALSE(pFs_->Open(hUntouched, "C:\\dir", kOpenExist));
  EXPECT_FALSE(pFs_->Open(hUntouched, "C:\\nothere", kOpenExist));
  EXPECT_FALSE(pFs_->Open(hUntouched, "C:\\dir", kOpenRead));
  EXPECT_TRUE(pFs_->Open(hUntouched, "C:\\a.txt", kOpenDelete));
  EXPECT_FALSE(fs::exists(Posix("a.txt")));
  EXPECT_FALSE(pFs_->Open(hUntouched, "C:\\a.txt", kOpenDelete));
  EXPECT_EQ(hUntouched.nValue, 77u);

  EXPECT_FALSE(pFs_->Open(h, "C:\\new.txt", 1));
  EXPECT_FALSE(pFs_->Open(h, "", kOpenCreate));
  EXPECT_FALSE(pFs_->Open(h, "C:\\nodir\\x.txt", kOpenCreate));
}

TEST_F(PosixFilesTest, HandlesAreDistinctAndStaleOnesFail) {
  WriteRaw("a.txt", "abc\n");
  FileHandle h1;
  FileHandle h2;
  ASSERT_TRUE(pFs_->Open(h1, "C:\\a.txt", kOpenRead));
  ASSERT_TRUE(pFs_->Open(h2, "C:\\a.txt", kOpenRead));
  EXPECT_NE(h1, h2);
  EXPECT_TRUE(pFs_->Close(h1));
  EXPECT_FALSE(pFs_->Close(h1));
  std::string s = "x";
  EXPECT_FALSE(pFs_->GetLine(h1, s, 0));
  EXPECT_EQ(pFs_->Read(h1, s, 10), 0);
  EXPECT_EQ(pFs_->Write(h1, "x"), 0);
  EXPECT_FALSE(pFs_->PutLine(h1, "x"));
  EXPECT_FALSE(pFs_->Seek(h1, 0, kSeekStart));
  EXPECT_EQ(pFs_->Tell(h1), -1);
  EXPECT_EQ(pFs_->Tell(FileHandle{}), -1);
  // The other handle is unaffected.
  EXPECT_TRUE(pFs_->GetLine(h2, s, 0));
  EXPECT_EQ(s, "abc");
  // A read handle cannot write.
  EXPECT_EQ(pFs_->Write(h2, "x"), 0);
  EXPECT_FALSE(pFs_->PutLine(h2, "x"));
}

TEST_F(PosixFilesTest, GetLineTerminators) {
  WriteRaw("a.txt", "one\r\ntwo\n\nthree\r\n\r\nlone\rcr\r\ndouble\r\r\nlast");
  EXPECT_EQ(Lines("C:\\a.txt", 0),
            (std::vector<std::string>{"one", "two", "", "three", "", "lone\rcr", "double\r", "last"}));
  WriteRaw("b.txt", "x\n");
  EXPECT_EQ(Lines("C:\\b.txt", 0), (std::vector<std::string>{"x"}));
  WriteRaw("c.txt", "\n");
  EXPECT_EQ(Lines("C:\\c.txt", 0), (std::vector<std::string>{""}));
  WriteRaw("d.txt", "");
  EXPECT_TRUE(Lines("C:\\d.txt", 0).empty());
  WriteRaw("e.txt", "end\r");
  EXPECT_EQ(Lines("C:\\e.txt", 0), (std::vector<std::string>{"end\r"}));
}

TEST_F(PosixFilesTest, GetLineCutsAtMax) {
  WriteRaw("a.txt", "abcdef\r\nab\r\nabc\nabcd\r\nxy\n");
  // nMax 4 keeps at most 3 bytes; the rest of a cut line is skipped.
  EXPECT_EQ(Lines("C:\\a.txt", 4), (std::vector<std::string>{"abc", "ab", "abc", "abc", "xy"}));
  EXPECT_EQ(Lines("C:\\a.txt", 1), (std::vector<std::string>{"", "", "", "", ""}));
  EXPECT_EQ(Lines("C:\\a.txt", -5), (std::vector<std::string>{"abcdef", "ab", "abc", "abcd", "xy"}));
}

TEST_F(PosixFilesTest, GetLineLongLinesAndBufferBoundaries) {
  const std::string sLong(100 * 1024, 'q');
  WriteRaw("long.txt", sLong + "\r\nafter\n");
  EXPECT_EQ(Lines("C:\\long.txt", 0), (std::vector<std::string>{sLong, "after"}));
  EXPECT_EQ(Lines("C:\\long.txt", 32656), (std::vector<std::string>{sLong.substr(0, 32655), "after"}));

  // Many lines of varying length, so that terminators (and the "\r" of a
  // "\r\n") fall on every offset of the read buffer.
  std::vector<std::string> aExpected;
  std::string sData;
  for (int i = 0; i < 5000; ++i) {
    aExpected.push_back(std::string(static_cast<size_t>(i % 97), static_cast<char>('a' + i % 26)));
    sData += aExpected.back() + "\r\n";
  }
  WriteRaw("many.txt", sData);
  EXPECT_EQ(Lines("C:\\many.txt", 0), aExpected);
}

TEST_F(PosixFilesTest, ReadWholeFileAfterSeekAndTell) {
  std::string sData;
  for (int i = 0; i < 300000; ++i) sData.push_back(static_cast<char>(i * 7 % 256));
  WriteRaw("bin.dat", sData);
  FileHandle h;
  ASSERT_TRUE(pFs_->Open(h, "C:\\bin.dat", kOpenRead));
  ASSERT_TRUE(pFs_->Seek(h, 0, kSeekEnd));
  const int64_t nSize = pFs_->Tell(h);
  EXPECT_EQ(nSize, static_cast<int64_t>(sData.size()));
  ASSERT_TRUE(pFs_->Seek(h, 0, kSeekStart));
  std::string sOut;
  EXPECT_EQ(pFs_->Read(h, sOut, nSize), nSize);
  EXPECT_EQ(sOut, sData);
  EXPECT_EQ(pFs_->Read(h, sOut, 10), 0);
  EXPECT_TRUE(sOut.empty());
  // Asking for more than is left reads what is left.
  ASSERT_TRUE(pFs_->Seek(h, -5, kSeekEnd));
  EXPECT_EQ(pFs_->Read(h, sOut, int64_t{1} << 40), 5);
  EXPECT_EQ(sOut, sData.substr(sData.size() - 5));
  EXPECT_FALSE(pFs_->Seek(h, -1, kSeekStart));
  EXPECT_FALSE(pFs_->Seek(h, 0, 7));
  EXPECT_TRUE(pFs_->Close(h));
}

TEST_F(PosixFilesTest, ReadContinuesAfterGetLine) {
  WriteRaw("a.txt", "head\r\nbody text");
  FileHandle h;
  ASSERT_TRUE(pFs_->Open(h, "C:\\a.txt", kOpenRead));
  std::string s;
  ASSERT_TRUE(pFs_->GetLine(h, s, 0));
  EXPECT_EQ(pFs_->Tell(h), 6);
  EXPECT_EQ(pFs_->Read(h, s, 4), 4);
  EXPECT_EQ(s, "body");
  EXPECT_EQ(pFs_->Tell(h), 10);
  ASSERT_TRUE(pFs_->Seek(h, 2, 1));
  EXPECT_EQ(pFs_->Read(h, s, 100), 3);
  EXPECT_EQ(s, "ext");
  EXPECT_TRUE(pFs_->Close(h));
}

TEST_F(PosixFilesTest, WriteAndPutLine) {
  FileHandle h;
  ASSERT_TRUE(pFs_->Open(h, "C:\\w.txt", kOpenCreate));
  EXPECT_TRUE(pFs_->PutLine(h, "first"));
  EXPECT_EQ(pFs_->Write(h, "raw"), 3);
  EXPECT_EQ(pFs_->Tell(h), 10);
  EXPECT_TRUE(pFs_->PutLine(h, ""));
  // Overwrite in place, then read back through the same handle.
  ASSERT_TRUE(pFs_->Seek(h, 0, kSeekStart));
  EXPECT_EQ(pFs_->Write(h, "F"), 1);
  ASSERT_TRUE(pFs_->Seek(h, 0, kSeekStart));
  std::string s;
  ASSERT_TRUE(pFs_->GetLine(h, s, 0));
  EXPECT_EQ(s, "First");
  // A write after reading lands at the logical position, not after the
  // read-ahead.
  EXPECT_EQ(pFs_->Write(h, "R"), 1);
  EXPECT_EQ(pFs_->Write(h, ""), 0);
  EXPECT_TRUE(pFs_->Close(h));
  EXPECT_EQ(ReadRaw("w.txt"), "First\r\nRaw\r\n");

  // Many buffered lines all arrive.
  ASSERT_TRUE(pFs_->Open(h, "C:\\many.txt", kOpenCreate));
  std::string sExpected;
  for (int i = 0; i < 20000; ++i) {
    const std::string sLine = "line " + std::to_string(i);
    ASSERT_TRUE(pFs_->PutLine(h, sLine));
    sExpected += sLine + "\r\n";
  }
  EXPECT_EQ(pFs_->Tell(h), static_cast<int64_t>(sExpected.size()));
  EXPECT_TRUE(pFs_->Close(h));
  EXPECT_EQ(ReadRaw("many.txt"), sExpected);
}

TEST_F(PosixFilesTest, DestructorFlushesOpenFiles) {
  FileHandle h;
  ASSERT_TRUE(pFs_->Open(h, "C:\\left.txt", kOpenCreate));
  ASSERT_TRUE(pFs_->PutLine(h, "kept"));
  pFs_.reset();
  EXPECT_EQ(ReadRaw("left.txt"), "kept\r\n");
}

TEST_F(PosixFilesTest, ListingsFollowWildcardRules) {
  for (const char* pName : {"A.java", "b.JAV", "c.jav", "d.ja", "e.javax", "f.txt", "README"}) WriteRaw(pName, "x");
  fs::create_directory(Posix("sub"));
  fs::create_directory(Posix("Dir.java"));
  fs::create_symlink(Posix("sub"), Posix("linkdir"));
  fs::create_symlink(Posix("A.java"), Posix("link.java"));
  fs::create_symlink(Posix("gone"), Posix("broken.java"));

  std::vector<std::string> aNames{"keep"};
  EXPECT_EQ(pFs_->ListFiles("C:\\*.JAV", aNames), 5);
  EXPECT_EQ(aNames.front(), "keep");  // appended, not replaced
  aNames.erase(aNames.begin());
  EXPECT_EQ(Sorted(aNames), (std::vector<std::string>{"A.java", "b.JAV", "c.jav", "e.javax", "link.java"}));

  aNames.clear();
  EXPECT_EQ(pFs_->ListFiles("C:\\*.*", aNames), 8);  // not the broken link
  EXPECT_EQ(std::count(aNames.begin(), aNames.end(), "README"), 1);

  aNames.clear();
  EXPECT_EQ(pFs_->ListSubdirectories("C:\\*.*", aNames), 2);
  EXPECT_EQ(Sorted(aNames), (std::vector<std::string>{"Dir.java", "sub"}));

  aNames.clear();
  EXPECT_EQ(pFs_->ListSubdirectories(sRoot_ + "/S*", aNames), 1);
  EXPECT_EQ(aNames, (std::vector<std::string>{"sub"}));

  // One listing gives what the two give, in their order; with or without
  // the separator at the directory's end.
  for (const char* pDir : {"C:", "C:\\"}) {
    std::vector<std::string> aSub{"keep"}, aFiles{"keep"}, aWantSub{"keep"}, aWantFiles{"keep"};
    pFs_->ListDirectory(pDir, "*.JAV", aSub, aFiles);
    pFs_->ListSubdirectories("C:\\*.*", aWantSub);
    pFs_->ListFiles("C:\\*.JAV", aWantFiles);
    EXPECT_EQ(aSub, aWantSub);
    EXPECT_EQ(aFiles, aWantFiles);
  }
  std::vector<std::string> aNone;
  pFs_->ListDirectory("C:\\nothere", "*.*", aNone, aNone);
  EXPECT_TRUE(aNone.empty());

  aNames.clear();
  EXPECT_EQ(pFs_->ListFiles("C:\\sub\\*.*", aNames), 0);
  EXPECT_EQ(pFs_->ListFiles("C:\\nothere\\*.*", aNames), 0);
  EXPECT_EQ(pFs_->ListSubdirectories("C:\\nothere\\*.*", aNames), 0);
  EXPECT_EQ(pFs_->ListFiles("C:\\", aNames), 0);
  EXPECT_TRUE(aNames.empty());
}

TEST_F(PosixFilesTest, WalkOverListingsEndsDespiteLinkCycle) {
  fs::create_directories(Posix("top/a/b"));
  fs::create_directories(Posix("top/c"));
  fs::create_directory_symlink(Posix("top"), Posix("top/a/b/up"));
  WriteRaw("top/a/b/X.java", "x");
  // Breadth-first walk as the source scan does it; a followed link would
  // make it run until the path length limit.
  std::vector<std::string> aDirs{"C:\\top"};
  std::vector<std::string> aFound;
  for (size_t j = 0; j < aDirs.size() && j < 1000; ++j) {
    std::vector<std::string> aSub;
    pFs_->ListSubdirectories(aDirs[j] + "\\*.*", aSub);
    for (const std::string& sName : aSub) aDirs.push_back(aDirs[j] + "\\" + sName);
    pFs_->ListFiles(aDirs[j] + "\\*.JAV", aFound);
  }
  EXPECT_EQ(Sorted(aDirs), (std::vector<std::string>{"C:\\top", "C:\\top\\a", "C:\\top\\a\\b", "C:\\top\\c"}));
  EXPECT_EQ(aFound, (std::vector<std::string>{"X.java"}));
}

TEST_F(PosixFilesTest, DirExists) {
  fs::create_directory(Posix("d"));
  WriteRaw("f", "x");
  fs::create_directory_symlink(Posix("d"), Posix("ld"));
  EXPECT_TRUE(pFs_->DirExists("C:\\d"));
  EXPECT_TRUE(pFs_->DirExists("C:\\d\\"));
  EXPECT_TRUE(pFs_->DirExists("C:\\ld"));
  EXPECT_TRUE(pFs_->DirExists("C:"));
  EXPECT_FALSE(pFs_->DirExists("C:\\f"));
  EXPECT_FALSE(pFs_->DirExists("C:\\missing"));
  EXPECT_FALSE(pFs_->DirExists(""));
}

TEST_F(PosixFilesTest, RenameRefusesExistingTarget) {
  WriteRaw("old.txt", "old");
  WriteRaw("taken.txt", "taken");
  EXPECT_TRUE(pFs_->Rename("C:\\old.txt", "C:\\taken.txt").Failed());
  EXPECT_EQ(ReadRaw("old.txt"), "old");
  EXPECT_EQ(ReadRaw("taken.txt"), "taken");
  EXPECT_FALSE(pFs_->Rename("C:\\old.txt", "C:\\new.txt").Failed());
  EXPECT_FALSE(fs::exists(Posix("old.txt")));
  EXPECT_EQ(ReadRaw("new.txt"), "old");
  EXPECT_TRUE(pFs_->Rename("C:\\old.txt", "C:\\other.txt").Failed());
  EXPECT_TRUE(pFs_->Rename("C:\\new.txt", "C:\\nodir\\x.txt").Failed());
  EXPECT_EQ(ReadRaw("new.txt"), "old");
}

TEST_F(PosixFilesTest, CopyReplacesTarget) {
  const std::string sBig(200000, 'z');
  WriteRaw("src.txt", sBig);
  WriteRaw("dst.txt", "previous");
  EXPECT_FALSE(pFs_->Copy("C:\\src.txt", "C:\\fresh.txt").Failed());
  EXPECT_EQ(ReadRaw("fresh.txt"), sBig);
  EXPECT_FALSE(pFs_->Copy("C:\\src.txt", "C:\\dst.txt").Failed());
  EXPECT_EQ(ReadRaw("dst.txt"), sBig);
  EXPECT_EQ(ReadRaw("src.txt"), sBig);
  EXPECT_FALSE(pFs_->Copy("C:\\src.txt", "C:\\src.txt").Failed());
  EXPECT_EQ(ReadRaw("src.txt"), sBig);

  WriteRaw("dst.txt", "previous");
  EXPECT_TRUE(pFs_->Copy("C:\\missing.txt", "C:\\dst.txt").Failed());
  EXPECT_EQ(ReadRaw("dst.txt"), "previous");
  fs::create_directory(Posix("dir"));
  EXPECT_TRUE(pFs_->Copy("C:\\dir", "C:\\dst.txt").Failed());
  EXPECT_TRUE(pFs_->Copy("C:\\src.txt", "C:\\dir").Failed());
  EXPECT_TRUE(pFs_->Copy("C:\\src.txt", "C:\\nodir\\x.txt").Failed());
  // No temporary file is left behind.
  int nEntries = 0;
  for ([[maybe_unused]] const auto& oEntry : fs::directory_iterator(sRoot_)) ++nEntries;
  EXPECT_EQ(nEntries, 4);  // src, dst, fresh, dir
}

// A temporary file is new, hidden beside its target under a name of its
// own each time; the old target can be kept aside under a second name
// while the new file moves over it; failures name the file and say why.
TEST_F(PosixFilesTest, TemporaryFilesKeepAsideAndMoveOver) {
  WriteRaw("target.txt", "old");
  FileHandle h1, h2;
  std::string sTemp1, sTemp2;
  ASSERT_FALSE(pFs_->CreateTemporary("C:\\target.txt", h1, sTemp1).Failed());
  ASSERT_FALSE(pFs_->CreateTemporary("C:\\target.txt", h2, sTemp2).Failed());
  EXPECT_NE(sTemp1, sTemp2);
  EXPECT_EQ(sTemp1.rfind("C:\\.target.txt.", 0), 0u) << sTemp1;
  EXPECT_EQ(pFs_->Write(h1, "new"), 3);
  EXPECT_FALSE(pFs_->CloseWritten(h1).Failed());
  EXPECT_FALSE(pFs_->CloseWritten(h2).Failed());
  EXPECT_FALSE(pFs_->Remove(sTemp2).Failed());
  std::string sAside;
  ASSERT_FALSE(pFs_->KeepAside("C:\\target.txt", sAside).Failed());
  ASSERT_FALSE(pFs_->MoveOver(sTemp1, "C:\\target.txt").Failed());
  EXPECT_EQ(ReadRaw("target.txt"), "new");
  EXPECT_EQ(ReadRaw(sAside.substr(3)), "old");
  EXPECT_FALSE(pFs_->SyncAll({"C:\\target.txt"}).Failed());

  EXPECT_EQ(pFs_->KeepAside("C:\\absent.txt", sAside).nCode, ENOENT);
  const IoError oError = pFs_->CreateTemporary("C:\\nodir\\x.txt", h1, sTemp1);
  EXPECT_EQ(oError.nCode, ENOENT);
  EXPECT_NE(oError.sMessage.find(Posix("nodir/x.txt")), std::string::npos) << oError.sMessage;
  EXPECT_NE(oError.sMessage.find("No such file or directory"), std::string::npos) << oError.sMessage;
}

TEST_F(PosixFilesTest, HoldsExactlyComparesEveryByteAndTheSize) {
  const std::string sText(100000, 'x');
  WriteRaw("same", sText);
  WriteRaw("longer", sText + "y");
  WriteRaw("shorter", sText.substr(1));
  std::string sChanged = sText;
  sChanged[99999] = 'z';
  WriteRaw("changed", sChanged);
  WriteRaw("empty", "");
  fs::create_directories(Posix("dir"));
  EXPECT_TRUE(pFs_->HoldsExactly("C:\\same", sText));
  EXPECT_FALSE(pFs_->HoldsExactly("C:\\longer", sText));
  EXPECT_FALSE(pFs_->HoldsExactly("C:\\shorter", sText));
  EXPECT_FALSE(pFs_->HoldsExactly("C:\\changed", sText));
  EXPECT_TRUE(pFs_->HoldsExactly("C:\\empty", ""));
  EXPECT_FALSE(pFs_->HoldsExactly("C:\\empty", "x"));
  EXPECT_FALSE(pFs_->HoldsExactly("C:\\missing", ""));
  EXPECT_FALSE(pFs_->HoldsExactly("C:\\dir", ""));
  EXPECT_FALSE(pFs_->HoldsExactly("", ""));
}

// The stamps of many files of one directory are those StampOf gives each:
// links followed, a missing file or directory an error of its own, a name
// with a separator looked up below the directory as StampOf maps it.
TEST_F(PosixFilesTest, StampsInGiveWhatStampOfGives) {
  WriteRaw("d/a", "x");
  WriteRaw("d/sub/b", "yy");
  fs::create_symlink(Posix("d/a"), Posix("d/link"));
  const std::vector<std::string> aNames{"a", "link", "missing", "sub\\b", "sub"};
  std::vector<FileStamp> aStamps;
  std::vector<int> aErrors;
  pFs_->StampsIn("C:\\d", aNames, aStamps, aErrors);
  ASSERT_EQ(aStamps.size(), aNames.size());
  ASSERT_EQ(aErrors.size(), aNames.size());
  for (size_t k = 0; k < aNames.size(); ++k) {
    FileStamp stamp;
    EXPECT_EQ(aErrors[k], pFs_->StampOf("C:\\d\\" + aNames[k], stamp)) << aNames[k];
    if (aErrors[k] == 0) {
      EXPECT_EQ(aStamps[k], stamp) << aNames[k];
    }
  }
  EXPECT_EQ(aErrors[2], ENOENT);
  EXPECT_EQ(aStamps[3].nSize, 2);
  pFs_->StampsIn("C:\\nothere", {"a"}, aStamps, aErrors);
  EXPECT_EQ(aErrors, std::vector<int>{ENOENT});
}

// ResolvedPaths resolves each directory once and a file alone only when it
// is a link: every path must come out as SystemPath resolves it alone.
TEST_F(PosixFilesTest, ResolvedPathsResolveAsEachPathAlone) {
  fs::create_directories(Posix("real/deep"));
  WriteRaw("real/A.java", "a");
  WriteRaw("real/deep/B.java", "b");
  fs::create_directory_symlink(Posix("real"), Posix("linked"));
  fs::create_symlink(Posix("real/A.java"), Posix("real/Alias.java"));
  fs::create_symlink(Posix("real/gone.java"), Posix("real/Broken.java"));
  const std::vector<std::string> aPaths{
      "C:\\real\\A.java",           "C:\\linked\\A.java",       "C:\\real\\Alias.java",   "C:\\linked\\Alias.java",
      "C:\\real\\Broken.java",      "C:\\linked\\New.java",     "C:\\missing\\x\\C.java", "C:\\linked\\deep\\B.java",
      "C:\\real\\deep\\..\\A.java", "C:\\linked\\deep\\B.java", sRoot_ + "/linked/A.java"};
  const std::vector<std::string> aResolved = pFs_->ResolvedPaths(aPaths);
  ASSERT_EQ(aResolved.size(), aPaths.size());
  for (size_t k = 0; k < aPaths.size(); ++k) {
    EXPECT_EQ(aResolved[k], pFs_->SystemPath(aPaths[k], FileSystem::PathForm::kResolved)) << aPaths[k];
  }
  // The targets that reach one file through a link are one.
  EXPECT_EQ(aResolved[0], aResolved[1]);
  EXPECT_EQ(aResolved[0], aResolved[2]);
  EXPECT_EQ(aResolved[0], aResolved[3]);
  EXPECT_EQ(aResolved[0], aResolved[8]);
  EXPECT_EQ(aResolved[7], fs::weakly_canonical(Posix("real/deep/B.java")).string());
}

}  // namespace
}  // namespace qv
