// SPDX-License-Identifier: Apache-2.0
// quorvane scan --save killed with SIGKILL at many moments over a few
// thousand generated files: once a reader has repaired what the kill left,
// the class list file is the complete old one with the old method files, or
// the complete new one with the new method files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "host/os/posix/posix_host.h"
#include "repository/repository_session.h"
#include "support/test_host.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 2000;
constexpr int kKills = 24;

// Starts the command with aWords, output discarded.
pid_t StartCommand(std::vector<std::string> aWords) {
  std::vector<std::string> aArgs = {QV_CLI};
  aArgs.insert(aArgs.end(), aWords.begin(), aWords.end());
  std::vector<char*> aArgv;
  for (std::string& s : aArgs) aArgv.push_back(s.data());
  aArgv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int nError = posix_spawn(&pid, QV_CLI, &actions, nullptr, aArgv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return nError == 0 ? pid : -1;
}

// Starts "quorvane scan --save" over sTree into sRepo.
pid_t StartSave(const std::string& sTree, const std::string& sRepo, const std::string& sProfile) {
  return StartCommand({"scan", "--save", "--repo", sRepo, sTree, "--profile-dir", sProfile});
}

int Wait(pid_t pid) {
  int nStatus = 0;
  while (waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
  }
  return nStatus;
}

// Every method file of the save (below the repository's methods folder)
// and its content.
std::map<std::string, std::string> MethodFiles(const qv::test::TempDir& tmp) {
  std::map<std::string, std::string> m;
  for (const auto& e : fs::recursive_directory_iterator(tmp.Path() / "repo/methods")) {
    if (e.path().extension() == ".med") {
      m[e.path().string()] = tmp.Read(fs::relative(e.path(), tmp.Path()).string());
    }
  }
  return m;
}

void WriteSources(const qv::test::TempDir& tmp, const std::string& sVersion) {
  for (int f = 0; f < kFiles; ++f) {
    const std::string sName = "K" + std::to_string(f);
    tmp.Write("tree/p" + std::to_string(f % 20) + "/" + sName + ".java",
              "/* " + sName + " " + sVersion + " */\npackage p" + std::to_string(f % 20) + ";\nimport java.util." +
                  sVersion + ";\n/** doc " + sVersion + " */\npublic class " + sName + " extends B" + sVersion +
                  " {\n  int x; // " + std::string(static_cast<size_t>(f % 50), 'x') + "\n}\n");
  }
}

// Places the test's temporary directory in memory when the machine has one:
// a kill tests the process's death, not the disk's, and the saves' syncs
// would otherwise take most of the time.
struct MemoryTempDir {
  MemoryTempDir() {
    const char* pOld = getenv("TMPDIR");
    if (pOld != nullptr) sOld = pOld;
    bHadOld = pOld != nullptr;
    if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
  }
  ~MemoryTempDir() {
    if (bHadOld) {
      setenv("TMPDIR", sOld.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }
  std::string sOld;
  bool bHadOld = false;
};

TEST(KillDuringSave, LeavesTheOldOrTheNewRepositoryWhole) {
  std::unique_ptr<qv::test::TempDir> pTmp;
  {
    MemoryTempDir inMemory;
    pTmp = std::make_unique<qv::test::TempDir>();
  }
  const qv::test::TempDir& tmp = *pTmp;
  const std::string sTree = tmp.Str() + "/tree", sRepo = tmp.Str() + "/repo", sProfile = tmp.Str() + "/profile";
  WriteSources(tmp, "Old");
  ASSERT_EQ(WEXITSTATUS(Wait(StartSave(sTree, sRepo, sProfile))), 0);
  const std::string sOld = tmp.Read("repo/jbclass.txt");
  const auto mOld = MethodFiles(tmp);
  ASSERT_EQ(mOld.size(), static_cast<size_t>(kFiles));

  WriteSources(tmp, "New");
  const auto tStart = Clock::now();
  ASSERT_EQ(WEXITSTATUS(Wait(StartSave(sTree, sRepo, sProfile))), 0);
  const auto nFull = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - tStart).count();
  const std::string sNew = tmp.Read("repo/jbclass.txt");
  const auto mNew = MethodFiles(tmp);
  ASSERT_NE(sOld, sNew);
  std::printf("a full save of %d files takes %.3f s\n", kFiles, static_cast<double>(nFull) / 1e6);

  int nOldSeen = 0, nNewSeen = 0;
  for (int k = 0; k < kKills; ++k) {
    // Start from the old repository each time; the method files stay as the
    // last run left them, old or new.
    tmp.Write("repo/jbclass.txt", sOld);
    const auto mBefore = MethodFiles(tmp);
    const pid_t pid = StartSave(sTree, sRepo, sProfile);
    ASSERT_GT(pid, 0);
    // Half the moments in the save's first tenth, where the class list file
    // is written, the rest spread over the method files and past the end.
    const int64_t nAt = k < kKills / 2 ? nFull * (k + 1) / (kKills / 2) / 10
                                       : nFull / 10 + nFull * (k - kKills / 2 + 1) / (kKills / 2);
    std::this_thread::sleep_for(std::chrono::microseconds(nAt));
    kill(pid, SIGKILL);
    Wait(pid);

    // A reader repairs what the killed save left half done: then the class
    // list and every method file are of one save.
    ASSERT_EQ(WEXITSTATUS(Wait(StartCommand({"classes", "--repo", sRepo, "--profile-dir", sProfile}))), 0);
    const std::string sList = tmp.Read("repo/jbclass.txt");
    EXPECT_TRUE(sList == sOld || sList == sNew)
        << "kill " << k << ": class list file of " << sList.size() << " bytes is neither the old nor the new one";
    (sList == sOld ? nOldSeen : nNewSeen)++;
    // The kill came before the class list moved, and what had moved was
    // put back; or after it, and every method file is the new one.
    EXPECT_EQ(MethodFiles(tmp), sList == sOld ? mBefore : mNew) << "kill " << k << ": method files of another save";
  }
  // The kills fell both before and after the class list file was replaced.
  EXPECT_GT(nOldSeen, 0);
  EXPECT_GT(nNewSeen, 0);
}

// The process dies at each move of a save in turn (a child that exits at
// the nth move), and once just after the last: the next writer puts every
// old file back unless the class list had moved, and the repository is
// then the old save or the new one, whole.
TEST(KillDuringSave, AtEachMoveTheNextWriterRestoresOneWholeSave) {
  // Dies at the nth move, or at the nth sync.
  class DyingFiles : public qv::FileSystemWrapper {
   public:
    DyingFiles(qv::FileSystem& oBase, int nMoves, int nSyncs)
        : FileSystemWrapper(oBase), nMoves_(nMoves), nSyncs_(nSyncs) {}
    qv::IoError MoveOver(std::string_view sSource, std::string_view sTarget) override {
      if (--nMoves_ == 0) _exit(3);
      return Base().MoveOver(sSource, sTarget);
    }
    qv::IoError SyncAll(const std::vector<std::string>& aPaths) override {
      if (--nSyncs_ == 0) _exit(3);
      return Base().SyncAll(aPaths);
    }

   private:
    int nMoves_, nSyncs_;
  };
  qv::test::TempDir tmp;
  const auto Sources = [&tmp](const std::string& v) {
    for (const std::string sName : {"A", "B", "C"}) {
      tmp.Write("src/" + sName + ".java",
                "package p;\nimport " + v + ";\npublic class " + sName + " {\n  int " + v + ";\n}\n");
    }
  };
  using Files = std::map<std::string, std::string>;
  const auto Repository = [&tmp] {
    Files m;
    for (const std::string sName : {"jbclass.txt", "src/A.med", "src/B.med", "src/C.med"}) m[sName] = tmp.Read(sName);
    return m;
  };
  qv::HostSettings options;
  options.sProfileDir = tmp.Str();
  qv::PosixHost host(options);
  host.Files().SetWorkingDirectory(tmp.Str());
  // A save of the sources as they are, through the given file system.
  const auto Save = [&host, &tmp](qv::FileSystem& files) {
    qv::Host h = host.GetHost();
    h.pFiles = &files;
    qv::Module m(h);
    m.Attach();
    m.G().sElementDelimiter = "|";
    m.G().sCRLFToken = "~";
    qv::RepositorySession(m).Scan({tmp.Str() + "/src"});
    return qv::RepositorySession(m).Save().Ok();
  };
  Sources("Old");
  ASSERT_TRUE(Save(host.Files()));
  const Files aOld = Repository();
  Sources("New");
  ASSERT_TRUE(Save(host.Files()));
  const Files aNew = Repository();
  ASSERT_NE(aOld, aNew);
  // The moves: the journal's, three method files', the class list's (the
  // fifth); the syncs: new files, journal (twice), moves (the fourth).
  for (const auto& [nMove, nSync] : {std::pair{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {0, 4}}) {
    SCOPED_TRACE(std::to_string(nMove) + " " + std::to_string(nSync));
    for (const auto& [sName, sText] : aOld) tmp.Write(sName, sText);
    for (const auto& e : fs::directory_iterator(tmp.Path() / "src")) {
      if (e.path().filename().string().find(".qv") != std::string::npos) fs::remove(e.path());
    }
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      DyingFiles dying(host.Files(), nMove, nSync);
      Save(dying);
      _exit(0);
    }
    ASSERT_EQ(WEXITSTATUS(Wait(pid)), 3);
    // The next writer's first job.
    qv::Module m(host.GetHost());
    m.Attach();
    const bool bJournaled = nMove != 1;
    EXPECT_EQ(qv::RepositorySession(m).SaveInterrupted(), bJournaled);
    EXPECT_TRUE(qv::RepositorySession(m).RecoverInterruptedSave().bOk);
    EXPECT_FALSE(qv::RepositorySession(m).SaveInterrupted());
    EXPECT_EQ(Repository(), nSync == 4 ? aNew : aOld);
    if (!bJournaled) continue;  // the hidden new files of a save killed before its journal stay
    for (const auto& e : fs::directory_iterator(tmp.Path() / "src")) {
      EXPECT_EQ(e.path().filename().string().find(".qv"), std::string::npos) << e.path();
    }
  }
}

}  // namespace
