// Construction of page 2 and of its catalogue records.
#include "catalogue/platform_page.h"

#include <algorithm>

PlatformPage::PlatformPage(nk_context* ctx_, int width_, int height_)
    : ctx(ctx_), width(width_), height(height_) {
  std::copy(std::begin(kFilePairs), std::end(kFilePairs), file_pairs.begin());
}

void PlatformPage::create_records() {
  vc_envs.clear();
  for (const VcCatalogueEntry& entry : kVcCatalogue) {
    auto env = std::make_unique<VcEnv>();
    env->label = entry.label;
    env->version = entry.version;
    env->header_files = &file_pairs[kPairHeaders];
    env->lib_files = &file_pairs[entry.lib_pair];
    env->lib64_files = entry.lib64_pair < 0 ? nullptr : &file_pairs[entry.lib64_pair];
    vc_envs.push_back(std::move(env));
  }
  mingw_envs.clear();
  for (int32_t index = 0; index < kMingwEnvCount; ++index) {
    auto env = std::make_unique<MingwEnv>();
    env->label = kMingwLabels[index];
    env->index = index;
    mingw_envs.push_back(std::move(env));
  }
}

PlatformRow* PlatformPage::new_row(std::wstring label, std::wstring header_text, std::wstring lib_text,
                                   int32_t env_index, bool usable, bool is_mingw) {
  row_store_.push_back(std::make_unique<PlatformRow>(std::move(label), std::move(header_text),
                                                     std::move(lib_text), env_index, usable, is_mingw));
  return row_store_.back().get();
}
