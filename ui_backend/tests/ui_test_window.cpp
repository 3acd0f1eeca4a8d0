#include "ui_backend/tests/ui_test_window.h"

#include <gtest/gtest.h>

#include "graphics/drawing_api.h"
#include "graphics/library_state.h"

namespace {

constexpr int kWidth = 490;
constexpr int kHeight = 328;

class UiWindowEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    UiTestWindow& w = ui_test_window();
    ui_font_free(w.font);
    w.font = nullptr;
    close_graph_window();
  }
};

const ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new UiWindowEnvironment);

}  // namespace

UiTestWindow& ui_test_window() {
  static UiTestWindow window;
  if (window.hwnd == nullptr) {
    window.hwnd = open_graph_window(kWidth, kHeight, 0);
    window.font = ui_font_create("Segoe UI", 17, 0);
    ui_backend_init(window.font, graphics_library.window->window_dc, kWidth, kHeight);
    begin_batch_draw();
  }
  return window;
}

uint32_t window_pixel(int x, int y) {
  GdiFlush();
  const IMAGE* image = graphics_library.window;
  return image->pixels[y * image->width + x] & 0xFFFFFF;
}

int count_pixels(int left, int top, int right, int bottom, uint32_t value) {
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) n += window_pixel(x, y) == value;
  return n;
}

uint32_t pixel_of(COLORREF color) {
  return colorref_to_pixel(color);
}

void declare_canvas(const std::function<void(nk_command_buffer*)>& draw) {
  ui_test_window();
  nk_style_item previous = ui_context.style.window.fixed_background;
  ui_context.style.window.fixed_background = nk_style_item_color(nk_rgba(0, 0, 0, 0));
  if (nk_begin(&ui_context, "canvas", nk_rect(0, 0, kWidth, kHeight), NK_WINDOW_NO_SCROLLBAR))
    draw(nk_window_get_canvas(&ui_context));
  nk_end(&ui_context);
  ui_context.style.window.fixed_background = previous;
}
