// SPDX-License-Identifier: Apache-2.0
// The quorvane command, run as a user runs it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "support/command.h"

namespace {

struct CommandRun {
  int nStatus;
  std::string sOut;  // stdout, then stderr
};

CommandRun Quorvane(const std::string& sArgs) {
  const qv::test::TempDir tmp;
  const qv::test::CommandOutput r = qv::test::RunQuorvane(sArgs, tmp);
  return {r.nStatus, r.sOut + r.sErr};
}

TEST(Cli, HelpAndVersionTellTheTruth) {
  const CommandRun help = Quorvane("--help");
  EXPECT_EQ(help.nStatus, 0);
  for (const char* sPart : {"Usage: quorvane", "scan", "parse", "classes", "show", "tree", "write", "config", "sql",
                            "demo", "exports", "help COMMAND", "Exit status: 0"}) {
    EXPECT_NE(help.sOut.find(sPart), std::string::npos) << sPart;
  }
  const CommandRun version = Quorvane("--version");
  EXPECT_EQ(version.nStatus, 0);
  EXPECT_EQ(version.sOut.rfind("quorvane ", 0), 0u);
  EXPECT_NE(version.sOut.find("Apache License, Version 2.0"), std::string::npos) << version.sOut;
  EXPECT_EQ(Quorvane("").nStatus, 2);
  EXPECT_EQ(Quorvane("no-such-command").nStatus, 2);
}

TEST(Cli, DemoUsesTheLibraryOnTheBundledExamples) {
  const CommandRun r = Quorvane(std::string("demo ") + QV_SOURCE_DIR + "/examples/src/org/quorvane/shapes/Circle.java");
  EXPECT_EQ(r.nStatus, 0) << r.sOut;
  // The word "class" in the documentation comment lies inside a block
  // comment; the declaration's does not.
  EXPECT_NE(r.sOut.find("(inside a block comment)"), std::string::npos) << r.sOut;
  EXPECT_NE(r.sOut.find("2 occurrence(s) of \"class\""), std::string::npos) << r.sOut;
  EXPECT_NE(r.sOut.find("line 1, column 1: block comment"), std::string::npos) << r.sOut;

  const CommandRun missing = Quorvane("demo /no/such/File.java");
  EXPECT_EQ(missing.nStatus, 1);
  EXPECT_NE(missing.sOut.find("cannot read /no/such/File.java"), std::string::npos);
}

TEST(Cli, ExportsListsTheExportTable) {
  const CommandRun r = Quorvane("exports --def");
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.sOut.rfind("LIBRARY quorvane\nEXPORTS\n", 0), 0u);
  EXPECT_NE(r.sOut.find("  _StrMidX@36\n"), std::string::npos);
  EXPECT_NE(r.sOut.find("  __quorvane__GF25690943\n"), std::string::npos);
}

// The installed header declares every export with the prototype the
// library's export table gives it: the committed file is the generated one.
TEST(Cli, TheExportsHeaderIsTheOneTheExportTableGives) {
  const CommandRun r = Quorvane("exports --header");
  ASSERT_EQ(r.nStatus, 0) << r.sOut;
  std::ifstream in(std::string(QV_SOURCE_DIR) + "/include/quorvane/quorvane_exports.h", std::ios::binary);
  const std::string sCommitted((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(r.sOut == sCommitted)
      << "include/quorvane/quorvane_exports.h is out of date: regenerate it with quorvane exports --header";
  EXPECT_NE(r.sOut.find("QV_API QvString* QV_CDECL __quorvane__GF25690943(const QvString* a0, QvNumber a1, "
                        "QvNumber a2);\n"),
            std::string::npos);
  EXPECT_NE(r.sOut.find("typedef QvNumber(QV_STDCALL* QvDecorated_StrScanAt_24)("), std::string::npos);
}

}  // namespace
