// SPDX-License-Identifier: Apache-2.0
// The external libraries the module binds when it is attached, and the
// external functions it calls through them.
//
// Library table: "User32", "Kernel32", "Gdi32", then "uitk60" in slots 3 to
// 22.  Every external function the library calls has one row in the function
// table: its library slot and its export ordinal (or its name).  A row is
// bound on its first call and kept; a failed lookup is fatal.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/list_ops.h"

namespace qv {

inline constexpr int kLibrarySlots = 23;
constexpr std::string_view LibraryName(int nSlot) {
  switch (nSlot) {
    case 0:
      return "User32";
    case 1:
      return "Kernel32";
    case 2:
      return "Gdi32";
    default:
      return "uitk60";
  }
}

inline constexpr int kUser32 = 0;
inline constexpr int kToolkit = 3;

struct ExternalFunctionRow {
  const char* sLabel;  // the library's own name for the function
  int nSlot;           // library-table slot
  int nOrdinal;        // export ordinal, or 0 when bound by name
  const char* sName;   // export name, or nullptr when bound by ordinal
};

// X-list of the function table: X(enumerator, slot, ordinal, name-or-nullptr)
#define QV_EXTERNAL_FUNCTIONS(X)                 \
  X(VtStrScanReverse, kToolkit, 10, nullptr)     \
  X(VtDirExists, kToolkit, 22, nullptr)          \
  X(VtListSubdirectories, kToolkit, 32, nullptr) \
  X(VtListFiles, kToolkit, 34, nullptr)          \
  X(VtFileCopy, kToolkit, 37, nullptr)           \
  X(VtFileRename, kToolkit, 52, nullptr)         \
  X(VtStrReplace, kToolkit, 62, nullptr)         \
  X(VtArrayFindString, kToolkit, 149, nullptr)   \
  X(VtArraySort, kToolkit, 150, nullptr)         \
  X(VtArrayCopy, kToolkit, 165, nullptr)         \
  X(VtCreateFont, kToolkit, 199, nullptr)        \
  X(WinIsWindow, kUser32, 47, nullptr)           \
  X(MoveWindow, kUser32, 0, "MoveWindow")        \
  X(VtGetSelection, kToolkit, 94, nullptr)       \
  X(VtGetItemText, kToolkit, 87, nullptr)        \
  X(VtGetItemValue, kToolkit, 80, nullptr)       \
  X(VtErrorPrompt, kToolkit, 135, nullptr)       \
  QV_LIST_BOX_FAMILY(QV_LIST_OP_EXTERNAL, X)

// A row of the list-box family (core/list_ops.h) as a row of the function table.
#define QV_LIST_OP_EXTERNAL(X, member, id, ordinal, fn, ...) X(fn, kToolkit, ordinal, nullptr)

enum class ExternalFunction : int {
#define QV_EXTERNAL_ENUM(e, slot, ordinal, name) e,
  QV_EXTERNAL_FUNCTIONS(QV_EXTERNAL_ENUM)
#undef QV_EXTERNAL_ENUM
};

inline constexpr ExternalFunctionRow kExternalFunctions[] = {
#define QV_EXTERNAL_ROW(e, slot, ordinal, name) {#e, slot, ordinal, name},
    QV_EXTERNAL_FUNCTIONS(QV_EXTERNAL_ROW)
#undef QV_EXTERNAL_ROW
};
inline constexpr int kExternalFunctionCount = static_cast<int>(sizeof(kExternalFunctions) /
                                                               sizeof(kExternalFunctions[0]));

constexpr const ExternalFunctionRow& ExternalRow(ExternalFunction e) { return kExternalFunctions[static_cast<int>(e)]; }
// The ordinal at which the library binds e.
constexpr int32_t OrdinalOf(ExternalFunction e) { return ExternalRow(e).nOrdinal; }

}  // namespace qv
