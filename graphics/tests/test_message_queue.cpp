// GraphMsg records and the 64-slot ring, without a window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "graphics/message_queue.h"

namespace {

GraphMsg mouse_at(int16_t x) {
  GraphMsg m = {};
  m.message = WM_MOUSEMOVE;
  m.mouse.x = x;
  return m;
}

GraphMsg key(uint8_t vkey) {
  GraphMsg m = {};
  m.message = WM_KEYDOWN;
  m.key.vkey = vkey;
  return m;
}

}  // namespace

TEST(MessageQueue, HoldsSixtyThreeRecordsAndDropsTheNewest) {
  MessageQueue queue;
  for (int16_t i = 0; i < 64; ++i) EXPECT_EQ(queue.push(mouse_at(i)), i < 63) << i;
  EXPECT_TRUE(queue.full());
  GraphMsg out = {};
  ASSERT_TRUE(queue.peek(&out, MSGCAT_ALL, true));
  EXPECT_EQ(out.mouse.x, 0);
  EXPECT_TRUE(queue.push(mouse_at(100)));  // one read makes room for one more
  EXPECT_FALSE(queue.push(mouse_at(101)));
  for (int16_t expected = 1; expected < 63; ++expected) {
    ASSERT_TRUE(queue.peek(&out, MSGCAT_ALL, true));
    ASSERT_EQ(out.mouse.x, expected);
  }
  ASSERT_TRUE(queue.peek(&out, MSGCAT_ALL, true));
  EXPECT_EQ(out.mouse.x, 100);
  EXPECT_TRUE(queue.empty());
}

TEST(MessageQueue, KeepsArrivalOrderAcrossTheWrapOfItsIndices) {
  MessageQueue queue;
  GraphMsg out = {};
  for (int16_t i = 0; i < 500; ++i) {
    ASSERT_TRUE(queue.push(mouse_at(i)));
    if (i % 3 == 2) {  // read behind the writer, so the indices wrap many times
      for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(queue.peek(&out, MSGCAT_ALL, true));
        ASSERT_EQ(out.mouse.x, i - 2 + k);
      }
    }
  }
}

TEST(MessageQueue, PeekWithoutRemovingAndOnAnEmptyQueue) {
  MessageQueue queue;
  GraphMsg out = key('Q');
  EXPECT_FALSE(queue.peek(&out, MSGCAT_ALL, true));
  EXPECT_EQ(out.key.vkey, 'Q') << "an empty queue leaves out untouched";
  EXPECT_FALSE(queue.peek(nullptr, MSGCAT_ALL, false));

  queue.push(key('A'));
  queue.push(key('B'));
  EXPECT_TRUE(queue.peek(nullptr, MSGCAT_ALL, false));
  ASSERT_TRUE(queue.peek(&out, MSGCAT_ALL, false));
  EXPECT_EQ(out.key.vkey, 'A');
  ASSERT_TRUE(queue.peek(&out, MSGCAT_ALL, true));
  EXPECT_EQ(out.key.vkey, 'A') << "not removed before";
  ASSERT_TRUE(queue.peek(&out, MSGCAT_ALL, true));
  EXPECT_EQ(out.key.vkey, 'B');
}

TEST(MessageQueue, AFilterDiscardsTheOlderRecordsOfOtherCategoriesForGood) {
  MessageQueue queue;
  queue.push(mouse_at(1));
  queue.push(mouse_at(2));
  queue.push(key('K'));
  queue.push(mouse_at(3));
  GraphMsg out = {};
  ASSERT_TRUE(queue.peek(&out, MSGCAT_KEY, true));
  EXPECT_EQ(out.message, WM_KEYDOWN);
  ASSERT_TRUE(queue.peek(&out, MSGCAT_ALL, true));
  EXPECT_EQ(out.mouse.x, 3) << "the two mouse records before the key are gone";
  EXPECT_FALSE(queue.peek(&out, MSGCAT_ALL, true));

  // All four category bits set: nothing is discarded, whatever the high bits.
  queue.push(mouse_at(4));
  ASSERT_TRUE(queue.peek(&out, 0x0F, true));
  EXPECT_EQ(out.mouse.x, 4);
  // A filter with no matching record empties the queue.
  queue.push(mouse_at(5));
  queue.push(mouse_at(6));
  EXPECT_FALSE(queue.peek(&out, MSGCAT_CHAR, true));
  EXPECT_TRUE(queue.empty());
}

