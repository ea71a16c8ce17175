// SPDX-License-Identifier: Apache-2.0
#include "host/os/posix/ini_profiles.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>

#include "host/os/posix/posix_files.h"
#include "support/fault_files.h"
#include "support/test_host.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class IniProfilesTest : public ::testing::Test {
 protected:
  // Reads sKey with the default "<default>"; the count read goes to *pCount.
  std::string Get(std::string_view sSection, std::string_view sKey, int64_t* pCount = nullptr,
                  std::string_view sFile = "Test.ini") {
    std::string s = "stale";
    const int64_t n = ini_.GetString(sSection, sKey, "<default>", s, sFile);
    if (pCount != nullptr) *pCount = n;
    return s;
  }
  bool Put(std::string_view sSection, std::string_view sKey, std::string_view sValue) {
    return ini_.WriteString(sSection, sKey, sValue, "Test.ini");
  }
  int64_t Int(std::string_view sKey, int64_t nDefault = 5) { return ini_.GetInt("N", sKey, nDefault, "Test.ini"); }
  // Sets the file's modification time nSeconds into the past, so that the
  // cache trusts its stamp.
  void Age(const std::string& sName, int nSeconds) const {
    const auto oWhen = fs::last_write_time(dir_.Path() / sName) - std::chrono::seconds(nSeconds);
    fs::last_write_time(dir_.Path() / sName, oWhen);
  }
  size_t FilesInDir() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& oEntry : fs::directory_iterator(dir_.Path())) ++n;
    return n;
  }

  test::TempDir dir_;
  IniProfiles ini_{dir_.Str()};
};

TEST_F(IniProfilesTest, ReadsWithWindowsRules) {
  dir_.Write("Test.ini",
             "Stray=before any section\r\n"
             "; a comment\r\n"
             "[Profile]\r\n"
             "  Name  =  Some  Value \t\r\n"
             "name=second\r\n"
             "Empty=\r\n"
             "Blank=   \r\n"
             "Quoted=\"  q  \"\r\n"
             "Single='s'\r\n"
             "Unmatched=\"open\r\n"
             ";Hidden=commented out\r\n"
             "a line without an equals sign\n"
             "Equals=a=b\n"
             "\t[ Other Section ]  trailing text\n"
             "Lf=line feed only\n"
             "[PROFILE]\n"
             "Later=in the duplicate section\n"
             "Name=duplicate section");
  int64_t n = -1;
  EXPECT_EQ(Get("PROFILE", "NAME", &n), "Some  Value");
  EXPECT_EQ(n, 11);
  EXPECT_EQ(Get(" profile\t", "  name ", &n), "Some  Value");
  EXPECT_EQ(Get("Profile", "Empty", &n), "");
  EXPECT_EQ(n, 0);
  EXPECT_EQ(Get("Profile", "Blank", &n), "");
  EXPECT_EQ(n, 0);
  EXPECT_EQ(Get("Profile", "Missing", &n), "<default>");
  EXPECT_EQ(n, 0);
  EXPECT_EQ(Get("Profile", "Quoted", &n), "  q  ");
  EXPECT_EQ(n, 5);
  EXPECT_EQ(Get("Profile", "Single"), "s");
  EXPECT_EQ(Get("Profile", "Unmatched"), "\"open");
  EXPECT_EQ(Get("Profile", "Hidden"), "<default>");
  EXPECT_EQ(Get("Profile", ";Hidden"), "<default>");
  EXPECT_EQ(Get("Profile", "a line without an equals sign"), "<default>");
  EXPECT_EQ(Get("Profile", "Equals"), "a=b");
  EXPECT_EQ(Get("other section", "LF"), "line feed only");
  EXPECT_EQ(Get("Profile", "Later"), "<default>");  // only the first [Profile] is seen
  EXPECT_EQ(Get("", "Stray"), "<default>");
  EXPECT_EQ(Get("Nowhere", "Name"), "<default>");

  EXPECT_EQ(Get("Profile", "Name", &n, "Missing.ini"), "<default>");
  EXPECT_EQ(n, 0);
}

