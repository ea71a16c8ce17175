// SPDX-License-Identifier: Apache-2.0
// Bad input tried for real on the command and the library: huge and deep
// inputs, unreadable files and directories, cut and mis-separated
// repositories, odd file names, a profile that cannot be read.  Each ends
// with a clear message and loses nothing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/os/posix/ini_profiles.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "support/command.h"
#include "support/printers.h"
#include "support/test_host.h"

namespace {

namespace fs = std::filesystem;
using qv::test::Has;

class BadInput : public ::testing::Test {
 protected:
  qv::test::CommandOutput Run(const std::string& sArgs) {
    return qv::test::RunQuorvane(sArgs + " --profile-dir " + tmp_.Str() + "/profile", tmp_);
  }
  qv::test::TempDir tmp_;
};

TEST_F(BadInput, AHundredMegabyteJavaFileIsParsedWhole) {
  const std::string sPath = tmp_.Str() + "/big/Big.java";
  fs::create_directories(tmp_.Path() / "big");
  {
    std::ofstream out(sPath, std::ios::binary);
    out << "// big\npackage big;\nimport java.util.List;\npublic class Big extends Base {\n";
    const std::string sLine = "  int nField; // a line of a very long class body, repeated\n";
    for (size_t n = 0; n < (100u << 20) / sLine.size(); ++n) out << sLine;
    out << "}\n// end\n";
  }
  ASSERT_GE(fs::file_size(sPath), 100u << 20);
  const auto r = Run("scan --list " + tmp_.Str() + "/big");
  fs::remove(sPath);
  EXPECT_EQ(r.nStatus, 0) << r.sErr;
  EXPECT_TRUE(Has(r.sOut, "Big.java\t" + tmp_.Str() + "/big\tBig\tBase\tbig\n")) << r.sOut.substr(0, 500);
}

// Makes a chain of nLevels directories "d" below sRoot, with a Java file at
// level nFileAt, working relative to each level so that no path is too long
// for the system.
void MakeDeepTree(const std::string& sRoot, int nLevels, int nFileAt) {
  int nDir = ::open(sRoot.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(nDir, 0);
  for (int n = 1; n <= nLevels; ++n) {
    ASSERT_EQ(::mkdirat(nDir, "d", 0755), 0) << n;
    const int nNext = ::openat(nDir, "d", O_RDONLY | O_DIRECTORY);
    ::close(nDir);
    ASSERT_GE(nNext, 0);
    nDir = nNext;
    if (n == nFileAt) {
      const int nFile = ::openat(nDir, "Deep.java", O_WRONLY | O_CREAT, 0644);
      const std::string sText = "// x\nclass Deep {\n}\n";
      ASSERT_EQ(::write(nFile, sText.data(), sText.size()), static_cast<ssize_t>(sText.size()));
      ::close(nFile);
    }
  }
  ::close(nDir);
}

TEST_F(BadInput, ATreeTenThousandLevelsDeepIsWalkedAsFarAsPathsReach) {
  fs::create_directories(tmp_.Path() / "deep");
  tmp_.Write("deep/Top.java", "// x\nclass Top {\n}\n");
  MakeDeepTree(tmp_.Str() + "/deep", 10000, 100);
  const auto r = Run("scan --list " + tmp_.Str() + "/deep");
  // The tree goes away with rm, which walks it relative to each level.
  EXPECT_EQ(std::system(("rm -rf '" + tmp_.Str() + "/deep'").c_str()), 0);
  // The file within reach is found; the directories whose paths are too long
  // for the system are reported, and the scan ends.
  EXPECT_TRUE(Has(r.sOut, "Top.java\t")) << r.sOut.substr(0, 300);
  EXPECT_TRUE(Has(r.sOut, "Deep.java\t")) << r.sOut.substr(0, 300);
  EXPECT_TRUE(Has(r.sOut, "classes: 2\n")) << r.sOut.substr(0, 300);
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "cannot list")) << r.sErr.substr(0, 300);
}

