// SPDX-License-Identifier: Apache-2.0
// The SQL handle pool's own cost: GetSqlHandle + ReleaseSqlHandle cycles on
// slot 0 (kept connected) and on slot 1 (connected, configured and
// disconnected every time), next to a bare connect + disconnect of the
// host's database layer, against an SQLite file and against a PostgreSQL
// server that the benchmark starts itself (a throw-away cluster).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "framework/sql_handles.h"
#include "host/os/posix/posix_host.h"
#include "support/pg_cluster.h"

namespace {

struct PoolBench {
  explicit PoolBench(const std::string& sDatabase, const std::string& sProfileDir) {
    qv::HostSettings options;
    options.sProfileDir = sProfileDir;
    options.sDatabase = sDatabase;
    pHost = std::make_unique<qv::PosixHost>(options);
    pHost->Windows().SetBoxResponder([](const qv::HeadlessWindows::ShownBox&) { return qv::Number(1); });
    pModule = std::make_unique<qv::Module>(pHost->GetHost());
    pModule->Attach();
    pModule->EnsureInitialised();
  }
  ~PoolBench() { pool.DisconnectSqlHandles(*pModule); }
  std::unique_ptr<qv::PosixHost> pHost;
  std::unique_ptr<qv::Module> pModule;
  qv::BLC_ManageSqlHandles pool;
};

void Slot0Cycle(benchmark::State& state, std::string sDatabase, std::string sDir) {
  PoolBench b(sDatabase, sDir);
  for (auto _ : state) {
    qv::SqlHandle h;
    if (!b.pool.GetSqlHandle(*b.pModule, h)) state.SkipWithError("no handle");
    b.pool.ReleaseSqlHandle(*b.pModule, h);
  }
}

void Slot1Cycle(benchmark::State& state, std::string sDatabase, std::string sDir) {
  PoolBench b(sDatabase, sDir);
  qv::SqlHandle h0;
  if (!b.pool.GetSqlHandle(*b.pModule, h0)) state.SkipWithError("no handle");  // slot 0 stays in use
  for (auto _ : state) {
    qv::SqlHandle h;
    if (!b.pool.GetSqlHandle(*b.pModule, h)) state.SkipWithError("no handle");
    b.pool.ReleaseSqlHandle(*b.pModule, h);
  }
}

void BareConnect(benchmark::State& state, std::string sDatabase, std::string sDir) {
  PoolBench b(sDatabase, sDir);
  qv::PortableSql& sql = b.pHost->Sql();
  for (auto _ : state) {
    qv::SqlHandle h;
    if (!sql.Connect(h)) state.SkipWithError("no connection");
    sql.Disconnect(h);
  }
}

void Register(const std::string& sBackend, const std::string& sDatabase, const std::string& sDir) {
  benchmark::RegisterBenchmark(("BareConnectDisconnect/" + sBackend).c_str(), BareConnect, sDatabase, sDir);
  benchmark::RegisterBenchmark(("PoolSlot0Cycle/" + sBackend).c_str(), Slot0Cycle, sDatabase, sDir);
  benchmark::RegisterBenchmark(("PoolSlot1Cycle/" + sBackend).c_str(), Slot1Cycle, sDatabase, sDir);
}

}  // namespace

int main(int argc, char** argv) {
  qv::test::TempDir dir;
  qv::test::PostgresCluster cluster;
  if (!cluster.Start()) {
    std::fprintf(stderr, "cannot start the PostgreSQL server: %s\n", cluster.Error().c_str());
    return 1;
  }
  Register("sqlite", dir.Str() + "/bench.db", dir.Str());
  Register("postgresql", cluster.Uri(), dir.Str());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
