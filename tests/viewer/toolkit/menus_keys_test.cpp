// Menu model, key bindings, callbacks and mouse records of the toolkit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "viewer/toolkit/callbacks.h"
#include "viewer/toolkit/menu_model.h"
#include "viewer/toolkit/toolkit.h"

namespace {

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}

void Record(const char* who, int a, int b, int c, int d) {
  Calls().push_back(std::string(who) + " " + std::to_string(a) + " " + std::to_string(b) + " " +
                    std::to_string(c) + " " + std::to_string(d));
}
void CommandA(int a, int b, int c, int d) { Record("A", a, b, c, d); }
void CommandB(int a, int b, int c, int d) { Record("B", a, b, c, d); }

class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KrResetToolkit();
    Calls().clear();
  }
  void TearDown() override { KrResetToolkit(); }
  int popups_[3] = {};
};

TEST_F(ToolkitTest, ItemsTakeIdsFromTheCounterAndDispatchNewestFirst) {
  KrMenuItem* first = KrMenuNewItem('X', CommandA);
  KrMenuItem* second = KrMenuNewItem(0, CommandB);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->id, 16384);
  EXPECT_EQ(second->id, 16385);
  EXPECT_EQ(KrMenuItems(), second);  // newest at the head
  EXPECT_EQ(KrMenuRunCommand(16384), 1);
  EXPECT_EQ(KrMenuRunCommand(16385), 1);
  EXPECT_EQ(KrMenuRunCommand(16386), 0);  // unknown: the caller reports it
  EXPECT_EQ(Calls(), (std::vector<std::string>{"A 0 0 16384 16384", "B 0 0 16385 16385"}));

  KrResetToolkit();
  EXPECT_EQ(KrMenuNewItem(0, CommandA)->id, 16384);
}

TEST_F(ToolkitTest, PopupNumbersCountFromOne) {
  KrMenuSetBar(&popups_[0]);
  KrMenuAddPopup(&popups_[1], "File");
  KrMenuAddPopup(&popups_[2], std::string(100, 'n').c_str());
  EXPECT_EQ(KrMenuPopupCount(), 2);
  EXPECT_EQ(KrMenuPopupHandle(0), nullptr);
  EXPECT_EQ(KrMenuPopupHandle(1), &popups_[1]);
  EXPECT_EQ(KrMenuPopupHandle(2), &popups_[2]);
  EXPECT_EQ(KrMenuPopupHandle(3), nullptr);
  EXPECT_STREQ(KrMenuPopupName(1), "File");
  EXPECT_EQ(std::string(KrMenuPopupName(2)), std::string(63, 'n'));  // cut to 63
  EXPECT_EQ(KrMenuPopupName(3), nullptr);
  // A new bar starts a new table.
  KrMenuSetBar(&popups_[0]);
  EXPECT_EQ(KrMenuPopupCount(), 0);
}

TEST_F(ToolkitTest, ItemTextsShowTheMnemonicAndStayInTheBuffer) {
  char text[kKrItemTextSize];
  KrFormatItemText(text, sizeof text, "OpenFile", 'O');
  EXPECT_STREQ(text, "OpenFile(&O)");
  KrFormatItemText(text, sizeof text, "NextCamera\tN", 0);
  EXPECT_STREQ(text, "NextCamera\tN");
  const std::string long_text(300, 'x');
  KrFormatItemText(text, sizeof text, long_text.c_str(), 'A');
  EXPECT_EQ(std::string(text), std::string(127, 'x'));
  KrFormatItemText(text, sizeof text, nullptr, 0);
  EXPECT_STREQ(text, "");
}

TEST_F(ToolkitTest, NewerBindingOfACodeHidesTheOlder) {
  ASSERT_NE(KrBindKey(36, CommandA), nullptr);
  ASSERT_NE(KrBindKey(36, CommandB), nullptr);
  ASSERT_NE(KrBindKey(38, CommandA), nullptr);
  KrDispatchKey(36);
  KrDispatchKey(38);
  KrDispatchKey(37);  // unbound: nothing
  EXPECT_EQ(Calls(), (std::vector<std::string>{"B 0 0 36 36", "A 0 0 38 38"}));
  KrClearKeys();
  KrDispatchKey(36);
  EXPECT_EQ(Calls().size(), 2u);
}

