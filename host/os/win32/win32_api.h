// SPDX-License-Identifier: Apache-2.0
// <windows.h> for the Windows host files, without the macros that would
// rename the host interfaces' own functions (MessageBox, SendMessage,
// LoadLibrary, ...): these files call the ANSI functions by their full names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CreateFont
#undef CreateWindow
#undef FreeLibrary
#undef GetObject
#undef GetWindowText
#undef LoadLibrary
#undef MessageBox
#undef SendMessage
