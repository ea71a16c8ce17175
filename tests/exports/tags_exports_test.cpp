// SPDX-License-Identifier: Apache-2.0
// The tags functions of the C interface through the built library: what
// the command does not reach, the failures and the text's ownership.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "cli/library_client.h"
#include "support/loaded_library.h"
#include "support/test_host.h"

namespace qv {
namespace {

using TagsFn = int64_t (*)(const char*, QvString**, QvTagsProblemHandler, void*, QvString**);

TEST(TagsExports, FailuresSayWhyAndATextComesBackOwned) {
  test::TempDir dir;
  test::ChildSetup setup;
  setup.sWorkDir = dir.Str();
  const int nStatus = test::InLoadedChild(
      [](quorvane::cli::LibraryClient& lib) -> int {
        auto Data = lib.Function<const char* (*)(const QvString*)>("QvStringData");
        auto Size = lib.Function<size_t (*)(const QvString*)>("QvStringSize");
        const auto Text = [&](const QvString* p) { return std::string(Data(p), Size(p)); };
        // No class list in the repository directory.
        QvString* pError = nullptr;
        QvString* pText = nullptr;
        if (lib.Function<TagsFn>("QvWriteRepositoryTags")(nullptr, &pText, nullptr, nullptr, &pError) !=
                QV_TAGS_UNREADABLE_CLASS_LIST ||
            pText != nullptr || Text(pError) != "cannot read: No such file or directory") {
          return 1;
        }
        lib.FreeString(pError);
        // Neither a file nor a text to fill.
        auto Records = lib.Function<TagsFn>("QvWriteRecordTags");
        if (Records(nullptr, nullptr, nullptr, nullptr, &pError) != QV_TAGS_NOT_WRITTEN || pError == nullptr) return 2;
        lib.FreeString(pError);
        // No records: the header alone, in a String of the caller's.
        if (Records("", &pText, nullptr, nullptr, &pError) != 0 || pError != nullptr) return 3;
        const std::string sText = Text(pText);
        lib.FreeString(pText);
        return sText.starts_with("!_TAG_FILE_FORMAT\t2\t") &&
                       sText.find("\n!_TAG_PROGRAM_VERSION\t") != std::string::npos
                   ? 0
                   : 4;
      },
      setup);
  EXPECT_EQ(nStatus, 0);
}

}  // namespace
}  // namespace qv
