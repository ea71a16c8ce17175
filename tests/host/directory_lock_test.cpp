// SPDX-License-Identifier: Apache-2.0
// The repository's lock: a link planted at the lock file's name is never
// followed, taking the lock at another path moves it there, and a lock that
// another holder keeps busy holds nothing.
#include "host/shared/directory_lock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_host.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

TEST(DirectoryLock, RefusesALinkAndTakingItAgainMovesIt) {
  test::TempDir dir;
  std::string sError;
#ifndef _WIN32  // Wine, where the Windows tests run, cannot make a link from a Windows program
  // A link to a file: the file is neither locked nor changed; a link to
  // no file: no file is created.
  const std::string sVictim = dir.Write("victim", "precious");
  fs::create_symlink(sVictim, dir.Path() / "linked.lock");
  fs::create_symlink(dir.Path() / "absent", dir.Path() / "dangling.lock");
  for (const char* sName : {"linked.lock", "dangling.lock"}) {
    DirectoryLock lock;
    sError.clear();
    EXPECT_EQ(lock.Take((dir.Path() / sName).string(), false, sError), DirectoryLock::Result::kFailed) << sName;
    EXPECT_NE(sError.find("symbolic link"), std::string::npos) << sError;
  }
  EXPECT_EQ(dir.Read("victim"), "precious");
  EXPECT_FALSE(fs::exists(dir.Path() / "absent"));
#endif

  // Taken at a, then at b: b is held, and a is free for another holder.
  const std::string sA = (dir.Path() / "a.lock").string();
  const std::string sB = (dir.Path() / "b.lock").string();
  DirectoryLock lock;
  DirectoryLock other;
  ASSERT_EQ(lock.Take(sA, false, sError), DirectoryLock::Result::kHeld) << sError;
  EXPECT_EQ(other.Take(sA, false, sError), DirectoryLock::Result::kBusy);
  EXPECT_FALSE(other.Held());
  ASSERT_EQ(lock.Take(sB, false, sError), DirectoryLock::Result::kHeld) << sError;
  EXPECT_TRUE(lock.Held());
  EXPECT_EQ(other.Take(sB, false, sError), DirectoryLock::Result::kBusy);
  EXPECT_FALSE(other.Held());
  EXPECT_EQ(other.Take(sA, false, sError), DirectoryLock::Result::kHeld) << sError;
  // Taken again at the path it holds: still held, and still exclusive.
  ASSERT_EQ(lock.Take(sB, false, sError), DirectoryLock::Result::kHeld) << sError;
  DirectoryLock third;
  EXPECT_EQ(third.Take(sB, false, sError), DirectoryLock::Result::kBusy);
  lock.Release();
  EXPECT_FALSE(lock.Held());
  EXPECT_EQ(third.Take(sB, false, sError), DirectoryLock::Result::kHeld) << sError;
}

}  // namespace
}  // namespace qv
