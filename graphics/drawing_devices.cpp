// DrawOnImg: every drawing operation on the working image, without locking.
// The window device reaches these through its locked overrides.
#include "graphics/drawing_devices.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "app/win_handles.h"
#include "graphics/library_state.h"

namespace {

IMAGE& image() {
  return *graphics_library.working_image;
}
HDC image_dc() {
  return graphics_library.image_dc;
}

// The four forms of a closed shape, built on its fill form (current pen and brush).

template <typename FillForm>
void outline_form(DrawOnImg& device, FillForm fill) {
  const FILLSTYLE saved = image().fill_style;
  const bool change = saved.style != 1;
  if (change) device.set_fill_style(1, 5, nullptr);  // null brush
  fill();
  if (change) device.apply_fill_style(&saved);
}

template <typename FillForm>
void solid_form(DrawOnImg& device, FillForm fill) {
  const LINESTYLE saved = image().line_style;
  const bool change = saved.style != PS_NULL;
  if (change) device.set_line_style(PS_NULL, 1, nullptr, 0);
  fill();
  if (change) device.apply_line_style(&saved);
}

// Solid in the background colour, whatever the raster operation and fill style.
template <typename SolidForm>
void clear_form(DrawOnImg& device, SolidForm solid) {
  const int rop = device.get_rop2();
  const COLORREF fill_color = device.get_fill_color();
  const FILLSTYLE saved_style = image().fill_style;
  const bool change_rop = rop != R2_COPYPEN;
  const bool change_color = fill_color != image().bk_color;
  const bool change_style = saved_style.style != 0;
  if (change_rop) device.set_rop2(R2_COPYPEN);
  if (change_color) device.set_fill_color(image().bk_color);
  if (change_style) device.set_fill_style(0, 5, nullptr);
  solid();
  if (change_color) device.set_fill_color(fill_color);
  if (change_style) device.apply_fill_style(&saved_style);
  if (change_rop) device.set_rop2(rop);
}

// Puts face (at most LF_FACESIZE - 1 characters) into the font's name, the
// rest of the name zeroed; a null face leaves the name as it is.
void set_face_name(LOGFONTW& font, const wchar_t* face) {
  if (!face) return;
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
}

int round_half_away(double value) {
  return int(value < 0 ? value - 0.5 : value + 0.5);
}

// A monochrome bitmap of the pattern: bit 1 where the pattern pixel is black,
// rows padded to whole 16-bit words as CreateBitmap expects.
HBITMAP monochrome_pattern(const IMAGE& pattern) {
  const int stride = ((pattern.width + 15) / 16) * 2;
  std::vector<BYTE> bits(size_t(stride) * size_t(pattern.height), 0);
  GdiFlush();
  for (int y = 0; y < pattern.height; ++y)
    for (int x = 0; x < pattern.width; ++x)
      if ((pattern.pixels[size_t(y) * pattern.width + x] & 0xFFFFFF) == 0)
        bits[size_t(y) * stride + x / 8] |= BYTE(0x80 >> (x % 8));
  return gdi().CreateBitmap(pattern.width, pattern.height, 1, 1, bits.data());
}

// A packed DIB (header and top-down 32-bit rows) of the pattern in global memory.
// Empty when the block cannot be made or filled.
unique_hglobal packed_dib_pattern(const IMAGE& pattern) {
  const size_t bits_size = size_t(pattern.width) * size_t(pattern.height) * 4;
  unique_hglobal memory(GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + bits_size));
  if (!memory) return {};
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(memory.get()));
  if (!header) return {};
  *header = {sizeof(BITMAPINFOHEADER), pattern.width, -pattern.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const int rows = gdi().GetDIBits(pattern.dc, pattern.bitmap, 0, UINT(pattern.height), header + 1,
                                   reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
  GlobalUnlock(memory.get());
  if (rows != pattern.height) return {};
  return memory;
}

}  // namespace

DrawOnImg::~DrawOnImg() = default;

