// SPDX-License-Identifier: Apache-2.0
// A repository of twenty thousand classes: saving and loading the class
// list file, FindClass for every class, and the whole subclass tree built
// with FindSubClasses (one call per class).  Each should take well under a
// second.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <memory>
#include <string>

#include "core/module.h"
#include "host/os/posix/posix_host.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"

namespace {

constexpr int kClasses = 20000;

// A module over a portable host whose current directory is a scratch
// directory holding the repository.
struct Bench {
  Bench() {
    sDir = std::filesystem::temp_directory_path() / ("quorvane-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(sDir);
    std::filesystem::current_path(sDir);
    pHost = std::make_unique<qv::PosixHost>();
    pModule = std::make_unique<qv::Module>(pHost->GetHost());
    pModule->Attach();
    pModule->EnsureInitialised();
    // assign(count, char): GCC 12 at -O3 warns falsely (-Wrestrict) when a
    // string is assigned a one-byte text.
    pModule->G().sElementDelimiter.assign(1, '\x1F');
    pModule->G().sCRLFToken.assign(1, '\x1E');
  }
  ~Bench() {
    pModule.reset();
    std::error_code ec;
    std::filesystem::remove_all(sDir, ec);
  }
  std::filesystem::path sDir;
  std::unique_ptr<qv::PosixHost> pHost;
  std::unique_ptr<qv::Module> pModule;
};

// Classes in a tree: class i extends class (i - 1) / 4, so that every class
// has up to four subclasses; texts of ordinary sizes.
void FillClasses(qv::Module& m) {
  qv::DynArray<qv::VC_JavaClass>& a = qv::JavaClassArray(m);
  for (int i = 0; i < kClasses; ++i) {
    qv::VC_JavaClass& r = a.At(i);
    const std::string n = std::to_string(i);
    r.sClassName = "Class" + n;
    r.sSuperClass = i == 0 ? "Object" : "Class" + std::to_string((i - 1) / 4);
    r.sFileName = r.sClassName + ".java";
    r.sDirectory = "C:\\src\\com\\example\\pkg" + std::to_string(i % 100);
    r.sPackage = "com.example.pkg" + std::to_string(i % 100);
    r.sHeader = "/*\r\r\n * " + r.sFileName + "\r\r\n * Copyright the authors.\r\r\n */";
    r.sDescription = "/**\r\r\n * Class number " + n + ", which does one thing well.\r\r\n */\r\r\n";
    r.sFooter = "// end of " + r.sFileName;
    for (int j = 0; j < 6; ++j) r.sImport.Set(j, "com.example.lib" + std::to_string(j) + ".Thing" + n);
  }
}

// A saved and loaded repository of the classes.
struct LoadedBench : Bench {
  LoadedBench() {
    FillClasses(*pModule);
    repo.SaveRepository(*pModule);
    repo.LoadRepository(*pModule);
  }
  qv::VC_JavaRepository repo;
};

void BM_SaveRepository(benchmark::State& state) {
  Bench b;
  qv::Module& m = *b.pModule;
  FillClasses(m);
  qv::VC_JavaRepository repo;
  for (auto _ : state) repo.SaveRepository(m);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(b.sDir / "jbclass.txt"));
}
BENCHMARK(BM_SaveRepository)->Unit(benchmark::kMillisecond);

void BM_LoadRepository(benchmark::State& state) {
  Bench b;
  qv::Module& m = *b.pModule;
  FillClasses(m);
  qv::VC_JavaRepository repo;
  repo.SaveRepository(m);
  for (auto _ : state) {
    repo.InitRepository(m);
    repo.LoadRepository(m);
  }
  state.counters["classes"] = qv::RepositoryVars(m).cv_nClassCount.Value();
}
BENCHMARK(BM_LoadRepository)->Unit(benchmark::kMillisecond);

void BM_FindClassForEveryClass(benchmark::State& state) {
  LoadedBench b;
  qv::Module& m = *b.pModule;
  qv::VC_JavaRepository& repo = b.repo;
  const qv::DynArray<qv::VC_JavaClass>& a = qv::JavaClassArray(m);
  for (auto _ : state) {
    double nSum = 0;
    for (int i = 0; i < kClasses; ++i) nSum += repo.FindClass(m, a[i].sClassName).Value();
    benchmark::DoNotOptimize(nSum);
  }
}
BENCHMARK(BM_FindClassForEveryClass)->Unit(benchmark::kMillisecond);

void BM_SubclassTreeOfEveryClass(benchmark::State& state) {
  LoadedBench b;
  qv::Module& m = *b.pModule;
  qv::VC_JavaRepository& repo = b.repo;
  const qv::DynArray<qv::VC_JavaClass>& a = qv::JavaClassArray(m);
  qv::DynArray<qv::Number> aIndexes;
  for (auto _ : state) {
    int64_t nEdges = 0;
    for (int i = 0; i < kClasses; ++i) {
      aIndexes.Clear();
      nEdges += repo.FindSubClasses(m, a[i].sClassName, aIndexes).AsInt64();
    }
    if (nEdges != kClasses - 1) state.SkipWithError("wrong tree");
  }
}
BENCHMARK(BM_SubclassTreeOfEveryClass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
