// SPDX-License-Identifier: Apache-2.0
// The application profile's C functions through the built library, on real
// files: what the command's own tests do not reach (the checks of a set
// inside the library, an unreadable file, a new file that replaces one with
// lines of its own).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/library_client.h"
#include "support/loaded_library.h"
#include "support/test_host.h"

namespace qv {
namespace {

using quorvane::cli::LibraryClient;

#define QV_CHECK(cond) \
  if (!(cond)) return __LINE__ % 250 + 1

std::string FileText(const std::string& sPath) {
  std::ifstream in(sPath, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ProfileApi, WriteDefaultsSetAndLoadOnRealFiles) {
  test::TempDir dir;
  test::ChildSetup setup;
  setup.aEnv = {{"QUORVANE_PROFILE_DIR", dir.Str() + "/new"}};
  const int nStatus = test::InLoadedChild(
      [&dir](LibraryClient& lib) -> int {
        auto Find = lib.Function<int64_t (*)(const char*, const char*)>("QvProfileFindSetting");
        auto Load = lib.Function<QvBoolean (*)(QvBoolean*, QvString**)>("QvProfileLoad");
        auto Value = lib.Function<QvString* (*)(int64_t)>("QvProfileValue");
        auto Set = lib.Function<QvBoolean (*)(int64_t, const char*, QvString**)>("QvProfileSetValue");
        auto WriteDefaults = lib.Function<QvBoolean (*)(const QvProfileValueOf*, size_t, QvString**)>(
            "QvProfileWriteDefaults");
        const std::string sPath = lib.TakeString(lib.Function<QvString* (*)()>("QvProfilePath")());
        QV_CHECK(sPath == dir.Str() + "/new/Quorvane.ini");

        const int64_t nSize = Find("profile", " FONT SIZE ");
        const int64_t nName = Find("Profile", "Font Name");
        QvProfileSetting row{};
        QV_CHECK(nSize >= 0 &&
                 lib.Function<QvBoolean (*)(int64_t, QvProfileSetting*)>("QvProfileSettingAt")(nSize, &row) == 1);
        QV_CHECK(std::string(row.key) == "Font Size" && row.type == QV_SETTING_NUMBER);
        QV_CHECK(Find("Profile", "No Such Key") == -1);

        // No file: the load finds nothing; a directory of that name cannot be read.
        QvBoolean bFound = 1;
        QV_CHECK(Load(&bFound, nullptr) == 1 && bFound == 0);
        std::filesystem::create_directories(sPath);
        QvString* pError = nullptr;
        QV_CHECK(Load(&bFound, &pError) == 0);
        QV_CHECK(lib.TakeString(pError) == "cannot read " + sPath + ": Is a directory");
        std::filesystem::remove(sPath);

        // A new file replaces one with lines of its own, whole, and leaves
        // nothing else in the directory.
        dir.Write("new/Quorvane.ini", "[Other]\r\nX=1\r\n[Profile]\r\nFont Size=8\r\n");
        const QvProfileValueOf aValues[] = {{nName, "Courier"}};
        QV_CHECK(WriteDefaults(aValues, 1, &pError) == 1 && pError == nullptr);
        const std::string sFresh = FileText(sPath);
        QV_CHECK(sFresh.find("[Other]") == std::string::npos);
        QV_CHECK(sFresh.find("Font Name=Courier\r\nFont Size=10\r\n") != std::string::npos);
        QV_CHECK(std::distance(std::filesystem::directory_iterator(dir.Str() + "/new"),
                               std::filesystem::directory_iterator()) == 1);
        QV_CHECK(lib.TakeString(Value(nSize)) == "10");

        // The library refuses what the setting cannot hold and leaves the file.
        QV_CHECK(Set(nSize, "ten", &pError) == 0);
        QV_CHECK(lib.TakeString(pError) == "not a number");
        QV_CHECK(Set(nName, "Cou\nrier", &pError) == 0);
        QV_CHECK(lib.TakeString(pError) == "it holds a line break");
        QV_CHECK(Set(-1, "1", nullptr) == 0);
        QV_CHECK(FileText(sPath) == sFresh);
        QV_CHECK(Set(nSize, "12.6", &pError) == 1 && pError == nullptr);
        QV_CHECK(FileText(sPath).find("Font Size=13\r\n") != std::string::npos);
        QV_CHECK(Load(&bFound, nullptr) == 1 && bFound == 1);
        QV_CHECK(lib.TakeString(Value(nSize)) == "13" && lib.TakeString(Value(nName)) == "Courier");
        return 0;
      },
      setup);
  EXPECT_EQ(nStatus, 0) << "first failing check near line " << nStatus;
}

}  // namespace
}  // namespace qv
