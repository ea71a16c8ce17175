// SPDX-License-Identifier: Apache-2.0
// A list of names with an index from each name to its positions.
//
// The repository's class-name and superclass lists are searched for every
// class (FindClass, FindSubClasses); the index answers those searches
// without walking the list, with exactly the results of a walk: the lowest
// position of a name, or all its positions in ascending order.  The list is
// changed only through Set, Assign and Clear, which keep the index right.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/values.h"

namespace qv {

class IndexedNames {
 public:
  int64_t Count() const { return aNames_.Count(); }
  bool Empty() const { return aNames_.Empty(); }
  // The name at nIndex; the empty text outside the list.
  const String& operator[](int64_t nIndex) const { return aNames_.Get(nIndex); }
  const DynArray<String>& Items() const { return aNames_; }

  // Stores sName at nIndex, extending the list (the gap holds empty names).
  // A negative index changes nothing.
  void Set(int64_t nIndex, std::string_view sName);
  void Assign(std::vector<String> aNames);
  // Room for nCount names, so that filling the list does not regrow it.
  void Reserve(int64_t nCount);
  void Clear();

  // The lowest position holding exactly sName, or -1.
  int64_t First(std::string_view sName) const;
  // Every position holding exactly sName, ascending; empty when none.
  const std::vector<int64_t>& Positions(std::string_view sName) const;

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  void Add(int64_t nIndex, const String& sName);
  void Remove(int64_t nIndex, const String& sName);

  DynArray<String> aNames_;
  std::unordered_map<String, std::vector<int64_t>, Hash, std::equal_to<>> aIndex_;
  std::vector<int64_t> aNone_;
};

}  // namespace qv
