// Read-only registry layer used by every locator: subkey listing, string
// reads (with the per-user hive scan for HKEY_CURRENT_USER), the uninstall
// entry scan and the 64-bit Windows test. Nothing here writes to the registry.
//
// Contract of every function: a failure of any kind (a key that cannot be
// opened, a missing value, a value too long for the buffer) gives an empty
// list or an empty string; callers take that as "not found".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Names of the direct subkeys, in enumeration index order. A null `path`
// lists the subkeys of `root` itself. A name that cannot be read is kept as an
// empty entry, so the list is as long as the key reports.
std::vector<std::wstring> reg_list_subkeys(HKEY root, const wchar_t* path);

// The named value as text, or "". A null `value_name` gives "" without
// touching the registry. For HKEY_CURRENT_USER the value is read from the
// user hives under HKEY_USERS instead (the last hive holding it wins; a hive
// that has the key but not the value ends the scan with "").
std::wstring reg_read_string(HKEY root, const wchar_t* path, const wchar_t* value_name);

// The value `value_name` of the first uninstall entry whose DisplayName
// matches `display_name_pattern` (ECMAScript, case-insensitive, search), or "".
// The 64-bit flag picks the WOW6432Node uninstall tree.
std::wstring find_uninstall_value(bool is_64bit, const std::wstring& display_name_pattern,
                                  const wchar_t* value_name);

// True only when PROCESSOR_ARCHITECTURE in the registry is exactly "AMD64".
bool is_64bit_windows();
