#include "cli/win32_compat.h"

#include "host/win32_api.h"

#include <cstdio>
#include <cstring>

extern "C" char* mkdtemp(char* sTemplate) {
  const size_t n = std::strlen(sTemplate);
  if (n < 6 || std::strcmp(sTemplate + n - 6, "XXXXXX") != 0) return nullptr;
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned nSeed = GetTickCount() ^ (GetCurrentProcessId() << 16);
  for (int nTry = 0; nTry < 100; ++nTry) {
    for (size_t i = n - 6; i < n; ++i) {
      nSeed = nSeed * 1103515245u + 12345u;
      sTemplate[i] = kLetters[(nSeed >> 16) % (sizeof(kLetters) - 1)];
    }
    if (CreateDirectoryA(sTemplate, nullptr)) return sTemplate;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return nullptr;
  }
  return nullptr;
}
