// IMAGE, LINESTYLE and FILLSTYLE, the pixel fill, the default drawing state
// and the choice of the working image.
#include "graphics/image.h"

#include <algorithm>
#include <cstring>

#include "app/win_handles.h"
#include "graphics/drawing_devices.h"
#include "graphics/graph_window.h"
#include "graphics/library_state.h"

// LINESTYLE ------------------------------------------------------------------

LINESTYLE::LINESTYLE(const LINESTYLE& other) {
  *this = other;
}

LINESTYLE& LINESTYLE::operator=(const LINESTYLE& other) {
  if (this == &other) return *this;
  style = other.style;
  thickness = other.thickness;
  release_dashes();
  if (other.dashes && other.dash_count != 0 && (other.style & 0xF) == PS_USERSTYLE)
    set_dashes(other.dashes, other.dash_count);
  return *this;
}

LINESTYLE::~LINESTYLE() {
  release_dashes();
}

void LINESTYLE::release_dashes() {
  delete[] dashes;
  dashes = nullptr;
  dash_count = 0;
}

void LINESTYLE::set_dashes(const DWORD* values, DWORD count) {
  release_dashes();
  dashes = new DWORD[count];
  std::copy(values, values + count, dashes);
  dash_count = count;
}

// FILLSTYLE ------------------------------------------------------------------

FILLSTYLE::FILLSTYLE(const FILLSTYLE& other) {
  *this = other;
}

FILLSTYLE& FILLSTYLE::operator=(const FILLSTYLE& other) {
  if (this == &other) return *this;
  style = other.style;
  hatch = other.hatch;
  if (other.pattern && (other.style == 3 || other.style == 5)) {
    if (!pattern) pattern = new IMAGE;
    *pattern = *other.pattern;
  } else {
    release_pattern();
  }
  return *this;
}

FILLSTYLE::~FILLSTYLE() {
  release_pattern();
}

void FILLSTYLE::release_pattern() {
  delete pattern;
  pattern = nullptr;
}

// Pixels ---------------------------------------------------------------------

void fill_pixels(IMAGE& image, COLORREF color) {
  if (!image.pixels) return;
  GdiFlush();  // GDI may still hold queued drawing for this buffer
  const size_t count = size_t(image.width) * size_t(image.height);
  const BYTE red = GetRValue(color);
  if (red == GetGValue(color) && red == GetBValue(color)) {
    std::memset(image.pixels, red, count * 4);
  } else {
    std::fill(image.pixels, image.pixels + count, colorref_to_pixel(color));
  }
}

namespace {

// A top-down 32-bit DIB section of w by h; pixels receives its bits.
HBITMAP create_pixel_buffer(int w, int h, uint32_t** pixels) {
  BITMAPINFOHEADER& header = graphics_library.dib_header;
  header.biWidth = w;
  header.biHeight = -h;
  void* bits = nullptr;
  HBITMAP bitmap = gdi().CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                          &bits, nullptr, 0);
  *pixels = static_cast<uint32_t*>(bits);
  return bitmap;
}

}  // namespace

void replace_object(HDC dc, HGDIOBJ object) {
  HGDIOBJ previous = gdi().SelectObject(dc, object);
  if (previous) gdi().DeleteObject(previous);
}

// IMAGE ----------------------------------------------------------------------

IMAGE::IMAGE(int w, int h) {
  library_acquire();
  {
    DrawLock lock;
    dc = gdi().CreateCompatibleDC(graphics_library.target_dc);
  }
  ::reset_defaults(*this);
  IMAGE::resize(w, h);
}

IMAGE::IMAGE(const IMAGE& other) : IMAGE(0, 0) {
  *this = other;
}

IMAGE& IMAGE::operator=(const IMAGE& other) {
  if (this == &other) return *this;
  if (!dc) {
    {
      DrawLock lock;
      dc = gdi().CreateCompatibleDC(graphics_library.target_dc);
    }
    ::reset_defaults(*this);
  }
  resize(other.width, other.height);
  DrawLock lock;
  gdi().BitBlt(dc, 0, 0, other.width, other.height, other.dc, 0, 0, SRCCOPY);
  return *this;
}

