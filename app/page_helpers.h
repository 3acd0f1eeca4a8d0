// Helpers that both wizard pages use: rows, labels and buttons, text in
// fonts of their own, and the style of their buttons.
#pragma once

#include <windows.h>

#include <string>

#include "ui_backend/nuklear_config.h"
#include "ui_backend/ui_font.h"

// The three parts of a page font: its GDI description, the UiFont that the
// width callback reads, and the UI library's font handle that points to it.
struct PageFont {
  LOGFONTW logfont{};
  UiFont font{};
  nk_user_font handle{};
};

// Fills `logfont` ("Segoe UI", the given height, weight, escapement and
// orientation; TrueType only, proof quality), points `font` at it and makes
// `handle` measure with it. Height and width callback come from the context's
// current font, so the UI library lays the text out as a line of that font.
nk_user_font* make_page_font(nk_context* ctx, LOGFONTW& logfont, UiFont& font, nk_user_font& handle,
                             int height, int weight, int escapement, int orientation);
nk_user_font* make_page_font(nk_context* ctx, PageFont& page_font, int height, int weight, int escapement,
                             int orientation);

// Draws `text` (UTF-8) in the next widget slot of the current row, moved by
// (dx, dy), with the given alignment, font and colour on the window's
// background colour. Nothing when there is no window or layout.
void draw_text_with_font(nk_context* ctx, const char* text, nk_flags alignment, const nk_user_font* font,
                         float dx, float dy, nk_color color);

// The context's button style with the wizard's light colours.
nk_style_button light_button_style(const nk_context* ctx);

// The ink of the pages' text: nk_rgb(33, 33, 33).
constexpr nk_color kPageInk{33, 33, 33, 255};

// Nuklear alignments the pages use.
constexpr nk_flags kAlignTopLeft = NK_TEXT_ALIGN_LEFT | NK_TEXT_ALIGN_TOP;  // 1
constexpr nk_flags kAlignLeft = NK_TEXT_LEFT;                               // 17: left, vertically centred
constexpr nk_flags kAlignCentred = NK_TEXT_CENTERED;                        // 18

// Starts a row of the given height with one widget slot across its full width.
void page_row(nk_context* ctx, float height);

// `text` as a label in the next slot of the current row.
void page_label(nk_context* ctx, const std::wstring& text, nk_flags alignment = kAlignLeft,
                nk_color colour = kPageInk);

// A button labelled `text` in the given style; true in the frame it is pressed.
bool page_button(nk_context* ctx, const nk_style_button& style, const wchar_t* text);
