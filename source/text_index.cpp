#include "source/text_index.h"

#include <algorithm>
#include <cstddef>

#include "core/rt_string.h"

namespace qv {

KeyPositions::KeyPositions(std::string_view sText, std::string_view sKey)
    : sText_(sText), sKey_(sKey), nKeyLength_(static_cast<int64_t>(sKey.size())) {
  if (sKey.empty()) nSearched_ = sText.size() + 1;
}

void KeyPositions::FindUpTo(int64_t nPos) const {
  if (!aPos_.empty() && aPos_.back() >= nPos) return;
  while (nSearched_ <= sText_.size()) {
    const size_t n = RtStrFind(sText_, sKey_, nSearched_);
    if (n == std::string_view::npos) {
      nSearched_ = sText_.size() + 1;
      return;
    }
    aPos_.push_back(static_cast<int64_t>(n));
    nSearched_ = n + 1;
    if (static_cast<int64_t>(n) >= nPos) return;
  }
}

int64_t KeyPositions::FirstFrom(int64_t nPos) const {
  if (nPos < 0) return -1;
  FindUpTo(nPos);
  // The answer is the first element >= nPos.  Gallop forward from the last
  // answer when nPos lies beyond it, else search the part before it.
  const size_t nSize = aPos_.size();
  size_t nLow = 0;
  size_t nHigh = nSize;
  if (nHint_ < nSize && aPos_[nHint_] < nPos) {
    nLow = nHint_ + 1;
    size_t nStep = 1;
    while (nLow + nStep < nSize && aPos_[nLow + nStep] < nPos) {
      nLow += nStep + 1;
      nStep *= 2;
    }
    nHigh = std::min(nSize, nLow + nStep + 1);
  } else if (nHint_ < nSize && (nHint_ == 0 || aPos_[nHint_ - 1] < nPos)) {
    return aPos_[nHint_];  // the same answer as last time
  } else {
    nHigh = std::min(nSize, nHint_ + 1);
  }
  const auto it = std::lower_bound(aPos_.begin() + static_cast<std::ptrdiff_t>(nLow),
                                   aPos_.begin() + static_cast<std::ptrdiff_t>(nHigh), nPos);
  nHint_ = static_cast<size_t>(it - aPos_.begin());
  return nHint_ == nSize ? -1 : aPos_[nHint_];
}

int64_t KeyPositions::ScanAt(int64_t nPos) const {
  const int64_t nFound = FirstFrom(nPos);
  return nFound == -1 ? -1 : nFound - nPos;
}

int64_t KeyPositions::ScanNext(int64_t nPos) const {
  const int64_t nSkip = nPos + nKeyLength_;
  return nSkip + ScanAt(nSkip);
}

CommentIndex::CommentIndex(std::string_view sText) : oOpen_(sText, "/*"), oClose_(sText, "*/") {}

int64_t CommentIndex::InComment(const KeyPositions& oKey, int64_t nPos) const {
  if (oKey.ScanAt(nPos) == -1) return -1;
  const int64_t nClose = oClose_.ScanAt(nPos);
  if (nClose == -1) return 0;
  const int64_t nOpen = oOpen_.ScanAt(nPos);
  return nClose < nOpen ? 1 : 0;
}

}  // namespace qv
