// SPDX-License-Identifier: Apache-2.0
// quorvane scan --save, classes, show, tree and write, end to end on a copy
// of the bundled examples.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/command.h"
#include "support/test_host.h"

namespace {

using qv::test::Has;

class RepositoryCommand : public ::testing::Test {
 protected:
  RepositoryCommand() {
    std::filesystem::copy(std::string(QV_SOURCE_DIR) + "/examples", Src(), std::filesystem::copy_options::recursive);
  }
  std::string Src() const { return tmp_.Str() + "/src"; }
  std::string Repo() const { return tmp_.Str() + "/repo"; }
  // Where a default save keeps the method file of the source sSource below
  // Src(): the repository's methods folder, then the source's directory.
  std::string MethodFile(const std::string& sSource) const {
    return Repo() + "/methods" + Src() + "/" + sSource.substr(0, sSource.rfind('.')) + ".med";
  }
  // Every file below Src() (relative path) with its content.
  std::map<std::string, std::string> SourceTree() const {
    std::map<std::string, std::string> aFiles;
    for (const auto& e : std::filesystem::recursive_directory_iterator(Src())) {
      const std::string sPath = std::filesystem::relative(e.path(), tmp_.Path()).string();
      aFiles[sPath] = e.is_regular_file() ? tmp_.Read(sPath) : "(not a file)";
    }
    return aFiles;
  }
  // Every run uses the test's own profile directory, never the user's.
  std::string Profile() const { return tmp_.Str() + "/profile"; }
  qv::test::CommandOutput Run(const std::string& sArgs) {
    return qv::test::RunQuorvane(sArgs + " --profile-dir " + Profile(), tmp_);
  }

