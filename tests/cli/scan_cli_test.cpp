// SPDX-License-Identifier: Apache-2.0
// quorvane scan and quorvane parse, end to end, on the bundled examples and
// on generated trees.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/command.h"
#include "support/test_host.h"

namespace {

using Output = qv::test::CommandOutput;
using qv::test::Has;

Output Quorvane(const std::string& sArgs, const qv::test::TempDir& tmp) { return qv::test::RunQuorvane(sArgs, tmp); }

TEST(ScanCommand, ListsTheBundledExamples) {
  qv::test::TempDir tmp;
  const std::string sRoot = std::string(QV_SOURCE_DIR) + "/examples";
  const Output r = Quorvane("scan --list " + sRoot, tmp);
  EXPECT_EQ(r.nStatus, 0) << r.sErr;
  // Same file name in two directories: adjacent, ordered by directory.
  const size_t nFirst = r.sOut.find("Circle.java\t" + sRoot +
                                    "/src/org/quorvane/shapes\tCircle\tAbstractShape\t"
                                    "org.quorvane.shapes\n");
  const size_t nSecond = r.sOut.find("Circle.java\t" + sRoot +
                                     "/src/org/quorvane/shapes/solid\tCircle\tAbstractShape\t"
                                     "org.quorvane.shapes.solid\n");
  ASSERT_NE(nFirst, std::string::npos) << r.sOut;
  ASSERT_NE(nSecond, std::string::npos) << r.sOut;
  EXPECT_LT(nFirst, nSecond);
  EXPECT_TRUE(Has(r.sOut, "Shape.java\t" + sRoot + "/src/org/quorvane/shapes\tShape\tSerializable\t")) << r.sOut;
  EXPECT_TRUE(Has(r.sOut, "Applet1.java\t" + sRoot + "/lib/legacy\tApplet1\tApplet\t\n")) << r.sOut;
  EXPECT_TRUE(
      Has(r.sOut,
          "files: 7\nclasses: 6\ninterfaces: 1\nenums: 0\nrecords: 0\nannotation types: 0\npackages: 4\nno class: 0\n"
          "failed: 0\n"))
      << r.sOut;
  EXPECT_EQ(r.sErr, "");  // quiet off a terminal
}

TEST(ScanCommand, ScansTenThousandGeneratedFiles) {
  qv::test::TempDir tmp;
  for (int d = 0; d < 100; ++d) {
    for (int f = 0; f < 100; ++f) {
      const std::string sName = "C" + std::to_string(d) + "_" + std::to_string(f);
      tmp.Write("tree/p" + std::to_string(d / 10) + "/q" + std::to_string(d) + "/" + sName + ".java",
                "/* " + sName + " */\npackage p" + std::to_string(d) +
                    ";\nimport java.util.List;\n"
                    "/** doc */\npublic class " +
                    sName + " extends Base" + std::to_string(f % 7) + " {\n  int x;\n}\n");
    }
  }
  const Output r = Quorvane("scan " + tmp.Str() + "/tree", tmp);
  EXPECT_EQ(r.nStatus, 0) << r.sErr;
  EXPECT_TRUE(Has(r.sOut,
                  "files: 10000\nclasses: 10000\ninterfaces: 0\nenums: 0\nrecords: 0\nannotation types: 0\n"
                  "packages: 100\nno class: 0\nfailed: 0\n"))
      << r.sOut;
}

// Files without a class are a normal part of a tree: counted, named with
// --verbose, a failure only with --strict.
TEST(ScanCommand, FilesWithoutAClassAreCountedNotFailed) {
  qv::test::TempDir tmp;
  tmp.Write("tree/Good.java", "package g;\npublic class Good {\n}\n");
  tmp.Write("tree/package-info.java", "/** The g package. */\npackage g;\n");
  tmp.Write("tree/Empty.java", "");
  tmp.Write("tree/NoClass.java", "// nothing declared here\nint x;\n");
  tmp.Write("tree/sub/Deep.java", "// deep\ninterface Deep {\n}\n");
  std::filesystem::create_directory_symlink(tmp.Path() / "tree", tmp.Path() / "tree/sub/loop");
  const Output r = Quorvane("scan --list " + tmp.Str() + "/tree", tmp);
  EXPECT_EQ(r.nStatus, 0) << r.sErr;
  EXPECT_EQ(r.sErr, "");
  // The link was not followed.
  EXPECT_TRUE(Has(r.sOut, "files: 5\nclasses: 1\ninterfaces: 1\n")) << r.sOut;
  EXPECT_TRUE(Has(r.sOut, "no class: 3\nfailed: 0\n")) << r.sOut;
  EXPECT_TRUE(Has(r.sOut, "Deep.java\t" + tmp.Str() + "/tree/sub\tDeep\tObject\t")) << r.sOut;

  const Output verbose = Quorvane("scan -v " + tmp.Str() + "/tree", tmp);
  EXPECT_EQ(verbose.nStatus, 0);
  EXPECT_TRUE(Has(verbose.sErr, "/tree/package-info.java: no class or interface found")) << verbose.sErr;
  EXPECT_TRUE(Has(verbose.sErr, "/tree/NoClass.java: no class or interface found")) << verbose.sErr;
  EXPECT_TRUE(Has(verbose.sErr, "/tree/Empty.java: empty file, no class")) << verbose.sErr;
  const Output strict = Quorvane("scan --strict " + tmp.Str() + "/tree", tmp);
  EXPECT_EQ(strict.nStatus, 1);
  EXPECT_TRUE(Has(strict.sErr, "/tree/package-info.java: no class or interface found")) << strict.sErr;
  EXPECT_TRUE(Has(strict.sOut, "no class: 3\nfailed: 3\n")) << strict.sOut;
  const Output quiet = Quorvane("scan -q " + tmp.Str() + "/tree", tmp);
  EXPECT_EQ(quiet.nStatus, 0);
  EXPECT_EQ(quiet.sOut, "");

  // parse follows the same rule.
  EXPECT_EQ(Quorvane("parse " + tmp.Str() + "/tree/package-info.java", tmp).nStatus, 0);
  EXPECT_EQ(Quorvane("parse --strict " + tmp.Str() + "/tree/package-info.java", tmp).nStatus, 1);
}

// What could not be read fails the scan (status 1), and the scan goes on.
TEST(ScanCommand, UnreadableBinaryAndMissingFail) {
  qv::test::TempDir tmp;
  tmp.Write("tree/Good.java", "package g;\npublic class Good {\n}\n");
  constexpr char kBinary[] = "class \0\x01\x02 junk";
  tmp.Write("bin/Binary.java", std::string(kBinary, sizeof(kBinary) - 1));
  Output r = Quorvane("scan '" + tmp.Str() + "/tree;" + tmp.Str() + "/missing'", tmp);
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "/missing: no such directory")) << r.sErr;
  r = Quorvane("scan " + tmp.Str() + "/bin " + tmp.Str() + "/tree", tmp);
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "/bin/Binary.java: binary file, not parsed")) << r.sErr;
  EXPECT_TRUE(Has(r.sOut, "files: 2\nclasses: 1\n")) << r.sOut;

  // A file the command may not read.  Root reads every file, so then the
  // command runs as nobody.
  tmp.Write("tree/Secret.java", "class Secret {\n}\n");
  std::filesystem::permissions(tmp.Path() / "tree/Secret.java", std::filesystem::perms::none);
  std::string sAs;
  if (geteuid() == 0) {
    std::filesystem::permissions(tmp.Path(), std::filesystem::perms::owner_all | std::filesystem::perms::others_read |
                                                 std::filesystem::perms::others_exec);
    sAs = "--profile-dir " + tmp.Str() + "/profile";
    r = qv::test::RunQuorvaneAsNobody("scan " + sAs + " " + tmp.Str() + "/tree", tmp);
  } else {
    r = Quorvane("scan " + tmp.Str() + "/tree", tmp);
  }
  EXPECT_EQ(r.nStatus, 1) << r.sErr;
  EXPECT_TRUE(Has(r.sErr, "/tree/Secret.java: cannot read: Permission denied")) << r.sErr;
  EXPECT_TRUE(Has(r.sOut, "files: 2\nclasses: 1\n")) << r.sOut;
}

