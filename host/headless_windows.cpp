#include "host/headless_windows.h"

#include <cstdio>
#include <fstream>

namespace qv {

namespace {
// Object type of the MDI frame window.
constexpr int64_t kTypeMdiFrame = 1;

// Element 0 of this process's argument strings: the program as it was
// started.
std::string ProgramName() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string s;
  std::getline(in, s, '\0');
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

HeadlessWindows::Window* HeadlessWindows::FindMutable(WindowHandle hWnd) {
  return const_cast<Window*>(Find(hWnd));
}

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

String HeadlessWindows::GetWindowText(WindowHandle hWnd, int64_t nMax) {
  const Window* p = Find(hWnd);
  if (p == nullptr) return String();
  return p->sText.substr(0, static_cast<size_t>(nMax < 0 ? 0 : nMax));
}

bool HeadlessWindows::SetWindowText(WindowHandle hWnd, std::string_view sText) {
  Window* p = FindMutable(hWnd);
  if (p == nullptr) return false;
  p->sText = std::string(sText);
  return true;
}

void HeadlessWindows::ClearRecords() {
  aSent_.clear();
  aBoxes_.clear();
  aWaitCursor_.clear();
  bQuit_ = false;
}

Number HeadlessWindows::SendMessage(WindowHandle hWnd, int64_t nMessage, Number nwParam, Number nlParam) {
  aSent_.push_back({hWnd, nMessage, nwParam, nlParam});
  if (onMessage_) return onMessage_(aSent_.back());
  return Number(0);
}

Number HeadlessWindows::MessageBox(std::string_view sText, std::string_view sCaption, int64_t nStyle) {
  aBoxes_.push_back({std::string(sText), std::string(sCaption), nStyle});
  if (onBox_) return onBox_(aBoxes_.back());
  std::fprintf(stderr, "[%.*s] %.*s\n", static_cast<int>(sCaption.size()), sCaption.data(),
               static_cast<int>(sText.size()), sText.data());
  return Number(kButtonOk);
}

}  // namespace qv
