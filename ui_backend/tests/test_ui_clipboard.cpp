#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "graphics/drawing_api.h"
#include "ui_backend/tests/ui_test_window.h"
#include "ui_backend/ui_input.h"

namespace {

HWND window() {
  return ui_test_window().hwnd;
}

// Replaces the clipboard's contents with one block of the given bytes in the
// given format (CF_UNICODETEXT unless told otherwise); an empty clipboard for
// no bytes at all.
void put_on_clipboard(const void* bytes, size_t size, UINT format = CF_UNICODETEXT, bool empty_first = true) {
  ASSERT_TRUE(OpenClipboard(window()));
  if (empty_first) EmptyClipboard();
  if (size > 0) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    if (SetClipboardData(format, block) == nullptr) GlobalFree(block);
  }
  CloseClipboard();
}
void put_text(const std::wstring& text) {
  put_on_clipboard(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

// The clipboard's Unicode text up to its NUL; "<none>" when there is none.
std::wstring clipboard_text() {
  std::wstring text = L"<none>";
  if (!OpenClipboard(window())) return L"<not opened>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(data));
    text.assign(p, wcsnlen(p, GlobalSize(data) / sizeof(wchar_t)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void copy(const std::string& utf8) {
  ui_clipboard_copy(nk_handle_ptr(nullptr), utf8.data(), static_cast<int>(utf8.size()));
}

// The editor's text after pasting the clipboard into an empty editor.
std::string pasted() {
  nk_text_edit editor;
  nk_textedit_init_default(&editor);
  editor.mode = NK_TEXT_EDIT_MODE_INSERT;  // a text field being edited
  ui_clipboard_paste(nk_handle_ptr(nullptr), &editor);
  const char* bytes = nk_str_get_const(&editor.string);
  std::string text(bytes != nullptr ? bytes : "", static_cast<size_t>(editor.string.buffer.allocated));
  nk_textedit_free(&editor);
  return text;
}

const std::string kWizardText = "Pivro 安装向导 \xF0\x9F\x98\x80 ok";  // U+1F600 lies outside the BMP
const std::wstring kWizardTextWide = L"Pivro 安装向导 \U0001F600 ok";

}  // namespace

TEST(UiClipboard, CopyAndPasteRoundTripThroughTheWindowsClipboard) {
  put_text(L"before");
  copy(kWizardText);
  EXPECT_EQ(clipboard_text(), kWizardTextWide);
  EXPECT_EQ(pasted(), kWizardText);

  // Text another program put there arrives as UTF-8.
  put_text(L"C:\\MinGW\\lib\\ 中文 \U0001F4C1");
  EXPECT_EQ(pasted(), "C:\\MinGW\\lib\\ \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x93\x81");
}

TEST(UiClipboard, CopyOfAnEmptySelectionLeavesTheClipboardAlone) {
  put_text(L"keep me");
  copy("");
  ui_clipboard_copy(nk_handle_ptr(nullptr), "ignored", 0);
  EXPECT_EQ(clipboard_text(), L"keep me");
}

TEST(UiClipboard, CopyReplacesWhatOtherFormatsHeld) {
  // An older text in another format would be what rich-text programs paste.
  const UINT other_format = RegisterClipboardFormatW(L"Pivro test rich text");
  put_text(L"older text");
  const char rich[] = "older rich text";
  put_on_clipboard(rich, sizeof rich, other_format, false);
  ASSERT_TRUE(IsClipboardFormatAvailable(other_format));

  copy("new text");
  EXPECT_EQ(clipboard_text(), L"new text");
  EXPECT_FALSE(IsClipboardFormatAvailable(other_format));
}

TEST(UiClipboard, PasteTakesTheTextUpToItsEndOnly) {
  struct Case {
    const char* name;
    std::wstring block;  // the clipboard block's contents, every unit of it
    std::string expected;
  };
  const Case cases[] = {
      {"exact block", std::wstring(L"abc", 4), "abc"},
      {"block longer than its text", std::wstring(L"abc\0zzzzzzzz", 12), "abc"},
      {"empty text", std::wstring(L"", 1), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    put_on_clipboard(c.block.data(), c.block.size() * sizeof(wchar_t));
    EXPECT_EQ(pasted(), c.expected);
  }
}

TEST(UiClipboard, PasteWithoutTextPastesNothing) {
  put_on_clipboard(nullptr, 0);  // emptied
  EXPECT_EQ(pasted(), "");
  const char rich[] = "not unicode text";
  put_on_clipboard(rich, sizeof rich, RegisterClipboardFormatW(L"Pivro test rich text"));
  EXPECT_EQ(pasted(), "");
}

TEST(UiClipboard, PasteReplacesTheSelectionAndPutsTheCursorAfterIt) {
  // Characters of the BMP: this UI library counts the four bytes of a
  // character beyond it as four characters.
  put_text(L"中文");
  nk_text_edit editor;
  nk_textedit_init_default(&editor);
  editor.mode = NK_TEXT_EDIT_MODE_INSERT;
  nk_textedit_text(&editor, "abcd", 4);
  editor.select_start = 1;  // "bc"
  editor.select_end = 3;
  ui_clipboard_paste(nk_handle_ptr(nullptr), &editor);
  const std::string text(nk_str_get_const(&editor.string),
                         static_cast<size_t>(nk_str_len_char(&editor.string)));
  EXPECT_EQ(text,
            "a\xE4\xB8\xAD\xE6\x96\x87"
            "d");
  EXPECT_EQ(editor.cursor, 3);  // counted in characters: after "a中文"
  nk_textedit_free(&editor);
}
