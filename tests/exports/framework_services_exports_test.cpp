// SPDX-License-Identifier: Apache-2.0
// The framework services through the built library, as a host reaches them:
// every class created by name, its functions called through the XE and the
// XT form, the decorated names, the constructor and destructor and the SQL
// error handlers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "cli/library_client.h"
#include "support/loaded_library.h"
#include "support/test_host.h"

namespace qv {
namespace {

using quorvane::cli::LibraryClient;

using test::Num;

// Runs fn in a child process with a fresh load of the library whose profile
// directory and database are in sDir; returns 0 when every check held, else
// the line of the first check that failed.
int InChild(const std::string& sDir, int (*fn)(LibraryClient&, const std::string&)) {
  test::ChildSetup setup;
  setup.aEnv = {{"QUORVANE_PROFILE_DIR", sDir}, {"QUORVANE_DATABASE", sDir + "/exports.db"}};
  setup.bQuietStderr = true;
  return test::InLoadedChild([&](LibraryClient& lib) { return fn(lib, sDir); }, setup);
}

#define QV_CHECK(cond) \
  if (!(cond)) return __LINE__ % 250 + 1

TEST(FrameworkServicesExports, MessagesBrandAndProfileInBothForms) {
  test::TempDir dir;
  dir.Write("BLDBLOCK.INI", "[BldBlock File Path]\nBldBlock Help=help.chm\n[Debug BldBlock]\nDebug Mode (On/1)=1\n");
  const int nStatus = InChild(dir.Str(), [](LibraryClient& lib, const std::string&) -> int {
    auto New = lib.Function<QvObject* (*)(const char*)>("QvObjectNew");
    auto Free = lib.Function<void (*)(QvObject*)>("QvObjectFree");
    auto SetCurrent = lib.Function<void (*)(QvObject*)>("QvSetCurrentInstance");
    auto Find = lib.Function<void (*(*)(const char*))()>("QvFindExport");

    QvObject* pMsg = New("VC_DisplayMsg");
    QV_CHECK(pMsg != nullptr);
    reinterpret_cast<void (*)(QvObject*)>(Find("___ct_15__@4"))(pMsg);
    using SystemMsgXE = QvNumber (*)(QvObject*, QvNumber, QvNumber);
    using SystemMsgXT = QvNumber (*)(QvNumber, QvNumber);
    QV_CHECK(lib.Function<SystemMsgXE>("__quorvane__XE41025570")(pMsg, Num(26), Num(0)).value == 1);
    QV_CHECK(reinterpret_cast<SystemMsgXE>(Find("_DisplaySystemMsg_15__@36"))(pMsg, Num(15), Num(0)).value == 1);
    SetCurrent(pMsg);
    QV_CHECK(lib.Function<SystemMsgXT>("__quorvane__XT41025570")(Num(26), Num(0)).value == 1);
    using ValidationXT = QvNumber (*)(QvNumber, const QvString*, QvNumber);
    QvString* pName = lib.NewString("Name");
    QV_CHECK(lib.Function<ValidationXT>("__quorvane__XT41025538")(Num(0), pName, Num(4)).value == 1);
    lib.FreeString(pName);
    reinterpret_cast<void (*)(QvObject*)>(Find("___dt_15__@4"))(pMsg);
    Free(pMsg);

    QvObject* pBrand = New("BLC_DatabaseBrand");
    QV_CHECK(pBrand != nullptr);
    QV_CHECK(lib.Function<QvNumber (*)(QvObject*)>("__quorvane__XE39452691")(pBrand).value == 0);
    QV_CHECK(reinterpret_cast<QvNumber (*)(QvObject*)>(Find("_CurrentDBMSBrand_13__@4"))(pBrand).isNull == 0);
    SetCurrent(pBrand);
    QV_CHECK(lib.Function<QvBoolean (*)(QvNumber)>("__quorvane__XT39452701")(Num(0)) == 1);
    QV_CHECK(lib.Function<QvBoolean (*)(QvObject*, QvNumber)>("__quorvane__XE39452701")(pBrand, Num(24)) == 0);
    Free(pBrand);

    QvObject* pProfile = New("VC_BldBlockProfile");
    QV_CHECK(pProfile != nullptr);
    QV_CHECK(lib.Function<QvBoolean (*)(QvObject*)>("__quorvane__XE40239139")(pProfile) == 1);  // GetDebugMode
    SetCurrent(pProfile);
    QV_CHECK(lib.Function<QvBoolean (*)()>("__quorvane__XT40239139")() == 1);
    QV_CHECK(lib.Function<QvBoolean (*)()>("__quorvane__XT40239150")() == 0);  // GetSqlProfileMode
    QV_CHECK(lib.TakeString(lib.Function<QvString* (*)()>("__quorvane__XT40239128")()) == "help.chm");
    QV_CHECK(lib.TakeString(lib.Function<QvString* (*)(QvObject*)>("__quorvane__XE40239128")(pProfile)) == "help.chm");
    reinterpret_cast<QvNumber (*)(QvObject*)>(Find("_InitBldBlockProfile_14__@4"))(pProfile);
    QV_CHECK(lib.Function<QvBoolean (*)()>("__quorvane__XT40239161")() == 0);  // GetPerformanceMode
    Free(pProfile);
    return 0;
  });
  EXPECT_EQ(nStatus, 0) << "first failing check near line " << nStatus;
}

TEST(FrameworkServicesExports, ThePoolHandsOutAndTakesBackThroughBothForms) {
  test::TempDir dir;
  const int nStatus = InChild(dir.Str(), [](LibraryClient& lib, const std::string& sDir) -> int {
    auto New = lib.Function<QvObject* (*)(const char*)>("QvObjectNew");
    auto SetCurrent = lib.Function<void (*)(QvObject*)>("QvSetCurrentInstance");
    auto Find = lib.Function<void (*(*)(const char*))()>("QvFindExport");
    using GetXE = QvBoolean (*)(QvObject*, QvSqlHandle*);
    using GetXT = QvBoolean (*)(QvSqlHandle*);
    using ReleaseXE = QvBoolean (*)(QvObject*, QvSqlHandle);
    using ReleaseXT = QvBoolean (*)(QvSqlHandle);

    QvObject* pPool = New("BLC_ManageSqlHandles");
    QV_CHECK(pPool != nullptr);
    QvSqlHandle h0 = 0;
    QV_CHECK(lib.Function<GetXE>("__quorvane__XE38666435")(pPool, &h0) == 1);
    QV_CHECK(h0 != 0);
    QV_CHECK(access((sDir + "/exports.db").c_str(), F_OK) == 0);  // the database the host was given
    QV_CHECK(lib.Function<QvNumber (*)(QvObject*)>("__quorvane__XE38666484")(pPool).value == 10);
    SetCurrent(pPool);
    QvSqlHandle h1 = 0;
    QV_CHECK(lib.Function<GetXT>("__quorvane__XT38666435")(&h1) == 1);
    QV_CHECK(h1 != 0 && h1 != h0);
    QV_CHECK(lib.Function<ReleaseXT>("__quorvane__XT38666409")(h1) == 1);
    QV_CHECK(lib.Function<ReleaseXE>("__quorvane__XE38666409")(pPool, h1) == 0);  // already given back
    QV_CHECK(lib.Function<ReleaseXE>("__quorvane__XE38666409")(pPool, h0) == 1);
    QvSqlHandle hAgain = 0;
    QV_CHECK(lib.Function<GetXT>("__quorvane__XT38666435")(&hAgain) == 1);
    QV_CHECK(hAgain == h0);

    // The decorated names of the pool reach the same functions.
    QV_CHECK(reinterpret_cast<QvBoolean (*)(QvObject*)>(Find("___ConnectSqlHandle_12__@4"))(pPool) == 1);
    QV_CHECK(reinterpret_cast<QvBoolean (*)(QvObject*, QvNumber)>(Find("___ReConnectSqlHandle_12__@20"))(pPool,
                                                                                                         Num(-1)) == 0);
    QV_CHECK(
        reinterpret_cast<QvNumber (*)(QvObject*, QvSqlHandle, QvBoolean)>(Find("___SetSqlHandle_12__@12"))(pPool, h0, 0)
            .isNull != 0);
    QV_CHECK(lib.Function<QvBoolean (*)()>("__quorvane__XT38666270")() == 1);  // DisconnectSqlHandles
    QV_CHECK(lib.Function<QvBoolean (*)(QvObject*)>("__quorvane__XE38666270")(pPool) == 0);
    reinterpret_cast<QvNumber (*)(QvObject*)>(Find("___InitSqlHandle_12__@4"))(pPool);

    // The SQL error handlers set the connecting function's result to FALSE
    // and answer the host with 2.
    using HandlerFn = int32_t (*)(QvObject*, QvSqlHandle, QvBoolean*);
    for (const char* sName : {"___wse38666254_12__@12", "___wse38666321_12__@12"}) {
      QvBoolean bResult = 1;
      QV_CHECK(Find(sName) != nullptr);
      QV_CHECK(reinterpret_cast<HandlerFn>(Find(sName))(pPool, 0, &bResult) == 2);
      QV_CHECK(bResult == 0);
    }
    return 0;
  });
  EXPECT_EQ(nStatus, 0) << "first failing check near line " << nStatus;
}

}  // namespace
}  // namespace qv
