// An off-screen image as the working image, with pixel readers for the tests.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/drawing_devices.h"
#include "graphics/image.h"
#include "graphics/library_state.h"

class PixelCanvas {
 public:
  PixelCanvas(int width, int height) : image(width, height) { set_working_image(&image); }
  ~PixelCanvas() { set_working_image(nullptr); }

  DrawOnImg& device() { return *graphics_library.working_device; }
  uint32_t at(int x, int y) {
    GdiFlush();
    return image.pixels[y * image.width + x];
  }
  int count(uint32_t value) {
    GdiFlush();
    int n = 0;
    for (int i = 0; i < image.width * image.height; ++i) n += image.pixels[i] == value;
    return n;
  }
  void paint(COLORREF color) { fill_pixels(image, color); }

  IMAGE image;
};

// Pixel values of the colours the tests draw with.
constexpr COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
constexpr uint32_t red_px = 0xFF0000, green_px = 0x00FF00, blue_px = 0x0000FF, black_px = 0;
