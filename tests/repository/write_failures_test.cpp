// SPDX-License-Identifier: Apache-2.0
// Writers under failing file operations: the old file survives every
// failure, a failure is never reported as success, and the history copies
// only ever hold complete earlier versions.
#include <gtest/gtest.h>
#ifdef _WIN32
#include "host/os/win32/win32_api.h"
#else
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "support/fault_files.h"
#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr int kHistoryCount = 3;

// One writer under test.  Paths are relative to the test directory, which
// is the current directory (the repository's files are named relative to
// it, as the application names "jbclass.txt").
struct Scenario {
  const char* sName;
  std::string sTarget;       // the file the writer rewrites
  std::string sHistoryDir;   // where its history copies are
  std::string sHistoryBase;  // their name before ".001"
  // Fills JavaClass for the writer, sources in sSourceDir.
  std::function<void(Module&, const std::string& sSourceDir)> fnRecords;  // library form
  // Runs the writer; kWriteFailed stands for FALSE of WriteSourceFile.
  std::function<Number(Module&)> fnRun;
  Number nSuccess;  // the writer's result when it succeeds
};

void ClassRecords(Module& m, const std::string& sSourceDir) {
  DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  const char* aNames[] = {"Alpha", "Beta", "", "Gamma"};  // position 2 has no name
  for (int64_t i = 0; i < 4; ++i) {
    VC_JavaClass& r = aClasses.At(i);
    r.sClassName = aNames[i];
    r.sSuperClass = "Object";
    r.sFileName = std::string(aNames[i]) + ".java";
    r.sDirectory = sSourceDir;
    r.sMethodFile = "unchanged";
    r.sHeader = "/* new */";
  }
}

void MethodRecords(Module& m, const std::string&) {
  VC_JavaClass& r = JavaClassArray(m).At(0);
  r.sClassName = "Alpha";
  r.aMethods.At(1).sName = "run";
  r.aMethods.At(1).sBody = "{\r\r\n  go();\r\r\n}";
  r.aMethods.At(2).sName = "stop";
  r.aMethods.At(2).sComment = "/** new */";
}

// The method records of Alpha, whose method file is src/Alpha.med: the
// source directory named relative to the test directory, so that its
// history copies land below the archive directory (arch/%2E/src/Alpha.001,
// %2E marking a relative directory).
void MethodRecordsInSource(Module& m, const std::string& sSourceDir) {
  MethodRecords(m, sSourceDir);
  VC_JavaClass& r = JavaClassArray(m).At(0);
  r.sDirectory = sSourceDir.substr(sSourceDir.rfind('\\') + 1);
  r.sFileName = "Alpha.java";
}

// The batched writer for one class: its result for that class.
Number WriteMethodFilesOfAlpha(Module& m) {
  std::vector<Number> aResults;
  std::vector<String> aErrors;
  const int64_t nWritten = JavaRepositoryInstance(m).WriteMethodFiles(m, {0}, "|", aResults, aErrors);
  EXPECT_EQ(nWritten, aResults[0] == Number(kWriteFailed) ? 0 : 1);
  EXPECT_EQ(aErrors[0], RepositoryVars(m).sWriteError);
  return aResults[0];
}

void VariableRecords(Module& m, const std::string&) {
  VC_JavaClass& r = JavaClassArray(m).At(0);
  r.sClassName = "Alpha";
  for (int64_t k = 0; k < 2; ++k) {
    VC_JavaClassVariable& v = r.aVariables.At(k);
    v.sValue1 = "new" + std::to_string(k);
    v.sValue2 = "int";
    v.sValue6 = "0";
  }
}

void SourceRecord(Module& m, const std::string& sSourceDir) {
  VC_JavaClass& r = JavaClassArray(m).At(0);
  r.sClassName = "Applet1";
  r.sDirectory = sSourceDir;
  r.sFileName = "Applet1.java";
  r.sHeader = "/* new */";
  r.sPackage = "demo";
  r.sImport.At(0) = "java.awt.*";
  r.sDescription = "/** The applet. */";
  r.aMethods.At(1).sBody = "public class Applet1 {\r\r\n}";
  r.sFooter = "// end";
}

