// The MinGW record that an environment index names, or null when the index is
// outside the catalogue (or the records are not made yet).
#pragma once

#include <cstdint>

#include "catalogue/platform_page.h"

inline MingwEnv* mingw_env_at(const PlatformPage& page, int32_t env_index) {
  if (env_index < 0 || static_cast<size_t>(env_index) >= page.mingw_envs.size()) return nullptr;
  return page.mingw_envs[static_cast<size_t>(env_index)].get();
}
