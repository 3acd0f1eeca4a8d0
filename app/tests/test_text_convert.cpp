#include <gtest/gtest.h>

#include "app/text_convert.h"

TEST(TextConvert, RoundTripsAcrossPlanes) {
  struct Case {
    const wchar_t* utf16;
    const char* utf8;
  } cases[] = {
      {L"", ""},
      {L"Visual C++ 2019", "Visual C++ 2019"},
      {L"安装成功", "\xE5\xAE\x89\xE8\xA3\x85\xE6\x88\x90\xE5\x8A\x9F"},
      {L"\xD83D\xDE00", "\xF0\x9F\x98\x80"},  // U+1F600, a surrogate pair
      {L"a\xD840\xDC0B"
       L"b",
       "a\xF0\xA0\x80\x8B"
       "b"},  // U+2000B between ASCII
  };
  for (const Case& c : cases) {
    EXPECT_EQ(utf16_to_utf8(c.utf16), c.utf8);
    EXPECT_EQ(utf8_to_utf16(c.utf8), c.utf16);
    EXPECT_EQ(utf8_to_utf16_n(c.utf8, -1), c.utf16);
  }
}

TEST(TextConvert, LengthLimitedConversionStopsAtTheLength) {
  const char* text = "gcc version 8.1.0";
  EXPECT_EQ(utf8_to_utf16_n(text, 3), L"gcc");
  EXPECT_EQ(utf8_to_utf16_n(text, 0), L"");
  // The result is terminated right after the converted units.
  EXPECT_EQ(wcslen(utf8_to_utf16_n(text, 7).c_str()), 7u);
}

TEST(TextConvert, InvalidBytesBecomeReplacementCharacters) {
  // A lone continuation byte and a GBK byte pair from a localised gcc.
  EXPECT_EQ(utf8_to_utf16_n("a\x80z", 3), L"a\xFFFDz");
  const std::wstring gbk = utf8_to_utf16("\xB0\xE6\xB1\xBE 8.1.0");
  EXPECT_NE(gbk.find(L'\xFFFD'), std::wstring::npos);
  EXPECT_NE(gbk.find(L"8.1.0"), std::wstring::npos);
}

TEST(TextConvert, LengthCutInsideASequenceDropsOnlyThatSequence) {
  // "安" is three bytes; a length of 2 ends inside it.
  const std::wstring cut = utf8_to_utf16_n("\xE5\xAE\x89", 2);
  EXPECT_LE(cut.size(), 2u);
  EXPECT_EQ(cut.find(L"安"), std::wstring::npos);
}
