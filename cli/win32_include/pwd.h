// SPDX-License-Identifier: Apache-2.0
/* <pwd.h> for the Windows build of the command: Windows has no user
 * database of this kind, so there is no entry for anyone and the command
 * falls back on its other ways of finding a home directory. */
#pragma once

struct passwd {
  char* pw_dir;
};

static inline int getuid(void) { return 0; }
static inline int getpwuid_r(int nUid, struct passwd* pEntry, char* pBuffer, unsigned long nSize,
                             struct passwd** ppResult) {
  (void)nUid;
  (void)pEntry;
  (void)pBuffer;
  (void)nSize;
  *ppResult = 0;
  return 0;
}
