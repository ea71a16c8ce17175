// SPDX-License-Identifier: Apache-2.0
// The existence test's search for a bare file name: the current directory
// first, then the directory the file system is given (the profile
// directory in the host assemblies).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/test_host.h"

namespace qv {
namespace {

// The file system of this build's host set, with sBareNameDir as the
// directory a bare name is also looked for in.
std::unique_ptr<FileSystem> HostFiles(const std::string& sBareNameDir) {
#ifdef _WIN32
  return std::make_unique<Win32FileSystem>(sBareNameDir);
#else
  return std::make_unique<PosixFileSystem>("/", sBareNameDir);
#endif
}

// Makes a directory the current one for the lifetime of the object.
class InDirectory {
 public:
  explicit InDirectory(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~InDirectory() { std::filesystem::current_path(old_); }
  InDirectory(const InDirectory&) = delete;
  InDirectory& operator=(const InDirectory&) = delete;

 private:
  std::filesystem::path old_;
};

TEST(BareNameFallback, OnlyTheExistenceTestOfABareNameLooksInTheFallbackDirectory) {
  test::TempDir cwd;
  test::TempDir profiles;
  profiles.Write("Quorvane.ini", "[Profile]\r\n");
  std::filesystem::create_directory(profiles.Path() / "Folder.ini");
  const InDirectory in(cwd.Path());

  const std::unique_ptr<FileSystem> pFiles = HostFiles(profiles.Str());
  FileSystem& files = *pFiles;
  FileHandle h;
  EXPECT_TRUE(files.Open(h, "Quorvane.ini", kOpenExist));
  EXPECT_TRUE(h.IsNull());
  // A name with a directory or a drive, a directory, a missing name: no search.
  EXPECT_FALSE(files.Open(h, ".\\Quorvane.ini", kOpenExist));
  EXPECT_FALSE(files.Open(h, "./Quorvane.ini", kOpenExist));
  EXPECT_FALSE(files.Open(h, "C:Quorvane.ini", kOpenExist));
  EXPECT_FALSE(files.Open(h, "Folder.ini", kOpenExist));
  EXPECT_FALSE(files.Open(h, "Other.ini", kOpenExist));
  // The other styles use the current directory only.
  EXPECT_FALSE(files.Open(h, "Quorvane.ini", kOpenRead));
  EXPECT_FALSE(files.Open(h, "Quorvane.ini", kOpenDelete));
  EXPECT_TRUE(std::filesystem::exists(profiles.Path() / "Quorvane.ini"));
  // Without a fallback directory nothing is searched.
  EXPECT_FALSE(HostFiles("")->Open(h, "Quorvane.ini", kOpenExist));

  // The current directory comes first, and still counts without the fallback.
  cwd.Write("Here.ini", "");
  EXPECT_TRUE(files.Open(h, "Here.ini", kOpenExist));

  // The host gives its file system the profile directory.
  HostSettings options;
  options.sProfileDir = profiles.Str();
  test::PlatformHost host(options);
  EXPECT_TRUE(host.Files().Open(h, "Quorvane.ini", kOpenExist));
}

#ifndef _WIN32  // drive letters are the system's own on Windows: there is no drive root
// A profile named with a drive goes below the same drive root as files do.
TEST(PosixHostPaths, ProfilesAndFilesShareTheDriveRoot) {
  test::TempDir root;
  HostSettings options;
  options.sDriveRoot = root.Str();
  options.sProfileDir = root.Str();
  PosixHost host(options);
  std::filesystem::create_directory(root.Path() / "cfg");
  ASSERT_TRUE(host.Profiles().WriteString("S", "k", "v", "C:\\cfg\\app.ini"));
  EXPECT_EQ(root.Read("cfg/app.ini"), "[S]\r\nk=v\r\n");
  FileHandle h;
  EXPECT_TRUE(host.Files().Open(h, "D:\\cfg\\app.ini", kOpenExist));
}
#endif

}  // namespace
}  // namespace qv
