// The catalogue build: the detection pass that fills page 2's list.
#include <io.h>

#include <initializer_list>
#include <optional>

#include "catalogue/platform_page.h"
#include "desktop/docs_shortcut.h"
#include "mingw/mingw_locators.h"
#include "vc/registry_probes.h"
#include "vc/vc_detection.h"

namespace {

bool exists_on_disk(const std::wstring& path) {
  return _waccess(path.c_str(), 0) == 0;
}

// Fills `env` from the VC root the registry gave, checking each folder on
// disk. False when the headers or the x86 libraries have no folder; the
// record is then left without a root. A missing x64 folder only drops the
// x64 libraries.
bool settle_vc_folders(VcEnv& env, const std::wstring& root) {
  env.root = root;
  env.include_dir = L"include\\";
  if (!exists_on_disk(env.root + env.include_dir)) {
    env.root.clear();
    env.include_dir.clear();
    return false;
  }
  env.lib_dir = vc_lib_subdir(env.version);
  if (!exists_on_disk(env.root + env.lib_dir)) {
    env.root.clear();
    env.include_dir.clear();
    env.lib_dir.clear();
    return false;
  }
  env.lib64_dir = vc_lib64_subdir(env.version);
  if (!exists_on_disk(env.root + env.lib64_dir)) env.lib64_dir.clear();
  return true;
}

}  // namespace

void PlatformPage::build_catalogue() {
  create_records();
  rows.clear();
  found_rows.clear();
  missing_rows.clear();

  const std::optional<std::wstring> desktop = desktop_folder();
  rows.push_back(new_row(kDocsRowLabel, std::wstring(L"在线文档 ") + kDocsUrl,
                         L"桌面路径 " + desktop.value_or(std::wstring()), -1, true, false));

  // Read once: every locator below sees the same answer.
  const bool is_64bit = is_64bit_windows();

  for (int32_t position = 0; position < kVcEnvCount; ++position) {
    VcEnv& env = *vc_envs[position];
    const std::wstring root = detect_vc_root(env.version, is_64bit);
    if (root.empty() || !settle_vc_folders(env, root)) {
      missing_rows.push_back(new_row(env.label, L"", L"", position, false, false));
      continue;
    }
    found_rows.push_back(new_row(env.label, vc_header_text(env), vc_lib_text(env), position, true, false));
  }

  // Each call adds the kind's row to found_rows or missing_rows itself.
  for (const int32_t kind : {kMingwDevCpp, kMingwCLion, kMingwCodeBlocks})
    locate_mingw(*this, L"", kind, nullptr, is_64bit);

  rows.insert(rows.end(), found_rows.begin(), found_rows.end());
  rows.insert(rows.end(), missing_rows.begin(), missing_rows.end());
  rows.push_back(new_row(mingw_envs[kMingwOther]->label, L"", L"", kMingwOther, false, true));
}
