// State shared by the UI backend's parts, in one place.
#pragma once

#include <windows.h>

struct UiBackend {
  HDC window_dc = nullptr;  // recorded only: all drawing goes through the graphics library
  int width = 0;
  int height = 0;
  bool context_ready = false;  // ui_context has been set up by ui_backend_init
  // Whether Ctrl is held, as the queued input tells it (see ui_input.cpp).
  bool ctrl_down = false;
};

extern UiBackend ui_backend;
