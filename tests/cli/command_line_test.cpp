// SPDX-License-Identifier: Apache-2.0
// The command line of quorvane as a whole: the help and the errors of every
// command, the JSON Lines of every command that has them, write --all and
// the repository's lock.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/command.h"
#include "support/test_host.h"

namespace {

using qv::test::Has;
using Json = nlohmann::json;

// Every line of s read as a JSON object; a line that is not JSON fails.
std::vector<Json> JsonLines(const std::string& s) {
  std::vector<Json> a;
  std::istringstream in(s);
  for (std::string sLine; std::getline(in, sLine);) a.push_back(Json::parse(sLine));
  return a;
}

const std::vector<std::string> kRepositoryOptions = {"--repo",    "--delimiter",   "--token",
                                                     "--history", "--archive-dir", "--profile-dir"};

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(CommandLine, EveryCommandHasItsHelpAndNamesItselfInItsErrors) {
  const qv::test::TempDir tmp;
  const std::map<std::string, std::vector<std::string>> aCommands = {
      {"scan", Joined({"--list", "--json", "--save", "--strict", "--no-wait", "--quiet", "--verbose", "ROOT"},
                      kRepositoryOptions)},
      {"parse", {"--json", "--strict", "FILE"}},
      {"classes", Joined({"--json", "--names"}, kRepositoryOptions)},
      {"show", Joined({"--json", "CLASS"}, kRepositoryOptions)},
      {"tree", Joined({"--json", "--format", "CLASS"}, kRepositoryOptions)},
      {"write", Joined({"--all", "--to", "--in-place", "--eol", "--no-wait", "--quiet", "--verbose", "CLASS"},
                       kRepositoryOptions)},
      {"config", {"--profile-dir", "path", "list", "get", "set", "init"}},
      {"config path", {"--profile-dir"}},
      {"config list", {"--json", "--profile-dir", "--quiet"}},
      {"config get", {"--profile-dir", "--quiet", "SECTION", "KEY"}},
      {"config set", {"--profile-dir", "--quiet", "SECTION", "KEY", "VALUE"}},
      {"config init", {"--force", "--profile-dir", "--quiet"}},
      {"sql", {"--database", "--json", "--profile-dir", "STATEMENT"}},
      {"demo", {"--library", "FILE"}},
      {"exports", {"--def", "--library"}},
  };
  for (const auto& [sCommand, aOptions] : aCommands) {
    const auto help = qv::test::RunQuorvane(sCommand + " --help", tmp);
    EXPECT_EQ(help.nStatus, 0) << sCommand;
    EXPECT_TRUE(Has(help.sOut, "Usage: quorvane " + sCommand)) << help.sOut;
    EXPECT_TRUE(Has(help.sOut, "Exit status: 0")) << sCommand;
    for (const std::string& sOption : aOptions) EXPECT_TRUE(Has(help.sOut, sOption)) << sCommand << " " << sOption;
    // quorvane help COMMAND says the same.
    EXPECT_EQ(qv::test::RunQuorvane("help " + sCommand, tmp).sOut, help.sOut) << sCommand;

    const auto bad = qv::test::RunQuorvane(sCommand + " --no-such-option", tmp);
    EXPECT_EQ(bad.nStatus, 2) << sCommand;
    EXPECT_TRUE(Has(bad.sErr, "quorvane " + sCommand + ": unknown option '--no-such-option'")) << bad.sErr;
    EXPECT_EQ(bad.sOut, "") << sCommand;
  }
  const auto top = qv::test::RunQuorvane("help", tmp);
  EXPECT_EQ(top.nStatus, 0);
  EXPECT_EQ(top.sOut, qv::test::RunQuorvane("--help", tmp).sOut);
  // The closest valid word, for options, commands and actions alike;
  // --opt=VALUE spelled wrong names the option without its value.
  auto Error = [&](const std::string& sArgs) {
    const auto r = qv::test::RunQuorvane(sArgs, tmp);
    EXPECT_EQ(r.nStatus, 2) << sArgs;
    return r.sErr;
  };
  EXPECT_TRUE(Has(Error("scan --lsit x"), "quorvane scan: unknown option '--lsit' (did you mean '--list'?)"));
  EXPECT_TRUE(Has(Error("tree --rep=x"), "unknown option '--rep' (did you mean '--repo'?)"));
  EXPECT_TRUE(Has(Error("claases"), "quorvane: unknown command 'claases' (did you mean 'classes'?)"));
  EXPECT_TRUE(Has(Error("help sqll"), "no command 'sqll' (did you mean 'sql'?)"));
  EXPECT_FALSE(Has(Error("zzzzzzzz"), "did you mean"));
  EXPECT_TRUE(Has(Error("show"), "quorvane show: CLASS is required"));
  EXPECT_TRUE(Has(Error("show A B"), "quorvane show: unexpected argument 'B'"));
  EXPECT_TRUE(Has(Error("scan --history=-1 x"), "quorvane scan: --history: '-1': not a count"));
  EXPECT_TRUE(Has(Error("write --all"), "--all needs --to DIR"));
  EXPECT_TRUE(Has(Error("write A --all --to x"), "not both"));
  EXPECT_TRUE(Has(Error("config"), "missing action"));
}

class RepositoryJob : public ::testing::Test {
 protected:
  RepositoryJob() {
    std::filesystem::copy(std::string(QV_SOURCE_DIR) + "/examples", Src(), std::filesystem::copy_options::recursive);
  }
  std::string Src() const { return tmp_.Str() + "/src"; }
  std::string Repo() const { return tmp_.Str() + "/repo"; }
  std::string Opts() const { return " --repo=" + Repo() + " --profile-dir=" + tmp_.Str() + "/profile"; }
  qv::test::CommandOutput Run(const std::string& sArgs) { return qv::test::RunQuorvane(sArgs, tmp_); }

