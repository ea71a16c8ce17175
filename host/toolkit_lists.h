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

#include "core/values.h"

namespace qv {

// The toolkit's ascending text order: letters compare without regard to
// case; texts that differ only in case are ordered by their bytes, so the
// order is total and the same on every run.  The sort of list items and of
// the toolkit DLL's texts both use it.
bool ToolkitLess(std::string_view a, std::string_view b);

class ToolkitLists {
 public:
  struct Item {
    String sText;
    int32_t nValue = 0;
    int32_t nFlags = 0;
    int32_t nColor = 0;
    int32_t nFont = 0;
    int32_t hItem = 0;    // the item's handle, 0 for none
    int32_t nValueA = 0;  // the two values that operation 151 reports
    int32_t nValueB = 0;
  };
  struct List {
    std::vector<Item> aItems;
    int32_t nSelection = -1;
    int32_t nStyle = 0;
  };
  // One argument of a recorded call, after the window.
  struct Arg {
    enum Kind : int32_t { kInteger = 1, kText = 2, kString = 3, kReceive = 4 };
    Kind eKind = kInteger;
    int32_t nValue = 0;  // an integer; for a receive argument its value on entry
    String sText;        // a text, or the String itself
  };
  struct Call {
    int32_t nOrdinal = 0;
    bool bOwnWindow = false;
    WindowHandle hWnd;  // the window passed first, when the operation takes one
    std::vector<Arg> aArgs;
  };

  // The list of a control, made empty on first use.
  List& At(WindowHandle hWnd) { return aLists_[hWnd.nValue]; }
  const List* Find(WindowHandle hWnd) const;

  // Scripting.
  void SetResult(int32_t nOrdinal, int32_t nResult) { aStanding_[nOrdinal] = nResult; }
  void QueueResults(int32_t nOrdinal, const std::vector<int32_t>& aResults);
  void SetReceives(int32_t nOrdinal, std::vector<int32_t> aValues) { aReceives_[nOrdinal] = std::move(aValues); }
  void SetText(int32_t nOrdinal, String sText) { aTexts_[nOrdinal] = std::move(sText); }
  void ClearScripts();

  // The record.
  const std::vector<Call>& Calls() const { return aCalls_; }
  std::vector<Call> CallsOf(int32_t nOrdinal) const;
  void ClearCalls() { aCalls_.clear(); }

  // Serving the entry points: records the call and answers it.
  void Record(Call call) { aCalls_.push_back(std::move(call)); }
  int32_t Serve(Call call, std::span<int32_t* const> aReceives = {});
  String ServeText(Call call);
  // The text of the error prompt.
  String ErrorText() const;

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
