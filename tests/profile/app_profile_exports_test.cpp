// SPDX-License-Identifier: Apache-2.0
// The application profile reached through the built library: the global
// AppProfile instance, the decorated InitProfile and receive parameters.
#include <gtest/gtest.h>

#include <string>

#include "cli/library_client.h"
#include "support/loaded_library.h"
#include "support/test_host.h"

namespace qv {
namespace {

using quorvane::cli::LibraryClient;

using InitFn = QvNumber (*)(QvObject*);
using GetFontFn = QvNumber (*)(QvObject*, QvString**, QvNumber*, QvNumber*, QvNumber*, QvNumber*, QvNumber*, QvNumber*);

int CheckThroughTheLibrary(LibraryClient& lib) {
  auto Global = lib.Function<QvObject* (*)(const char*, int64_t)>("QvGlobalObject");
  auto Find = lib.Function<void (*(*)(const char*))()>("QvFindExport");
  QvObject* pProfile = Global("AppProfile", 0);
  if (pProfile == nullptr || Global("AppProfile", 1) != nullptr) return 1;

  auto pInit = reinterpret_cast<InitFn>(Find("_InitProfile_2__@4"));
  if (pInit == nullptr || pInit(pProfile).isNull == 0) return 2;

  QvString* pName = nullptr;
  QvNumber n[6] = {};
  lib.Function<GetFontFn>("__quorvane__XE30015867")(pProfile, &pName, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]);
  if (lib.TakeString(pName) != "Courier" || n[0].value != 0 || n[1].value != 14 || n[3].value != 1) return 3;
  return 0;
}

TEST(AppProfileExports, GlobalInstanceAndClassFunctionsThroughTheLibrary) {
  test::TempDir dir;
  dir.Write("Quorvane.ini", "[Profile]\r\nFont Name=Courier\r\nFont Size=14\r\n");
  // The library's host finds bare profile names in this directory.
  test::ChildSetup setup;
  setup.aEnv = {{"QUORVANE_PROFILE_DIR", dir.Str()}};
  EXPECT_EQ(test::InLoadedChild(CheckThroughTheLibrary, setup), 0);
}

}  // namespace
}  // namespace qv
