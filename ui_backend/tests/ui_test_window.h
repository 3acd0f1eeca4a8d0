// The graph window, UI font and UI context that the UI backend's tests draw
// into: opened once per test program, as the wizard opens them, and closed
// when the program's tests are done.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "ui_backend/nuklear_config.h"
#include "ui_backend/ui_font.h"

struct UiTestWindow {
  HWND hwnd = nullptr;
  UiFont* font = nullptr;  // "Segoe UI", height 17
};

// Opens everything on the first call; later calls return the same objects.
UiTestWindow& ui_test_window();

// A pixel of the window's image (0x00RRGGBB), after every pending GDI call.
uint32_t window_pixel(int x, int y);
// How many pixels of the rectangle [left, right) x [top, bottom) have the value.
int count_pixels(int left, int top, int right, int bottom, uint32_t value);
// The pixel value of a COLORREF.
uint32_t pixel_of(COLORREF color);

// Declares one UI window over the whole graph window whose own background is
// not drawn, and hands its canvas to `draw` for raw drawing commands.
void declare_canvas(const std::function<void(nk_command_buffer*)>& draw);
