// The window messages the library sends, by number.
#pragma once

#include <cstdint>

namespace qv {

// Sent to the MDI frame after each class a repository load has read;
// wParam 0, lParam the number of classes read so far.
inline constexpr int64_t kMsgRepositoryLoadProgress = 16499;

}  // namespace qv
