// quorvane classes, show, tree and write: the repository in a directory,
// through the library, in this process.  Also the saving half of
// quorvane scan --save.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/print.h"
#include "cli/progress.h"
#include "cli/repository_options.h"
#include "cli/session.h"
#include "frame/convert.h"
#include "frame/runtime.h"
#include "frame/window_messages.h"
#include "host/posix_files.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/repository_format.h"

namespace qv::cli {
namespace {

struct Arguments {
  RepositoryOptions options;
  std::vector<std::string> aPositional;
  std::string sTo;  // write --to
};

// Parses the arguments of a repository command; nMin/nMax positional
// arguments.  Returns -1 when they are fine, else the exit status.
int ParseArguments(const char* sCommand, const std::vector<std::string_view>& aArgs, size_t nMin, size_t nMax,
                   bool bTakesTo, Arguments& out) {
  for (size_t i = 0; i < aArgs.size(); ++i) {
    const int nTaken = TakeRepositoryOption(sCommand, aArgs, i, out.options);
    if (nTaken < 0) return 2;
    if (nTaken > 0) continue;
    const std::string_view sArg = aArgs[i];
    if (bTakesTo && sArg == "--to" && i + 1 < aArgs.size()) {
      out.sTo = std::string(aArgs[++i]);
    } else if (!sArg.empty() && sArg[0] == '-') {
      std::fprintf(stderr, "quorvane %s: unknown option '%.*s' (see quorvane --help)\n", sCommand,
                   static_cast<int>(sArg.size()), sArg.data());
      return 2;
    } else {
      out.aPositional.emplace_back(sArg);
    }
  }
  if (out.aPositional.size() < nMin || out.aPositional.size() > nMax) {
    std::fprintf(stderr, "quorvane %s: wrong number of arguments (see quorvane --help)\n", sCommand);
    return 2;
  }
  return -1;
}

// Loads "jbclass.txt" of the current directory, with a progress bar fed by
// the library's progress message.  FALSE after printing an error.
bool Load(const char* sCommand, Session& session) {
  std::ifstream in(std::string(format::kClassListFile), std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "quorvane %s: no repository here: %s not found in %s\n", sCommand,
                 std::string(format::kClassListFile).c_str(), std::filesystem::current_path().c_str());
    return false;
  }
  // The bar needs the number of classes; count the lines only when there is
  // a terminal to show it on, not on every load.
  int64_t nLines = 0;
  if (isatty(STDERR_FILENO) == 1) {
    for (std::string sLine; std::getline(in, sLine);) ++nLines;
  }
  in.close();
  Progress progress("loading", nLines);
  session.Host().Windows().SetMessageHandler([&progress](const HeadlessWindows::SentMessage& sent) {
    if (sent.nMessage == kMsgRepositoryLoadProgress) progress.Update(sent.nlParam.AsInt64());
    return Number(0);
  });
  JavaRepositoryInstance(session.M()).LoadRepository(session.M());
  session.Host().Windows().SetMessageHandler(nullptr);
  return true;
}

// Takes the settings no option gave from the profile, moves into the
// repository directory and loads it.  A command that writes first makes
// sure the separators are safe.  Returns -1 when all went well, else the
// exit status.
int OpenRepository(const char* sCommand, Arguments& args, Session& session, bool bWriting) {
  ApplyProfile(session.M(), args.options);
  if (bWriting && !SeparatorsSafeForWriting(sCommand, args.options)) return 2;
  if (!EnterRepository(sCommand, args.options, session.M(), false) || !Load(sCommand, session)) return 1;
  return -1;
}

// The position of CLASS: a simple name (the first class of that name) or a
// name qualified with its package.  -1 after printing an error.
int64_t Resolve(const char* sCommand, Module& m, const std::string& sName) {
  const IndexedNames& aNames = RepositoryVars(m).cv_sClassName;
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  int64_t nAt = VC_JavaRepository().FindClass(m, sName).AsInt64();
  if (nAt < 0) {
    const size_t nDot = sName.rfind('.');
    if (nDot != std::string::npos) {
      for (const int64_t i : aNames.Positions(std::string_view(sName).substr(nDot + 1))) {
        if (aClasses[i].sPackage == std::string_view(sName).substr(0, nDot)) {
          nAt = i;
          break;
        }
      }
    }
  } else if (aNames.Positions(sName).size() > 1) {
    std::fprintf(stderr, "quorvane %s: %zu classes are named %s; using the one in package '%s' (qualify the name "
                 "with its package to choose)\n", sCommand, aNames.Positions(sName).size(), sName.c_str(),
                 aClasses[nAt].sPackage.c_str());
  }
  if (nAt < 0) std::fprintf(stderr, "quorvane %s: %s: no such class in the repository\n", sCommand, sName.c_str());
  return nAt;
}

// Reads the method file of JavaClass[nAt]; FALSE after printing a warning.
bool ReadMethods(const char* sCommand, Module& m, int64_t nAt) {
  VC_JavaClass& r = JavaClassArray(m).At(nAt);
  if (r.sMethodFile.empty()) return true;
  FileHandle hNone;
  if (!RtFileOpen(m, hNone, r.sMethodFile, kOpenExist)) {
    std::fprintf(stderr, "quorvane %s: %s: method file missing\n", sCommand, r.sMethodFile.c_str());
    return false;
  }
  JavaRepositoryInstance(m).ReadMethodFile(m, r.sMethodFile, Number(nAt), m.G().sElementDelimiter);
  return true;
}

std::string Described(const VC_JavaClass& r) {
  std::string s = r.sClassName;
  if (!r.sPackage.empty()) s += "  (" + r.sPackage + ")";
  return s;
}

}  // namespace

