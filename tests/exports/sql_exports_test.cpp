// SPDX-License-Identifier: Apache-2.0
// SQL through the built library on a real SQLite file: a handle from the
// exported pool, statements with their rows handed over value by value, the
// errors given to the caller, and the reporter of the errors nobody handles.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/library_client.h"
#include "support/loaded_library.h"
#include "support/test_host.h"

namespace qv {
namespace {

using quorvane::cli::LibraryClient;

#define QV_CHECK(cond) \
  if (!(cond)) return __LINE__ % 250 + 1

// What a row handler was given: one line per call, nRow first.
struct Rows {
  std::vector<std::pair<int64_t, std::vector<std::optional<std::string>>>> aCalls;
  static void Add(void* pUserData, int64_t nRow, const QvSqlValue* aValues, size_t nCount) {
    auto& aRow = static_cast<Rows*>(pUserData)->aCalls.emplace_back(nRow, std::vector<std::optional<std::string>>());
    for (size_t i = 0; i < nCount; ++i) {
      aRow.second.push_back(aValues[i].isNull != 0 ? std::nullopt
                                                   : std::optional<std::string>({aValues[i].data, aValues[i].size}));
    }
  }
};

struct Reported {
  std::vector<std::pair<QvSqlHandle, std::string>> aErrors;
  static void Add(void* pUserData, QvSqlHandle hSql, const char* sText, size_t nSize) {
    static_cast<Reported*>(pUserData)->aErrors.emplace_back(hSql, std::string(sText, nSize));
  }
};

TEST(SqlExports, RowsErrorsAndTheReporterOnASqliteFile) {
  test::TempDir dir;
  test::ChildSetup setup;
  setup.aEnv = {{"QUORVANE_PROFILE_DIR", dir.Str()}};
  const std::string sErrFile = dir.Str() + "/stderr.txt";
  const int nStatus = test::InLoadedChild(
      [&](LibraryClient& lib) -> int {
        QV_CHECK(std::freopen(sErrFile.c_str(), "w", stderr) != nullptr);
        auto Execute = lib.Function<decltype(&QvSqlExecute)>("QvSqlExecute");
        auto SetReporter = lib.Function<decltype(&QvSetSqlErrorReporter)>("QvSetSqlErrorReporter");
        const std::string sDb = dir.Str() + "/rows.db";
        lib.Function<decltype(&QvSetDatabase)>("QvSetDatabase")(sDb.c_str());
        QV_CHECK(lib.TakeString(lib.Function<decltype(&QvSqlDatabase)>("QvSqlDatabase")()) == sDb);

        QvObject* pPool = lib.Function<decltype(&QvObjectNew)>("QvObjectNew")("BLC_ManageSqlHandles");
        QvSqlHandle hSql = 0;
        QV_CHECK(lib.Function<decltype(&__quorvane__XE38666435)>("__quorvane__XE38666435")(pPool, &hSql) == 1);
        Reported reported;
        SetReporter(&Reported::Add, &reported);

        // Null, empty text and any byte, zero included, come through as they are.
        Rows rows;
        QV_CHECK(Execute(hSql, "CREATE TABLE t (a TEXT, b BLOB); INSERT INTO t VALUES ('', NULL), (NULL, x'00ff0a')",
                         &Rows::Add, &rows, nullptr) == 1);
        QV_CHECK(rows.aCalls.empty());
        QV_CHECK(Execute(hSql, "SELECT a AS first, b FROM t ORDER BY rowid", &Rows::Add, &rows, nullptr) == 1);
        QV_CHECK(rows.aCalls.size() == 3);
        QV_CHECK(rows.aCalls[0].first == -1 && rows.aCalls[1].first == 0 && rows.aCalls[2].first == 1);
        QV_CHECK((rows.aCalls[0].second == std::vector<std::optional<std::string>>{"first", "b"}));
        QV_CHECK((rows.aCalls[1].second == std::vector<std::optional<std::string>>{"", std::nullopt}));
        QV_CHECK((rows.aCalls[2].second ==
                  std::vector<std::optional<std::string>>{std::nullopt, std::string("\0\xff\n", 3)}));
        rows.aCalls.clear();
        QV_CHECK(Execute(hSql, "SELECT a FROM t WHERE 0", &Rows::Add, &rows, nullptr) == 1);
        QV_CHECK(rows.aCalls.size() == 1 && rows.aCalls[0].first == -1);

        // A refused statement: the text goes to the caller, and only there.
        QvString* pError = lib.NewString("held before");
        QV_CHECK(Execute(hSql, "SELECT * FROM missing", &Rows::Add, &rows, &pError) == 0);
        QV_CHECK(lib.TakeString(pError) == "no such table: missing");
        QV_CHECK(lib.TakeString(lib.Function<decltype(&QvSqlLastError)>("QvSqlLastError")()) ==
                 "no such table: missing");
        QV_CHECK(reported.aErrors.empty());

        // An error that no caller gets (an exported function on a handle
        // given back) goes to the reporter, then to stderr by default.
        auto Release = lib.Function<decltype(&__quorvane__XE38666409)>("__quorvane__XE38666409");
        auto SetSqlHandle = lib.Function<decltype(&__quorvane__XE38666329)>("__quorvane__XE38666329");
        QV_CHECK(Release(pPool, hSql) == 1);
        QV_CHECK(lib.Function<decltype(&__quorvane__XE38666270)>("__quorvane__XE38666270")(pPool) == 1);
        SetSqlHandle(pPool, hSql, 0);
        const size_t nReported = reported.aErrors.size();
        QV_CHECK(nReported > 0);
        for (const auto& [h, sText] : reported.aErrors) QV_CHECK(h == hSql && sText == reported.aErrors[0].second);
        SetReporter(nullptr, nullptr);
        SetSqlHandle(pPool, hSql, 0);
        QV_CHECK(reported.aErrors.size() == nReported);
        std::fflush(stderr);
        QV_CHECK(dir.Read("stderr.txt").find("quorvane: SQL error: " + reported.aErrors[0].second) !=
                 std::string::npos);
        lib.Function<decltype(&QvObjectFree)>("QvObjectFree")(pPool);
        return 0;
      },
      setup);
  EXPECT_EQ(nStatus, 0) << dir.Read("stderr.txt");
}

}  // namespace
}  // namespace qv