// A repository that cannot be written fails the save (status 1).
TEST(ScanCommand, AnUnwritableRepositoryFailsTheSave) {
  qv::test::TempDir tmp;
  tmp.Write("tree/Good.java", "package g;\npublic class Good {\n}\n");
  // The class list file's name is taken by a directory, which no file can replace.
  std::filesystem::create_directories(tmp.Path() / "repo/jbclass.txt");
  Output r = Quorvane(
      "scan --save --repo " + tmp.Str() + "/repo --profile-dir " + tmp.Str() + "/p " + tmp.Str() + "/tree", tmp);
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "nothing saved: cannot keep the present " + tmp.Str() + "/repo/jbclass.txt aside")) << r.sErr;
  // A repository directory that is a file.
  tmp.Write("file", "x");
  r = Quorvane("scan --save --repo " + tmp.Str() + "/file --profile-dir " + tmp.Str() + "/p " + tmp.Str() + "/tree",
               tmp);
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "cannot use as the repository directory")) << r.sErr;
}

// A scan that misses a root saves nothing: the repository keeps every
// class, and a repository that did not exist is not made.  A method file
// that is overwritten keeps its history copy in the archive directory,
// below folders that repeat its own directory.
TEST(ScanCommand, ASaveKeepsEveryClassAndTheHistoryOfMethodFiles) {
  qv::test::TempDir tmp;
  tmp.Write("tree/p/A.java", "package p;\npublic class A {\n  int x;\n}\n");
  const std::string sSave = " --save --history 2 --profile-dir " + tmp.Str() + "/p --repo " + tmp.Str();
  ASSERT_EQ(Quorvane("scan" + sSave + "/repo " + tmp.Str() + "/tree", tmp).nStatus, 0);
  const std::string sMethodFile = "repo/methods" + tmp.Str() + "/tree/p/A.med";
  const std::string sList = tmp.Read("repo/jbclass.txt"), sMethods = tmp.Read(sMethodFile);
  for (const std::string& sRoots : {std::string("/missing"), "/tree;" + tmp.Str() + "/missing"}) {
    const Output r = Quorvane("scan" + sSave + "/repo '" + tmp.Str() + sRoots + "'", tmp);
    EXPECT_EQ(r.nStatus, 1);
    EXPECT_TRUE(Has(r.sErr, "nothing saved")) << r.sErr;
    EXPECT_EQ(tmp.Read("repo/jbclass.txt"), sList);
  }
  EXPECT_EQ(Quorvane("scan" + sSave + "/fresh " + tmp.Str() + "/missing", tmp).nStatus, 1);
  EXPECT_FALSE(std::filesystem::exists(tmp.Path() / "fresh"));

  tmp.Write("tree/p/A.java", "package p;\npublic class A {\n  int y;\n}\n");
  const Output r = Quorvane("scan" + sSave + "/repo " + tmp.Str() + "/tree", tmp);
  EXPECT_EQ(r.nStatus, 0) << r.sErr;
  EXPECT_NE(tmp.Read(sMethodFile), sMethods);
  EXPECT_EQ(tmp.Read("repo" + tmp.Str() + "/repo/methods" + tmp.Str() + "/tree/p/A.001"), sMethods);
  // Only the body changed: the class list stays as it was, history and all.
  EXPECT_EQ(tmp.Read("repo/jbclass.txt"), sList);
  EXPECT_FALSE(std::filesystem::exists(tmp.Path() / "repo/jbclass.001"));

  // A method file's folder that cannot be made stops the save as a file
  // that cannot be written does: nothing is replaced, and the message names
  // the folder and the system's reason.
  const std::string sSaved = tmp.Read("repo/jbclass.txt");
  std::filesystem::remove_all(tmp.Path() / "repo/methods");
  tmp.Write("repo/methods", "a file in the way");
  tmp.Write("tree/p/A.java", "package p;\npublic class A {\n  int z;\n}\n");
  const Output blocked = Quorvane("scan" + sSave + "/repo " + tmp.Str() + "/tree", tmp);
  EXPECT_EQ(blocked.nStatus, 1);
  EXPECT_TRUE(Has(blocked.sErr, "nothing saved: cannot create the directory " + tmp.Str() + "/repo/methods/"))
      << blocked.sErr;
  EXPECT_TRUE(Has(blocked.sErr, ": Not a directory\n")) << blocked.sErr;
  EXPECT_EQ(tmp.Read("repo/jbclass.txt"), sSaved);
}

