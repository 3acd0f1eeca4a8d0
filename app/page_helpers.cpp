// Rows, labels and buttons of the pages, page fonts, text in a page font, and
// the light button style.
#include "app/page_helpers.h"

#include <cstring>

#include "app/text_convert.h"

// The UI library's own widget text routine. It is internal to the library but
// linked externally; its text record is declared here as the library has it.
extern "C" {
struct nk_text {
  struct nk_vec2 padding;
  struct nk_color background;
  struct nk_color text;
};
void nk_widget_text(struct nk_command_buffer* o, struct nk_rect b, const char* string, int len,
                    const struct nk_text* t, nk_flags a, const struct nk_user_font* f);
}

nk_user_font* make_page_font(nk_context* ctx, LOGFONTW& logfont, UiFont& font, nk_user_font& handle,
                             int height, int weight, int escapement, int orientation) {
  logfont = LOGFONTW{};
  logfont.lfHeight = height;
  logfont.lfWidth = 0;
  logfont.lfEscapement = escapement;
  logfont.lfOrientation = orientation;
  logfont.lfWeight = weight;
  logfont.lfCharSet = DEFAULT_CHARSET;
  logfont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  logfont.lfClipPrecision = 0;
  logfont.lfQuality = PROOF_QUALITY;
  logfont.lfPitchAndFamily = 0;
  wcscpy(logfont.lfFaceName, L"Segoe UI");
  font.logfont = &logfont;
  handle.userdata = nk_handle_ptr(&font);
  handle.height = ctx->style.font->height;
  handle.width = ctx->style.font->width;
  return &handle;
}

nk_user_font* make_page_font(nk_context* ctx, PageFont& page_font, int height, int weight, int escapement,
                             int orientation) {
  return make_page_font(ctx, page_font.logfont, page_font.font, page_font.handle, height, weight, escapement,
                        orientation);
}

void draw_text_with_font(nk_context* ctx, const char* text, nk_flags alignment, const nk_user_font* font,
                         float dx, float dy, nk_color color) {
  if (ctx == nullptr || ctx->current == nullptr || ctx->current->layout == nullptr) return;
  struct nk_rect bounds;
  // Takes the slot as any widget does; a slot outside the view still counts.
  if (nk_widget(&bounds, ctx) == NK_WIDGET_INVALID) return;
  bounds.x += dx;
  bounds.y += dy;
  struct nk_text style;
  style.padding = ctx->style.text.padding;
  style.background = ctx->style.window.background;
  style.text = color;
  nk_widget_text(&ctx->current->buffer, bounds, text, static_cast<int>(std::strlen(text)), &style, alignment,
                 font);
}

nk_style_button light_button_style(const nk_context* ctx) {
  nk_style_button style = ctx->style.button;
  style.normal = nk_style_item_color(nk_rgb(222, 222, 222));
  style.hover = nk_style_item_color(nk_rgb(255, 255, 255));
  style.active = nk_style_item_color(nk_rgb(255, 255, 255));
  style.text_normal = nk_rgb(66, 66, 66);
  style.text_hover = nk_rgb(88, 88, 88);
  style.text_active = nk_rgb(88, 88, 88);
  return style;
}

void page_row(nk_context* ctx, float height) {
  nk_layout_row_dynamic(ctx, height, 1);
}

void page_label(nk_context* ctx, const std::wstring& text, nk_flags alignment, nk_color colour) {
  nk_label_colored(ctx, utf16_to_utf8(text).c_str(), alignment, colour);
}

bool page_button(nk_context* ctx, const nk_style_button& style, const wchar_t* text) {
  return nk_button_label_styled(ctx, &style, utf16_to_utf8(text).c_str()) != 0;
}
