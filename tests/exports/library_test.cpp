// SPDX-License-Identifier: Apache-2.0
// The built shared library, reached as a host reaches it: dlopen, look the
// exported names up, call them with boundary values.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/library_client.h"
#include "support/loaded_library.h"

namespace qv {
namespace {

using quorvane::cli::LibraryClient;

using test::Num;

struct TsvRow {
  std::string sKind, sClass, sFunction, sId, sExport;
};

std::vector<TsvRow> ReadExportsTsv() {
  std::ifstream in(std::string(QV_TEST_DATA_DIR) + "/exports.tsv");
  std::vector<TsvRow> aRows;
  std::string sLine;
  std::getline(in, sLine);  // header
  while (std::getline(in, sLine)) {
    std::istringstream ss(sLine);
    TsvRow r;
    std::getline(ss, r.sKind, '\t');
    std::getline(ss, r.sClass, '\t');
    std::getline(ss, r.sFunction, '\t');
    std::getline(ss, r.sId, '\t');
    std::getline(ss, r.sExport, '\t');
    aRows.push_back(r);
  }
  return aRows;
}

std::set<std::string> DynamicSymbols() {
  std::set<std::string> aNames;
  const std::string sCommand = std::string("nm -D --defined-only ") + QV_SHARED_LIBRARY;
  FILE* p = popen(sCommand.c_str(), "r");
  if (p == nullptr) return aNames;
  char aLine[1024];
  while (fgets(aLine, sizeof(aLine), p) != nullptr) {
    std::istringstream ss(aLine);
    std::string sAddress, sType, sName;
    ss >> sAddress >> sType >> sName;
    if (sName.empty()) {  // undefined-address rows have two columns
      sName = sType;
      sType = sAddress;
    }
    if (sType == "T" || sType == "t" || sType == "D" || sType == "B" || sType == "W" || sType == "V" || sType == "R" ||
        sType == "i") {
      aNames.insert(sName);
    }
  }
  pclose(p);
  return aNames;
}

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib_.Load(QV_SHARED_LIBRARY)) << lib_.Error(); }
  LibraryClient lib_;
};

TEST_F(LibraryTest, ExportsExactlyTheListedNamesAndTheRuntimeApi) {
  const std::vector<TsvRow> aTsv = ReadExportsTsv();
  ASSERT_EQ(aTsv.size(), 444u);
  std::map<std::string, TsvRow> aListed;
  for (const TsvRow& r : aTsv) aListed[r.sExport] = r;

  const auto pCount = lib_.Function<size_t (*)()>("QvExportCount");
  const auto pAt = lib_.Function<const QvExportInfo* (*)(size_t)>("QvExportAt");
  const auto pFind = lib_.Function<void (*(*)(const char*))()>("QvFindExport");
  ASSERT_TRUE(pCount && pAt && pFind);
  const std::set<std::string> aSymbols = DynamicSymbols();
  ASSERT_FALSE(aSymbols.empty());

  std::set<std::string> aBuilt;
  for (size_t i = 0; i < pCount(); ++i) {
    const QvExportInfo* p = pAt(i);
    const std::string sName = p->sExport;
    aBuilt.insert(sName);
    ASSERT_TRUE(aListed.count(sName)) << sName << " is not a listed export";
    const TsvRow& r = aListed[sName];
    EXPECT_EQ(r.sKind, p->sKind) << sName;
    EXPECT_EQ(r.sFunction, p->sFunction) << sName;
    EXPECT_EQ(r.sId, std::to_string(p->nId)) << sName;
    if (r.sKind == "DECORATED") {
      // Decorated names hold "@", which ELF symbol names cannot carry: the
      // lookup serves them, and they reach the same code as their export.
      EXPECT_NE(pFind(sName.c_str()), nullptr) << sName;
    } else {
      EXPECT_EQ(r.sClass, p->sClass) << sName;
      EXPECT_TRUE(aSymbols.count(sName)) << sName << " is not a dynamic symbol";
      EXPECT_EQ(reinterpret_cast<void*>(pFind(sName.c_str())), lib_.Symbol(sName.c_str())) << sName;
    }
  }
  for (const std::string& sSymbol : aSymbols) {
    const bool bRuntimeApi = sSymbol.rfind("Qv", 0) == 0;
    EXPECT_TRUE(bRuntimeApi || aBuilt.count(sSymbol)) << sSymbol << " is exported but not in the export table";
  }
  // Every listed name is built: 20 global functions, 190 class functions in
  // both forms and 44 decorated names.
  std::map<std::string, size_t> aKinds;
  for (const TsvRow& r : aTsv) {
    EXPECT_TRUE(aBuilt.count(r.sExport)) << r.sExport << " is listed but not built";
    ++aKinds[r.sKind];
  }
  EXPECT_EQ(aBuilt.size(), 444u);
  EXPECT_EQ(aKinds["GF"], 20u);
  EXPECT_EQ(aKinds["XE"], 190u);
  EXPECT_EQ(aKinds["XT"], 190u);
  EXPECT_EQ(aKinds["DECORATED"], 44u);
}