std::vector<KrMouseEvent>& Events() {
  static std::vector<KrMouseEvent> events;
  return events;
}
std::vector<int>& Pressed() {
  static std::vector<int> pressed;
  return pressed;
}
void OnLeft(int pressed, KrMouseEvent e) {
  Pressed().push_back(pressed);
  Events().push_back(e);
}
void OnRight(int pressed, KrMouseEvent e) {
  Pressed().push_back(10 + pressed);
  Events().push_back(e);
}
void OnMove(KrMouseEvent e) { Events().push_back(e); }

TEST_F(ToolkitTest, MouseRecordsTakeUnsignedHalvesAndButtonBits) {
  KrMouseEvent e = KrMouseEventFrom(0x0001, 0x00F000A0);
  EXPECT_EQ(e.x, 0xA0);
  EXPECT_EQ(e.y, 0xF0);
  EXPECT_EQ(e.left, 1);
  EXPECT_EQ(e.middle, 0);
  EXPECT_EQ(e.right, 0);
  // Positions left of or above the window come as large unsigned values;
  // the middle button's bit (0x10) never shows.
  e = KrMouseEventFrom(0x0012, static_cast<std::intptr_t>(0xFFFEFFFFu));
  EXPECT_EQ(e.x, 65535);
  EXPECT_EQ(e.y, 65534);
  EXPECT_EQ(e.left, 0);
  EXPECT_EQ(e.middle, 0);
  EXPECT_EQ(e.right, 1);
}

TEST_F(ToolkitTest, ButtonsAndMovesReachTheirCallbacks) {
  Events().clear();
  Pressed().clear();
  KrSetLeftButtonFunc(OnLeft);
  KrSetRightButtonFunc(OnRight);
  KrSetMouseMoveFunc(OnMove);
  KrCallButton(kKrLeftButton, 1, KrMouseEventFrom(1, 0x00020001));
  KrCallButton(kKrRightButton, 0, KrMouseEventFrom(0, 0));
  KrCallButton(kKrMiddleButton, 1, KrMouseEventFrom(0, 0));  // default: nothing
  EXPECT_EQ(Pressed(), (std::vector<int>{1, 10}));

  Events().clear();
  KrCallMouseMove(KrMouseEventFrom(0, 0x00050005));  // no button held: no call
  EXPECT_TRUE(Events().empty());
  KrCallMouseMove(KrMouseEventFrom(2, 0x00050006));
  KrCallMouseMove(KrMouseEventFrom(1, 0x00050007));
  ASSERT_EQ(Events().size(), 2u);
  EXPECT_EQ(Events()[0].x, 6);
  EXPECT_EQ(Events()[1].x, 7);

  KrResetLeftButtonFunc();
  KrResetMouseMoveFunc();
  Events().clear();
  KrCallButton(kKrLeftButton, 1, KrMouseEventFrom(1, 0));
  KrCallMouseMove(KrMouseEventFrom(1, 0));
  EXPECT_TRUE(Events().empty());
}

int g_idle_calls = 0;
void CountIdle() { ++g_idle_calls; }

TEST_F(ToolkitTest, IdleAndPaintKnowWhenTheyAreTheDefault) {
  EXPECT_EQ(KrIdleIsDefault(), 1);
  EXPECT_EQ(KrPaintIsDefault(), 1);
  g_idle_calls = 0;
  KrSetIdleFunc(CountIdle);
  EXPECT_EQ(KrIdleIsDefault(), 0);
  KrCallIdle();
  EXPECT_EQ(g_idle_calls, 1);
  KrResetIdleFunc();
  EXPECT_EQ(KrIdleIsDefault(), 1);
  KrCallIdle();
  EXPECT_EQ(g_idle_calls, 1);
  KrSetPaintFunc(CountIdle);
  EXPECT_EQ(KrPaintIsDefault(), 0);
  KrSetQuitRequested(1);
  KrResetToolkit();
  EXPECT_EQ(KrPaintIsDefault(), 1);
  EXPECT_EQ(KrQuitRequested(), 0);
}

TEST_F(ToolkitTest, ShiftAndControlComeFromBitSevenOfTheirStateBytes) {
  unsigned char state[256] = {};
  int out[2] = {-1, -1};
  state[16] = 0x81;
  state[17] = 0x01;  // toggled, not held
  KrShiftCtrlFromState(state, out);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[1], 0);
  state[16] = 0;
  state[17] = 0x80;
  KrShiftCtrlFromState(state, out);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 1);
}

}  // namespace
