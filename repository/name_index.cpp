// SPDX-License-Identifier: Apache-2.0
#include "repository/name_index.h"

#include <algorithm>

namespace qv {

void IndexedNames::Add(int64_t nIndex, const String& sName) {
  std::vector<int64_t>& aAt = aIndex_[sName];
  // Positions mostly arrive in ascending order (a file read from the top).
  if (aAt.empty() || aAt.back() < nIndex) {
    aAt.push_back(nIndex);
  } else {
    aAt.insert(std::lower_bound(aAt.begin(), aAt.end(), nIndex), nIndex);
  }
}

void IndexedNames::Remove(int64_t nIndex, const String& sName) {
  auto it = aIndex_.find(std::string_view(sName));
  if (it == aIndex_.end()) return;
  std::vector<int64_t>& aAt = it->second;
  auto at = std::lower_bound(aAt.begin(), aAt.end(), nIndex);
  if (at != aAt.end() && *at == nIndex) aAt.erase(at);
  if (aAt.empty()) aIndex_.erase(it);
}

void IndexedNames::Set(int64_t nIndex, std::string_view sName) {
  if (nIndex < 0) return;
  if (nIndex < Count()) {
    String& sOld = aNames_.At(nIndex);
    if (sOld == sName) return;
    Remove(nIndex, sOld);
    sOld = String(sName);
    Add(nIndex, sOld);
    return;
  }
  for (int64_t j = Count(); j < nIndex; ++j) {
    aNames_.Append(String());
    Add(j, aNames_[j]);
  }
  aNames_.Append(String(sName));
  Add(nIndex, aNames_[nIndex]);
}

void IndexedNames::Assign(std::vector<String> aNames) {
  Clear();
  aNames_.Items() = std::move(aNames);
  for (int64_t j = 0; j < Count(); ++j) Add(j, aNames_[j]);
}

void IndexedNames::Reserve(int64_t nCount) {
  if (nCount <= 0) return;
  aNames_.Items().reserve(static_cast<size_t>(nCount));
  aIndex_.reserve(static_cast<size_t>(nCount));
}

void IndexedNames::Clear() {
  aNames_.Clear();
  aIndex_.clear();
}

int64_t IndexedNames::First(std::string_view sName) const {
  auto it = aIndex_.find(sName);
  return it == aIndex_.end() ? -1 : it->second.front();
}

const std::vector<int64_t>& IndexedNames::Positions(std::string_view sName) const {
  auto it = aIndex_.find(sName);
  return it == aIndex_.end() ? aNone_ : it->second;
}

}  // namespace qv