TEST(GraphMsgRecord, CategoriesOfMessageCodes) {
  struct Case {
    uint16_t code;
    uint8_t category;
  } cases[] = {
      {WM_MOUSEMOVE, MSGCAT_MOUSE},
      {WM_LBUTTONDOWN, MSGCAT_MOUSE},
      {WM_MBUTTONDBLCLK, MSGCAT_MOUSE},
      {WM_MOUSEWHEEL, MSGCAT_MOUSE},
      {0x20B, 0},  // side buttons are not queued
      {WM_KEYDOWN, MSGCAT_KEY},
      {WM_KEYUP, MSGCAT_KEY},
      {WM_SYSKEYDOWN, 0},
      {WM_CHAR, MSGCAT_CHAR},
      {WM_SYSCHAR, 0},
      {WM_MOVE, MSGCAT_WINDOW},
      {WM_SIZE, MSGCAT_WINDOW},
      {WM_ACTIVATE, MSGCAT_WINDOW},
      {WM_QUIT, 0},
      {WM_PAINT, 0},
      {WM_TIMER, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(message_category(c.code), c.category) << std::hex << c.code;
}

TEST(GraphMsgRecord, RecordsCarryTheirPayloadAndZeroElsewhere) {
  GraphMsg m;
  std::memset(&m, 0xCC, sizeof m);
  // Shift held with the left button during a move; signed client coordinates.
  ASSERT_TRUE(make_graph_msg(nullptr, WM_MOUSEMOVE, MK_SHIFT | MK_LBUTTON, MAKELPARAM(-3, -7), &m));
  EXPECT_EQ(m.message, WM_MOUSEMOVE);
  EXPECT_EQ(m.mouse.mouse_flags, 6);
  EXPECT_EQ(m.mouse.x, -3);
  EXPECT_EQ(m.mouse.y, -7);
  EXPECT_EQ(m.mouse.wheel, 0);

  ASSERT_TRUE(make_graph_msg(nullptr, WM_RBUTTONUP,
                             MK_CONTROL | MK_SHIFT | MK_LBUTTON | MK_MBUTTON | MK_RBUTTON | MK_XBUTTON1,
                             MAKELPARAM(489, 327), &m));
  EXPECT_EQ(m.mouse.mouse_flags, 0x1F) << "bits 5 to 7 stay clear";

  // A system key folds onto WM_KEYDOWN; scan code, extended and repeat bits.
  const LPARAM key_bits = (LPARAM(0x38) << 16) | (LPARAM(1) << 24) | (LPARAM(1) << 29) | (LPARAM(1) << 30);
  std::memset(&m, 0xCC, sizeof m);
  ASSERT_TRUE(make_graph_msg(nullptr, WM_SYSKEYDOWN, VK_F4, key_bits, &m));
  EXPECT_EQ(m.message, WM_KEYDOWN);
  EXPECT_EQ(m.key.vkey, VK_F4);
  EXPECT_EQ(m.key.scan_code, 0x38);
  EXPECT_EQ(m.key.key_flags, 3);
  const BYTE* raw = reinterpret_cast<const BYTE*>(&m);
  const size_t used = offsetof(GraphMsg, key) + sizeof(GraphKeyMsg);
  for (size_t i = used; i < sizeof m; ++i) EXPECT_EQ(raw[i], 0) << "byte " << i;

  ASSERT_TRUE(make_graph_msg(nullptr, WM_SYSKEYUP, 'X', 0, &m));
  EXPECT_EQ(m.message, WM_KEYUP);
  EXPECT_EQ(m.key.key_flags, 0);

  ASSERT_TRUE(make_graph_msg(nullptr, WM_CHAR, 0x5929, 1, &m));  // 天
  EXPECT_EQ(m.character.ch, 0x5929);

  ASSERT_TRUE(make_graph_msg(nullptr, WM_SIZE, SIZE_RESTORED, MAKELPARAM(490, 328), &m));
  EXPECT_EQ(m.window.wparam, uint32_t(SIZE_RESTORED));
  EXPECT_EQ(m.window.lparam, uint32_t(MAKELPARAM(490, 328)));

  GraphMsg untouched = key('U');
  for (UINT code : {UINT(WM_QUIT), UINT(WM_SYSCHAR), UINT(WM_TIMER), UINT(0x10100)})
    EXPECT_FALSE(make_graph_msg(nullptr, code, 1, 1, &untouched)) << std::hex << code;
  EXPECT_EQ(untouched.key.vkey, 'U');
}
