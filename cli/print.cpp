#include "cli/print.h"

#include <cstdio>

namespace quorvane::cli {

void PrintField(const char* sLabel, std::string_view s, int nIndent) {
  std::printf("%*s%-12s %.*s\n", nIndent, "", sLabel, static_cast<int>(s.size()), s.data());
}

void PrintBlock(const char* sLabel, std::string_view s, int nIndent) {
  std::printf("%*s%s\n", nIndent, "", sLabel);
  size_t nBegin = 0;
  while (nBegin < s.size()) {
    size_t nEnd = s.find('\n', nBegin);
    if (nEnd == std::string_view::npos) nEnd = s.size();
    std::string_view sLine = s.substr(nBegin, nEnd - nBegin);
    while (!sLine.empty() && sLine.back() == '\r') sLine.remove_suffix(1);
    std::printf("%*s  | %.*s\n", nIndent, "", static_cast<int>(sLine.size()), sLine.data());
    nBegin = nEnd + 1;
  }
}

}  // namespace quorvane::cli
