// SPDX-License-Identifier: Apache-2.0
#include "host/toolkit/toolkit_lists.h"

#include <algorithm>

#include "core/external.h"

namespace qv {

bool ToolkitLess(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(a[i]);
    auto cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
    if (ca != cb) return ca < cb;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

const ToolkitLists::List* ToolkitLists::Find(WindowHandle hWnd) const {
  const auto it = aLists_.find(hWnd.nValue);
  return it == aLists_.end() ? nullptr : &it->second;
}

void ToolkitLists::QueueResults(int32_t nOrdinal, const std::vector<int32_t>& aResults) {
  auto& aQueue = aQueued_[nOrdinal];
  aQueue.insert(aQueue.end(), aResults.begin(), aResults.end());
}

void ToolkitLists::ClearScripts() {
  aQueued_.clear();
  aStanding_.clear();
  aReceives_.clear();
  aTexts_.clear();
}

std::vector<ToolkitLists::Call> ToolkitLists::CallsOf(int32_t nOrdinal) const {
  std::vector<Call> aFound;
  std::copy_if(aCalls_.begin(), aCalls_.end(), std::back_inserter(aFound),
               [nOrdinal](const Call& call) { return call.nOrdinal == nOrdinal; });
  return aFound;
}

// The item an operation on the own window addresses by its first argument.
const ToolkitLists::Item* ToolkitLists::ItemOf(const Call& call) const {
  const List* pList = call.bOwnWindow ? Find(call.hWnd) : nullptr;
  if (pList == nullptr || call.aArgs.empty()) return nullptr;
  const int32_t nIndex = call.aArgs.front().nValue;
  if (nIndex < 0 || static_cast<size_t>(nIndex) >= pList->aItems.size()) return nullptr;
  return &pList->aItems[static_cast<size_t>(nIndex)];
}

int32_t ToolkitLists::ModelResult(const Call& call) const {
  const Item* pItem = ItemOf(call);
  const List* pList = call.bOwnWindow ? Find(call.hWnd) : nullptr;
  switch (call.nOrdinal) {
    case OrdinalOf(ExternalFunction::VtGetSelection):
      return pList != nullptr ? pList->nSelection : -1;
    case OrdinalOf(ExternalFunction::VtGetListStyle):
      return pList != nullptr ? pList->nStyle : 0;
    case OrdinalOf(ExternalFunction::VtGetItemValue):
      return pItem != nullptr ? pItem->nValue : 0;
    case OrdinalOf(ExternalFunction::VtGetItemFlags):
      return pItem != nullptr ? pItem->nFlags : -1;
    case OrdinalOf(ExternalFunction::VtGetItemColor):
      return pItem != nullptr ? pItem->nColor : 0;
    case OrdinalOf(ExternalFunction::VtGetItemFont):
      return pItem != nullptr ? pItem->nFont : 0;
    case OrdinalOf(ExternalFunction::VtGetItemHandle):
      return pItem != nullptr ? pItem->hItem : 0;
    case OrdinalOf(ExternalFunction::VtListOp151):
      return pItem != nullptr ? 1 : 0;
    default:
      return 1;
  }
}

int32_t ToolkitLists::Serve(Call call, std::span<int32_t* const> aReceives) {
  aCalls_.push_back(std::move(call));
  const Call& recorded = aCalls_.back();

  if (const auto it = aReceives_.find(recorded.nOrdinal); it != aReceives_.end()) {
    for (size_t i = 0; i < aReceives.size() && i < it->second.size(); ++i) *aReceives[i] = it->second[i];
  } else if (recorded.nOrdinal == OrdinalOf(ExternalFunction::VtListOp151) && aReceives.size() == 2) {
    if (const Item* pItem = ItemOf(recorded)) {
      *aReceives[0] = pItem->nValueA;
      *aReceives[1] = pItem->nValueB;
    }
  }

  if (const auto it = aQueued_.find(recorded.nOrdinal); it != aQueued_.end() && !it->second.empty()) {
    const int32_t n = it->second.front();
    it->second.pop_front();
    return n;
  }
  if (const auto it = aStanding_.find(recorded.nOrdinal); it != aStanding_.end()) return it->second;
  return ModelResult(recorded);
}

String ToolkitLists::ServeText(Call call) {
  aCalls_.push_back(std::move(call));
  const Call& recorded = aCalls_.back();
  if (const auto it = aTexts_.find(recorded.nOrdinal); it != aTexts_.end()) return it->second;
  if (recorded.nOrdinal == OrdinalOf(ExternalFunction::VtGetItemText)) {
    if (const Item* pItem = ItemOf(recorded)) return pItem->sText;
  }
  return String();
}

String ToolkitLists::Prompt(std::string_view sCaption) {
  const int32_t nPrompt = OrdinalOf(ExternalFunction::VtErrorPrompt);
  String sText = "List operation failed.";
  for (auto it = aCalls_.rbegin(); it != aCalls_.rend(); ++it) {
    if (it->nOrdinal != nPrompt) {
      sText = "List operation " + std::to_string(it->nOrdinal) + " failed.";
      break;
    }
  }
  Record({nPrompt, false, {}, {Arg{Arg::kText, 0, String(sCaption)}}});
  return sText;
}

int32_t ToolkitLists::AddItem(WindowHandle hWnd, Item item) {
  std::vector<Item>& aItems = At(hWnd).aItems;
  aItems.push_back(std::move(item));
  return static_cast<int32_t>(aItems.size()) - 1;
}

}  // namespace qv
