// Input bridge: GraphMsg records become UI library input, and the UI
// library's clipboard hooks exchange UTF-8 with the clipboard's Unicode text.
#include "ui_backend/ui_input.h"

#include <cwchar>
#include <string>

#include "app/win_handles.h"
#include "graphics/graph_window.h"
#include "ui_backend/ui_backend_state.h"
#include "ui_backend/ui_font.h"

namespace {

constexpr unsigned kMouseCtrlFlag = 0x01;  // MK_CONTROL as the queue records it

// Key records carry no modifier state, and the records are read a frame or
// more after they were made, so neither GetKeyState on this thread (which has
// no window) nor GetAsyncKeyState (the state now, not then) tells whether Ctrl
// was held. The queue itself does: Ctrl's own down and up records arrive in
// order with the other keys, every mouse record carries MK_CONTROL, and losing
// the focus ends any press we could still be waiting to see released.
void track_ctrl(const GraphMsg& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (msg.key.vkey == VK_CONTROL || msg.key.vkey == VK_LCONTROL || msg.key.vkey == VK_RCONTROL)
        ui_backend.ctrl_down = msg.message == WM_KEYDOWN;
      break;
    case WM_ACTIVATE:
      if (LOWORD(msg.window.wparam) == WA_INACTIVE) ui_backend.ctrl_down = false;
      break;
    default:
      if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSEWHEEL)
        ui_backend.ctrl_down = (msg.mouse.mouse_flags & kMouseCtrlFlag) != 0;
      break;
  }
}

struct KeyMapping {
  unsigned vkey;
  nk_keys plain;      // NK_KEY_NONE: not translated without Ctrl
  nk_keys with_ctrl;  // NK_KEY_NONE: not translated with Ctrl
  nk_keys second;     // a further key sent with the same state, or NK_KEY_NONE
};

constexpr KeyMapping kKeyTable[] = {
    {VK_SHIFT, NK_KEY_SHIFT, NK_KEY_SHIFT, NK_KEY_NONE},
    {VK_LSHIFT, NK_KEY_SHIFT, NK_KEY_SHIFT, NK_KEY_NONE},
    {VK_RSHIFT, NK_KEY_SHIFT, NK_KEY_SHIFT, NK_KEY_NONE},
    {VK_DELETE, NK_KEY_DEL, NK_KEY_DEL, NK_KEY_NONE},
    {VK_RETURN, NK_KEY_ENTER, NK_KEY_ENTER, NK_KEY_NONE},
    {VK_TAB, NK_KEY_TAB, NK_KEY_TAB, NK_KEY_NONE},
    {VK_BACK, NK_KEY_BACKSPACE, NK_KEY_BACKSPACE, NK_KEY_NONE},
    {VK_LEFT, NK_KEY_LEFT, NK_KEY_TEXT_WORD_LEFT, NK_KEY_NONE},
    {VK_RIGHT, NK_KEY_RIGHT, NK_KEY_TEXT_WORD_RIGHT, NK_KEY_NONE},
    {VK_HOME, NK_KEY_TEXT_START, NK_KEY_TEXT_START, NK_KEY_SCROLL_START},
    {VK_END, NK_KEY_TEXT_END, NK_KEY_TEXT_END, NK_KEY_SCROLL_END},
    {VK_NEXT, NK_KEY_SCROLL_DOWN, NK_KEY_SCROLL_DOWN, NK_KEY_NONE},
    {VK_PRIOR, NK_KEY_SCROLL_UP, NK_KEY_SCROLL_UP, NK_KEY_NONE},
    {'A', NK_KEY_NONE, NK_KEY_TEXT_SELECT_ALL, NK_KEY_NONE},
    {'C', NK_KEY_NONE, NK_KEY_COPY, NK_KEY_NONE},
    {'V', NK_KEY_NONE, NK_KEY_PASTE, NK_KEY_NONE},
    {'X', NK_KEY_NONE, NK_KEY_CUT, NK_KEY_NONE},
    {'Z', NK_KEY_NONE, NK_KEY_TEXT_UNDO, NK_KEY_NONE},
    {'R', NK_KEY_NONE, NK_KEY_TEXT_REDO, NK_KEY_NONE},
};

int translate_key(unsigned vkey, bool down) {
  for (const KeyMapping& m : kKeyTable) {
    if (m.vkey != vkey) continue;
    const nk_keys key = ui_backend.ctrl_down ? m.with_ctrl : m.plain;
    if (key == NK_KEY_NONE) return 0;
    nk_input_key(&ui_context, key, down);
    if (m.second != NK_KEY_NONE) nk_input_key(&ui_context, m.second, down);
    return 1;
  }
  return 0;
}

int press(nk_buttons button, const GraphMsg& msg) {
  nk_input_button(&ui_context, button, msg.mouse.x, msg.mouse.y, 1);
  capture_mouse();
  return 1;
}