void DrawOnImg::clear() {
  fill_pixels(image(), image().bk_color);
}

COLORREF DrawOnImg::get_line_color() {
  return image().line_color;
}

void DrawOnImg::set_line_color(COLORREF color) {
  image().line_color = color;
  apply_line_style(&image().line_style);
}

COLORREF DrawOnImg::get_text_color() {
  return image().text_color;
}

void DrawOnImg::set_text_color(COLORREF color) {
  image().text_color = color;
  gdi().SetTextColor(image_dc(), color);
}

COLORREF DrawOnImg::get_bk_color() {
  return image().bk_color;
}

void DrawOnImg::set_bk_color(COLORREF color) {
  image().bk_color = color;
  gdi().SetBkColor(image_dc(), color);
}

int DrawOnImg::get_bk_mode() {
  return gdi().GetBkMode(image_dc());
}

void DrawOnImg::set_bk_mode(int mode) {
  gdi().SetBkMode(image_dc(), mode);
}

void DrawOnImg::set_origin(int x, int y) {
  image().transform.eDx = float(x);
  image().transform.eDy = float(y);
  gdi().SetWorldTransform(image_dc(), &image().transform);
}

void DrawOnImg::set_clip_region(HRGN region) {
  gdi().SelectClipRgn(image_dc(), region);
}

void DrawOnImg::clear_clip_region() {
  const GdiTable& g = gdi();
  unique_hrgn region(g.CreateRectRgn(0, 0, 0, 0));
  if (g.GetClipRgn(image_dc(), region.get()) != 1) {
    clear();  // no clipping: the whole image
    return;
  }
  // The clip region is in device units, so it is filled without the transform.
  unique_hbrush brush(g.CreateSolidBrush(image().bk_color));
  g.SetWorldTransform(image_dc(), &identity_transform);
  g.FillRgn(image_dc(), region.get(), brush.get());
  g.SetWorldTransform(image_dc(), &image().transform);
}

void DrawOnImg::get_line_style(LINESTYLE* out) {
  *out = image().line_style;
}

void DrawOnImg::set_line_style(int style, int thickness, const DWORD* dashes, DWORD dash_count) {
  LINESTYLE& own = image().line_style;
  own.style = style;
  own.thickness = thickness;
  own.release_dashes();
  if ((style & 0xF) == PS_USERSTYLE && dashes && dash_count != 0) own.set_dashes(dashes, dash_count);
  apply_line_style(&own);
}

void DrawOnImg::apply_line_style(const LINESTYLE* style) {
  LINESTYLE& own = image().line_style;
  if (style != &own) own = *style;
  DWORD pen_style = DWORD(own.style) | PS_GEOMETRIC;
  if ((own.style & 0xF) == PS_USERSTYLE) {
    // A user style without dashes would make no pen at all: draw nothing instead.
    if (!own.dashes || own.dash_count == 0) pen_style = (pen_style & ~DWORD(PS_STYLE_MASK)) | PS_NULL;
  } else {
    own.release_dashes();
  }
  const LOGBRUSH brush = {BS_SOLID, image().line_color, 0};
  replace_object(image_dc(),
                 gdi().ExtCreatePen(pen_style, DWORD(own.thickness), &brush, own.dash_count, own.dashes));
}

void DrawOnImg::get_fill_style(FILLSTYLE* out) {
  *out = image().fill_style;
}

void DrawOnImg::set_fill_style(int style, int hatch, const IMAGE* pattern) {
  FILLSTYLE& own = image().fill_style;
  own.style = style;
  if (style == 2) own.hatch = hatch;
  if ((style == 3 || style == 5) && pattern && pattern != own.pattern) {
    if (!own.pattern) own.pattern = new IMAGE;
    *own.pattern = *pattern;
  }
  apply_fill_style(&own);
}

void DrawOnImg::set_fill_pattern_bits(const BYTE bits[8]) {
  IMAGE pattern(8, 8);
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 8; ++j) pattern.pixels[i * 8 + j] = (bits[i] >> (7 - j)) & 1 ? 0xFFFFFF : 0;
  set_fill_style(3, 0, &pattern);
}