TEST_F(LibraryTest, TextUtilitiesThroughTheirExports) {
  using ScanFn = QvNumber (*)(const QvString*, const QvString*, QvNumber);
  using MidFn = QvString* (*)(const QvString*, QvNumber, QvNumber);
  using CommentTypeFn = QvNumber (*)(const QvString*, QvNumber*, QvNumber*);
  using MakeLongFn = QvNumber (*)(QvNumber, QvNumber);
  const auto pScanAt = lib_.Function<ScanFn>("__quorvane__GF25690957");
  const auto pScanNext = lib_.Function<ScanFn>("__quorvane__GF25691022");
  const auto pInComment = lib_.Function<ScanFn>("__quorvane__GF25690999");
  const auto pMid = lib_.Function<MidFn>("__quorvane__GF25690943");
  const auto pCommentType = lib_.Function<CommentTypeFn>("__quorvane__GF25690970");
  const auto pMakeLong = lib_.Function<MakeLongFn>("__quorvane__GF25690300");
  const auto pFind = lib_.Function<void (*(*)(const char*))()>("QvFindExport");
  ASSERT_TRUE(pScanAt && pScanNext && pInComment && pMid && pCommentType && pMakeLong);

  QvString* pText = lib_.NewString("abcabc");
  QvString* pKey = lib_.NewString("abc");
  EXPECT_EQ(pScanAt(pText, pKey, Num(1)).value, 2);
  EXPECT_EQ(reinterpret_cast<ScanFn>(pFind("_StrScanAt@24"))(pText, pKey, Num(1)).value, 2);
  EXPECT_EQ(pScanNext(pText, pKey, Num(0)).value, 3);
  EXPECT_EQ(lib_.TakeString(pMid(pText, Num(2), Num(3))), "cab");
  EXPECT_EQ(lib_.TakeString(reinterpret_cast<MidFn>(pFind("_StrMidX@36"))(pText, Num(4), Num(9))), "bc");
  // A null String argument reads as the empty text.
  EXPECT_EQ(pScanAt(nullptr, pKey, Num(0)).value, -1);
  lib_.FreeString(pKey);
  lib_.FreeString(pText);

  QvString* pComment = lib_.NewString("/* x class */ y /* z */");
  QvString* pClass = lib_.NewString("class");
  EXPECT_EQ(pInComment(pComment, pClass, Num(5)).value, 1);
  lib_.FreeString(pClass);
  lib_.FreeString(pComment);

  QvString* pLine = lib_.NewString("  // note\n");
  QvNumber nStart = Num(-9);
  QvNumber nEnd = Num(-9);
  EXPECT_EQ(pCommentType(pLine, &nStart, &nEnd).value, 1);
  EXPECT_EQ(nStart.value, 2);
  EXPECT_EQ(nEnd.value, 7);
  lib_.FreeString(pLine);

  EXPECT_EQ(pMakeLong(Num(1), Num(2)).value, 131073);
  const QvNumber nNull = pMakeLong(QvNumber{0, 1, 0}, Num(2));
  EXPECT_NE(nNull.isNull, 0);
}

