// Input of the graph window for the program: fixed-size GraphMsg records in a
// 64-slot ring that the window procedure fills on the window thread and the
// program drains on its main thread with peek_graph_message.
#pragma once

#include <windows.h>

#include <cstdint>

// Category bits of a message code; a filter is an OR of them.
enum : uint8_t {
  MSGCAT_MOUSE = 1,   // 0x200 to 0x20A: moves, buttons, double-clicks, wheel
  MSGCAT_KEY = 2,     // 0x100 and 0x101 (system keys are folded onto them)
  MSGCAT_CHAR = 4,    // 0x102
  MSGCAT_WINDOW = 8,  // 3, 5, 6: moved, sized, activated
  MSGCAT_ALL = 255,
};

struct GraphMouseMsg {
  uint8_t mouse_flags;  // bit 0 Ctrl, 1 Shift, 2 left, 3 middle, 4 right button
  int16_t x;            // client coordinates, also for the wheel
  int16_t y;
  int16_t wheel;  // high word of wParam: 120 per notch, positive away from the user
};

struct GraphKeyMsg {
  uint8_t vkey;
  uint8_t scan_code;
  uint8_t key_flags;  // bit 0 extended key, bit 1 the key was already down
};

struct GraphCharMsg {
  uint16_t ch;  // one UTF-16 code unit
};

struct GraphWindowMsg {
  uint32_t wparam;
  uint32_t lparam;
};

// One input record, always copied whole; the bytes a payload does not use are zero.
struct GraphMsg {
  uint16_t message;  // the Windows message number (0x100 / 0x101 for all key messages)
  union {
    GraphMouseMsg mouse;
    GraphKeyMsg key;
    GraphCharMsg character;
    GraphWindowMsg window;
  };
};

// A mouse message the graph window queues: 0x200 (WM_MOUSEFIRST) to 0x20A
// (WM_MOUSEWHEEL); the X buttons and the horizontal wheel are not among them.
inline bool is_graph_mouse_message(UINT message) {
  return message >= WM_MOUSEFIRST && message <= WM_MOUSEWHEEL;
}

// The category bit of a message code, 0 for codes that are never queued.
uint8_t message_category(uint16_t code);

// Builds the record for a Windows message of one of the four categories; false
// (and out untouched) for any other message. Wheel positions arrive in screen
// coordinates and are mapped into the client area of hwnd.
bool make_graph_msg(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, GraphMsg* out);

// The ring itself; the caller holds queue_lock around every call.
// Holds at most 63 records: a full ring drops the newest one.
class MessageQueue {
 public:
  static constexpr int slot_count = 64;

  bool empty() const { return read == write; }
  bool full() const { return ((write + 1) & (slot_count - 1)) == read; }
  // Appends msg; false when the ring was full and msg was dropped.
  bool push(const GraphMsg& msg);
  // When the filter lacks any of the four category bits, records of other
  // categories are discarded from the front first. Then copies the oldest
  // record to out (when given) and removes it (when remove); false when empty.
  bool peek(GraphMsg* out, uint8_t filter, bool remove);

  GraphMsg slots[slot_count] = {};
  uint8_t read = 0;
  uint8_t write = 0;
};

// Takes the oldest queued input record of the graph window (see MessageQueue::peek),
// under queue_lock. Needs an open window, or at least a started library.
bool peek_graph_message(GraphMsg* out, uint8_t filter, bool remove);