void DrawOnImg::apply_fill_style(const FILLSTYLE* style) {
  FILLSTYLE& own = image().fill_style;
  if (style != &own) own = *style;
  const GdiTable& g = gdi();
  LOGBRUSH brush = {BS_SOLID, image().fill_color, 0};
  unique_hbitmap mono;  // both are copied by the brush and go when this returns
  unique_hglobal packed;
  switch (own.style) {
    case 0:
      break;
    case 1:
      brush = {BS_NULL, 0, 0};
      break;
    case 2:
      brush = {BS_HATCHED, image().fill_color, ULONG_PTR(own.hatch)};
      break;
    case 3:
      if (!own.pattern || !own.pattern->pixels) return;
      mono.reset(monochrome_pattern(*own.pattern));
      brush = {BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(mono.get())};
      break;
    case 5:
      if (!own.pattern || !own.pattern->bitmap) return;
      packed = packed_dib_pattern(*own.pattern);
      if (!packed) return;  // the brush stays as it was
      brush = {BS_DIBPATTERN, DIB_RGB_COLORS, reinterpret_cast<ULONG_PTR>(packed.get())};
      break;
    default:
      return;
  }
  replace_object(image_dc(), g.CreateBrushIndirect(&brush));
}

COLORREF DrawOnImg::get_fill_color() {
  return image().fill_color;
}

void DrawOnImg::set_fill_color(COLORREF color) {
  image().fill_color = color;
  if (image().fill_style.style == 0)
    replace_object(image_dc(), gdi().CreateSolidBrush(color));
  else if (image().fill_style.style == 2)
    apply_fill_style(&image().fill_style);
}

void DrawOnImg::get_aspect_ratio(float* x, float* y) {
  *x = image().transform.eM11;
  *y = image().transform.eM22;
}

void DrawOnImg::set_aspect_ratio(float x, float y) {
  image().transform.eM11 = x;
  image().transform.eM22 = y;
  gdi().SetWorldTransform(image_dc(), &image().transform);
}

int DrawOnImg::get_rop2() {
  return gdi().GetROP2(image_dc());
}
void DrawOnImg::set_rop2(int mode) {
  gdi().SetROP2(image_dc(), mode);
}
int DrawOnImg::get_poly_fill_mode() {
  return gdi().GetPolyFillMode(image_dc());
}
void DrawOnImg::set_poly_fill_mode(int mode) {
  gdi().SetPolyFillMode(image_dc(), mode);
}

void DrawOnImg::reset_defaults() {
  ::reset_defaults(image());
}

COLORREF DrawOnImg::get_pixel(int x, int y) {
  return gdi().GetPixel(image_dc(), x, y);
}
void DrawOnImg::put_pixel(int x, int y, COLORREF color) {
  gdi().SetPixelV(image_dc(), x, y, color);
}

void DrawOnImg::draw_line(int x1, int y1, int x2, int y2) {
  gdi().MoveToEx(image_dc(), x1, y1, nullptr);
  gdi().LineTo(image_dc(), x2, y2);
}

// Rectangles ---------------------------------------------------------------

void DrawOnImg::draw_rect(int l, int t, int r, int b) {
  outline_form(*this, [&] { fill_rect(l, t, r, b); });
}

void DrawOnImg::fill_rect(int l, int t, int r, int b) {
  gdi().Rectangle(image_dc(), l, t, r, b);
}

void DrawOnImg::solid_rect(int l, int t, int r, int b) {
  // Rectangle leaves out the right and bottom edges; a solid box includes them.
  const int left = std::min(l, r), top = std::min(t, b);
  const int right = std::max(l, r) + 1, bottom = std::max(t, b) + 1;
  solid_form(*this, [&] { fill_rect(left, top, right, bottom); });
}

void DrawOnImg::clear_rect(int l, int t, int r, int b) {
  clear_form(*this, [&] { solid_rect(l, t, r, b); });
}

