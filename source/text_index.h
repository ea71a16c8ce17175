// Precomputed answers to the text utilities' position questions over one
// text.
//
// The Java source parser asks StrScanAt, StrScanNext and StrInComment about
// the same text again and again, from positions that move forward.  Asked
// plainly, each question scans forward until it finds its key, so a text
// whose comments hold many keyword occurrences far from the next "/*" costs
// time quadratic in its size.  These classes find every occurrence once and
// answer each question by binary search, with exactly the answers of the
// plain functions in source/text_utils.h over the same text.
//
// An index describes the text it was built from: the preamble, a prefix of
// the file text, gets an index of its own (an occurrence that straddles the
// end of the prefix is not an occurrence in the prefix).  An index keeps a
// search hint and belongs to one call on one thread.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qv {

// Every position at which a key begins in a text, overlapping occurrences
// included, in ascending order.  The text is searched only as far as the
// questions reach: the parser asks about the start of a file, and a file's
// body is long.  The text must outlive the index.
class KeyPositions {
 public:
  // sKey must not be empty.
  KeyPositions(std::string_view sText, std::string_view sKey);

  int64_t KeyLength() const { return nKeyLength_; }
  // The absolute position of the first occurrence at or after nPos, or -1.
  // A negative nPos finds nothing, as the plain search then searches an
  // empty tail.  Any order of questions is answered; questions that move
  // forward, as the parser's do, cost amortised constant time.
  int64_t FirstFrom(int64_t nPos) const;
  // StrScanAt(sText, sKey, nPos): relative to nPos, or -1.
  int64_t ScanAt(int64_t nPos) const;
  // StrScanNext(sText, sKey, nPos).
  int64_t ScanNext(int64_t nPos) const;
  // The last occurrence before nPos, or -1.
  int64_t LastBefore(int64_t nPos) const;
  // Whether two occurrences of the key can overlap ("aa" in "aaa").
  bool Overlaps() const { return bOverlaps_; }

 private:
  // How far beyond the searched part a question must reach for the search
  // to leap there; also the first stretch a search covers.
  static constexpr size_t kLeap = 1024;

  // Finds occurrences until one at or after nPos is known or the text ends.
  void FindUpTo(int64_t nPos) const;
  // Searches the gap a leap left, if any.
  void FillGap() const;

  std::string_view sText_;
  std::string_view sKey_;
  // Every occurrence that begins before nSearched_, in order, except those
  // in the gap [nGapFrom_, nGapTo_) when it is not empty.
  mutable std::vector<int64_t> aPos_;
  mutable size_t nSearched_ = 0;
  mutable size_t nGapFrom_ = 0;
  mutable size_t nGapTo_ = 0;
  int64_t nKeyLength_;
  bool bOverlaps_ = false;
  // Index of the last answer: the search for the next one starts there.
  mutable size_t nHint_ = 0;
};

// The block-comment delimiters "/*" and "*/" of a text.
class CommentIndex {
 public:
  explicit CommentIndex(std::string_view sText);

  // StrInComment(sText, sKey, nPos), where oKey holds the positions of sKey
  // in the same text: -1, 0 or 1.
  int64_t InComment(const KeyPositions& oKey, int64_t nPos) const;
  // The position that "while (InComment(oKey, nPos) == 1) nPos =
  // oKey.ScanNext(nPos);" ends at, without visiting every occurrence that a
  // long comment holds.
  int64_t SkipCommented(const KeyPositions& oKey, int64_t nPos) const;

 private:
  KeyPositions oOpen_;
  KeyPositions oClose_;
};

}  // namespace qv
