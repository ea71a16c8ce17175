// SPDX-License-Identifier: Apache-2.0
// The threaded read-and-parse against the one-thread road (SetJavaFile, then
// ParseSourceFile for every file that can be parsed), on a generated tree:
// the records, their order and the name lists must match.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/source_batch.h"
#include "support/test_host.h"

namespace qv {
namespace {

// A file of the generated tree: a class, an interface, a dotted superclass, LF or
// CR LF line ends, comments in odd places, no class at all, empty, binary.
std::string Source(int i) {
  const std::string sEnd = i % 3 == 0 ? "\n" : "\r\n";
  std::ostringstream s;
  switch (i % 9) {
    case 0:
      return "";
    case 1:
      return std::string("class X {\0}", 11);
    case 2:
      return "// nothing here" + sEnd + "package only;" + sEnd;
    default:
      break;
  }
  if (i % 4 == 0) s << "/* Copyright " << i << " */" << sEnd;
  if (i % 5 != 0) s << "package org.gen.p" << i % 7 << ";" << sEnd;
  for (int k = 0; k < i % 4; ++k) s << "import java.util.T" << k << ";" << sEnd;
  if (i % 2 == 0) s << "/** Class " << i << ". */" << sEnd;
  if (i % 11 == 0) {
    s << "public interface I" << i << " extends a.b.Base" << i % 3 << " {" << sEnd << "  void run();" << sEnd;
  } else if (i % 13 == 0) {
    s << "public class Dotted" << i << " extends q.r.S {" << sEnd;
  } else {
    s << "public class C" << i << (i % 2 ? " extends Base" : "") << " { /* class in a comment */" << sEnd;
    s << "  int n" << i << " = " << i << ";" << sEnd;
    // Files larger than the memory a worker keeps between files; two of
    // them, one with LF and one with CR LF, so large that the parse makes
    // their bodies in the memory of their texts.
    const int nLines = i == 150 || i == 151 ? 100000 : i == 152 ? 25000 : 0;
    for (int k = 0; k < nLines; ++k) s << "  int m" << k << "; /* \\u0041 */" << sEnd;
  }
  s << "}" << sEnd;
  if (i % 6 == 0) s << "// footer " << i << sEnd;
  return s.str();
}

class SourceBatchTest : public test::HostFixture {
 protected:
  static constexpr int kFiles = 300;

  SourceBatchTest() {
    for (int i = 0; i < kFiles; ++i) {
      const std::string sDir = "tree/d" + std::to_string(i % 17);
      dir_.Write(sDir + "/F" + std::to_string(i) + ".java", Source(i));
      aNames_.push_back({"F" + std::to_string(i) + ".java", Win(sDir)});
    }
    aNames_.push_back({"Missing.java", Win("tree")});  // cannot be read
  }

  // Records that exist before the scan keep what a parse does not find.
  static void SeedOldRecords(Module& m) {
    for (int64_t i = 0; i < 40; ++i) {
      VC_JavaClass& r = JavaClassArray(m).At(i * 7);
      r.sSuperClass = "OldSuper";
      r.sPackage = "old.pkg";
      r.sHeader = "/* old */";
      for (int64_t k = 0; k < 5; ++k) r.sImport.At(k) = "old.I" + std::to_string(k);
    }
  }

  // The one-thread road, as a caller of the records' functions writes it.
  std::vector<SourceState> Sequential(Module& m) {
    std::vector<SourceState> aStates;
    VC_JavaFile& javaFile = JavaFileInstance(m);
    for (size_t i = 0; i < aNames_.size(); ++i) {
      const auto nAt = static_cast<int64_t>(i);
      javaFile.SetJavaFile(m, Number(nAt), aNames_[i].sFileName, aNames_[i].sDirectory);
      std::ifstream in(dir_.Path() / "tree" / ("d" + std::to_string(i % 17)) / aNames_[i].sFileName, std::ios::binary);
      std::string sText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      const SourceState e = !in.is_open() ? SourceState::kUnreadable : ClassifySourceText(sText);
      aStates.push_back(e);
      if (e == SourceState::kParsed) JavaClassArray(m).At(nAt).ParseSourceFile(m, Number(nAt));
    }
    return aStates;
  }