int SaveScannedRepository(Module& m) {
  DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  VC_JavaRepository& repo = JavaRepositoryInstance(m);
  const String& sError = RepositoryVars(m).sWriteError;
  int nFailures = 0;
  // A class that cannot be stored is left out, so that it does not cost
  // the save of all the others.
  for (int64_t i = 0; i < aClasses.Count(); ++i) {
    VC_JavaClass& r = aClasses.At(i);
    if (r.sClassName.empty()) continue;
    const String sProblem = ClassLineProblem(m, r, m.G().sElementDelimiter);
    if (sProblem.empty()) continue;
    std::fprintf(stderr, "quorvane scan: %s: class %s not saved: %s\n",
                 MapToPosixPath(r.sDirectory + "\\" + r.sFileName, "/").c_str(), r.sClassName.c_str(),
                 sProblem.c_str());
    r.bSkipSave = Number(1);
    ++nFailures;
  }
  repo.SaveRepository(m);
  if (!sError.empty()) {
    std::fprintf(stderr, "quorvane scan: %s not written: %s\n", std::string(format::kClassListFile).c_str(),
                 sError.c_str());
    return 1;
  }
  // The parser leaves the whole class body in method 1, without a name;
  // the method is named after its class so that the method file keeps it.
  std::vector<int64_t> aSaved;
  for (int64_t i = 0; i < aClasses.Count(); ++i) {
    VC_JavaClass& r = aClasses.At(i);
    if (!r.bSaved.IsTrue()) continue;
    VC_JavaMethod& body = r.aMethods.At(1);
    if (body.sName.empty() && !body.sBody.empty()) body.sName = r.sClassName;
    aSaved.push_back(i);
  }
  // All method files are written, then made durable together and put in place.
  std::vector<Number> aResults;
  std::vector<String> aErrors;
  const int64_t nWritten = repo.WriteMethodFiles(m, aSaved, m.G().sElementDelimiter, aResults, aErrors);
  for (size_t k = 0; k < aSaved.size(); ++k) {
    if (aResults[k] != Number(kWriteFailed)) continue;
    std::fprintf(stderr, "quorvane scan: %s: method file not written: %s\n",
                 aClasses.Get(aSaved[k]).sMethodFile.c_str(), aErrors[k].c_str());
    ++nFailures;
  }
  std::printf("saved: %s with %lld classes in %s\n", std::string(format::kClassListFile).c_str(),
              static_cast<long long>(nWritten), std::filesystem::current_path().c_str());
  return nFailures > 0 ? 1 : 0;
}