std::vector<Scenario> Scenarios() {
  return {
      {"WriteClassFile", "jbclass.txt", "arch", "jbclass", ClassRecords,
       [](Module& m) { return JavaRepositoryInstance(m).WriteClassFile(m, "jbclass.txt", "|"); }, Number(4)},
      {"WriteMethodFile", "Alpha.med", "arch", "Alpha", MethodRecords,
       [](Module& m) { return JavaRepositoryInstance(m).WriteMethodFile(m, "Alpha.med", Number(0), "|"); }, Number(3)},
      {"WriteMethodFiles", "src/Alpha.med", "arch/%2E/src", "Alpha", MethodRecordsInSource, WriteMethodFilesOfAlpha,
       Number(3)},
      {"WriteVariableFile", "Alpha.var", "arch", "Alpha", VariableRecords,
       [](Module& m) { return JavaRepositoryInstance(m).WriteVariableFile(m, "Alpha.var", Number(0), "|"); },
       Number(2)},
      {"WriteSourceFile", "src/Applet1.java", "src", "Applet1", SourceRecord,
       [](Module& m) { return JavaClassArray(m).At(0).WriteSourceFile(m) ? Number(1) : Number(kWriteFailed); },
       Number(1)},
  };
}

// The old file and its history: version 0 is the file, version k copy k.
const std::vector<std::string> kVersions = {"previous\r\n", "history one\r\n", "history two\r\n", "history three\r\n"};

class WriteFailuresTest : public test::HostFixture {
 protected:
  WriteFailuresTest() : oldCwd_(fs::current_path()) { fs::current_path(dir_.Path()); }
  ~WriteFailuresTest() override { fs::current_path(oldCwd_); }

  std::string CopyName(const Scenario& s, int k) const {
    return s.sHistoryDir + "/" + s.sHistoryBase + ".00" + std::to_string(k);
  }
  bool Exists(const std::string& sRelative) const { return fs::exists(dir_.Path() / sRelative); }

  // Empties the test directory, then lays down the old file and a full
  // history.
  void Seed(const Scenario& s) const {
    for (const auto& entry : fs::directory_iterator(dir_.Path())) fs::remove_all(entry.path());
    dir_.Write(s.sTarget, kVersions[0]);
    for (int k = 1; k <= kHistoryCount; ++k) dir_.Write(CopyName(s, k), kVersions[static_cast<size_t>(k)]);
  }
  void SetGlobals(Module& m) const {
    m.G().nSaveArchive = Number(1);
    m.G().nQtyOfArchiveFiles = Number(kHistoryCount);
    m.G().sArchiveFileDirectory = Win("arch");
    m.G().sCRLFToken = "~~";
    m.G().sElementDelimiter = "|";
  }
  // A module over the test's host whose files go through a fault-injecting
  // layer, with the globals set and the scenario's records filled.
  struct FaultyModule {
    explicit FaultyModule(Host hBase) : oFaults(*hBase.pFiles), h(WithFiles(hBase, oFaults)), m(h) { m.Attach(); }
    static Host WithFiles(Host hBase, FileSystem& oFiles) {
      hBase.pFiles = &oFiles;
      return hBase;
    }
    FaultInjectingFileSystem oFaults;
    Host h;
    Module m;
  };
  std::unique_ptr<FaultyModule> Prepare(const Scenario& s) const {
    Host h = host_->GetHost();
#ifdef _WIN32
    // uitk60.dll copies and moves the history files itself, past the fault
    // layer; the portable toolkit does both through the host's files.
    h.pRuntime = &host_->Runtime();
#endif
    auto p = std::make_unique<FaultyModule>(h);
    SetGlobals(p->m);
    s.fnRecords(p->m, Win("src"));
    return p;
  }
  std::vector<std::string> LeftoverNewFiles() const {
    std::vector<std::string> aFound;
    for (const auto& entry : fs::recursive_directory_iterator(dir_.Path())) {
      const std::string sName = entry.path().filename().string();
      if (sName.find(".qvnew") != std::string::npos || sName.find(".qvold") != std::string::npos) {
        aFound.push_back(sName);
      }
    }
    return aFound;
  }
  // Every copy that exists is a complete earlier version, and a higher
  // number never holds a newer version than a lower one.  With every copy
  // intact, copy 1 is the old file and the rest moved up by one.
  void ExpectConsistentHistory(const Scenario& s, bool bIntact) const {
    size_t nNewestAllowed = 0;
    for (int k = 1; k <= kHistoryCount; ++k) {
      if (!Exists(CopyName(s, k))) {
        EXPECT_FALSE(bIntact) << "copy " << k << " is missing";
        continue;
      }
      const std::string sCopy = dir_.Read(CopyName(s, k));
      const auto it = std::find(kVersions.begin(), kVersions.end(), sCopy);
      if (it == kVersions.end()) {
        ADD_FAILURE() << "copy " << k << " is no earlier version: \"" << sCopy << "\"";
        continue;
      }
      const auto nVersion = static_cast<size_t>(it - kVersions.begin());
      EXPECT_GE(nVersion, nNewestAllowed) << "copy " << k << " is newer than a lower copy";
      nNewestAllowed = nVersion + 1;
      if (bIntact) {
        EXPECT_EQ(nVersion, static_cast<size_t>(k - 1)) << "copy " << k;
      }
    }
    EXPECT_FALSE(Exists(CopyName(s, kHistoryCount + 1))) << "a copy beyond the count";
  }

