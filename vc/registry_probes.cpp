// Registry probes: every key opened with KEY_READ alone, no view flags. The
// setup is 32-bit, so on 64-bit Windows HKLM\Software reads see the 32-bit
// view; callers name WOW6432Node explicitly where they mean it.
#include "vc/registry_probes.h"

#include <regex>

#include "app/win_handles.h"

namespace {

// Values are offered a 2048-byte buffer. One zero unit more stays beyond the
// offer, so a value that fills the buffer still ends inside it.
constexpr DWORD kValueBufferBytes = 2048;
constexpr size_t kValueBufferUnits = kValueBufferBytes / sizeof(wchar_t);
constexpr DWORD kSubkeyNameCapacity = 255;

struct ValueBuffer {
  wchar_t units[kValueBufferUnits + 1] = {};
  void clear() { std::fill(std::begin(units), std::end(units), L'\0'); }
  // Reads into the buffer; false when the value is missing or does not fit.
  bool read(HKEY key, const wchar_t* value_name) {
    DWORD size = kValueBufferBytes;
    return RegQueryValueExW(key, value_name, nullptr, nullptr, reinterpret_cast<BYTE*>(units), &size) ==
           ERROR_SUCCESS;
  }
  std::wstring text() const { return std::wstring(units); }
};

unique_hkey open_key(HKEY root, const wchar_t* path) {
  unique_hkey key;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return unique_hkey();
  return key;
}

std::wstring read_direct(HKEY root, const wchar_t* path, const wchar_t* value_name) {
  unique_hkey key = open_key(root, path);
  if (!key) return std::wstring();
  ValueBuffer buffer;
  if (!buffer.read(key.get(), value_name)) return std::wstring();
  return buffer.text();
}

// A hive is a user or service SID: "S-" first, and not a "_Classes" hive.
bool is_user_hive_name(const std::wstring& name) {
  static const std::wstring kClassesSuffix = L"_Classes";
  if (name.size() < 2 || name.compare(0, 2, L"S-") != 0) return false;
  if (name.size() > kClassesSuffix.size() &&
      name.compare(name.size() - kClassesSuffix.size(), kClassesSuffix.size(), kClassesSuffix) == 0)
    return false;
  return true;
}

std::wstring read_per_user(const wchar_t* path, const wchar_t* value_name) {
  ValueBuffer buffer;
  for (const std::wstring& hive : reg_list_subkeys(HKEY_USERS, nullptr)) {
    if (!is_user_hive_name(hive)) continue;
    const std::wstring hive_path = hive + L"\\" + (path ? path : L"");
    unique_hkey key = open_key(HKEY_USERS, hive_path.c_str());
    if (!key) continue;
    // A hive that has the key but not the value ends the scan.
    if (!buffer.read(key.get(), value_name)) return std::wstring();
  }
  return buffer.text();
}

}  // namespace

std::vector<std::wstring> reg_list_subkeys(HKEY root, const wchar_t* path) {
  std::vector<std::wstring> names;
  unique_hkey key = open_key(root, path);
  if (!key) return names;

  wchar_t class_name[260] = {};
  DWORD class_capacity = 260;
  DWORD subkey_count = 0;
  if (RegQueryInfoKeyW(key.get(), class_name, &class_capacity, nullptr, &subkey_count, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return names;

  names.reserve(subkey_count);
  for (DWORD index = 0; index < subkey_count; ++index) {
    wchar_t name[256] = {};
    DWORD capacity = kSubkeyNameCapacity;
    if (RegEnumKeyExW(key.get(), index, name, &capacity, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      name[0] = L'\0';
    names.emplace_back(name);
  }
  return names;
}

std::wstring reg_read_string(HKEY root, const wchar_t* path, const wchar_t* value_name) {
  if (value_name == nullptr) return std::wstring();
  if (root == HKEY_CURRENT_USER) return read_per_user(path, value_name);
  return read_direct(root, path, value_name);
}

std::wstring find_uninstall_value(bool is_64bit, const std::wstring& display_name_pattern,
                                  const wchar_t* value_name) {
  const wchar_t* uninstall_key = is_64bit
                                     ? L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
                                     : L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  std::wregex pattern;
  try {
    pattern.assign(display_name_pattern, std::regex::ECMAScript | std::regex::icase);
  } catch (const std::regex_error&) {
    return std::wstring();
  }
  for (const std::wstring& entry : reg_list_subkeys(HKEY_LOCAL_MACHINE, uninstall_key)) {
    const std::wstring entry_path = std::wstring(uninstall_key) + L"\\" + entry;
    const std::wstring display_name = reg_read_string(HKEY_LOCAL_MACHINE, entry_path.c_str(), L"DisplayName");
    if (display_name.empty()) continue;
    if (std::regex_search(display_name, pattern))
      return reg_read_string(HKEY_LOCAL_MACHINE, entry_path.c_str(), value_name);
  }
  return std::wstring();
}

bool is_64bit_windows() {
  return reg_read_string(HKEY_LOCAL_MACHINE,
                         L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                         L"PROCESSOR_ARCHITECTURE") == L"AMD64";
}
