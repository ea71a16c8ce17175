// SPDX-License-Identifier: Apache-2.0
// quorvane tags and scan --tags, judged by the programs that read tags
// files: readtags (universal-ctags), Vim and, for the etags format, Emacs.
// None may be missing: the tests fail without them (scripts/deps.sh
// installs them).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/command.h"
#include "support/test_host.h"

namespace {

namespace fs = std::filesystem;
using qv::test::Has;

// A class as the scan reports it, with the line of its declaration found
// in the source by the test itself: the first line holding the kind's
// keyword and the name.
struct Expected {
  std::string sName;
  std::string sFile;  // canonical
  char cKind = '?';
  int nLine = 0;
};

std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> a;
  std::istringstream in(s);
  for (std::string sLine; std::getline(in, sLine);) a.push_back(sLine);
  return a;
}

std::string Field(const std::string& sLine, size_t k) {
  std::vector<std::string> a;
  std::istringstream in(sLine);
  for (std::string s; std::getline(in, s, '\t');) a.push_back(s);
  return k < a.size() ? a[k] : "";
}

class TagsCommand : public ::testing::Test {
 protected:
  TagsCommand() {
    fs::copy(std::string(QV_SOURCE_DIR) + "/examples", Src(), fs::copy_options::recursive);
    // Beside the examples: every kind, a declaration over several lines
    // below its annotations, CR LF line ends, "/" and "\" on the line.
    tmp_.Write("src/more/p/Colour.java", "package p;\r\n\r\npublic enum Colour { RED, GREEN } // a/b\\c\r\n");
    tmp_.Write("src/more/p/Point.java", "package p;\n\n/** x */\npublic record Point(int x, int y) {}\n");
    tmp_.Write("src/more/p/Marker.java", "package p;\n\n@interface Marker {\n}\n");
    tmp_.Write("src/more/p/Multi.java",
               "package p;\n\n@Deprecated\n@SuppressWarnings({\"a/b\"})\npublic final class Multi<T>\n"
               "        extends Base\n        implements Runnable {\n    public void run() {}\n}\n");
    fs::create_directories(Out());
    EXPECT_FALSE(Which("readtags").empty()) << "readtags (universal-ctags) is missing: run scripts/deps.sh";
    EXPECT_FALSE(Which("vim").empty()) << "vim is missing: run scripts/deps.sh";
    EXPECT_FALSE(Which("emacs").empty()) << "emacs (emacs-nox) is missing: run scripts/deps.sh";
  }

  std::string Src() const { return tmp_.Str() + "/src"; }
  std::string Repo() const { return tmp_.Str() + "/repo"; }
  std::string Out() const { return tmp_.Str() + "/out"; }
  qv::test::CommandOutput Run(const std::string& sArgs) {
    return qv::test::RunQuorvane(sArgs + " --profile-dir " + tmp_.Str() + "/profile", tmp_);
  }
  qv::test::CommandOutput Shell(const std::string& s) { return qv::test::RunShell(s, tmp_); }
  std::string Which(const std::string& sTool) {
    const auto r = Shell("command -v " + sTool);
    return r.nStatus == 0 ? r.sOut : "";
  }

  // Every class of the tree, from the scan's own records.
  std::vector<Expected> Classes() {
    const auto scan = Run("scan --json -q " + Src());
    EXPECT_EQ(scan.nStatus, 0) << scan.sErr;
    const std::map<std::string, char> aKinds = {
        {"class", 'c'}, {"record", 'c'}, {"interface", 'i'}, {"enum", 'g'}, {"annotation", 'a'}};
    std::vector<Expected> a;
    for (const std::string& sLine : Lines(scan.sOut)) {
      const auto o = nlohmann::json::parse(sLine);
      Expected e{o["className"].get<std::string>(), fs::canonical(o["file"].get<std::string>()).string(),
                 aKinds.at(o["kind"].get<std::string>()), 0};
      const std::string sKey = (o["kind"] == "annotation" ? "@interface " : o["kind"].get<std::string>() + " ") +
                               e.sName;
      std::ifstream in(e.sFile);
      int n = 0;
      for (std::string s; e.nLine == 0 && std::getline(in, s);) {
        ++n;
        if (Has(s, sKey)) e.nLine = n;
      }
      a.push_back(e);
    }
    EXPECT_EQ(a.size(), 11U);
    return a;
  }