  qv::test::TempDir tmp_;
};

// The same field names for the same things in every command.
TEST_F(RepositoryJob, JsonLinesOfEveryCommandReadBack) {
  const auto scan = Run("scan --list --json --save" + Opts() + " " + Src());
  ASSERT_EQ(scan.nStatus, 0) << scan.sErr;
  const std::vector<Json> aFiles = JsonLines(scan.sOut);
  ASSERT_EQ(aFiles.size(), 7u) << scan.sOut;
  EXPECT_TRUE(Has(scan.sErr, "files: 7\n")) << scan.sErr;  // the summary is for people
  const std::string sMain = Src() + "/src/org/quorvane/app/Main.java";
  bool bFound = false;
  for (const Json& o : aFiles) {
    if (o["file"] != sMain) continue;
    bFound = true;
    EXPECT_EQ(o["fileName"], "Main.java");
    EXPECT_EQ(o["directory"], Src() + "/src/org/quorvane/app");
    EXPECT_EQ(o["className"], "Main");
    EXPECT_EQ(o["superClass"], "Object");
    EXPECT_EQ(o["package"], "org.quorvane.app");
  }
  EXPECT_TRUE(bFound) << scan.sOut;

  const std::vector<Json> aClasses = JsonLines(Run("classes --json" + Opts()).sOut);
  ASSERT_EQ(aClasses.size(), 7u);
  EXPECT_EQ(aClasses[0].size(), 4u);
  for (const Json& o : aClasses) {
    if (o["className"] == "Main") {
      EXPECT_EQ(o["file"], sMain);
    }
  }
  // --names: each name once (Circle is two classes), in byte order.
  std::set<std::string> aNames;
  for (const Json& o : aClasses) aNames.insert(o["className"].get<std::string>());
  std::string sNames;
  for (const std::string& s : aNames) sNames += s + "\n";
  EXPECT_EQ(Run("classes --names" + Opts()).sOut, sNames);

  const std::vector<Json> aShow = JsonLines(Run("show --json org.quorvane.shapes.solid.Circle" + Opts()).sOut);
  ASSERT_EQ(aShow.size(), 1u);
  EXPECT_EQ(aShow[0]["className"], "Circle");
  EXPECT_EQ(aShow[0]["package"], "org.quorvane.shapes.solid");
  EXPECT_EQ(aShow[0]["file"], Src() + "/src/org/quorvane/shapes/solid/Circle.java");
  EXPECT_EQ(aShow[0]["methodFile"], Repo() + "/methods" + Src() + "/src/org/quorvane/shapes/solid/Circle.med");
  ASSERT_EQ(aShow[0]["methods"].size(), 1u);
  EXPECT_EQ(aShow[0]["methods"][0]["name"], "Circle");
  EXPECT_TRUE(Has(aShow[0]["methods"][0]["body"].get<std::string>(), "public class Circle extends"));

  // Depth first, each node with its depth and parent.
  const std::vector<Json> aTree = JsonLines(Run("tree --json" + Opts()).sOut);
  ASSERT_GE(aTree.size(), 5u);
  EXPECT_EQ(aTree[0]["className"], "Object");
  EXPECT_EQ(aTree[0]["depth"], 0);
  EXPECT_TRUE(aTree[0]["parent"].is_null());
  EXPECT_EQ(aTree[0]["inRepository"], false);
  EXPECT_EQ(aTree[1]["className"], "AbstractShape");
  EXPECT_EQ(aTree[1]["parent"], "Object");
  EXPECT_EQ(aTree[2]["className"], "Circle");
  EXPECT_EQ(aTree[2]["depth"], 2);
  EXPECT_EQ(aTree[2]["parent"], "AbstractShape");
  EXPECT_EQ(aTree[2]["package"], "org.quorvane.shapes");

  const std::string sProfile = " --profile-dir " + tmp_.Str() + "/profile";
  ASSERT_EQ(Run("config init" + sProfile).nStatus, 0);
  const std::vector<Json> aSettings = JsonLines(Run("config list --json" + sProfile).sOut);
  ASSERT_EQ(aSettings.size(), 44u);
  bool bDelimiter = false;
  for (const Json& o : aSettings) {
    if (o["key"] != "Element Delimiter") continue;
    bDelimiter = true;
    EXPECT_EQ(o["section"], "File Delimiters");
    EXPECT_EQ(o["value"], "\x1F");
    EXPECT_EQ(o["source"], "file");
    EXPECT_EQ(o["variable"], "cv_sElementDelimiter");
  }
  EXPECT_TRUE(bDelimiter);

  const auto sql = Run("sql --json" + sProfile + " \"SELECT 1 AS n, NULL AS z, 'x' || char(9) || 'y' AS s\"");
  ASSERT_EQ(sql.nStatus, 0) << sql.sErr;
  const std::vector<Json> aRows = JsonLines(sql.sOut);
  ASSERT_EQ(aRows.size(), 1u);
  EXPECT_EQ(aRows[0]["n"], "1");
  EXPECT_TRUE(aRows[0]["z"].is_null());
  EXPECT_EQ(aRows[0]["s"], "x\ty");
}

TEST_F(RepositoryJob, WriteAllMirrorsThePackagesFromOneLoad) {
  ASSERT_EQ(Run("scan --save" + Opts() + " " + Src()).nStatus, 0);
  const std::string sOut = tmp_.Str() + "/out";
  const auto all = Run("write --all --to " + sOut + Opts());
  ASSERT_EQ(all.nStatus, 0) << all.sErr;
  EXPECT_TRUE(Has(all.sOut, "wrote 7 of 7 classes below " + sOut)) << all.sOut;
  for (const char* sFile :
       {"org/quorvane/app/Main.java", "org/quorvane/shapes/Circle.java", "org/quorvane/shapes/solid/Circle.java",
        "org/quorvane/shapes/Shape.java", "Applet1.java"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(sOut + "/" + sFile)) << sFile;
  }
  // What was written parses back to the same class.
  const auto parsed = Run("parse --json " + sOut + "/org/quorvane/shapes/solid/Circle.java");
  const Json o = Json::parse(parsed.sOut);
  EXPECT_EQ(o["className"], "Circle");
  EXPECT_EQ(o["package"], "org.quorvane.shapes.solid");
  EXPECT_EQ(o["superClass"], "AbstractShape");
  const auto verbose = Run("write --all -v --to " + sOut + Opts());
  EXPECT_TRUE(Has(verbose.sOut, "wrote " + sOut + "/org/quorvane/app/Main.java\n")) << verbose.sOut;
  // The first run wrote into new folders, the second over its files: the
  // classes' files alone are there, nothing beside them.
  size_t nFiles = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(sOut)) nFiles += e.is_regular_file() ? 1U : 0U;
  EXPECT_EQ(nFiles, 7u);
}

