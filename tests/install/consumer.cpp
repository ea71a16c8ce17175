// SPDX-License-Identifier: Apache-2.0
// A C++ program built against the installed library through quorvane.hpp:
// the text utility StrScanAt found by its exported name with its declared
// type, an object of a library class, and a standard message answered by
// the program's own message-box handler.
#include <cstdio>
#include <string>

#include <quorvane/quorvane.hpp>

int main() {
  // StrScanAt(text, key, start): the position of key at or after start.
  auto* pScanAt = quorvane::FindExport<decltype(__quorvane__GF25690957)>("__quorvane__GF25690957");
  const quorvane::String sText("/* a */ public class Main {}");
  const quorvane::String sKey("class");
  const auto nFound = quorvane::ValueOf(pScanAt(sText.Get(), sKey.Get(), quorvane::Number(0)));

  // DisplaySystemMsg(26, 0) shows a box, and returns the button pressed.
  const quorvane::Object oMsg("VC_DisplayMsg");
  std::string sSeen;
  int32_t nButton = 0;
  {
    const quorvane::MessageBoxHandler handler([&](std::string_view sCaption, std::string_view sBox, int32_t) {
      sSeen = std::string(sCaption) + ": " + std::string(sBox.substr(0, 4));
      return 2;  // Cancel
    });
    nButton = static_cast<int32_t>(__quorvane__XE41025570(oMsg.Get(), quorvane::Number(26), quorvane::Number(0)).value);
  }
  std::printf("class at %.0f; %s answered %d\n", nFound.value_or(-1), sSeen.c_str(), nButton);
  return nFound == 15.0 && nButton == 2 && oMsg.ClassName() == "VC_DisplayMsg" ? 0 : 1;
}
