// SPDX-License-Identifier: Apache-2.0
// The toolkit's list controls in the portable host: the least a list box of
// the library needs.  Each control, addressed by its window handle, holds a
// list of items, a selection and a style.  Every list operation the library
// calls is recorded with its arguments, and its result (and what it writes
// to receive arguments) can be scripted by a test or a host.
//
// What each operation does here:
//   94   the selected index, -1 when none (or no list)
//   87   the text of item nIndex, "" when there is none
//   80, 118, 102, 176, 141
//        value, flags, colour, font and item handle of item nIndex; for a
//        missing item 0, except the flags: -1 (the toolkit's failure)
//   110  the list's style, 0 without a list
//   151  writes the item's two values to its receive arguments; 1, or 0
//        (receives untouched) for a missing item
//   135  the error prompt: a Retry/Cancel message box naming the operation
//        called last, answered by the window system's message-box responder
//   any other ordinal: recorded, answers 1 and writes nothing back; the
//        String operation 260 answers "".
// Scripted results come first: a queued result (consumed in order), then a
// standing result, then the answer above; scripted receive values and texts
// replace the model's.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/list_scripting.h"
#include "core/values.h"

namespace qv {

// The toolkit's ascending text order: letters compare without regard to
// case; texts that differ only in case are ordered by their bytes, so the
// order is total and the same on every run.  The sort of list items and of
// the toolkit DLL's texts both use it.
bool ToolkitLess(std::string_view a, std::string_view b);

class ToolkitLists final : public ListScripting {
 public:
  using Item = ToolkitItem;
  struct List {
    std::vector<Item> aItems;
    int32_t nSelection = -1;
    int32_t nStyle = 0;
  };
  using Arg = ToolkitArg;
  using Call = ToolkitCall;

  // The list of a control, made empty on first use.
  List& At(WindowHandle hWnd) { return aLists_[hWnd.nValue]; }
  const List* Find(WindowHandle hWnd) const;

  // Scripting (ListScripting).
  int32_t AddItem(WindowHandle hWnd, Item item) override;
  void SetSelection(WindowHandle hWnd, int32_t nIndex) override { At(hWnd).nSelection = nIndex; }
  void SetStyle(WindowHandle hWnd, int32_t nStyle) override { At(hWnd).nStyle = nStyle; }
  void SetResult(int32_t nOrdinal, int32_t nResult) override { aStanding_[nOrdinal] = nResult; }
  void QueueResults(int32_t nOrdinal, const std::vector<int32_t>& aResults) override;
  void SetReceives(int32_t nOrdinal, std::vector<int32_t> aValues) override {
    aReceives_[nOrdinal] = std::move(aValues);
  }
  void SetText(int32_t nOrdinal, String sText) override { aTexts_[nOrdinal] = std::move(sText); }
  void ClearScripts() override;

  // The record.
  const std::vector<Call>& Calls() const override { return aCalls_; }
  std::vector<Call> CallsOf(int32_t nOrdinal) const;
  void ClearCalls() override { aCalls_.clear(); }

  // Serving the entry points: records the call and answers it.
  void Record(Call call) { aCalls_.push_back(std::move(call)); }
  int32_t Serve(Call call, std::span<int32_t* const> aReceives = {});
  String ServeText(Call call);
  // The error prompt with this caption: recorded as a call, its text
  // naming the list operation called last.
  String Prompt(std::string_view sCaption);

 private:
  const Item* ItemOf(const Call& call) const;
  int32_t ModelResult(const Call& call) const;

  std::map<uintptr_t, List> aLists_;
  std::map<int32_t, std::deque<int32_t>> aQueued_;
  std::map<int32_t, int32_t> aStanding_;
  std::map<int32_t, std::vector<int32_t>> aReceives_;
  std::map<int32_t, String> aTexts_;
  std::vector<Call> aCalls_;
};

}  // namespace qv
