// SPDX-License-Identifier: Apache-2.0
// quorvane sql end to end: the embedded SQLite default, a PostgreSQL server
// the test starts, failures, and the logs BLDBLOCK.INI switches on.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/command.h"
#include "support/pg_cluster.h"

namespace qv {
namespace {

using test::Has;
using test::RunQuorvane;

class SqlCliTest : public ::testing::Test {
 protected:
  // Runs quorvane sql with the temporary directory as profile directory.
  test::CommandOutput Sql(const std::string& sArgs) {
    return RunQuorvane("sql --profile-dir '" + dir_.Str() + "' " + sArgs, dir_);
  }
  test::TempDir dir_;
};

TEST_F(SqlCliTest, TheEmbeddedDefaultPrintsRowsAsTsvAndJson) {
  auto r = Sql(
      "\"CREATE TABLE t (id INTEGER, name TEXT)\" \"INSERT INTO t VALUES (1, 'a b'), (2, NULL), (3, 'x\ty')\" "
      "\"SELECT id, name FROM t ORDER BY id\"");
  ASSERT_EQ(r.nStatus, 0) << r.sErr;
  EXPECT_EQ(r.sOut, "id\tname\n1\ta b\n2\t\\N\n3\tx\\ty\n");
  EXPECT_TRUE(std::filesystem::exists(dir_.Path() / "quorvane.db"));

  r = Sql("--json \"SELECT id, name FROM t WHERE id < 3 ORDER BY id\"");
  ASSERT_EQ(r.nStatus, 0) << r.sErr;
  EXPECT_EQ(r.sOut, "{\"id\":\"1\",\"name\":\"a b\"}\n{\"id\":\"2\",\"name\":null}\n");
}

TEST_F(SqlCliTest, AValueWithAZeroByteKeepsTheRestOfItsLine) {
  const auto r = Sql("\"SELECT x'610062' AS v, 'z' AS w\"");
  ASSERT_EQ(r.nStatus, 0) << r.sErr;
  EXPECT_EQ(r.sOut, std::string("v\tw\na\0b\tz\n", 10));
}

TEST_F(SqlCliTest, AFailingStatementPrintsTheDatabasesTextAndWritesNothingHalf) {
  ASSERT_EQ(Sql("\"CREATE TABLE t (id INTEGER PRIMARY KEY)\"").nStatus, 0);
  auto r = Sql("\"INSERT INTO t VALUES (1); INSERT INTO t VALUES (1)\" \"INSERT INTO t VALUES (9)\"");
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "UNIQUE constraint failed")) << r.sErr;
  // An open transaction is rolled back when the handle comes back.
  EXPECT_EQ(Sql("BEGIN \"INSERT INTO t VALUES (5)\"").nStatus, 0);
  r = Sql("\"SELECT COUNT(*) AS n FROM t\"");
  EXPECT_EQ(r.sOut, "n\n0\n");
  r = Sql("\"SELECT * FROM missing\"");
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "no such table: missing")) << r.sErr;
}

TEST_F(SqlCliTest, AConnectionThatFailsShowsS15AndExits1) {
  auto r = Sql("--database '" + dir_.Str() + "/no/such/dir.db' \"SELECT 1\"");
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "S15: Login Error! Please try again.")) << r.sErr;
  EXPECT_TRUE(Has(r.sErr, "unable to open database file")) << r.sErr;
  // The password of the target is never printed.
  std::string sUri = test::PostgresCluster::UnusedUri();
  sUri.replace(sUri.find("postgres@"), 9, "alice:S3cretPw@");
  r = Sql("--database '" + sUri + "&password=Other5ecret' \"SELECT 1\"");
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "S15: ")) << r.sErr;
  EXPECT_TRUE(
      Has(r.sErr, "cannot connect to user=alice password=*** connect_timeout=5 dbname=postgres host=127.0.0.1 port="))
      << r.sErr;
  EXPECT_FALSE(Has(r.sErr, "S3cretPw") || Has(r.sErr, "Other5ecret")) << r.sErr;
  // A key/value target names a server, not a file of the working directory.
  r = test::RunShell("cd '" + dir_.Str() + "' && " + QV_CLI +
                         " sql --profile-dir . --database 'host=127.0.0.1 port=1 password=S3cretPw' \"SELECT 1\"",
                     dir_);
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "cannot connect to password=*** host=127.0.0.1 port=1: ")) << r.sErr;
  EXPECT_FALSE(Has(r.sErr, "S3cretPw")) << r.sErr;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
    EXPECT_FALSE(Has(entry.path().filename().string(), "S3cretPw")) << entry.path();
  }
  EXPECT_EQ(Sql("").nStatus, 2);
  EXPECT_EQ(Sql("--bogus x").nStatus, 2);
}