// Arcs -----------------------------------------------------------------------

void DrawOnImg::arc_endpoints(int l, int t, int r, int b, double start, double end, int* x1, int* y1, int* x2,
                              int* y2) {
  const int left = std::min(l, r), right = std::max(l, r);
  const int top = std::min(t, b), bottom = std::max(t, b);
  const int rx = (right - left) / 2, ry = (bottom - top) / 2;
  const int cx = left + rx, cy = top + ry;
  auto point = [&](double angle, int* x, int* y) {
    if (angle == 0) {
      *x = cx + rx;
      *y = cy;
      return;
    }
    *x = round_half_away(cx + rx * std::cos(angle));
    *y = round_half_away(cy - ry * std::sin(angle));
  };
  point(start, x1, y1);
  point(end, x2, y2);
}

// Circles and ellipses ---------------------------------------------------------

void DrawOnImg::draw_circle(int x, int y, int radius) {
  outline_form(*this, [&] { fill_circle(x, y, radius); });
}
void DrawOnImg::fill_circle(int x, int y, int radius) {
  gdi().Ellipse(image_dc(), x - radius, y - radius, x + radius, y + radius);
}
void DrawOnImg::solid_circle(int x, int y, int radius) {
  solid_form(*this, [&] { fill_circle(x, y, radius); });
}
void DrawOnImg::clear_circle(int x, int y, int radius) {
  clear_form(*this, [&] { solid_circle(x, y, radius); });
}

void DrawOnImg::draw_ellipse(int l, int t, int r, int b) {
  outline_form(*this, [&] { fill_ellipse(l, t, r, b); });
}
void DrawOnImg::fill_ellipse(int l, int t, int r, int b) {
  gdi().Ellipse(image_dc(), l, t, r, b);
}
void DrawOnImg::solid_ellipse(int l, int t, int r, int b) {
  solid_form(*this, [&] { fill_ellipse(l, t, r, b); });
}
void DrawOnImg::clear_ellipse(int l, int t, int r, int b) {
  clear_form(*this, [&] { solid_ellipse(l, t, r, b); });
}

// Rounded rectangles -------------------------------------------------------------

void DrawOnImg::draw_round_rect(int l, int t, int r, int b, int ew, int eh) {
  outline_form(*this, [&] { fill_round_rect(l, t, r, b, ew, eh); });
}
void DrawOnImg::fill_round_rect(int l, int t, int r, int b, int ew, int eh) {
  gdi().RoundRect(image_dc(), l, t, r, b, ew, eh);
}
void DrawOnImg::solid_round_rect(int l, int t, int r, int b, int ew, int eh) {
  solid_form(*this, [&] { fill_round_rect(l, t, r, b, ew, eh); });
}
void DrawOnImg::clear_round_rect(int l, int t, int r, int b, int ew, int eh) {
  clear_form(*this, [&] { solid_round_rect(l, t, r, b, ew, eh); });
}

// Arcs and pies ----------------------------------------------------------------

void DrawOnImg::draw_arc(int l, int t, int r, int b, double start, double end) {
  int x1, y1, x2, y2;
  arc_endpoints(l, t, r, b, start, end, &x1, &y1, &x2, &y2);
  gdi().Arc(image_dc(), l, t, r, b, x1, y1, x2, y2);
}
void DrawOnImg::draw_pie(int l, int t, int r, int b, double start, double end) {
  outline_form(*this, [&] { fill_pie(l, t, r, b, start, end); });
}
void DrawOnImg::fill_pie(int l, int t, int r, int b, double start, double end) {
  int x1, y1, x2, y2;
  arc_endpoints(l, t, r, b, start, end, &x1, &y1, &x2, &y2);
  gdi().Pie(image_dc(), l, t, r, b, x1, y1, x2, y2);
}
void DrawOnImg::solid_pie(int l, int t, int r, int b, double start, double end) {
  solid_form(*this, [&] { fill_pie(l, t, r, b, start, end); });
}
void DrawOnImg::clear_pie(int l, int t, int r, int b, double start, double end) {
  clear_form(*this, [&] { solid_pie(l, t, r, b, start, end); });
}

