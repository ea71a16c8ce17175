// SPDX-License-Identifier: Apache-2.0
#include "host/headless/headless_windows.h"

#ifdef _WIN32
#include "host/os/win32/win32_api.h"
#endif

#include <cstdio>
#include <fstream>
#include <string_view>

#include "core/window_messages.h"

namespace qv {

namespace {
// Object type of the MDI frame window.
constexpr int64_t kTypeMdiFrame = 1;

// Element 0 of this process's argument strings: the program as it was
// started.
std::string ProgramName() {
  std::string s;
#ifdef _WIN32
  // The command line's first word, as the C runtime splits it: up to the
  // closing quote when it starts with one, else up to the first blank.
  const std::string_view sLine(GetCommandLineA());
  if (sLine.starts_with('"')) {
    s = sLine.substr(1, sLine.find('"', 1) - 1);
  } else {
    s = sLine.substr(0, sLine.find_first_of(" \t"));
  }
#else
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::getline(in, s, '\0');
#endif
  return s.empty() ? std::string("quorvane") : s;
}
}  // namespace

HeadlessWindows::HeadlessWindows() {
  context_.hWndMDI = CreateWindow(WindowHandle{}, kTypeMdiFrame, "frmMDI");
  context_.sAppName = ProgramName();
}

WindowHandle HeadlessWindows::CreateWindow(WindowHandle hParent, int64_t nType, std::string sName) {
  Window w;
  w.hWnd = WindowHandle{nNextHandle_++};
  w.hParent = hParent;
  w.nType = nType;
  w.sName = std::move(sName);
  aWindows_.push_back(std::move(w));
  return aWindows_.back().hWnd;
}

const HeadlessWindows::Window* HeadlessWindows::Find(WindowHandle hWnd) const {
  if (hWnd.IsNull()) return nullptr;
  for (const Window& w : aWindows_) {
    if (w.hWnd == hWnd) return &w;
  }
  return nullptr;
}

HeadlessWindows::Window* HeadlessWindows::FindMutable(WindowHandle hWnd) { return const_cast<Window*>(Find(hWnd)); }

WindowHandle HeadlessWindows::GetParent(WindowHandle hWnd) {
  const Window* p = Find(hWnd);
  return p == nullptr ? WindowHandle{} : p->hParent;
}

int64_t HeadlessWindows::GetObjectType(WindowHandle hWnd) {
  const Window* p = Find(hWnd);
  return p == nullptr ? 0 : p->nType;
}

String HeadlessWindows::GetItemName(WindowHandle hWnd) {
  const Window* p = Find(hWnd);
  return p == nullptr ? String() : p->sName;
}

bool HeadlessWindows::SetFont(WindowHandle hWnd, std::string_view sName, Number nSize, Number nEnhancement) {
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  p->font = Font{std::string(sName), nSize, nEnhancement};
  return true;
}

bool HeadlessWindows::SetColor(WindowHandle hWnd, int nIndex, Number nColor) {
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  p->aColors[nIndex] = nColor;
  return true;
}

int64_t HeadlessWindows::CreateFont(std::string_view sName, Number nSize, Number nEnhancement) {
  const Font font{std::string(sName), nSize, nEnhancement};
  for (size_t i = 0; i < aFonts_.size(); ++i) {
    if (aFonts_[i] == font) return static_cast<int64_t>(i) + 1;
  }
  aFonts_.push_back(font);
  return static_cast<int64_t>(aFonts_.size());
}

const HeadlessWindows::Font* HeadlessWindows::FindFont(int64_t hFont) const {
  if (hFont < 1 || hFont > static_cast<int64_t>(aFonts_.size())) return nullptr;
  return &aFonts_[static_cast<size_t>(hFont - 1)];
}

void HeadlessWindows::ClearRecords() {
  aSent_.clear();
  aCalls_.clear();
  aBoxes_.clear();
  aWaitCursor_.clear();
  bQuit_ = false;
}

Number HeadlessWindows::SendMessage(WindowHandle hWnd, int64_t nMessage, Number nwParam, Number nlParam) {
  aSent_.push_back({hWnd, nMessage, nwParam, nlParam});
  Window* p = FindMutable(hWnd);
  if (p != nullptr && nMessage == kMsgSetRedraw) p->bRedraw = nwParam.IsTrue();
  if (p != nullptr) {
    const auto it = p->aAnswers.find(nMessage);
    if (it != p->aAnswers.end()) return it->second;
  }
  if (onMessage_) return onMessage_(aSent_.back());
  return Number(0);
}

bool HeadlessWindows::Place(WindowHandle hWnd, Number nLeft, Number nTop, Number nWidth, Number nHeight) {
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  p->nLeft = nLeft;
  p->nTop = nTop;
  p->nWidth = nWidth;
  p->nHeight = nHeight;
  return true;
}

bool HeadlessWindows::SetText(WindowHandle hWnd, std::string sText) {
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  p->sText = std::move(sText);
  return true;
}

bool HeadlessWindows::SetMessageAnswer(WindowHandle hWnd, int64_t nMessage, Number nResult) {
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  p->aAnswers[nMessage] = nResult;
  return true;
}

bool HeadlessWindows::Paints(WindowHandle hWnd) const {
  const Window* p = Find(hWnd);
  if (p == nullptr) return false;
  // At most one step per window: a parent chain that loops ends all the same.
  for (size_t n = 0; p != nullptr && n < aWindows_.size(); p = Find(p->hParent), ++n) {
    if (!p->bRedraw) return false;
  }
  return true;
}

void HeadlessWindows::Changed(Window& w) {
  if (Paints(w.hWnd)) ++w.nPaints;
}

String HeadlessWindows::GetWindowText(WindowHandle hWnd) {
  const Window* p = Find(hWnd);
  return p == nullptr ? String() : p->sText;
}

bool HeadlessWindows::GetWindowSize(WindowHandle hWnd, Number& nWidth, Number& nHeight) {
  const Window* p = Find(hWnd);
  nWidth = p == nullptr ? Number::Null() : p->nWidth;
  nHeight = p == nullptr ? Number::Null() : p->nHeight;
  aCalls_.push_back({Op::kGetSize, hWnd, nWidth, nHeight});
  return p != nullptr;
}

bool HeadlessWindows::SetWindowSize(WindowHandle hWnd, Number nWidth, Number nHeight) {
  aCalls_.push_back({Op::kSetSize, hWnd, nWidth, nHeight});
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  if (!nWidth.IsNull()) p->nWidth = nWidth;
  if (!nHeight.IsNull()) p->nHeight = nHeight;
  Changed(*p);
  return true;
}

bool HeadlessWindows::GetWindowPosition(WindowHandle hWnd, Number& nLeft, Number& nTop) {
  const Window* p = Find(hWnd);
  nLeft = p == nullptr ? Number::Null() : p->nLeft;
  nTop = p == nullptr ? Number::Null() : p->nTop;
  aCalls_.push_back({Op::kGetPosition, hWnd, nLeft, nTop});
  return p != nullptr;
}

bool HeadlessWindows::SetWindowPosition(WindowHandle hWnd, Number nLeft, Number nTop) {
  aCalls_.push_back({Op::kSetPosition, hWnd, nLeft, nTop});
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  if (!nLeft.IsNull()) p->nLeft = nLeft;
  if (!nTop.IsNull()) p->nTop = nTop;
  Changed(*p);
  return true;
}

Number HeadlessWindows::GetObjectWidth(WindowHandle hWnd) {
  const Window* p = Find(hWnd);
  const Number nWidth = p == nullptr ? Number::Null() : p->nWidth;
  aCalls_.push_back({Op::kGetObjectWidth, hWnd, nWidth, Number::Null()});
  return nWidth;
}

bool HeadlessWindows::SetObjectWidth(WindowHandle hWnd, Number nWidth) {
  aCalls_.push_back({Op::kSetObjectWidth, hWnd, nWidth, Number::Null()});
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  if (!nWidth.IsNull()) p->nWidth = nWidth;
  Changed(*p);
  return true;
}

bool HeadlessWindows::InvalidateWindow(WindowHandle hWnd) {
  aCalls_.push_back({Op::kInvalidate, hWnd, Number::Null(), Number::Null()});
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  p->bInvalid = true;
  return true;
}

bool HeadlessWindows::UpdateWindow(WindowHandle hWnd) {
  aCalls_.push_back({Op::kUpdate, hWnd, Number::Null(), Number::Null()});
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  if (p->bInvalid && Paints(hWnd)) {
    p->bInvalid = false;
    ++p->nPaints;
  }
  return true;
}

Number HeadlessWindows::MessageBox(std::string_view sText, std::string_view sCaption, int64_t nStyle) {
  aBoxes_.push_back({std::string(sText), std::string(sCaption), nStyle});
  if (onBox_) return onBox_(aBoxes_.back());
  std::fprintf(stderr, "[%.*s] %.*s\n", static_cast<int>(sCaption.size()), sCaption.data(),
               static_cast<int>(sText.size()), sText.data());
  return Number(kButtonOk);
}

bool HeadlessWindows::Placement(WindowHandle hWnd, Number& nLeft, Number& nTop, Number& nWidth, Number& nHeight) const {
  const Window* p = Find(hWnd);
  if (p == nullptr) return false;
  nLeft = p->nLeft;
  nTop = p->nTop;
  nWidth = p->nWidth;
  nHeight = p->nHeight;
  return true;
}

int64_t HeadlessWindows::MessagesSent(WindowHandle hWnd, int64_t nMessage) const {
  int64_t n = 0;
  for (const SentMessage& sent : aSent_) {
    if (sent.hWnd == hWnd && sent.nMessage == nMessage) ++n;
  }
  return n;
}

int HeadlessWindows::PaintCount(WindowHandle hWnd) const {
  const Window* p = Find(hWnd);
  return p == nullptr ? 0 : p->nPaints;
}

}  // namespace qv