  // What the writer produces when nothing fails.
  std::string CleanResult(const Scenario& s) {
    Seed(s);
    Module m(host_->GetHost());
    m.Attach();
    SetGlobals(m);
    s.fnRecords(m, Win("src"));
    EXPECT_EQ(s.fnRun(m), s.nSuccess);
    return dir_.Read(s.sTarget);
  }

  fs::path oldCwd_;
};

// The identity of a file on its file system (the inode, the file index on
// Windows): a file put in another's place has another one.
uint64_t FileId(const fs::path& pFile) {
#ifdef _WIN32
  HANDLE h = CreateFileW(pFile.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  BY_HANDLE_FILE_INFORMATION info{};
  EXPECT_TRUE(h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, &info)) << pFile;
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
#else
  struct stat st {};
  EXPECT_EQ(::stat(pFile.c_str(), &st), 0) << pFile;
  return st.st_ino;
#endif
}

enum class Arm { kNth, kFrom };

// Fails each operation of each group in turn (and, once, every operation of
// the group) until a run completes without the fault firing.
TEST_F(WriteFailuresTest, EveryFailingOperationLeavesTheOldFileOrTheNewOne) {
  const std::vector<std::pair<FaultOp, const char*>> aGroups = {{FaultOp::kOpenForWrite, "open for writing"},
                                                                {FaultOp::kOpenAny, "open"},
                                                                {FaultOp::kWrite, "write"},
                                                                {FaultOp::kClose, "close"},
                                                                {FaultOp::kRename, "rename"},
                                                                {FaultOp::kCopy, "copy"},
                                                                {FaultOp::kSync, "sync"},
                                                                {FaultOp::kAside, "keep aside"}};
  for (const Scenario& s : Scenarios()) {
    SCOPED_TRACE(s.sName);
    const std::string sNew = CleanResult(s);
    ASSERT_NE(sNew, kVersions[0]);
    ASSERT_NE(sNew.find("new"), std::string::npos) << sNew;

    for (const auto& [eOp, sGroup] : aGroups) {
      int nFired = 0;
      int nRenames = 0;  // renames in a run without faults; the last one puts the file in place
      for (const Arm eArm : {Arm::kNth, Arm::kFrom}) {
        for (int n = 1; n < 50; ++n) {
          if (eArm == Arm::kFrom && n > 1) break;
          SCOPED_TRACE(std::string(sGroup) + (eArm == Arm::kNth ? " fails at call " : " fails from call ") +
                       std::to_string(n));
          Seed(s);
          const auto pFaulty = Prepare(s);
          FaultInjectingFileSystem& oFaults = pFaulty->oFaults;
          Module& m = pFaulty->m;
          if (eArm == Arm::kNth) {
            oFaults.FailNth(eOp, n);
          } else {
            oFaults.FailFrom(eOp, n);
          }

          const Number nResult = s.fnRun(m);
          const bool bFired = oFaults.Count(eOp) >= n;
          const bool bReplaced = nResult != Number(kWriteFailed);
          const String& sError = RepositoryVars(m).sWriteError;

          if (bReplaced) {
            EXPECT_EQ(nResult, s.nSuccess);
            EXPECT_EQ(dir_.Read(s.sTarget), sNew);
            EXPECT_TRUE(sError.empty()) << sError;
          } else {
            // Only the sync after the moves comes too late to keep the old
            // file; it still fails the write, which may not be durable.
            const bool bLateSync = eOp == FaultOp::kSync && eArm == Arm::kNth && n == 2;
            EXPECT_EQ(dir_.Read(s.sTarget), bLateSync ? sNew : kVersions[0]);
            EXPECT_FALSE(sError.empty());
          }
          EXPECT_EQ(LeftoverNewFiles(), std::vector<std::string>{});
          EXPECT_EQ(m.WaitCursorDepth(), Number(0));
          ExpectConsistentHistory(s, !bFired);
          if (std::string(s.sName) == "WriteClassFile") {
            // Records count as saved only when they are in the file.
            const VC_JavaClass& r = JavaClassArray(m)[0];
            const bool bInFile = dir_.Read(s.sTarget) == sNew;
            EXPECT_EQ(r.bSaved, bInFile ? Number(1) : Number());
            EXPECT_EQ(r.sMethodFile == "unchanged", !bInFile) << r.sMethodFile;
          }

          if (!bFired) {
            EXPECT_TRUE(bReplaced);
            if (eOp == FaultOp::kRename) nRenames = oFaults.Count(eOp);
            break;
          }
          ++nFired;
          switch (eOp) {
            case FaultOp::kOpenForWrite:
            case FaultOp::kWrite:
            case FaultOp::kClose:
              // The new file is incomplete: it must not take the old one's place.
              EXPECT_FALSE(bReplaced);
              break;
            case FaultOp::kOpenAny:
              // Only the first open creates the new file; the later ones are the
              // history's existence tests and deletions, whose failures the
              // writer does not report.
              EXPECT_EQ(bReplaced, n > 1);
              break;
            case FaultOp::kCopy:
            case FaultOp::kAside:
              // No file is replaced without its history copy, nor without
              // the old file kept until the new one is in place.
            case FaultOp::kSync:
              // Nothing may be moved before the new content is durable.
              EXPECT_FALSE(bReplaced);
              break;
            case FaultOp::kRename:
              break;  // checked below, once the number of renames is known
          }
        }
      }
      EXPECT_GT(nFired, 0) << sGroup << " was never used";
      if (eOp == FaultOp::kRename) {
        // With a full history the oldest copy is deleted, the others move
        // up one rename each, and the final replace is one more.
        EXPECT_EQ(nRenames, (kHistoryCount - 1) + 1);
      }
    }
  }
}

