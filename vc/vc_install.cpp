// Visual C++ install and uninstall, and the file operations with result texts.
#include "vc/vc_install.h"

#include <io.h>
#include <share.h>
#include <windows.h>

#include <cstdio>
#include <exception>
#include <vector>

#include "app/text_convert.h"
#include "app/win_handles.h"

const std::array<InstallFile, kInstallFileCount> install_files = {{
    {L"include\\", L"pivro.h"},
    {L"include\\", L"graphics.h"},
    {L"lib_vc6\\", L"Pivroa.lib"},
    {L"lib_vc6\\", L"Pivrow.lib"},
    {L"lib_vc2008\\x86\\", L"Pivroa.lib"},
    {L"lib_vc2008\\x86\\", L"Pivrow.lib"},
    {L"lib_vc2008\\x64\\", L"Pivroa.lib"},
    {L"lib_vc2008\\x64\\", L"Pivrow.lib"},
    {L"lib_vc2015\\x86\\", L"Pivroa.lib"},
    {L"lib_vc2015\\x86\\", L"Pivrow.lib"},
    {L"lib_vc2015\\x64\\", L"Pivroa.lib"},
    {L"lib_vc2015\\x64\\", L"Pivrow.lib"},
}};

const wchar_t kInstallFailed[] = L"安装失败";
const wchar_t kInstallException[] = L"安装异常";
const wchar_t kUninstallSucceeded[] = L"卸载成功";
const wchar_t kUninstallFailed[] = L"卸载失败";
const wchar_t kDeleteFailed[] = L"操作失败。";
const wchar_t kDeleteException[] = L"操作异常";

namespace {

// The two file table entries of a pair; an index outside the table gives none.
std::vector<const InstallFile*> files_of(const FilePair* pair) {
  std::vector<const InstallFile*> files;
  if (pair == nullptr) return files;
  for (int32_t i : {pair->first, pair->second})
    if (i >= 0 && i < kInstallFileCount) files.push_back(&install_files[i]);
  return files;
}

// Where each pair of an environment goes: headers, x86 and x64 libraries,
// in the fixed order of every install and removal.
struct Placement {
  const FilePair* files;
  const std::wstring& dir;  // relative to the VC root
  bool is_x64;
};
std::array<Placement, 3> placements_of(const VcEnv& env) {
  return {{{env.header_files, env.include_dir, false},
           {env.lib_files, env.lib_dir, false},
           {env.lib64_files, env.lib64_dir, true}}};
}

// The two versions whose default toolset folder may still hold copies of the
// library from earlier setups.
bool keeps_toolset_copies(int32_t version) {
  return version == 2017 || version == 2019;
}

// The first line of a text file, without its line end (text mode drops the
// carriage return) and without a UTF-8 byte order mark; "" if unreadable.
// A line longer than any folder name is cut short: it names no toolset anyway.
std::string first_line(const std::wstring& path) {
  FILE* file = _wfsopen(path.c_str(), L"rt", _SH_DENYNO);
  if (file == nullptr) return std::string();
  std::string line;
  for (int c = std::fgetc(file); c != EOF && c != '\n' && line.size() < MAX_PATH; c = std::fgetc(file))
    line += static_cast<char>(c);
  std::fclose(file);
  if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  return line;
}

// A toolset folder name such as 14.29.30133: one plain path element, so
// that an odd file can only ever point inside VC\Tools\MSVC.
bool is_plain_folder_name(const std::wstring& name) {
  return !name.empty() && name != L"." && name != L".." &&
         name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
}

}  // namespace

std::wstring setup_folder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    // A full buffer means the path was cut short: try again with more room.
    if (n < buffer.size()) {
      const std::wstring path(buffer.data(), n);
      const size_t slash = path.find_last_of(L'\\');
      return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    }
    if (buffer.size() >= 32768) return std::wstring();
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring install_vc(const PlatformPage& page, int32_t env_index) {
  const VcEnv* env = vc_env_at(page, env_index);
  // Without a root every target would be relative to the current directory.
  if (env == nullptr || env->root.empty()) return kInstallFailed;
  if (keeps_toolset_copies(env->version)) remove_legacy_toolset_copies(page, env_index);
  const std::wstring source = setup_folder();
  if (source.empty()) return kInstallFailed;

  for (const Placement& step : placements_of(*env)) {
    // Without an x64 library folder the version takes x86 libraries only.
    if (step.is_x64 && step.dir.empty()) continue;
    for (const InstallFile* file : files_of(step.files)) {
      const std::wstring from = source + file->source_dir + file->file_name;
      const std::wstring to = env->root + step.dir + file->file_name;
      if (!copy_install_file(from, to).empty()) return kInstallFailed;
    }
  }
  return std::wstring();
}

std::wstring uninstall_vc(const PlatformPage& page, int32_t env_index) {
  const VcEnv* env = vc_env_at(page, env_index);
  // Without a root every deletion would be relative to the current directory.
  if (env == nullptr || env->root.empty()) return kUninstallFailed;
  if (keeps_toolset_copies(env->version)) remove_legacy_toolset_copies(page, env_index);

  bool deleted = false;
  for (const Placement& step : placements_of(*env)) {
    if (step.dir.empty()) continue;
    for (const InstallFile* file : files_of(step.files)) {
      // Not guarded: a file that is already gone ends the uninstall.
      deleted = DeleteFileW((env->root + step.dir + file->file_name).c_str()) != 0;
      if (!deleted) return kUninstallFailed;
    }
  }
  return deleted ? kUninstallSucceeded : kUninstallFailed;
}

void remove_legacy_toolset_copies(const PlatformPage& page, int32_t env_index) {
  const VcEnv* env = vc_env_at(page, env_index);
  if (env == nullptr) return;
  const std::wstring suffix = L"\\Auxiliary\\VS\\";
  const std::wstring& root = env->root;
  if (root.size() < suffix.size() || root.compare(root.size() - suffix.size(), suffix.size(), suffix) != 0)
    return;
  const std::wstring vc = root.substr(0, root.size() - (suffix.size() - 1));  // keeps VC's backslash
  const std::wstring default_file = vc + L"Auxiliary\\Build\\Microsoft.VCToolsVersion.default.txt";
  if (_waccess(default_file.c_str(), 0) != 0) return;
  const std::wstring toolset = utf8_to_utf16(first_line(default_file).c_str());
  if (!is_plain_folder_name(toolset)) return;
  const std::wstring base = vc + L"Tools\\MSVC\\" + toolset + L"\\";

  for (const Placement& step : placements_of(*env)) {
    if (step.dir.empty()) continue;
    // Whatever happens here is not reported: these are leftovers only.
    for (const InstallFile* file : files_of(step.files)) delete_if_exists(base + step.dir + file->file_name);
  }
}

std::wstring copy_install_file(const std::wstring& source, const std::wstring& target) {
  try {
    return CopyFileW(source.c_str(), target.c_str(), FALSE) ? std::wstring() : std::wstring(kInstallFailed);
  } catch (const std::exception&) {
    return kInstallException;
  }
}

std::wstring delete_if_exists(const std::wstring& path) {
  try {
    WIN32_FIND_DATAW data;
    if (!unique_find(FindFirstFileW(path.c_str(), &data))) return std::wstring();
    return DeleteFileW(path.c_str()) ? std::wstring() : std::wstring(kDeleteFailed);
  } catch (const std::exception&) {
    return kDeleteException;
  }
}
