// Version keys from a file's version resource, and the folder climb helper.
// Shared by the Visual C++ detection (cl.exe) and the Dev-C++ locator.
#pragma once

#include <cstdint>
#include <string>

// major * 100 + minor of the fixed file version (build and revision unused),
// passed through map_version_key; 0 when the file has no readable version.
uint32_t file_version_number(const std::wstring& path);

// A version key as a Visual C++ version: 12.x -> 6, 15.x -> 2008, 16.x -> 2010,
// 17.x -> 2012, 18.x -> 2013, 19.0-19.9 -> 2015, 19.10-19.19 -> 2017,
// 19.20-19.29 -> 2019, 19.30-19.49 -> 2022, 19.50+ -> 2026. Keys below 100
// give 0; any other key comes back unchanged (so Dev-C++'s 511 stays 511).
uint32_t map_version_key(uint32_t key);

// The folder above `path`: the last element and the separators in front of it
// go, never cutting into the root. An empty path or a root alone comes back
// as it is; a path ending in a separator loses only that separator.
std::wstring parent_folder(const std::wstring& path);
