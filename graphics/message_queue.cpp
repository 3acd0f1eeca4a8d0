// GraphMsg records, the ring between the window thread and the program, and
// peek_graph_message.
#include "graphics/message_queue.h"

#include "graphics/graph_window.h"
#include "graphics/library_state.h"

uint8_t message_category(uint16_t code) {
  if (is_graph_mouse_message(code)) return MSGCAT_MOUSE;
  switch (code) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      return MSGCAT_KEY;
    case WM_CHAR:
      return MSGCAT_CHAR;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
      return MSGCAT_WINDOW;
    default:
      return 0;
  }
}

bool make_graph_msg(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, GraphMsg* out) {
  // System keys arrive folded onto the plain key messages.
  const UINT code = message == WM_SYSKEYDOWN ? WM_KEYDOWN : message == WM_SYSKEYUP ? WM_KEYUP : message;
  if (code > 0xFFFF) return false;
  GraphMsg record = {};
  record.message = uint16_t(code);
  switch (message_category(uint16_t(code))) {
    case MSGCAT_MOUSE: {
      const DWORD keys = DWORD(wparam);
      record.mouse.mouse_flags = uint8_t(((keys & MK_CONTROL) ? 1 : 0) | ((keys & MK_SHIFT) ? 2 : 0) |
                                         ((keys & MK_LBUTTON) ? 4 : 0) | ((keys & MK_MBUTTON) ? 8 : 0) |
                                         ((keys & MK_RBUTTON) ? 16 : 0));
      record.mouse.wheel = int16_t(HIWORD(wparam));
      POINT at = {int16_t(LOWORD(lparam)), int16_t(HIWORD(lparam))};
      if (code == WM_MOUSEWHEEL) ScreenToClient(hwnd, &at);  // the wheel reports screen coordinates
      record.mouse.x = int16_t(at.x);
      record.mouse.y = int16_t(at.y);
      break;
    }
    case MSGCAT_KEY:
      record.key.vkey = uint8_t(wparam & 0xFF);
      record.key.scan_code = uint8_t((lparam >> 16) & 0xFF);
      record.key.key_flags = uint8_t(((lparam >> 24) & 1) | (((lparam >> 30) & 1) << 1));
      break;
    case MSGCAT_CHAR:
      record.character.ch = uint16_t(wparam);
      break;
    case MSGCAT_WINDOW:
      record.window.wparam = uint32_t(wparam);
      record.window.lparam = uint32_t(lparam);
      break;
    default:
      return false;
  }
  *out = record;
  return true;
}

bool MessageQueue::push(const GraphMsg& msg) {
  if (full()) return false;  // the newest record is the one that is lost
  slots[write] = msg;
  write = (write + 1) & (slot_count - 1);
  return true;
}

bool MessageQueue::peek(GraphMsg* out, uint8_t filter, bool remove) {
  if ((filter & 0x0F) != 0x0F) {
    while (!empty() && !(message_category(slots[read].message) & filter))
      read = (read + 1) & (slot_count - 1);
  }
  if (empty()) return false;
  if (out) *out = slots[read];
  if (remove) read = (read + 1) & (slot_count - 1);
  return true;
}

bool peek_graph_message(GraphMsg* out, uint8_t filter, bool remove) {
  GraphWnd* window = graphics_library.window;
  if (!window) return false;  // the library is not started: no input exists
  ScopedLock lock(graphics_library.queue_lock);
  return window->queue.peek(out, filter, remove);
}
