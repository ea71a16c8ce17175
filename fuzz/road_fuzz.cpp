// SPDX-License-Identifier: Apache-2.0
// The whole road on any Java source: parsed into a record, saved to the
// class list file, loaded back into a fresh Module as the same record.  A
// save may refuse a record (a field holding the delimiter, the token or a
// line break), but then it says why and writes nothing.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "repository/repository_format.h"
#include "tests/support/record_compare.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  qv::fuzz::Harness& h = qv::fuzz::TheHarness();
  h.Write("A.java", std::string_view(reinterpret_cast<const char*>(pData), nSize));
  // The token is set with assign(count, char): GCC 12 at -O3 warns falsely
  // (-Wrestrict) when a string is assigned a one-byte text.
  constexpr std::string_view kDelimiter = "\x1f", kToken = "\x1e";
  qv::VC_JavaRepository repo;

  qv::Module& m = h.Fresh();
  m.G().sCRLFToken.assign(1, kToken.front());
  qv::VC_JavaClass& r = qv::JavaClassArray(m).At(0);
  r.sFileName = "A.java";
  r.sDirectory = h.Dir();
  r.ParseSourceFile(m, qv::Number(0));
  if (r.sClassName.empty()) return 0;  // no class: nothing is saved
  h.Write("jbclass.txt", "old");
  if (repo.WriteClassFile(m, h.Win("jbclass.txt"), kDelimiter) == qv::Number(qv::kWriteFailed)) {
    QV_FUZZ_CHECK(!qv::RepositoryVars(m).sWriteError.empty(), "a refused save without a reason");
    QV_FUZZ_CHECK(h.Read("jbclass.txt") == "old", "a refused save changed the file");
    return 0;
  }
  // What the repository keeps of a parsed record: line breaks as CR CR LF.
  qv::VC_JavaClass expected = qv::JavaClassArray(m)[0];
  for (qv::String* p : {&expected.sHeader, &expected.sFooter, &expected.sDescription}) {
    *p = qv::format::DecodeText(m, qv::format::EncodeText(m, *p, kToken), kToken);
  }
  qv::DynArray<qv::String> aImports;  // empty entries are not imports
  for (int64_t j = 0; j < expected.sImport.Count(); ++j) {
    if (!expected.sImport[j].empty()) aImports.Set(aImports.Count(), expected.sImport[j]);
  }
  expected.sImport = aImports;

  qv::Module& again = h.Fresh();
  again.G().sCRLFToken.assign(1, kToken.front());
  repo.ReadClassFile(again, h.Win("jbclass.txt"), kDelimiter);
  const std::string sDiff = qv::test::RecordDifference(expected, qv::JavaClassArray(again)[0], false);
  QV_FUZZ_CHECK(sDiff.empty(), sDiff);
  return 0;
}