int release(nk_buttons button, const GraphMsg& msg) {
  nk_input_button(&ui_context, button, msg.mouse.x, msg.mouse.y, 0);
  release_mouse();
  return 1;
}

// Open for the calling thread until destruction.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  bool is_open() const { return open_; }

 private:
  bool open_;
};

// The memory of a global block, locked until destruction.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
  ~GlobalLockGuard() {
    if (data_ != nullptr) GlobalUnlock(block_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* data() const { return data_; }

 private:
  HGLOBAL block_;
  void* data_;
};

}  // namespace

int ui_handle_message(HWND /*window*/, const GraphMsg* msg) {
  track_ctrl(*msg);
  switch (msg->message) {
    case WM_MOUSEMOVE:
      nk_input_motion(&ui_context, msg->mouse.x, msg->mouse.y);
      return 1;
    case WM_LBUTTONDOWN:
      return press(NK_BUTTON_LEFT, *msg);
    case WM_LBUTTONUP:
      // The double-click state ends first, so no widget sees it outlast the press.
      nk_input_button(&ui_context, NK_BUTTON_DOUBLE, msg->mouse.x, msg->mouse.y, 0);
      return release(NK_BUTTON_LEFT, *msg);
    case WM_LBUTTONDBLCLK:
      nk_input_button(&ui_context, NK_BUTTON_DOUBLE, msg->mouse.x, msg->mouse.y, 1);
      return 1;
    case WM_RBUTTONDOWN:
      return press(NK_BUTTON_RIGHT, *msg);
    case WM_RBUTTONUP:
      return release(NK_BUTTON_RIGHT, *msg);
    case WM_MBUTTONDOWN:
      return press(NK_BUTTON_MIDDLE, *msg);
    case WM_MBUTTONUP:
      return release(NK_BUTTON_MIDDLE, *msg);
    case WM_MOUSEWHEEL:
      nk_input_scroll(&ui_context, nk_vec2(0.0f, static_cast<float>(msg->mouse.wheel / 120.0)));
      return 1;
    case WM_KEYDOWN:
    case WM_KEYUP:
      return translate_key(msg->key.vkey, msg->message == WM_KEYDOWN);
    case WM_CHAR:
      // Control characters (Enter, Backspace, Ctrl+letter) come through the key table.
      if (msg->character.ch < 32) return 0;
      nk_input_unicode(&ui_context, msg->character.ch);
      return 1;
    default:
      return 0;
  }
}

void ui_clipboard_paste(nk_handle /*handle*/, nk_text_edit* editor) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return;
  ClipboardSession clipboard(nullptr);
  if (!clipboard.is_open()) return;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return;
  const SIZE_T size = GlobalSize(data);
  if (size < sizeof(wchar_t)) return;
  GlobalLockGuard lock(data);
  if (lock.data() == nullptr) return;
  // The block may be larger than the text it holds: the text ends at its NUL
  // or, lacking one, at the end of the block.
  const wchar_t* text = static_cast<const wchar_t*>(lock.data());
  const int units = static_cast<int>(wcsnlen(text, size / sizeof(wchar_t)));
  if (units == 0) return;
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return;
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, units, &utf8[0], bytes, nullptr, nullptr);
  // nk_textedit_paste of this UI library release reads its length as bytes
  // for the undo record but as characters for the insertion, so non-ASCII
  // text would be read past its end. Entering the text as typed reads exactly
  // these bytes, replaces the selection, moves the cursor by characters,
  // keeps undo records and honours the field's filter.
  nk_textedit_text(editor, utf8.data(), bytes);
}

void ui_clipboard_copy(nk_handle /*handle*/, const char* text, int length) {
  if (text == nullptr || length <= 0) return;  // an empty selection leaves the clipboard alone
  const int units = MultiByteToWideChar(CP_UTF8, 0, text, length, nullptr, 0);
  if (units <= 0) return;
  unique_hglobal block(GlobalAlloc(GMEM_MOVEABLE, (static_cast<SIZE_T>(units) + 1) * sizeof(wchar_t)));
  if (!block) return;
  {
    GlobalLockGuard lock(block.get());
    if (lock.data() == nullptr) return;
    wchar_t* wide = static_cast<wchar_t*>(lock.data());
    MultiByteToWideChar(CP_UTF8, 0, text, length, wide, units);
    wide[units] = L'\0';
  }
  // The graph window owns the new contents: emptying with no owner would make
  // SetClipboardData fail. Emptying drops the previous contents in every
  // format, so no other program pastes an older text kept in another format.
  ClipboardSession clipboard(graph_window_handle());
  if (!clipboard.is_open() || !EmptyClipboard()) return;
  if (SetClipboardData(CF_UNICODETEXT, block.get()) != nullptr) block.release();  // the clipboard owns it now
}
