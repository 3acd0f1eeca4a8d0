// One-level folder searches: the detection never walks a tree recursively,
// it asks for the first fitting entry of one folder and builds on the answer.
// Entries are taken in the order the file system lists them; "." and ".."
// never count. Every result is empty when nothing fits, the folder cannot
// be listed or the folder is empty (never the current directory).
// Below them, the small path helpers that the locators share.
#pragma once

#include <string>

// First subfolder whose name contains a match of `pattern` (ECMAScript,
// case-insensitive): `folder` + name + "\". `folder` ends with a backslash.
std::wstring find_subfolder_matching(const std::wstring& folder, const std::wstring& pattern);

// First subfolder named `name`, ignoring case: `folder` + `name` as the
// caller wrote it + "\". `folder` ends with a backslash.
std::wstring find_subfolder_named(const std::wstring& folder, const std::wstring& name);

// First entry of any kind whose name contains a match of `pattern`:
// `folder` + "\" (added when missing) + name, without a trailing backslash.
std::wstring find_entry_matching(const std::wstring& folder, const std::wstring& pattern);

// `folder` with a trailing backslash added when it has none; "" stays "".
std::wstring with_backslash(std::wstring folder);

// Whether a file or folder exists at `path` (_waccess, mode 0).
bool entry_exists(const std::wstring& path);

// Whether `path` names an existing folder; other attributes (read-only,
// hidden, not indexed) do not matter.
bool is_existing_folder(const std::wstring& path);
