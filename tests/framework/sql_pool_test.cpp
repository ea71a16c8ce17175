// SPDX-License-Identifier: Apache-2.0
// BLC_ManageSqlHandles and BLC_DatabaseBrand over real databases: SQLite
// files and a PostgreSQL server that the test starts itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "exports/module_contents.h"
#include "framework/database_brand.h"
#include "framework/sql_handles.h"
#include "support/pg_cluster.h"
#include "support/test_host.h"

namespace qv {
namespace {

enum class Backend { kSqlite, kPostgres };

std::string BackendName(const testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::kSqlite ? "Sqlite" : "Postgres";
}

class SqlPoolTest : public test::HostFixture, public testing::WithParamInterface<Backend> {
 protected:
  static void TearDownTestSuite() { Cluster().reset(); }
  static std::unique_ptr<test::PostgresCluster>& Cluster() {
    static std::unique_ptr<test::PostgresCluster> p;  // one server for the tests of this process
    return p;
  }

  void SetUp() override {
    if (GetParam() == Backend::kPostgres) {
      if (!Cluster()) {
        Cluster() = std::make_unique<test::PostgresCluster>();
        ASSERT_TRUE(Cluster()->Start()) << "cannot start the PostgreSQL test server: " << Cluster()->Error();
      }
      sGood_ = Cluster()->Uri();
      sBad_ = test::PostgresCluster::UnusedUri();
    } else {
      sGood_ = (dir_.Path() / "pool.db").string();
      sBad_ = (dir_.Path() / "no-such-directory" / "pool.db").string();
    }
    host_->Sql().SetDatabase(sGood_);
    // Connect errors that reach no handler would be printed: keep them.
    host_->Sql().SetErrorReporter([this](const SqlError& e) { aUnhandled_.push_back(e.sText); });
  }
  void TearDown() override { pool_.DisconnectSqlHandles(*module_); }

  int64_t Brand() const { return GetParam() == Backend::kSqlite ? 10 : 24; }
  std::vector<std::string> Boxes() {
    std::vector<std::string> a;
    for (const auto& box : host_->Windows().Boxes()) a.push_back(box.sText);
    return a;
  }
  // The first value of the first row of sQuery on hSql.
  std::string Value(SqlHandle hSql, const std::string& sQuery) {
    SqlRows rows;
    if (!host_->Sql().Execute(hSql, sQuery, &rows) || rows.aRows.empty() || !rows.aRows[0][0]) return "<none>";
    return *rows.aRows[0][0];
  }
  SqlHandle Get() {
    SqlHandle h;
    EXPECT_TRUE(pool_.GetSqlHandle(*module_, h));
    return h;
  }

