// Visual C++ detection from the registry and from a picked folder.
#include "vc/vc_detection.h"

#include <windows.h>

#include <regex>

#include "mingw/folder_search.h"
#include "vc/registry_probes.h"

namespace {

const wchar_t kVc6DirectoriesKey[] =
    L"Software\\Microsoft\\DevStudio\\6.0\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories";
const wchar_t kSxsVc7Key[] = L"Software\\Microsoft\\VisualStudio\\SxS\\VC7";
const wchar_t kSxsVc7Key64[] = L"Software\\WOW6432Node\\Microsoft\\VisualStudio\\SxS\\VC7";

// "Library Dirs" is a ";"-list; the Visual Studio folder is what stands in
// front of the first entry ending in VC98\MFC\LIB, in any case.
const wchar_t kVc98MfcLibPattern[] = L"[^;]+\\\\(?=vc98\\\\mfc\\\\lib$|vc98\\\\mfc\\\\lib;)";

// Display names of the 2017 and later installers; a second instance carries a
// parenthesised suffix such as "(2)", which 2017 writes without a blank.
const wchar_t* uninstall_pattern(int32_t version) {
  switch (version) {
    case 2017:
      return L"^Visual Studio (Community|Professional|Enterprise) 2017(\\([^\\)]+\\))?$";
    case 2019:
      return L"^Visual Studio (Community|Professional|Enterprise) 2019( \\([^\\)]+\\))?$";
    case 2022:
      return L"^Visual Studio (Community|Professional|Enterprise) 2022( \\([^\\)]+\\))?$";
    case 2026:
      return L"^Visual Studio (Community|Professional|Enterprise) 2026( \\([^\\)]+\\))?$";
    default:
      return nullptr;
  }
}

// The SxS VC7 value that names the VC folder of 2008-2015.
const wchar_t* sxs_value_name(int32_t version) {
  switch (version) {
    case 2008:
      return L"9.0";
    case 2010:
      return L"10.0";
    case 2012:
      return L"11.0";
    case 2013:
      return L"12.0";
    case 2015:
      return L"14.0";
    default:
      return nullptr;
  }
}

// A folder under an empty root would be looked up relative to the current
// directory, which says nothing about the installation: it counts as missing.
bool exists_under(const std::wstring& root, const std::wstring& subfolder) {
  return !root.empty() && entry_exists(root + subfolder);
}

std::wstring vc6_root_from_library_dirs(const std::wstring& library_dirs) {
  try {
    const std::wregex re(kVc98MfcLibPattern, std::regex::ECMAScript | std::regex::icase);
    std::wsmatch match;
    if (std::regex_search(library_dirs, match, re)) return match.str() + L"VC98\\";
  } catch (const std::regex_error&) {
    // Only a regex engine out of resources on a huge value gets here: treat
    // the value as holding no VC98 entry.
    return std::wstring();
  }
  return library_dirs;  // may still name the folder itself, a list of one entry
}

// Points `env` and `row` at a found installation: the VC root with its
// subfolders, and the row's two detail lines.
void take_installation(VcEnv& env, PlatformRow& row, const std::wstring& root, const wchar_t* lib_dir,
                       const wchar_t* lib64_dir) {
  env.root = root;
  env.include_dir = L"include\\";
  env.lib_dir = lib_dir;
  env.lib64_dir = lib64_dir;
  row.header_text = vc_header_text(env);
  row.lib_text = vc_lib_text(env);
  // The row texts keep the full layout even when a folder turns out missing.
  verify_vc_dirs(env);
}

// One level of the folder search: `folder` ends with a backslash.
int32_t resolve_at_level(PlatformPage& page, VcEnv& env, const std::wstring& folder, PlatformRow& row) {
  const int32_t wanted = env.version;
  std::wstring vc = find_subfolder_named(folder, L"VC");
  if (!vc.empty()) {
    const int32_t v = static_cast<int32_t>(file_version_number(vc + L"bin\\cl.exe"));
    if (v != 0) {
      if (v != wanted) return kVcWrongVersion;
      take_installation(env, row, vc, L"lib\\", L"lib\\amd64\\");
      return v;
    }
    // A VC folder without bin\cl.exe is the 2017+ layout or nothing; the
    // VC98 and edition folders of this level are not looked at.
    return resolve_vs2017_layout(page, vc, row);
  }
  const std::wstring vc98 = find_subfolder_named(folder, L"VC98");
  if (!vc98.empty()) {
    const int32_t v = static_cast<int32_t>(file_version_number(vc98 + L"bin\\cl.exe"));
    if (v != 0) {
      if (v != wanted) return kVcWrongVersion;
      take_installation(env, row, vc98, L"lib\\", L"");
      return v;
    }
  }
  for (const wchar_t* edition : {L"community\\vc\\", L"professional\\vc\\", L"enterprise\\vc\\"}) {
    const int32_t r = resolve_vs2017_layout(page, folder + edition, row);
    if (r != kVcNotFound) return r;
  }
  return kVcNotFound;
}

}  // namespace

