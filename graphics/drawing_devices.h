// The two drawing devices. DrawOnImg draws on the working image; DrawOnWnd
// draws on the graph window's image, taking draw_lock around every GDI call
// (the window thread copies the same image to the screen), and adds opening,
// closing and batch drawing. Both keep no data: all state is the working
// image's. Closed shapes come in four forms built on one GDI call:
//   fill_*  current pen and brush;      draw_*  outline only (null brush);
//   solid_* fill only (null pen);       clear_* solid in the background colour.
#pragma once

#include <windows.h>

#include "graphics/image.h"

class DrawOnImg {
 public:
  virtual ~DrawOnImg();

  virtual void clear();  // every pixel := bk_color, whatever the clip and transform
  virtual COLORREF get_line_color();
  virtual void set_line_color(COLORREF color);
  virtual COLORREF get_text_color();
  virtual void set_text_color(COLORREF color);
  virtual COLORREF get_bk_color();
  virtual void set_bk_color(COLORREF color);
  virtual int get_bk_mode();
  virtual void set_bk_mode(int mode);  // 1 TRANSPARENT, 2 OPAQUE
  virtual void set_origin(int x, int y);
  virtual void set_clip_region(HRGN region);  // null removes the clipping
  virtual void clear_clip_region();           // paints the clip region in bk_color
  virtual void get_line_style(LINESTYLE* out);
  virtual void set_line_style(int style, int thickness, const DWORD* dashes, DWORD dash_count);
  virtual void apply_line_style(const LINESTYLE* style);
  virtual void get_fill_style(FILLSTYLE* out);
  virtual void set_fill_style(int style, int hatch, const IMAGE* pattern);
  // An 8 by 8 pattern: bit 7 - j of byte i set makes pixel (j, i) white.
  virtual void set_fill_pattern_bits(const BYTE bits[8]);
  virtual void apply_fill_style(const FILLSTYLE* style);
  virtual COLORREF get_fill_color();
  virtual void set_fill_color(COLORREF color);
  virtual void get_aspect_ratio(float* x, float* y);
  virtual void set_aspect_ratio(float x, float y);
  virtual int get_rop2();
  virtual void set_rop2(int mode);
  virtual int get_poly_fill_mode();
  virtual void set_poly_fill_mode(int mode);
  virtual void reset_defaults();
  virtual COLORREF get_pixel(int x, int y);
  virtual void put_pixel(int x, int y, COLORREF color);
  virtual void draw_line(int x1, int y1, int x2, int y2);
  virtual void draw_rect(int left, int top, int right, int bottom);
  virtual void fill_rect(int left, int top, int right, int bottom);
  // The box is normalised and includes its right and bottom edges.
  virtual void solid_rect(int left, int top, int right, int bottom);
  virtual void clear_rect(int left, int top, int right, int bottom);
  // The start and end points of an arc of the box's ellipse, angles in radians
  // counter-clockwise from the right-hand point (y grows downwards).
  virtual void arc_endpoints(int left, int top, int right, int bottom, double start, double end, int* x1,
                             int* y1, int* x2, int* y2);
  virtual void draw_circle(int x, int y, int radius);
  virtual void fill_circle(int x, int y, int radius);
  virtual void solid_circle(int x, int y, int radius);
  virtual void clear_circle(int x, int y, int radius);
  virtual void draw_ellipse(int left, int top, int right, int bottom);
  virtual void fill_ellipse(int left, int top, int right, int bottom);
  virtual void solid_ellipse(int left, int top, int right, int bottom);
  virtual void clear_ellipse(int left, int top, int right, int bottom);
  virtual void draw_round_rect(int left, int top, int right, int bottom, int ellipse_width,
                               int ellipse_height);
  virtual void fill_round_rect(int left, int top, int right, int bottom, int ellipse_width,
                               int ellipse_height);
  virtual void solid_round_rect(int left, int top, int right, int bottom, int ellipse_width,
                                int ellipse_height);
  virtual void clear_round_rect(int left, int top, int right, int bottom, int ellipse_width,
                                int ellipse_height);
  virtual void draw_arc(int left, int top, int right, int bottom, double start, double end);
  virtual void draw_pie(int left, int top, int right, int bottom, double start, double end);
  virtual void fill_pie(int left, int top, int right, int bottom, double start, double end);
  virtual void solid_pie(int left, int top, int right, int bottom, double start, double end);
  virtual void clear_pie(int left, int top, int right, int bottom, double start, double end);
  virtual void draw_polyline(const POINT* points, int count);
  virtual void draw_polygon(const POINT* points, int count);
  virtual void fill_polygon(const POINT* points, int count);
  virtual void solid_polygon(const POINT* points, int count);
  virtual void clear_polygon(const POINT* points, int count);
  virtual void draw_bezier(const POINT* points, int count);
  virtual void flood_fill(int x, int y, COLORREF color, UINT type);
  virtual void out_text(int x, int y, const wchar_t* text);
  virtual int draw_text_rect(const wchar_t* text, RECT* rect, UINT format);
  virtual int text_width(const wchar_t* text);
  virtual int text_height(const wchar_t* text);
  virtual void set_font_logfont(const LOGFONTW* font);
  virtual void set_font_all(int height, int width, const wchar_t* face, int escapement, int orientation,
                            int weight, bool italic, bool underline, bool strikeout, BYTE charset,
                            BYTE out_precision, BYTE clip_precision, BYTE quality, BYTE pitch_and_family);
  virtual void set_font_styled(int height, int width, const wchar_t* face, int escapement, int orientation,
                               int weight, bool italic, bool underline, bool strikeout);
  virtual void set_font_simple(int height, int width, const wchar_t* face);
  virtual void get_font(LOGFONTW* out);
  virtual int get_width();
  virtual int get_height();
};

