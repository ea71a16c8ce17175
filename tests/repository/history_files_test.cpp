// SPDX-License-Identifier: Apache-2.0
// Numbered history copies: rotation, naming and location on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // name -> content

// The repository's files are named relative to the current directory (the
// application writes "jbclass.txt"), so the tests run inside the temporary
// directory.
class HistoryFilesTest : public test::HostFixture {
 protected:
  HistoryFilesTest() : oldCwd_(fs::current_path()) {
    fs::current_path(dir_.Path());
    Module& m = *module_;
    m.G().nSaveArchive = Number(1);
    m.G().nQtyOfArchiveFiles = Number(3);
    m.G().sArchiveFileDirectory = Win("arch");
  }
  ~HistoryFilesTest() override { fs::current_path(oldCwd_); }

  // Writes every file of aFiles into the directory sRelative, after removing
  // whatever the directory held.
  void Seed(const std::string& sRelative, const Files& aFiles) const {
    fs::remove_all(dir_.Path() / sRelative);
    fs::create_directories(dir_.Path() / sRelative);
    for (const auto& [sName, sContent] : aFiles) dir_.Write(sRelative + "/" + sName, sContent);
  }
  // The regular files of a directory with their contents (empty when the
  // directory is missing).
  Files Contents(const std::string& sRelative) const {
    Files aFiles;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir_.Path() / sRelative, ec)) {
      if (entry.is_regular_file()) {
        aFiles[entry.path().filename().string()] = dir_.Read(sRelative + "/" + entry.path().filename().string());
      }
    }
    return aFiles;
  }
  void SaveRepositoryHistory(const std::string& sFile) {
    JavaRepositoryInstance(*module_).SaveHistoryFile(*module_, sFile);
  }
  void SaveSourceHistory(const std::string& sFile) { VC_JavaClass().SaveHistoryFile(*module_, sFile); }
  Globals& G() { return module_->G(); }

 private:
  fs::path oldCwd_;
};

TEST_F(HistoryFilesTest, SwitchedOffTouchesNothingButTheArchiveDirectoryIsStillTrimmed) {
  for (const Number& nSwitch : {Number(0), Number::Null()}) {
    SCOPED_TRACE(nSwitch.IsNull() ? "null" : "FALSE");
    G().nSaveArchive = nSwitch;
    dir_.Write("jbclass.txt", "now");
    Seed("arch", {{"jbclass.001", "v1"}});
    Seed("src", {{"Applet1.java", "source"}, {"Applet1.001", "s1"}});
    G().sArchiveFileDirectory = Win("arch") + "\\";

    SaveRepositoryHistory("jbclass.txt");
    SaveSourceHistory(Win("src\\Applet1.java"));
    EXPECT_EQ(G().sArchiveFileDirectory, Win("arch"));
    EXPECT_EQ(Contents("arch"), (Files{{"jbclass.001", "v1"}}));
    EXPECT_EQ(Contents("src"), (Files{{"Applet1.java", "source"}, {"Applet1.001", "s1"}}));
  }
}

TEST_F(HistoryFilesTest, EveryCopyMovesUpAndTheOldestIsDropped) {
  dir_.Write("jbclass.txt", "now");
  // With a trailing backslash on the archive directory the copies still land
  // in it, and the global loses the backslash.
  G().sArchiveFileDirectory = Win("arch") + "\\";
  Seed("arch", {{"jbclass.001", "v1"}, {"jbclass.002", "v2"}});
  SaveRepositoryHistory("jbclass.txt");
  EXPECT_EQ(G().sArchiveFileDirectory, Win("arch"));
  EXPECT_EQ(Contents("arch"), (Files{{"jbclass.001", "now"}, {"jbclass.002", "v1"}, {"jbclass.003", "v2"}}));
  EXPECT_EQ(dir_.Read("jbclass.txt"), "now");

  // A full history: .003 goes, the contents (not only the names) move up.
  Seed("arch", {{"jbclass.001", "v1"}, {"jbclass.002", "v2"}, {"jbclass.003", "v3"}});
  SaveRepositoryHistory("jbclass.txt");
  EXPECT_EQ(Contents("arch"), (Files{{"jbclass.001", "now"}, {"jbclass.002", "v1"}, {"jbclass.003", "v2"}}));

  // Only .001 with room for five: it becomes .002, nothing else appears.
  G().nQtyOfArchiveFiles = Number(5);
  Seed("arch", {{"jbclass.001", "v1"}});
  SaveRepositoryHistory("jbclass.txt");
  EXPECT_EQ(Contents("arch"), (Files{{"jbclass.001", "now"}, {"jbclass.002", "v1"}}));

  // Saving twice in a row keeps both earlier versions in order.
  dir_.Write("jbclass.txt", "newer");
  SaveRepositoryHistory("jbclass.txt");
  EXPECT_EQ(Contents("arch"), (Files{{"jbclass.001", "newer"}, {"jbclass.002", "now"}, {"jbclass.003", "v1"}}));
}

