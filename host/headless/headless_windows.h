// SPDX-License-Identifier: Apache-2.0
// A headless window system: a tree of window objects with handles, whose
// traffic (messages sent, geometry calls, wait-cursor calls, message boxes)
// and state (text, position, size, fonts, colours, painting) is recorded so
// that tests and the command can observe it.
//
// Painting: a window paints while its own redraw switch and those of all its
// ancestors are on (message 11, the set-redraw message, switches it).  A
// window that is moved, resized or given a width while it paints is repainted
// at once; one changed while painting is off is not.  An invalidated window
// is repainted by the next update made while it paints.
//
// Geometry sets take Numbers as the library computed them: a null Number
// leaves that coordinate or extent as it was.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/host.h"
#include "core/host_application.h"

namespace qv {

class HeadlessWindows final : public Windows, public WindowScripting {
 public:
  struct Font {
    std::string sName;
    Number nSize;
    Number nEnhancement;
    friend bool operator==(const Font&, const Font&) = default;
  };
  struct Window {
    WindowHandle hWnd;
    WindowHandle hParent;
    int64_t nType = 0;
    std::string sName;
    std::string sText;
    std::optional<Font> font;             // the last font given, if any
    std::map<int, Number> aColors;        // colours set, by system colour index
    Number nLeft, nTop, nWidth, nHeight;  // inside the parent
    bool bRedraw = true;                  // the window's own redraw switch
    bool bInvalid = false;                // invalidated and not yet updated
    int nPaints = 0;                      // how often the window was repainted
    std::map<int64_t, Number> aAnswers;   // scripted results, by message
  };
  // A geometry or repaint operation asked of the window system, in order.
  enum class Op {
    kGetSize,
    kSetSize,
    kGetPosition,
    kSetPosition,
    kGetObjectWidth,
    kSetObjectWidth,
    kInvalidate,
    kUpdate
  };
  struct WindowCall {
    Op eOp = Op::kGetSize;
    WindowHandle hWnd;
    Number n1;  // width or left (for a get: what was answered)
    Number n2;  // height or top
  };
  struct SentMessage {
    WindowHandle hWnd;
    int64_t nMessage = 0;
    Number nwParam;
    Number nlParam;
  };
  using ShownBox = ::qv::ShownBox;
  using MessageHandler = std::function<Number(const SentMessage&)>;
  using BoxResponder = ::qv::BoxResponder;

  // Button numbers a message box answers with.
  static constexpr int kButtonOk = 1;
  static constexpr int kButtonCancel = 2;

  // Creates the MDI frame window and makes it the context's frame.
  HeadlessWindows();

  // The scripting side (WindowScripting).
  WindowHandle CreateWindow(WindowHandle hParent, int64_t nType, std::string sName) override;
  bool Place(WindowHandle hWnd, Number nLeft, Number nTop, Number nWidth, Number nHeight) override;
  bool SetText(WindowHandle hWnd, std::string sText) override;
  bool SetMessageAnswer(WindowHandle hWnd, int64_t nMessage, Number nResult) override;
  bool Placement(WindowHandle hWnd, Number& nLeft, Number& nTop, Number& nWidth, Number& nHeight) const override;
  int64_t MessagesSent(WindowHandle hWnd, int64_t nMessage) const override;
  int PaintCount(WindowHandle hWnd) const override;

  const Window* Find(WindowHandle hWnd) const;
  // TRUE when the window and all its ancestors have their redraw switch on.
  bool Paints(WindowHandle hWnd) const;

  HostContext& MutableContext() override { return context_; }
  // The object whose message is being handled, and its form.
  void SetCurrentItem(WindowHandle hWnd) { context_.hWndItem = hWnd; }
  void SetCurrentForm(WindowHandle hWnd) { context_.hWndForm = hWnd; }
  void SetMdiFrame(WindowHandle hWnd) { context_.hWndMDI = hWnd; }
  void SetMessageParameters(Number nwParam, Number nlParam) override {
    context_.nwParam = nwParam;
    context_.nlParam = nlParam;
  }
  // Answers every message that no window has a scripted answer for; without
  // one such a message answers 0.
  void SetMessageHandler(MessageHandler fn) { onMessage_ = std::move(fn); }
  void SetBoxResponder(BoxResponder fn) override { onBox_ = std::move(fn); }

  const std::vector<SentMessage>& Sent() const { return aSent_; }
  const std::vector<WindowCall>& Calls() const { return aCalls_; }
  const std::vector<ShownBox>& Boxes() const { return aBoxes_; }
  const std::vector<bool>& WaitCursorCalls() const { return aWaitCursor_; }
  bool WaitCursorShown() const { return !aWaitCursor_.empty() && aWaitCursor_.back(); }
  // The font table: CreateFont answers handle n for the n-th distinct font
  // (face, size and enhancement) asked for, the same handle for the same
  // font again.  FindFont(0) and unknown handles yield nullptr.
  const std::vector<Font>& Fonts() const { return aFonts_; }
  const Font* FindFont(int64_t hFont) const;
  void ClearRecords();

  HostContext Context() override { return context_; }
  bool IsWindow(WindowHandle hWnd) override { return Find(hWnd) != nullptr; }
  WindowHandle GetParent(WindowHandle hWnd) override;
  int64_t GetObjectType(WindowHandle hWnd) override;
  String GetItemName(WindowHandle hWnd) override;
  bool SetFont(WindowHandle hWnd, std::string_view sName, Number nSize, Number nEnhancement) override;
  bool SetColor(WindowHandle hWnd, int nIndex, Number nColor) override;
  int64_t CreateFont(std::string_view sName, Number nSize, Number nEnhancement) override;
  Number SendMessage(WindowHandle hWnd, int64_t nMessage, Number nwParam, Number nlParam) override;
  String GetWindowText(WindowHandle hWnd) override;
  bool GetWindowSize(WindowHandle hWnd, Number& nWidth, Number& nHeight) override;
  bool SetWindowSize(WindowHandle hWnd, Number nWidth, Number nHeight) override;
  bool GetWindowPosition(WindowHandle hWnd, Number& nLeft, Number& nTop) override;
  bool SetWindowPosition(WindowHandle hWnd, Number nLeft, Number nTop) override;
  Number GetObjectWidth(WindowHandle hWnd) override;
  bool SetObjectWidth(WindowHandle hWnd, Number nWidth) override;
  bool InvalidateWindow(WindowHandle hWnd) override;
  bool UpdateWindow(WindowHandle hWnd) override;
  void WaitCursor(bool bOn) override { aWaitCursor_.push_back(bOn); }
  Number MessageBox(std::string_view sText, std::string_view sCaption, int64_t nStyle) override;
  void Quit() override { bQuit_ = true; }
  bool QuitRequested() const override { return bQuit_; }
  void SetStaticsAsWindows(bool bOn) override { context_.bStaticsAsWindows = bOn; }

 private:
  Window* FindMutable(WindowHandle hWnd);
  // Repaints a window changed by a geometry set, when it paints.
  void Changed(Window& w);

  std::vector<Window> aWindows_;
  std::vector<Font> aFonts_;
  uintptr_t nNextHandle_ = 0x100;
  HostContext context_;
  MessageHandler onMessage_;
  BoxResponder onBox_;
  std::vector<SentMessage> aSent_;
  std::vector<WindowCall> aCalls_;
  std::vector<ShownBox> aBoxes_;
  std::vector<bool> aWaitCursor_;
  bool bQuit_ = false;
};

}  // namespace qv