  BLC_ManageSqlHandles pool_;
  std::string sGood_, sBad_;
  std::vector<std::string> aUnhandled_;
};

TEST_P(SqlPoolTest, FirstHandleConnectsSlotZeroReadsTheBrandAndIsConfigured) {
  PortableSql& sql = host_->Sql();
  SqlPoolVars& cv = SqlPoolClassVars(*module_);
  const SqlHandle h0 = Get();
  EXPECT_FALSE(h0.IsNull());
  EXPECT_EQ(cv.cv_hSqlResource.Get(0), h0);
  EXPECT_TRUE(cv.cv_bhSqlLocked.Get(0));
  EXPECT_FALSE(cv.cv_bFirstConnect);
  EXPECT_TRUE(cv.cv_bInitialized);
  EXPECT_EQ(cv.cv_nHandleWarningLevel, Number(10));
  EXPECT_EQ(pool_.GetDBMSBrand(*module_), Number(Brand()));
  EXPECT_TRUE(BLC_DatabaseBrand().IsDBMSBrand(*module_, Brand()));
  EXPECT_TRUE(sql.InUse(h0));
  EXPECT_EQ(sql.HandleOptions(h0), 0);
  // Parameter 5 is the lock timeout in seconds, set on the connection itself.
  Number nTimeout;
  String sText;
  ASSERT_TRUE(sql.GetParameter(h0, 5, nTimeout, sText));
  if (GetParam() == Backend::kSqlite) {
    EXPECT_EQ(nTimeout, Number(60));
    EXPECT_EQ(Value(h0, "PRAGMA busy_timeout"), "60000");
  } else {
    EXPECT_EQ(nTimeout, Number(600));
    EXPECT_EQ(Value(h0, "SHOW lock_timeout"), "10min");
    EXPECT_EQ(Value(h0, "SHOW default_transaction_isolation"), "read committed");
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_P(SqlPoolTest, HandOutGiveBackAndReconnect) {
  PortableSql& sql = host_->Sql();
  SqlPoolVars& cv = SqlPoolClassVars(*module_);
  const SqlHandle h0 = Get();
  const SqlHandle h1 = Get();  // slot 0 is in use: slot 1 connects
  EXPECT_NE(h0, h1);
  EXPECT_EQ(cv.cv_hSqlResource.Get(1), h1);
  EXPECT_EQ(sql.OpenHandleCount(), 2u);

  EXPECT_TRUE(pool_.ReleaseSqlHandle(*module_, h1));  // slot 1 is disconnected and emptied
  EXPECT_EQ(cv.cv_hSqlResource.Get(1), cv.cv_hSqlNULL);
  EXPECT_FALSE(cv.cv_bhSqlLocked.Get(1));
  EXPECT_EQ(sql.OpenHandleCount(), 1u);
  EXPECT_EQ(sql.BackendOf(h1), "");

  const SqlHandle h2 = Get();  // slot 1 reconnects with a value never used before
  EXPECT_EQ(cv.cv_hSqlResource.Get(1), h2);
  EXPECT_NE(h2, h1);
  EXPECT_TRUE(sql.InUse(h2));
  // The stale handle given back again releases nothing.
  EXPECT_FALSE(pool_.ReleaseSqlHandle(*module_, h1));
  EXPECT_EQ(sql.OpenHandleCount(), 2u);
  EXPECT_TRUE(cv.cv_bhSqlLocked.Get(1));

  // Slot 0 stays connected when it comes back and is handed out again.
  EXPECT_TRUE(pool_.ReleaseSqlHandle(*module_, h0));
  EXPECT_FALSE(sql.InUse(h0));
  EXPECT_EQ(sql.OpenHandleCount(), 2u);
  EXPECT_EQ(Get(), h0);
  EXPECT_TRUE(sql.InUse(h0));

  EXPECT_FALSE(pool_.ReleaseSqlHandle(*module_, SqlHandle{}));
  EXPECT_FALSE(pool_.ReleaseSqlHandle(*module_, SqlHandle{h2.nValue + 1000}));
  EXPECT_EQ(sql.OpenHandleCount(), 2u);
  EXPECT_TRUE(Boxes().empty());
}

TEST_P(SqlPoolTest, AGivenBackHandleCarriesNoOpenTransaction) {
  const SqlHandle h0 = Get();
  ASSERT_TRUE(host_->Sql().Execute(h0, "CREATE TABLE t (n INTEGER)", nullptr));
  ASSERT_TRUE(host_->Sql().Execute(h0, "BEGIN", nullptr));
  ASSERT_TRUE(host_->Sql().Execute(h0, "INSERT INTO t VALUES (1)", nullptr));
  EXPECT_TRUE(pool_.ReleaseSqlHandle(*module_, h0));
  EXPECT_EQ(Get(), h0);
  EXPECT_EQ(Value(h0, "SELECT COUNT(*) FROM t"), "0");
  // A text of several statements is one transaction: all or nothing.
  EXPECT_FALSE(host_->Sql().Execute(h0, "INSERT INTO t VALUES (2); INSERT INTO nowhere VALUES (3)", nullptr));
  EXPECT_EQ(Value(h0, "SELECT COUNT(*) FROM t"), "0");
  EXPECT_TRUE(host_->Sql().Execute(h0, "INSERT INTO t VALUES (2); INSERT INTO t VALUES (3)", nullptr));
  EXPECT_EQ(Value(h0, "SELECT COUNT(*) FROM t"), "2");
}

TEST_P(SqlPoolTest, GrowingPastTheWarningLevelShowsMessage5AndStillHandsOut) {
  std::vector<SqlHandle> aHandles;
  for (int i = 0; i <= 10; ++i) aHandles.push_back(Get());  // slots 0 to 10
  EXPECT_TRUE(Boxes().empty());
  SqlHandle h11;
  EXPECT_TRUE(pool_.GetSqlHandle(*module_, h11));
  EXPECT_FALSE(h11.IsNull());
  EXPECT_EQ(SqlPoolClassVars(*module_).cv_hSqlResource.Get(11), h11);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"S5: Number of Sql Handles is above Warning Level!"});
  EXPECT_EQ(host_->Sql().OpenHandleCount(), 12u);
}

TEST_P(SqlPoolTest, AFailedFirstConnectShowsMessage15AndALaterCallConnects) {
  host_->Sql().SetDatabase(sBad_);
  SqlHandle h;
  EXPECT_FALSE(pool_.GetSqlHandle(*module_, h));
  EXPECT_TRUE(h.IsNull());
  EXPECT_EQ(Boxes(), std::vector<std::string>{"S15: Login Error! Please try again."});
  EXPECT_TRUE(SqlPoolClassVars(*module_).cv_bFirstConnect);
  EXPECT_EQ(host_->Sql().OpenHandleCount(), 0u);
  // The pool's error handler dealt with the error: the host printed nothing,
  // and the database's own text is kept.
  EXPECT_TRUE(aUnhandled_.empty());
  EXPECT_FALSE(host_->Sql().LastError().sText.empty());

  host_->Sql().SetDatabase(sGood_);
  EXPECT_TRUE(pool_.GetSqlHandle(*module_, h));
  EXPECT_EQ(SqlPoolClassVars(*module_).cv_hSqlResource.Get(0), h);
  EXPECT_EQ(pool_.GetDBMSBrand(*module_), Number(Brand()));
}

TEST_P(SqlPoolTest, AFailedConnectWithEverySlotInUseOrAnEmptySlotShowsMessage26) {
  const SqlHandle h0 = Get();
  const SqlHandle h1 = Get();
  host_->Sql().SetDatabase(sBad_);
  SqlHandle h;
  EXPECT_FALSE(pool_.GetSqlHandle(*module_, h));  // growing fails
  EXPECT_TRUE(pool_.ReleaseSqlHandle(*module_, h1));
  EXPECT_FALSE(pool_.GetSqlHandle(*module_, h));  // reconnecting slot 1 fails
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"S26: No free Sql Handles!", "S26: No free Sql Handles!"}));
  EXPECT_EQ(SqlPoolClassVars(*module_).cv_hSqlResource.Count(), 2);
  EXPECT_TRUE(aUnhandled_.empty());
  host_->Sql().SetDatabase(sGood_);
  EXPECT_NE(Get(), h0);
}