  qv::test::TempDir tmp_;
};

TEST_F(TagsCommand, ReadtagsFindsEveryClassWithItsFileKindAndLine) {
  ASSERT_EQ(Run("scan --save -q --repo " + Repo() + " " + Src()).nStatus, 0);
  const auto tags = Run("tags --repo " + Repo() + " -o " + Out() + "/tags");
  ASSERT_EQ(tags.nStatus, 0) << tags.sErr;
  EXPECT_EQ(tags.sErr, "");

  // The class lines in byte order after the header, as the header says.
  std::vector<std::string> aLines = Lines(tmp_.Read("out/tags"));
  const auto nFirst = std::find_if(aLines.begin(), aLines.end(), [](const std::string& s) { return s[0] != '!'; });
  EXPECT_TRUE(Has(tmp_.Read("out/tags"), "!_TAG_FILE_FORMAT\t2\t") &&
              Has(tmp_.Read("out/tags"), "!_TAG_FILE_SORTED\t1\t"));
  EXPECT_TRUE(std::is_sorted(nFirst, aLines.end()));

  // readtags' binary search finds each class, with both classes of the
  // same name, each at its own file, kind and line.
  std::map<std::string, std::vector<std::string>> aFound;
  for (const Expected& e : Classes()) {
    const auto r = Shell("readtags -t " + Out() + "/tags -e -n " + e.sName);
    ASSERT_EQ(r.nStatus, 0) << r.sErr;
    std::string sMatch;
    for (const std::string& sLine : Lines(r.sOut)) {
      EXPECT_FALSE(fs::path(Field(sLine, 1)).is_absolute()) << sLine;
      if (fs::weakly_canonical(fs::path(Out()) / Field(sLine, 1)) == e.sFile) sMatch = sLine;
    }
    ASSERT_NE(sMatch, "") << e.sName << " " << e.sFile << "\n" << r.sOut;
    EXPECT_TRUE(Has(sMatch, "\tkind:" + std::string(1, e.cKind) + "\tline:" + std::to_string(e.nLine))) << sMatch;
    aFound[e.sName].push_back(sMatch);
  }
  ASSERT_EQ(aFound["Circle"].size(), 2U);
  EXPECT_TRUE(Has(aFound["Circle"][0], "\tinherits:AbstractShape")) << aFound["Circle"][0];
  EXPECT_TRUE(Has(aFound["Shape"][0], "\tinherits:Serializable")) << aFound["Shape"][0];
  // No superclass worth naming: Object, and the ones an enum or record has.
  for (const char* s : {"Main", "Colour", "Point"}) EXPECT_FALSE(Has(aFound[s][0], "inherits:")) << aFound[s][0];
  EXPECT_TRUE(Has(aFound["Colour"][0], "/^public enum Colour { RED, GREEN } \\/\\/ a\\/b\\\\c$/;\""))
      << aFound["Colour"][0];
}