TEST_F(IniProfilesTest, ReadsPastAByteOrderMarkAndAFinalLineWithoutEnd) {
  dir_.Write("Test.ini", "\xEF\xBB\xBF[S]\r\nA=1\r\nB=2");
  EXPECT_EQ(Get("S", "A"), "1");
  EXPECT_EQ(Get("S", "B"), "2");
  EXPECT_TRUE(Put("S", "C", "3"));
  EXPECT_EQ(dir_.Read("Test.ini"), "\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\r\nC=3\r\n");
}

TEST_F(IniProfilesTest, WritingAKeyKeepsEveryOtherByte) {
  const std::string sBefore =
      "; keep me\n[One]\nKeyA = 1\n; inner comment\nno equals here\nKeyB=2\n; trailing\n\n[Two]\nX=y\n";
  dir_.Write("Test.ini", sBefore);
  EXPECT_TRUE(Put("one", "KeyC", "3"));
  EXPECT_EQ(
      dir_.Read("Test.ini"),
      "; keep me\n[One]\nKeyA = 1\n; inner comment\nno equals here\nKeyB=2\nKeyC=3\r\n; trailing\n\n[Two]\nX=y\n");
  EXPECT_TRUE(Put("Three", "Z", "last"));
  EXPECT_TRUE(dir_.Read("Test.ini").ends_with("X=y\n[Three]\r\nZ=last\r\n"));
  EXPECT_EQ(Get("ONE", "keyc"), "3");
  EXPECT_EQ(Get("three", "z"), "last");
  EXPECT_EQ(Get("Two", "X"), "y");

  // A section with no key yet gets it right after its header.
  dir_.Write("Test.ini", "[Empty]\n; only a comment\n[Next]\nK=v");
  EXPECT_TRUE(Put("empty", "New", "1"));
  EXPECT_TRUE(Put("Next", "After", "2"));  // the last line had no line end
  EXPECT_EQ(dir_.Read("Test.ini"), "[Empty]\nNew=1\r\n; only a comment\n[Next]\nK=v\r\nAfter=2\r\n");
}

TEST_F(IniProfilesTest, AnExistingValueIsReplacedInPlace) {
  dir_.Write("Test.ini", "[Sec]\n  Font Name =  Arial  \nfont name=second\nOther=o\n[sec]\nLater=x\n");
  EXPECT_TRUE(Put("SEC", "FONT NAME", "Courier New"));
  // The key keeps its spelling, the line its end; the duplicate is untouched.
  EXPECT_EQ(dir_.Read("Test.ini"), "[Sec]\nFont Name=Courier New\nfont name=second\nOther=o\n[sec]\nLater=x\n");
  // A key found only in a later duplicate section is added to the first.
  EXPECT_TRUE(Put("Sec", "Later", "y"));
  EXPECT_EQ(dir_.Read("Test.ini"),
            "[Sec]\nFont Name=Courier New\nfont name=second\nOther=o\nLater=y\r\n[sec]\nLater=x\n");
  EXPECT_EQ(Get("Sec", "later"), "y");
  // Blanks around a written value would be trimmed away: it goes into
  // quotes and reads back whole.
  EXPECT_TRUE(Put("Sec", "Other", "  a  b  "));
  EXPECT_EQ(Get("Sec", "Other"), "  a  b  ");
  EXPECT_NE(dir_.Read("Test.ini").find("\nOther=\"  a  b  \"\n"), std::string::npos);
}

