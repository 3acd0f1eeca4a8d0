// Version resources through the version API, and parent folders.
#include "vc/file_version.h"

#include <windows.h>

#include <filesystem>
#include <vector>

uint32_t file_version_number(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return 0;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return 0;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT info_size = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &info_size) || info == nullptr ||
      info_size < sizeof(VS_FIXEDFILEINFO))
    return 0;
  const uint32_t key = HIWORD(info->dwFileVersionMS) * 100u + LOWORD(info->dwFileVersionMS);
  return map_version_key(key);
}

uint32_t map_version_key(uint32_t key) {
  const uint32_t major = key / 100, minor = key % 100;
  switch (major) {
    case 0:
      return 0;
    case 12:
      return 6;
    case 15:
      return 2008;
    case 16:
      return 2010;
    case 17:
      return 2012;
    case 18:
      return 2013;
    case 19:
      if (minor < 10) return 2015;
      if (minor < 20) return 2017;
      if (minor < 30) return 2019;
      if (minor < 50) return 2022;
      return 2026;
    default:
      return key;
  }
}

std::wstring parent_folder(const std::wstring& path) {
  // std::filesystem's parent_path has exactly these rules on Windows paths:
  // "C:\" stays "C:\", "C:\a\\b" gives "C:\a", "C:\a\" gives "C:\a".
  if (path.empty()) return path;
  return std::filesystem::path(path).parent_path().wstring();
}
