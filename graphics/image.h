// Off-screen images and their drawing state: IMAGE (a 32-bit top-down DIB
// section selected into a memory DC), the pen description LINESTYLE, the
// brush description FILLSTYLE, and the choice of the working image.
#pragma once

#include <windows.h>

#include <cstdint>

class IMAGE;

// The world transform that leaves logical units as device units.
inline constexpr XFORM identity_transform = {1, 0, 0, 1, 0, 0};

// A pen description. style is an ExtCreatePen style: PS_SOLID (0) to PS_NULL (5)
// or PS_USERSTYLE (7) in the low four bits, end-cap and join flags above.
class LINESTYLE {
 public:
  LINESTYLE() = default;
  LINESTYLE(const LINESTYLE& other);
  // Copies style and thickness; the dash array only when the source is a user
  // style with dashes, otherwise the target is left without dashes.
  LINESTYLE& operator=(const LINESTYLE& other);
  virtual ~LINESTYLE();

  void release_dashes();
  void set_dashes(const DWORD* values, DWORD count);

  int style = PS_SOLID;
  int thickness = 1;
  DWORD* dashes = nullptr;  // owned
  DWORD dash_count = 0;
};

// A brush description: style 0 solid, 1 null, 2 hatched (hatch is a HS_ style),
// 3 pattern (monochrome from the pattern image), 5 DIB pattern.
class FILLSTYLE {
 public:
  FILLSTYLE() = default;
  FILLSTYLE(const FILLSTYLE& other);
  // Copies style and hatch; the pattern image (as an own copy) only for the
  // pattern styles 3 and 5, otherwise the target holds no pattern.
  FILLSTYLE& operator=(const FILLSTYLE& other);
  virtual ~FILLSTYLE();

  void release_pattern();

  int style = 0;
  int hatch = 0;
  IMAGE* pattern = nullptr;  // owned
};

// A 32-bit picture with its drawing state. Pixels are 0x00RRGGBB, row after row
// from the top. Constructing the first image starts the library.
class IMAGE {
 public:
  explicit IMAGE(int width = 0, int height = 0);
  IMAGE(const IMAGE& other);
  // Takes the source's size (through the virtual resize) and copies its pixels.
  IMAGE& operator=(const IMAGE& other);
  virtual ~IMAGE();
  // Keeps the old content at the top-left; new area gets bk_color. A zero
  // width or height changes nothing. When no pixel buffer of the new size can
  // be made, an image that has a buffer stays exactly as it was; one without a
  // buffer takes the size but keeps a null bitmap and null pixels.
  virtual void resize(int width, int height);

  int width = 0;
  int height = 0;
  HBITMAP bitmap = nullptr;  // null while the image has no size
  HDC dc = nullptr;
  XFORM transform = identity_transform;
  COLORREF line_color = 0xFFFFFF;
  COLORREF fill_color = 0xFFFFFF;
  COLORREF text_color = 0xFFFFFF;
  COLORREF bk_color = 0;
  uint32_t* pixels = nullptr;  // the DIB section's bits, width * height values
  LINESTYLE line_style;
  FILLSTYLE fill_style;
};

// The pixel value of a COLORREF: red and blue change places.
inline uint32_t colorref_to_pixel(COLORREF color) {
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// Sets every pixel of the image to color. Grey colours (equal red, green and
// blue) are written as a byte fill, so the fourth byte carries the grey too.
void fill_pixels(IMAGE& image, COLORREF color);

// Selects object into dc and deletes the object it replaces.
void replace_object(HDC dc, HGDIOBJ object);

// Restores colours, pen, brush, font, transform and clipping of the image to
// the library's defaults: white pen, brush and text on black, solid 1-pixel
// pen, 16-pixel "System" font, identity transform, no clip region.
void reset_defaults(IMAGE& image);

// Selects where drawing goes: an off-screen image, or (null) the graph window
// while it is open, or nothing.
void set_working_image(IMAGE* image);
