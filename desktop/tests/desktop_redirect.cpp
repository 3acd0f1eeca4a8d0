#include "desktop/tests/desktop_redirect.h"

#include <stdexcept>

DesktopRedirect::DesktopRedirect(const std::wstring& desktop) {
  static unsigned counter = 0;
  scratch_path_ = L"Software\\PivroTestDesktop\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                  std::to_wstring(++counter);
  if (RegCreateKeyExW(HKEY_CURRENT_USER, scratch_path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                      nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("desktop redirect: cannot create a scratch key");
  const wchar_t* folders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  const DWORD size = static_cast<DWORD>((desktop.size() + 1) * sizeof(wchar_t));
  if (RegSetKeyValueW(key_, folders, L"Desktop", REG_SZ, desktop.c_str(), size) != ERROR_SUCCESS ||
      RegOverridePredefKey(HKEY_CURRENT_USER, key_) != ERROR_SUCCESS) {
    undo();
    throw std::runtime_error("desktop redirect: cannot redirect the desktop");
  }
}

DesktopRedirect::~DesktopRedirect() {
  undo();
}

void DesktopRedirect::undo() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(key_);
  RegDeleteTreeW(HKEY_CURRENT_USER, scratch_path_.c_str());
}
