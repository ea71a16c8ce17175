// SPDX-License-Identifier: Apache-2.0
// The list-box family at the C boundary: one member of each argument shape
// and each result kind, called through its exported names (both forms) in
// the loaded library, with the toolkit recording what it received: the
// portable host's on Linux, uitk60.dll on Windows (cmake/win32_tests.cmake).
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "cli/library_client.h"
#include "support/loaded_library.h"

namespace qv {
namespace {

using quorvane::cli::LibraryClient;

using test::kNull;
using test::Num;

// The two exported forms of one member.
template <class Sig>
struct Forms;
template <class R, class... A>
struct Forms<R(A...)> {
  R (*pXE)(QvObject*, A...) = nullptr;
  R (*pXT)(A...) = nullptr;
  QvObject* pSelf = nullptr;
  // The explicit-instance form, or the current-instance form.
  R operator()(bool bCurrent, A... args) const { return bCurrent ? pXT(args...) : pXE(pSelf, args...); }
};

class ListBoxExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib_.Load(QV_SHARED_LIBRARY)) << lib_.Error();
    pBox_ = Fn<QvObject* (*)(const char*)>("QvObjectNew")("cRadioListBox");
    ASSERT_NE(pBox_, nullptr);
    Fn<void (*)(QvObject*)>("QvSetCurrentInstance")(pBox_);
    Fn<void (*)()>("QvToolkitClearScripts")();
    Fn<void (*)()>("QvToolkitClearCalls")();
  }
  void TearDown() override {
    if (pBox_ != nullptr) Fn<void (*)(QvObject*)>("QvObjectFree")(pBox_);
  }

  template <class F>
  F Fn(const char* sName) const {
    const F p = lib_.Function<F>(sName);
    EXPECT_NE(p, nullptr) << sName;
    return p;
  }
  template <class Sig>
  Forms<Sig> Member(uint32_t nId) const {
    Forms<Sig> forms;
    forms.pXE = Fn<decltype(forms.pXE)>(("__quorvane__XE" + std::to_string(nId)).c_str());
    forms.pXT = Fn<decltype(forms.pXT)>(("__quorvane__XT" + std::to_string(nId)).c_str());
    forms.pSelf = pBox_;
    return forms;
  }

  void SetResult(int32_t nOrdinal, int32_t nResult) const {
    Fn<void (*)(int32_t, int32_t)>("QvToolkitSetResult")(nOrdinal, nResult);
  }
  // The last list operation called, after checking its ordinal.
  QvToolkitCall LastCall(int32_t nOrdinal) const {
    QvToolkitCall call{};
    const size_t nCount = Fn<size_t (*)()>("QvToolkitCallCount")();
    EXPECT_GT(nCount, 0u);
    if (nCount > 0) Fn<QvBoolean (*)(size_t, QvToolkitCall*)>("QvToolkitCallAt")(nCount - 1, &call);
    EXPECT_EQ(call.ordinal, nOrdinal);
    return call;
  }
  // The window the family's own-window operations get: the host's current
  // item, as GetStyle passes it to the toolkit.
  QvWindowHandle CurrentItem() const {
    Fn<QvNumber (*)(QvObject*)>("__quorvane__XE75628590")(pBox_);
    return LastCall(110).window;
  }
  static std::vector<int32_t> Integers(const QvToolkitCall& call) {
    std::vector<int32_t> a;
    for (int32_t i = 0; i < call.argCount; ++i) {
      EXPECT_EQ(call.args[i].kind, QV_TOOLKIT_INTEGER) << i;
      a.push_back(call.args[i].value);
    }
    return a;
  }
  static std::string Text(const QvToolkitArg& arg) { return std::string(arg.text, arg.textSize); }

  LibraryClient lib_;
  QvObject* pBox_ = nullptr;
};

// What an application's message-box handler was shown.
struct ShownBoxes {
  int nShown = 0;
  std::string sCaption, sText;
  int32_t nStyle = 0;
};

extern "C" int32_t AnswerCancel(void* pUser, const char* sCaption, size_t nCaption, const char* sText, size_t nText,
                                int32_t nStyle) {
  auto* p = static_cast<ShownBoxes*>(pUser);
  ++p->nShown;
  p->sCaption.assign(sCaption, nCaption);
  p->sText.assign(sText, nText);
  p->nStyle = nStyle;
  return 2;  // Cancel
}

