// SPDX-License-Identifier: Apache-2.0
// VC_BldBlockProfile on real INI files and real log files.
#include "framework/bldblock_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/test_host.h"

namespace qv {
namespace {

class BldBlockProfileTest : public test::HostFixture {
 protected:
  void WriteIni(const std::string& sDebugKeys) {
    dir_.Write("BLDBLOCK.INI", "[BldBlock File Path]\nBldBlock Help=bb.hlp\n[Debug BldBlock]\n" + sDebugKeys);
  }
  std::vector<std::string> BoxTexts() {
    std::vector<std::string> a;
    for (const auto& box : host_->Windows().Boxes()) a.push_back(box.sText);
    return a;
  }
  static size_t Count(const std::string& s, const std::string& sPart) {
    size_t n = 0;
    for (size_t at = s.find(sPart); at != std::string::npos; at = s.find(sPart, at + 1)) ++n;
    return n;
  }
  VC_BldBlockProfile oProfile_;
};

TEST_F(BldBlockProfileTest, SqlProfileModeWritesOneHeaderBlockAndShowsMessage3) {
  const std::string sLog = (dir_.Path() / "sqlprofile.log").string();
  WriteIni("SqlProfile Log=" + sLog + "\nSqlProfile Mode (On/1)=1\n");
  oProfile_.InitBldBlockProfile(*module_);

  const std::string sText = dir_.Read("sqlprofile.log");
  const std::regex header(
      "\r\r\n\r\r\nStart New SqlProfile Log \r\r\nApplication: ([^\r\n]+)\r\r\n"
      "DateTime: ([0-9]{1,2})/([0-9]{1,2})/([0-9]{2}) ([0-9]{2}):([0-9]{2}):([0-9]{2}) (AM|PM)\r\n");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(sText, match, header)) << sText;
  EXPECT_EQ(match[1].str(), host_->Windows().Context().sAppName);
  EXPECT_NE(match[1].str().find("quorvane_unit_tests"), std::string::npos);  // this process's program
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"S3: Auto Sql Profile Log On!"});
  EXPECT_TRUE(oProfile_.GetSqlProfileMode(*module_));
  EXPECT_FALSE(oProfile_.GetPerformanceMode(*module_));
  EXPECT_EQ(oProfile_.GetSqlProfileLog(*module_), sLog);
  EXPECT_EQ(oProfile_.GetBldBlockHelp(*module_), "bb.hlp");

  // A second load appends a second block to the existing file.
  oProfile_.InitBldBlockProfile(*module_);
  EXPECT_EQ(Count(dir_.Read("sqlprofile.log"), "Start New SqlProfile Log "), 2u);
  EXPECT_EQ(dir_.Read("sqlprofile.log").substr(0, sText.size()), sText);
}

TEST_F(BldBlockProfileTest, PerformanceModeAndOnlyTheValueOneSwitchesModesOn) {
  const std::string sLog = (dir_.Path() / "perf.log").string();
  WriteIni("Performance Log=" + sLog + "\nPerformance Mode (On/1)=2\nDebug Mode (On/1)=1\nSqlProfile Mode (On/1)=0\n");
  EXPECT_TRUE(oProfile_.GetDebugMode(*module_));
  EXPECT_FALSE(oProfile_.GetPerformanceMode(*module_));
  EXPECT_FALSE(oProfile_.GetSqlProfileMode(*module_));
  EXPECT_TRUE(BoxTexts().empty());
  EXPECT_FALSE(std::filesystem::exists(sLog));

  WriteIni("Performance Log=" + sLog + "\nPerformance Mode (On/1)=1\n");
  oProfile_.InitBldBlockProfile(*module_);
  EXPECT_TRUE(oProfile_.GetPerformanceMode(*module_));
  EXPECT_TRUE(oProfile_.GetDebugMode(*module_));  // modes once on stay on
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"S6: Auto Performance Log On!"});
  EXPECT_EQ(Count(dir_.Read("perf.log"), "Start New Performance Log \r\r\nApplication: "), 1u);
}

TEST_F(BldBlockProfileTest, AnEmptyLogNameShowsTheMessageAndWritesNothing) {
  WriteIni("SqlProfile Mode (On/1)=1\n");
  oProfile_.LoadBldBlockProfile(*module_);
  EXPECT_TRUE(oProfile_.GetSqlProfileMode(*module_));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"S3: Auto Sql Profile Log On!"});
  EXPECT_EQ(oProfile_.GetSqlProfileLog(*module_), "");
}

TEST_F(BldBlockProfileTest, ALogThatCannotBeWrittenStillSwitchesTheModeOn) {
  const std::string sLog = (dir_.Path() / "missing-dir" / "sql.log").string();
  WriteIni("SqlProfile Log=" + sLog + "\nSqlProfile Mode (On/1)=1\n");
  testing::internal::CaptureStderr();
  oProfile_.InitBldBlockProfile(*module_);
  const std::string sErr = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(oProfile_.GetSqlProfileMode(*module_));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"S3: Auto Sql Profile Log On!"});
  EXPECT_FALSE(std::filesystem::exists(sLog));
  // The host says that nothing will reach the log.
  EXPECT_NE(sErr.find(sLog), std::string::npos) << sErr;
}

TEST_F(BldBlockProfileTest, AMissingFileLeavesEverythingOffAndStaticsAsWindowsOn) {
  EXPECT_FALSE(oProfile_.GetDebugMode(*module_));
  EXPECT_FALSE(oProfile_.GetSqlProfileMode(*module_));
  EXPECT_FALSE(oProfile_.GetPerformanceMode(*module_));
  EXPECT_EQ(oProfile_.GetSqlProfileLog(*module_), "");
  EXPECT_EQ(oProfile_.GetPerformanceLog(*module_), "");
  EXPECT_EQ(oProfile_.GetBldBlockHelp(*module_), "");
  EXPECT_TRUE(host_->Windows().Context().bStaticsAsWindows);
  EXPECT_EQ(BldBlockProfileClassVars(*module_).cv_sBldBlockIni, "BLDBLOCK.INI");
}

TEST_F(BldBlockProfileTest, TheFirstGetterLoadsOnceAndStaticsAsWindowsCanBeSwitchedOff) {
  WriteIni("StaticsAsWindowsOff Mode (On/1)=1\nDebug Mode (On/1)=1\n");
  EXPECT_TRUE(oProfile_.GetDebugMode(*module_));
  EXPECT_FALSE(host_->Windows().Context().bStaticsAsWindows);
  // No reload: a changed file is not seen by the getters.
  WriteIni("SqlProfile Mode (On/1)=1\n");
  host_->Windows().SetStaticsAsWindows(true);
  EXPECT_FALSE(oProfile_.GetSqlProfileMode(*module_));
  EXPECT_TRUE(host_->Windows().Context().bStaticsAsWindows);
  // A direct init reloads.
  oProfile_.InitBldBlockProfile(*module_);
  EXPECT_TRUE(oProfile_.GetSqlProfileMode(*module_));
  EXPECT_TRUE(host_->Windows().Context().bStaticsAsWindows);
}

}  // namespace
}  // namespace qv
