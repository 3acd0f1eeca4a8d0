// Folder entry search over FindFirstFileW/FindNextFileW.
#include "mingw/folder_search.h"

#include <io.h>
#include <windows.h>

#include <functional>
#include <regex>

#include "app/win_handles.h"

namespace {

enum class EntryKind { folders_only, any };

// Lists `folder` + "*" and returns the name of the first entry that passes,
// or "" when none does. The listing is closed on every path.
std::wstring first_entry(const std::wstring& folder, EntryKind kind,
                         const std::function<bool(const wchar_t*)>& fits) {
  // An empty folder would list the current directory and answer with a
  // relative path; nothing the detection builds on may be relative.
  if (folder.empty()) return std::wstring();
  WIN32_FIND_DATAW data;
  unique_find listing(FindFirstFileW((folder + L"*").c_str(), &data));
  if (!listing) return std::wstring();
  do {
    const wchar_t* name = data.cFileName;
    if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0) continue;
    if (kind == EntryKind::folders_only && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
    if (fits(name)) return std::wstring(name);
  } while (FindNextFileW(listing.get(), &data));
  return std::wstring();
}

// Patterns are program constants; one that does not compile finds nothing.
bool compile(const std::wstring& pattern, std::wregex& out) {
  try {
    out.assign(pattern, std::regex::ECMAScript | std::regex::icase);
    return true;
  } catch (const std::regex_error&) {
    return false;
  }
}

}  // namespace

std::wstring find_subfolder_matching(const std::wstring& folder, const std::wstring& pattern) {
  std::wregex re;
  if (!compile(pattern, re)) return std::wstring();
  const std::wstring name = first_entry(folder, EntryKind::folders_only,
                                        [&](const wchar_t* entry) { return std::regex_search(entry, re); });
  return name.empty() ? std::wstring() : folder + name + L"\\";
}

std::wstring find_subfolder_named(const std::wstring& folder, const std::wstring& name) {
  const std::wstring found = first_entry(folder, EntryKind::folders_only, [&](const wchar_t* entry) {
    return _wcsicmp(entry, name.c_str()) == 0;
  });
  return found.empty() ? std::wstring() : folder + name + L"\\";
}

std::wstring find_entry_matching(const std::wstring& folder, const std::wstring& pattern) {
  // An empty folder would otherwise become "\*", the root of the current drive.
  if (folder.empty()) return std::wstring();
  std::wregex re;
  if (!compile(pattern, re)) return std::wstring();
  const std::wstring base = with_backslash(folder);
  const std::wstring name =
      first_entry(base, EntryKind::any, [&](const wchar_t* entry) { return std::regex_search(entry, re); });
  return name.empty() ? std::wstring() : base + name;
}

std::wstring with_backslash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

bool entry_exists(const std::wstring& path) {
  return _waccess(path.c_str(), 0) == 0;
}

bool is_existing_folder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
