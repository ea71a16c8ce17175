// SPDX-License-Identifier: Apache-2.0
// The class list file on any bytes: what the repository loads it saves, and
// loads again as the same records, every field and every import.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "fuzz/repository_fuzz.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "tests/support/record_compare.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  if (nSize == 0) return 0;
  qv::fuzz::Harness& h = qv::fuzz::TheHarness();
  const qv::fuzz::Separators oSep = qv::fuzz::PickSeparators(pData[0]);
  h.Write("jbclass.txt", std::string_view(reinterpret_cast<const char*>(pData) + 1, nSize - 1));
  qv::VC_JavaRepository repo;

  qv::Module& m = h.Fresh();
  m.G().sCRLFToken = oSep.sToken;
  repo.ReadClassFile(m, h.Win("jbclass.txt"), oSep.sDelimiter);
  const qv::Number nSaved = repo.WriteClassFile(m, h.Win("saved.txt"), oSep.sDelimiter);
  if (nSaved == qv::Number(qv::kWriteFailed) && qv::fuzz::ForcedRefusal(oSep, qv::RepositoryVars(m).sWriteError)) {
    return 0;
  }
  QV_FUZZ_CHECK(nSaved != qv::Number(qv::kWriteFailed), qv::RepositoryVars(m).sWriteError);
  const qv::DynArray<qv::VC_JavaClass> aFirst = qv::JavaClassArray(m);

  qv::Module& again = h.Fresh();
  again.G().sCRLFToken = oSep.sToken;
  repo.ReadClassFile(again, h.Win("saved.txt"), oSep.sDelimiter);
  const qv::DynArray<qv::VC_JavaClass>& aSecond = qv::JavaClassArray(again);
  // A record without a class name is no class and is not saved.
  int64_t j = 0;
  for (int64_t i = 0; i < aFirst.Count(); ++i) {
    if (aFirst[i].sClassName.empty()) continue;
    QV_FUZZ_CHECK(j < aSecond.Count(), "a class was lost");
    const std::string sDiff = qv::test::RecordDifference(aFirst[i], aSecond[j], false);
    QV_FUZZ_CHECK(sDiff.empty(), sDiff);
    ++j;
  }
  QV_FUZZ_CHECK(j == aSecond.Count(), "a class was gained");
  return 0;
}