int RunClasses(const std::vector<std::string_view>& aArgs) {
  Arguments args;
  if (const int n = ParseArguments("classes", aArgs, 0, 0, false, args); n >= 0) return n;
  Session session(ResolveProfileDir(args.options.sProfileDir));
  Module& m = session.M();
  if (const int n = OpenRepository("classes", args, session, false); n >= 0) return n;
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  const int64_t n = RepositoryVars(m).cv_nClassCount.AsInt64();
  for (int64_t i = 0; i < n; ++i) {
    const VC_JavaClass& r = aClasses[i];
    std::printf("%s\t%s\t%s\t%s\n", r.sClassName.c_str(), r.sSuperClass.c_str(), r.sPackage.c_str(),
                MapToPosixPath(r.sDirectory + "\\" + r.sFileName, "/").c_str());
  }
  return 0;
}

int RunShow(const std::vector<std::string_view>& aArgs) {
  Arguments args;
  if (const int n = ParseArguments("show", aArgs, 1, 1, false, args); n >= 0) return n;
  Session session(ResolveProfileDir(args.options.sProfileDir));
  Module& m = session.M();
  if (const int n = OpenRepository("show", args, session, false); n >= 0) return n;
  const int64_t nAt = Resolve("show", m, args.aPositional[0]);
  if (nAt < 0) return 1;
  const bool bMethods = ReadMethods("show", m, nAt);
  const VC_JavaClass& r = JavaClassArray(m)[nAt];
  std::printf("%s\n", r.sClassName.c_str());
  PrintField("superclass", r.sSuperClass);
  PrintField("package", r.sPackage);
  PrintField("file", r.sFileName);
  PrintField("directory", r.sDirectory);
  PrintField("method file", r.sMethodFile);
  PrintField("stamp", r.dtStamp.IsNull() ? String() : RtDateTimeToStr(r.dtStamp));
  PrintField("extra", r.sExtra);
  for (const String& sImport : r.sImport.Items()) PrintField("import", sImport);
  PrintBlock("header", r.sHeader);
  PrintBlock("description", r.sDescription);
  PrintBlock("footer", r.sFooter);
  for (int64_t k = 1; !r.aMethods[k].sName.empty(); ++k) {
    const VC_JavaMethod& method = r.aMethods[k];
    std::printf("  method %lld: %s\n", static_cast<long long>(k), method.sName.c_str());
    if (!method.sComment.empty()) PrintBlock("comment", method.sComment, 4);
    PrintBlock("body", method.sBody, 4);
  }
  return bMethods ? 0 : 1;
}

