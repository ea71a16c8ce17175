// SPDX-License-Identifier: Apache-2.0
// The INI document model on any bytes and any writes, without files.  A key
// that Set reports written reads back as written, from the same document
// and from one parsed afresh from its bytes, and every other key reads as
// before; a refused write leaves the bytes as they were.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "host/ini/ini_document.h"

namespace {

using Names = std::set<std::string>;

// The section and key names the file may hold: every "[...]" line's name
// and every text before an "=", as the lines are split at CR and LF.  UTF-16
// files are probed by the names written into them.
void CollectNames(const std::string& sText, Names& aSections, Names& aKeys) {
  size_t nFrom = 0;
  while (nFrom <= sText.size()) {
    size_t nEnd = sText.find_first_of("\r\n", nFrom);
    if (nEnd == std::string::npos) nEnd = sText.size();
    const std::string sLine = sText.substr(nFrom, nEnd - nFrom);
    if (!sLine.empty() && sLine.front() == '[') {
      aSections.insert(sLine.substr(1, sLine.find(']') == std::string::npos ? std::string::npos : sLine.find(']') - 1));
    } else if (const size_t nEqual = sLine.find('='); nEqual != std::string::npos) {
      aKeys.insert(sLine.substr(0, nEqual));
    }
    nFrom = nEnd + 1;
  }
}

using Snapshot = std::vector<std::pair<int64_t, std::string>>;

Snapshot Read(const qv::IniDocument& ini, const Names& aSections, const Names& aKeys) {
  Snapshot a;
  for (const std::string& sSection : aSections) {
    for (const std::string& sKey : aKeys) {
      const std::optional<std::string_view> sValue = ini.Get(sSection, sKey);
      a.emplace_back(sValue ? 1 : 0, sValue ? std::string(*sValue) : std::string());
    }
  }
  return a;
}

// Folds ASCII letters and trims blanks, as the engine compares names.
std::string NameForm(std::string_view s) {
  const size_t nFirst = s.find_first_not_of(" \t");
  if (nFirst == std::string_view::npos) return {};
  s = s.substr(nFirst, s.find_last_not_of(" \t") - nFirst + 1);
  std::string sOut(s);
  for (char& c : sOut) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return sOut;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  FuzzedDataProvider in(pData, nSize);
  const std::string sFile = in.ConsumeRandomLengthString(4096);
  qv::IniDocument ini(sFile);
  Names aSections, aKeys;
  CollectNames(sFile, aSections, aKeys);

  for (int nWrite = 0; nWrite < 4 && in.remaining_bytes() > 0; ++nWrite) {
    const std::string sSection = in.ConsumeRandomLengthString(16);
    const std::string sKey = in.ConsumeRandomLengthString(16);
    const std::string sValue = in.ConsumeRandomLengthString(32);
    aSections.insert(sSection);
    aKeys.insert(sKey);
    const Snapshot aBefore = Read(ini, aSections, aKeys);
    const std::string sBytesBefore = ini.Bytes();

    bool bChanged = false;
    if (const std::string sWhy = ini.Set(sSection, sKey, sValue, bChanged); !sWhy.empty()) {
      QV_FUZZ_CHECK(ini.Bytes() == sBytesBefore, "a refused write changed the bytes");
      QV_FUZZ_CHECK(!bChanged, "a refused write reported a change");
      continue;
    }
    const std::optional<std::string_view> sRead = ini.Get(sSection, sKey);
    QV_FUZZ_CHECK(sRead && *sRead == sValue,
                  "written: [" + sValue + "] read: [" + std::string(sRead.value_or("")) + "]");
    const qv::IniDocument fresh(ini.Bytes());
    const std::optional<std::string_view> sFresh = fresh.Get(sSection, sKey);
    QV_FUZZ_CHECK(sFresh && *sFresh == sValue,
                  "a fresh parse reads [" + std::string(sFresh.value_or("")) + "] for [" + sValue + "]");

    // Every other key reads as before, in both documents.
    const Snapshot aAfter = Read(ini, aSections, aKeys);
    const Snapshot aFresh = Read(fresh, aSections, aKeys);
    QV_FUZZ_CHECK(aAfter == aFresh, "the document and a fresh parse of its bytes disagree");
    size_t i = 0;
    for (const std::string& sS : aSections) {
      for (const std::string& sK : aKeys) {
        const bool bWritten = NameForm(sS) == NameForm(sSection) && NameForm(sK) == NameForm(sKey);
        QV_FUZZ_CHECK(bWritten || aAfter[i] == aBefore[i], "[" + sS + "] " + sK + " changed");
        ++i;
      }
    }
  }
  return 0;
}
