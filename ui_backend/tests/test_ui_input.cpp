#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "graphics/drawing_api.h"
#include "ui_backend/tests/ui_test_window.h"
#include "ui_backend/ui_font.h"
#include "ui_backend/ui_input.h"

namespace {

HWND window() {
  return ui_test_window().hwnd;
}

// Records made the way the window procedure makes them.
GraphMsg record(UINT message, WPARAM wparam, LPARAM lparam) {
  GraphMsg msg{};
  EXPECT_TRUE(make_graph_msg(window(), message, wparam, lparam, &msg));
  return msg;
}
GraphMsg mouse(UINT message, int x, int y, WPARAM flags = 0) {
  return record(message, flags, MAKELPARAM(x, y));
}
GraphMsg wheel(int distance) {
  POINT p{40, 50};
  ClientToScreen(window(), &p);
  return record(WM_MOUSEWHEEL, MAKEWPARAM(0, distance), MAKELPARAM(p.x, p.y));
}
GraphMsg key(UINT message, UINT vkey) {
  return record(message, vkey, 1);
}
GraphMsg character(wchar_t ch) {
  return record(WM_CHAR, ch, 1);
}

int feed(const GraphMsg& msg) {
  return ui_handle_message(window(), &msg);
}

HWND captured_window() {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(window(), nullptr), &info);
  return info.hwndCapture;
}

const nk_keyboard& keyboard() {
  return ui_context.input.keyboard;
}
const nk_mouse& pointer() {
  return ui_context.input.mouse;
}

// Each test starts a fresh input frame with no key held.
class UiInput : public ::testing::Test {
 protected:
  void SetUp() override {
    window();
    nk_input_begin(&ui_context);
    feed(key(WM_KEYUP, VK_CONTROL));
    for (int k = 0; k < NK_KEY_MAX; ++k) nk_input_key(&ui_context, static_cast<nk_keys>(k), 0);
    nk_input_end(&ui_context);
    nk_input_begin(&ui_context);
  }
  void TearDown() override { nk_input_end(&ui_context); }
};

}  // namespace

