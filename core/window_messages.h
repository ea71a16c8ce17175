// SPDX-License-Identifier: Apache-2.0
// The window messages the library sends, by number.
#pragma once

#include <cstdint>

namespace qv {

// Sent to the MDI frame after each class a repository load has read;
// wParam 0, lParam the number of classes read so far.
inline constexpr int64_t kMsgRepositoryLoadProgress = 16499;

// The Windows set-redraw message: wParam 0 switches a window's painting off,
// 1 back on.
inline constexpr int64_t kMsgSetRedraw = 11;
// The Windows close request.
inline constexpr int64_t kMsgClose = 16;

}  // namespace qv
