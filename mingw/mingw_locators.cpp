// MinGW environment locators: the installers' registry entries, the one-level
// folder walk that tells the MinGW folder (which holds bin\gcc) from the
// target folder (which takes the headers and libraries), and the climb
// through the parents of a folder the user picked.
#include "mingw/mingw_locators.h"

#include <windows.h>

#include <filesystem>

#include "catalogue/platform_page.h"
#include "mingw/folder_search.h"
#include "mingw/toolchain_probe.h"
#include "vc/file_version.h"
#include "vc/registry_probes.h"

namespace {

std::wstring devcpp_folder_from_registry(bool is_64bit) {
  // The uninstaller lies in the install folder.
  const std::wstring uninstaller = find_uninstall_value(is_64bit, L"^.*?dev-c.*?$", L"UninstallString");
  const size_t last = uninstaller.find_last_of(L'\\');
  return last == std::wstring::npos ? std::wstring() : uninstaller.substr(0, last + 1);
}

std::wstring codeblocks_folder_from_registry() {
  // The installer records its folder per user; the first hive that has one wins.
  for (const std::wstring& hive : reg_list_subkeys(HKEY_USERS, nullptr)) {
    const std::wstring path = hive + L"\\SoftWare\\CodeBlocks";
    std::wstring folder = reg_read_string(HKEY_USERS, path.c_str(), L"Path");
    if (!folder.empty()) return folder;
  }
  return std::wstring();
}

std::wstring clion_folder_from_registry(bool is_64bit) {
  // The bundled toolchain lives in bin\mingw. An entry without a location
  // gives nothing, not a folder "\bin" on the current drive.
  const std::wstring location = find_uninstall_value(is_64bit, L"^.*?clion.*?$", L"InstallLocation");
  if (location.empty()) return location;
  return with_backslash(location) + L"bin";
}

enum class TargetKind { kNone, kMingw64, kMingw32, kClassic };

struct Target {
  TargetKind kind = TargetKind::kNone;
  std::wstring folder;        // takes the headers and libraries
  std::wstring mingw_folder;  // holds bin\gcc
  int bits = 0;
};

bool path_contains(const std::wstring& path, const wchar_t* text) {
  return path.find(text) != std::wstring::npos;
}

// Which target folder the MinGW folder offers, and with which library subfolders.
Target find_target(const std::wstring& start_folder, std::wstring mingw_folder, int32_t env_index,
                   MingwEnv& env) {
  std::wstring candidate64, candidate32, classic;
  // The folder that matched "mingw" may itself be a target folder (the
  // x86_64-w64-mingw32 folder of C:\mingw64\); the toolchain is then the
  // start folder.
  if (path_contains(mingw_folder, L"x86_64-w64-mingw32")) {
    candidate64 = mingw_folder;
    mingw_folder = start_folder;
  } else if (path_contains(mingw_folder, L"i686-w64-mingw32")) {
    candidate32 = mingw_folder;
    mingw_folder = start_folder;
  } else if (path_contains(mingw_folder, L"mingw32")) {
    classic = mingw_folder;
    mingw_folder = start_folder;
  } else {
    candidate64 = find_subfolder_named(mingw_folder, L"x86_64-w64-mingw32");
    candidate32 = find_subfolder_named(mingw_folder, L"i686-w64-mingw32");
    classic = find_subfolder_named(mingw_folder, L"mingw32");
  }

  // Code::Blocks takes no 32-bit library folder from the MinGW-w64 layouts.
  const bool lib32_unchanged = env_index == kMingwCodeBlocks;
  Target target;
  if (!candidate64.empty()) {
    target = {TargetKind::kMingw64, candidate64, mingw_folder, 64};
    env.lib64_dir = L"lib\\";
    if (!lib32_unchanged) env.lib32_dir = L"lib32\\";
  } else if (!candidate32.empty()) {
    target = {TargetKind::kMingw32, candidate32, mingw_folder, 32};
    env.lib64_dir = L"lib64\\";
    if (!lib32_unchanged) env.lib32_dir = L"lib\\";
  } else if (!classic.empty()) {
    // A classic MinGW keeps its headers in mingw32\include when it has one,
    // else in the MinGW folder itself.
    const bool has_include = !find_subfolder_named(classic, L"include").empty();
    target = {TargetKind::kClassic, has_include ? classic : mingw_folder, mingw_folder, 32};
    env.lib64_dir.clear();
    env.lib32_dir = L"lib\\";
  }
  return target;
}

std::wstring library_text(const Target& target, const MingwEnv& env) {
  if (target.kind == TargetKind::kClassic) return L"库文件路径 " + target.folder + env.lib32_dir;
  std::wstring text = L"库文件路径";
  if (!env.lib32_dir.empty()) text += L" " + target.folder + env.lib32_dir;
  if (!env.lib64_dir.empty()) text += L" " + target.folder + env.lib64_dir;
  return text;
}

// The drive root of a path ("C:\", "\\server\share\"); the climb stops below it.
std::wstring root_of(const std::wstring& path) {
  return std::filesystem::path(path).root_path().wstring();
}

}  // namespace

