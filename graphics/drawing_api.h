// The flat drawing API of the graphics library: the program's only way to the
// window, its input and the working image. Each function forwards to the
// working device (the window device once the graph window is open).
// Colours are COLORREF values (0x00BBGGRR); angles are radians.
#pragma once

#include <windows.h>

#include "graphics/graph_window.h"
#include "graphics/image.h"
#include "graphics/message_queue.h"

// Batch drawing: while on, the window thread leaves the screen alone and the
// image reaches it only through the flushes.
void begin_batch_draw();
void flush_batch_draw();
void end_batch_draw();

// Drawing state of the working image.
void clear();  // every pixel in the background colour
COLORREF get_line_color();
void set_line_color(COLORREF color);
COLORREF get_text_color();
void set_text_color(COLORREF color);
COLORREF get_bk_color();
void set_bk_color(COLORREF color);
int get_bk_mode();
void set_bk_mode(int mode);  // 1 TRANSPARENT, 2 OPAQUE
void set_clip_region(HRGN region);
void get_line_style(LINESTYLE* out);
void set_line_style(int style, int thickness, const DWORD* dashes, DWORD dash_count);
void apply_line_style(const LINESTYLE* style);
COLORREF get_fill_color();
void set_fill_color(COLORREF color);
void get_font(LOGFONTW* out);
void set_font_logfont(const LOGFONTW* font);

// Drawing on the working image. draw_* outlines, fill_* outline and fill.
void draw_line(int x1, int y1, int x2, int y2);
void move_to(int x, int y);
void line_to(int x, int y);  // from the current position, which then moves to x, y
void draw_rect(int left, int top, int right, int bottom);
void fill_rect(int left, int top, int right, int bottom);
void draw_round_rect(int left, int top, int right, int bottom, int ellipse_width, int ellipse_height);
void fill_round_rect(int left, int top, int right, int bottom, int ellipse_width, int ellipse_height);
void draw_ellipse(int left, int top, int right, int bottom);
void fill_ellipse(int left, int top, int right, int bottom);
void draw_arc(int left, int top, int right, int bottom, double start, double end);
void fill_pie(int left, int top, int right, int bottom, double start, double end);
void draw_polygon(const POINT* points, int count);
void fill_polygon(const POINT* points, int count);
void draw_bezier(const POINT* points, int count);
void out_text(int x, int y, const wchar_t* text);
int text_width(const wchar_t* text);
int text_height(const wchar_t* text);
// BitBlt of width by height pixels from source at (source_x, source_y) to the
// working image at (x, y) with the raster operation rop.
void copy_image(int x, int y, int width, int height, const IMAGE* source, int source_x, int source_y,
                DWORD rop);