// A history copy that cannot move up stops the rotation, makes no new copy
// and keeps the old file: no file is replaced without its copy.
TEST_F(WriteFailuresTest, AFailedHistoryMoveKeepsTheOldFileAndSaysWhy) {
  for (const Scenario& s : Scenarios()) {
    SCOPED_TRACE(s.sName);
    // The renames of the rotation (the last rename puts the file in place).
    for (int n = 1; n < kHistoryCount; ++n) {
      SCOPED_TRACE(n);
      Seed(s);
      const auto pFaulty = Prepare(s);
      pFaulty->oFaults.FailNth(FaultOp::kRename, n);
      EXPECT_EQ(s.fnRun(pFaulty->m), Number(kWriteFailed));
      EXPECT_EQ(dir_.Read(s.sTarget), kVersions[0]);
      EXPECT_NE(RepositoryVars(pFaulty->m).sWriteError.find("injected rename failure"), std::string::npos)
          << RepositoryVars(pFaulty->m).sWriteError;
      // Only the oldest copy, dropped first, is gone; the file itself is
      // no copy yet.
      std::vector<std::string> aCopies;
      for (int k = 1; k <= kHistoryCount; ++k) {
        if (Exists(CopyName(s, k))) aCopies.push_back(dir_.Read(CopyName(s, k)));
      }
      for (int k = 0; k < kHistoryCount; ++k) {
        EXPECT_EQ(std::find(aCopies.begin(), aCopies.end(), kVersions[static_cast<size_t>(k)]) != aCopies.end(), k > 0)
            << "version " << k;
      }
      EXPECT_EQ(LeftoverNewFiles(), std::vector<std::string>{});
    }
  }
}

