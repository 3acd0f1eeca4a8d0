// MinGW install and uninstall: headers into root + include_dir, the x86 and
// x64 static libraries of the chosen build into root + lib32_dir and
// root + lib64_dir. A failing step ends the operation; nothing is rolled back.
#include "mingw/mingw_install.h"

#include <windows.h>

#include <exception>

#include "catalogue/platform_page.h"
#include "mingw/mingw_env_lookup.h"

namespace {

const wchar_t* const kHeaderNames[] = {L"pivro.h", L"graphics.h"};
const wchar_t* const kLibraryNames[] = {L"libpivro.a", L"libpivrow.a"};

// The folder of the running setup program, with its backslash.
std::wstring setup_folder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring program(path, length < MAX_PATH ? length : MAX_PATH);
  const size_t last = program.find_last_of(L'\\');
  return last == std::wstring::npos ? std::wstring() : program.substr(0, last + 1);
}

// One file copy with its result text: "" when copied (an existing target is
// overwritten), "安装失败" when the copy failed, "安装异常" on an exception.
std::wstring copy_with_text(const std::wstring& source_folder, const std::wstring& target_folder,
                            const wchar_t* name) {
  try {
    const std::wstring source = source_folder + name, target = target_folder + name;
    return CopyFileW(source.c_str(), target.c_str(), FALSE) ? L"" : L"安装失败";
  } catch (const std::exception&) {
    return L"安装异常";
  }
}

// Copies both files of a pair; both are tried, and the texts are collected.
void copy_pair(const std::wstring& source_folder, const std::wstring& target_folder,
               const wchar_t* const (&names)[2], std::wstring& collected) {
  for (const wchar_t* name : names) collected += copy_with_text(source_folder, target_folder, name);
}

// Deletes both files of a pair; false at the first one that cannot be deleted.
bool delete_pair(const std::wstring& folder, const wchar_t* const (&names)[2], bool& deleted_any) {
  for (const wchar_t* name : names) {
    if (!DeleteFileW((folder + name).c_str())) return false;
    deleted_any = true;
  }
  return true;
}

}  // namespace

std::wstring install_mingw_files(const std::wstring& setup_folder, const MingwEnv& env) {
  // Without a root every target would be relative to the current folder.
  if (env.root.empty()) return L"安装失败_inlcude";
  const std::wstring build = setup_folder + env.flavour_dir;
  std::wstring collected;
  {
    copy_pair(setup_folder + L"include\\", env.root + env.include_dir, kHeaderNames, collected);
    if (!collected.empty()) return L"安装失败_inlcude";
  }
  if (!env.lib32_dir.empty()) {
    copy_pair(build + L"\\x86\\", env.root + env.lib32_dir, kLibraryNames, collected);
    if (!collected.empty()) return L"安装失败_lib32";
  }
  if (!env.lib64_dir.empty()) {
    copy_pair(build + L"\\x64\\", env.root + env.lib64_dir, kLibraryNames, collected);
    if (!collected.empty()) return L"安装失败_lib64";
  }
  return collected;
}

std::wstring uninstall_mingw_files(const MingwEnv& env) {
  // Without a root there is nothing of ours to find, and no path outside the
  // current folder to delete from.
  if (env.root.empty()) return L"卸载失败";
  bool deleted_any = false;
  if (!delete_pair(env.root + env.include_dir, kHeaderNames, deleted_any)) return L"卸载失败";
  if (!env.lib32_dir.empty() && !delete_pair(env.root + env.lib32_dir, kLibraryNames, deleted_any))
    return L"卸载失败";
  if (!env.lib64_dir.empty() && !delete_pair(env.root + env.lib64_dir, kLibraryNames, deleted_any))
    return L"卸载失败";
  return deleted_any ? L"卸载成功" : L"卸载失败";
}

std::wstring install_mingw(const PlatformPage& page, int32_t env_index) {
  const MingwEnv* env = mingw_env_at(page, env_index);
  if (env == nullptr) return L"安装失败_inlcude";
  return install_mingw_files(setup_folder(), *env);
}

std::wstring uninstall_mingw(const PlatformPage& page, int32_t env_index) {
  const MingwEnv* env = mingw_env_at(page, env_index);
  if (env == nullptr) return L"卸载失败";
  return uninstall_mingw_files(*env);
}
