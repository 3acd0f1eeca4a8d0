// UTF-16 <-> UTF-8 conversion through the code page API (CP_UTF8, no flags).
#include "app/text_convert.h"

#include <windows.h>

#include <new>

std::string utf16_to_utf8(const wchar_t* text) {
  if (text == nullptr) return std::string();
  // The measuring call counts the terminator.
  const int needed = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::string();
  try {
    std::string buffer(static_cast<size_t>(needed) + 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &buffer[0], needed, nullptr, nullptr);
    buffer.resize(static_cast<size_t>(needed) - 1);
    return buffer;
  } catch (const std::bad_alloc&) {
    return std::string();
  }
}

std::string utf16_to_utf8(const std::wstring& text) {
  return utf16_to_utf8(text.c_str());
}

std::wstring utf8_to_utf16(const char* text) {
  if (text == nullptr) return std::wstring();
  const int needed = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (needed <= 0) return std::wstring();
  try {
    std::wstring buffer(static_cast<size_t>(needed) + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &buffer[0], needed);
    buffer.resize(static_cast<size_t>(needed) - 1);
    return buffer;
  } catch (const std::bad_alloc&) {
    return std::wstring();
  }
}

std::wstring utf8_to_utf16_n(const char* bytes, int length) {
  if (bytes == nullptr || length == 0) return std::wstring();
  const int units = MultiByteToWideChar(CP_UTF8, 0, bytes, length, nullptr, 0);
  if (units <= 0) return std::wstring();
  try {
    // One unit beyond the converted ones stays zero, so the text is always terminated.
    std::wstring buffer(static_cast<size_t>(units) + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes, length, &buffer[0], units);
    // With length -1 the converted units include the terminator itself.
    buffer.resize(length < 0 ? static_cast<size_t>(units) - 1 : static_cast<size_t>(units));
    return buffer;
  } catch (const std::bad_alloc&) {
    return std::wstring();
  }
}