TEST_F(BadInput, UnreadableFilesAndDirectoriesAreReportedAndTheScanGoesOn) {
  // Run as a user without rights: root reads everything.
  tmp_.Write("tree/A.java", "// x\nclass A {\n}\n");
  tmp_.Write("tree/Locked.java", "// x\nclass Locked {\n}\n");
  tmp_.Write("tree/closed/B.java", "// x\nclass B {\n}\n");
  fs::permissions(tmp_.Path(), fs::perms::all, fs::perm_options::add);
  fs::permissions(tmp_.Path() / "tree/Locked.java", fs::perms::none);
  fs::permissions(tmp_.Path() / "tree/closed", fs::perms::none);
  const std::string sAs = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  const std::string sCommand = sAs + QV_CLI " scan --list " + tmp_.Str() + "/tree --profile-dir " + tmp_.Str() +
                               "/profile >" + tmp_.Str() + "/out.txt 2>" + tmp_.Str() + "/err.txt";
  const int nStatus = std::system(sCommand.c_str());
  const std::string sOut = tmp_.Read("out.txt"), sErr = tmp_.Read("err.txt");
  EXPECT_EQ(WEXITSTATUS(nStatus), 1) << sErr;
  EXPECT_TRUE(Has(sErr, "/tree/Locked.java")) << sErr;
  EXPECT_TRUE(Has(sErr, "/tree/closed/: cannot list")) << sErr;
  EXPECT_TRUE(Has(sOut, "A.java\t" + tmp_.Str() + "/tree\tA\tObject\t\n")) << sOut;
  EXPECT_TRUE(Has(sOut, "classes: 1\n")) << sOut;
}

TEST_F(BadInput, NamesWithLineBreaksOrBytesThatAreNotUtf8) {
  fs::copy(std::string(QV_SOURCE_DIR) + "/examples/lib", tmp_.Path() / "src", fs::copy_options::recursive);
  tmp_.Write("src/Line\nBreak.java", "// x\nclass LineBreak {\n}\n");
  tmp_.Write("src/Caf\xe9.java", "// x\nclass Cafe {\n}\n");
  const std::string sRepo = tmp_.Str() + "/repo";
  const auto save = Run("scan --save --repo " + sRepo + " " + tmp_.Str() + "/src");
  // The class whose file name holds a line break cannot be stored: said, and
  // the others are saved.
  EXPECT_EQ(save.nStatus, 1);
  EXPECT_TRUE(Has(save.sErr, "class LineBreak not saved: file name contains a line break")) << save.sErr;
  const auto classes = Run("classes --repo " + sRepo);
  EXPECT_EQ(classes.nStatus, 0) << classes.sErr;
  EXPECT_TRUE(Has(classes.sOut, "Cafe\tObject\t\t" + tmp_.Str() + "/src/Caf\xe9.java\n")) << classes.sOut;
  EXPECT_TRUE(Has(classes.sOut, "Applet1\tApplet\t")) << classes.sOut;
  EXPECT_FALSE(Has(classes.sOut, "LineBreak")) << classes.sOut;
}

TEST_F(BadInput, ARepositoryCutOffOrReadWithOtherSeparatorsLosesNothing) {
  fs::copy(std::string(QV_SOURCE_DIR) + "/examples", tmp_.Path() / "src", fs::copy_options::recursive);
  const std::string sRepo = tmp_.Str() + "/repo";
  ASSERT_EQ(Run("scan --save --repo " + sRepo + " " + tmp_.Str() + "/src").nStatus, 0);
  const std::string sWhole = tmp_.Read("repo/jbclass.txt");

  // Cut in the middle of the last line: every whole line still reads.
  const size_t nLastLine = sWhole.rfind('\n', sWhole.size() - 2) + 1;
  tmp_.Write("repo/jbclass.txt", sWhole.substr(0, nLastLine + (sWhole.size() - nLastLine) / 2));
  const auto cut = Run("classes --repo " + sRepo);
  EXPECT_EQ(cut.nStatus, 0) << cut.sErr;
  EXPECT_TRUE(Has(cut.sOut, "Main\tObject\torg.quorvane.app\t")) << cut.sOut;

  // Read with separators it was not written with: no class is found, the
  // command says so, and the file is left as it was.
  tmp_.Write("repo/jbclass.txt", sWhole);
  const auto other = Run("classes --repo " + sRepo + " --delimiter '#' --token '@@'");
  EXPECT_EQ(tmp_.Read("repo/jbclass.txt"), sWhole);
  EXPECT_FALSE(Has(other.sOut, "Main\tObject")) << other.sOut;
  const auto again = Run("classes --repo " + sRepo);
  EXPECT_TRUE(Has(again.sOut, "Main\tObject\torg.quorvane.app\t")) << again.sOut;
}

