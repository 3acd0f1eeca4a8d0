// Copies the library's headers and static libraries into a located MinGW
// environment, or deletes them there. The sources lie beside the setup
// program: include\ and the build folder chosen by the toolchain probe.
#pragma once

#include <cstdint>
#include <string>

class PlatformPage;
struct MingwEnv;

// "" on success, else "安装失败_inlcude", "安装失败_lib32" or "安装失败_lib64"
// for the step that failed; earlier steps stay done.
std::wstring install_mingw(const PlatformPage& page, int32_t env_index);
// "卸载成功", or "卸载失败" at the first deletion that fails or when there was
// nothing to delete.
std::wstring uninstall_mingw(const PlatformPage& page, int32_t env_index);

// install_mingw with the sources under `setup_folder` (ending with a backslash).
std::wstring install_mingw_files(const std::wstring& setup_folder, const MingwEnv& env);
std::wstring uninstall_mingw_files(const MingwEnv& env);
