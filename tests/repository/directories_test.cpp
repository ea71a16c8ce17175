// SPDX-License-Identifier: Apache-2.0
#include "repository/directories.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/printers.h"
#include "support/test_host.h"

namespace qv {
namespace {

using test::HostFixture;

class DirectoriesTest : public HostFixture {
 protected:
  void Touch(const std::string& sRelative) { dir_.Write(sRelative, "class X {}\n"); }
  DirectoriesVars& Cv() { return DirectoriesClassVars(*module_); }

  VC_Directories o_;
};

TEST_F(DirectoriesTest, SetRootDirectoriesAcceptsOnlyExistingRootsAndSearchesThem) {
  Touch("src/A.java");
  Touch("lib/B.java");
  Touch("lib/C.java");
  Module& m = *module_;
  o_.InitDirectories(m);

  const Number nResult = o_.SetRootDirectories(m, Win("src") + ";" + Win("missing") + ";;" + Win("lib") + ";");
  EXPECT_EQ(Cv().cv_nRootCount, Number(2));
  EXPECT_EQ(nResult, Number(3));
  EXPECT_EQ(o_.GetDirectoryCount(m), Number(3));
  EXPECT_EQ(o_.GetJavaFileCount(m), Number(3));

  EXPECT_EQ(o_.GetJavaFile(m, 0), "A.java");
  EXPECT_EQ(o_.GetDirectory(m, 0), Win("src"));
  EXPECT_EQ(o_.GetJavaFile(m, 2), "C.java");
  EXPECT_EQ(o_.GetDirectory(m, 2), Win("lib"));
  EXPECT_EQ(o_.GetJavaFile(m, 3), "");
  EXPECT_EQ(o_.GetDirectory(m, -1), "");

  // The class variables are shared: another instance reads the same lists.
  VC_Directories other;
  EXPECT_EQ(other.GetJavaFile(m, 1), "B.java");

  o_.InitDirectories(m);
  EXPECT_EQ(Cv().cv_nRootCount, Number(0));
  EXPECT_EQ(o_.GetDirectoryCount(m), Number(0));
  EXPECT_EQ(o_.GetJavaFileCount(m), Number(0));
  EXPECT_EQ(o_.SetRootDirectories(m, ""), Number(0));
  EXPECT_EQ(o_.SetRootDirectories(m, Win("missing") + ";;"), Number(0));
  EXPECT_EQ(Cv().cv_nRootCount, Number(0));
}

TEST_F(DirectoriesTest, FewerFilesThanRootsKeepsTheLaterRoots) {
  Touch("one/a/A.java");
  dir_.Write("two/readme.txt", "");
  dir_.Write("three/readme.txt", "");
  Module& m = *module_;
  o_.InitDirectories(m);
  o_.SetRootDirectories(m, Win("one") + ";" + Win("two") + ";" + Win("three"));

  EXPECT_EQ(o_.GetJavaFileCount(m), Number(1));
  EXPECT_EQ(o_.GetDirectoryCount(m), Number(3));
  EXPECT_EQ(o_.GetDirectory(m, 0), Win("one/a"));
  EXPECT_EQ(o_.GetDirectory(m, 1), Win("two"));
  EXPECT_EQ(o_.GetDirectory(m, 2), Win("three"));
}

TEST_F(DirectoriesTest, FindDirectoriesBracketsTheScanWithTheWaitCursor) {
  Touch("src/A.java");
  Module& m = *module_;
  o_.InitDirectories(m);
  Cv().cv_sDirectory.At(0) = Win("src");
  o_.FindDirectories(m);
  EXPECT_EQ(o_.GetJavaFile(m, 0), "A.java");
  EXPECT_EQ(host_->Windows().WaitCursorCalls(), (std::vector<bool>{true, true, false, false}));
  EXPECT_FALSE(host_->Windows().WaitCursorShown());
}

TEST_F(DirectoriesTest, CollectJavaFilesExpandsBreadthFirstAndGathersEveryDirectory) {
  Touch("one/O.java");
  Touch("one/a/deep/D.java");
  Touch("two/b/B1.java");
  Touch("two/b/B2.java");
  Module& m = *module_;
  o_.InitDirectories(m);
  const std::string sTwo = Win("two") + "\\";
  Cv().cv_sDirectory.At(0) = Win("one");
  Cv().cv_sDirectory.At(1) = sTwo;

  o_.CollectJavaFiles(m);
  EXPECT_EQ(Cv().cv_sDirectory.Items(),
            (std::vector<String>{Win("one"), sTwo, Win("one/a"), Win("two") + "\\\\b", Win("one/a/deep")}));
  std::vector<String> aFiles = Cv().cv_sFile.Items();
  std::sort(aFiles.begin(), aFiles.end());
  EXPECT_EQ(aFiles, (std::vector<String>{"B1.java", "B2.java", "D.java", "O.java"}));
  EXPECT_EQ(host_->Windows().WaitCursorCalls(), (std::vector<bool>{true, false}));
}

TEST_F(DirectoriesTest, CollectJavaFilesPassesOverEmptyEntries) {
  Touch("one/a/A.java");
  Touch("two/B.java");
  Module& m = *module_;
  o_.InitDirectories(m);
  Cv().cv_sDirectory.At(0) = Win("one");
  Cv().cv_sDirectory.At(2) = Win("two");

  o_.CollectJavaFiles(m);
  // An empty entry would otherwise be listed as "\*.*", the drive's root.
  EXPECT_EQ(Cv().cv_sDirectory.Items(), (std::vector<String>{Win("one"), "", Win("two"), Win("one/a")}));
  std::vector<String> aFiles = Cv().cv_sFile.Items();
  std::sort(aFiles.begin(), aFiles.end());
  EXPECT_EQ(aFiles, (std::vector<String>{"A.java", "B.java"}));
}

}  // namespace
}  // namespace qv