  std::vector<JavaSourceName> aNames_;
};

// Everything the scan leaves in the Module, as one text per record.
std::vector<std::string> Snapshot(Module& m) {
  std::vector<std::string> a;
  const DynArray<VC_JavaClass>& aClasses = JavaClassArray(m);
  const JavaRepositoryVars& repo = RepositoryVars(m);
  for (int64_t i = 0; i < aClasses.Count(); ++i) {
    const VC_JavaClass& r = aClasses.Get(i);
    std::string s = r.sFileName + "|" + r.sDirectory + "|" + r.sClassName + "|" + r.sSuperClass + "|" + r.sPackage +
                    "|" + r.sHeader + "|" + r.sDescription + "|" + r.sFooter + "|" + std::to_string(r.sImport.Count());
    for (int64_t k = 0; k < r.sImport.Count(); ++k) s += "|" + r.sImport.Get(k);
    s += "|methods " + std::to_string(r.aMethods.Count()) + "|" + r.aMethods.Get(1).sBody;
    s += "|lists " + repo.cv_sClassName[i] + "," + repo.cv_sSuperClass[i] + "|file " + m.G().glb_sFile.Get(i);
    a.push_back(std::move(s));
  }
  const VC_JavaFile& f = JavaFileInstance(m);
  a.push_back("JavaFile " + f.sFile + "|" + f.sDirectory + "|" + std::to_string(f.nIndex.AsInt64()));
  a.push_back("lists " + std::to_string(repo.cv_sClassName.Count()) + "," +
              std::to_string(repo.cv_sSuperClass.Count()));
  return a;
}

TEST_F(SourceBatchTest, ThreadsGiveTheRecordsOfTheOneThreadRoad) {
  SeedOldRecords(*module_);
  const std::vector<SourceState> aWant = Sequential(*module_);
  const std::vector<std::string> aRecords = Snapshot(*module_);
  // The tree holds every kind of file.
  ASSERT_EQ(aWant.size(), static_cast<size_t>(kFiles + 1));
  EXPECT_EQ(aWant.back(), SourceState::kUnreadable);
  EXPECT_EQ(aWant[0], SourceState::kEmpty);
  EXPECT_EQ(aWant[1], SourceState::kBinary);

  for (const int nThreads : {0, 1, 2, 4}) {
    SCOPED_TRACE("threads: " + std::to_string(nThreads));
    Module& m = FreshModule();
    SeedOldRecords(m);
    std::vector<SourceState> aGot;
    std::vector<std::string> aSeenClass;
    ReadJavaSources(m, aNames_, nThreads, [&](int64_t i, SourceState e, int nErrno, JavaKind eKind) {
      EXPECT_EQ(i, static_cast<int64_t>(aGot.size()));
      EXPECT_EQ(nErrno != 0, e == SourceState::kUnreadable);
      // The parser's kind names a class exactly when the record got one.
      if (e == SourceState::kParsed) {
        EXPECT_EQ(eKind == JavaKind::kNone, JavaClassArray(m).Get(i).sClassName.empty());
      }
      aGot.push_back(e);
      // The record is complete when the visitor sees it.
      aSeenClass.push_back(JavaClassArray(m).Get(i).sClassName);
    });
    EXPECT_EQ(aGot, aWant);
    const std::vector<std::string> aBatch = Snapshot(m);
    ASSERT_EQ(aBatch.size(), aRecords.size());
    for (size_t i = 0; i < aRecords.size(); ++i) EXPECT_EQ(aBatch[i], aRecords[i]) << "record " << i;
    for (size_t i = 0; i + 2 < aSeenClass.size(); ++i) {
      EXPECT_EQ(aSeenClass[i], JavaClassArray(m).Get(static_cast<int64_t>(i)).sClassName);
    }
  }
}

TEST(ClassifySourceText, EmptyBinaryAndText) {
  EXPECT_EQ(ClassifySourceText(""), SourceState::kEmpty);
  EXPECT_EQ(ClassifySourceText(std::string("a\0b", 3)), SourceState::kBinary);
  // Only the first 8 KiB decide.
  EXPECT_EQ(ClassifySourceText(std::string(8191, 'a') + std::string(1, '\0')), SourceState::kBinary);
  EXPECT_EQ(ClassifySourceText(std::string(8192, 'a') + std::string(1, '\0')), SourceState::kParsed);
  EXPECT_EQ(ClassifySourceText("class A {}"), SourceState::kParsed);
}

}  // namespace
}  // namespace qv
