// The setup program's entry: opens the graph window, sets up the UI font and
// context, and runs the frame loop that does every piece of work. The only
// other thread is the graph window's own.
#include <windows.h>

#include <cstdint>

#include "app/setup_wizard.h"
#include "graphics/drawing_api.h"
#include "ui_backend/ui_font.h"
#include "ui_backend/ui_input.h"
#include "ui_backend/ui_render.h"

namespace {

constexpr int kWindowWidth = 490;
constexpr int kWindowHeight = 328;
constexpr wchar_t kWindowTitle[] = L"Pivro 26.10.25 安装向导";
constexpr int32_t kUiFontHeight = 17;
constexpr DWORD kFrameSleepMs = 10;

bool is_button_press(uint16_t message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}
bool is_button_release(uint16_t message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

// Hands the queued input of one frame to the UI library. The UI library sees
// a click only when the button goes down in one frame and up in a later one,
// so a press and its release that queued up together (while a long step held
// the loop) would cancel out: the drain stops before a release whose press
// this frame already handled, and the rest follows in the next frame, in order.
void drain_input(HWND window) {
  bool pressed = false;
  GraphMsg message;
  while (peek_graph_message(&message, 0xFF, false)) {
    if (pressed && is_button_release(message.message)) break;
    peek_graph_message(&message, 0xFF, true);
    pressed = pressed || is_button_press(message.message);
    ui_handle_message(window, &message);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int32_t running = 1;
  int32_t current_page = 1;

  // No console, close and minimize boxes, no double-click messages.
  open_graph_window(kWindowWidth, kWindowHeight, 0);
  HWND window = graph_window_handle();
  HDC window_dc = GetDC(window);
  SetWindowTextW(window, kWindowTitle);

  UiFont* font = ui_font_create("Segoe UI", kUiFontHeight, 0);
  nk_context* ctx = ui_backend_init(font, window_dc, kWindowWidth, kWindowHeight);
  // Lives until the process ends, as its pages and records do.
  SetupWizard* wizard = new SetupWizard(ctx, kWindowWidth, kWindowHeight);

  bool first_frame_done = false;
  // The window shows only the frames that the loop flushes.
  begin_batch_draw();
  while (running) {
    nk_input_begin(ctx);
    drain_input(window);
    nk_input_end(ctx);

    wizard->frame(&running, &current_page);
    ui_render(nk_rgb(99, 99, 99));
    flush_batch_draw();
    Sleep(kFrameSleepMs);

    if (!first_frame_done) {
      // The welcome page is on screen while the detection runs; input queues.
      first_frame_done = true;
      wizard->first_frame();
    }
  }

  end_batch_draw();
  ui_font_free(font);
  ReleaseDC(window, window_dc);
  close_graph_window();
  return 0;
}
