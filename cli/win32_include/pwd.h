/* <pwd.h> for the Windows build of the command: Windows has no user
 * database of this kind, so there is no entry for anyone and the command
 * falls back on its other ways of finding a home directory. */
#pragma once

struct passwd {
  char* pw_dir;
};

static inline int getuid(void) { return 0; }
static inline struct passwd* getpwuid(int nUid) {
  (void)nUid;
  return 0;
}