// A profile that exists but cannot be read (a directory, a symbolic link
// that loops: both fail for root too) stops every command that takes its
// settings before anything is read or written, naming the file and the
// reason; only a missing profile means the defaults.
TEST_F(BadInput, AProfileThatCannotBeRead) {
  fs::copy(std::string(QV_SOURCE_DIR) + "/examples", tmp_.Path() / "src", fs::copy_options::recursive);
  const std::string sSrc = tmp_.Str() + "/src";
  const std::string sRepo = " --repo " + tmp_.Str() + "/repo";
  // The repository is written with the profile's own separators.
  tmp_.Write("profile/Quorvane.ini", "[File Delimiters]\r\nElement Delimiter=<|>\r\nCRLF Delimiter=<~>\r\n");
  ASSERT_EQ(Run("scan --save" + sRepo + " " + sSrc).nStatus, 0);
  const std::string sList = tmp_.Read("repo/jbclass.txt");
  ASSERT_TRUE(Has(sList, "<|>"));
  const fs::path profile = tmp_.Path() / "profile/Quorvane.ini";
  fs::remove(profile);
  for (const bool bDirectory : {false, true}) {
    if (bDirectory) {
      fs::create_directories(profile);
    } else {
      fs::create_symlink("Quorvane.ini", profile);
    }
    const std::string sWhy = profile.string() + ": " +
                             (bDirectory ? "Is a directory" : "Too many levels of symbolic links");
    for (const std::string& sArgs :
         {"scan --save" + sRepo + " " + sSrc, "scan --save --repo " + tmp_.Str() + "/new " + sSrc, "classes" + sRepo,
          "write --all --to " + tmp_.Str() + "/out" + sRepo, "tags -o -" + sRepo,
          std::string("config get Profile 'Font Name'"), std::string("config set Profile 'Font Name' Arial")}) {
      const auto r = Run(sArgs);
      EXPECT_EQ(r.nStatus, 1) << sArgs;
      EXPECT_TRUE(Has(r.sErr, "cannot read " + sWhy)) << sArgs << ": " << r.sErr;
      EXPECT_EQ(r.sOut, "") << sArgs;
    }
    EXPECT_EQ(tmp_.Read("repo/jbclass.txt"), sList);
    EXPECT_FALSE(fs::exists(tmp_.Path() / "new"));
    EXPECT_FALSE(fs::exists(tmp_.Path() / "out"));
    EXPECT_EQ(fs::is_directory(fs::symlink_status(profile)), bDirectory);
    if (!bDirectory) fs::remove(profile);
  }

  qv::IniProfiles ini(tmp_.Str() + "/profile");
  std::string sValue;
  EXPECT_EQ(ini.GetString("Profile", "Font Name", "dflt", sValue, "Quorvane.ini"), 0);
  EXPECT_EQ(sValue, "dflt");
  EXPECT_FALSE(ini.WriteString("Profile", "Font Name", "Arial", "Quorvane.ini"));
  EXPECT_TRUE(Has(ini.LastWriteError(), "cannot be read")) << ini.LastWriteError();
  EXPECT_TRUE(fs::is_directory(tmp_.Path() / "profile/Quorvane.ini"));
}

}  // namespace