TEST(LibraryLoad, InitialisesOnceWhicheverExportComesFirst) {
  for (const char* sFirst : {"__quorvane__GF25690300", "__quorvane__GF25690957", "__quorvane__GF25690970"}) {
    const int nStatus = test::InLoadedChild([sFirst](LibraryClient& lib) {
      const auto pCount = lib.Function<int32_t (*)()>("QvInitialisationCount");
      if (pCount() != 0) return 11;  // loading alone does not initialise
      QvString* pText = lib.NewString("a/b");
      QvNumber n1 = Num(0);
      QvNumber n2 = Num(0);
      const std::string sName = sFirst;
      if (sName == "__quorvane__GF25690300") {
        lib.Function<QvNumber (*)(QvNumber, QvNumber)>(sFirst)(Num(1), Num(2));
      } else if (sName == "__quorvane__GF25690957") {
        lib.Function<QvNumber (*)(const QvString*, const QvString*, QvNumber)>(sFirst)(pText, pText, Num(0));
      } else {
        lib.Function<QvNumber (*)(const QvString*, QvNumber*, QvNumber*)>(sFirst)(pText, &n1, &n2);
      }
      if (pCount() != 1) return 12;
      lib.Function<QvNumber (*)(QvNumber, QvNumber)>("__quorvane__GF25690300")(Num(3), Num(4));
      lib.Function<QvNumber (*)(const QvString*, QvNumber*, QvNumber*)>("__quorvane__GF25690970")(pText, &n1, &n2);
      if (pCount() != 1) return 13;
      lib.FreeString(pText);
      return 0;
    });
    EXPECT_EQ(nStatus, 0) << "first call " << sFirst;
  }
}

TEST(LibraryLoad, BindsItsLibrariesWhenExecutingAndNothingOtherwise) {
  EXPECT_EQ(test::InLoadedChild([](LibraryClient& lib) {
              if (lib.Function<QvBoolean (*)()>("QvLibrariesBound")() != 1) return 11;
              return lib.Function<int32_t (*)()>("QvLoadedLibraryCount")() == 23 ? 0 : 12;
            }),
            0);
  test::ChildSetup notExecuting;
  notExecuting.aEnv = {{"QUORVANE_EXECUTING", "0"}};
  EXPECT_EQ(test::InLoadedChild(
                [](LibraryClient& lib) {
                  if (lib.Function<QvBoolean (*)()>("QvLibrariesBound")() != 0) return 11;
                  if (lib.Function<int32_t (*)()>("QvLoadedLibraryCount")() != 0) return 12;
                  lib.Unload();
                  return 0;
                },
                notExecuting),
            0);
}

TEST_F(LibraryTest, RuntimeApiStringsArraysAndGlobals) {
  const auto pArrayNew = lib_.Function<QvArray* (*)(QvElementType)>("QvArrayNew");
  const auto pArrayFree = lib_.Function<void (*)(QvArray*)>("QvArrayFree");
  const auto pCount = lib_.Function<int64_t (*)(const QvArray*)>("QvArrayCount");
  const auto pSetString = lib_.Function<QvBoolean (*)(QvArray*, int64_t, const QvString*)>("QvArraySetString");
  const auto pGetString = lib_.Function<QvString* (*)(const QvArray*, int64_t)>("QvArrayGetString");
  const auto pSetNumber = lib_.Function<QvBoolean (*)(QvArray*, int64_t, QvNumber)>("QvArraySetNumber");
  QvArray* pArray = pArrayNew(QV_ELEMENT_STRING);
  QvString* pValue = lib_.NewString(std::string("a\0b", 3));
  EXPECT_EQ(pSetString(pArray, 3, pValue), 1);
  EXPECT_EQ(pCount(pArray), 4);
  EXPECT_EQ(lib_.TakeString(pGetString(pArray, 3)), std::string("a\0b", 3));
  EXPECT_EQ(lib_.TakeString(pGetString(pArray, 9)), "");
  EXPECT_EQ(pCount(pArray), 4);                 // reading did not extend
  EXPECT_EQ(pSetNumber(pArray, 0, Num(1)), 0);  // wrong element type
  pArrayFree(pArray);

  const auto pSetGlobal = lib_.Function<QvBoolean (*)(const char*, const QvString*)>("QvSetGlobalString");
  const auto pGetGlobal = lib_.Function<QvString* (*)(const char*)>("QvGetGlobalString");
  EXPECT_EQ(pSetGlobal("sCRLFToken", pValue), 1);
  EXPECT_EQ(lib_.TakeString(pGetGlobal("sCRLFToken")), std::string("a\0b", 3));
  EXPECT_EQ(pSetGlobal("sNoSuchGlobal", pValue), 0);
  lib_.FreeString(pValue);
  const auto pBound = lib_.Function<QvNumber (*)(const char*)>("QvGetBoundNumber");
  EXPECT_EQ(pBound("___az_quorvane_001").isNull, 0);
  EXPECT_NE(pBound("___az_other").isNull, 0);
  EXPECT_EQ(lib_.Function<QvObject* (*)(const char*)>("QvObjectNew")("NoSuchClass"), nullptr);
}

}  // namespace
}  // namespace qv
