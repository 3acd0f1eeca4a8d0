#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <vector>

#include "graphics/drawing_api.h"
#include "graphics/library_state.h"
#include "ui_backend/tests/ui_test_window.h"
#include "ui_backend/ui_font.h"
#include "ui_backend/ui_render.h"

namespace {

const nk_color kRed = nk_rgb(255, 0, 0);
const nk_color kGreen = nk_rgb(0, 255, 0);
const nk_color kBlue = nk_rgb(0, 0, 255);
const nk_color kWhite = nk_rgb(255, 255, 255);
const nk_color kClear = nk_rgb(1, 2, 3);
const uint32_t kRedPixel = 0xFF0000;
const uint32_t kGreenPixel = 0x00FF00;
const uint32_t kBluePixel = 0x0000FF;
const uint32_t kClearPixel = 0x010203;

// Everything a command may change and must give back.
struct DrawingState {
  COLORREF line_color, fill_color, text_color, bk_color;
  int bk_mode;
  int line_style, line_thickness;
  LOGFONTW font;
};

DrawingState drawing_state() {
  DrawingState s{};
  s.line_color = get_line_color();
  s.fill_color = get_fill_color();
  s.text_color = get_text_color();
  s.bk_color = get_bk_color();
  s.bk_mode = get_bk_mode();
  LINESTYLE style;
  get_line_style(&style);
  s.line_style = style.style;
  s.line_thickness = style.thickness;
  get_font(&s.font);
  return s;
}

void expect_same_state(const DrawingState& before, const DrawingState& after) {
  EXPECT_EQ(after.line_color, before.line_color);
  EXPECT_EQ(after.fill_color, before.fill_color);
  EXPECT_EQ(after.text_color, before.text_color);
  EXPECT_EQ(after.bk_color, before.bk_color);
  EXPECT_EQ(after.bk_mode, before.bk_mode);
  EXPECT_EQ(after.line_style, before.line_style);
  EXPECT_EQ(after.line_thickness, before.line_thickness);
  EXPECT_STREQ(after.font.lfFaceName, before.font.lfFaceName);
  EXPECT_EQ(after.font.lfHeight, before.font.lfHeight);
}

// A drawing state unlike anything the commands set: every piece they change
// would show if it were not restored. The background colour is the clear
// colour, which ui_render sets before the commands.
void set_unusual_state() {
  set_line_color(RGB(10, 20, 30));
  set_line_style(PS_DASH, 2, nullptr, 0);
  set_fill_color(RGB(40, 50, 60));
  set_text_color(RGB(70, 80, 90));
  set_bk_color(RGB(kClear.r, kClear.g, kClear.b));
  set_bk_mode(OPAQUE);
  LOGFONTW font{};
  get_font(&font);
  font.lfHeight = 13;
  wcscpy(font.lfFaceName, L"Tahoma");
  set_font_logfont(&font);
}

// Back to what the wizard works with: the UI font, no clipping.
void restore_ui_state() {
  set_clip_region(nullptr);
  set_line_style(PS_SOLID, 1, nullptr, 0);
  set_bk_mode(OPAQUE);
  set_font_logfont(ui_test_window().font->logfont);
}

// One frame holding the given raw commands, rendered with the clear colour.
void render_canvas(const std::function<void(nk_command_buffer*)>& draw) {
  declare_canvas(draw);
  ui_render(kClear);
}

int non_clear_pixels(int left, int top, int right, int bottom) {
  return (right - left) * (bottom - top) - count_pixels(left, top, right, bottom, kClearPixel);
}

bool close_to(uint32_t pixel, uint32_t expected) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = (pixel >> shift) & 0xFF, b = (expected >> shift) & 0xFF;
    if (std::abs(a - b) > 48) return false;
  }
  return true;
}

// An off-screen image whose top-left 10 by 10 pixels are green and the rest blue.
struct QuadrantImage {
  IMAGE image{20, 20};
  QuadrantImage() {
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) image.pixels[y * 20 + x] = (x < 10 && y < 10) ? kGreenPixel : kBluePixel;
  }
};

class UiRender : public ::testing::Test {
 protected:
  void SetUp() override { ui_test_window(); }
  void TearDown() override { restore_ui_state(); }
};

}  // namespace