  qv::test::TempDir tmp_;
};

// The save writes nothing below the root: the method files go to the
// repository's methods folder, where the two classes named Circle have one
// each.
TEST_F(RepositoryCommand, ScanSaveThenTreeClassesAndShow) {
  const auto aSources = SourceTree();
  const auto save = Run("scan --save --repo " + Repo() + " " + Src());
  ASSERT_EQ(save.nStatus, 0) << save.sErr;
  EXPECT_TRUE(Has(save.sOut, "saved: jbclass.txt with 7 classes")) << save.sOut;
  EXPECT_TRUE(std::filesystem::exists(Repo() + "/jbclass.txt"));
  EXPECT_EQ(SourceTree(), aSources);

  const auto tree = Run("tree --repo " + Repo());
  ASSERT_EQ(tree.nStatus, 0) << tree.sErr;
  EXPECT_TRUE(Has(tree.sOut,
                  "Object\n"
                  "  AbstractShape  (org.quorvane.shapes)\n"
                  "    Circle  (org.quorvane.shapes)\n"
                  "    Circle  (org.quorvane.shapes.solid)\n"
                  "  Main  (org.quorvane.app)\n"))
      << tree.sOut;
  EXPECT_TRUE(Has(tree.sOut, "Applet\n  Applet1\n")) << tree.sOut;
  EXPECT_EQ(Run("tree AbstractShape --repo " + Repo()).sOut,
            "AbstractShape\n  Circle  (org.quorvane.shapes)\n  Circle  (org.quorvane.shapes.solid)\n");

  const auto classes = Run("classes --repo " + Repo());
  EXPECT_TRUE(Has(classes.sOut, "Main\tObject\torg.quorvane.app\t" + Src() + "/src/org/quorvane/app/Main.java\n"))
      << classes.sOut;

  // A qualified name picks either Circle; the body comes from its own
  // method file.  Paths in this system's form.
  for (const auto& [sPackage, sDeclaration] :
       {std::pair<std::string, std::string>{"org.quorvane.shapes", "public class Circle extends AbstractShape"},
        {"org.quorvane.shapes.solid", "public class Circle extends org.quorvane.shapes.AbstractShape"}}) {
    const auto show = Run("show " + sPackage + ".Circle --repo " + Repo());
    ASSERT_EQ(show.nStatus, 0) << show.sErr;
    std::string sFolder = sPackage;
    std::replace(sFolder.begin(), sFolder.end(), '.', '/');
    EXPECT_TRUE(Has(show.sOut, "package      " + sPackage + "\n")) << show.sOut;
    EXPECT_TRUE(Has(show.sOut, "method 1: Circle\n")) << show.sOut;
    EXPECT_TRUE(Has(show.sOut, "directory    " + Src() + "/src/" + sFolder + "\n")) << show.sOut;
    const std::string sMethodFile = MethodFile("src/" + sFolder + "/Circle.java");
    EXPECT_TRUE(Has(show.sOut, "method file  " + sMethodFile + "\n")) << show.sOut;
    EXPECT_TRUE(std::filesystem::exists(sMethodFile));
    EXPECT_TRUE(Has(show.sOut, "| " + sDeclaration)) << show.sOut;
  }
  EXPECT_EQ(Run("show Nobody --repo " + Repo()).nStatus, 1);
  EXPECT_EQ(Run("classes --repo " + tmp_.Str() + "/empty-repo").nStatus, 1);
  EXPECT_EQ(Run("classes --bogus").nStatus, 2);
}

TEST_F(RepositoryCommand, WriteBringsTheClassBackAsSource) {
  ASSERT_EQ(Run("scan --save --repo " + Repo() + " " + Src()).nStatus, 0);
  const auto write = Run("write Main --to " + tmp_.Str() + "/out --repo " + Repo());
  ASSERT_EQ(write.nStatus, 0) << write.sErr;
  const auto parsed = qv::test::RunQuorvane("parse --json " + tmp_.Str() + "/out/Main.java", tmp_);
  EXPECT_TRUE(
      Has(parsed.sOut,
          "\"className\":\"Main\",\"kind\":\"class\",\"superClass\":\"Object\",\"package\":\"org.quorvane.app\","
          "\"imports\":[\"org.quorvane.shapes.Circle\",\"org.quorvane.shapes.Shape\","
          "\"org.quorvane.util.Strings\"]"))
      << parsed.sOut;

  // Without --to or --in-place the source goes to stdout and no file
  // changes; every line ends as the scanned source's lines do (LF), never
  // with CR CR LF.
  const std::string sMain = "src/src/org/quorvane/app/Main.java";
  const std::string sBefore = tmp_.Read(sMain);
  const auto shown = Run("write Main --repo " + Repo());
  ASSERT_EQ(shown.nStatus, 0) << shown.sErr;
  EXPECT_TRUE(Has(shown.sOut, "\npackage org.quorvane.app;\n\nimport org.quorvane.shapes.Circle;\n")) << shown.sOut;
  EXPECT_FALSE(Has(shown.sOut, "\r")) << shown.sOut;
  EXPECT_EQ(tmp_.Read(sMain), sBefore);
  const auto crlf = Run("write Main --eol crlf --repo " + Repo());
  EXPECT_EQ(crlf.sOut.find('\n'), crlf.sOut.find("\r\n") + 1);
  EXPECT_FALSE(Has(crlf.sOut, "\r\r")) << crlf.sOut;
  EXPECT_EQ(Run("write Main --eol cr --repo " + Repo()).nStatus, 2);
  EXPECT_EQ(Run("write Main --in-place --to x --repo " + Repo()).nStatus, 2);

  // --in-place writes over its own source, keeping one history copy beside
  // it unless --history says otherwise.
  ASSERT_EQ(Run("write Main --in-place --repo " + Repo()).nStatus, 0);
  EXPECT_EQ(tmp_.Read("src/src/org/quorvane/app/Main.001"), sBefore);
  EXPECT_EQ(tmp_.Read(sMain), shown.sOut);
  std::filesystem::remove(Src() + "/src/org/quorvane/app/Main.001");
  ASSERT_EQ(Run("write Main --in-place --history 0 --repo " + Repo()).nStatus, 0);
  EXPECT_FALSE(std::filesystem::exists(Src() + "/src/org/quorvane/app/Main.001"));
}

// The class list text sList with field nField of the line of class sClass
// in package sPackage set to sValue; the fields are separated by "<|>".
std::string WithField(const std::string& sList, const std::string& sClass, const std::string& sPackage, size_t nField,
                      const std::string& sValue) {
  const std::string sDelimiter = "<|>";
  std::string sOut;
  for (size_t nAt = 0; nAt < sList.size();) {
    const size_t nEnd = std::min(sList.find('\n', nAt), sList.size() - 1) + 1;
    std::vector<std::string> aFields;
    for (size_t nFrom = nAt;;) {
      const size_t nNext = sList.find(sDelimiter, nFrom);
      if (nNext == std::string::npos || nNext >= nEnd) {
        aFields.push_back(sList.substr(nFrom, nEnd - nFrom));
        break;
      }
      aFields.push_back(sList.substr(nFrom, nNext - nFrom));
      nFrom = nNext + sDelimiter.size();
    }
    if (aFields.size() > 4 && aFields[1] == sClass && aFields[4] == sPackage) aFields[nField] = sValue;
    for (size_t k = 0; k < aFields.size(); ++k) sOut += (k == 0 ? "" : sDelimiter) + aFields[k];
    nAt = nEnd;
  }
  return sOut;
}

// A class list is outside input: a file name or package from it that would
// take a written file out of the target directory is refused with its
// class named, and the other classes are written.
TEST_F(RepositoryCommand, NamesFromTheClassListNeverLeaveTheTargetDirectory) {
  const std::string sRepo = " --delimiter '<|>' --token '<~>' --repo " + Repo();
  ASSERT_EQ(Run("scan --save" + sRepo + " " + Src()).nStatus, 0);
  std::string sList = tmp_.Read("repo/jbclass.txt");
  sList = WithField(sList, "Main", "org.quorvane.app", 2, "../../../../Escaped.java");
  sList = WithField(sList, "AbstractShape", "org.quorvane.shapes", 2, tmp_.Str() + "/Absolute.java");
  sList = WithField(sList, "Shape", "org.quorvane.shapes", 2, "sub\\Shape.java");
  sList = WithField(sList, "Strings", "org.quorvane.util", 2, "C:Strings.java");
  sList = WithField(sList, "Circle", "org.quorvane.shapes.solid", 4, "org.quorvane..solid");
  tmp_.Write("repo/jbclass.txt", sList);

  const auto all = Run("write --all --to " + tmp_.Str() + "/out" + sRepo);
  EXPECT_EQ(all.nStatus, 1);
  EXPECT_TRUE(Has(all.sOut, "wrote 2 of 7 classes")) << all.sOut;
  for (const char* sClass : {"Main", "AbstractShape", "Shape", "Strings", "Circle"}) {
    EXPECT_TRUE(Has(all.sErr, ": class " + std::string(sClass) + " not written: ")) << sClass << "\n" << all.sErr;
  }
  EXPECT_TRUE(Has(all.sErr, "file name \"C:Strings.java\" holds a drive")) << all.sErr;
  EXPECT_TRUE(Has(all.sErr, "package \"org.quorvane..solid\": segment \"\" is empty")) << all.sErr;
  // Every file written is below out/, and only the two good classes are.
  std::vector<std::string> aWritten;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(tmp_.Path())) {
    const std::string sPath = std::filesystem::relative(entry.path(), tmp_.Path()).string();
    if (entry.is_regular_file() && sPath.rfind("src/", 0) != 0 && sPath.rfind("repo/", 0) != 0 &&
        sPath.rfind("profile/", 0) != 0 && sPath != "stderr.txt") {
      aWritten.push_back(sPath);
    }
  }
  std::sort(aWritten.begin(), aWritten.end());
  EXPECT_EQ(aWritten, (std::vector<std::string>{"out/Applet1.java", "out/org/quorvane/shapes/Circle.java"}));

