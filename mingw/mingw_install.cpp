// MinGW install and uninstall: headers into root + include_dir, the x86 and
// x64 static libraries of the chosen build into root + lib32_dir and
// root + lib64_dir. A failing step ends the operation; nothing is rolled back.
#include "mingw/mingw_install.h"

#include <windows.h>

#include "catalogue/platform_page.h"
#include "vc/vc_install.h"

namespace {

const wchar_t* const kHeaderNames[] = {L"pivro.h", L"graphics.h"};
const wchar_t* const kLibraryNames[] = {L"libpivro.a", L"libpivrow.a"};

// The texts name the step that failed, not the file ("inlcude" as shipped).
const wchar_t kHeadersFailed[] = L"安装失败_inlcude";
const wchar_t kLib32Failed[] = L"安装失败_lib32";
const wchar_t kLib64Failed[] = L"安装失败_lib64";

// Copies both files of a pair; both are tried, and the texts are collected.
void copy_pair(const std::wstring& source_folder, const std::wstring& target_folder,
               const wchar_t* const (&names)[2], std::wstring& collected) {
  for (const wchar_t* name : names)
    collected += copy_install_file(source_folder + name, target_folder + name);
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
  if (env.root.empty()) return kHeadersFailed;
  const std::wstring build = setup_folder + env.flavour_dir;
  std::wstring collected;
  copy_pair(setup_folder + L"include\\", env.root + env.include_dir, kHeaderNames, collected);
  if (!collected.empty()) return kHeadersFailed;
  if (!env.lib32_dir.empty()) {
    copy_pair(build + L"\\x86\\", env.root + env.lib32_dir, kLibraryNames, collected);
    if (!collected.empty()) return kLib32Failed;
  }
  if (!env.lib64_dir.empty()) {
    copy_pair(build + L"\\x64\\", env.root + env.lib64_dir, kLibraryNames, collected);
    if (!collected.empty()) return kLib64Failed;
  }
  return collected;
}

std::wstring uninstall_mingw_files(const MingwEnv& env) {
  // Without a root every path would be relative to the current folder.
  if (env.root.empty()) return kUninstallFailed;
  bool deleted_any = false;
  if (!delete_pair(env.root + env.include_dir, kHeaderNames, deleted_any)) return kUninstallFailed;
  if (!env.lib32_dir.empty() && !delete_pair(env.root + env.lib32_dir, kLibraryNames, deleted_any))
    return kUninstallFailed;
  if (!env.lib64_dir.empty() && !delete_pair(env.root + env.lib64_dir, kLibraryNames, deleted_any))
    return kUninstallFailed;
  return deleted_any ? kUninstallSucceeded : kUninstallFailed;
}

std::wstring install_mingw(const PlatformPage& page, int32_t env_index) {
  const MingwEnv* env = mingw_env_at(page, env_index);
  if (env == nullptr) return kHeadersFailed;
  const std::wstring source = setup_folder();
  if (source.empty()) return kHeadersFailed;
  return install_mingw_files(source, *env);
}

std::wstring uninstall_mingw(const PlatformPage& page, int32_t env_index) {
  const MingwEnv* env = mingw_env_at(page, env_index);
  if (env == nullptr) return kUninstallFailed;
  return uninstall_mingw_files(*env);
}