#ifndef _WIN32
// Runs fn on a thread without the capabilities that let root ignore file
// permissions; FALSE when they could not be dropped.
bool RunWithFilePermissions(const std::function<void()>& fn) {
  bool bDropped = false;
  std::thread worker([&] {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct aData[2] = {};
    if (syscall(SYS_capget, &header, aData) != 0) return;
    for (const int nCap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
      aData[nCap / 32].effective &= ~(1u << (nCap % 32));
    }
    // Only this thread's credentials change.
    if (syscall(SYS_capset, &header, aData) != 0) return;
    bDropped = true;
    fn();
  });
  worker.join();
  return bDropped;
}
#endif

TEST_F(WriteFailuresTest, AMissingOrReadOnlyDirectoryFailsAndSaysWhy) {
  for (const Scenario& s : Scenarios()) {
    SCOPED_TRACE(s.sName);
    // The writer's file in a directory that does not exist.
    Seed(s);
    fs::remove_all(dir_.Path() / "src");
    Module m(host_->GetHost());
    m.Attach();
    SetGlobals(m);
    s.fnRecords(m, Win("missing"));
    Number nResult;
    if (std::string(s.sName) == "WriteSourceFile" || std::string(s.sName) == "WriteMethodFiles") {
      nResult = s.fnRun(m);
    } else {
      const std::string sFile = "missing\\" + s.sTarget;
      nResult = std::string(s.sName) == "WriteClassFile" ? JavaRepositoryInstance(m).WriteClassFile(m, sFile, "|")
                : std::string(s.sName) == "WriteMethodFile"
                    ? JavaRepositoryInstance(m).WriteMethodFile(m, sFile, Number(0), "|")
                    : JavaRepositoryInstance(m).WriteVariableFile(m, sFile, Number(0), "|");
    }
    EXPECT_EQ(nResult, Number(kWriteFailed));
    EXPECT_FALSE(RepositoryVars(m).sWriteError.empty());
    EXPECT_FALSE(Exists("missing"));
  }

#ifndef _WIN32  // Windows has no read-only directories: the attribute does not stop a file's creation
  for (const Scenario& s : Scenarios()) {
    SCOPED_TRACE(s.sName);
    Seed(s);
    const fs::path pDir = (dir_.Path() / s.sTarget).parent_path();
    fs::permissions(pDir, fs::perms::owner_read | fs::perms::owner_exec);
    Module m(host_->GetHost());
    m.Attach();
    SetGlobals(m);
    s.fnRecords(m, Win("src"));
    Number nResult;
    bool bEnforced = false;
    const bool bRan = RunWithFilePermissions([&] {
      const fs::path pProbe = pDir / "probe";
      std::error_code ec;
      bEnforced = !fs::copy_file(dir_.Path() / s.sTarget, pProbe, ec);
      if (bEnforced) nResult = s.fnRun(m);
    });
    fs::permissions(pDir, fs::perms::owner_all);
    if (!bRan || !bEnforced) GTEST_SKIP() << "directory permissions are not enforced for this user";
    EXPECT_EQ(nResult, Number(kWriteFailed));
    EXPECT_FALSE(RepositoryVars(m).sWriteError.empty());
    EXPECT_EQ(dir_.Read(s.sTarget), kVersions[0]);
    EXPECT_EQ(LeftoverNewFiles(), std::vector<std::string>{});
  }
#endif
}