// Output that cannot be written fails every command with the reason: lines
// of a list, JSON Lines, a record, rows, a help longer than the output
// buffer (written past it in one go).  A closed stdout is an error only
// when there was something to write.
TEST_F(RepositoryJob, OutputThatCannotBeWrittenFailsTheCommand) {
  ASSERT_EQ(Run("scan --save" + Opts() + " " + Src()).nStatus, 0);
  const std::string sProfile = " --profile-dir=" + tmp_.Str() + "/profile";
  for (const std::string& sArgs :
       {"classes" + Opts(), "classes --json" + Opts(), "show org.quorvane.app.Main" + Opts(), "tree --json" + Opts(),
        "write org.quorvane.app.Main" + Opts(), "scan --list " + Src(),
        "parse " + Src() + "/src/org/quorvane/app/Main.java", "config get Profile 'Font Size'" + sProfile,
        "sql 'SELECT 1'" + sProfile, std::string("exports"), std::string("scan --help")}) {
    const auto r = qv::test::RunShell(std::string(QV_CLI) + " " + sArgs + " >/dev/full", tmp_);
    EXPECT_EQ(r.nStatus, 1) << sArgs;
    EXPECT_TRUE(Has(r.sErr, "write error on standard output: No space left on device")) << sArgs << ": " << r.sErr;
  }
  const auto closed = qv::test::RunShell(std::string(QV_CLI) + " classes" + Opts() + " >&-", tmp_);
  EXPECT_EQ(closed.nStatus, 1);
  EXPECT_TRUE(Has(closed.sErr, "quorvane classes: write error on standard output: Bad file descriptor")) << closed.sErr;
  EXPECT_EQ(qv::test::RunShell(std::string(QV_CLI) + " scan -q " + Src() + " >&-", tmp_).nStatus, 0);
}

