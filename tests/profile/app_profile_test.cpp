// SPDX-License-Identifier: Apache-2.0
#include "profile/app_profile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

using test::HostFixture;

struct Font {
  String sName;
  Number nEnhancement, nSize, nColor, nBkgd, nClass, nMethod;
};

class AppProfileTest : public HostFixture {
 protected:
  AppProfileVars& Cv() { return AppProfileClassVars(*module_); }
  void WriteIni(const std::string& sText) { dir_.Write("Quorvane.ini", sText); }
  std::string Ini() const { return dir_.Read("Quorvane.ini"); }
  // The stored value of a key, "<absent>" when it is missing.
  std::string Stored(std::string_view sSection, std::string_view sKey) {
    std::string s;
    host_->Profiles().GetString(sSection, sKey, "<absent>", s, "Quorvane.ini");
    return s;
  }
  Font GetFont() {
    Font f;
    o_.GetFontSettings(*module_, f.sName, f.nEnhancement, f.nSize, f.nColor, f.nBkgd, f.nClass, f.nMethod);
    return f;
  }
  DynArray<String> Values(std::initializer_list<const char*> aList) {
    DynArray<String> a;
    for (const char* s : aList) a.Append(s);
    return a;
  }

  VC_ApplicationProfile o_;
};

TEST_F(AppProfileTest, WithoutTheFileOnlyTheThreeColoursAreSetAndEveryGetterReloads) {
  const Font f = GetFont();
  EXPECT_EQ(f.sName, "");
  EXPECT_EQ(f.nSize, Number(0));
  EXPECT_EQ(f.nEnhancement, Number(0));
  EXPECT_EQ(f.nColor, Number(0));
  EXPECT_EQ(f.nBkgd, Number(12632256));
  EXPECT_EQ(f.nClass, Number(16711680));
  EXPECT_EQ(f.nMethod, Number(0));
  EXPECT_FALSE(Cv().cv_bLoaded);
  EXPECT_EQ(Cv().cv_sIniFile, "Quorvane.ini");
  EXPECT_EQ(host_->Profiles().AbsentCalls(), 1);
  EXPECT_TRUE(host_->Profiles().LastAbsent());

  // The getter reloads: the colours just set are replaced, the rest stays.
  o_.SetFontSettings(*module_, "Courier", Number(2), Number(12), Number(5), Number(6), Number(7), Number(8));
  const Font g = GetFont();
  EXPECT_EQ(g.sName, "Courier");
  EXPECT_EQ(g.nEnhancement, Number(2));
  EXPECT_EQ(g.nSize, Number(12));
  EXPECT_EQ(g.nMethod, Number(8));
  EXPECT_EQ(g.nColor, Number(0));
  EXPECT_EQ(g.nBkgd, Number(12632256));
  EXPECT_EQ(g.nClass, Number(16711680));
  EXPECT_EQ(host_->Profiles().AbsentCalls(), 2);
  EXPECT_EQ(o_.GetSpareString(*module_), "");
  EXPECT_EQ(host_->Profiles().AbsentCalls(), 3);

  // Once the file is there the next getter loads it, and then no longer reloads.
  WriteIni("[Root Directories]\r\nFile Count=4\r\n");
  EXPECT_EQ(o_.GetFileCount(*module_), Number(4));
  EXPECT_TRUE(Cv().cv_bLoaded);
  WriteIni("[Root Directories]\r\nFile Count=9\r\n");
  EXPECT_EQ(AppProfileInstance(*module_).GetFileCount(*module_), Number(4));
  EXPECT_EQ(host_->Profiles().AbsentCalls(), 3);
}

TEST_F(AppProfileTest, AFileWithoutTheProfileSectionYieldsTheTableDefaults) {
  WriteIni("[Root Directories]\r\nJava Files=C:\\src\r\n");
  const Font f = GetFont();
  EXPECT_EQ(f.sName, "Arial");
  EXPECT_EQ(f.nSize, Number(10));
  EXPECT_EQ(f.nEnhancement, Number(0));  // RtStrToNumber of ""
  EXPECT_EQ(f.nColor, Number(0));
  EXPECT_EQ(f.nBkgd, Number(1));
  EXPECT_EQ(f.nClass, Number(0));
  EXPECT_EQ(f.nMethod, Number(0));
  EXPECT_EQ(o_.GetJavaFilesRoot(*module_), "C:\\src");
  EXPECT_EQ(Cv().cv_sAltEditor, "notepad.exe %F");
  EXPECT_EQ(host_->Profiles().AbsentCalls(), 0);
}

