// SPDX-License-Identifier: Apache-2.0
// The repository reached through the built library, as a host reaches it:
// the globals set by name, the global instances, the exported class
// functions by their exported and decorated names.
#include <gtest/gtest.h>

#include <algorithm>
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
using WriteMethodFileFn = QvNumber (*)(QvObject*, const QvString*, QvNumber, const QvString*);

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

    // With a method file directory the class list names the method files
    // below it, and WriteMethodFile without a name makes their folders;
    // NULL puts them beside the sources again.
    const auto SetMethodFileDirectory = lib.Function<void (*)(const char*)>("QvSetMethodFileDirectory");
    SetMethodFileDirectory("methods");
    QvString* pApart = lib.NewString("apart.txt");
    if (pWrite(pRepo, pApart, pBar).value != 2) return 6;
    QvString* pNone = lib.NewString("");
    if (lib.Function<WriteMethodFileFn>("__quorvane__XE32375036")(pRepo, pNone, test::Num(0), pBar).value != 1)
      return 7;
    SetMethodFileDirectory(nullptr);
    QvString* pBeside = lib.NewString("beside.txt");
    if (pWrite(pRepo, pBeside, pBar).value != 2) return 8;
    for (QvString* p : {pBar, pTilde, pZeta, pFile, pApart, pNone, pBeside}) lib.FreeString(p);
    return 0;
  });
  ASSERT_EQ(nStatus, 0);
  const std::string sCopy = "Applet|Applet1|Applet1.java|" + dir.Str() + "||/* h */|~// f|||" + dir.Str() +
                            "\\Applet1.med|||\r\n"
                            "Applet1|Zeta|Zeta.java|" +
                            dir.Str() + "||||||" + dir.Str() + "\\Zeta.med|||\r\n";
  EXPECT_EQ(dir.Read("copy.txt"), sCopy);
  EXPECT_EQ(dir.Read("beside.txt"), sCopy);
  // The directory's folders below "methods" (nothing in a temporary
  // directory's path needs an escape).
  std::string sFolders = dir.Str().substr(1);
  std::replace(sFolders.begin(), sFolders.end(), '/', '\\');
  EXPECT_NE(dir.Read("apart.txt").find("|methods\\" + sFolders + "\\Applet1.med|"), std::string::npos)
      << dir.Read("apart.txt");
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.Path() / "methods" / dir.Path().relative_path() / "Applet1.med"));
  // Header, then the footer after two line breaks (no body: no declaration).
  EXPECT_EQ(dir.Read("Applet1.java"), "/* h */\r\n\r\n\r\n// f");
}

}  // namespace
}  // namespace qv
