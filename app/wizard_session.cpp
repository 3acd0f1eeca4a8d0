#include "app/wizard_session.h"

#include "graphics/drawing_api.h"
#include "ui_backend/ui_input.h"
#include "ui_backend/ui_render.h"

namespace {

constexpr int kWindowWidth = 490;
constexpr int kWindowHeight = 328;
constexpr wchar_t kWindowTitle[] = L"Pivro 26.10.25 安装向导";
constexpr int32_t kUiFontHeight = 17;

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

WizardSession start_wizard() {
  WizardSession session;
  // No console, close and minimize boxes, no double-click messages.
  open_graph_window(kWindowWidth, kWindowHeight, 0);
  session.window = graph_window_handle();
  session.window_dc = GetDC(session.window);
  SetWindowTextW(session.window, kWindowTitle);

  session.font = ui_font_create("Segoe UI", kUiFontHeight, 0);
  session.ctx = ui_backend_init(session.font, session.window_dc, kWindowWidth, kWindowHeight);
  session.wizard = new SetupWizard(session.ctx, kWindowWidth, kWindowHeight);

  // The window shows only the frames that the loop flushes.
  begin_batch_draw();
  return session;
}

void run_wizard_frame(const WizardSession& session, int32_t* running, int32_t* current_page) {
  nk_input_begin(session.ctx);
  drain_input(session.window);
  nk_input_end(session.ctx);

  session.wizard->frame(running, current_page);
  ui_render(nk_rgb(99, 99, 99));
  flush_batch_draw();
}

void end_wizard(WizardSession& session) {
  end_batch_draw();
  ui_font_free(session.font);
  ReleaseDC(session.window, session.window_dc);
  close_graph_window();
}
