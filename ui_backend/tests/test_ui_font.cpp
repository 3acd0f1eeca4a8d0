#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>

#include "graphics/drawing_api.h"
#include "ui_backend/tests/ui_test_window.h"
#include "ui_backend/ui_font.h"
#include "ui_backend/ui_input.h"

namespace {

LOGFONTW current_font() {
  LOGFONTW f{};
  get_font(&f);
  return f;
}

// A font other than the UI font, so that a query that forgets to restore shows.
LOGFONTW select_other_font() {
  LOGFONTW f = current_font();
  f.lfHeight = 13;
  wcscpy(f.lfFaceName, L"Tahoma");
  set_font_logfont(&f);
  return current_font();
}

void expect_same_font(const LOGFONTW& expected) {
  const LOGFONTW now = current_font();
  EXPECT_STREQ(now.lfFaceName, expected.lfFaceName);
  EXPECT_EQ(now.lfHeight, expected.lfHeight);
  EXPECT_EQ(now.lfWeight, expected.lfWeight);
}

// The width of text in the given font, measured directly.
int measured_in(const UiFont* font, const wchar_t* text) {
  const LOGFONTW before = current_font();
  set_font_logfont(font->logfont);
  const int width = text_width(text);
  set_font_logfont(&before);
  return width;
}

}  // namespace

TEST(UiFont, CreateSelectsTheFaceAndDescribesIt) {
  const UiFont* font = ui_test_window().font;
  ASSERT_NE(font, nullptr);
  ASSERT_NE(font->logfont, nullptr);
  EXPECT_STREQ(font->logfont->lfFaceName, L"Segoe UI");
  EXPECT_EQ(font->logfont->lfHeight, 17);
  EXPECT_EQ(font->logfont->lfWidth, 0);
  EXPECT_EQ(font->logfont->lfOutPrecision, OUT_TT_ONLY_PRECIS);
  EXPECT_EQ(font->logfont->lfQuality, PROOF_QUALITY);
  EXPECT_EQ(font->logfont->lfCharSet, DEFAULT_CHARSET);  // the rest comes from the default font

  // The UI library reaches the record through its own font.
  EXPECT_EQ(font->nk.userdata.ptr, font);
  EXPECT_EQ(font->nk.height, 17.0f);
  EXPECT_EQ(font->nk.width, &ui_text_width);
  EXPECT_EQ(ui_context.style.font, &font->nk);
  EXPECT_EQ(ui_context.clip.copy, &ui_clipboard_copy);
  EXPECT_EQ(ui_context.clip.paste, &ui_clipboard_paste);
}

TEST(UiFont, CreatedFontStaysSelectedAndLongFacesAreCut) {
  ui_test_window();
  const LOGFONTW before = current_font();
  const char* long_face = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij";  // 36 characters
  UiFont* font = ui_font_create(long_face, 21, 5);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(std::wstring(font->logfont->lfFaceName), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");
  EXPECT_EQ(font->logfont->lfHeight, 21);
  EXPECT_EQ(font->logfont->lfWidth, 5);
  expect_same_font(*font->logfont);

  // A Chinese face name arrives as UTF-8 and is kept whole.
  UiFont* chinese = ui_font_create("微软雅黑", 17, 0);
  ASSERT_NE(chinese, nullptr);
  EXPECT_STREQ(chinese->logfont->lfFaceName, L"微软雅黑");

  ui_font_free(chinese);
  ui_font_free(font);
  ui_font_free(nullptr);  // nothing to release
  set_font_logfont(&before);
}

TEST(UiFont, WidthMeasuresOnlyTheGivenBytesInTheFontsOwnFace) {
  const UiFont* font = ui_test_window().font;
  const nk_handle handle = nk_handle_ptr(const_cast<UiFont*>(font));
  const LOGFONTW other = select_other_font();

  struct Case {
    const char* text;
    int length;
    const wchar_t* expected_text;
  };
  const Case cases[] = {
      {"Visual C++ 2019", 15, L"Visual C++ 2019"},
      {"Visual C++ 2019", 6, L"Visual"},       // the text goes on beyond the length
      {"\xE5\xA4\xA9\xE5\xA4\xA9", 3, L"天"},  // the first of two Chinese characters
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected_text);
    const float width = ui_text_width(handle, 99.0f, c.text, c.length);
    EXPECT_EQ(width, static_cast<float>(measured_in(font, c.expected_text)));
    EXPECT_GT(width, 0.0f);
    expect_same_font(other);
  }
  // Measured in the UI font, not in the font that happened to be current.
  EXPECT_NE(ui_text_width(handle, 0, "Visual C++ 2019", 15),
            static_cast<float>(text_width(L"Visual C++ 2019")));
  expect_same_font(other);
  set_font_logfont(font->logfont);
}

TEST(UiFont, NothingToMeasureGivesZeroAndKeepsTheFont) {
  const UiFont* font = ui_test_window().font;
  const LOGFONTW other = select_other_font();
  EXPECT_EQ(ui_text_width(nk_handle_ptr(nullptr), 17, "text", 4), 0.0f);
  EXPECT_EQ(ui_text_width(nk_handle_ptr(const_cast<UiFont*>(font)), 17, nullptr, 4), 0.0f);
  EXPECT_EQ(ui_text_width(nk_handle_ptr(const_cast<UiFont*>(font)), 17, "text", 0), 0.0f);
  expect_same_font(other);
  set_font_logfont(font->logfont);
}