// --beside-sources keeps the layout of earlier repositories, NAME.med beside
// the source.  Such a repository reads as it was written, since readers go
// by the path the class list records; a default save over it moves the
// method files to the repository and leaves the tree as it is.
TEST(ScanCommand, MethodFilesBesideTheSourcesStillRead) {
  qv::test::TempDir tmp;
  tmp.Write("tree/p/A.java", "package p;\npublic class A {\n  int x;\n}\n");
  const std::string sRepo = " --profile-dir " + tmp.Str() + "/p --repo " + tmp.Str() + "/repo ";
  ASSERT_EQ(Quorvane("scan -q --save --beside-sources" + sRepo + tmp.Str() + "/tree", tmp).nStatus, 0);
  const std::string sBeside = tmp.Read("tree/p/A.med");
  EXPECT_TRUE(Has(sBeside, "public class A {")) << sBeside;
  EXPECT_FALSE(std::filesystem::exists(tmp.Path() / "repo/methods"));
  const Output old = Quorvane("show A" + sRepo, tmp);
  EXPECT_EQ(old.nStatus, 0) << old.sErr;
  EXPECT_TRUE(Has(old.sOut, "method file  " + tmp.Str() + "/tree/p/A.med\n")) << old.sOut;
  EXPECT_TRUE(Has(old.sOut, "| public class A {\n      |   int x;\n")) << old.sOut;

  ASSERT_EQ(Quorvane("scan -q --save" + sRepo + tmp.Str() + "/tree", tmp).nStatus, 0);
  EXPECT_EQ(tmp.Read("tree/p/A.med"), sBeside);
  const Output moved = Quorvane("show A" + sRepo, tmp);
  EXPECT_TRUE(Has(moved.sOut, "method file  " + tmp.Str() + "/repo/methods" + tmp.Str() + "/tree/p/A.med\n"))
      << moved.sOut;
  EXPECT_EQ(moved.sOut.substr(moved.sOut.find("stamp")), old.sOut.substr(old.sOut.find("stamp")));
  EXPECT_EQ(Quorvane("scan --beside-sources " + tmp.Str() + "/tree", tmp).nStatus, 2);  // needs --save
}