TEST_F(TagsCommand, VimJumpsToEveryDeclaration) {
  ASSERT_EQ(Run("scan --save -q --repo " + Repo() + " " + Src()).nStatus, 0);
  ASSERT_EQ(Run("tags --repo " + Repo() + " -o " + Out() + "/tags").nStatus, 0);
  const std::vector<Expected> aClasses = Classes();
  // One Vim run visits every tag: :tag NAME, then :tnext for the others of
  // that name; it writes the file and line it lands on for each.
  std::map<std::string, int> aCount;
  for (const Expected& e : aClasses) ++aCount[e.sName];
  std::string sScript = "set nomore hidden tags=" + Out() + "/tags\nlet out = []\n";
  for (const auto& [sName, n] : aCount) {
    for (int k = 0; k < n; ++k) {
      sScript += "try\n  " + std::string(k == 0 ? "tag " + sName : "tnext") + "\n  call add(out, '" + sName +
                 " ' . expand('%:p') . ':' . line('.'))\n"
                 "catch\n  call add(out, '" +
                 sName + " ' . v:exception)\nendtry\n";
    }
  }
  sScript += "call writefile(out, '" + tmp_.Str() + "/vim.out')\nqa!\n";
  tmp_.Write("jump.vim", sScript);
  // From another directory: Vim finds the files relative to the tags file.
  const auto vim = Shell("cd / && vim -es -N -u NONE -i NONE -S " + tmp_.Str() + "/jump.vim </dev/null");
  EXPECT_EQ(vim.nStatus, 0) << vim.sErr;
  std::vector<std::string> aLanded = Lines(tmp_.Read("vim.out"));
  std::vector<std::string> aWanted;
  for (const Expected& e : aClasses) aWanted.push_back(e.sName + " " + e.sFile + ":" + std::to_string(e.nLine));
  std::sort(aLanded.begin(), aLanded.end());
  std::sort(aWanted.begin(), aWanted.end());
  EXPECT_EQ(aLanded, aWanted);
}

TEST_F(TagsCommand, EmacsFindsEveryClassInTheEtagsFile) {
  ASSERT_EQ(Run("scan --save -q --repo " + Repo() + " " + Src()).nStatus, 0);
  const auto tags = Run("tags --format etags --repo " + Repo() + " -o " + Out() + "/TAGS");
  ASSERT_EQ(tags.nStatus, 0) << tags.sErr;
  ASSERT_EQ(Run("scan -q --format etags --tags " + Out() + "/SCANNED " + Src()).nStatus, 0);
  EXPECT_EQ(tmp_.Read("out/SCANNED"), tmp_.Read("out/TAGS"));
  const std::vector<Expected> aClasses = Classes();
  // M-. as Emacs does it: visit the table, ask the etags backend of xref
  // for the definitions of each name, and go to each; the file and line
  // it lands on are written out.
  std::set<std::string> aNames;
  for (const Expected& e : aClasses) aNames.insert(e.sName);
  std::string sNames;
  for (const std::string& s : aNames) sNames += " \"" + s + "\"";
  tmp_.Write("jump.el", "(require 'etags)\n(require 'xref)\n(visit-tags-table \"" + Out() +
                            "/TAGS\")\n"
                            "(let (out)\n"
                            "  (dolist (name '(" +
                            sNames +
                            "))\n"
                            "    (dolist (item (xref-backend-definitions 'etags name))\n"
                            "      (let ((m (xref-location-marker (xref-item-location item))))\n"
                            "        (with-current-buffer (marker-buffer m)\n"
                            "          (goto-char m)\n"
                            "          (push (format \"%s %s:%d\" name (file-truename buffer-file-name)\n"
                            "                        (line-number-at-pos)) out)))))\n"
                            "  (with-temp-file \"" +
                            tmp_.Str() + "/emacs.out\" (insert (mapconcat #'identity out \"\\n\"))))\n");
  const auto emacs = Shell("cd / && emacs --batch -Q -l " + tmp_.Str() + "/jump.el </dev/null");
  ASSERT_EQ(emacs.nStatus, 0) << emacs.sErr;
  std::vector<std::string> aLanded = Lines(tmp_.Read("emacs.out"));
  std::vector<std::string> aWanted;
  for (const Expected& e : aClasses) aWanted.push_back(e.sName + " " + e.sFile + ":" + std::to_string(e.nLine));
  std::sort(aLanded.begin(), aLanded.end());
  std::sort(aWanted.begin(), aWanted.end());
  EXPECT_EQ(aLanded, aWanted);
}