  // Over their own sources the file name still has to be a bare name.
  const auto one = Run("write Main --to " + tmp_.Str() + "/out" + sRepo);
  EXPECT_EQ(one.nStatus, 1);
  EXPECT_TRUE(Has(one.sErr, "class Main not written: file name \"../../../../Escaped.java\"")) << one.sErr;
  const auto inPlace = Run("write --all --in-place" + sRepo);
  EXPECT_EQ(inPlace.nStatus, 1);
  EXPECT_TRUE(Has(inPlace.sErr, "class Main not written: ")) << inPlace.sErr;
  EXPECT_FALSE(std::filesystem::exists(Src() + "/Escaped.java"));
  EXPECT_FALSE(std::filesystem::exists(tmp_.Str() + "/Escaped.java"));
}

// Two sources of one package and file name (two builds of one library)
// have one target: the first is written there, the second is not written
// over it, and both are named.
TEST_F(RepositoryCommand, TwoClassesOfOneTargetAreNotWrittenOverEachOther) {
  tmp_.Write("src/b/org/quorvane/app/Main.java", tmp_.Read("src/src/org/quorvane/app/Main.java") + "// flavour b\n");
  ASSERT_EQ(Run("scan --save --repo " + Repo() + " " + Src()).nStatus, 0);
  const std::string sOut = tmp_.Str() + "/out";
  const auto all = Run("write --all --to " + sOut + " --repo " + Repo());
  EXPECT_EQ(all.nStatus, 1);
  EXPECT_TRUE(Has(all.sOut, "wrote 7 of 8 classes")) << all.sOut;
  EXPECT_TRUE(Has(all.sErr,
                  "quorvane write: " + Src() + "/src/org/quorvane/app/Main.java: class Main not written: " + sOut +
                      "/org/quorvane/app/Main.java is also the target of " + Src() + "/b/org/quorvane/app/Main.java\n"))
      << all.sErr;
  EXPECT_TRUE(Has(tmp_.Read("out/org/quorvane/app/Main.java"), "// flavour b"));
}

