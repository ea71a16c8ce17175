// SPDX-License-Identifier: Apache-2.0
// The repository reached through the built library, as a host reaches it:
// the globals set by name, the global instances, the exported class
// functions by their exported and decorated names.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/library_client.h"
#include "support/loaded_library.h"
#include "support/test_host.h"

namespace qv {
namespace {

using quorvane::cli::LibraryClient;

using LoadFn = QvNumber (*)(QvObject*);
using FindClassFn = QvNumber (*)(QvObject*, const QvString*);
using WriteClassFileFn = QvNumber (*)(QvObject*, const QvString*, const QvString*);
using WriteSourceFn = QvBoolean (*)(QvObject*);

// Runs fn in a child process in directory sDir, with a fresh load of the
// library; returns the child's exit status (0 when every check held).
int InChild(const std::string& sDir, int (*fn)(LibraryClient&)) {
  test::ChildSetup setup;
  setup.sWorkDir = sDir;
  return test::InLoadedChild(fn, setup);
}

TEST(RepositoryExports, LoadFindAndWriteThroughTheExportedNames) {
  test::TempDir dir;
  dir.Write("jbclass.txt", "Applet|Applet1|Applet1.java|" + dir.Str() +
                               "||/* h */|~// f|||||\r\n"
                               "Applet1|Zeta|Zeta.java|" +
                               dir.Str() + "||||||||\r\n");
  const int nStatus = InChild(dir.Str(), [](LibraryClient& lib) -> int {
    auto SetString = lib.Function<QvBoolean (*)(const char*, const QvString*)>("QvSetGlobalString");
    auto Global = lib.Function<QvObject* (*)(const char*, int64_t)>("QvGlobalObject");
    QvString* pBar = lib.NewString("|");
    QvString* pTilde = lib.NewString("~");
    if (SetString("sElementDelimiter", pBar) == 0 || SetString("sCRLFToken", pTilde) == 0) return 1;
    QvObject* pRepo = Global("JavaRepository", 0);
    if (pRepo == nullptr || Global("NoSuchGlobal", 0) != nullptr) return 2;

    lib.Function<LoadFn>("__quorvane__XE32374797")(pRepo);  // LoadRepository
    QvString* pZeta = lib.NewString("Zeta");
    if (lib.Function<FindClassFn>("__quorvane__XE32375118")(pRepo, pZeta).value != 1) return 3;

    // WriteClassFile under its decorated name.
    auto pWrite = reinterpret_cast<WriteClassFileFn>(
        lib.Function<void (*(*)(const char*))()>("QvFindExport")("_WriteClassFile_5__@12"));
    QvString* pFile = lib.NewString("copy.txt");
    if (pWrite == nullptr || pWrite(pRepo, pFile, pBar).value != 2) return 4;

    // The class's source, written by the XE form on a JavaClass element.
    if (lib.Function<WriteSourceFn>("__quorvane__XE33161251")(Global("JavaClass", 0)) == 0) return 5;
    for (QvString* p : {pBar, pTilde, pZeta, pFile}) lib.FreeString(p);
    return 0;
  });
  ASSERT_EQ(nStatus, 0);
  EXPECT_EQ(dir.Read("copy.txt"), "Applet|Applet1|Applet1.java|" + dir.Str() + "||/* h */|~// f|||" + dir.Str() +
                                      "\\Applet1.med|||\r\n"
                                      "Applet1|Zeta|Zeta.java|" +
                                      dir.Str() + "||||||" + dir.Str() + "\\Zeta.med|||\r\n");
  // Header, then the footer after two line breaks (no body: no declaration).
  EXPECT_EQ(dir.Read("Applet1.java"), "/* h */\r\n\r\n\r\n// f");
}

}  // namespace
}  // namespace qv
