// Visual C++ detection: the VC root of each supported version, found in the
// registry at start-up or from a folder that the user picks, with the
// subfolders that hold its headers and its x86 and x64 libraries.
//
// VC roots by generation: the VC98 folder for 6.0, the VC folder for
// 2008-2015, VC\Auxiliary\VS under the installation for 2017 and later.
// Every folder string is empty or ends with a backslash.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/platform_page.h"
#include "catalogue/platform_records.h"
#include "vc/file_version.h"

// Results of a folder resolution besides a version number (> 0).
constexpr int32_t kVcNotFound = 0;
constexpr int32_t kVcWrongVersion = -1;

// The VC root of `version` (6, 2008 ... 2026) as the registry records it,
// ending with a backslash, or "" when it is not recorded or names no
// existing folder. `is_64bit` (from is_64bit_windows) picks the WOW6432Node
// trees for 2008-2015 and for the uninstall scan of 2017 and later.
std::wstring detect_vc_root(int32_t version, bool is_64bit);

// Library subfolders relative to the VC root after a registry hit:
// 6 -> "Lib\" and "", 2008-2015 -> "lib\" and "lib\amd64\",
// 2017-2026 -> "lib\x86\" and "lib\x64\", any other number -> "" and "".
std::wstring vc_lib_subdir(int32_t version);
std::wstring vc_lib64_subdir(int32_t version);

// Looks for the installation of the row's version in `folder` (and, with
// `walk_up`, in every folder above it up to the drive root). At each level:
// a VC subfolder with bin\cl.exe or a 2017+ toolset, then a VC98 subfolder,
// then the Community, Professional and Enterprise edition folders.
// Returns the version on success, having set root, include_dir, lib_dir and
// lib64_dir of page.vc_envs[row.env_index] and the row's header_text and
// lib_text; kVcWrongVersion as soon as a cl.exe of another version is met;
// kVcNotFound otherwise. A failed resolution changes nothing.
int32_t resolve_vc_folder(PlatformPage& page, const std::wstring& folder, PlatformRow& row, bool walk_up);

// The 2017+ layout under the VC folder `vc_folder` (ending with a
// backslash): the first toolset folder of Tools\MSVC in listing order, its
// bin\Hostx86\x86\cl.exe, and the root VC\Auxiliary\VS\. Same results and
// effects as resolve_vc_folder.
int32_t resolve_vs2017_layout(PlatformPage& page, const std::wstring& vc_folder, PlatformRow& row);

// The two detail lines of a Visual C++ row, from the folders of `env`:
// "头文件路径 " + root + include_dir, and "库文件路径 " + root + lib_dir
// followed, when lib64_dir is not empty, by a blank, root and lib64_dir.
std::wstring vc_header_text(const VcEnv& env);
std::wstring vc_lib_text(const VcEnv& env);

// Empties the folders of `env` that do not exist on disk, in this order:
// a missing include folder empties root and include_dir; a missing x86
// library folder empties root, include_dir and lib_dir; a missing x64
// library folder empties lib64_dir.
void verify_vc_dirs(VcEnv& env);