TEST_F(RepositoryCommand, RefusesSeparatorsThatWouldCorruptTheRepository) {
  const auto star = Run("scan --save --delimiter '*' --repo " + Repo() + " " + Src());
  EXPECT_EQ(star.nStatus, 2);
  EXPECT_TRUE(Has(star.sErr, "'*' is a character that Java sources commonly contain")) << star.sErr;
  EXPECT_FALSE(std::filesystem::exists(Repo() + "/jbclass.txt"));
  EXPECT_EQ(Run("scan --save --delimiter '\\x01' --token '\\x01' --repo " + Repo() + " " + Src()).nStatus, 2);
  EXPECT_EQ(Run("scan --save --delimiter '\\xZZ' --repo " + Repo() + " " + Src()).nStatus, 2);

  // A delimiter that one of the sources holds: that class is left out and
  // named, the others are saved.
  tmp_.Write("src/lib/legacy/Applet1.java", "/* a <|> b */\npublic class Applet1 extends Applet {\n}\n");
  const auto refused = Run("scan --save --delimiter '<|>' --token '<~>' --repo " + Repo() + " " + Src());
  EXPECT_EQ(refused.nStatus, 1);
  EXPECT_TRUE(Has(refused.sErr, "Applet1.java: class Applet1 not saved: heading comment contains the delimiter"))
      << refused.sErr;
  const std::string sSaved = tmp_.Read("repo/jbclass.txt");
  EXPECT_FALSE(Has(sSaved, "Applet1")) << sSaved;
  EXPECT_TRUE(Has(sSaved, "<|>Circle<|>")) << sSaved;
}

TEST_F(RepositoryCommand, HistoryCopiesOfTheClassListFile) {
  for (int n = 0; n < 3; ++n) {
    ASSERT_EQ(Run("scan --save --full --history 2 --repo " + Repo() + " " + Src()).nStatus, 0);
  }
  EXPECT_TRUE(std::filesystem::exists(Repo() + "/jbclass.001"));
  EXPECT_TRUE(std::filesystem::exists(Repo() + "/jbclass.002"));
  EXPECT_FALSE(std::filesystem::exists(Repo() + "/jbclass.003"));
  EXPECT_EQ(tmp_.Read("repo/jbclass.001"), tmp_.Read("repo/jbclass.txt"));
  EXPECT_EQ(
      Run("scan --save --history 2 --archive-dir " + tmp_.Str() + "/missing --repo " + Repo() + " " + Src()).nStatus,
      1);
}