// Polygons and curves ----------------------------------------------------------

void DrawOnImg::draw_polyline(const POINT* points, int count) {
  gdi().Polyline(image_dc(), points, count);
}
void DrawOnImg::draw_polygon(const POINT* points, int count) {
  outline_form(*this, [&] { fill_polygon(points, count); });
}
void DrawOnImg::fill_polygon(const POINT* points, int count) {
  gdi().Polygon(image_dc(), points, count);
}
void DrawOnImg::solid_polygon(const POINT* points, int count) {
  solid_form(*this, [&] { fill_polygon(points, count); });
}
void DrawOnImg::clear_polygon(const POINT* points, int count) {
  clear_form(*this, [&] { solid_polygon(points, count); });
}
void DrawOnImg::draw_bezier(const POINT* points, int count) {
  gdi().PolyBezier(image_dc(), points, DWORD(count));
}

void DrawOnImg::flood_fill(int x, int y, COLORREF color, UINT type) {
  gdi().ExtFloodFill(image_dc(), x, y, color, type);
}

// Text -------------------------------------------------------------------------

void DrawOnImg::out_text(int x, int y, const wchar_t* text) {
  gdi().TextOutW(image_dc(), x, y, text, int(wcslen(text)));
}

int DrawOnImg::draw_text_rect(const wchar_t* text, RECT* rect, UINT format) {
  return DrawTextW(image_dc(), text, -1, rect, format);
}

int DrawOnImg::text_width(const wchar_t* text) {
  SIZE size = {0, 0};
  const int length = int(wcslen(text));
  if (length > 0) gdi().GetTextExtentPoint32W(image_dc(), text, length, &size);
  return size.cx;
}

int DrawOnImg::text_height(const wchar_t* text) {
  SIZE size = {0, 0};
  gdi().GetTextExtentPoint32W(image_dc(), text, int(wcslen(text)), &size);
  return size.cy;
}

void DrawOnImg::set_font_logfont(const LOGFONTW* font) {
  replace_object(image_dc(), gdi().CreateFontIndirectW(font));
}

void DrawOnImg::set_font_all(int height, int width, const wchar_t* face, int escapement, int orientation,
                             int weight, bool italic, bool underline, bool strikeout, BYTE charset,
                             BYTE out_precision, BYTE clip_precision, BYTE quality, BYTE pitch_and_family) {
  LOGFONTW font = {};
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfEscapement = escapement;
  font.lfOrientation = orientation;
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfUnderline = underline;
  font.lfStrikeOut = strikeout;
  font.lfCharSet = charset;
  font.lfOutPrecision = out_precision;
  font.lfClipPrecision = clip_precision;
  font.lfQuality = quality;
  font.lfPitchAndFamily = pitch_and_family;
  set_face_name(font, face);
  set_font_logfont(&font);
}

void DrawOnImg::set_font_styled(int height, int width, const wchar_t* face, int escapement, int orientation,
                                int weight, bool italic, bool underline, bool strikeout) {
  LOGFONTW font = {};
  get_font(&font);
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfEscapement = escapement;
  font.lfOrientation = orientation;
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfUnderline = underline;
  font.lfStrikeOut = strikeout;
  set_face_name(font, face);
  set_font_logfont(&font);
}

void DrawOnImg::set_font_simple(int height, int width, const wchar_t* face) {
  LOGFONTW font = {};
  get_font(&font);
  font.lfHeight = height;
  font.lfWidth = width;
  set_face_name(font, face);
  set_font_logfont(&font);
}

void DrawOnImg::get_font(LOGFONTW* out) {
  gdi().GetObjectW(gdi().GetCurrentObject(image_dc(), OBJ_FONT), sizeof(LOGFONTW), out);
}

int DrawOnImg::get_width() {
  return image().width;
}
int DrawOnImg::get_height() {
  return image().height;
}