TEST_P(SqlPoolTest, DisconnectingEveryHandleResetsThePool) {
  Get();
  Get();
  const SqlHandle h2 = Get();
  EXPECT_TRUE(pool_.ReleaseSqlHandle(*module_, h2));
  EXPECT_TRUE(pool_.DisconnectSqlHandles(*module_));  // handed-out handles too
  EXPECT_EQ(host_->Sql().OpenHandleCount(), 0u);
  SqlPoolVars& cv = SqlPoolClassVars(*module_);
  EXPECT_EQ(cv.cv_hSqlResource.Count(), 1);
  EXPECT_TRUE(cv.cv_bFirstConnect);
  EXPECT_TRUE(cv.cv_bInitialized);
  EXPECT_FALSE(cv.cv_bhSqlLocked.Get(0));
  // Only empty slots: FALSE, and the pool is reset all the same.
  EXPECT_FALSE(pool_.DisconnectSqlHandles(*module_));
  const SqlHandle h = Get();
  EXPECT_EQ(cv.cv_hSqlResource.Get(0), h);
  EXPECT_FALSE(cv.cv_bFirstConnect);
}

INSTANTIATE_TEST_SUITE_P(Backends, SqlPoolTest, testing::Values(Backend::kSqlite, Backend::kPostgres), BackendName);

