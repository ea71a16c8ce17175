// SPDX-License-Identifier: Apache-2.0
// quorvane config: path, init, list, get and set end to end.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>

#include "support/command.h"
#include "support/test_host.h"

namespace {

using qv::test::Has;

// Sets (or, for nullopt, unsets) an environment variable, which the
// command run next inherits; restores the old value at the end.
class EnvVar {
 public:
  EnvVar(const char* sName, std::optional<std::string> sValue) : sName_(sName) {
    if (const char* s = getenv(sName)) sOld_ = s;
    Set(sValue);
  }
  ~EnvVar() { Set(sOld_); }
  EnvVar(const EnvVar&) = delete;
  EnvVar& operator=(const EnvVar&) = delete;
  void Set(const std::optional<std::string>& sValue) {
    if (sValue) {
      setenv(sName_, sValue->c_str(), 1);
    } else {
      unsetenv(sName_);
    }
  }

 private:
  const char* sName_;
  std::optional<std::string> sOld_;
};

class ConfigCommand : public ::testing::Test {
 protected:
  qv::test::CommandOutput Run(const std::string& sArgs) { return qv::test::RunQuorvane("config " + sArgs, tmp_); }
  std::string Dir() const { return tmp_.Str() + "/profiles/nested"; }
  std::string Opt() const { return " --profile-dir " + Dir(); }
  std::string Ini() const { return tmp_.Read("profiles/nested/Quorvane.ini"); }

  qv::test::TempDir tmp_;
  EnvVar quorvane_{"QUORVANE_PROFILE_DIR", std::nullopt};
  EnvVar xdg_{"XDG_CONFIG_HOME", std::nullopt};
  EnvVar home_{"HOME", tmp_.Str() + "/home"};
};

TEST_F(ConfigCommand, PathFollowsTheOptionThenTheEnvironment) {
  EXPECT_EQ(Run("path").sOut, tmp_.Str() + "/home/.config/quorvane/Quorvane.ini\n");
  xdg_.Set("relative/dir");  // not absolute: ignored
  EXPECT_EQ(Run("path").sOut, tmp_.Str() + "/home/.config/quorvane/Quorvane.ini\n");
  xdg_.Set(tmp_.Str() + "/xdg");
  EXPECT_EQ(Run("path").sOut, tmp_.Str() + "/xdg/quorvane/Quorvane.ini\n");
  quorvane_.Set(tmp_.Str() + "/q/");
  EXPECT_EQ(Run("path").sOut, tmp_.Str() + "/q/Quorvane.ini\n");
  const auto r = Run("path" + Opt());
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.sOut, Dir() + "/Quorvane.ini\n");
  EXPECT_FALSE(std::filesystem::exists(Dir()));  // path creates nothing
}

TEST_F(ConfigCommand, InitListGetAndSet) {
  const auto missing = Run("list" + Opt());
  ASSERT_EQ(missing.nStatus, 0) << missing.sErr;
  EXPECT_TRUE(Has(missing.sErr, "does not exist")) << missing.sErr;
  EXPECT_TRUE(Has(missing.sOut, "Profile\tFont Name\t\tdefault\tcv_sFontName\n")) << missing.sOut;
  EXPECT_TRUE(Has(missing.sOut, "Profile\tBkgd Color\t12632256\tdefault\tcv_nBkgdColor\n")) << missing.sOut;
  EXPECT_EQ(std::count(missing.sOut.begin(), missing.sOut.end(), '\n'), 44);
  EXPECT_TRUE(missing.sOut.ends_with("HTML Browser\tDocument\t\tdefault\tcv_sHTMLDocument\n"));

  const auto init = Run("init" + Opt());
  ASSERT_EQ(init.nStatus, 0) << init.sErr;
  EXPECT_EQ(init.sOut, Dir() + "/Quorvane.ini\n");
  // Every default but the separators, which get the repository commands'
  // safe ones, and init says so.
  EXPECT_TRUE(Has(init.sErr, "written as \\x1F and \\x1E")) << init.sErr;
  const std::string sDefaults = Ini();
  EXPECT_TRUE(Has(sDefaults, "[File Delimiters]\r\nCRLF Delimiter=\x1E\r\nElement Delimiter=\x1F\r\n")) << sDefaults;
  EXPECT_TRUE(Has(sDefaults, "\r\nArchive File Diectory=\r\nArchive Files=0\r\n")) << sDefaults;
  EXPECT_TRUE(Has(sDefaults, "[Profile]\r\nAuto Tile=0\r\n")) << sDefaults;
  EXPECT_TRUE(Has(sDefaults, "Font Name=Arial\r\nFont Size=10\r\n")) << sDefaults;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir()), std::filesystem::directory_iterator()),
            1);  // no temporary left
  const auto again = Run("init" + Opt());
  EXPECT_EQ(again.nStatus, 1);
  EXPECT_TRUE(Has(again.sErr, "--force")) << again.sErr;

  const auto list = Run("list" + Opt());
  EXPECT_TRUE(list.sErr.empty()) << list.sErr;
  EXPECT_TRUE(Has(list.sOut, "Profile\tFont Name\tArial\tfile\tcv_sFontName\n")) << list.sOut;
  EXPECT_FALSE(Has(list.sOut, "\tdefault\t")) << list.sOut;
  EXPECT_EQ(Run("get profile 'FONT NAME'" + Opt()).sOut, "Arial\n");
  EXPECT_EQ(Run("get Profile 'No Such Key'" + Opt()).nStatus, 1);

  const auto size = Run("set Profile 'Font Size' 12.6" + Opt());
  EXPECT_EQ(size.nStatus, 0) << size.sErr;
  EXPECT_TRUE(Has(size.sErr, "stored as '13'")) << size.sErr;
  EXPECT_EQ(Run("get Profile 'Font Size'" + Opt()).sOut, "13\n");
  // A value that does not fit the type is refused and changes nothing.
  const std::string sBefore = Ini();
  const auto notNumber = Run("set Profile 'Font Size' abc" + Opt());
  EXPECT_EQ(notNumber.nStatus, 2);
  EXPECT_TRUE(Has(notNumber.sErr, "not a number")) << notNumber.sErr;
  EXPECT_EQ(Run("set Profile 'Font Size' 1x" + Opt()).nStatus, 2);
  EXPECT_EQ(Run("set Profile 'Auto Tile' yes" + Opt()).nStatus, 2);
  EXPECT_EQ(Ini(), sBefore);
  EXPECT_EQ(Run("get Profile 'Font Size'" + Opt()).sOut, "13\n");
  EXPECT_EQ(Run("set Profile 'Font Size' -4" + Opt()).nStatus, 0);
  EXPECT_EQ(Run("get Profile 'Font Size'" + Opt()).sOut, "-4\n");
  EXPECT_EQ(Run("set Profile 'Auto Tile' 1" + Opt()).nStatus, 0);
  EXPECT_TRUE(Has(Ini(), "Auto Tile=1\r\n"));
  // A value that an INI file would not give back is refused.
  EXPECT_EQ(Run("set Profile 'Font Name' \"$(printf 'Ari\\nal')\"" + Opt()).nStatus, 2);
  EXPECT_TRUE(Has(Ini(), "Font Name=Arial\r\n"));

  EXPECT_EQ(Run("init --force" + Opt()).nStatus, 0);
  EXPECT_EQ(Ini(), sDefaults);
}