// The application answers the toolkit's retry prompt through its handler;
// Cancel asks to quit, and the failing call is not tried again.
TEST_F(ListBoxExportsTest, AnApplicationsHandlerAnswersTheRetryPromptAndCancelEndsTheRetries) {
  ShownBoxes shown;
  const auto setHandler = Fn<void (*)(QvMessageBoxHandler, void*)>("QvSetMessageBoxHandler");
  setHandler(AnswerCancel, &shown);
  SetResult(96, 0);  // the list set-up fails every time
  const auto setupList = Member<QvBoolean()>(75629342);
  EXPECT_EQ(Fn<QvBoolean (*)()>("QvQuitRequested")(), 0);
  setupList(false);
  EXPECT_EQ(shown.nShown, 1);
  EXPECT_EQ(shown.sCaption, "UI Toolkit");
  EXPECT_EQ(shown.sText, "List operation 96 failed.");
  EXPECT_EQ(shown.nStyle, 5 | 48);
  EXPECT_EQ(Fn<QvBoolean (*)()>("QvQuitRequested")(), 1);
  EXPECT_EQ(LastCall(135).args[0].kind, QV_TOOLKIT_TEXT);  // the prompt, once
  const size_t nCalls = Fn<size_t (*)()>("QvToolkitCallCount")();
  // With quit under way a failure ends the call at once, without a prompt.
  setupList(true);
  EXPECT_EQ(shown.nShown, 1);
  EXPECT_EQ(Fn<size_t (*)()>("QvToolkitCallCount")(), nCalls + 1);
  setHandler(nullptr, nullptr);
}