TEST_F(AppProfileTest, LoadThenSaveWritesEveryKeyInNormalisedForm) {
  WriteIni(
      "; user settings\r\n"
      "[profile]\r\n"
      "FONT SIZE=10.40\r\n"
      "Font Name=Courier\r\n"
      "font name=Times\r\n"
      "Auto Tile=yes\r\n"
      "Show Validation Messages=1\r\n"
      "Method Color=255.5\r\n"
      "[Other]\r\n"
      "; keep me\r\n"
      "Key=value\r\n");
  o_.InitProfile(*module_);
  EXPECT_EQ(Cv().cv_nFontSize, Number(10.4));
  EXPECT_EQ(Cv().cv_sFontName, "Courier");  // the first of duplicate keys
  EXPECT_FALSE(o_.GetAutoTile(*module_));   // only the text "1" is TRUE
  EXPECT_TRUE(Cv().cv_bShowValidationMsgs);
  o_.SaveProfile(*module_);

  for (const ProfileSetting& row : ProfileSettings()) {
    EXPECT_NE(Stored(row.sSection, row.sKey), "<absent>") << row.sSection << "/" << row.sKey;
  }
  EXPECT_EQ(Stored("Profile", "Method Color"), "256");
  EXPECT_EQ(Stored("Profile", "Auto Tile"), "0");
  EXPECT_EQ(Stored("Profile", "Show Validation Messages"), "1");
  EXPECT_EQ(Stored("Profile", "Auto Save Repository"), "0");  // absent, empty default
  EXPECT_EQ(Stored("Root Directories", "Archive Files"), "0");

  const std::string sText = Ini();
  EXPECT_NE(sText.find("\r\nArchive File Diectory=\r\n"), std::string::npos);
  EXPECT_EQ(sText.find("Archive File Directory"), std::string::npos);
  // The existing lines keep their spelling; other lines and sections stay.
  EXPECT_NE(sText.find("[profile]\r\nFONT SIZE=10\r\nFont Name=Courier\r\nfont name=Times\r\n"), std::string::npos);
  EXPECT_NE(sText.find("; user settings\r\n"), std::string::npos);
  EXPECT_NE(sText.find("[Other]\r\n; keep me\r\nKey=value\r\n"), std::string::npos);
  // Distinct settings under the same key name in two sections.
  Cv().cv_sRunClassPath = "run.jar";
  o_.SaveProfile(*module_);
  EXPECT_EQ(Stored("Java Interpreter", "ClassPath"), "run.jar");
  EXPECT_EQ(Stored("Java Compiler", "ClassPath"), "");
}

TEST_F(AppProfileTest, TheRootAndFileCountAccessorsLoadOnFirstUseAndTheRootSurvivesASave) {
  WriteIni("[Root Directories]\r\nJava Files=  C:\\src  \r\nFile Count=12 files\r\n");
  EXPECT_EQ(o_.GetJavaFilesRoot(*module_), "C:\\src");
  EXPECT_TRUE(Cv().cv_bLoaded);
  EXPECT_EQ(o_.GetFileCount(*module_), Number(12));
  // A root with blanks at its ends is stored so that it reads back whole.
  o_.SetJavaFilesRoot(*module_, " D:\\my src ");
  o_.SaveProfile(*module_);
  Module& fresh = FreshModule();
#ifdef _WIN32  // WritePrivateProfileStringA stores the value bare, and it reads back trimmed (see docs/windows.md)
  EXPECT_EQ(VC_ApplicationProfile().GetJavaFilesRoot(fresh), "D:\\my src");
#else
  EXPECT_EQ(VC_ApplicationProfile().GetJavaFilesRoot(fresh), " D:\\my src ");
#endif
}

