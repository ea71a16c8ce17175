// The INI engine on any file and any writes.  A key that WriteString
// reports written reads back as written, through the same object and a
// fresh one, and every other key reads as before; a refused write leaves the
// file byte for byte as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "host/ini_profiles.h"

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

Snapshot Read(qv::IniProfiles& ini, const Names& aSections, const Names& aKeys) {
  Snapshot a;
  for (const std::string& sSection : aSections) {
    for (const std::string& sKey : aKeys) {
      std::string sValue;
      const int64_t n = ini.GetString(sSection, sKey, "\x01", sValue, "f.ini");
      a.emplace_back(n, sValue);
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
  qv::fuzz::Harness& h = qv::fuzz::TheHarness();
  FuzzedDataProvider in(pData, nSize);
  const std::string sFile = in.ConsumeRandomLengthString(4096);
  h.Write("f.ini", sFile);
  qv::IniProfiles ini(h.Dir());
  Names aSections, aKeys;
  CollectNames(sFile, aSections, aKeys);

  for (int nWrite = 0; nWrite < 4 && in.remaining_bytes() > 0; ++nWrite) {
    const std::string sSection = in.ConsumeRandomLengthString(16);
    const std::string sKey = in.ConsumeRandomLengthString(16);
    const std::string sValue = in.ConsumeRandomLengthString(32);
    aSections.insert(sSection);
    aKeys.insert(sKey);
    const Snapshot aBefore = Read(ini, aSections, aKeys);
    const std::string sBytesBefore = h.Read("f.ini");

    if (!ini.WriteString(sSection, sKey, sValue, "f.ini")) {
      QV_FUZZ_CHECK(h.Read("f.ini") == sBytesBefore, "a refused write changed the file");
      QV_FUZZ_CHECK(!ini.LastWriteError().empty(), "a refused write without a reason");
      continue;
    }
    std::string sRead;
    ini.GetString(sSection, sKey, "\x01", sRead, "f.ini");
    QV_FUZZ_CHECK(sRead == sValue, "written: [" + sValue + "] read: [" + sRead + "]");
    qv::IniProfiles fresh(h.Dir());
    fresh.GetString(sSection, sKey, "\x01", sRead, "f.ini");
    QV_FUZZ_CHECK(sRead == sValue, "a fresh object reads [" + sRead + "] for [" + sValue + "]");

    // Every other key reads as before, through both objects.
    const Snapshot aAfter = Read(ini, aSections, aKeys);
    const Snapshot aFresh = Read(fresh, aSections, aKeys);
    QV_FUZZ_CHECK(aAfter == aFresh, "the same object and a fresh one disagree");
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
