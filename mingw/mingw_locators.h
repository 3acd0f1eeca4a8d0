// Finds the MinGW toolchain of a MinGW-based environment (from the registry
// or from a folder the user picked), settles its target folders, fills its
// record and row, and lets the toolchain probe choose the library build.
// Results: 0 nothing found, 1 found and a build chosen, -1 found but refused
// (the row's status says why).
#pragma once

#include <cstdint>
#include <string>

class PlatformPage;
struct MingwEnv;
struct PlatformRow;

// The one entry point. An empty `start_folder` is the first-frame search: the
// folder comes from the registry, and a kind not found gets a row in
// page.missing_rows. A given folder (with its row) is searched, then its
// parents up to, not including, its drive root.
int32_t locate_mingw(PlatformPage& page, const std::wstring& start_folder, int32_t env_index,
                     PlatformRow* row, bool is_64bit);

// The install folder that the environment's installer recorded, ending with a
// backslash, or "" (no entry, or a path that is not an existing folder).
std::wstring find_mingw_in_registry(int32_t env_index, bool is_64bit);

// The version (511 for 5.11) of the Dev-C++ program in `folder`, for the kinds
// Dev-C++ and other MinGW; 0 otherwise or when there is none.
int32_t read_devcpp_version(int32_t env_index, const std::wstring& folder);

// The walk of one folder: finds the MinGW folder and its target folder, fills
// the record and the row (a new one in page.found_rows when `row` is null)
// and probes the toolchain.
int32_t probe_mingw_folder(PlatformPage& page, const std::wstring& folder, int32_t env_index,
                           PlatformRow* row, int32_t devcpp_version);

// Empties each of include_dir, lib64_dir and lib32_dir whose folder under
// `target` does not exist.
void verify_mingw_subfolders(const std::wstring& target, MingwEnv& env);