TEST(ScanCommand, ReportsDirectoriesItCannotList) {
  qv::test::TempDir tmp;
  tmp.Write("tree/A.java", "class A {\n}\n");
  tmp.Write("tree/locked/B.java", "class B {\n}\n");
  std::filesystem::permissions(tmp.Path() / "tree/locked", std::filesystem::perms::none);
  // Root lists every directory: then the command runs as nobody.
  const Output r = geteuid() == 0 ? qv::test::RunQuorvaneAsNobody("scan " + tmp.Str() + "/tree", tmp)
                                  : Quorvane("scan " + tmp.Str() + "/tree", tmp);
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "/tree/locked/: cannot list")) << r.sErr;
  EXPECT_TRUE(Has(r.sOut, "files: 1\n")) << r.sOut;
}

TEST(ParseCommand, JsonCarriesEveryFieldByteForByte) {
  qv::test::TempDir tmp;
  const std::string sPath = tmp.Write("A.java",
                                      "/* h\xe9 \"q\" */\npackage p;\nimport x.Y;\n/** d\tt */\n"
                                      "public class A extends b.B {\n}\n// end \xc3\xa9\n");
  const Output r = Quorvane("parse --json " + sPath, tmp);
  EXPECT_EQ(r.nStatus, 0) << r.sErr;
  EXPECT_TRUE(Has(r.sOut,
                  "\"read\":true,\"className\":\"A\",\"kind\":\"class\",\"superClass\":\"B\",\"package\":\"p\","
                  "\"imports\":[\"x.Y\"],\"header\":"))
      << r.sOut;
  // Read back: the byte 0xE9, not UTF-8, stands for U+00E9; valid UTF-8 stays.
  const auto o = nlohmann::json::parse(r.sOut);
  EXPECT_EQ(o["file"], sPath);
  EXPECT_EQ(o["header"], "/* h\xc3\xa9 \"q\" */");
  EXPECT_EQ(o["description"], "/** d\tt */");
  EXPECT_EQ(o["body"], "\r\npublic class A extends b.B {\r\n}");
  EXPECT_EQ(o["footer"], "\r\n// end \xc3\xa9\r\n");

  const Output missing = Quorvane("parse --json " + tmp.Str() + "/None.java", tmp);
  EXPECT_EQ(missing.nStatus, 1);
  EXPECT_TRUE(Has(missing.sOut, "\"read\":false,\"className\":\"\"")) << missing.sOut;
  EXPECT_TRUE(Has(missing.sErr, "None.java: cannot read")) << missing.sErr;
  EXPECT_EQ(Quorvane("parse", tmp).nStatus, 2);
  EXPECT_EQ(Quorvane("scan --bogus x", tmp).nStatus, 2);
}

}  // namespace

namespace resave {

// The class list and every method file it names, read byte for byte.
std::string Snapshot(const qv::test::TempDir& tmp) {
  std::string sAll = tmp.Read("repo/jbclass.txt");
  for (const auto& entry : std::filesystem::recursive_directory_iterator(tmp.Path())) {
    if (entry.path().extension() == ".med")
      sAll += "\n== " + entry.path().string() + "\n" +
              tmp.Read(std::filesystem::relative(entry.path(), tmp.Path()).string());
  }
  return sAll;
}

std::string Class(const std::string& sName, const std::string& sBody) {
  return "package p;\n/** " + sName + " */\npublic class " + sName + " {\n" + sBody + "}\n";
}

void SetTime(const std::string& sPath, std::filesystem::file_time_type time) {
  std::filesystem::last_write_time(sPath, time);
}

}  // namespace resave