// Whatever stands at the names an earlier writer used for its new file (a
// stale file, a directory, a link to another file) is left alone: the new
// file gets a fresh name of its own each time, and no link is followed.
TEST_F(WriteFailuresTest, NothingPlantedBesideTheTargetIsWrittenOrFollowed) {
  for (const Scenario& s : Scenarios()) {
    SCOPED_TRACE(s.sName);
    const std::string sNew = CleanResult(s);
    Seed(s);
    const std::string sVictim = "precious\r\n";
    dir_.Write("victim", sVictim);
    fs::create_directories(dir_.Path() / (s.sTarget + ".tmp") / "inside");
#ifdef _WIN32
    dir_.Write(s.sTarget + ".qvnew", sVictim);
#else
    fs::create_symlink(dir_.Path() / "victim", dir_.Path() / (s.sTarget + ".qvnew"));
#endif
    Module m(host_->GetHost());
    m.Attach();
    SetGlobals(m);
    s.fnRecords(m, Win("src"));
    EXPECT_EQ(s.fnRun(m), s.nSuccess) << RepositoryVars(m).sWriteError;
    EXPECT_EQ(dir_.Read(s.sTarget), sNew);
    EXPECT_EQ(dir_.Read("victim"), sVictim);
    EXPECT_EQ(dir_.Read(s.sTarget + ".qvnew"), sVictim);
    EXPECT_TRUE(fs::is_directory(dir_.Path() / (s.sTarget + ".tmp") / "inside"));
    fs::remove(dir_.Path() / (s.sTarget + ".qvnew"));
    EXPECT_EQ(LeftoverNewFiles(), std::vector<std::string>{});
  }
}

TEST_F(WriteFailuresTest, ACloseFaultStillReleasesTheHandle) {
  FaultInjectingFileSystem oFaults(host_->Files());
  FileHandle hFile;
  ASSERT_TRUE(oFaults.Open(hFile, Win("a.txt"), kOpenCreate));
  ASSERT_TRUE(oFaults.PutLine(hFile, "kept"));
  oFaults.FailNth(FaultOp::kClose, 1);
  EXPECT_FALSE(oFaults.Close(hFile));
  EXPECT_FALSE(oFaults.Close(hFile)) << "the handle was left open";
  EXPECT_EQ(oFaults.Count(FaultOp::kClose), 2);
  EXPECT_EQ(dir_.Read("a.txt"), "kept\r\n");
}

// The batch of many method files: each file is the one the one-by-one
// writer makes; a file that cannot be written keeps its old content alone;
// a failed move or durability step replaces nothing.
class BatchedMethodFilesTest : public WriteFailuresTest {
 protected:
  // Three classes K0..K2 with one method each, sources in src, named
  // relative to the test directory so that history copies of their method
  // files land in arch/%2E/src.
  void Fill(Module& m) const {
    SetGlobals(m);
    for (int64_t i = 0; i < 3; ++i) {
      VC_JavaClass& r = JavaClassArray(m).At(i);
      r.sClassName = "K" + std::to_string(i);
      r.sDirectory = "src";
      r.sFileName = r.sClassName + ".java";
      r.aMethods.At(1).sName = "m" + std::to_string(i);
      r.aMethods.At(1).sBody = "{\r\r\n  new" + std::to_string(i) + "();\r\r\n}";
    }
  }
  static std::string MethodFile(size_t i) { return "src/K" + std::to_string(i) + ".med"; }
  // Empties the test directory and lays down "old i" as every method file.
  void SeedAll() const {
    for (const auto& entry : fs::directory_iterator(dir_.Path())) fs::remove_all(entry.path());
    for (size_t i = 0; i < 3; ++i) dir_.Write(MethodFile(i), "old " + std::to_string(i));
  }
};