TEST_F(UiInput, KeyTableWithAndWithoutCtrl) {
  struct Case {
    const char* name;
    bool ctrl;
    UINT vkey;
    std::vector<nk_keys> keys;  // empty: not translated
  };
  const Case cases[] = {
      {"Shift", false, VK_SHIFT, {NK_KEY_SHIFT}},
      {"left Shift", false, VK_LSHIFT, {NK_KEY_SHIFT}},
      {"right Shift with Ctrl", true, VK_RSHIFT, {NK_KEY_SHIFT}},
      {"Delete", false, VK_DELETE, {NK_KEY_DEL}},
      {"Enter", false, VK_RETURN, {NK_KEY_ENTER}},
      {"Tab", false, VK_TAB, {NK_KEY_TAB}},
      {"Backspace with Ctrl", true, VK_BACK, {NK_KEY_BACKSPACE}},
      {"Left", false, VK_LEFT, {NK_KEY_LEFT}},
      {"Ctrl+Left", true, VK_LEFT, {NK_KEY_TEXT_WORD_LEFT}},
      {"Right", false, VK_RIGHT, {NK_KEY_RIGHT}},
      {"Ctrl+Right", true, VK_RIGHT, {NK_KEY_TEXT_WORD_RIGHT}},
      {"Home", false, VK_HOME, {NK_KEY_TEXT_START, NK_KEY_SCROLL_START}},
      {"Ctrl+Home", true, VK_HOME, {NK_KEY_TEXT_START, NK_KEY_SCROLL_START}},
      {"End", false, VK_END, {NK_KEY_TEXT_END, NK_KEY_SCROLL_END}},
      {"Page Down", false, VK_NEXT, {NK_KEY_SCROLL_DOWN}},
      {"Page Up", false, VK_PRIOR, {NK_KEY_SCROLL_UP}},
      {"A", false, 'A', {}},
      {"Ctrl+A", true, 'A', {NK_KEY_TEXT_SELECT_ALL}},
      {"C", false, 'C', {}},
      {"Ctrl+C", true, 'C', {NK_KEY_COPY}},
      {"Ctrl+V", true, 'V', {NK_KEY_PASTE}},
      {"Ctrl+X", true, 'X', {NK_KEY_CUT}},
      {"Ctrl+Z", true, 'Z', {NK_KEY_TEXT_UNDO}},
      {"Ctrl+R", true, 'R', {NK_KEY_TEXT_REDO}},
      {"R", false, 'R', {}},
      {"Up", false, VK_UP, {}},
      {"Ctrl+Down", true, VK_DOWN, {}},
      {"Ctrl itself", false, VK_CONTROL, {}},
      {"Alt itself", false, VK_MENU, {}},
      {"Escape", false, VK_ESCAPE, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    nk_input_begin(&ui_context);
    if (c.ctrl) {
      EXPECT_EQ(feed(key(WM_KEYDOWN, VK_CONTROL)), 0);  // Ctrl alone is not a UI key
    }
    const int expected = c.keys.empty() ? 0 : 1;
    EXPECT_EQ(feed(key(WM_KEYDOWN, c.vkey)), expected);
    for (int k = 0; k < NK_KEY_MAX; ++k) {
      bool listed = false;
      for (nk_keys want : c.keys) listed = listed || want == k;
      EXPECT_EQ(keyboard().keys[k].down, listed ? 1 : 0) << "key " << k;
      EXPECT_EQ(keyboard().keys[k].clicked, listed ? 1u : 0u) << "key " << k;
    }
    EXPECT_EQ(feed(key(WM_KEYUP, c.vkey)), expected);
    for (nk_keys want : c.keys) EXPECT_EQ(keyboard().keys[want].down, 0);
    if (c.ctrl) feed(key(WM_KEYUP, VK_CONTROL));
    nk_input_end(&ui_context);
  }
}

TEST_F(UiInput, AltCombinationsArriveAsPlainKeys) {
  EXPECT_EQ(feed(record(WM_SYSKEYDOWN, VK_LEFT, 1 | (1 << 29))), 1);
  EXPECT_EQ(keyboard().keys[NK_KEY_LEFT].down, 1);
  EXPECT_EQ(feed(record(WM_SYSKEYUP, VK_LEFT, 1 | (1 << 29))), 1);
  EXPECT_EQ(keyboard().keys[NK_KEY_LEFT].down, 0);
}

TEST_F(UiInput, CtrlIsKnownFromTheQueuedInputItself) {
  // Its own records.
  feed(key(WM_KEYDOWN, VK_LCONTROL));
  EXPECT_EQ(feed(key(WM_KEYDOWN, 'A')), 1);
  feed(key(WM_KEYUP, VK_LCONTROL));
  EXPECT_EQ(feed(key(WM_KEYDOWN, 'V')), 0);

  // A mouse record made without MK_CONTROL: a release we never saw.
  feed(key(WM_KEYDOWN, VK_CONTROL));
  feed(mouse(WM_MOUSEMOVE, 5, 5, 0));
  EXPECT_EQ(feed(key(WM_KEYDOWN, 'C')), 0);
  // One made with MK_CONTROL: Ctrl went down elsewhere and is held.
  feed(mouse(WM_MOUSEMOVE, 5, 5, MK_CONTROL));
  EXPECT_EQ(feed(key(WM_KEYDOWN, 'C')), 1);
  EXPECT_EQ(keyboard().keys[NK_KEY_COPY].down, 1);

  // Losing the focus: the key-up goes to another window.
  feed(record(WM_ACTIVATE, WA_INACTIVE, 0));
  EXPECT_EQ(feed(key(WM_KEYDOWN, 'X')), 0);
}

TEST_F(UiInput, RealKeyMessagesThroughTheWindowsQueue) {
  GraphMsg drained{};
  while (peek_graph_message(&drained, MSGCAT_ALL, true)) {
  }
  PostMessageW(window(), WM_KEYDOWN, VK_CONTROL, 0x001D0001);
  PostMessageW(window(), WM_KEYDOWN, 'A', 0x001E0001);
  PostMessageW(window(), WM_KEYUP, 'A', 0xC01E0001);
  PostMessageW(window(), WM_KEYUP, VK_CONTROL, 0xC01D0001);

  // Key records only: the window thread's TranslateMessage may add characters.
  std::vector<int> results;
  for (int waited = 0; results.size() < 4 && waited < 5000; waited += 10) {
    GraphMsg msg{};
    if (peek_graph_message(&msg, MSGCAT_KEY, true))
      results.push_back(ui_handle_message(window(), &msg));
    else
      Sleep(10);
  }
  EXPECT_EQ(results, (std::vector<int>{0, 1, 1, 0}));
  EXPECT_EQ(keyboard().keys[NK_KEY_TEXT_SELECT_ALL].clicked, 2u);  // down and up, both with Ctrl
  EXPECT_EQ(keyboard().keys[NK_KEY_TEXT_SELECT_ALL].down, 0);
}

TEST_F(UiInput, CharactersBelowSpaceAreLeftToTheKeyTable) {
  struct Case {
    wchar_t ch;
    int result;
    const char* text;
  };
  const Case cases[] = {
      {L'a', 1, "a"}, {L' ', 1, " "}, {L'中', 1, "\xE4\xB8\xAD"}, {13, 0, ""}, {8, 0, ""},
      {1, 0, ""},     {9, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.ch));
    nk_input_begin(&ui_context);
    EXPECT_EQ(feed(character(c.ch)), c.result);
    EXPECT_EQ(std::string(keyboard().text, keyboard().text_len), c.text);
    nk_input_end(&ui_context);
  }
}

