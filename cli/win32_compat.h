// The POSIX functions the command uses that the Windows C runtime lacks,
// declared for the Windows build (forced into each command file by CMake)
// and defined in cli/win32_compat.cpp.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif
// Replaces the trailing "XXXXXX" of sTemplate and creates that directory;
// sTemplate, or NULL when no directory could be made.
char* mkdtemp(char* sTemplate);
#ifdef __cplusplus
}
#endif
