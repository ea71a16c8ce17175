#include "source/text_index.h"

#include <algorithm>
#include <cstddef>

#include "core/rt_string.h"

namespace qv {

KeyPositions::KeyPositions(std::string_view sText, std::string_view sKey)
    : sText_(sText), sKey_(sKey), nKeyLength_(static_cast<int64_t>(sKey.size())) {
  if (sKey.empty()) nSearched_ = sText.size() + 1;
  for (size_t nShift = 1; nShift < sKey.size() && !bOverlaps_; ++nShift) {
    bOverlaps_ = sKey.substr(nShift) == sKey.substr(0, sKey.size() - nShift);
  }
}

void KeyPositions::FindUpTo(int64_t nPos) const {
  if (!aPos_.empty() && aPos_.back() >= nPos) return;
  // A question far beyond the searched part needs nothing in between: the
  // search leaps there and leaves a gap, searched only when a question
  // reaches into it.  One gap at a time.
  if (nGapFrom_ == nGapTo_ && nPos > 0 && static_cast<size_t>(nPos) > nSearched_ + kLeap &&
      static_cast<size_t>(nPos) <= sText_.size()) {
    nGapFrom_ = nSearched_;
    nGapTo_ = nSearched_ = static_cast<size_t>(nPos);
  }
  // A stretch at a time, up to nPos at least: one pass over a stretch finds
  // all its occurrences, and the stretches double, so a far answer costs
  // few passes while a near one searches little beyond it.
  size_t nStretch = kLeap;
  while (nSearched_ <= sText_.size()) {
    const size_t nWanted = nPos < 0 ? 0 : static_cast<size_t>(nPos) + 1;
    const size_t nTo = std::min(std::max(nWanted, nSearched_ + nStretch), sText_.size() + 1);
    RtStrFindAll(sText_, sKey_, nSearched_, nTo, aPos_);
    nSearched_ = nTo;
    nStretch *= 2;
    if (!aPos_.empty() && aPos_.back() >= nPos) return;
  }
}

void KeyPositions::FillGap() const {
  if (nGapFrom_ == nGapTo_) return;
  std::vector<int64_t> aGap;
  RtStrFindAll(sText_, sKey_, nGapFrom_, nGapTo_, aGap);
  const auto it = std::lower_bound(aPos_.begin(), aPos_.end(), static_cast<int64_t>(nGapTo_));
  aPos_.insert(it, aGap.begin(), aGap.end());
  nGapFrom_ = nGapTo_ = 0;
  nHint_ = 0;
}

int64_t KeyPositions::LastBefore(int64_t nPos) const {
  FindUpTo(nPos);
  if (nPos > static_cast<int64_t>(nGapFrom_)) FillGap();
  const auto it = std::lower_bound(aPos_.begin(), aPos_.end(), nPos);
  return it == aPos_.begin() ? -1 : *(it - 1);
}

int64_t KeyPositions::FirstFrom(int64_t nPos) const {
  if (nPos < 0) return -1;
  if (nPos < static_cast<int64_t>(nGapTo_)) FillGap();
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

int64_t CommentIndex::SkipCommented(const KeyPositions& oKey, int64_t nPos) const {
  const int64_t nKey = oKey.KeyLength();
  while (InComment(oKey, nPos) == 1) {
    // Every position from nPos up to the "*/" that closes this comment is
    // in it as well: that "*/" and the next "/*" are the same from all of
    // them.  The walk below would visit the key's occurrences up to that
    // "*/" one by one.  When occurrences cannot overlap, it visits every
    // one of them and then the first after the "*/", if there is one, so
    // the walk may go there at once.
    if (!oKey.Overlaps()) {
      const int64_t nClose = oClose_.FirstFrom(nPos);
      const int64_t nAfter = oKey.FirstFrom(std::max(nClose + 1, nPos + nKey));
      if (nAfter != -1) {
        nPos = nAfter;
        continue;
      }
      const int64_t nLast = oKey.LastBefore(nClose + 1);
      if (nLast >= nPos + nKey) nPos = nLast;
    }
    nPos = oKey.ScanNext(nPos);
  }
  return nPos;
}

}  // namespace qv
