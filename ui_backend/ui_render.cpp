// The command renderer: one short case per command kind, each saving the
// drawing state it changes and restoring it afterwards.
#include "ui_backend/ui_render.h"

#include <windows.h>

#include <string>

#include "app/text_convert.h"
#include "app/win_handles.h"
#include "graphics/drawing_api.h"
#include "ui_backend/ui_font.h"

namespace {

constexpr int kMaxPolygonPoints = 64;

COLORREF to_colorref(nk_color c) {
  return RGB(c.r, c.g, c.b);
}

// Line colour and line style, as they were when the guard was made.
class SavedPen {
 public:
  SavedPen() : color_(get_line_color()) { get_line_style(&style_); }
  ~SavedPen() {
    set_line_color(color_);
    apply_line_style(&style_);
  }
  SavedPen(const SavedPen&) = delete;
  SavedPen& operator=(const SavedPen&) = delete;

 private:
  COLORREF color_;
  LINESTYLE style_;
};

// Only the line colour: for commands that keep the current line style.
class SavedLineColor {
 public:
  SavedLineColor() : color_(get_line_color()) {}
  ~SavedLineColor() { set_line_color(color_); }
  SavedLineColor(const SavedLineColor&) = delete;
  SavedLineColor& operator=(const SavedLineColor&) = delete;

 private:
  COLORREF color_;
};

// Fill colour and line colour: filled shapes outline in their own colour.
class SavedFill {
 public:
  SavedFill() : fill_(get_fill_color()), line_(get_line_color()) {}
  ~SavedFill() {
    set_fill_color(fill_);
    set_line_color(line_);
  }
  SavedFill(const SavedFill&) = delete;
  SavedFill& operator=(const SavedFill&) = delete;

