// The catalogue build: the detection pass that fills page 2's list.
#include <initializer_list>
#include <optional>

#include "catalogue/platform_page.h"
#include "desktop/docs_shortcut.h"
#include "mingw/mingw_locators.h"
#include "vc/registry_probes.h"
#include "vc/vc_detection.h"

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
    if (!root.empty()) {
      // The registry names the root; the subfolders follow from the version.
      // Without headers or x86 libraries on disk the record loses its root,
      // and a missing x64 folder drops only the x64 libraries.
      env.root = root;
      env.include_dir = L"include\\";
      env.lib_dir = vc_lib_subdir(env.version);
      env.lib64_dir = vc_lib64_subdir(env.version);
      verify_vc_dirs(env);
    }
    if (env.root.empty()) {
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
