#include "mingw/tests/toolchain_fixture.h"

#include <windows.h>

#include <stdexcept>

#include "tests/support/scratch_tree.h"

std::string gcc_report(const wchar_t* file_name) {
  const std::wstring path = fixture_path(std::wstring(L"gcc-v\\") + file_name);
  if (!path_exists(path)) throw std::runtime_error("missing gcc report fixture");
  return read_file_bytes(path);
}

void place_gcc(const std::wstring& bin_folder, const std::string& report) {
  if (!make_folders(bin_folder) ||
      !CopyFileW(fixture_path(L"gcc\\gcc.exe").c_str(), (bin_folder + L"gcc.exe").c_str(), FALSE) ||
      !write_file_bytes(bin_folder + L"gcc-v.txt", report))
    throw std::runtime_error("cannot place the gcc stand-in");
  DeleteFileW((bin_folder + L"gcc-args.txt").c_str());
}

std::wstring gcc_arguments_seen(const std::wstring& bin_folder) {
  const std::string bytes = read_file_bytes(bin_folder + L"gcc-args.txt");
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}
