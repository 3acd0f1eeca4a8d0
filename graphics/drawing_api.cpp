// The flat drawing API: each function reaches the working device, except the
// batch functions, which exist only on the window device, and move_to,
// line_to and copy_image, which keep or do their own work.
#include "graphics/drawing_api.h"

#include "graphics/drawing_devices.h"
#include "graphics/library_state.h"

namespace {

DrawOnImg& device() {
  return *graphics_library.working_device;
}

}  // namespace

void begin_batch_draw() {
  graphics_library.wnd_device->begin_batch();
}
void flush_batch_draw() {
  graphics_library.wnd_device->flush_batch();
}
void end_batch_draw() {
  graphics_library.wnd_device->end_batch();
}

void clear() {
  device().clear();
}
COLORREF get_line_color() {
  return device().get_line_color();
}
void set_line_color(COLORREF color) {
  device().set_line_color(color);
}
COLORREF get_text_color() {
  return device().get_text_color();
}
void set_text_color(COLORREF color) {
  device().set_text_color(color);
}
COLORREF get_bk_color() {
  return device().get_bk_color();
}
void set_bk_color(COLORREF color) {
  device().set_bk_color(color);
}
int get_bk_mode() {
  return device().get_bk_mode();
}
void set_bk_mode(int mode) {
  device().set_bk_mode(mode);
}
void set_clip_region(HRGN region) {
  device().set_clip_region(region);
}
void get_line_style(LINESTYLE* out) {
  device().get_line_style(out);
}
void set_line_style(int style, int thickness, const DWORD* dashes, DWORD dash_count) {
  device().set_line_style(style, thickness, dashes, dash_count);
}
void apply_line_style(const LINESTYLE* style) {
  device().apply_line_style(style);
}
COLORREF get_fill_color() {
  return device().get_fill_color();
}
void set_fill_color(COLORREF color) {
  device().set_fill_color(color);
}
void get_font(LOGFONTW* out) {
  device().get_font(out);
}
void set_font_logfont(const LOGFONTW* font) {
  device().set_font_logfont(font);
}

void draw_line(int x1, int y1, int x2, int y2) {
  device().draw_line(x1, y1, x2, y2);
}

void move_to(int x, int y) {
  graphics_library.current_position = {x, y};
}

void line_to(int x, int y) {
  POINT& from = graphics_library.current_position;
  device().draw_line(from.x, from.y, x, y);
  from = {x, y};
}

void draw_rect(int l, int t, int r, int b) {
  device().draw_rect(l, t, r, b);
}
void fill_rect(int l, int t, int r, int b) {
  device().fill_rect(l, t, r, b);
}
void draw_round_rect(int l, int t, int r, int b, int ew, int eh) {
  device().draw_round_rect(l, t, r, b, ew, eh);
}
void fill_round_rect(int l, int t, int r, int b, int ew, int eh) {
  device().fill_round_rect(l, t, r, b, ew, eh);
}
void draw_ellipse(int l, int t, int r, int b) {
  device().draw_ellipse(l, t, r, b);
}
void fill_ellipse(int l, int t, int r, int b) {
  device().fill_ellipse(l, t, r, b);
}
void draw_arc(int l, int t, int r, int b, double start, double end) {
  device().draw_arc(l, t, r, b, start, end);
}
void fill_pie(int l, int t, int r, int b, double start, double end) {
  device().fill_pie(l, t, r, b, start, end);
}
void draw_polygon(const POINT* points, int count) {
  device().draw_polygon(points, count);
}
void fill_polygon(const POINT* points, int count) {
  device().fill_polygon(points, count);
}
void draw_bezier(const POINT* points, int count) {
  device().draw_bezier(points, count);
}
void out_text(int x, int y, const wchar_t* text) {
  device().out_text(x, y, text);
}
int text_width(const wchar_t* text) {
  return device().text_width(text);
}
int text_height(const wchar_t* text) {
  return device().text_height(text);
}

void copy_image(int x, int y, int width, int height, const IMAGE* source, int source_x, int source_y,
                DWORD rop) {
  DrawLock lock;
  gdi().BitBlt(graphics_library.image_dc, x, y, width, height, source->dc, source_x, source_y, rop);
}