TEST_F(TagsCommand, ScanWritesTheSameFileAndFailuresLeaveNothingHalfWritten) {
  ASSERT_EQ(Run("scan --save -q --repo " + Repo() + " " + Src()).nStatus, 0);
  ASSERT_EQ(Run("tags --repo " + Repo() + " -o " + Out() + "/tags").nStatus, 0);
  const std::string sTags = tmp_.Read("out/tags");
  const auto scan = Run("scan -q --tags " + Out() + "/scanned " + Src());
  ASSERT_EQ(scan.nStatus, 0) << scan.sErr;
  EXPECT_EQ(tmp_.Read("out/scanned"), sTags);
  ASSERT_EQ(Run("scan --save -q --repo " + Repo() + " --tags " + Out() + "/saved " + Src()).nStatus, 0);
  EXPECT_EQ(tmp_.Read("out/saved"), sTags);
  // On stdout the paths are absolute.
  EXPECT_TRUE(Has(Run("tags --repo " + Repo() + " -o -").sOut, "\t" + Src() + "/src/org/quorvane/app/Main.java\t"));

  fs::create_directories(tmp_.Str() + "/none");
  const auto none = Run("tags --repo " + tmp_.Str() + "/none -o " + Out() + "/none");
  EXPECT_EQ(none.nStatus, 1);
  EXPECT_TRUE(Has(none.sErr, "no repository here")) << none.sErr;
  EXPECT_FALSE(fs::exists(Out() + "/none"));
  const auto nodir = Run("tags --repo " + Repo() + " -o " + tmp_.Str() + "/missing/tags");
  EXPECT_EQ(nodir.nStatus, 1);
  EXPECT_TRUE(Has(nodir.sErr, "missing/tags not written")) << nodir.sErr;
  // A directory the command may not write (root may write anywhere: then
  // the command runs as nobody): the old file stays whole.
  tmp_.Write("src/src/org/quorvane/app/Extra.java", "class Extra {\n}\n");
  ASSERT_EQ(Run("scan --save -q --repo " + Repo() + " " + Src()).nStatus, 0);
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                             fs::perms::others_exec;
  fs::permissions(tmp_.Path(), readOnly | fs::perms::owner_write);
  fs::permissions(Out(), readOnly);
  const std::string sArgs = "tags --profile-dir " + tmp_.Str() + "/profile --repo " + Repo() + " -o " + Out() + "/tags";
  const auto locked = geteuid() == 0 ? qv::test::RunQuorvaneAsNobody(sArgs, tmp_) : qv::test::RunQuorvane(sArgs, tmp_);
  fs::permissions(Out(), readOnly | fs::perms::owner_write);
  EXPECT_EQ(locked.nStatus, 1) << locked.sErr;
  EXPECT_TRUE(Has(locked.sErr, "out/tags not written")) << locked.sErr;
  EXPECT_EQ(tmp_.Read("out/tags"), sTags);

  // A source changed since the scan, a method file lost: said, and the
  // class keeps its line.
  tmp_.Write("src/src/org/quorvane/app/Main.java", "class Main2 {\n}\n");
  fs::remove(Repo() + "/methods" + Src() + "/src/org/quorvane/util/Strings.med");
  const auto stale = Run("tags --repo " + Repo() + " -o " + Out() + "/stale");
  EXPECT_EQ(stale.nStatus, 1);
  EXPECT_TRUE(Has(stale.sErr, "Main.java: declaration of Main not found")) << stale.sErr;
  EXPECT_TRUE(Has(stale.sErr, "Strings.med: method file missing")) << stale.sErr;
  const std::string sStale = tmp_.Read("out/stale");
  EXPECT_TRUE(Has(sStale, "\nMain\t../src/src/org/quorvane/app/Main.java\t/public class Main/;\"\tc\n")) << sStale;
  EXPECT_TRUE(Has(sStale, "\nStrings\t../src/src/org/quorvane/util/Strings.java\t/Strings/;\"\tc\n")) << sStale;
}

}  // namespace
