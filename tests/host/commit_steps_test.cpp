// SPDX-License-Identifier: Apache-2.0
// The steps by which a batch of files is replaced (CreateTemporary,
// CloseWritten, SyncAll, MoveOver, Remove) on this build's file system:
// batches larger than the number of temporaries the Windows host keeps open
// for their flush, temporaries removed or moved before any sync, and the
// failure of a sync naming its file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_host.h"

namespace qv {
namespace {

class CommitStepsTest : public test::HostFixture {
 protected:
  FileSystem& Files() { return module_->Files(); }

  // A new temporary beside sTarget holding sText, closed; its name.
  std::string Temporary(const std::string& sTarget, const std::string& sText) {
    FileHandle hFile;
    std::string sTemp;
    const IoError oCreated = Files().CreateTemporary(sTarget, hFile, sTemp);
    EXPECT_FALSE(oCreated.Failed()) << oCreated.sMessage;
    EXPECT_EQ(Files().Write(hFile, sText), static_cast<int64_t>(sText.size()));
    const IoError oClosed = Files().CloseWritten(hFile);
    EXPECT_FALSE(oClosed.Failed()) << oClosed.sMessage;
    return sTemp;
  }

  // The names in the directory sRelative below the test's directory.
  std::vector<std::string> Names(const std::string& sRelative) const {
    std::vector<std::string> aNames;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path() / sRelative)) {
      aNames.push_back(entry.path().filename().string());
    }
    return aNames;
  }
};

TEST_F(CommitStepsTest, ABatchOfManyFilesGoesInPlaceWithItsContent) {
  ASSERT_FALSE(Files().MakeDirectories(Win("one")).Failed());
  ASSERT_FALSE(Files().MakeDirectories(Win("two")).Failed());
  // More files than the Windows host keeps open for their flush, in two
  // directories, some replacing files that exist.
  constexpr int kFiles = 600;
  std::vector<std::string> aTargets, aTemps;
  for (int k = 0; k < kFiles; ++k) {
    aTargets.push_back(Win((k % 2 == 0 ? "one/" : "two/") + std::to_string(k) + ".txt"));
    if (k % 3 == 0) dir_.Write((k % 2 == 0 ? "one/" : "two/") + std::to_string(k) + ".txt", "old");
    aTemps.push_back(Temporary(aTargets.back(), "new " + std::to_string(k)));
  }
  // A temporary dropped before the sync, and one moved into place without
  // any (as a write that need not be durable does).
  ASSERT_FALSE(Files().Remove(aTemps[7]).Failed());
  ASSERT_FALSE(Files().MoveOver(aTemps[8], aTargets[8]).Failed());
  std::vector<std::string> aBatch, aMoved;
  for (int k = 9; k < kFiles; ++k) aBatch.push_back(aTemps[static_cast<size_t>(k)]);
  const IoError oSynced = Files().SyncAll(aBatch);
  ASSERT_FALSE(oSynced.Failed()) << oSynced.sMessage;
  for (int k = 9; k < kFiles; ++k) {
    const auto j = static_cast<size_t>(k);
    const IoError oMoved = Files().MoveOver(aTemps[j], aTargets[j]);
    ASSERT_FALSE(oMoved.Failed()) << oMoved.sMessage;
    aMoved.push_back(aTargets[j]);
  }
  for (int nTime = 0; nTime < 2; ++nTime) {
    const IoError oNames = Files().SyncAll(aMoved);
    EXPECT_FALSE(oNames.Failed()) << oNames.sMessage;
  }

  for (int k = 8; k < kFiles; ++k) {
    std::string sText;
    ASSERT_EQ(Files().ReadWholeFile(aTargets[static_cast<size_t>(k)], sText), 0) << k;
    EXPECT_EQ(sText, "new " + std::to_string(k));
  }
  FileHandle hNone;
  EXPECT_FALSE(Files().Open(hNone, aTargets[7], kOpenExist));
  // The temporaries not used up stay where they are, and no other.
  size_t nLeft = 0;
  for (const char* sDirectory : {"one", "two"}) {
    for (const std::string& sName : Names(sDirectory)) nLeft += sName.find(".qvnew-") != std::string::npos ? 1U : 0U;
  }
  EXPECT_EQ(nLeft, 7U);
}

TEST_F(CommitStepsTest, ASyncThatFailsNamesItsFile) {
  ASSERT_FALSE(Files().MakeDirectories(Win("dir")).Failed());
  std::vector<std::string> aPaths;
  for (int k = 0; k < 20; ++k) aPaths.push_back(Temporary(Win("dir/" + std::to_string(k) + ".txt"), "text"));
  // A directory is no failure.
  aPaths.push_back(Win("dir"));
  const IoError oSynced = Files().SyncAll(aPaths);
  EXPECT_FALSE(oSynced.Failed()) << oSynced.sMessage;

  aPaths.insert(aPaths.begin() + 10, Win("dir/missing.txt"));
  const IoError oMissing = Files().SyncAll(aPaths);
  ASSERT_TRUE(oMissing.Failed());
  EXPECT_NE(oMissing.sMessage.find("missing.txt"), std::string::npos) << oMissing.sMessage;
}

}  // namespace
}  // namespace qv