TEST_F(ConfigCommand, SetStartsAMissingFileFromTheDefaultsAndKeepsOtherLines) {
  quorvane_.Set(Dir());
  ASSERT_EQ(Run("set Editor 'Alternate Editor' 'vim %F'").nStatus, 0);
  EXPECT_TRUE(Has(Ini(), "Font Name=Arial\r\n")) << Ini();
  EXPECT_TRUE(Has(Ini(), "[Editor]\r\nAlternate Editor=vim %F\r\n")) << Ini();

  tmp_.Write("profiles/nested/Quorvane.ini", "; mine\r\n[PROFILE]\r\nfont size=8\r\n[Other]\r\nX=1\r\n");
  const auto list = Run("list");
  EXPECT_TRUE(Has(list.sOut, "Profile\tFont Size\t8\tfile\tcv_nFontSize\n")) << list.sOut;
  EXPECT_TRUE(Has(list.sOut, "Profile\tFont Name\tArial\tdefault\tcv_sFontName\n")) << list.sOut;
  ASSERT_EQ(Run("set 'Java Compiler' Verbose 1").nStatus, 0);
  const std::string sText = Ini();
  EXPECT_TRUE(sText.starts_with("; mine\r\n[PROFILE]\r\nfont size=8\r\n")) << sText;
  EXPECT_TRUE(Has(sText, "[Other]\r\nX=1\r\n")) << sText;
  EXPECT_TRUE(Has(sText,
                  "[Java Compiler]\r\nCompiled Classes=\r\nClassPath=\r\nOptimize Size=0\r\n"
                  "Generate Debugging Tbl=0\r\nVerbose=1\r\n"))
      << sText;
  EXPECT_EQ(Run("get 'Java Interpreter' Verbose").sOut, "0\n");
}

TEST_F(ConfigCommand, ValuesWithBlanksOrQuotesAroundThemAreKeptWhole) {
  quorvane_.Set(Dir());
  ASSERT_EQ(Run("set Editor 'Alternate Editor' '  vim %F '").nStatus, 0);
  EXPECT_EQ(Run("get Editor 'Alternate Editor'").sOut, "  vim %F \n");
  ASSERT_EQ(Run("set 'HTML Browser' Browser '\"x\"'").nStatus, 0);
  EXPECT_EQ(Run("get 'HTML Browser' Browser").sOut, "\"x\"\n");
  // A Notepad "Unicode" profile is read, and written without corrupting it.
  std::string sUtf16 = "\xFF\xFE";
  for (const char c : std::string("[Profile]\r\nFont Size=8\r\n")) sUtf16 += std::string{c, '\0'};
  tmp_.Write("profiles/nested/Quorvane.ini", sUtf16);
  EXPECT_EQ(Run("get Profile 'Font Size'").sOut, "8\n");
  ASSERT_EQ(Run("set Profile 'Font Name' Courier").nStatus, 0);
  EXPECT_TRUE(Ini().starts_with(sUtf16)) << Ini();
  EXPECT_EQ(Run("get Profile 'Font Name'").sOut, "Courier\n");
  EXPECT_EQ(Run("get Profile 'Font Size'").sOut, "8\n");
}

TEST_F(ConfigCommand, UsageErrors) {
  EXPECT_EQ(Run("").nStatus, 2);
  EXPECT_EQ(Run("frobnicate").nStatus, 2);
  EXPECT_EQ(Run("get Profile").nStatus, 2);
  EXPECT_EQ(Run("list --force").nStatus, 2);
  EXPECT_EQ(Run("list --profile-dir").nStatus, 2);
  EXPECT_EQ(Run("list --bogus").nStatus, 2);
  EXPECT_EQ(Run("init --bogus").nStatus, 2);
  const auto action = Run("lsit");
  EXPECT_EQ(action.nStatus, 2);
  EXPECT_TRUE(Has(action.sErr, "quorvane config: unknown action 'lsit' (did you mean 'list'?)")) << action.sErr;
  EXPECT_TRUE(Has(qv::test::RunQuorvane("config --help", tmp_).sOut, "init"));
}

}  // namespace
