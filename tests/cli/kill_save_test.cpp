// quorvane scan --save killed with SIGKILL at many moments over a few
// thousand generated files: afterwards the class list file is the complete
// old one or the complete new one, and every method file is whole, old or new.
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
#include <thread>
#include <vector>

#include "support/test_host.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 2000;
constexpr int kKills = 24;

// Starts "quorvane scan --save" over sTree into sRepo, output discarded.
pid_t StartSave(const std::string& sTree, const std::string& sRepo, const std::string& sProfile) {
  std::vector<std::string> aArgs = {QV_CLI, "scan", "--save", "--repo", sRepo, sTree, "--profile-dir", sProfile};
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

int Wait(pid_t pid) {
  int nStatus = 0;
  while (waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
  }
  return nStatus;
}

// Every method file below sTree and its content.
std::map<std::string, std::string> MethodFiles(const qv::test::TempDir& tmp) {
  std::map<std::string, std::string> m;
  for (const auto& e : fs::recursive_directory_iterator(tmp.Path() / "tree")) {
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
    const pid_t pid = StartSave(sTree, sRepo, sProfile);
    ASSERT_GT(pid, 0);
    // Half the moments in the save's first tenth, where the class list file
    // is written, the rest spread over the method files and past the end.
    const int64_t nAt = k < kKills / 2 ? nFull * (k + 1) / (kKills / 2) / 10
                                       : nFull / 10 + nFull * (k - kKills / 2 + 1) / (kKills / 2);
    std::this_thread::sleep_for(std::chrono::microseconds(nAt));
    kill(pid, SIGKILL);
    Wait(pid);

    const std::string sList = tmp.Read("repo/jbclass.txt");
    EXPECT_TRUE(sList == sOld || sList == sNew)
        << "kill " << k << ": class list file of " << sList.size() << " bytes is neither the old nor the new one";
    (sList == sOld ? nOldSeen : nNewSeen)++;
    for (const auto& [sPath, sText] : MethodFiles(tmp)) {
      const auto itOld = mOld.find(sPath), itNew = mNew.find(sPath);
      ASSERT_TRUE(itOld != mOld.end() && itNew != mNew.end()) << sPath;
      EXPECT_TRUE(sText == itOld->second || sText == itNew->second) << "kill " << k << ": " << sPath << " is torn";
    }
  }
  // The kills fell both before and after the class list file was replaced.
  EXPECT_GT(nOldSeen, 0);
  EXPECT_GT(nNewSeen, 0);
}

}  // namespace
