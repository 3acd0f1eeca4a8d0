// GDI-backed font of the UI library and the set-up of its context.
#include "ui_backend/ui_font.h"

#include <cwchar>
#include <new>
#include <string>

#include "app/text_convert.h"
#include "graphics/drawing_api.h"
#include "ui_backend/ui_backend_state.h"
#include "ui_backend/ui_input.h"

nk_context ui_context;
UiBackend ui_backend;

namespace {

// LOGFONTW keeps 31 characters and the terminator.
void copy_face_name(LOGFONTW& font, const std::wstring& face) {
  const size_t limit = LF_FACESIZE - 1;
  const size_t n = face.size() < limit ? face.size() : limit;
  wmemcpy(font.lfFaceName, face.data(), n);
  font.lfFaceName[n] = L'\0';
}

}  // namespace

UiFont* ui_font_create(const char* face, int height, int width) {
  LOGFONTW wanted{};
  get_font(&wanted);
  wanted.lfHeight = height;
  wanted.lfWidth = width;
  wanted.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  wanted.lfQuality = PROOF_QUALITY;
  copy_face_name(wanted, utf8_to_utf16(face));
  set_font_logfont(&wanted);

  UiFont* font = new (std::nothrow) UiFont{};
  if (font == nullptr) return nullptr;
  font->logfont = new (std::nothrow) LOGFONTW{};
  if (font->logfont == nullptr) {
    delete font;
    return nullptr;
  }
  get_font(font->logfont);
  return font;
}

void ui_font_free(UiFont* font) {
  if (font == nullptr) return;
  delete font->logfont;
  delete font;
}

float ui_text_width(nk_handle handle, float /*height*/, const char* text, int length) {
  const UiFont* font = static_cast<const UiFont*>(handle.ptr);
  // Nothing to measure: leave the current font alone.
  if (font == nullptr || font->logfont == nullptr || text == nullptr || length <= 0) return 0.0f;
  LOGFONTW previous{};
  get_font(&previous);
  set_font_logfont(font->logfont);
  const std::wstring wide = utf8_to_utf16_n(text, length);
  const int width = text_width(wide.c_str());
  set_font_logfont(&previous);
  return static_cast<float>(width);
}

nk_context* ui_backend_init(UiFont* font, HDC window_dc, int width, int height) {
  font->nk.userdata = nk_handle_ptr(font);
  font->nk.height = static_cast<float>(font->logfont->lfHeight);
  font->nk.width = ui_text_width;

  ui_backend.window_dc = window_dc;
  ui_backend.width = width;
  ui_backend.height = height;
  ui_backend.ctrl_down = false;

  nk_init_default(&ui_context, &font->nk);
  ui_context.clip.copy = ui_clipboard_copy;
  ui_context.clip.paste = ui_clipboard_paste;
  return &ui_context;
}
