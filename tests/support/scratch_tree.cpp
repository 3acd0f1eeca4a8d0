#include "tests/support/scratch_tree.h"

#include <windows.h>

#include <stdexcept>

namespace {

std::wstring with_backslash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring parent_of(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

}  // namespace

bool make_folders(const std::wstring& folder) {
  const std::wstring full = with_backslash(folder);
  // Create each level after the drive ("C:\") in turn.
  for (size_t pos = full.find(L'\\', 3); pos != std::wstring::npos; pos = full.find(L'\\', pos + 1)) {
    const std::wstring level = full.substr(0, pos);
    if (!CreateDirectoryW(level.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return is_folder(full);
}

void remove_tree(const std::wstring& folder) {
  const std::wstring base = with_backslash(folder);
  WIN32_FIND_DATAW data;
  HANDLE listing = FindFirstFileW((base + L"*").c_str(), &data);
  if (listing != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring entry = base + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        remove_tree(entry);
      } else {
        SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(entry.c_str());
      }
    } while (FindNextFileW(listing, &data));
    FindClose(listing);
  }
  SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(base.c_str());
}

bool path_exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool is_folder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string read_file_bytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

bool write_file_bytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::wstring first_listed(const std::wstring& folder, std::initializer_list<std::wstring> names) {
  WIN32_FIND_DATAW data;
  HANDLE listing = FindFirstFileW((folder + L"*").c_str(), &data);
  std::wstring first;
  if (listing == INVALID_HANDLE_VALUE) return first;
  do {
    for (const std::wstring& name : names)
      if (first.empty() && _wcsicmp(name.c_str(), data.cFileName) == 0) first = data.cFileName;
  } while (first.empty() && FindNextFileW(listing, &data));
  FindClose(listing);
  return first;
}

std::wstring test_program_folder() {
  wchar_t module[MAX_PATH * 2] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH * 2);
  return parent_of(module);
}

std::wstring fixture_path(const std::wstring& relative) {
  return test_program_folder() + L"fixtures\\" + relative;
}

ScratchTree::ScratchTree() {
  static unsigned counter = 0;
  wchar_t temp[MAX_PATH + 1] = {};
  if (GetTempPathW(MAX_PATH + 1, temp) == 0) throw std::runtime_error("scratch tree: no temp folder");
  root_ = with_backslash(temp) + L"pivro-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter) + L"\\";
  remove_tree(root_);
  if (!make_folders(root_)) throw std::runtime_error("scratch tree: cannot create its folder");
}

ScratchTree::~ScratchTree() {
  remove_tree(root_);
}

std::wstring ScratchTree::folder(const std::wstring& relative) {
  const std::wstring full = with_backslash(root_ + relative);
  if (!make_folders(full)) throw std::runtime_error("scratch tree: cannot create a folder");
  return full;
}

std::wstring ScratchTree::file(const std::wstring& relative, const std::string& bytes) {
  const std::wstring full = root_ + relative;
  if (!make_folders(parent_of(full)) || !write_file_bytes(full, bytes))
    throw std::runtime_error("scratch tree: cannot write a file");
  return full;
}

std::wstring ScratchTree::copy_in(const std::wstring& relative, const std::wstring& source) {
  const std::wstring full = root_ + relative;
  if (!make_folders(parent_of(full)) || !CopyFileW(source.c_str(), full.c_str(), FALSE))
    throw std::runtime_error("scratch tree: cannot copy a file in");
  return full;
}
