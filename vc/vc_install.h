// Visual C++ install and uninstall: the table of the library's files beside
// the setup program, the copy into and removal from a detected VcEnv, and the
// two small file operations with result texts that the MinGW install and the
// desktop shortcut use too.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "catalogue/platform_page.h"

// One file of the library beside the setup program.
struct InstallFile {
  const wchar_t* source_dir;  // subfolder of the setup folder, ending with a backslash
  const wchar_t* file_name;   // kept at the target
};

// The twelve source files, indexed by the FilePair records: the two headers,
// then Pivroa.lib/Pivrow.lib of lib_vc6, lib_vc2008\x86, lib_vc2008\x64,
// lib_vc2015\x86 and lib_vc2015\x64.
constexpr int kInstallFileCount = 12;
extern const std::array<InstallFile, kInstallFileCount> install_files;

// Result texts.
extern const wchar_t kInstallFailed[];       // "安装失败"
extern const wchar_t kInstallException[];    // "安装异常"
extern const wchar_t kUninstallSucceeded[];  // "卸载成功"
extern const wchar_t kUninstallFailed[];     // "卸载失败"
extern const wchar_t kDeleteFailed[];        // "操作失败。"
extern const wchar_t kDeleteException[];     // "操作异常"

// The folder of the running setup program, ending with a backslash; the
// library's files are read from its subfolders. "" if it cannot be found.
std::wstring setup_folder();

// Copies the headers into root + include_dir, the x86 libraries into
// root + lib_dir and, when lib64_dir is set, the x64 libraries into
// root + lib64_dir, in that order, each pair ANSI variant first. Returns ""
// on success, "安装失败" at the first failed copy (earlier copies stay) or
// when the record has no root to install into.
std::wstring install_vc(const PlatformPage& page, int32_t env_index);

// Deletes the files install_vc placed, in the same order. Returns "卸载成功"
// when every deletion succeeded, "卸载失败" at the first failure (a file
// already gone counts as one; later files stay), when there was nothing to
// delete, or when the record has no root.
std::wstring uninstall_vc(const PlatformPage& page, int32_t env_index);

// For 2017 and 2019: removes copies of the library's files from the default
// toolset folder (VC\Tools\MSVC\<version in
// VC\Auxiliary\Build\Microsoft.VCToolsVersion.default.txt>\). Silent; run
// first by install_vc and uninstall_vc.
void remove_legacy_toolset_copies(const PlatformPage& page, int32_t env_index);

// CopyFileW(source, target), overwriting; no folder is created. "" on
// success, "安装失败" when the copy failed, "安装异常" on an exception.
std::wstring copy_install_file(const std::wstring& source, const std::wstring& target);

// Deletes `path` if it exists. "" when it was absent or is deleted,
// "操作失败。" when the deletion failed, "操作异常" on an exception.
std::wstring delete_if_exists(const std::wstring& path);
