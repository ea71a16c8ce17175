// SPDX-License-Identifier: Apache-2.0
#include "core/byte_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace qv::byte_scan {
namespace {

// A random text made mostly of the bytes the searches stop at, some dense,
// some sparse, so that the bytes fall at every place of a 16-byte block and
// in the tail past the last whole block.  Most texts are short; one in a
// hundred is long enough (up to 9,000 bytes) for the line count's per-lane
// sums to be taken more than once, and one in two hundred is LFs only, which
// fills each lane's count to its limit.
std::string RandomText(std::mt19937& rng, int nRound) {
  if (nRound % 200 == 100) return std::string(std::uniform_int_distribution<size_t>(4000, 9000)(rng), '\n');
  static constexpr char kStops[] = {'*', '/', '\\', '\n', '\r', '"', '\'', '{', '}', 'u', ' ', '\xff'};
  const size_t nMax = nRound % 100 == 0 ? 9000 : 80;
  std::string s(std::uniform_int_distribution<size_t>(0, nMax)(rng), 'x');
  const unsigned nDensity = std::uniform_int_distribution<unsigned>(1, 24)(rng);
  for (char& c : s) {
    if (rng() % nDensity == 0) c = kStops[rng() % sizeof kStops];
  }
  return s;
}

TEST(ByteScan, TheSse2PathsAgreeWithThePlainLoops) {
  if constexpr (kFastest != Path::kSse2) GTEST_SKIP() << "the machine has no SSE2";
  std::mt19937 rng(20261210);
  for (int nRound = 0; nRound < 20000; ++nRound) {
    const std::string s = RandomText(rng, nRound);
    const size_t i = rng() % (s.size() + 1);
    ASSERT_EQ((FindAny<Path::kScalar, '\r', '\n', '\\'>(s, i)), (FindAny<Path::kSse2, '\r', '\n', '\\'>(s, i))) << s;
    ASSERT_EQ((FindAny<Path::kScalar, '{', '}', '/', '"', '\'', '\\'>(s, i)),
              (FindAny<Path::kSse2, '{', '}', '/', '"', '\'', '\\'>(s, i)))
        << s;
    ASSERT_EQ(FindCommentClose<Path::kScalar>(s, i), FindCommentClose<Path::kSse2>(s, i)) << s;

    const LineEnds ends = CountLineEnds<Path::kScalar>(s.data(), s.size());
    const LineEnds endsSse2 = CountLineEnds<Path::kSse2>(s.data(), s.size());
    ASSERT_EQ(ends.nLf, endsSse2.nLf) << s;
    ASSERT_EQ(ends.bCr, endsSse2.bCr) << s;

    std::string sCrLf(s.size() + ends.nLf, '\0');
    std::string sCrLfSse2 = sCrLf;
    CopyWithCrLf<Path::kScalar>(s.data(), s.size(), sCrLf.data());
    CopyWithCrLf<Path::kSse2>(s.data(), s.size(), sCrLfSse2.data());
    ASSERT_EQ(sCrLf, sCrLfSse2) << s;
    // In place: the text at the end of the output's memory, one byte
    // behind for each LF.
    std::string sInPlace = std::string(ends.nLf, '\0') + s;
    CopyWithCrLf<Path::kSse2, true>(sInPlace.data() + ends.nLf, s.size(), sInPlace.data());
    ASSERT_EQ(sCrLf, sInPlace) << s;

    // A key of one to five bytes, of the same bytes as the text: each place
    // where it begins, and the first.
    std::string sKey(1 + rng() % 5, 'x');
    for (char& c : sKey) c = s.empty() ? '*' : s[rng() % s.size()];
    if (sKey.size() > s.size()) continue;
    const size_t nEnd = s.size() - sKey.size() + 1;
    const size_t nFrom = rng() % nEnd;
    std::vector<size_t> aPlaces, aPlacesSse2;
    FindPlaces<Path::kScalar>(s, sKey, nFrom, nEnd, [&](size_t n) {
      aPlaces.push_back(n);
      return false;
    });
    FindPlaces<Path::kSse2>(s, sKey, nFrom, nEnd, [&](size_t n) {
      aPlacesSse2.push_back(n);
      return false;
    });
    ASSERT_EQ(aPlaces, aPlacesSse2) << s << " / " << sKey;
    const auto First = [](size_t) { return true; };
    ASSERT_EQ(FindPlaces<Path::kScalar>(s, sKey, nFrom, nEnd, First),
              FindPlaces<Path::kSse2>(s, sKey, nFrom, nEnd, First));
  }
}

}  // namespace
}  // namespace qv::byte_scan
