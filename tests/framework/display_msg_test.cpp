// SPDX-License-Identifier: Apache-2.0
// VC_DisplayMsg: texts, codes, captions and styles of the standard messages.
#include "framework/display_msg.h"

#include <gtest/gtest.h>

#include "support/test_host.h"

namespace qv {
namespace {

class DisplayMsgTest : public test::HostFixture {
 protected:
  const HeadlessWindows::ShownBox& LastBox() { return host_->Windows().Boxes().back(); }
  Number System(Number n, Number nStyle) { return oMsg_.DisplaySystemMsg(*module_, n, nStyle); }
  VC_DisplayMsg oMsg_;
};

TEST_F(DisplayMsgTest, SystemMessagesShowCodeColonBlankAndText) {
  host_->Windows().SetBoxResponder([](const HeadlessWindows::ShownBox&) { return Number(7); });
  EXPECT_EQ(System(26, 0), Number(7));  // the button pressed comes back
  EXPECT_EQ(LastBox().sText, "S26: No free Sql Handles!");
  EXPECT_EQ(LastBox().nStyle, 48);
  System(15, 0);
  EXPECT_EQ(LastBox().sText, "S15: Login Error! Please try again.");
  System(11, 0);
  EXPECT_EQ(LastBox().sText,
            "S11: This record has been updated\nby someone else. Do you wish to\nwork with this new information.");
  System(14, 0);
  EXPECT_EQ(LastBox().sText.back(), ' ');  // keeps its trailing blank
  System(0, 0);
  EXPECT_EQ(LastBox().sText, "S0: Delete - Are you sure?");
  System(35, 0);
  EXPECT_EQ(LastBox().sText, "S35: Invalid SqlStatement for ComboBox!");
  // Numbers without a text show the code alone.
  System(28, 0);
  EXPECT_EQ(LastBox().sText, "S28: ");
  System(36, 0);
  EXPECT_EQ(LastBox().sText, "S36: ");
}

TEST_F(DisplayMsgTest, NumbersThatNameNoMessageShowTheEmptyText) {
  System(-1, 0);
  EXPECT_EQ(LastBox().sText, "S-1: ");
  System(2.5, 0);  // not message 2, whatever the code rounds to
  EXPECT_EQ(LastBox().sText.find("database name"), std::string::npos);
  EXPECT_EQ(LastBox().sText.substr(0, 1), "S");
  System(Number::Null(), 0);
  EXPECT_EQ(LastBox().sText, "S: ");
  oMsg_.DisplayValidationMsg(*module_, -3, "x", 0);
  EXPECT_EQ(LastBox().sText, "V-3:x");
  oMsg_.DisplayValidationMsg(*module_, Number::Null(), "x", 0);
  EXPECT_EQ(LastBox().sText, "V:x");
}

TEST_F(DisplayMsgTest, StylesGainTheQuestionMarkBit) {
  System(1, 4);
  EXPECT_EQ(LastBox().nStyle, 36);
  System(1, 16);
  EXPECT_EQ(LastBox().nStyle, 48);
  System(1, 3);
  EXPECT_EQ(LastBox().nStyle, 35);
  oMsg_.DisplayValidationMsg(*module_, 1, "Age", 4);
  EXPECT_EQ(LastBox().nStyle, 36);
  oMsg_.DisplayValidationMsg(*module_, 1, "Age", 0);
  EXPECT_EQ(LastBox().nStyle, 48);
}

TEST_F(DisplayMsgTest, ValidationMessagesShowCodeColonTextAndTheCallersText) {
  oMsg_.DisplayValidationMsg(*module_, 0, "Name", 0);
  EXPECT_EQ(LastBox().sText, "V0:Value must be entered - Name");
  oMsg_.DisplayValidationMsg(*module_, 5, "Qty", 0);
  EXPECT_EQ(LastBox().sText, "V5:Spin Property not valid Qty");
  oMsg_.DisplayValidationMsg(*module_, 6, "Qty", 0);
  EXPECT_EQ(LastBox().sText, "V6:Qty");
}

TEST_F(DisplayMsgTest, CaptionsComeFromTheCurrentFormOrItsParent) {
  HeadlessWindows& win = host_->Windows();
  System(1, 0);
  EXPECT_EQ(LastBox().sCaption, "System Message");
  oMsg_.DisplayValidationMsg(*module_, 1, "", 0);
  EXPECT_EQ(LastBox().sCaption, "Validation Message");

  const WindowHandle hParent = win.CreateWindow(WindowHandle{}, 1, "frmMain");
  win.SetText(hParent, "Main Window");
  const WindowHandle hForm = win.CreateWindow(hParent, 2, "frmCust");
  win.SetCurrentForm(hForm);
  System(1, 0);  // the form's text is empty: its parent's text
  EXPECT_EQ(LastBox().sCaption, "Main Window");
  oMsg_.DisplayValidationMsg(*module_, 1, "", 0);  // no fallback
  EXPECT_EQ(LastBox().sCaption, "");

  win.SetText(hForm, "Customers");
  System(1, 0);
  EXPECT_EQ(LastBox().sCaption, "Customers");
  oMsg_.DisplayValidationMsg(*module_, 1, "", 0);
  EXPECT_EQ(LastBox().sCaption, "Customers");

  // A caption holds up to 32,656 characters of the form's text.
  win.SetText(hForm, std::string(32656, 'c'));
  System(1, 0);
  EXPECT_EQ(LastBox().sCaption.size(), 32656u);
  win.SetText(hForm, std::string(32657, 'c'));
  oMsg_.DisplayValidationMsg(*module_, 1, "", 0);
  EXPECT_EQ(LastBox().sCaption.size(), 32656u);

  // A form without text and without a parent: the empty caption.
  const WindowHandle hOrphan = win.CreateWindow(WindowHandle{}, 2, "frmLonely");
  win.SetCurrentForm(hOrphan);
  System(1, 0);
  EXPECT_EQ(LastBox().sCaption, "");
}

TEST_F(DisplayMsgTest, EachTableIsFilledOnItsFirstUseOnly) {
  DisplayMsgVars& cv = DisplayMsgClassVars(*module_);
  EXPECT_EQ(cv.cv_sSystemMsg.Count(), 0);
  oMsg_.DisplayValidationMsg(*module_, 1, "", 0);
  EXPECT_EQ(cv.cv_sSystemMsg.Count(), 0);
  EXPECT_EQ(cv.cv_sValidationMsg.Count(), 6);
  System(3, 0);
  EXPECT_EQ(cv.cv_sSystemMsg.Count(), 36);
  EXPECT_EQ(cv.cv_sSystemMsg.Get(3), "Auto Sql Profile Log On!");
}

}  // namespace
}  // namespace qv