// A save over an unchanged tree rewrites no method file; a changed class
// gets its new method file.
TEST_F(RepositoryCommand, ASaveRewritesOnlyTheMethodFilesThatChange) {
  const std::string sCircle = MethodFile("src/org/quorvane/shapes/solid/Circle.java");
  const std::string sShape = MethodFile("src/org/quorvane/shapes/Shape.java");
  const auto Inode = [](const std::string& sPath) {
    struct stat st {};
    EXPECT_EQ(::stat(sPath.c_str(), &st), 0) << sPath;
    return st.st_ino;
  };
  auto save = Run("scan --save --repo " + Repo() + " " + Src());
  ASSERT_EQ(save.nStatus, 0) << save.sErr;
  EXPECT_TRUE(Has(save.sOut, "method files unchanged: 0\n")) << save.sOut;
  const ino_t nShape = Inode(sShape);
  const ino_t nCircle = Inode(sCircle);

  save = Run("scan --save --full --repo " + Repo() + " " + Src());
  ASSERT_EQ(save.nStatus, 0) << save.sErr;
  EXPECT_TRUE(Has(save.sOut, "method files unchanged: 7\n")) << save.sOut;

  std::string sSource = tmp_.Read("src/src/org/quorvane/shapes/solid/Circle.java");
  const size_t nEnd = sSource.rfind('}');
  ASSERT_NE(nEnd, std::string::npos);
  sSource.insert(nEnd, "  public int sides() { return 0; }\n");
  tmp_.Write("src/src/org/quorvane/shapes/solid/Circle.java", sSource);
  save = Run("scan --save --repo " + Repo() + " " + Src());
  ASSERT_EQ(save.nStatus, 0) << save.sErr;
  // Only the changed source is read again.
  EXPECT_TRUE(Has(save.sOut, "method files unchanged: 0\nsources unchanged since the last save, not read: 6\n"))
      << save.sOut;
  EXPECT_EQ(Inode(sShape), nShape);
  EXPECT_NE(Inode(sCircle), nCircle);
  EXPECT_TRUE(Has(tmp_.Read(std::filesystem::relative(sCircle, tmp_.Path()).string()), "public int sides()"));
}

TEST_F(RepositoryCommand, TakesSeparatorsAndHistoryFromTheProfileUnlessOptionsSayOtherwise) {
  // init writes separators the repository commands accept.
  ASSERT_EQ(Run("config init").nStatus, 0);
  ASSERT_EQ(Run("scan --save --repo " + Repo() + " " + Src()).nStatus, 0);
  EXPECT_TRUE(Has(tmp_.Read("repo/jbclass.txt"),
                  "\x1F"
                  "Circle\x1F"))
      << tmp_.Read("repo/jbclass.txt");
  std::filesystem::remove(Repo() + "/jbclass.txt");
  // The profile's own defaults ("*" for both) would corrupt the repository.
  ASSERT_EQ(Run("config set 'File Delimiters' 'Element Delimiter' '*'").nStatus, 0);
  ASSERT_EQ(Run("config set 'File Delimiters' 'CRLF Delimiter' '*'").nStatus, 0);
  const auto refused = Run("scan --save --repo " + Repo() + " " + Src());
  EXPECT_EQ(refused.nStatus, 2);
  EXPECT_TRUE(Has(refused.sErr, "taken from the profile " + Profile() + "/Quorvane.ini")) << refused.sErr;
  EXPECT_FALSE(std::filesystem::exists(Repo() + "/jbclass.txt"));
  // Options override the profile.
  EXPECT_EQ(Run("scan --save --delimiter '<|>' --token '<~>' --repo " + Repo() + " " + Src()).nStatus, 0);
  EXPECT_TRUE(Has(tmp_.Read("repo/jbclass.txt"), "<|>Circle<|>")) << tmp_.Read("repo/jbclass.txt");

  // Safe separators and history copies from the profile.
  ASSERT_EQ(Run("config set 'File Delimiters' 'Element Delimiter' '<|>'").nStatus, 0);
  ASSERT_EQ(Run("config set 'File Delimiters' 'CRLF Delimiter' '<~>'").nStatus, 0);
  ASSERT_EQ(Run("config set 'Root Directories' 'Archive Files' 1").nStatus, 0);
  ASSERT_EQ(Run("config set 'Root Directories' 'Archive File Count' 2").nStatus, 0);
  ASSERT_EQ(Run("config set 'Root Directories' 'Archive File Diectory' " + Repo()).nStatus, 0);
  const auto save = Run("scan --save --full --repo " + Repo() + " " + Src());
  ASSERT_EQ(save.nStatus, 0) << save.sErr;
  EXPECT_TRUE(std::filesystem::exists(Repo() + "/jbclass.001"));
  const auto tree = Run("tree --repo " + Repo());
  EXPECT_TRUE(Has(tree.sOut, "Applet\n  Applet1\n")) << tree.sOut << tree.sErr;
  // Reading with other separators than the profile's finds other fields.
  EXPECT_FALSE(Has(Run("tree --delimiter '\\x1F' --repo " + Repo()).sOut, "Applet\n  Applet1\n"));
}

}  // namespace
