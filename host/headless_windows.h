// A headless window system: a tree of window objects with handles, whose
// traffic (messages sent, wait-cursor calls, message boxes) and state (fonts,
// colours) is recorded so that tests and the command can observe it.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "frame/host.h"

namespace qv {

class HeadlessWindows final : public Windows {
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
    std::optional<Font> font;        // the last font given, if any
    std::map<int, Number> aColors;   // colours set, by system colour index
  };
  struct SentMessage {
    WindowHandle hWnd;
    int64_t nMessage;
    Number nwParam;
    Number nlParam;
  };
  struct ShownBox {
    std::string sText;
    std::string sCaption;
    int64_t nStyle;
  };
  using MessageHandler = std::function<Number(const SentMessage&)>;
  using BoxResponder = std::function<Number(const ShownBox&)>;

  // Button numbers a message box answers with.
  static constexpr int kButtonOk = 1;
  static constexpr int kButtonCancel = 2;

  // Creates the MDI frame window and makes it the context's frame.
  HeadlessWindows();

  WindowHandle CreateWindow(WindowHandle hParent, int64_t nType, std::string sName);
  const Window* Find(WindowHandle hWnd) const;

  HostContext& MutableContext() { return context_; }
  // The object whose message is being handled, and its form.
  void SetCurrentItem(WindowHandle hWnd) { context_.hWndItem = hWnd; }
  void SetCurrentForm(WindowHandle hWnd) { context_.hWndForm = hWnd; }
  void SetMessageHandler(MessageHandler fn) { onMessage_ = std::move(fn); }
  // The responder answers every message box; without one a box is printed
  // to stderr and answered with OK.
  void SetBoxResponder(BoxResponder fn) { onBox_ = std::move(fn); }

  const std::vector<SentMessage>& Sent() const { return aSent_; }
  const std::vector<ShownBox>& Boxes() const { return aBoxes_; }
  const std::vector<bool>& WaitCursorCalls() const { return aWaitCursor_; }
  bool WaitCursorShown() const { return !aWaitCursor_.empty() && aWaitCursor_.back(); }
  bool QuitRequested() const { return bQuit_; }
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
  void WaitCursor(bool bOn) override { aWaitCursor_.push_back(bOn); }
  Number MessageBox(std::string_view sText, std::string_view sCaption, int64_t nStyle) override;
  void Quit() override { bQuit_ = true; }
  String GetWindowText(WindowHandle hWnd, int64_t nMax) override;
  void SetStaticsAsWindows(bool bOn) override { context_.bStaticsAsWindows = bOn; }
  // Gives a window its text; FALSE when hWnd names no window.
  bool SetWindowText(WindowHandle hWnd, std::string_view sText);

 private:
  Window* FindMutable(WindowHandle hWnd);

  std::vector<Window> aWindows_;
  std::vector<Font> aFonts_;
  uintptr_t nNextHandle_ = 0x100;
  HostContext context_;
  MessageHandler onMessage_;
  BoxResponder onBox_;
  std::vector<SentMessage> aSent_;
  std::vector<ShownBox> aBoxes_;
  std::vector<bool> aWaitCursor_;
  bool bQuit_ = false;
};

}  // namespace qv
