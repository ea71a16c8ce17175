// quorvane parse and quorvane scan: Java sources through the library, in
// this process.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "cli/commands.h"
#include "cli/json.h"
#include "cli/print.h"
#include "cli/progress.h"
#include "cli/repository_options.h"
#include "cli/session.h"
#include "frame/rt_string.h"
#include "host/posix_files.h"
#include "repository/directories.h"
#include "repository/java_records.h"
#include "repository/source_batch.h"
#include "source/java_parser.h"

namespace qv::cli {
namespace {

// Why a file was not parsed.
std::string Unparsable(SourceState eState, int nErrno) {
  if (eState == SourceState::kUnreadable) return std::string("cannot read: ") + std::strerror(nErrno);
  if (eState == SourceState::kEmpty) return "empty file";
  return "binary file, not parsed";
}

// Whether the one-line declaration at the start of a parsed body declares an
// interface (the word "interface" and no word "class").
// A field of a --list line: line breaks and tabs become blanks, so that
// every class stays on one line of tab-separated fields.
std::string ListField(std::string_view s) {
  std::string sOut(s);
  for (char& c : sOut) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  return sOut;
}

bool DeclaresInterface(std::string_view sBody) {
  const size_t nBrace = sBody.find('{');
  DynArray<String> aWords;
  const int64_t nWords = RtStrTokenize(RtStrTrimView(sBody.substr(0, nBrace)), "", " ", aWords);
  bool bInterface = false;
  for (int64_t i = 0; i < nWords; ++i) {
    if (aWords.Get(i) == "class") return false;
    if (aWords.Get(i) == "interface") bInterface = true;
  }
  return bInterface;
}

struct Parsed {
  String sClassName, sSuperClass, sPackage, sHeader, sDescription, sFooter, sBody;
  DynArray<String> aImport;
  bool bRead = false;
};

Parsed ParseOne(Module& m, const std::string& sPath) {
  Parsed p;
  DynArray<String> a1, a2, a3, a4, a5, a6;
  p.bRead = ParseJavaSource(m, sPath, p.sClassName, p.sSuperClass, p.sPackage, p.sHeader, p.sDescription,
                            p.sFooter, p.sBody, p.aImport, a1, a2, a3, a4, a5, a6)
                .IsTrue();
  return p;
}

void PrintJson(const std::string& sPath, const Parsed& p) {
  std::string s = "{\"file\":" + JsonString(sPath) + ",\"read\":" + (p.bRead ? "true" : "false");
  s += ",\"className\":" + JsonString(p.sClassName);
  s += ",\"superClass\":" + JsonString(p.sSuperClass);
  s += ",\"package\":" + JsonString(p.sPackage);
  s += ",\"imports\":[";
  for (int64_t i = 0; i < p.aImport.Count(); ++i) s += (i > 0 ? "," : "") + JsonString(p.aImport.Get(i));
  s += "],\"header\":" + JsonString(p.sHeader);
  s += ",\"description\":" + JsonString(p.sDescription);
  s += ",\"body\":" + JsonString(p.sBody);
  s += ",\"footer\":" + JsonString(p.sFooter);
  s += "}\n";
  std::fwrite(s.data(), 1, s.size(), stdout);
}

}  // namespace

int RunParse(const std::vector<std::string_view>& aArgs) {
  bool bJson = false;
  std::vector<std::string> aFiles;
  for (const std::string_view sArg : aArgs) {
    if (sArg == "--json") {
      bJson = true;
    } else if (!sArg.empty() && sArg[0] == '-') {
      std::fprintf(stderr, "quorvane parse: unknown option '%.*s'\n", static_cast<int>(sArg.size()), sArg.data());
      return 2;
    } else {
      aFiles.emplace_back(sArg);
    }
  }
  if (aFiles.empty()) {
    std::fputs("quorvane parse: no FILE given (see quorvane --help)\n", stderr);
    return 2;
  }
  Session session;
  int nStatus = 0;
  for (const std::string& sPath : aFiles) {
    const Parsed p = ParseOne(session.M(), sPath);
    if (!p.bRead) {
      std::fprintf(stderr, "quorvane parse: %s: cannot read\n", sPath.c_str());
      nStatus = 1;
    } else if (p.sClassName.empty()) {
      std::fprintf(stderr, "quorvane parse: %s: no class or interface found\n", sPath.c_str());
      nStatus = 1;
    }
    if (bJson) {
      PrintJson(sPath, p);
      continue;
    }
    if (!p.bRead) continue;
    std::printf("%s\n", sPath.c_str());
    PrintField("class", p.sClassName);
    PrintField("superclass", p.sSuperClass);
    PrintField("package", p.sPackage);
    for (int64_t i = 0; i < p.aImport.Count(); ++i) PrintField("import", p.aImport.Get(i));
    PrintBlock("header", p.sHeader);
    PrintBlock("description", p.sDescription);
    PrintBlock("body", p.sBody);
    PrintBlock("footer", p.sFooter);
  }
  return nStatus;
}

namespace {

// A root as the library gets it: absolute, so that the records' directories
// stay right after the command has moved into the repository directory.
std::string AbsoluteRoot(std::string_view sRoot) {
  const bool bAbsolute = (!sRoot.empty() && (sRoot[0] == '/' || sRoot[0] == '\\')) ||
                         (sRoot.size() >= 2 && sRoot[1] == ':');
  if (bAbsolute) return std::string(sRoot);
  std::error_code ec;
  return std::filesystem::absolute(std::string(sRoot), ec).lexically_normal().string();
}

}  // namespace

int RunScan(const std::vector<std::string_view>& aArgs) {
  bool bList = false;
  bool bSave = false;
  RepositoryOptions options;
  std::string sRoots;
  for (size_t i = 0; i < aArgs.size(); ++i) {
    const std::string_view sArg = aArgs[i];
    const int nTaken = TakeRepositoryOption("scan", aArgs, i, options);
    if (nTaken < 0) return 2;
    if (nTaken > 0) continue;
    if (sArg == "--list") {
      bList = true;
    } else if (sArg == "--save") {
      bSave = true;
    } else if (!sArg.empty() && sArg[0] == '-') {
      std::fprintf(stderr, "quorvane scan: unknown option '%.*s'\n", static_cast<int>(sArg.size()), sArg.data());
      return 2;
    } else {
      DynArray<String> aPieces;
      const int64_t nPieces = RtStrTokenize(sArg, "", ";", aPieces);
      for (int64_t k = 0; k < nPieces; ++k) {
        if (!sRoots.empty()) sRoots += ';';
        sRoots += bSave ? AbsoluteRoot(aPieces.Get(k)) : aPieces.Get(k);
      }
    }
  }
  if (sRoots.empty()) {
    std::fputs("quorvane scan: no ROOT given (see quorvane --help)\n", stderr);
    return 2;
  }

  const auto start = std::chrono::steady_clock::now();
  Session session(ResolveProfileDir(options.sProfileDir));
  Module& m = session.M();
  if (bSave) {
    ApplyProfile(m, options);
    if (!SeparatorsSafeForWriting("scan", options)) return 2;
  }
  int nFailures = 0;
  std::set<std::string> aUnlistable;
  session.Host().Files().SetListingErrorHandler([&](const std::string& sDir, int nErrno) {
    if (aUnlistable.insert(sDir).second) {
      std::fprintf(stderr, "quorvane scan: %s: cannot list: %s\n", sDir.c_str(), std::strerror(nErrno));
      ++nFailures;
    }
  });

  // The roots that do not exist are skipped by the search: say so.
  DynArray<String> aRoots;
  const int64_t nRoots = RtStrTokenize(sRoots, "", ";", aRoots);
  for (int64_t i = 0; i < nRoots; ++i) {
    if (!session.Host().Files().DirExists(aRoots.Get(i))) {
      std::fprintf(stderr, "quorvane scan: %s: no such directory\n", aRoots.Get(i).c_str());
      ++nFailures;
    }
  }

  VC_Directories& dirs = DirectoriesInstance(m);
  dirs.InitDirectories(m);
  dirs.SetRootDirectories(m, sRoots);
  const int64_t nFiles = dirs.GetJavaFileCount(m).AsInt64();

  JavaFileInstance(m).ClearJavaFiles(m);
  DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  int64_t nClasses = 0;
  int64_t nInterfaces = 0;
  std::set<std::string> aPackages;
  Progress progress("scanning", nFiles);
  std::vector<JavaSourceName> aSources(static_cast<size_t>(nFiles));
  for (int64_t i = 0; i < nFiles; ++i) {
    aSources[static_cast<size_t>(i)] = {dirs.GetJavaFile(m, Number(i)), dirs.GetDirectory(m, Number(i))};
  }
  // Files are read and parsed by two worker threads; records, their order
  // and the library's messages are those of SetJavaFile then
  // ParseSourceFile, file after file.
  ReadJavaSources(m, aSources, 2, [&](int64_t i, SourceState eState, int nErrno) {
    const JavaSourceName& source = aSources[static_cast<size_t>(i)];
    const std::string sPath = MapToPosixPath(source.sDirectory + "\\" + source.sFileName, "/");
    if (eState != SourceState::kParsed) {
      progress.Clear();
      std::fprintf(stderr, "quorvane scan: %s: %s\n", sPath.c_str(), Unparsable(eState, nErrno).c_str());
      ++nFailures;
      return;
    }
    const VC_JavaClass& record = aClasses.Get(i);
    if (record.sClassName.empty()) {
      progress.Clear();
      std::fprintf(stderr, "quorvane scan: %s: no class or interface found\n", sPath.c_str());
      ++nFailures;
    } else if (DeclaresInterface(record.aMethods.Get(1).sBody)) {
      ++nInterfaces;
    } else {
      ++nClasses;
    }
    if (!record.sPackage.empty()) aPackages.insert(record.sPackage);
    progress.Update(i + 1);
  });
  progress.Finish();

  if (bList) {
    for (int64_t i = 0; i < nFiles; ++i) {
      const VC_JavaClass& r = aClasses.Get(i);
      std::printf("%s\t%s\t%s\t%s\t%s\n", ListField(r.sFileName).c_str(),
                  ListField(MapToPosixPath(r.sDirectory, "/")).c_str(), ListField(r.sClassName).c_str(),
                  ListField(r.sSuperClass).c_str(), ListField(r.sPackage).c_str());
    }
  }
  const double nSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("files: %lld\nclasses: %lld\ninterfaces: %lld\npackages: %zu\nfailed: %d\ntime: %.3f s\n",
              static_cast<long long>(nFiles), static_cast<long long>(nClasses),
              static_cast<long long>(nInterfaces), aPackages.size(), nFailures, nSeconds);
  if (bSave) {
    if (!EnterRepository("scan", options, m, true)) return 1;
    if (SaveScannedRepository(m) != 0) ++nFailures;
  }
  return nFailures > 0 ? 1 : 0;
}

}  // namespace qv::cli
