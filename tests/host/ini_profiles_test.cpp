#include "host/ini_profiles.h"

#include <gtest/gtest.h>

#include "support/test_host.h"

namespace qv {
namespace {

class IniProfilesTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  IniProfiles ini_{dir_.Str()};
  std::string Get(std::string_view sSection, std::string_view sKey, int64_t* pCount = nullptr) {
    std::string s;
    const int64_t n = ini_.GetString(sSection, sKey, "<default>", s, "Test.ini");
    if (pCount != nullptr) *pCount = n;
    return s;
  }
};

TEST_F(IniProfilesTest, ReadsWithWindowsRules) {
  dir_.Write("Test.ini",
             "; a comment\r\n"
             "[Profile]\r\n"
             "  Name  =  Some Value  \r\n"
             "name=second\r\n"
             "Empty=\r\n"
             "Quoted=\"  q  \"\r\n"
             "a line without an equals sign\n"
             "[profile]\n"
             "Other=in the duplicate section\n");
  int64_t n = -1;
  EXPECT_EQ(Get("PROFILE", "NAME", &n), "Some Value");  // case-insensitive, trimmed, first wins
  EXPECT_EQ(n, 10);
  EXPECT_EQ(Get("Profile", "Empty", &n), "");
  EXPECT_EQ(n, 0);
  EXPECT_EQ(Get("Profile", "Missing", &n), "<default>");
  EXPECT_EQ(n, 0);
  EXPECT_EQ(Get("Profile", "Quoted"), "  q  ");
  EXPECT_EQ(Get("Profile", "Other"), "<default>");  // only the first section is read
  EXPECT_EQ(Get("Nowhere", "Name"), "<default>");

  std::string s;
  EXPECT_EQ(ini_.GetString("Profile", "Name", "d", s, "Missing.ini"), 0);
  EXPECT_EQ(s, "d");
}

TEST_F(IniProfilesTest, WritesKeepTheRestOfTheFile) {
  dir_.Write("Test.ini", "; keep me\n[One]\nKeyA=1\n; inner comment\nKeyB = 2\n\n[Two]\nX=y\n");
  EXPECT_TRUE(ini_.WriteString("one", "keyb", "22", "Test.ini"));   // replaced in place
  EXPECT_TRUE(ini_.WriteString("One", "KeyC", "3", "Test.ini"));    // after the last key of the section
  EXPECT_TRUE(ini_.WriteString("Three", "Z", "last", "Test.ini"));  // a new section at the end
  EXPECT_EQ(dir_.Read("Test.ini"),
            "; keep me\r\n[One]\r\nKeyA=1\r\n; inner comment\r\nKeyB=22\r\nKeyC=3\r\n\r\n[Two]\r\nX=y\r\n"
            "[Three]\r\nZ=last\r\n");
  EXPECT_EQ(Get("ONE", "KEYB"), "22");
  EXPECT_EQ(Get("Three", "z"), "last");
}

TEST_F(IniProfilesTest, AMissingFileIsCreatedOnTheFirstWrite) {
  EXPECT_TRUE(ini_.WriteString("Root Directories", "Directory000", "C:\\src", "Test.ini"));
  EXPECT_EQ(dir_.Read("Test.ini"), "[Root Directories]\r\nDirectory000=C:\\src\r\n");
  EXPECT_FALSE(ini_.WriteString("S", "K", "v", dir_.Str() + "/no/such/dir/x.ini"));
}

TEST_F(IniProfilesTest, NumberedKeysReadBack) {
  for (const char* sKey : {"File000", "File001", "File010", "File100", "File1000"}) {
    ASSERT_TRUE(ini_.WriteString("Default Files", sKey, std::string("value of ") + sKey, "Test.ini"));
  }
  for (const char* sKey : {"File000", "File001", "File010", "File100", "File1000"}) {
    EXPECT_EQ(Get("Default Files", sKey), std::string("value of ") + sKey);
  }
}

TEST_F(IniProfilesTest, GetIntReadsTheLeadingInteger) {
  dir_.Write("Test.ini", "[N]\nA=42\nB=-7 apples\nC=apples\nD=\n");
  EXPECT_EQ(ini_.GetInt("N", "A", 5, "Test.ini"), 42);
  EXPECT_EQ(ini_.GetInt("N", "B", 5, "Test.ini"), -7);
  EXPECT_EQ(ini_.GetInt("N", "C", 5, "Test.ini"), 5);
  EXPECT_EQ(ini_.GetInt("N", "D", 5, "Test.ini"), 5);
  EXPECT_EQ(ini_.GetInt("N", "Missing", 5, "Test.ini"), 5);
}

TEST_F(IniProfilesTest, AFailedWriteLeavesTheOldFile) {
  dir_.Write("Test.ini", "[S]\nK=old\n");
  // The new text cannot be written beside the file: a directory is in the way.
  std::filesystem::create_directory(dir_.Path() / "Test.ini.qvtmp");
  EXPECT_FALSE(ini_.WriteString("S", "K", "new", "Test.ini"));
  EXPECT_EQ(dir_.Read("Test.ini"), "[S]\nK=old\n");
  EXPECT_EQ(ini_.ResolvePath("C:\\cfg\\App.ini"), "/cfg/App.ini");
  EXPECT_EQ(ini_.ResolvePath("Quorvane.ini"), dir_.Str() + "/Quorvane.ini");
}

TEST_F(IniProfilesTest, RecordsProfileAbsent) {
  ini_.ProfileAbsent(true);
  EXPECT_EQ(ini_.AbsentCalls(), 1);
  EXPECT_TRUE(ini_.LastAbsent());
}

}  // namespace
}  // namespace qv