class DrawOnWnd : public DrawOnImg {
 public:
  ~DrawOnWnd() override;

  void clear() override;
  void set_text_color(COLORREF color) override;
  void set_bk_color(COLORREF color) override;
  int get_bk_mode() override;
  void set_bk_mode(int mode) override;
  void set_origin(int x, int y) override;
  void set_clip_region(HRGN region) override;
  void clear_clip_region() override;
  void apply_line_style(const LINESTYLE* style) override;
  void apply_fill_style(const FILLSTYLE* style) override;
  void set_fill_color(COLORREF color) override;
  void set_aspect_ratio(float x, float y) override;
  int get_rop2() override;
  void set_rop2(int mode) override;
  int get_poly_fill_mode() override;
  void set_poly_fill_mode(int mode) override;
  COLORREF get_pixel(int x, int y) override;
  void put_pixel(int x, int y, COLORREF color) override;
  void draw_line(int x1, int y1, int x2, int y2) override;
  void fill_rect(int left, int top, int right, int bottom) override;
  void fill_circle(int x, int y, int radius) override;
  void fill_ellipse(int left, int top, int right, int bottom) override;
  void fill_round_rect(int left, int top, int right, int bottom, int ellipse_width,
                       int ellipse_height) override;
  void draw_arc(int left, int top, int right, int bottom, double start, double end) override;
  void fill_pie(int left, int top, int right, int bottom, double start, double end) override;
  void draw_polyline(const POINT* points, int count) override;
  void fill_polygon(const POINT* points, int count) override;
  void draw_bezier(const POINT* points, int count) override;
  void flood_fill(int x, int y, COLORREF color, UINT type) override;
  void out_text(int x, int y, const wchar_t* text) override;
  int draw_text_rect(const wchar_t* text, RECT* rect, UINT format) override;
  int text_width(const wchar_t* text) override;
  int text_height(const wchar_t* text) override;
  void set_font_logfont(const LOGFONTW* font) override;
  void get_font(LOGFONTW* out) override;

  virtual HWND open_window(int width, int height, int flags);
  virtual void close_window();
  virtual void begin_batch();
  // Copies the rectangle from (left, top) to (right, bottom), both included.
  virtual void flush_batch_rect(int left, int top, int right, int bottom);
  virtual void flush_batch();
  virtual void end_batch_rect(int left, int top, int right, int bottom);
  virtual void end_batch();
};