TEST_F(HistoryFilesTest, CountsBelowTwoOnlyReplaceCopyOne) {
  dir_.Write("jbclass.txt", "now");
  for (const Number& nCount : {Number(1), Number(0), Number(-4), Number::Null()}) {
    SCOPED_TRACE(nCount.IsNull() ? std::string("null") : std::to_string(nCount.Value()));
    G().nQtyOfArchiveFiles = nCount;
    Seed("arch", {{"jbclass.001", "v1"}, {"jbclass.002", "v2"}});
    SaveRepositoryHistory("jbclass.txt");
    EXPECT_EQ(Contents("arch"), (Files{{"jbclass.001", "now"}, {"jbclass.002", "v2"}}));
  }
}

TEST_F(HistoryFilesTest, TwoAndThreeDigitNumbersAndGapsMoveUp) {
  dir_.Write("jbclass.txt", "now");
  G().nQtyOfArchiveFiles = Number(101);
  Seed("arch", {{"jbclass.009", "v9"}, {"jbclass.099", "v99"}, {"jbclass.100", "v100"}});
  SaveRepositoryHistory("jbclass.txt");
  EXPECT_EQ(Contents("arch"),
            (Files{{"jbclass.001", "now"}, {"jbclass.010", "v9"}, {"jbclass.100", "v99"}, {"jbclass.101", "v100"}}));
}

TEST_F(HistoryFilesTest, CopyNamesCutAtTheFirstDotOfTheFileName) {
  // No dot: the whole name is the base.
  dir_.Write("README", "now");
  G().nQtyOfArchiveFiles = Number(5);
  Seed("arch", {{"README.001", "v1"}});
  SaveRepositoryHistory("README");
  EXPECT_EQ(Contents("arch"), (Files{{"README.001", "now"}, {"README.002", "v1"}}));

  // Two dots in the file name: the copy keeps only the part before the first.
  dir_.Write("jb.class.txt", "two dots");
  Seed("arch", {});
  SaveRepositoryHistory("jb.class.txt");
  EXPECT_EQ(Contents("arch"), (Files{{"jb.001", "two dots"}}));

  // A directory part stands behind the archive directory, after %2E, the
  // mark of a relative directory, and its dot does not cut the name.
  dir_.Write("my.dir/jbclass.txt", "in my.dir");
  Seed("arch/%2E/my.dir", {{"jbclass.001", "v1"}});
  SaveRepositoryHistory("my.dir\\jbclass.txt");
  EXPECT_EQ(Contents("arch/%2E/my.dir"), (Files{{"jbclass.001", "in my.dir"}, {"jbclass.002", "v1"}}));
  EXPECT_EQ(Contents("arch"), (Files{{"jb.001", "two dots"}}));
}

TEST_F(HistoryFilesTest, SourceCopiesStayBesideTheFile) {
  G().sArchiveFileDirectory = Win("arch") + "\\";
  Seed("src", {{"Applet1.java", "now"}, {"Applet1.001", "s1"}, {"Applet1.002", "s2"}, {"Applet1.003", "s3"}});
  SaveSourceHistory(Win("src\\Applet1.java"));
  EXPECT_EQ(Contents("src"),
            (Files{{"Applet1.java", "now"}, {"Applet1.001", "now"}, {"Applet1.002", "s1"}, {"Applet1.003", "s2"}}));
  EXPECT_FALSE(fs::exists(dir_.Path() / "arch"));
  // The source variant leaves the archive directory setting alone.
  EXPECT_EQ(G().sArchiveFileDirectory, Win("arch") + "\\");

  // A dot in the directory does not cut the name: the copies stay in my.dir.
  Seed("my.dir", {{"Applet1.java", "dotted"}});
  SaveSourceHistory(Win("my.dir\\Applet1.java"));
  EXPECT_EQ(Contents("my.dir"), (Files{{"Applet1.java", "dotted"}, {"Applet1.001", "dotted"}}));
  EXPECT_FALSE(fs::exists(dir_.Path() / "my.001"));
}