// The test holds the repository's lock: a writer with --no-wait fails at
// once; two writers started together both wait, and after the lock is
// given back both finish, one after the other, leaving complete files.
TEST_F(RepositoryJob, WritersTakeTurnsOnTheRepositoryLock) {
  ASSERT_EQ(Run("scan --save" + Opts() + " " + Src()).nStatus, 0);
  const std::string sExpected = tmp_.Read("repo/jbclass.txt");
  const int nFd = ::open((Repo() + "/quorvane.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(nFd, 0);
  ASSERT_EQ(::flock(nFd, LOCK_EX), 0);

  const auto busy = Run("scan --save --no-wait" + Opts() + " " + Src());
  EXPECT_EQ(busy.nStatus, 1);
  EXPECT_TRUE(Has(busy.sErr, "another command is writing this repository")) << busy.sErr;

  auto Start = [&](const std::string& sName, const std::string& sArgs) {
    const std::string sBase = tmp_.Str() + "/" + sName;
    const std::string sShell = "(" + std::string(QV_CLI) + " " + sArgs + " >" + sBase + ".out 2>" + sBase +
                               ".err; echo $? >" + sBase + ".rc.tmp; mv " + sBase + ".rc.tmp " + sBase + ".rc) &";
    ASSERT_EQ(std::system(sShell.c_str()), 0);
  };
  Start("a", "scan --save" + Opts() + " " + Src());
  Start("b", "write --all --to " + tmp_.Str() + "/out" + Opts());
  auto WaitFor = [&](const std::function<bool()>& bDone) {
    for (int i = 0; i < 600 && !bDone(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return bDone();
  };
  auto Exists = [&](const std::string& s) { return std::filesystem::exists(tmp_.Str() + "/" + s); };
  const bool bBothWaiting = WaitFor([&] {
    return Exists("a.err") && Exists("b.err") && Has(tmp_.Read("a.err"), "waiting for another command") &&
           Has(tmp_.Read("b.err"), "waiting for another command");
  });
  EXPECT_TRUE(bBothWaiting);
  EXPECT_FALSE(Exists("a.rc") || Exists("b.rc"));  // neither went on while the lock was held
  ::close(nFd);
  ASSERT_TRUE(WaitFor([&] { return Exists("a.rc") && Exists("b.rc"); }));
  EXPECT_EQ(tmp_.Read("a.rc"), "0\n") << tmp_.Read("a.err");
  EXPECT_EQ(tmp_.Read("b.rc"), "0\n") << tmp_.Read("b.err");
  EXPECT_EQ(tmp_.Read("repo/jbclass.txt"), sExpected);
  EXPECT_TRUE(Has(tmp_.Read("b.out"), "wrote 7 of 7 classes")) << tmp_.Read("b.out");
  // Readers take no lock.
  const int nFd2 = ::open((Repo() + "/quorvane.lock").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_EQ(::flock(nFd2, LOCK_EX), 0);
  EXPECT_EQ(Run("classes" + Opts()).nStatus, 0);
  ::close(nFd2);
}

}  // namespace