// A re-save reads only what changed, and gives exactly the repository a
// full re-read gives: after an edit, an addition, a deletion, a rename and
// a change that keeps size, time and inode (made within the tick of the
// save); a missing or damaged state gives a full re-read.
TEST(ScanCommand, AReSaveGivesWhatAFullReadGives) {
  using namespace resave;
  qv::test::TempDir tmp;
  for (const char* sName : {"A", "B", "C", "D"})
    tmp.Write(std::string("t/p/") + sName + ".java", Class(sName, "  int x;\n"));
  const std::string sRacy = tmp.Write("t/p/R.java", Class("R", "  int a;\n"));
  // R's time is later than the save's: it may change within that tick.
  const auto later = std::filesystem::last_write_time(sRacy) + std::chrono::seconds(30);
  SetTime(sRacy, later);
  const std::string sSave = "scan --save --repo " + tmp.Str() + "/repo " + tmp.Str() + "/t";
  const auto Save = [&](const std::string& sMore) {
    const Output r = Quorvane(sSave + sMore, tmp);
    EXPECT_EQ(r.nStatus, 0) << r.sErr;
    return r.sOut;
  };
  Save("");
  EXPECT_TRUE(Has(Save(""), "not read: 4\n"));  // R is read again: its time is too recent to trust

  tmp.Write("t/p/A.java", Class("A", "  int y;\n"));                              // the body
  tmp.Write("t/p/B.java", "package q;\n" + Class("B", "  int x;\n").substr(11));  // the class line
  tmp.Write("t/p/E.java", Class("E", "  int x;\n"));                              // new
  std::filesystem::remove(tmp.Path() / "t/p/C.java");                             // gone
  std::filesystem::create_directories(tmp.Path() / "t/r");
  std::filesystem::rename(tmp.Path() / "t/p/D.java", tmp.Path() / "t/r/D.java");  // moved
  {
    // Same size, same time, same inode: only the racy rule sees it.
    std::FILE* pFile = std::fopen(sRacy.c_str(), "r+");
    ASSERT_NE(pFile, nullptr);
    const std::string sSame = Class("R", "  int b;\n");
    std::fwrite(sSame.data(), 1, sSame.size(), pFile);
    std::fclose(pFile);
    SetTime(sRacy, later);
  }
  EXPECT_TRUE(Has(Save(""), "not read: 0\n"));  // nothing kept: every source changed or was too recent
  const std::string sIncremental = Snapshot(tmp);
  EXPECT_TRUE(Has(sIncremental, "int b;")) << sIncremental;
  Save(" --full");
  EXPECT_EQ(Snapshot(tmp), sIncremental);

  // A state that is damaged, or missing, is no state: everything is read.
  std::string sState = tmp.Read("repo/jbclass.state");
  sState[sState.size() / 2] ^= 1;
  tmp.Write("repo/jbclass.state", sState);
  EXPECT_TRUE(Has(Save(""), "not read: 0\n"));
  EXPECT_TRUE(Has(Save(""), "not read: 4\n"));  // R stays too recent
  std::filesystem::remove(tmp.Path() / "repo/jbclass.state");
  EXPECT_TRUE(Has(Save(""), "not read: 0\n"));
  EXPECT_EQ(Snapshot(tmp), sIncremental);

  // A method file changed or removed since the save is written again, its
  // source read; a source only touched is read, the state alone written,
  // and the next save keeps it again.
  std::vector<std::filesystem::path> aMethodFiles;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(tmp.Path() / "repo/methods")) {
    if (entry.path().extension() == ".med") aMethodFiles.push_back(entry.path());
  }
  for (const std::filesystem::path& path : aMethodFiles) {
    if (path.filename() == "E.med") std::filesystem::remove(path);
    // D's, not the one its source left behind in p when it moved.
    if (path.filename() == "D.med" && path.parent_path().filename() == "r") std::ofstream(path, std::ios::app) << "x";
  }
  EXPECT_TRUE(Has(Save(""), "not read: 2\n"));
  EXPECT_EQ(Snapshot(tmp), sIncremental);
  const std::string sTouched = tmp.Str() + "/t/p/A.java";
  SetTime(sTouched, std::filesystem::last_write_time(sTouched) - std::chrono::seconds(60));
  EXPECT_TRUE(Has(Save(""), "not read: 3\n"));
  EXPECT_TRUE(Has(Save(""), "not read: 4\n"));
  EXPECT_EQ(Snapshot(tmp), sIncremental);
}
