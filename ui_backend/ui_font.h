// The UI library's font and context on top of the graph window: a GDI font
// described by a LOGFONTW, the width callback that measures with it, and the
// one UI context of the program.
#pragma once

#include <windows.h>

#include "ui_backend/nuklear_config.h"

// The UI library reaches this record through nk.userdata; pages that need
// another face fill a UiFont of their own, copying height and width from the
// main font and pointing logfont at their own description.
struct UiFont {
  nk_user_font nk;
  LOGFONTW* logfont;  // owned; the font as GDI reported it after selection
};

// The one UI context; lives until the process ends.
extern nk_context ui_context;

// Selects the face (UTF-8, cut to 31 characters) with the given LOGFONTW height
// and width on the working image, where it stays as the current font, and
// returns a new UiFont describing it. Null when memory runs out (the font is
// selected all the same).
UiFont* ui_font_create(const char* face, int height, int width);

// Releases a font made by ui_font_create; null does nothing.
void ui_font_free(UiFont* font);

// The UI library's width callback: the pixel width of the first `length` bytes
// of `text` in the font of `handle` (a UiFont). The working image's current
// font is the same after the query as before it. 0 for a null handle or text.
float ui_text_width(nk_handle handle, float height, const char* text, int length);

// Fills the font's UI fields, records the window, sets up ui_context with the
// default allocator and style and installs the clipboard callbacks. Called
// once per process.
nk_context* ui_backend_init(UiFont* font, HDC window_dc, int width, int height);