std::wstring find_mingw_in_registry(int32_t env_index, bool is_64bit) {
  std::wstring folder;
  switch (env_index) {
    case kMingwDevCpp:
      folder = devcpp_folder_from_registry(is_64bit);
      break;
    case kMingwCodeBlocks:
      folder = codeblocks_folder_from_registry();
      break;
    case kMingwCLion:
      folder = clion_folder_from_registry(is_64bit);
      break;
    default:
      return std::wstring();  // VS Code and other MinGW have no registry source
  }
  if (folder.empty() || !is_existing_folder(folder)) return std::wstring();
  return with_backslash(folder);
}

int32_t read_devcpp_version(int32_t env_index, const std::wstring& folder) {
  if ((env_index != kMingwDevCpp && env_index != kMingwOther) || folder.empty()) return 0;
  const std::wstring program = find_entry_matching(folder, L"^.*?devcpp.*?\\.exe$");
  if (program.empty()) return 0;
  return static_cast<int32_t>(file_version_number(program));
}

void verify_mingw_subfolders(const std::wstring& target, MingwEnv& env) {
  for (std::wstring* subfolder : {&env.include_dir, &env.lib64_dir, &env.lib32_dir})
    if (!entry_exists(target + *subfolder)) subfolder->clear();
}

int32_t probe_mingw_folder(PlatformPage& page, const std::wstring& folder, int32_t env_index,
                           PlatformRow* row, int32_t devcpp_version) {
  MingwEnv* env = mingw_env_at(page, env_index);
  if (folder.empty() || env == nullptr) return 0;
  const std::wstring start = with_backslash(folder);

  static const wchar_t kMingwName[] = L"^.*?mingw.*?$";
  std::wstring mingw_folder = find_subfolder_matching(start, kMingwName);
  const std::wstring bin = find_subfolder_named(start, L"bin");
  // An IDE may keep its toolchain in bin\mingw\.
  if (mingw_folder.empty() && !bin.empty()) mingw_folder = find_subfolder_matching(bin, kMingwName);
  if (mingw_folder.empty()) return 0;

  const Target target = find_target(start, mingw_folder, env_index, *env);
  if (target.kind == TargetKind::kNone) return 0;
  verify_mingw_subfolders(target.folder, *env);

  std::wstring header_text = L"头文件路径 " + target.folder + env->include_dir;
  std::wstring lib_text = library_text(target, *env);
  if (row != nullptr) {
    row->header_text = std::move(header_text);
    row->lib_text = std::move(lib_text);
  } else {
    row = page.new_row(env->label, std::move(header_text), std::move(lib_text), env_index, true, true);
    page.found_rows.push_back(row);
  }
  env->root = target.folder;

  const ToolchainInfo info = probe_toolchain(target.mingw_folder);
  return choose_library_flavour(page, *row, target.bits, info, devcpp_version);
}

int32_t locate_mingw(PlatformPage& page, const std::wstring& start_folder, int32_t env_index,
                     PlatformRow* row, bool is_64bit) {
  if (start_folder.empty()) {
    // First frame: the installers' registry entries are the only source.
    const std::wstring folder = find_mingw_in_registry(env_index, is_64bit);
    const int32_t result =
        probe_mingw_folder(page, folder, env_index, row, read_devcpp_version(env_index, folder));
    const MingwEnv* env = mingw_env_at(page, env_index);
    if (result == 0 && env != nullptr)
      page.missing_rows.push_back(page.new_row(env->label, L"", L"", env_index, false, true));
    return result;
  }

  // A picked folder, then its parents; the drive root is searched only when
  // it was picked itself.
  const std::wstring root = root_of(start_folder);
  std::wstring folder = start_folder;
  for (;;) {
    const int32_t result =
        probe_mingw_folder(page, folder, env_index, row, read_devcpp_version(env_index, folder));
    if (result != 0) return result;
    std::wstring parent = parent_folder(folder);
    // An empty or unchanged parent (a relative path) ends the climb too: an
    // empty folder would turn into a registry search.
    if (parent.empty() || parent == folder || _wcsicmp(parent.c_str(), root.c_str()) == 0) return 0;
    folder = std::move(parent);
  }
}
