// SPDX-License-Identifier: Apache-2.0
// Throughput of the Java source parser on an ordinary ~1 MB source file and
// on a hostile one whose block comments hold ten thousand occurrences of
// "class" and of "import " far from the next "/*".  Both should parse at the
// same order of speed.
//
// With QV_BENCH_JAVA_ROOT set to a tree of Java sources (such as the JDK's),
// BM_CutTree also cuts every *.java file below it, read into memory once
// before: the bytes per second of the cut alone (lexing, outline, parts), on
// one thread, as a scan's worker does it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/module.h"
#include "host/os/posix/posix_host.h"
#include "source/java_parser.h"

namespace {

constexpr size_t kTargetSize = 1 << 20;

// Methods with documentation comments, line comments and block comments,
// until the text reaches nSize.
void AppendMethods(std::string& s, size_t nSize) {
  for (int i = 0; s.size() < nSize; ++i) {
    const std::string n = std::to_string(i);
    s += "  /**\r\n   * Computes value " + n + ".\r\n   * @param nIn the input\r\n   */\r\n";
    s += "  public int compute" + n + "(int nIn) {\r\n";
    s += "    // add the offset\r\n";
    s += "    int nOut = nIn + " + n + "; /* never negative */\r\n";
    s += "    if (nOut < 0) { nOut = 0; }\r\n";
    s += "    return nOut;\r\n  }\r\n\r\n";
  }
}

std::string OrdinaryFile() {
  std::string s = "/*\r\n * Ordinary.java\r\n */\r\npackage com.example.ordinary;\r\n\r\n";
  for (int i = 0; i < 50; ++i) s += "import com.example.lib" + std::to_string(i) + ".Thing;\r\n";
  s += "\r\n/** An ordinary class. */\r\npublic class Ordinary extends com.example.Base {\r\n";
  AppendMethods(s, kTargetSize);
  s += "}\r\n// end\r\n";
  return s;
}

std::string HostileFile() {
  std::string s = "/* head */\r\npackage com.example.hostile;\r\n/*\r\n";
  for (int i = 0; i < 10000; ++i) s += " * class C" + std::to_string(i) + " import x.Y; see the subclass\r\n";
  s += " */\r\nimport java.util.List;\r\n/** A hostile class. */\r\npublic class Hostile extends Base {\r\n";
  AppendMethods(s, kTargetSize);
  s += "}\r\n";
  return s;
}

class ParserFiles {
 public:
  ParserFiles()
      : dir_(std::filesystem::temp_directory_path() / ("quorvane-bench-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(dir_);
    sOrdinary_ = Write("Ordinary.java", OrdinaryFile());
    sHostile_ = Write("Hostile.java", HostileFile());
  }
  ~ParserFiles() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  ParserFiles(const ParserFiles&) = delete;
  ParserFiles& operator=(const ParserFiles&) = delete;

  const std::string& Ordinary() const { return sOrdinary_; }
  const std::string& Hostile() const { return sHostile_; }

 private:
  std::string Write(const std::string& sName, const std::string& sContent) {
    const auto p = dir_ / sName;
    std::ofstream(p, std::ios::binary) << sContent;
    return p.string();
  }

  std::filesystem::path dir_;
  std::string sOrdinary_, sHostile_;
};

void ParseFile(benchmark::State& state, const std::string& sPath, const char* sExpectedClass) {
  qv::PosixHost oHost;
  qv::Module m(oHost.GetHost());
  m.Attach();
  const auto nBytes = static_cast<int64_t>(std::filesystem::file_size(sPath));
  for (auto _ : state) {
    qv::String sClass, sSuper, sPackage, sHeader, sDescription, sFooter, sBody;
    qv::DynArray<qv::String> aImport, a1, a2, a3, a4, a5, a6;
    const qv::Number n = qv::ParseJavaSource(m, sPath, sClass, sSuper, sPackage, sHeader, sDescription, sFooter, sBody,
                                             aImport, a1, a2, a3, a4, a5, a6);
    benchmark::DoNotOptimize(n);
    benchmark::DoNotOptimize(sBody.data());
    if (sClass != sExpectedClass) state.SkipWithError("unexpected class name");
  }
  state.SetBytesProcessed(state.iterations() * nBytes);
  state.counters["file_bytes"] = static_cast<double>(nBytes);
}

// Every *.java file below sRoot, read into memory, in name order.
std::vector<std::pair<std::string, std::string>> ReadTree(const std::string& sRoot) {
  std::vector<std::pair<std::string, std::string>> aFiles;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(sRoot)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".java") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    aFiles.emplace_back(entry.path().filename().string(),
                        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
  std::sort(aFiles.begin(), aFiles.end());
  return aFiles;
}

void CutTree(benchmark::State& state, const std::vector<std::pair<std::string, std::string>>& aFiles) {
  qv::PosixHost oHost;
  qv::Module m(oHost.GetHost());
  m.Attach();
  qv::JavaTextTools tools = qv::JavaTextTools::Bound(m);
  int64_t nBytes = 0;
  for (const auto& file : aFiles) nBytes += static_cast<int64_t>(file.second.size());
  int64_t nClasses = 0;
  for (auto _ : state) {
    nClasses = 0;
    for (const auto& [sName, sText] : aFiles) {
      qv::String sClass, sSuper, sPackage, sHeader, sDescription, sFooter, sBody;
      qv::DynArray<qv::String> aImport;
      const qv::JavaKind eKind = qv::CutJavaText(
          tools, std::string_view(sText), sName,
          {sClass, sSuper, sPackage, sHeader, sDescription, sFooter, sBody, aImport});
      benchmark::DoNotOptimize(sBody.data());
      if (eKind != qv::JavaKind::kNone) ++nClasses;
    }
  }
  state.SetBytesProcessed(state.iterations() * nBytes);
  state.counters["files"] = static_cast<double>(aFiles.size());
  state.counters["classes"] = static_cast<double>(nClasses);
}

}  // namespace

int main(int argc, char** argv) {
  // The files are written once, before any benchmark runs, and removed at the end.
  const ParserFiles oFiles;
  benchmark::RegisterBenchmark("BM_ParseOrdinary", [&oFiles](benchmark::State& state) {
    ParseFile(state, oFiles.Ordinary(), "Ordinary");
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_ParseHostile", [&oFiles](benchmark::State& state) {
    ParseFile(state, oFiles.Hostile(), "Hostile");
  })->Unit(benchmark::kMillisecond);

  std::vector<std::pair<std::string, std::string>> aTree;
  if (const char* sRoot = std::getenv("QV_BENCH_JAVA_ROOT"); sRoot != nullptr && *sRoot != '\0') {
    aTree = ReadTree(sRoot);
    benchmark::RegisterBenchmark("BM_CutTree", [&aTree](benchmark::State& state) {
      CutTree(state, aTree);
    })->Unit(benchmark::kMillisecond);
  }

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
