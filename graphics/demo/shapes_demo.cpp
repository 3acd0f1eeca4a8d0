// Shapes demo: draws every shape family of the graphics library into the
// graph window, in its four forms where it has them.
//   pivro_shapes_demo              stays open until the window is closed
//   pivro_shapes_demo shot.bmp     saves what the window shows, then ends
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "app/win_handles.h"
#include "graphics/drawing_api.h"
#include "graphics/drawing_devices.h"
#include "graphics/library_state.h"

namespace {

const double pi = std::acos(-1.0);
constexpr int width = 640, height = 480;

DrawOnImg& device() {
  return *graphics_library.working_device;
}

void label(int x, int y, const wchar_t* text) {
  set_text_color(RGB(230, 230, 230));
  out_text(x, y, text);
}

// One row of a closed shape family: outline, fill, solid, clear (over a plate).
template <typename Draw, typename Fill, typename Solid, typename Clear>
void family_row(int y, const wchar_t* name, Draw draw, Fill fill, Solid solid, Clear clear) {
  label(8, y + 18, name);
  draw(120, y);
  fill(240, y);
  solid(360, y);
  set_fill_color(RGB(90, 90, 140));
  device().solid_rect(470, y - 4, 560, y + 52);
  set_fill_color(RGB(40, 160, 220));
  clear(480, y);
}

void draw_scene() {
  set_bk_color(RGB(24, 24, 32));
  clear();
  set_bk_mode(TRANSPARENT);
  set_line_color(RGB(255, 200, 60));
  set_fill_color(RGB(40, 160, 220));
  label(120, 4, L"draw");
  label(240, 4, L"fill");
  label(360, 4, L"solid");
  label(480, 4, L"clear");

  DrawOnImg& d = device();
  family_row(
      26, L"rectangle", [&](int x, int y) { d.draw_rect(x, y, x + 80, y + 48); },
      [&](int x, int y) { d.fill_rect(x, y, x + 80, y + 48); },
      [&](int x, int y) { d.solid_rect(x, y, x + 80, y + 48); },
      [&](int x, int y) { d.clear_rect(x, y, x + 70, y + 48); });
  family_row(
      86, L"round rect", [&](int x, int y) { d.draw_round_rect(x, y, x + 80, y + 48, 20, 20); },
      [&](int x, int y) { d.fill_round_rect(x, y, x + 80, y + 48, 20, 20); },
      [&](int x, int y) { d.solid_round_rect(x, y, x + 80, y + 48, 20, 20); },
      [&](int x, int y) { d.clear_round_rect(x, y, x + 70, y + 48, 20, 20); });
  family_row(
      146, L"circle", [&](int x, int y) { d.draw_circle(x + 40, y + 24, 24); },
      [&](int x, int y) { d.fill_circle(x + 40, y + 24, 24); },
      [&](int x, int y) { d.solid_circle(x + 40, y + 24, 24); },
      [&](int x, int y) { d.clear_circle(x + 35, y + 24, 24); });
  family_row(
      206, L"ellipse", [&](int x, int y) { d.draw_ellipse(x, y, x + 80, y + 48); },
      [&](int x, int y) { d.fill_ellipse(x, y, x + 80, y + 48); },
      [&](int x, int y) { d.solid_ellipse(x, y, x + 80, y + 48); },
      [&](int x, int y) { d.clear_ellipse(x, y, x + 70, y + 48); });
  family_row(
      266, L"pie", [&](int x, int y) { d.draw_pie(x, y, x + 80, y + 48, pi / 6, 1.6 * pi); },
      [&](int x, int y) { d.fill_pie(x, y, x + 80, y + 48, pi / 6, 1.6 * pi); },
      [&](int x, int y) { d.solid_pie(x, y, x + 80, y + 48, pi / 6, 1.6 * pi); },
      [&](int x, int y) { d.clear_pie(x, y, x + 70, y + 48, pi / 6, 1.6 * pi); });
  auto star = [](int x, int y) {
    std::vector<POINT> points;
    for (int i = 0; i < 10; ++i) {
      const double r = i % 2 ? 10 : 24, a = pi / 2 + i * pi / 5;
      points.push_back({LONG(x + 40 + r * std::cos(a)), LONG(y + 26 - r * std::sin(a))});
    }
    return points;
  };
  family_row(
      326, L"polygon",
      [&](int x, int y) {
        auto p = star(x, y);
        d.draw_polygon(p.data(), int(p.size()));
      },
      [&](int x, int y) {
        auto p = star(x, y);
        d.fill_polygon(p.data(), int(p.size()));
      },
      [&](int x, int y) {
        auto p = star(x, y);
        d.solid_polygon(p.data(), int(p.size()));
      },
      [&](int x, int y) {
        auto p = star(x - 5, y);
        d.clear_polygon(p.data(), int(p.size()));
      });

  // Open shapes: line, polyline, arc, Bezier curve, and two line styles.
  const int y = 396;
  label(8, y + 18, L"lines");
  draw_line(120, y, 190, y + 48);
  move_to(200, y + 48);
  line_to(220, y);
  line_to(240, y + 48);
  line_to(260, y);
  const POINT zigzag[] = {{270, y + 48}, {290, y + 10}, {310, y + 40}, {330, y}};
  d.draw_polyline(zigzag, 4);
  draw_arc(340, y, 420, y + 48, 0, pi);
  const POINT curve[] = {{430, y + 48}, {450, y - 20}, {490, y + 70}, {510, y}};
  draw_bezier(curve, 4);
  const DWORD dashes[] = {6, 3};
  set_line_style(PS_USERSTYLE, 2, dashes, 2);
  draw_line(520, y + 8, 630, y + 8);
  set_line_style(PS_SOLID, 5, nullptr, 0);
  draw_line(520, y + 28, 630, y + 28);
  set_line_style(PS_SOLID, 1, nullptr, 0);

  // Fill styles: hatched and an 8 by 8 pattern, then text.
  d.set_fill_style(2, HS_DIAGCROSS, nullptr);
  d.solid_rect(580, 26, 630, 110);
  const BYTE bricks[8] = {0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08};
  d.set_fill_pattern_bits(bricks);
  d.solid_rect(580, 120, 630, 200);
  d.set_fill_style(0, 0, nullptr);
  set_text_color(RGB(255, 120, 120));
  d.set_font_simple(28, 0, L"Arial");
  out_text(576, 220, L"Aa");
  label(576, 260, L"text");
}

// Writes what the window shows, read back from its DC, as a 32-bit BMP.
bool save_window_shot(HWND hwnd, const wchar_t* path) {
  IMAGE shot(width, height);
  HDC screen = GetDC(hwnd);
  BitBlt(shot.dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ReleaseDC(hwnd, screen);
  GdiFlush();
  BITMAPINFOHEADER info = {sizeof info, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD pixel_bytes = width * height * 4;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + pixel_bytes;
  unique_file out(
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return false;
  DWORD written = 0, total = 0;
  bool ok = WriteFile(out.get(), &file, sizeof file, &written, nullptr);
  total += written;
  ok = ok && WriteFile(out.get(), &info, sizeof info, &written, nullptr);
  total += written;
  ok = ok && WriteFile(out.get(), shot.pixels, pixel_bytes, &written, nullptr);
  total += written;
  return ok && total == file.bfSize;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  HWND hwnd = open_graph_window(width, height, 0);
  if (!hwnd) {
    std::fwprintf(stderr, L"the graph window could not be created (is there a display?)\n");
    return 1;
  }
  SetWindowTextW(hwnd, L"Pivro shapes");
  begin_batch_draw();
  draw_scene();
  flush_batch_draw();
  if (argc > 1) {
    const bool saved = save_window_shot(hwnd, argv[1]);
    std::fwprintf(saved ? stdout : stderr, saved ? L"saved %ls\n" : L"could not write %ls\n", argv[1]);
    close_graph_window();
    return saved ? 0 : 1;
  }
  for (;;) {  // the close box ends the program
    GraphMsg m;
    while (peek_graph_message(&m, MSGCAT_ALL, true)) {
    }
    Sleep(10);
  }
}