TEST_F(AppProfileTest, ListsAreReadUpToTheFirstDeadOrMissingEntry) {
  WriteIni("[Dirs]\r\n; recent\r\nDir000=a\r\nOther=keep\r\nDir001=b\r\nDir002=c\r\n[Next]\r\nA=1\r\n");
  DynArray<String> a;
  EXPECT_EQ(o_.ReadProfileList(*module_, "Dirs", "Dir", a), Number(3));
  EXPECT_EQ(a.Items(), (std::vector<String>{"a", "b", "c"}));

  DynArray<String> aNew = Values({"x", "y"});
  EXPECT_EQ(o_.WriteProfileList(*module_, "DIRS", "Dir", aNew), Number(1));
  EXPECT_EQ(Ini(), "[Dirs]\r\n; recent\r\nDir000=x\r\nOther=keep\r\nDir001=y\r\nDir002=(None)\r\n[Next]\r\nA=1\r\n");
  DynArray<String> b;
  EXPECT_EQ(o_.ReadProfileList(*module_, "Dirs", "Dir", b), Number(2));

  // The result is the array's size: larger than the keys read when it held more.
  DynArray<String> c = Values({"1", "2", "3", "4", "5"});
  EXPECT_EQ(o_.ReadProfileList(*module_, "Dirs", "Dir", c), Number(5));
  EXPECT_EQ(c.Items(), (std::vector<String>{"x", "y", "3", "4", "5"}));

  // A dead entry or an empty value ends the list; later keys are not read.
  WriteIni("[L]\r\nK000=a\r\nK001=(None)\r\nK002=c\r\nE000=a\r\nE001=\r\nE002=c\r\n");
  DynArray<String> d;
  EXPECT_EQ(o_.ReadProfileList(*module_, "l", "k", d), Number(1));
  DynArray<String> e;
  EXPECT_EQ(o_.ReadProfileList(*module_, "L", "E", e), Number(1));
  DynArray<String> aEmpty;
  EXPECT_EQ(o_.WriteProfileList(*module_, "L", "New", aEmpty), Number(-1));
  EXPECT_EQ(Stored("L", "New000"), "<absent>");
}

TEST_F(AppProfileTest, ListSuffixesKeepCountingPastOneThousand) {
  EXPECT_EQ(ProfileListSuffix(0), "000");
  EXPECT_EQ(ProfileListSuffix(7), "007");
  EXPECT_EQ(ProfileListSuffix(99), "099");
  WriteIni("[Recent]\r\n");
  DynArray<String> a;
  for (int n = 0; n < 1003; ++n) a.Append("v" + std::to_string(n));
  EXPECT_EQ(o_.WriteProfileList(*module_, "Recent", "F", a), Number(1002));
  EXPECT_EQ(Stored("Recent", "F010"), "v10");
  EXPECT_EQ(Stored("Recent", "F100"), "v100");
  EXPECT_EQ(Stored("Recent", "F1000"), "v1000");
  EXPECT_EQ(Stored("Recent", "F1001"), "v1001");
  DynArray<String> b;
  EXPECT_EQ(o_.ReadProfileList(*module_, "Recent", "F", b), Number(1003));
  EXPECT_EQ(b.Items(), a.Items());

  // Blanking reaches every entry, past 1000 too.
  DynArray<String> c = Values({"only"});
  o_.WriteProfileList(*module_, "Recent", "F", c);
  EXPECT_EQ(Stored("Recent", "F1002"), "(None)");
  DynArray<String> d;
  EXPECT_EQ(o_.ReadProfileList(*module_, "Recent", "F", d), Number(1));
}

TEST_F(AppProfileTest, AListReadStopsAtTheMaximumEntryCount) {
  std::string sText = "[Big]\r\n";
  for (int64_t n = 0; n <= kMaxProfileListEntries; ++n) sText += "K" + ProfileListSuffix(n) + "=x\r\n";
  WriteIni(sText);
  // An old file: the profile cache trusts it instead of re-reading it.
  const auto p = dir_.Path() / "Quorvane.ini";
  std::filesystem::last_write_time(p, std::filesystem::last_write_time(p) - std::chrono::hours(1));
  DynArray<String> a;
  EXPECT_EQ(o_.ReadProfileList(*module_, "Big", "K", a), Number(kMaxProfileListEntries));
}

}  // namespace
}  // namespace qv