std::wstring detect_vc_root(int32_t version, bool is_64bit) {
  std::wstring s;
  if (version == 6) {
    s = reg_read_string(HKEY_CURRENT_USER, kVc6DirectoriesKey, L"Library Dirs");
    if (!s.empty()) s = vc6_root_from_library_dirs(s);
  } else if (const wchar_t* value = sxs_value_name(version)) {
    s = reg_read_string(HKEY_LOCAL_MACHINE, is_64bit ? kSxsVc7Key64 : kSxsVc7Key, value);
  } else if (const wchar_t* pattern = uninstall_pattern(version)) {
    s = find_uninstall_value(is_64bit, pattern, L"InstallLocation");
    if (!s.empty()) s = with_backslash(s) + L"VC\\Auxiliary\\VS\\";
  } else {
    return std::wstring();
  }
  if (!s.empty() && !is_existing_folder(s)) s.clear();
  return with_backslash(s);
}

std::wstring vc_lib_subdir(int32_t version) {
  switch (version) {
    case 6:
      return L"Lib\\";
    case 2008:
    case 2010:
    case 2012:
    case 2013:
    case 2015:
      return L"lib\\";
    case 2017:
    case 2019:
    case 2022:
    case 2026:
      return L"lib\\x86\\";
    default:
      return std::wstring();
  }
}

std::wstring vc_lib64_subdir(int32_t version) {
  switch (version) {
    case 2008:
    case 2010:
    case 2012:
    case 2013:
    case 2015:
      return L"lib\\amd64\\";
    case 2017:
    case 2019:
    case 2022:
    case 2026:
      return L"lib\\x64\\";
    default:
      return std::wstring();
  }
}

int32_t resolve_vc_folder(PlatformPage& page, const std::wstring& folder, PlatformRow& row, bool walk_up) {
  VcEnv* env = vc_env_at(page, row.env_index);
  if (env == nullptr) return kVcNotFound;
  // The climb is a loop rather than a call per level, so a deep path cannot
  // exhaust the stack. An empty folder would search the current drive.
  std::wstring f = folder;
  while (!f.empty()) {
    const int32_t r = resolve_at_level(page, *env, with_backslash(f), row);
    if (r != kVcNotFound || !walk_up) return r;
    const std::wstring up = parent_folder(f);
    if (CompareStringOrdinal(up.c_str(), static_cast<int>(up.size()), f.c_str(), static_cast<int>(f.size()),
                             TRUE) == CSTR_EQUAL)
      break;
    f = up;
  }
  return kVcNotFound;
}

int32_t resolve_vs2017_layout(PlatformPage& page, const std::wstring& vc_folder, PlatformRow& row) {
  VcEnv* env = vc_env_at(page, row.env_index);
  if (env == nullptr) return kVcNotFound;
  // Several toolsets may sit side by side; the first one listed is taken.
  const std::wstring toolset = find_subfolder_matching(vc_folder + L"Tools\\MSVC\\", L"^\\d+\\.\\d+\\.\\d+$");
  if (toolset.empty()) return kVcNotFound;
  const int32_t v = static_cast<int32_t>(file_version_number(toolset + L"bin\\Hostx86\\x86\\cl.exe"));
  if (v == 0) return kVcNotFound;
  if (v != env->version) return kVcWrongVersion;
  take_installation(*env, row, vc_folder + L"Auxiliary\\VS\\", L"lib\\x86\\", L"lib\\x64\\");
  return v;
}

std::wstring vc_header_text(const VcEnv& env) {
  return L"头文件路径 " + env.root + env.include_dir;
}

std::wstring vc_lib_text(const VcEnv& env) {
  std::wstring text = L"库文件路径 " + env.root + env.lib_dir;
  if (!env.lib64_dir.empty()) text += L" " + env.root + env.lib64_dir;
  return text;
}

void verify_vc_dirs(VcEnv& env) {
  if (!exists_under(env.root, env.include_dir)) {
    env.root.clear();
    env.include_dir.clear();
  }
  if (!exists_under(env.root, env.lib_dir)) {
    env.root.clear();
    env.include_dir.clear();
    env.lib_dir.clear();
  }
  if (!exists_under(env.root, env.lib64_dir)) env.lib64_dir.clear();
}
