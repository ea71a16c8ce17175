// SPDX-License-Identifier: Apache-2.0
// Method and variable files on any bytes: what the repository loads it
// saves, and loads again as the same rows.  The first byte chooses the kind
// of file (bit 0) and the separators (the rest).
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "fuzz/repository_fuzz.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"

namespace {

// The position of the last row for which bUsed holds, -1 when none.
template <class Row, class Used>
int64_t LastUsed(const qv::DynArray<Row>& aRows, Used bUsed) {
  for (int64_t k = aRows.Count() - 1; k >= 0; --k) {
    if (bUsed(aRows[k])) return k;
  }
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  if (nSize == 0) return 0;
  qv::fuzz::Harness& h = qv::fuzz::TheHarness();
  const bool bMethods = (pData[0] & 1) == 0;
  const qv::fuzz::Separators oSep = qv::fuzz::PickSeparators(static_cast<uint8_t>(pData[0] >> 1));
  h.Write("in.med", std::string_view(reinterpret_cast<const char*>(pData) + 1, nSize - 1));
  qv::VC_JavaRepository repo;
  const qv::Number n0(0);

  qv::Module& m = h.Fresh();
  m.G().sCRLFToken = oSep.sToken;
  qv::Number nWritten;
  if (bMethods) {
    repo.ReadMethodFile(m, h.Win("in.med"), n0, oSep.sDelimiter);
    nWritten = repo.WriteMethodFile(m, h.Win("out.med"), n0, oSep.sDelimiter);
  } else {
    repo.ReadVariableFile(m, h.Win("in.med"), n0, oSep.sDelimiter);
    nWritten = repo.WriteVariableFile(m, h.Win("out.med"), n0, oSep.sDelimiter);
  }
  if (nWritten == qv::Number(qv::kWriteFailed) && qv::fuzz::ForcedRefusal(oSep, qv::RepositoryVars(m).sWriteError)) {
    return 0;
  }
  QV_FUZZ_CHECK(nWritten != qv::Number(qv::kWriteFailed), qv::RepositoryVars(m).sWriteError);
  const qv::VC_JavaClass first = qv::JavaClassArray(m)[0];

  qv::Module& again = h.Fresh();
  again.G().sCRLFToken = oSep.sToken;
  if (bMethods) {
    repo.ReadMethodFile(again, h.Win("out.med"), n0, oSep.sDelimiter);
  } else {
    repo.ReadVariableFile(again, h.Win("out.med"), n0, oSep.sDelimiter);
  }
  const qv::VC_JavaClass& second = qv::JavaClassArray(again)[0];
  // Rows are kept up to the last named one; nameless rows behind it are no
  // methods (or variables) and are not stored.
  if (bMethods) {
    const int64_t nLast = LastUsed(first.aMethods, [](const qv::VC_JavaMethod& r) { return !r.sName.empty(); });
    QV_FUZZ_CHECK(second.aMethods.Count() == (nLast < 1 ? 0 : nLast + 1), "method count");
    for (int64_t k = 1; k <= nLast; ++k) {
      QV_FUZZ_CHECK(first.aMethods[k].sName == second.aMethods[k].sName, "method name");
      QV_FUZZ_CHECK(first.aMethods[k].sComment == second.aMethods[k].sComment, "method comment");
      QV_FUZZ_CHECK(first.aMethods[k].sBody == second.aMethods[k].sBody, "method body");
    }
  } else {
    const int64_t nLast = LastUsed(first.aVariables,
                                   [](const qv::VC_JavaClassVariable& r) { return !r.sValue1.empty(); });
    QV_FUZZ_CHECK(second.aVariables.Count() == nLast + 1, "variable count");
    for (int64_t k = 0; k <= nLast; ++k) {
      for (size_t f = 0; f < qv::VC_JavaClassVariable::kFieldCount; ++f) {
        QV_FUZZ_CHECK(first.aVariables[k].Value(f) == second.aVariables[k].Value(f), "variable value");
      }
    }
  }
  return 0;
}