TEST_F(UiInput, MouseMotionWheelAndUntranslatedRecords) {
  EXPECT_EQ(feed(mouse(WM_MOUSEMOVE, 123, 45)), 1);
  EXPECT_EQ(pointer().pos.x, 123.0f);
  EXPECT_EQ(pointer().pos.y, 45.0f);

  EXPECT_EQ(feed(wheel(120)), 1);
  EXPECT_FLOAT_EQ(pointer().scroll_delta.y, 1.0f);
  nk_input_end(&ui_context);
  nk_input_begin(&ui_context);
  EXPECT_EQ(feed(wheel(-240)), 1);
  EXPECT_FLOAT_EQ(pointer().scroll_delta.y, -2.0f);
  EXPECT_FLOAT_EQ(pointer().scroll_delta.x, 0.0f);

  EXPECT_EQ(feed(mouse(WM_RBUTTONDBLCLK, 1, 1)), 0);
  EXPECT_EQ(feed(mouse(WM_MBUTTONDBLCLK, 1, 1)), 0);
  EXPECT_EQ(feed(record(WM_SIZE, 0, MAKELPARAM(490, 328))), 0);
  for (int b = 0; b < NK_BUTTON_MAX; ++b) EXPECT_EQ(pointer().buttons[b].clicked, 0u);
}

TEST_F(UiInput, ButtonsAreHeldWithTheMouseCapturedUntilReleased) {
  struct Case {
    const char* name;
    UINT down, up;
    nk_buttons button;
  };
  const Case cases[] = {
      {"left", WM_LBUTTONDOWN, WM_LBUTTONUP, NK_BUTTON_LEFT},
      {"right", WM_RBUTTONDOWN, WM_RBUTTONUP, NK_BUTTON_RIGHT},
      {"middle", WM_MBUTTONDOWN, WM_MBUTTONUP, NK_BUTTON_MIDDLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(feed(mouse(c.down, 30, 40)), 1);
    EXPECT_EQ(pointer().buttons[c.button].down, 1);
    EXPECT_EQ(pointer().buttons[c.button].clicked_pos.x, 30.0f);
    EXPECT_EQ(pointer().buttons[c.button].clicked_pos.y, 40.0f);
    EXPECT_EQ(captured_window(), window());
    EXPECT_EQ(feed(mouse(c.up, 35, 45)), 1);
    EXPECT_EQ(pointer().buttons[c.button].down, 0);
    EXPECT_EQ(pointer().buttons[c.button].clicked_pos.x, 35.0f);
    EXPECT_EQ(captured_window(), nullptr);
  }
}

TEST_F(UiInput, LeftReleaseEndsADoubleClick) {
  EXPECT_EQ(feed(mouse(WM_LBUTTONDOWN, 10, 10)), 1);
  EXPECT_EQ(feed(mouse(WM_LBUTTONUP, 10, 10)), 1);
  EXPECT_EQ(feed(mouse(WM_LBUTTONDBLCLK, 10, 10)), 1);
  EXPECT_EQ(pointer().buttons[NK_BUTTON_DOUBLE].down, 1);
  EXPECT_EQ(feed(mouse(WM_LBUTTONUP, 10, 10)), 1);
  EXPECT_EQ(pointer().buttons[NK_BUTTON_DOUBLE].down, 0);
  EXPECT_EQ(pointer().buttons[NK_BUTTON_LEFT].down, 0);
}
