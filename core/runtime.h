// SPDX-License-Identifier: Apache-2.0
// The host runtime's operations that reach outside the library (files,
// profiles, windows, the frame), under the runtime's names.  Each takes the
// Module whose host serves the call.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/module.h"

namespace qv {

// Frame.
inline bool RtIsExecuting(Module& m) { return m.Rt().IsExecuting(); }
[[noreturn]] inline void RtFatalError(Module& m, std::string_view sText) {
  m.Rt().FatalError(sText);
  std::abort();  // a host's fatal-error report does not return
}
inline DateTime RtCurrentDateTime(Module& m) { return m.Rt().CurrentDateTime(); }
// Forwards a host command and its result unchanged.
inline int32_t RtHostCommand(Module& m, int32_t nValue, int32_t nArg1, int32_t nArg2) {
  return m.Rt().HostCommand(nValue, nArg1, nArg2);
}
inline bool RtQueryThreeNumbers(Module& m, int32_t nValue, int32_t& nA, int32_t& nB, int32_t& nC) {
  return m.Rt().QueryThreeNumbers(nValue, nA, nB, nC);
}

// Files.
inline bool RtFileOpen(Module& m, FileHandle& hFile, std::string_view sPath, int nStyle) {
  return m.Files().Open(hFile, sPath, nStyle);
}
inline bool RtFileClose(Module& m, FileHandle hFile) { return m.Files().Close(hFile); }
inline bool RtFileGetLine(Module& m, FileHandle hFile, String& sLine, int64_t nMax) {
  return m.Files().GetLine(hFile, sLine, nMax);
}
inline bool RtFilePutLine(Module& m, FileHandle hFile, std::string_view sText) {
  return m.Files().PutLine(hFile, sText);
}
inline int64_t RtFileRead(Module& m, FileHandle hFile, String& sOut, int64_t nBytes) {
  return m.Files().Read(hFile, sOut, nBytes);
}
// Non-zero when all of sText was written.
inline bool RtFileWrite(Module& m, std::string_view sText, FileHandle hFile, int64_t nBytes) {
  const std::string_view sPart = sText.substr(0, static_cast<size_t>(nBytes < 0 ? 0 : nBytes));
  return m.Files().Write(hFile, sPart) == static_cast<int64_t>(sPart.size());
}
inline bool RtFileSeek(Module& m, FileHandle hFile, int64_t nOffset, int nOrigin) {
  return m.Files().Seek(hFile, nOffset, nOrigin);
}
inline int64_t RtFileTell(Module& m, FileHandle hFile) { return m.Files().Tell(hFile); }

// Profiles.
inline int64_t RtGetProfileString(Module& m, std::string_view sSection, std::string_view sKey,
                                  std::string_view sDefault, String& sValue, std::string_view sFile) {
  return m.Profile().GetString(sSection, sKey, sDefault, sValue, sFile);
}
inline bool RtWriteProfileString(Module& m, std::string_view sSection, std::string_view sKey, std::string_view sValue,
                                 std::string_view sFile) {
  return m.Profile().WriteString(sSection, sKey, sValue, sFile);
}
inline int64_t RtGetProfileInt(Module& m, std::string_view sSection, std::string_view sKey, int64_t nDefault,
                               std::string_view sFile) {
  return m.Profile().GetInt(sSection, sKey, nDefault, sFile);
}
inline void RtProfileAbsent(Module& m, bool bAbsent) { m.Profile().ProfileAbsent(bAbsent); }

// Windows.
// The context values as they are at the moment of the call: the current item
// and the current form are those of the message being handled.
inline WindowHandle RtCurrentItem(Module& m) { return m.Win().Context().hWndItem; }
inline WindowHandle RtCurrentForm(Module& m) { return m.Win().Context().hWndForm; }
inline WindowHandle RtNullWindow(Module& m) { return m.Win().Context().hWndNULL; }
inline WindowHandle RtGetParent(Module& m, WindowHandle hWnd) { return m.Win().GetParent(hWnd); }
inline int64_t RtGetObjectType(Module& m, WindowHandle hWnd) { return m.Win().GetObjectType(hWnd); }
inline String RtGetItemName(Module& m, WindowHandle hWnd) { return m.Win().GetItemName(hWnd); }
inline bool RtSetFont(Module& m, WindowHandle hWnd, std::string_view sName, Number nSize, Number nEnhancement) {
  return m.Win().SetFont(hWnd, sName, nSize, nEnhancement);
}
inline bool RtSetColor(Module& m, WindowHandle hWnd, int nIndex, Number nColor) {
  return m.Win().SetColor(hWnd, nIndex, nColor);
}
inline Number RtSendMessage(Module& m, WindowHandle hWnd, int64_t nMessage, Number nwParam, Number nlParam) {
  return m.Win().SendMessage(hWnd, nMessage, nwParam, nlParam);
}
inline void RtWaitCursor(Module& m, bool bOn) { m.Win().WaitCursor(bOn); }
inline Number RtMessageBox(Module& m, std::string_view sText, std::string_view sCaption, int64_t nStyle) {
  return m.Win().MessageBox(sText, sCaption, nStyle);
}
inline void RtQuit(Module& m) { m.Win().Quit(); }
inline bool RtQuitRequested(Module& m) { return m.Win().QuitRequested(); }

// Window geometry, the MDI frame and the current message.
inline WindowHandle RtMdiFrame(Module& m) { return m.Win().Context().hWndMDI; }
inline Number RtMessageWParam(Module& m) { return m.Win().Context().nwParam; }
inline Number RtMessageLParam(Module& m) { return m.Win().Context().nlParam; }
// The window's text, cut to nMax - 1 bytes when nMax > 0; returns its length.
inline int64_t RtGetWindowText(Module& m, WindowHandle hWnd, String& sText, int64_t nMax) {
  sText = m.Win().GetWindowText(hWnd);
  if (nMax > 0 && static_cast<int64_t>(sText.size()) > nMax - 1) sText.resize(static_cast<size_t>(nMax - 1));
  return static_cast<int64_t>(sText.size());
}
inline bool RtGetWindowSize(Module& m, WindowHandle hWnd, Number& nWidth, Number& nHeight) {
  return m.Win().GetWindowSize(hWnd, nWidth, nHeight);
}
inline bool RtSetWindowSize(Module& m, WindowHandle hWnd, Number nWidth, Number nHeight) {
  return m.Win().SetWindowSize(hWnd, nWidth, nHeight);
}
inline bool RtGetWindowPosition(Module& m, WindowHandle hWnd, Number& nLeft, Number& nTop) {
  return m.Win().GetWindowPosition(hWnd, nLeft, nTop);
}
inline bool RtSetWindowPosition(Module& m, WindowHandle hWnd, Number nLeft, Number nTop) {
  return m.Win().SetWindowPosition(hWnd, nLeft, nTop);
}
inline Number RtGetObjectWidth(Module& m, WindowHandle hWnd) { return m.Win().GetObjectWidth(hWnd); }
inline bool RtSetObjectWidth(Module& m, WindowHandle hWnd, Number nWidth) {
  return m.Win().SetObjectWidth(hWnd, nWidth);
}
inline bool RtInvalidateWindow(Module& m, WindowHandle hWnd) { return m.Win().InvalidateWindow(hWnd); }
inline bool RtUpdateWindow(Module& m, WindowHandle hWnd) { return m.Win().UpdateWindow(hWnd); }
// Element 0 of the host's argument strings: the application's name.
inline String RtAppName(Module& m) { return m.Win().Context().sAppName; }
inline void RtSetStaticsAsWindows(Module& m, bool bOn) { m.Win().SetStaticsAsWindows(bOn); }

}  // namespace qv
