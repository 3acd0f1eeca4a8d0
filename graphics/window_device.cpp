// DrawOnWnd: the window's device. Each operation that calls GDI on the
// window's image holds draw_lock for that call, since the window thread copies
// the same image to the screen; shapes built from several calls take the lock
// once per call. Batch drawing and the flushes live here too; opening and
// closing the window are in graph_window.cpp.
#include "graphics/drawing_devices.h"
#include "graphics/graph_window.h"
#include "graphics/library_state.h"

DrawOnWnd::~DrawOnWnd() = default;

#define PIVRO_LOCKED(call) \
  DrawLock lock;           \
  return DrawOnImg::call

void DrawOnWnd::clear() {
  PIVRO_LOCKED(clear());
}
void DrawOnWnd::set_text_color(COLORREF color) {
  PIVRO_LOCKED(set_text_color(color));
}
void DrawOnWnd::set_bk_color(COLORREF color) {
  PIVRO_LOCKED(set_bk_color(color));
}
int DrawOnWnd::get_bk_mode() {
  PIVRO_LOCKED(get_bk_mode());
}
void DrawOnWnd::set_bk_mode(int mode) {
  PIVRO_LOCKED(set_bk_mode(mode));
}
void DrawOnWnd::set_origin(int x, int y) {
  PIVRO_LOCKED(set_origin(x, y));
}
void DrawOnWnd::set_clip_region(HRGN region) {
  PIVRO_LOCKED(set_clip_region(region));
}
void DrawOnWnd::clear_clip_region() {
  PIVRO_LOCKED(clear_clip_region());
}
void DrawOnWnd::apply_line_style(const LINESTYLE* style) {
  PIVRO_LOCKED(apply_line_style(style));
}
void DrawOnWnd::apply_fill_style(const FILLSTYLE* style) {
  PIVRO_LOCKED(apply_fill_style(style));
}
void DrawOnWnd::set_fill_color(COLORREF color) {
  PIVRO_LOCKED(set_fill_color(color));
}
void DrawOnWnd::set_aspect_ratio(float x, float y) {
  PIVRO_LOCKED(set_aspect_ratio(x, y));
}
int DrawOnWnd::get_rop2() {
  PIVRO_LOCKED(get_rop2());
}
void DrawOnWnd::set_rop2(int mode) {
  PIVRO_LOCKED(set_rop2(mode));
}
int DrawOnWnd::get_poly_fill_mode() {
  PIVRO_LOCKED(get_poly_fill_mode());
}
void DrawOnWnd::set_poly_fill_mode(int mode) {
  PIVRO_LOCKED(set_poly_fill_mode(mode));
}
COLORREF DrawOnWnd::get_pixel(int x, int y) {
  PIVRO_LOCKED(get_pixel(x, y));
}
void DrawOnWnd::put_pixel(int x, int y, COLORREF color) {
  PIVRO_LOCKED(put_pixel(x, y, color));
}
void DrawOnWnd::draw_line(int x1, int y1, int x2, int y2) {
  PIVRO_LOCKED(draw_line(x1, y1, x2, y2));
}
void DrawOnWnd::fill_rect(int l, int t, int r, int b) {
  PIVRO_LOCKED(fill_rect(l, t, r, b));
}
void DrawOnWnd::fill_circle(int x, int y, int radius) {
  PIVRO_LOCKED(fill_circle(x, y, radius));
}
void DrawOnWnd::fill_ellipse(int l, int t, int r, int b) {
  PIVRO_LOCKED(fill_ellipse(l, t, r, b));
}
void DrawOnWnd::fill_round_rect(int l, int t, int r, int b, int ew, int eh) {
  PIVRO_LOCKED(fill_round_rect(l, t, r, b, ew, eh));
}
void DrawOnWnd::draw_arc(int l, int t, int r, int b, double start, double end) {
  PIVRO_LOCKED(draw_arc(l, t, r, b, start, end));
}
void DrawOnWnd::fill_pie(int l, int t, int r, int b, double start, double end) {
  PIVRO_LOCKED(fill_pie(l, t, r, b, start, end));
}
void DrawOnWnd::draw_polyline(const POINT* points, int count) {
  PIVRO_LOCKED(draw_polyline(points, count));
}
void DrawOnWnd::fill_polygon(const POINT* points, int count) {
  PIVRO_LOCKED(fill_polygon(points, count));
}
void DrawOnWnd::draw_bezier(const POINT* points, int count) {
  PIVRO_LOCKED(draw_bezier(points, count));
}
void DrawOnWnd::flood_fill(int x, int y, COLORREF color, UINT type) {
  PIVRO_LOCKED(flood_fill(x, y, color, type));
}
void DrawOnWnd::out_text(int x, int y, const wchar_t* text) {
  PIVRO_LOCKED(out_text(x, y, text));
}
int DrawOnWnd::draw_text_rect(const wchar_t* text, RECT* rect, UINT format) {
  PIVRO_LOCKED(draw_text_rect(text, rect, format));
}
int DrawOnWnd::text_width(const wchar_t* text) {
  PIVRO_LOCKED(text_width(text));
}
int DrawOnWnd::text_height(const wchar_t* text) {
  PIVRO_LOCKED(text_height(text));
}
void DrawOnWnd::set_font_logfont(const LOGFONTW* font) {
  PIVRO_LOCKED(set_font_logfont(font));
}
void DrawOnWnd::get_font(LOGFONTW* out) {
  PIVRO_LOCKED(get_font(out));
}

#undef PIVRO_LOCKED

// Batch drawing ------------------------------------------------------------------

void copy_window_image(GraphWnd& window, int x, int y, int width, int height) {
  DrawLock lock;
  const GdiTable& g = gdi();
  g.SetWorldTransform(window.dc, &identity_transform);
  g.BitBlt(window.window_dc, x, y, width, height, window.dc, x, y, SRCCOPY);
  g.SetWorldTransform(window.dc, &window.transform);
}

void DrawOnWnd::begin_batch() {
  if (graphics_library.window) graphics_library.window->batch = true;
}

void DrawOnWnd::flush_batch_rect(int l, int t, int r, int b) {
  if (GraphWnd* window = graphics_library.window) copy_window_image(*window, l, t, r - l + 1, b - t + 1);
}

void DrawOnWnd::flush_batch() {
  if (GraphWnd* window = graphics_library.window)
    copy_window_image(*window, 0, 0, window->width, window->height);
}

void DrawOnWnd::end_batch_rect(int l, int t, int r, int b) {
  flush_batch_rect(l, t, r, b);
  if (graphics_library.window) graphics_library.window->batch = false;
}

void DrawOnWnd::end_batch() {
  flush_batch();
  if (graphics_library.window) graphics_library.window->batch = false;
}
