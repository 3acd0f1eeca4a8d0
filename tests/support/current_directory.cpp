#include "tests/support/current_directory.h"

#include <windows.h>

CurrentDirectoryGuard::CurrentDirectoryGuard(const std::wstring& folder) {
  // The first call gives the length with the terminator, the second the path.
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return;
  previous_.resize(size);
  const DWORD length = GetCurrentDirectoryW(size, &previous_[0]);
  if (length == 0 || length >= size) return;
  previous_.resize(length);
  changed_ = SetCurrentDirectoryW(folder.c_str()) != 0;
}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
  if (changed_) SetCurrentDirectoryW(previous_.c_str());
}