TEST_F(SqlCliTest, APostgresServerNamedByItsUri) {
  test::PostgresCluster cluster;
  ASSERT_TRUE(cluster.Start()) << "cannot start the PostgreSQL test server: " << cluster.Error();
  const std::string sDb = "--database '" + cluster.Uri() + "' ";
  auto r = Sql(sDb +
               "\"CREATE TABLE t (id int, name text)\" \"INSERT INTO t VALUES (1, 'x'), (2, NULL)\" "
               "\"SELECT * FROM t ORDER BY id\"");
  ASSERT_EQ(r.nStatus, 0) << r.sErr;
  EXPECT_EQ(r.sOut, "id\tname\n1\tx\n2\t\\N\n");
  r = Sql(sDb + "\"INSERT INTO t VALUES (3, 'y'); INSERT INTO nowhere VALUES (1)\"");
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_TRUE(Has(r.sErr, "relation \"nowhere\" does not exist")) << r.sErr;
  r = Sql(sDb + "--json \"SELECT count(*) AS n FROM t\"");
  EXPECT_EQ(r.sOut, "{\"n\":\"2\"}\n");
  // Libpq's key/value form, and the scheme in capitals, name the same server.
  const std::string sUri = cluster.Uri();
  const size_t nPort = sUri.rfind(':') + 1;
  r = Sql("--database 'host=127.0.0.1 port=" + sUri.substr(nPort, sUri.rfind('/') - nPort) +
          " user=postgres dbname=postgres' \"SELECT count(*) AS n FROM t\"");
  EXPECT_EQ(r.sOut, "n\n2\n") << r.sErr;
  r = Sql("--database 'POSTGRESQL" + sUri.substr(sUri.find(':')) + "' \"SELECT count(*) AS n FROM t\"");
  EXPECT_EQ(r.sOut, "n\n2\n") << r.sErr;
}

TEST_F(SqlCliTest, SwitchedOnLogsGetTheirLinesBelowTheHeader) {
  const std::string sSqlLog = dir_.Str() + "/sql.log";
  const std::string sPerfLog = dir_.Str() + "/perf.log";
  dir_.Write("BLDBLOCK.INI", "[Debug BldBlock]\nSqlProfile Log=" + sSqlLog + "\nPerformance Log=" + sPerfLog +
                                 "\nSqlProfile Mode (On/1)=1\nPerformance Mode (On/1)=1\n");
  auto r = Sql("\"SELECT 42 AS answer\"");
  ASSERT_EQ(r.nStatus, 0) << r.sErr;
  EXPECT_TRUE(Has(r.sErr, "S3: Auto Sql Profile Log On!")) << r.sErr;
  EXPECT_TRUE(Has(r.sErr, "S6: Auto Performance Log On!")) << r.sErr;
  const std::string sSql = dir_.Read("sql.log");
  EXPECT_EQ(sSql.rfind("\r\r\n\r\r\nStart New SqlProfile Log \r\r\nApplication: ", 0), 0u) << sSql;
  EXPECT_TRUE(Has(sSql, "\tSELECT 42 AS answer\r\n")) << sSql;
  const std::string sPerf = dir_.Read("perf.log");
  const size_t nHeader = sPerf.find("Start New Performance Log ");
  const size_t nConnect = sPerf.find("\r\nConnect\t");
  const size_t nDisconnect = sPerf.find("\r\nDisconnect\t");
  EXPECT_NE(nHeader, std::string::npos) << sPerf;
  EXPECT_NE(nConnect, std::string::npos) << sPerf;
  EXPECT_LT(nHeader, nConnect);
  EXPECT_LT(nConnect, nDisconnect);
  EXPECT_NE(nDisconnect, std::string::npos) << sPerf;
  EXPECT_TRUE(Has(sPerf, "\tsqlite\t")) << sPerf;
  EXPECT_TRUE(Has(sPerf, " ms\r\n")) << sPerf;
}

}  // namespace
}  // namespace qv
