// UTF-16 <-> UTF-8 conversion at the UI library's boundary.
// Text is UTF-16 everywhere inside the setup; the UI library takes UTF-8.
#pragma once

#include <string>

// A NUL-terminated UTF-16 text as UTF-8. Empty on allocation failure.
std::string utf16_to_utf8(const wchar_t* text);
std::string utf16_to_utf8(const std::wstring& text);

// A NUL-terminated UTF-8 text as UTF-16. Invalid sequences become U+FFFD.
std::wstring utf8_to_utf16(const char* text);

// `length` UTF-8 bytes (-1: up to and without the terminating NUL) as UTF-16.
// Every converted unit is kept, so a NUL byte inside the given length stays in
// the result instead of cutting it short. Empty on allocation failure.
std::wstring utf8_to_utf16_n(const char* bytes, int length);