TEST_F(HistoryFilesTest, ListingTheDirectoryFindsWhatProbingFinds) {
  dir_.Write("jbclass.txt", "now");
  // Copies with gaps, and names that look like copies but are not the
  // rotation's own (wrong digit count, letters, other case, no number); the
  // one in other case stands beside a real copy of the same number, which
  // must move once and survive.
  Files aSeed = {{"jbclass.001", "v1"},   {"jbclass.002", "v2"}, {"jbclass.003", "v3"},  {"jbclass.500", "v500"},
                 {"jbclass.999", "v999"}, {"JBCLASS.003", "d3"}, {"jbclass.0042", "d1"}, {"jbclass.12a", "d2"},
                 {"jbclass.txt", "d4"},   {"jbclass", "d5"},     {"jbclass.", "d6"}};
  Files aExpected = {{"jbclass.001", "now"},  {"jbclass.002", "v1"},    {"jbclass.003", "v2"}, {"jbclass.004", "v3"},
                     {"jbclass.501", "v500"}, {"jbclass.1000", "v999"}, {"JBCLASS.003", "d3"}, {"jbclass.0042", "d1"},
                     {"jbclass.12a", "d2"},   {"jbclass.txt", "d4"},    {"jbclass", "d5"},     {"jbclass.", "d6"}};
#ifdef _WIN32
  // Windows names ignore case and lose a trailing dot: these two would be jbclass.003 and jbclass.
  for (const char* sName : {"JBCLASS.003", "jbclass."}) {
    aSeed.erase(sName);
    aExpected.erase(sName);
  }
#endif
  // 1000 copies are probed one by one, 1001 are found by listing.
  for (const int nCount : {1000, 1001}) {
    SCOPED_TRACE(nCount);
    G().nQtyOfArchiveFiles = Number(nCount);
    Seed("arch", aSeed);
    SaveRepositoryHistory("jbclass.txt");
    EXPECT_EQ(Contents("arch"), aExpected);
  }
}

TEST_F(HistoryFilesTest, HugeCountsRotateTheCopiesThatExist) {
  dir_.Write("jbclass.txt", "now");
  G().nQtyOfArchiveFiles = Number(5000);
  Seed("arch", {{"jbclass.001", "v1"}, {"jbclass.2500", "v2500"}, {"jbclass.5000", "v5000"}});
  SaveRepositoryHistory("jbclass.txt");
  EXPECT_EQ(Contents("arch"), (Files{{"jbclass.001", "now"}, {"jbclass.002", "v1"}, {"jbclass.2501", "v2500"}}));

  // A count of 10^12 must not probe every number; the oldest possible copy
  // is still dropped, and a copy near it still moves up.
  G().nQtyOfArchiveFiles = Number(1e12);
  Seed("arch", {{"jbclass.001", "v1"},
                {"jbclass.2500", "v2500"},
                {"jbclass.999999999998", "vNear"},
                {"jbclass.1000000000000", "vOldest"}});
  SaveRepositoryHistory("jbclass.txt");
  EXPECT_EQ(Contents("arch"), (Files{{"jbclass.001", "now"},
                                     {"jbclass.002", "v1"},
                                     {"jbclass.2501", "v2500"},
                                     {"jbclass.999999999999", "vNear"}}));

  // The source variant takes the same path.
  Seed("src", {{"Applet1.java", "src now"}, {"Applet1.001", "s1"}, {"Applet1.4000", "s4000"}});
  SaveSourceHistory(Win("src\\Applet1.java"));
  EXPECT_EQ(
      Contents("src"),
      (Files{
          {"Applet1.java", "src now"}, {"Applet1.001", "src now"}, {"Applet1.002", "s1"}, {"Applet1.4001", "s4000"}}));
}

TEST_F(HistoryFilesTest, AMissingFileOrArchiveDirectoryIsNotAnError) {
  // No file: the copies still move up, but no copy 1 appears.
  Seed("arch", {{"jbclass.001", "v1"}});
  SaveRepositoryHistory("jbclass.txt");
  EXPECT_EQ(Contents("arch"), (Files{{"jbclass.002", "v1"}}));
  Seed("src", {{"Applet1.001", "s1"}});
  SaveSourceHistory(Win("src\\Applet1.java"));
  EXPECT_EQ(Contents("src"), (Files{{"Applet1.002", "s1"}}));

  // No archive directory: nothing is created anywhere, the file stays.
  dir_.Write("jbclass.txt", "now");
  G().sArchiveFileDirectory = Win("nowhere");
  SaveRepositoryHistory("jbclass.txt");
  EXPECT_FALSE(fs::exists(dir_.Path() / "nowhere"));
  EXPECT_EQ(dir_.Read("jbclass.txt"), "now");
  EXPECT_EQ(Contents("arch"), (Files{{"jbclass.002", "v1"}}));
}

}  // namespace
}  // namespace qv