// A connection whose brand parameter says something else: the real SQLite
// layer, with parameter 2 answered by the test.
class BrandReportingSql final : public Sql {
 public:
  BrandReportingSql(Sql& inner, Number nBrand) : inner_(inner), nBrand_(nBrand) {}
  bool Connect(SqlHandle& h) override { return inner_.Connect(h); }
  bool Disconnect(SqlHandle h) override { return inner_.Disconnect(h); }
  bool Execute(SqlHandle h, std::string_view s, SqlRows* p) override { return inner_.Execute(h, s, p); }
  bool SetIsolationLevel(SqlHandle h, std::string_view s) override { return inner_.SetIsolationLevel(h, s); }
  bool GetParameter(SqlHandle h, int64_t n, Number& nValue, String& sText) override {
    if (n != 2) return inner_.GetParameter(h, n, nValue, sText);
    nValue = nBrand_;
    return true;
  }
  bool SetParameter(SqlHandle h, int64_t n, Number v, std::string_view s) override {
    return inner_.SetParameter(h, n, v, s);
  }
  bool SetHandleOption(SqlHandle h, int64_t n) override { return inner_.SetHandleOption(h, n); }
  bool ClearHandleOption(SqlHandle h, int64_t n) override { return inner_.ClearHandleOption(h, n); }
  bool BrandSetup(SqlHandle h) override { return inner_.BrandSetup(h); }
  bool BeginUse(SqlHandle h) override { return inner_.BeginUse(h); }
  bool EndUse(SqlHandle h) override { return inner_.EndUse(h); }
  ErrorHandler SetErrorHandler(ErrorHandler fn) override { return inner_.SetErrorHandler(std::move(fn)); }
  SqlError LastError() override { return inner_.LastError(); }
  void SetLogFiles(std::string_view a, std::string_view b) override { inner_.SetLogFiles(a, b); }

 private:
  Sql& inner_;
  Number nBrand_;
};

class DatabaseBrandTest : public test::HostFixture {
 protected:
  Module& ModuleReporting(Number nBrand) {
    host_->Sql().SetDatabase((dir_.Path() / "brand.db").string());
    pSql_ = std::make_unique<BrandReportingSql>(host_->Sql(), nBrand);
    Host host = host_->GetHost();
    host.pSql = pSql_.get();
    module_.reset();
    module_ = std::make_unique<Module>(host, ModuleFaults{}, kLibraryContents);
    module_->Attach();
    return *module_;
  }
  std::unique_ptr<BrandReportingSql> pSql_;
};

TEST_F(DatabaseBrandTest, BeforeAnyConnectionTheInitialValueIsCompared) {
  BLC_DatabaseBrand oBrand;
  EXPECT_EQ(oBrand.CurrentDBMSBrand(*module_), Number(0));
  EXPECT_TRUE(oBrand.IsDBMSBrand(*module_, 0));
  EXPECT_FALSE(oBrand.IsDBMSBrand(*module_, 10));
}

TEST_F(DatabaseBrandTest, Brand34IsKeptAs24AndConfiguredAsSuch) {
  Module& m = ModuleReporting(34);
  BLC_ManageSqlHandles pool;
  SqlHandle h;
  ASSERT_TRUE(pool.GetSqlHandle(m, h));
  BLC_DatabaseBrand oBrand;
  EXPECT_EQ(oBrand.CurrentDBMSBrand(m), Number(24));
  EXPECT_TRUE(oBrand.IsDBMSBrand(m, 24));
  EXPECT_FALSE(oBrand.IsDBMSBrand(m, 34));
  Number n;
  String s;
  host_->Sql().GetParameter(h, 5, n, s);
  EXPECT_EQ(n, Number(600));  // brand 24: parameter 5 := 600
  EXPECT_TRUE(host_->Windows().Boxes().empty());
  pool.DisconnectSqlHandles(m);
}

TEST_F(DatabaseBrandTest, NoBrandShowsMessage33AndConfiguresNothingSpecial) {
  Module& m = ModuleReporting(0);
  BLC_ManageSqlHandles pool;
  SqlHandle h;
  ASSERT_TRUE(pool.GetSqlHandle(m, h));
  EXPECT_EQ(BLC_DatabaseBrand().CurrentDBMSBrand(m), Number(0));
  ASSERT_EQ(host_->Windows().Boxes().size(), 1u);
  EXPECT_EQ(host_->Windows().Boxes()[0].sText, "S33: Database Brand not found!");
  Number n;
  String s;
  host_->Sql().GetParameter(h, 5, n, s);
  EXPECT_EQ(n, Number(0));
  pool.DisconnectSqlHandles(m);
}

TEST_F(DatabaseBrandTest, Brand1SetsTheHandleOptionsThatTheEndClears) {
  Module& m = ModuleReporting(1);
  BLC_ManageSqlHandles pool;
  SqlHandle h;
  ASSERT_TRUE(pool.GetSqlHandle(m, h));
  // Set with -1, then cleared with 0 after the brand table.
  EXPECT_EQ(host_->Sql().HandleOptions(h), 0);
  EXPECT_TRUE(host_->Sql().SetHandleOption(h, -1));
  EXPECT_EQ(host_->Sql().HandleOptions(h), -1);
  pool.DisconnectSqlHandles(m);
}

}  // namespace
}  // namespace qv