TEST_F(BatchedMethodFilesTest, FailOneByOneOrNotAtAll) {
  // One by one, without faults.
  SeedAll();
  std::vector<std::string> aWant;
  {
    Module m(host_->GetHost());
    m.Attach();
    Fill(m);
    for (int64_t i = 0; i < 3; ++i) {
      ASSERT_NE(JavaRepositoryInstance(m).WriteMethodFile(m, "", Number(i), "|"), Number(kWriteFailed));
      aWant.push_back(dir_.Read("src/K" + std::to_string(i) + ".med"));
    }
  }

  struct Case {
    const char* sName;
    FaultOp eOp;
    int n;
    std::vector<bool> aReplaced;
  };
  // History copies are off here, so the renames are the batch's moves.
  for (const Case& c : {Case{"none", FaultOp::kSync, 0, {true, true, true}},
                        Case{"second move", FaultOp::kRename, 2, {false, false, false}},
                        Case{"second file's write", FaultOp::kWrite, 2, {true, false, true}},
                        Case{"sync", FaultOp::kSync, 1, {false, false, false}}}) {
    SCOPED_TRACE(c.sName);
    SeedAll();
    const auto pFaulty = std::make_unique<FaultyModule>(host_->GetHost());
    Module& m = pFaulty->m;
    Fill(m);
    m.G().nSaveArchive = Number(0);
    pFaulty->oFaults.FailNth(c.eOp, c.n);
    std::vector<Number> aResults;
    std::vector<String> aErrors;
    const int64_t nWritten = JavaRepositoryInstance(m).WriteMethodFiles(m, {0, 1, 2}, "|", aResults, aErrors);
    int64_t nWant = 0;
    for (size_t i = 0; i < 3; ++i) {
      const std::string sFile = "src/K" + std::to_string(i) + ".med";
      if (c.aReplaced[i]) {
        ++nWant;
        EXPECT_EQ(aResults[i], Number(2)) << i;
        EXPECT_TRUE(aErrors[i].empty()) << aErrors[i];
        EXPECT_EQ(dir_.Read(sFile), aWant[i]) << i;
      } else {
        EXPECT_EQ(aResults[i], Number(kWriteFailed)) << i;
        EXPECT_FALSE(aErrors[i].empty()) << i;
        EXPECT_EQ(dir_.Read(sFile), "old " + std::to_string(i));
      }
    }
    EXPECT_EQ(nWritten, nWant);
    EXPECT_EQ(RepositoryVars(m).sWriteError.empty(), nWant == 3);
    EXPECT_EQ(LeftoverNewFiles(), std::vector<std::string>{});
    EXPECT_EQ(m.WaitCursorDepth(), Number(0));
  }
}

// A method file that already holds exactly its new content is neither
// rewritten nor copied to history; the others of the batch are.
TEST_F(BatchedMethodFilesTest, LeaveAFileThatKeepsItsContentAlone) {
  SeedAll();
  std::vector<std::string> aWant;
  {
    Module m(host_->GetHost());
    m.Attach();
    Fill(m);
    m.G().nSaveArchive = Number(0);
    std::vector<Number> aResults;
    std::vector<String> aErrors;
    ASSERT_EQ(JavaRepositoryInstance(m).WriteMethodFiles(m, {0, 1, 2}, "|", aResults, aErrors), 3);
    for (size_t i = 0; i < 3; ++i) aWant.push_back(dir_.Read(MethodFile(i)));
  }
  // K1 is out of date; K0 and K2 hold their new content, plus one byte that
  // K2 must lose.
  dir_.Write(MethodFile(1), "old 1");
  dir_.Write(MethodFile(2), aWant[2] + "x");
  const auto Inode = [this](size_t i) { return FileId(dir_.Path() / MethodFile(i)); };
  const uint64_t nUnchangedInode = Inode(0);
  fs::create_directories(dir_.Path() / "arch/%2E/src");

  const auto pFaulty = std::make_unique<FaultyModule>(host_->GetHost());
  Module& m = pFaulty->m;
  Fill(m);  // history copies on
  std::vector<Number> aResults;
  std::vector<String> aErrors;
  int64_t nUnchanged = -1;
  EXPECT_EQ(JavaRepositoryInstance(m).WriteMethodFiles(m, {0, 1, 2}, "|", aResults, aErrors, &nUnchanged), 3);
  EXPECT_EQ(nUnchanged, 1);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(aResults[i], Number(2)) << i;
    EXPECT_TRUE(aErrors[i].empty()) << aErrors[i];
    EXPECT_EQ(dir_.Read(MethodFile(i)), aWant[i]) << i;
  }
  EXPECT_EQ(Inode(0), nUnchangedInode) << "the unchanged file was replaced";
  EXPECT_EQ(pFaulty->oFaults.Count(FaultOp::kOpenForWrite), 2) << "only the two changed files are written";
  EXPECT_FALSE(Exists("arch/%2E/src/K0.001"));
  EXPECT_EQ(dir_.Read("arch/%2E/src/K1.001"), "old 1");
  EXPECT_EQ(dir_.Read("arch/%2E/src/K2.001"), aWant[2] + "x");
  EXPECT_TRUE(RepositoryVars(m).sWriteError.empty());
  EXPECT_EQ(LeftoverNewFiles(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qv