TEST_F(ListBoxExportsTest, NumbersBecomeIntegersAndLongsKeepTheirLowBits) {
  const auto listOp108 = Member<QvNumber(QvNumber, QvNumber)>(75628546);  // own window, n1, n2
  const auto listOp258 = Member<QvNumber(QvNumber, QvNumber)>(75628844);  // n1, long l2
  const auto listOp155 = Member<QvNumber(QvNumber, int32_t)>(75628802);   // n1, 32-bit value h2
  SetResult(108, -42);
  const QvWindowHandle hItem = CurrentItem();
  for (bool bCurrent : {false, true}) {
    const QvNumber n = listOp108(bCurrent, Num(7.9), Num(-3.2));
    EXPECT_EQ(n.isNull, 0);
    EXPECT_EQ(n.value, -42);
    const QvToolkitCall call = LastCall(108);
    EXPECT_EQ(call.hasWindow, 1);
    EXPECT_EQ(call.window, hItem);
    EXPECT_EQ(Integers(call), (std::vector<int32_t>{7, -3}));

    // The plain conversion saturates; the long one keeps the low 32 bits.
    listOp258(bCurrent, Num(4294967295.0), Num(4294967295.0));
    QvToolkitCall longCall = LastCall(258);
    EXPECT_EQ(longCall.hasWindow, 0);
    EXPECT_EQ(Integers(longCall), (std::vector<int32_t>{INT32_MAX, -1}));
    listOp258(bCurrent, Num(-1e12), Num(2147483648.0));
    EXPECT_EQ(Integers(LastCall(258)), (std::vector<int32_t>{INT32_MIN, INT32_MIN}));
    listOp258(bCurrent, kNull, kNull);
    EXPECT_EQ(Integers(LastCall(258)), (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(listOp258(bCurrent, Num(1), Num(1)).value, 1);  // unscripted: the toolkit's 1

    listOp155(bCurrent, Num(1), INT32_MIN);
    EXPECT_EQ(Integers(LastCall(155)), (std::vector<int32_t>{1, INT32_MIN}));
  }
}

TEST_F(ListBoxExportsTest, StringsPassAsTextOrAsTheStringItselfAndStringResultsAreCopies) {
  const auto listOp262 = Member<QvBoolean(QvNumber, const QvString*)>(75629224);  // n1, s2
  const auto listOp289 = Member<QvNumber(const QvString*)>(75629074);             // own window, S1
  const auto listOp260 = Member<QvString*(QvNumber)>(75628961);                   // n1 -> String
  QvString* pText = lib_.NewString(std::string("ab\0cd", 5));
  SetResult(262, 5);
  const auto setText = Fn<void (*)(int32_t, const QvString*)>("QvToolkitSetText");
  QvString* pResult = lib_.NewString("Käse");
  setText(260, pResult);
  lib_.FreeString(pResult);
#ifdef _WIN32
  // uitk60.dll takes a text as a zero-terminated byte string (uitk60/uitk60.h):
  // it sees the text up to its first zero byte.
  const std::string sReceived("ab");
#else
  const std::string sReceived("ab\0cd", 5);
#endif

  for (bool bCurrent : {false, true}) {
    EXPECT_EQ(listOp262(bCurrent, Num(3), pText), 5);  // the toolkit's Boolean, unchanged
    QvToolkitCall call = LastCall(262);
    ASSERT_EQ(call.argCount, 2);
    EXPECT_EQ(call.args[1].kind, QV_TOOLKIT_TEXT);
    EXPECT_EQ(Text(call.args[1]), sReceived);

    listOp289(bCurrent, pText);
    call = LastCall(289);
    EXPECT_EQ(call.hasWindow, 1);
    ASSERT_EQ(call.argCount, 1);
    EXPECT_EQ(call.args[0].kind, QV_TOOLKIT_STRING);
    EXPECT_EQ(Text(call.args[0]), sReceived);
    listOp289(bCurrent, nullptr);
    EXPECT_EQ(Text(LastCall(289).args[0]), "");

    // Each call gives the caller a String of its own.
    QvString* p1 = listOp260(bCurrent, Num(8));
    QvString* p2 = listOp260(bCurrent, Num(8));
    EXPECT_NE(p1, p2);
    EXPECT_EQ(lib_.TakeString(p1), "Käse");
    EXPECT_EQ(lib_.TakeString(p2), "Käse");
    EXPECT_EQ(Integers(LastCall(260)), std::vector<int32_t>{8});
  }
  lib_.FreeString(pText);
}

TEST_F(ListBoxExportsTest, ReceiveNumbersComeBackWhateverTheResult) {
  const auto listOp253 = Member<QvBoolean(QvNumber, QvNumber*, QvNumber*)>(75628949);
  const auto listOp256 = Member<QvBoolean(QvNumber, QvNumber*, QvNumber*, QvNumber*, QvNumber*)>(75629030);
  const int32_t aValues[] = {11, -12};
  Fn<void (*)(int32_t, const int32_t*, size_t)>("QvToolkitSetReceives")(253, aValues, 2);
  SetResult(253, 0);
  for (bool bCurrent : {false, true}) {
    QvNumber r2 = Num(2.7), r3 = kNull;
    EXPECT_EQ(listOp253(bCurrent, Num(1), &r2, &r3), 0);  // FALSE, and still written back
    EXPECT_EQ(r2.value, 11);
    EXPECT_EQ(r3.value, -12);
    EXPECT_EQ(r3.isNull, 0);
    const QvToolkitCall call = LastCall(253);
    ASSERT_EQ(call.argCount, 3);
    EXPECT_EQ(call.args[1].kind, QV_TOOLKIT_RECEIVE);
    EXPECT_EQ(call.args[1].value, 2);  // what the toolkit found on entry
    EXPECT_EQ(call.args[2].value, 0);

    // Nothing written by the toolkit: each comes back as its integer.
    QvNumber a = Num(5.5), b = kNull, c = Num(-1.5), d = Num(7);
    EXPECT_EQ(listOp256(bCurrent, Num(0), &a, &b, &c, &d), 1);
    EXPECT_EQ(a.value, 5);
    EXPECT_EQ(b.value, 0);
    EXPECT_EQ(b.isNull, 0);
    EXPECT_EQ(c.value, -1);
    EXPECT_EQ(d.value, 7);
    EXPECT_EQ(LastCall(256).hasWindow, 1);
  }
}

TEST_F(ListBoxExportsTest, EachResultKind) {
  const auto listOp97 = Member<QvNumber(QvNumber, QvNumber)>(75628667);             // Number (Boolean)
  const auto listOp119 = Member<QvBoolean(QvNumber, QvNumber, int32_t)>(75628578);  // exactly TRUE
  const auto listOp143 = Member<QvBoolean(QvNumber)>(75628747);                     // Boolean unchanged
  const auto getColor = Member<QvNumber(QvNumber)>(75628632);                       // Number
  struct Case {
    int32_t nToolkit;
    double dNumberBoolean;
    QvBoolean bExact;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{0x10000, 1, 1}, Case{-1, 1, 1}, Case{7, 1, 1}}) {
    SetResult(97, c.nToolkit);
    SetResult(119, c.nToolkit);
    SetResult(143, c.nToolkit);
    SetResult(102, c.nToolkit);
    for (bool bCurrent : {false, true}) {
      const QvNumber n = listOp97(bCurrent, Num(1), Num(2));
      EXPECT_EQ(n.value, c.dNumberBoolean) << c.nToolkit;
      EXPECT_EQ(n.isNull, 0);
      EXPECT_EQ(listOp119(bCurrent, Num(1), Num(2), -9), c.bExact) << c.nToolkit;
      EXPECT_EQ(Integers(LastCall(119)), (std::vector<int32_t>{1, 2, -9}));
      EXPECT_EQ(listOp143(bCurrent, Num(1)), c.nToolkit);
      EXPECT_EQ(getColor(bCurrent, Num(1)).value, c.nToolkit);
    }
  }
}

TEST_F(ListBoxExportsTest, DecoratedNamesReachTheExplicitFormAndHandlersRunThroughTheirExports) {
  const auto pFind = Fn<void (*(*)(const char*))()>("QvFindExport");
  const std::pair<const char*, const char*> aDecorated[] = {{"_GetFlags_34__@20", "__quorvane__XE75628568"},
                                                            {"_GetStyle_34__@4", "__quorvane__XE75628590"},
                                                            {"_GetColor_34__@20", "__quorvane__XE75628632"},
                                                            {"_GetFont_34__@20", "__quorvane__XE75628701"},
                                                            {"_GetItemHandle_34__@20", "__quorvane__XE75628929"}};
  for (const auto& [sDecorated, sExport] : aDecorated) {
    EXPECT_NE(pFind(sDecorated), nullptr) << sDecorated;
#ifdef _WIN32
    // The __stdcall entry, as the system's loader finds it.
    EXPECT_EQ(reinterpret_cast<void*>(pFind(sDecorated)), lib_.Symbol(sDecorated)) << sDecorated;
    EXPECT_NE(pFind(sDecorated), pFind(sExport)) << sDecorated;
#else
    EXPECT_EQ(pFind(sDecorated), pFind(sExport)) << sDecorated;
#endif
  }
  SetResult(110, 12);
  EXPECT_EQ(reinterpret_cast<QvDecorated_GetStyle_34___4>(pFind("_GetStyle_34__@4"))(pBox_).value, 12);

  // A toggle on the control of the current item, through both forms of the
  // handler.
  const QvWindowHandle hItem = CurrentItem();
  QvObject* pToggle = Fn<QvObject* (*)(const char*)>("QvObjectNew")("cListItemToggle");
  ASSERT_NE(pToggle, nullptr);
  QvToolkitItem item{};
  item.flags = static_cast<int32_t>(0xC0000000u);
  const int32_t nIndex = Fn<int32_t (*)(QvWindowHandle, const QvToolkitItem*)>("QvToolkitAddItem")(hItem, &item);
  Fn<void (*)(QvWindowHandle, int32_t)>("QvToolkitSetSelection")(hItem, nIndex);
  const auto toggleXE = Fn<QvBoolean (*)(QvObject*)>("__quorvane__XE22937621");
  const auto toggleXT = Fn<QvBoolean (*)()>("__quorvane__XT22937621");
  const auto boundNumber = Fn<QvNumber (*)(const char*)>("QvGetBoundNumber");
  EXPECT_EQ(toggleXE(pToggle), 0);
  EXPECT_EQ(boundNumber("___az_quorvane_001").value, 0);
  EXPECT_EQ(Integers(LastCall(143)), std::vector<int32_t>{nIndex});
  Fn<void (*)(QvObject*)>("QvSetCurrentInstance")(pToggle);
  EXPECT_EQ(toggleXT(), 0);
  EXPECT_EQ(Integers(LastCall(143)), std::vector<int32_t>{nIndex});
  Fn<void (*)(QvWindowHandle, int32_t)>("QvToolkitSetSelection")(hItem, -1);
  Fn<void (*)(QvObject*)>("QvObjectFree")(pToggle);
}

}  // namespace
}  // namespace qv