IMAGE::~IMAGE() {
  {
    DrawLock lock;
    const GdiTable& g = gdi();
    replace_object(dc, g.GetStockObject(WHITE_PEN));
    replace_object(dc, g.GetStockObject(BLACK_BRUSH));
    replace_object(dc, g.GetStockObject(SYSTEM_FONT));
    g.DeleteDC(dc);
    if (bitmap) g.DeleteObject(bitmap);
    // Drawing must not go on into a freed image: fall back to the window.
    if (graphics_library.working_image == this) set_working_image(nullptr);
  }
  library_release();
}

void IMAGE::resize(int w, int h) {
  if (w == 0 || h == 0) return;
  DrawLock lock;
  const GdiTable& g = gdi();
  uint32_t* new_pixels = nullptr;
  HBITMAP new_bitmap = create_pixel_buffer(w, h, &new_pixels);
  if (!bitmap) {
    replace_object(dc, new_bitmap);  // the DC's initial bitmap goes
    bitmap = new_bitmap;
    pixels = new_pixels;
    width = w;
    height = h;
    fill_pixels(*this, bk_color);
    return;
  }
  // No buffer of the new size (too large, say): the image stays as it was,
  // old bitmap selected, size and content unchanged.
  if (!new_bitmap) return;
  // Paint the background into the new buffer, then copy the old content over
  // its top-left corner, with the old DC's transform out of the way.
  const int old_width = width, old_height = height;
  width = w;
  height = h;
  pixels = new_pixels;
  fill_pixels(*this, bk_color);
  unique_memory_dc scratch(g.CreateCompatibleDC(nullptr));
  HGDIOBJ original = g.SelectObject(scratch.get(), new_bitmap);
  g.SetWorldTransform(dc, &identity_transform);
  g.BitBlt(scratch.get(), 0, 0, std::min(w, old_width), std::min(h, old_height), dc, 0, 0, SRCCOPY);
  g.SetWorldTransform(dc, &transform);
  g.SelectObject(scratch.get(), original);
  scratch.reset();
  g.SelectObject(dc, new_bitmap);
  g.DeleteObject(bitmap);
  bitmap = new_bitmap;
}

// Drawing state --------------------------------------------------------------

void reset_defaults(IMAGE& image) {
  image.transform = identity_transform;
  image.line_color = image.fill_color = image.text_color = 0xFFFFFF;
  image.bk_color = 0;
  image.line_style.style = PS_SOLID;
  image.line_style.thickness = 1;
  image.line_style.release_dashes();
  image.fill_style.style = 0;
  image.fill_style.release_pattern();

  DrawLock lock;
  const GdiTable& g = gdi();
  HDC dc = image.dc;
  g.SetGraphicsMode(dc, GM_ADVANCED);
  g.SetBkMode(dc, OPAQUE);
  g.SetBkColor(dc, 0);
  replace_object(dc, g.CreatePen(PS_SOLID, 1, 0xFFFFFF));
  replace_object(dc, g.CreateSolidBrush(0xFFFFFF));
  g.SetTextColor(dc, 0xFFFFFF);
  g.SetWorldTransform(dc, &identity_transform);
  g.SelectClipRgn(dc, nullptr);
  LOGFONTW font = {};
  font.lfHeight = 16;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = NONANTIALIASED_QUALITY;
  wcscpy(font.lfFaceName, L"System");
  replace_object(dc, g.CreateFontIndirectW(&font));
}

void set_working_image(IMAGE* image) {
  GraphicsLibrary& lib = graphics_library;
  DrawLock lock;
  if (image) {
    lib.working_image = image;
    lib.working_device = lib.img_device;
    lib.target_dc = nullptr;
    lib.image_dc = image->dc;
  } else if (lib.window && lib.window->hwnd) {
    lib.working_image = lib.window;
    lib.working_device = lib.wnd_device;
    lib.target_dc = lib.window->window_dc;
    lib.image_dc = lib.window->dc;
  } else {
    lib.working_image = nullptr;
    lib.working_device = nullptr;
    lib.target_dc = nullptr;
    lib.image_dc = nullptr;
  }
}