TEST_F(UiRender, ClearColourFillsEveryByteBeforeTheCommands) {
  set_bk_color(RGB(200, 10, 10));
  clear();
  ui_render(nk_rgb(99, 99, 99));  // an empty frame
  GdiFlush();
  const IMAGE* image = graphics_library.window;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(image->pixels);
  const size_t size = static_cast<size_t>(image->width) * image->height * 4;
  size_t other = 0;
  for (size_t i = 0; i < size; ++i) other += bytes[i] != 0x63;
  EXPECT_EQ(other, 0u);
  EXPECT_EQ(get_bk_color(), RGB(99, 99, 99));
}

TEST_F(UiRender, EveryCommandKindDrawsAndGivesTheDrawingStateBack) {
  QuadrantImage quadrants;
  struct nk_image picture = nk_image_ptr(&quadrants.image);
  const nk_user_font* font = &ui_test_window().font->nk;
  float square[] = {60, 60, 200, 60, 200, 160, 60, 160};

  struct Case {
    const char* kind;
    std::function<void(nk_command_buffer*)> draw;
  };
  const Case cases[] = {
      {"line", [](nk_command_buffer* c) { nk_stroke_line(c, 60, 60, 200, 160, 3, kRed); }},
      {"curve",
       [](nk_command_buffer* c) { nk_stroke_curve(c, 60, 60, 100, 20, 150, 200, 200, 160, 3, kRed); }},
      {"thin curve",
       [](nk_command_buffer* c) { nk_stroke_curve(c, 60, 60, 100, 20, 150, 200, 200, 160, 1, kRed); }},
      {"rect", [](nk_command_buffer* c) { nk_stroke_rect(c, nk_rect(60, 60, 140, 100), 0, 2, kRed); }},
      {"round rect", [](nk_command_buffer* c) { nk_stroke_rect(c, nk_rect(60, 60, 140, 100), 6, 2, kRed); }},
      {"rect filled", [](nk_command_buffer* c) { nk_fill_rect(c, nk_rect(60, 60, 140, 100), 0, kRed); }},
      {"round rect filled",
       [](nk_command_buffer* c) { nk_fill_rect(c, nk_rect(60, 60, 140, 100), 6, kRed); }},
      {"rect multi-colour",
       [](nk_command_buffer* c) {
         nk_fill_rect_multi_color(c, nk_rect(60, 60, 140, 100), kRed, kGreen, kBlue, kWhite);
       }},
      {"circle", [](nk_command_buffer* c) { nk_stroke_circle(c, nk_rect(60, 60, 100, 100), 2, kRed); }},
      {"circle filled", [](nk_command_buffer* c) { nk_fill_circle(c, nk_rect(60, 60, 100, 100), kRed); }},
      {"arc", [](nk_command_buffer* c) { nk_stroke_arc(c, 130, 110, 50, 0.0f, 1.5f, 3, kRed); }},
      {"arc filled", [](nk_command_buffer* c) { nk_fill_arc(c, 130, 110, 50, 0.0f, 1.5f, kRed); }},
      {"triangle", [](nk_command_buffer* c) { nk_stroke_triangle(c, 60, 60, 200, 60, 130, 160, 4, kRed); }},
      {"triangle filled", [](nk_command_buffer* c) { nk_fill_triangle(c, 60, 60, 200, 60, 130, 160, kRed); }},
      {"polygon", [&](nk_command_buffer* c) { nk_stroke_polygon(c, square, 4, 2, kRed); }},
      {"polygon filled", [&](nk_command_buffer* c) { nk_fill_polygon(c, square, 4, kRed); }},
      {"polyline", [&](nk_command_buffer* c) { nk_stroke_polyline(c, square, 4, 2, kRed); }},
      {"text",
       [&](nk_command_buffer* c) {
         nk_draw_text(c, nk_rect(60, 60, 200, 30), "Pivro 安装", 12, font, kBlue, kRed);
       }},
      {"image", [&](nk_command_buffer* c) { nk_draw_image(c, nk_rect(60, 60, 20, 20), &picture, kWhite); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    set_unusual_state();
    const DrawingState before = drawing_state();
    render_canvas(c.draw);
    expect_same_state(before, drawing_state());
    EXPECT_GT(non_clear_pixels(40, 40, 280, 220), 0);
    restore_ui_state();
  }
}

TEST_F(UiRender, ScissorClipsOnePixelBeyondItsRectangle) {
  render_canvas([](nk_command_buffer* c) {
    nk_push_scissor(c, nk_rect(10, 20, 30, 40));
    nk_fill_rect(c, nk_rect(0, 0, 490, 328), 0, kRed);
  });
  // From (10, 20) to (41, 61), right and bottom edges excluded.
  EXPECT_EQ(count_pixels(10, 20, 41, 61, kRedPixel), 31 * 41);
  EXPECT_EQ(count_pixels(0, 0, 490, 328, kRedPixel), 31 * 41);
}

TEST_F(UiRender, RoundedRectanglesLeaveTheirCornersOut) {
  struct Case {
    float rounding;
    bool corner_drawn;
  };
  for (const Case& c : {Case{0, true}, Case{4, false}}) {
    SCOPED_TRACE(c.rounding);
    render_canvas(
        [&](nk_command_buffer* b) { nk_stroke_rect(b, nk_rect(100, 100, 60, 40), c.rounding, 1, kRed); });
    EXPECT_EQ(window_pixel(100, 100) == kRedPixel, c.corner_drawn);
    EXPECT_EQ(window_pixel(130, 100), kRedPixel);    // the middle of the top edge
    EXPECT_EQ(window_pixel(130, 120), kClearPixel);  // an outline leaves the inside alone
    // A 4 by 4 corner ellipse bends within two pixels of the corner.
    EXPECT_EQ(window_pixel(104, 100), kRedPixel);
  }
}

TEST_F(UiRender, FilledPolygonsUseTheirFirst64Points) {
  // 64 points outline the square (50, 50)-(150, 150); six more would pull the
  // shape out to x = 400.
  std::vector<float> points = {50, 50, 150, 50};
  while (points.size() < 63 * 2) points.insert(points.end(), {150, 150});
  points.insert(points.end(), {50, 150});
  for (int i = 0; i < 6; ++i) points.insert(points.end(), {400, i % 2 ? 50.0f : 150.0f});
  ASSERT_EQ(points.size(), 70u * 2);
  render_canvas([&](nk_command_buffer* c) { nk_fill_polygon(c, points.data(), 70, kRed); });
  EXPECT_EQ(window_pixel(100, 100), kRedPixel);
  EXPECT_EQ(window_pixel(300, 100), kClearPixel);
  EXPECT_EQ(count_pixels(160, 0, 490, 328, kRedPixel), 0);
}

TEST_F(UiRender, TextIsTransparentAndUsesTheCommandsFont) {
  UiFont* main_font = ui_test_window().font;
  UiFont* big = ui_font_create("Segoe UI", 40, 0);
  ASSERT_NE(big, nullptr);
  set_font_logfont(main_font->logfont);
  big->nk = main_font->nk;  // as the pages make their own fonts
  big->nk.userdata = nk_handle_ptr(big);
  big->nk.height = 40;

  render_canvas([&](nk_command_buffer* c) {
    nk_draw_text(c, nk_rect(20, 20, 300, 50), "WWWW", 4, &big->nk, kBlue, kRed);
    nk_draw_text(c, nk_rect(20, 200, 300, 30), "WWWW", 4, &main_font->nk, kBlue, kRed);
  });
  EXPECT_GT(count_pixels(20, 20, 320, 70, kRedPixel), 0);
  EXPECT_EQ(count_pixels(0, 0, 490, 328, kBluePixel), 0);  // the background colour never shows
  // The big face reaches rows that a 17-pixel face does not.
  EXPECT_GT(non_clear_pixels(20, 45, 320, 70), 0);
  EXPECT_EQ(non_clear_pixels(20, 200 + 25, 320, 250), 0);
  EXPECT_GT(non_clear_pixels(20, 200, 320, 200 + 25), 0);
  ui_font_free(big);
}

TEST_F(UiRender, ImagesAreCopiedUnscaledAndANullImageDrawsNothing) {
  QuadrantImage quadrants;
  struct nk_image picture = nk_image_ptr(&quadrants.image);
  struct nk_image none = nk_image_ptr(nullptr);
  render_canvas([&](nk_command_buffer* c) {
    nk_draw_image(c, nk_rect(200, 100, 10, 10), &picture, kWhite);  // the top-left quadrant only
    nk_draw_image(c, nk_rect(300, 100, 20, 20), &picture, kWhite);  // the whole picture
    nk_draw_image(c, nk_rect(50, 50, 60, 60), &none, kWhite);
  });
  EXPECT_EQ(count_pixels(200, 100, 210, 110, kGreenPixel), 100);
  EXPECT_EQ(non_clear_pixels(210, 100, 230, 120), 0);
  EXPECT_EQ(count_pixels(300, 100, 310, 110, kGreenPixel), 100);
  EXPECT_EQ(count_pixels(300, 100, 320, 120, kBluePixel), 300);
  EXPECT_EQ(non_clear_pixels(40, 40, 120, 120), 0);
}

TEST_F(UiRender, MultiColourRectanglesBlendFromTheirCornerColours) {
  render_canvas([](nk_command_buffer* c) {
    nk_fill_rect_multi_color(c, nk_rect(100, 100, 100, 80), kRed, kGreen, kBlue, kWhite);
  });
  EXPECT_TRUE(close_to(window_pixel(101, 101), kRedPixel));    // (x, y): left
  EXPECT_TRUE(close_to(window_pixel(198, 101), kGreenPixel));  // (x + w, y): top
  EXPECT_TRUE(close_to(window_pixel(101, 178), kBluePixel));   // (x, y + h): right
  EXPECT_TRUE(close_to(window_pixel(198, 178), 0xFFFFFF));     // (x + w, y + h): bottom
  EXPECT_EQ(non_clear_pixels(100, 100, 200, 180), 100 * 80);
  EXPECT_EQ(non_clear_pixels(200, 100, 260, 180), 0);
}

// A frame declared the way the wizard's pages declare theirs: a window with
// labels and buttons, a scrolling group, a tooltip and a message popup.
TEST_F(UiRender, PageLikeFrameDrawsAndLeavesNothingBehind) {
  nk_input_begin(&ui_context);
  nk_input_motion(&ui_context, 200, 150);
  nk_input_end(&ui_context);

  set_unusual_state();
  const DrawingState before = drawing_state();
  const nk_color ink = nk_rgb(33, 33, 33);
  if (nk_begin(&ui_context, "", nk_rect(0, 0, 490, 328), NK_WINDOW_NO_SCROLLBAR)) {
    nk_layout_row_dynamic(&ui_context, 16, 1);
    nk_label_colored(&ui_context, "  执行安装", NK_TEXT_LEFT, ink);
    nk_layout_row_dynamic(&ui_context, 168, 1);
    if (nk_group_begin(&ui_context, "group_list", 0)) {
      for (int i = 0; i < 15; ++i) {
        nk_layout_row_dynamic(&ui_context, 30, 2);
        nk_label_colored(&ui_context, "  Visual C++ 2019", NK_TEXT_LEFT, ink);
        nk_button_label(&ui_context, "安装");
      }
      nk_group_end(&ui_context);
    }
    if (nk_tooltip_begin(&ui_context, 340)) {
      nk_layout_row_static(&ui_context, 17, 330, 1);
      nk_label(&ui_context, "C:\\Program Files\\Microsoft Visual Studio\\", NK_TEXT_LEFT);
      nk_tooltip_end(&ui_context);
    }
    if (nk_popup_begin(&ui_context, NK_POPUP_STATIC, "", NK_WINDOW_NO_SCROLLBAR,
                       nk_rect(120, 100, 220, 80))) {
      nk_layout_row_dynamic(&ui_context, 16, 1);
      nk_label_colored(&ui_context, "安装成功", NK_TEXT_CENTERED, ink);
      nk_layout_row_dynamic(&ui_context, 25, 1);
      nk_button_label(&ui_context, "OK");
      nk_popup_end(&ui_context);
    }
  }
  nk_end(&ui_context);
  ASSERT_NE(nk__begin(&ui_context), nullptr);

  ui_render(kClear);
  expect_same_state(before, drawing_state());
  EXPECT_GT(count_pixels(0, 0, 490, 328, 0x212121), 0);  // label ink
  EXPECT_EQ(nk__begin(&ui_context), nullptr);            // the command buffer is empty
}