TEST_F(IniProfilesTest, AMissingFileIsCreatedButNotAMissingDirectory) {
  EXPECT_TRUE(Put("Root Directories", "Java Files", "C:\\src"));
  EXPECT_EQ(dir_.Read("Test.ini"), "[Root Directories]\r\nJava Files=C:\\src\r\n");
  EXPECT_EQ(Get("root directories", "java files"), "C:\\src");

  const std::string sDeep = dir_.Str() + "/no/such/dir/x.ini";
  EXPECT_FALSE(ini_.WriteString("S", "K", "v", sDeep));
  EXPECT_FALSE(fs::exists(dir_.Path() / "no"));
  EXPECT_EQ(Get("S", "K", nullptr, sDeep), "<default>");
  EXPECT_EQ(FilesInDir(), 1u);  // no temporary file left behind
}

TEST_F(IniProfilesTest, GetIntReadsTheLeadingInteger) {
  dir_.Write("Test.ini",
             "[N]\nA=42\nB=-7 apples\nC=apples\nD=\nE=+12\nF= 0x1F\nG=\"33\"\nH=-\nI=99999999999999999999\n"
             "J=-9223372036854775808\nK=9223372036854775807\nL=-99999999999999999999\nM=  -0\n");
  EXPECT_EQ(Int("A"), 42);
  EXPECT_EQ(Int("B"), -7);
  EXPECT_EQ(Int("C"), 0);  // as Windows: a value that is no number is 0
  EXPECT_EQ(Int("D"), 5);  // and an empty one the default
  EXPECT_EQ(Int("E"), 12);
  EXPECT_EQ(Int("F"), 0);
  EXPECT_EQ(Int("G"), 33);
  EXPECT_EQ(Int("H"), 0);
  EXPECT_EQ(Int("I"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(Int("J"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(Int("K"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(Int("L"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(Int("M", 7), 0);
  EXPECT_EQ(Int("Missing", -3), -3);
  EXPECT_EQ(ini_.GetInt("N", "A", 5, "Missing.ini"), 5);
}

TEST_F(IniProfilesTest, NumberedKeysAreWrittenAndReadBack) {
  auto KeyFor = [](int n) {
    std::string sDigits = std::to_string(n);
    return "File" + std::string(sDigits.size() < 3 ? 3 - sDigits.size() : 0, '0') + sDigits;
  };
  for (int n = 0; n <= 1000; ++n) ASSERT_TRUE(Put("Default Files", KeyFor(n), "value " + std::to_string(n)));
  for (int n = 0; n <= 1000; ++n) {
    int64_t nCount = 0;
    ASSERT_EQ(Get("Default Files", KeyFor(n), &nCount), "value " + std::to_string(n));
    EXPECT_EQ(nCount, static_cast<int64_t>(("value " + std::to_string(n)).size()));
  }
  // Blanking the list rewrites each line in place.
  for (int n = 0; n <= 1000; ++n) ASSERT_TRUE(Put("Default Files", KeyFor(n), "(None)"));
  const std::string sText = dir_.Read("Test.ini");
  EXPECT_TRUE(sText.starts_with("[Default Files]\r\nFile000=(None)\r\nFile001=(None)\r\n"));
  EXPECT_TRUE(sText.ends_with("File999=(None)\r\nFile1000=(None)\r\n"));
  EXPECT_EQ(Get("Default Files", "File010"), "(None)");
}

TEST_F(IniProfilesTest, AFileThatCannotBeReadIsNeverReplaced) {
  fs::create_directory(dir_.Path() / "Test.ini");
  int64_t n = -1;
  EXPECT_EQ(Get("S", "K", &n), "<default>");
  EXPECT_EQ(n, 0);
  EXPECT_EQ(ini_.GetInt("S", "K", 9, "Test.ini"), 9);
  EXPECT_FALSE(Put("S", "K", "v"));
  EXPECT_TRUE(fs::is_directory(dir_.Path() / "Test.ini"));

  // Nor is a pipe replaced by a file.
  ASSERT_EQ(::mkfifo((dir_.Str() + "/Pipe.ini").c_str(), 0600), 0);
  EXPECT_EQ(Get("S", "K", &n, "Pipe.ini"), "<default>");
  EXPECT_FALSE(ini_.WriteString("S", "K", "v", "Pipe.ini"));
  EXPECT_TRUE(fs::is_fifo(dir_.Path() / "Pipe.ini"));

  // A path through a file, not a directory, reads as missing and cannot be written.
  dir_.Write("Plain", "x");
  EXPECT_EQ(Get("S", "K", &n, dir_.Str() + "/Plain/Test.ini"), "<default>");
  EXPECT_FALSE(ini_.WriteString("S", "K", "v", dir_.Str() + "/Plain/Test.ini"));
  EXPECT_EQ(dir_.Read("Plain"), "x");

  if (::geteuid() != 0) {  // root reads past permissions
    dir_.Write("Locked.ini", "[S]\nK=old\n");
    fs::permissions(dir_.Path() / "Locked.ini", fs::perms::none);
    EXPECT_EQ(Get("S", "K", &n, "Locked.ini"), "<default>");
    EXPECT_FALSE(ini_.WriteString("S", "K", "new", "Locked.ini"));
    fs::permissions(dir_.Path() / "Locked.ini", fs::perms::owner_all);
    EXPECT_EQ(dir_.Read("Locked.ini"), "[S]\nK=old\n");
  }
}

TEST_F(IniProfilesTest, AWriteThatFailsHalfwayLeavesTheOldFile) {
  const std::string sOld = "[S]\nK=old\n";
  dir_.Write("Test.ini", sOld);
  // Files may not grow past 64 bytes: writing the new text fails part way,
  // as on a full disk.
  rlimit oSaved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oSaved), 0);
  auto fnSaved = ::signal(SIGXFSZ, SIG_IGN);
  rlimit oSmall = oSaved;
  oSmall.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &oSmall), 0);
  const bool bWritten = Put("S", "K", std::string(200, 'n'));
  ::setrlimit(RLIMIT_FSIZE, &oSaved);
  ::signal(SIGXFSZ, fnSaved);

  EXPECT_FALSE(bWritten);
  EXPECT_EQ(dir_.Read("Test.ini"), sOld);
  EXPECT_EQ(Get("S", "K"), "old");
  EXPECT_EQ(FilesInDir(), 1u);
  EXPECT_TRUE(Put("S", "K", "new"));
  EXPECT_EQ(Get("S", "K"), "new");
}

TEST_F(IniProfilesTest, AnInjectedFailureOfAnyStepOfAWriteIsReportedAndLosesNothing) {
  const std::string sOld = "[S]\r\nK=old\r\n";
  dir_.Write("Test.ini", sOld);
  PosixFileSystem oFiles;
  FaultInjectingFileSystem oFaults(oFiles);
  ini_.WriteThrough(oFaults);
  for (const FaultOp eOp : {FaultOp::kOpenForWrite, FaultOp::kWrite, FaultOp::kClose, FaultOp::kRename}) {
    oFaults.FailNth(eOp, 1);
    EXPECT_FALSE(Put("S", "K", "new")) << static_cast<int>(eOp);
    EXPECT_NE(ini_.LastWriteError().find("cannot be written"), std::string::npos) << ini_.LastWriteError();
    EXPECT_EQ(dir_.Read("Test.ini"), sOld);
    EXPECT_EQ(Get("S", "K"), "old");
    EXPECT_EQ(FilesInDir(), 1u);
    oFaults.Clear();
  }
  EXPECT_TRUE(Put("S", "K", "new"));
  EXPECT_EQ(dir_.Read("Test.ini"), "[S]\r\nK=new\r\n");
}

TEST_F(IniProfilesTest, RefusesNamesAndValuesThatWouldNotReadBack) {
  const std::string sOld = "[S]\r\nK=v\r\n";
  dir_.Write("Test.ini", sOld);
  EXPECT_FALSE(Put("S", "K", "two\r\nlines"));
  EXPECT_FALSE(Put("S", "K", "feed\nonly"));
  EXPECT_FALSE(Put("S", "A=B", "v"));
  EXPECT_FALSE(Put("S", ";K", "v"));
  EXPECT_FALSE(Put("S", "[K]", "v"));
  EXPECT_FALSE(Put("S", "  ", "v"));
  EXPECT_FALSE(Put("", "K", "v"));
  EXPECT_FALSE(Put("A]B", "K", "v"));
  EXPECT_FALSE(Put("S\nT", "K", "v"));
  EXPECT_FALSE(ini_.WriteString("S", "K", "v", ""));
  EXPECT_EQ(dir_.Read("Test.ini"), sOld);
  EXPECT_TRUE(Put(" S ", " K ", "ok"));
  EXPECT_EQ(dir_.Read("Test.ini"), "[S]\r\nK=ok\r\n");
}

TEST_F(IniProfilesTest, SeesChangesMadeByOthers) {
  // A same-size rewrite right after a read, within the timestamp's grain:
  // the file keeps its inode, size and modification time.
  dir_.Write("Test.ini", "[S]\nK=1\n");
  const auto oWritten = fs::last_write_time(dir_.Path() / "Test.ini");
  EXPECT_EQ(Get("S", "K"), "1");
  dir_.Write("Test.ini", "[S]\nK=2\n");
  fs::last_write_time(dir_.Path() / "Test.ini", oWritten);
  EXPECT_EQ(Get("S", "K"), "2");

  // An old file, trusted by its stamp, changed in place.
  Age("Test.ini", 60);
  EXPECT_EQ(Get("S", "K"), "2");
  EXPECT_EQ(Get("S", "K"), "2");
  dir_.Write("Test.ini", "[S]\nK=3\n");
  EXPECT_EQ(Get("S", "K"), "3");

  // Replaced by another file, then removed.
  Age("Test.ini", 60);
  EXPECT_EQ(Get("S", "K"), "3");
  dir_.Write("Other.ini", "[S]\nK=4\n");
  Age("Other.ini", 60);
  fs::rename(dir_.Path() / "Other.ini", dir_.Path() / "Test.ini");
  EXPECT_EQ(Get("S", "K"), "4");
  fs::remove(dir_.Path() / "Test.ini");
  EXPECT_EQ(Get("S", "K"), "<default>");

  // Our own write after someone else's.
  dir_.Write("Test.ini", "[S]\nK=5\nJ=x\n");
  EXPECT_TRUE(Put("S", "J", "y"));
  EXPECT_EQ(dir_.Read("Test.ini"), "[S]\nK=5\nJ=y\n");
  EXPECT_EQ(Get("S", "K"), "5");
}

TEST_F(IniProfilesTest, RewritesKeepTheFileItsModeAndItsLinks) {
  dir_.Write("Test.ini", "[S]\nK=v\n");
  fs::permissions(dir_.Path() / "Test.ini", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  struct stat oBefore {};
  ASSERT_EQ(::stat((dir_.Str() + "/Test.ini").c_str(), &oBefore), 0);
  EXPECT_TRUE(Put("s", "k", "v"));  // the same text: nothing to write
  struct stat oAfter {};
  ASSERT_EQ(::stat((dir_.Str() + "/Test.ini").c_str(), &oAfter), 0);
  EXPECT_EQ(oAfter.st_ino, oBefore.st_ino);

  EXPECT_TRUE(Put("S", "K", "w"));
  ASSERT_EQ(::stat((dir_.Str() + "/Test.ini").c_str(), &oAfter), 0);
  EXPECT_NE(oAfter.st_ino, oBefore.st_ino);  // replaced by rename
  EXPECT_EQ(oAfter.st_mode & 07777, 0640u);

  fs::create_symlink(dir_.Path() / "Test.ini", dir_.Path() / "Link.ini");
  EXPECT_TRUE(ini_.WriteString("S", "K", "through the link", "Link.ini"));
  EXPECT_TRUE(fs::is_symlink(dir_.Path() / "Link.ini"));
  EXPECT_EQ(dir_.Read("Test.ini"), "[S]\nK=through the link\n");
}

TEST_F(IniProfilesTest, ResolvesBareNamesAndWindowsPaths) {
  EXPECT_EQ(ini_.ResolvePath("Quorvane.ini"), dir_.Str() + "/Quorvane.ini");
  EXPECT_EQ(ini_.ResolvePath("C:\\cfg\\App.ini"), "/cfg/App.ini");
  EXPECT_EQ(ini_.ResolvePath("sub\\App.ini"), "sub/App.ini");
  EXPECT_EQ(IniProfiles("/etc/").ResolvePath("a.ini"), "/etc/a.ini");

  // A mapper of the host's own: drive C: is the temporary directory.
  const std::string sRoot = dir_.Str();
  IniProfiles oMapped("/nonexistent", [sRoot](std::string_view sPath) {
    std::string s(sPath.substr(2));
    for (char& c : s) c = c == '\\' ? '/' : c;
    return sRoot + s;
  });
  fs::create_directory(dir_.Path() / "cfg");
  EXPECT_TRUE(oMapped.WriteString("S", "K", "mapped", "C:\\cfg\\App.ini"));
  EXPECT_EQ(dir_.Read("cfg/App.ini"), "[S]\r\nK=mapped\r\n");
  std::string s;
  EXPECT_EQ(oMapped.GetString("s", "k", "", s, "C:/cfg/App.ini"), 6);
  EXPECT_EQ(s, "mapped");
}

TEST_F(IniProfilesTest, RecordsProfileAbsent) {
  EXPECT_EQ(ini_.AbsentCalls(), 0);
  ini_.ProfileAbsent(true);
  EXPECT_EQ(ini_.AbsentCalls(), 1);
  EXPECT_TRUE(ini_.LastAbsent());
  ini_.ProfileAbsent(false);
  EXPECT_EQ(ini_.AbsentCalls(), 2);
  EXPECT_FALSE(ini_.LastAbsent());
}

TEST_F(IniProfilesTest, ALoneCarriageReturnEndsALineAndAWriteChangesNoOtherValue) {
  dir_.Write("Test.ini", "x\n[S]\nk=v\r");
  EXPECT_TRUE(Put("S", "x", "1"));
  EXPECT_EQ(Get("S", "k"), "v");
  EXPECT_EQ(Get("S", "x"), "1");
  EXPECT_EQ(dir_.Read("Test.ini"), "x\n[S]\nk=v\rx=1\r\n");
  // A file with CR-only line ends reads like one with CR LF.
  dir_.Write("Test.ini", "[A]\ra=1\rb=2\r[B]\rc=3\r");
  EXPECT_EQ(Get("A", "b"), "2");
  EXPECT_EQ(Get("B", "c"), "3");
  EXPECT_EQ(Get("A", "c"), "<default>");
}

TEST_F(IniProfilesTest, EveryValueReportedWrittenReadsBackAsWritten) {
  for (const std::string sValue : {"  x", "x\t", "\"x\"", "'x'", "\"", "' '", " \"a\" ", "\"a", "a\"", "=", ";x"}) {
    ASSERT_TRUE(Put("S", "k", sValue)) << sValue;
    EXPECT_EQ(Get("S", "k"), sValue);
    IniProfiles fresh(dir_.Str());
    std::string sRead;
    fresh.GetString("S", "k", "", sRead, "Test.ini");
    EXPECT_EQ(sRead, sValue);
  }
  // A refused write says why and leaves the file as it was.
  const std::string sBefore = dir_.Read("Test.ini");
  EXPECT_FALSE(Put("S", "k", "a\rb"));
  EXPECT_EQ(ini_.LastWriteError(), "a line break");
  EXPECT_EQ(dir_.Read("Test.ini"), sBefore);
  EXPECT_TRUE(Put("S", "k", "plain"));
  EXPECT_EQ(ini_.LastWriteError(), "");
}

// "[Sec]\r\nkey=vä\r\n" as Notepad saves it in "Unicode": UTF-16 LE with its mark.
std::string Utf16Le(std::u16string_view s, bool bBigEndian = false) {
  std::string sOut = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t c : s) {
    const char cLow = static_cast<char>(c & 0xFF), cHigh = static_cast<char>(c >> 8);
    sOut.push_back(bBigEndian ? cHigh : cLow);
    sOut.push_back(bBigEndian ? cLow : cHigh);
  }
  return sOut;
}

TEST_F(IniProfilesTest, AUtf16FileReadsAsWindowsReadsItAndStaysUtf16) {
  dir_.Write("Test.ini", Utf16Le(u"[Sec]\r\nkey=v\u00e4\r\nn=42\r\nsmile=\U0001F600\r\n"));
  EXPECT_EQ(Get("Sec", "key"), "v\xC3\xA4");
  EXPECT_EQ(Int("n"), 5);  // section N does not exist
  EXPECT_EQ(ini_.GetInt("Sec", "n", 5, "Test.ini"), 42);
  EXPECT_EQ(Get("sec", "smile"), "\xF0\x9F\x98\x80");

  EXPECT_TRUE(Put("Sec", "key", "\xC3\xA9t\xC3\xA9"));
  EXPECT_TRUE(Put("New", "k", "1"));
  EXPECT_EQ(dir_.Read("Test.ini"),
            Utf16Le(u"[Sec]\r\nkey=\u00e9t\u00e9\r\nn=42\r\nsmile=\U0001F600\r\n[New]\r\nk=1\r\n"));
  IniProfiles fresh(dir_.Str());
  std::string sRead;
  fresh.GetString("Sec", "key", "", sRead, "Test.ini");
  EXPECT_EQ(sRead, "\xC3\xA9t\xC3\xA9");

  // Text that is no UTF-8 cannot go in: refused, the file unchanged.
  const std::string sBefore = dir_.Read("Test.ini");
  EXPECT_FALSE(Put("Sec", "key", "\xE9"));
  EXPECT_NE(ini_.LastWriteError().find("UTF-8"), std::string::npos);
  EXPECT_EQ(dir_.Read("Test.ini"), sBefore);

  // A file of nothing but the mark gets its first section right behind it.
  dir_.Write("Mark.ini", "\xFF\xFE");
  EXPECT_TRUE(ini_.WriteString("S", "k", "v", "Mark.ini"));
  EXPECT_EQ(dir_.Read("Mark.ini"), Utf16Le(u"[S]\r\nk=v\r\n"));

  // Big endian too.
  dir_.Write("Big.ini", Utf16Le(u"[S]\r\nk=v\r\n", true));
  EXPECT_EQ(Get("S", "k", nullptr, "Big.ini"), "v");
  EXPECT_TRUE(ini_.WriteString("S", "k2", "w", "Big.ini"));
  EXPECT_EQ(dir_.Read("Big.ini"), Utf16Le(u"[S]\r\nk=v\r\nk2=w\r\n", true));
}

TEST_F(IniProfilesTest, ABrokenUtf16FileReadsButIsNeverWritten) {
  std::string sBroken = Utf16Le(u"[S]\r\nk=v\r\nbad=");
  sBroken += std::string("\x00\xD8", 2);  // a lone high surrogate
  sBroken += "x";                         // and an odd length
  dir_.Write("Test.ini", sBroken);
  EXPECT_EQ(Get("S", "k"), "v");
  EXPECT_FALSE(Put("S", "k", "w"));
  EXPECT_NE(ini_.LastWriteError().find("UTF-16"), std::string::npos);
  EXPECT_EQ(dir_.Read("Test.ini"), sBroken);
}

}  // namespace
}  // namespace qv
