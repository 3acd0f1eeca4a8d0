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
    GraphMsg message;
    while (peek_graph_message(&message, 0xFF, true)) ui_handle_message(window, &message);
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