 private:
  COLORREF fill_;
  COLORREF line_;
};

void set_fill_and_line(nk_color c) {
  set_fill_color(to_colorref(c));
  set_line_color(to_colorref(c));
}

// The first points of a polygon command, at most kMaxPolygonPoints of them.
int copy_points(const struct nk_vec2i* from, int count, POINT* to) {
  const int n = count < kMaxPolygonPoints ? (count > 0 ? count : 0) : kMaxPolygonPoints;
  for (int i = 0; i < n; ++i) to[i] = POINT{from[i].x, from[i].y};
  return n;
}

void draw_scissor(const nk_command_scissor& c) {
  set_clip_region(nullptr);
  // The clip reaches one pixel beyond the scissor on the right and at the bottom.
  const unique_hrgn region(CreateRectRgn(c.x, c.y, c.x + c.w + 1, c.y + c.h + 1));
  set_clip_region(region.get());  // the DC keeps a copy
}

void draw_line_command(const nk_command_line& c) {
  SavedPen pen;
  set_line_style(PS_SOLID, c.line_thickness, nullptr, 0);
  set_line_color(to_colorref(c.color));
  draw_line(c.begin.x, c.begin.y, c.end.x, c.end.y);
}

void draw_curve_command(const nk_command_curve& c) {
  SavedPen pen;
  set_line_color(to_colorref(c.color));
  if (c.line_thickness != 1) set_line_style(PS_SOLID, c.line_thickness, nullptr, 0);
  POINT points[4] = {
      {c.begin.x, c.begin.y}, {c.ctrl[0].x, c.ctrl[0].y}, {c.ctrl[1].x, c.ctrl[1].y}, {c.end.x, c.end.y}};
  draw_bezier(points, 4);
}

void draw_rect_command(const nk_command_rect& c) {
  SavedPen pen;
  set_line_style(PS_SOLID, c.line_thickness, nullptr, 0);
  set_line_color(to_colorref(c.color));
  if (c.rounding == 0)
    draw_rect(c.x, c.y, c.x + c.w, c.y + c.h);
  else
    draw_round_rect(c.x, c.y, c.x + c.w, c.y + c.h, c.rounding, c.rounding);
}

void draw_rect_filled_command(const nk_command_rect_filled& c) {
  SavedFill fill;
  set_fill_and_line(c.color);
  if (c.rounding == 0)
    fill_rect(c.x, c.y, c.x + c.w, c.y + c.h);
  else
    fill_round_rect(c.x, c.y, c.x + c.w, c.y + c.h, c.rounding, c.rounding);
}

TRIVERTEX gradient_vertex(LONG x, LONG y, nk_color c) {
  // Channels are 16-bit: the byte in the high half.
  return TRIVERTEX{x,
                   y,
                   static_cast<COLOR16>(c.r << 8),
                   static_cast<COLOR16>(c.g << 8),
                   static_cast<COLOR16>(c.b << 8),
                   0xFF00};
}

// The gradient is painted into a scratch image of the rectangle's size and
// copied onto the working image, so it is clipped like every other command
// and the working image's state is not touched.
void draw_rect_multi_color_command(const nk_command_rect_multi_color& c) {
  if (c.w == 0 || c.h == 0) return;
  IMAGE scratch(c.w, c.h);
  TRIVERTEX vertices[4] = {gradient_vertex(0, 0, c.left), gradient_vertex(c.w, 0, c.top),
                           gradient_vertex(0, c.h, c.right), gradient_vertex(c.w, c.h, c.bottom)};
  GRADIENT_TRIANGLE triangles[2] = {{0, 1, 2}, {2, 1, 3}};
  GdiGradientFill(scratch.dc, vertices, 4, triangles, 2, GRADIENT_FILL_TRIANGLE);
  copy_image(c.x, c.y, c.w, c.h, &scratch, 0, 0, SRCCOPY);
}

void draw_circle_command(const nk_command_circle& c) {
  SavedPen pen;
  set_line_style(PS_SOLID, c.line_thickness, nullptr, 0);
  set_line_color(to_colorref(c.color));
  draw_ellipse(c.x, c.y, c.x + c.w, c.y + c.h);
}

void draw_circle_filled_command(const nk_command_circle_filled& c) {
  SavedFill fill;
  set_fill_and_line(c.color);
  fill_ellipse(c.x, c.y, c.x + c.w, c.y + c.h);
}

void draw_arc_command(const nk_command_arc& c) {
  SavedPen pen;
  set_line_color(to_colorref(c.color));
  set_line_style(PS_GEOMETRIC | PS_ENDCAP_FLAT, c.line_thickness, nullptr, 0);
  draw_arc(c.cx - c.r, c.cy - c.r, c.cx + c.r, c.cy + c.r, static_cast<double>(c.a[0]),
           static_cast<double>(c.a[1]));
}

void draw_arc_filled_command(const nk_command_arc_filled& c) {
  SavedFill fill;
  set_fill_and_line(c.color);
  fill_pie(c.cx - c.r, c.cy - c.r, c.cx + c.r, c.cy + c.r, static_cast<double>(c.a[0]),
           static_cast<double>(c.a[1]));
}

void draw_triangle_command(const nk_command_triangle& c) {
  // The outline keeps the current line style: the command's thickness is not applied.
  SavedLineColor line;
  set_line_color(to_colorref(c.color));
  POINT points[4] = {{c.a.x, c.a.y}, {c.b.x, c.b.y}, {c.c.x, c.c.y}, {c.a.x, c.a.y}};
  draw_polygon(points, 4);
}

void draw_triangle_filled_command(const nk_command_triangle_filled& c) {
  SavedFill fill;
  set_fill_and_line(c.color);
  POINT points[3] = {{c.a.x, c.a.y}, {c.b.x, c.b.y}, {c.c.x, c.c.y}};
  fill_polygon(points, 3);
}

void draw_polygon_command(const nk_command_polygon& c) {
  SavedPen pen;
  set_line_color(to_colorref(c.color));
  set_line_style(PS_SOLID, c.line_thickness, nullptr, 0);
  POINT points[kMaxPolygonPoints];
  draw_polygon(points, copy_points(c.points, c.point_count, points));
}

void draw_polygon_filled_command(const nk_command_polygon_filled& c) {
  SavedFill fill;
  set_fill_and_line(c.color);
  POINT points[kMaxPolygonPoints];
  fill_polygon(points, copy_points(c.points, c.point_count, points));
}

void draw_polyline_command(const nk_command_polyline& c) {
  SavedPen pen;
  set_line_color(to_colorref(c.color));
  set_line_style(PS_SOLID, c.line_thickness, nullptr, 0);
  if (c.point_count == 0) return;
  move_to(c.points[0].x, c.points[0].y);
  for (int i = 1; i < c.point_count; ++i) line_to(c.points[i].x, c.points[i].y);
}

void draw_text_command(const nk_command_text& c) {
  const COLORREF text_color = get_text_color();
  const COLORREF bk_color = get_bk_color();
  const int bk_mode = get_bk_mode();
  LOGFONTW font{};
  get_font(&font);

  const UiFont* ui_font = c.font != nullptr ? static_cast<const UiFont*>(c.font->userdata.ptr) : nullptr;
  if (ui_font != nullptr && ui_font->logfont != nullptr) set_font_logfont(ui_font->logfont);
  set_bk_color(to_colorref(c.background));
  set_text_color(to_colorref(c.foreground));
  set_bk_mode(TRANSPARENT);
  // The UI library stores the text with a terminating NUL after its length bytes.
  const std::wstring text = utf8_to_utf16_n(c.string, c.length);
  out_text(c.x, c.y, text.c_str());

  set_font_logfont(&font);
  set_text_color(text_color);
  set_bk_color(bk_color);
  set_bk_mode(bk_mode);
}

void draw_image_command(const nk_command_image& c) {
  // The top-left w by h pixels, unscaled; sub-region and tint are not used.
  if (c.img.handle.ptr == nullptr) return;
  copy_image(c.x, c.y, c.w, c.h, static_cast<const IMAGE*>(c.img.handle.ptr), 0, 0, SRCCOPY);
}

template <typename T>
const T& as(const nk_command* c) {
  return *reinterpret_cast<const T*>(c);
}

void draw_command(const nk_command* c) {
  switch (c->type) {
    case NK_COMMAND_SCISSOR:
      draw_scissor(as<nk_command_scissor>(c));
      break;
    case NK_COMMAND_LINE:
      draw_line_command(as<nk_command_line>(c));
      break;
    case NK_COMMAND_CURVE:
      draw_curve_command(as<nk_command_curve>(c));
      break;
    case NK_COMMAND_RECT:
      draw_rect_command(as<nk_command_rect>(c));
      break;
    case NK_COMMAND_RECT_FILLED:
      draw_rect_filled_command(as<nk_command_rect_filled>(c));
      break;
    case NK_COMMAND_RECT_MULTI_COLOR:
      draw_rect_multi_color_command(as<nk_command_rect_multi_color>(c));
      break;
    case NK_COMMAND_CIRCLE:
      draw_circle_command(as<nk_command_circle>(c));
      break;
    case NK_COMMAND_CIRCLE_FILLED:
      draw_circle_filled_command(as<nk_command_circle_filled>(c));
      break;
    case NK_COMMAND_ARC:
      draw_arc_command(as<nk_command_arc>(c));
      break;
    case NK_COMMAND_ARC_FILLED:
      draw_arc_filled_command(as<nk_command_arc_filled>(c));
      break;
    case NK_COMMAND_TRIANGLE:
      draw_triangle_command(as<nk_command_triangle>(c));
      break;
    case NK_COMMAND_TRIANGLE_FILLED:
      draw_triangle_filled_command(as<nk_command_triangle_filled>(c));
      break;
    case NK_COMMAND_POLYGON:
      draw_polygon_command(as<nk_command_polygon>(c));
      break;
    case NK_COMMAND_POLYGON_FILLED:
      draw_polygon_filled_command(as<nk_command_polygon_filled>(c));
      break;
    case NK_COMMAND_POLYLINE:
      draw_polyline_command(as<nk_command_polyline>(c));
      break;
    case NK_COMMAND_TEXT:
      draw_text_command(as<nk_command_text>(c));
      break;
    case NK_COMMAND_IMAGE:
      draw_image_command(as<nk_command_image>(c));
      break;
    default:
      break;  // no-ops and custom commands draw nothing
  }
}

}  // namespace

void ui_render(nk_color clear_color) {
  set_bk_color(to_colorref(clear_color));
  clear();
  for (const nk_command* c = nk__begin(&ui_context); c != nullptr; c = nk__next(&ui_context, c))
    draw_command(c);
  nk_clear(&ui_context);
}