int RunTree(const std::vector<std::string_view>& aArgs) {
  Arguments args;
  if (const int n = ParseArguments("tree", aArgs, 0, 1, false, args); n >= 0) return n;
  Session session(ResolveProfileDir(args.options.sProfileDir));
  Module& m = session.M();
  if (const int n = OpenRepository("tree", args, session, false); n >= 0) return n;
  VC_JavaRepository& repo = JavaRepositoryInstance(m);
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  const int64_t nClasses = RepositoryVars(m).cv_nClassCount.AsInt64();

  // The tops: the named class, or every superclass name that is not itself
  // a class of the repository, in the order of first appearance.
  std::vector<std::string> aTops;
  if (!args.aPositional.empty()) {
    if (Resolve("tree", m, args.aPositional[0]) < 0) return 1;
    aTops.push_back(args.aPositional[0].substr(args.aPositional[0].rfind('.') + 1));
  } else {
    for (int64_t i = 0; i < nClasses; ++i) {
      const String& sSuper = aClasses[i].sSuperClass;
      if (repo.FindClass(m, sSuper).AsInt64() >= 0) continue;
      if (std::find(aTops.begin(), aTops.end(), sSuper) == aTops.end()) aTops.push_back(sSuper);
    }
  }
  // Depth first, without recursion; a class already on the path (a cycle
  // of superclasses) is not entered again.
  std::vector<char> aOnPath(static_cast<size_t>(nClasses), 0);
  std::vector<char> aPrinted(static_cast<size_t>(nClasses), 0);
  DynArray<Number> aSubs;
  struct Frame {
    int64_t nClass;
    int nDepth;
    bool bLeaving;
  };
  std::vector<Frame> aStack;
  auto PushSubclasses = [&](const std::string& sName, int nDepth) {
    aSubs.Clear();
    const int64_t nFound = repo.FindSubClasses(m, sName, aSubs).AsInt64();
    for (int64_t k = nFound - 1; k >= 0; --k) aStack.push_back({aSubs[k].AsInt64(), nDepth, false});
  };
  auto Walk = [&]() {
    while (!aStack.empty()) {
      const Frame f = aStack.back();
      aStack.pop_back();
      const auto nAt = static_cast<size_t>(f.nClass);
      if (f.bLeaving) {
        aOnPath[nAt] = 0;
        continue;
      }
      const VC_JavaClass& r = aClasses[f.nClass];
      if (aOnPath[nAt] != 0) {
        std::printf("%*s%s  [cycle]\n", 2 * f.nDepth, "", Described(r).c_str());
        continue;
      }
      std::printf("%*s%s\n", 2 * f.nDepth, "", Described(r).c_str());
      aPrinted[nAt] = 1;
      aOnPath[nAt] = 1;
      aStack.push_back({f.nClass, f.nDepth, true});
      PushSubclasses(r.sClassName, f.nDepth + 1);
    }
  };
  for (const std::string& sTop : aTops) {
    std::printf("%s\n", sTop.c_str());
    PushSubclasses(sTop, 1);
    Walk();
  }
  // Classes whose superclasses form a cycle hang below no top.
  for (int64_t i = 0; args.aPositional.empty() && i < nClasses; ++i) {
    if (aPrinted[static_cast<size_t>(i)] != 0) continue;
    std::printf("%s  [superclass cycle]\n", Described(aClasses[i]).c_str());
    aPrinted[static_cast<size_t>(i)] = 1;
    aOnPath[static_cast<size_t>(i)] = 1;
    PushSubclasses(aClasses[i].sClassName, 1);
    Walk();
    aOnPath[static_cast<size_t>(i)] = 0;
  }
  return 0;
}

int RunWrite(const std::vector<std::string_view>& aArgs) {
  Arguments args;
  if (const int n = ParseArguments("write", aArgs, 1, 1, true, args); n >= 0) return n;
  std::error_code ec;
  const std::string sTo = args.sTo.empty() ? std::string() : std::filesystem::absolute(args.sTo, ec).string();
  Session session(ResolveProfileDir(args.options.sProfileDir));
  Module& m = session.M();
  if (const int n = OpenRepository("write", args, session, true); n >= 0) return n;
  const int64_t nAt = Resolve("write", m, args.aPositional[0]);
  if (nAt < 0 || !ReadMethods("write", m, nAt)) return 1;
  VC_JavaClass& r = JavaClassArray(m).At(nAt);
  if (!sTo.empty()) {
    std::filesystem::create_directories(sTo, ec);
    r.sDirectory = sTo;
  }
  const std::string sPath = MapToPosixPath(r.sDirectory + "\\" + r.sFileName, "/");
  if (!r.WriteSourceFile(m)) {
    std::fprintf(stderr, "quorvane write: %s: not written: %s\n", sPath.c_str(),
                 RepositoryVars(m).sWriteError.c_str());
    return 1;
  }
  std::printf("wrote %s\n", sPath.c_str());
  return 0;
}

}  // namespace qv::cli
