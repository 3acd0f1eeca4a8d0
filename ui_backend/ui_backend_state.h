// State shared by the UI backend's parts, in one place.
#pragma once

#include <windows.h>

struct UiBackend {
  HDC window_dc = nullptr;  // recorded only: all drawing goes through the graphics library
  int width = 0;
  int height = 0;
  // Whether Ctrl is held, as the queued input tells it (see ui_input.cpp).
  bool ctrl_down = false;
};

extern UiBackend ui_backend;
