// Runs from a folder of its own with the sample payload beside it, as the
// setup program lies beside its library files.
#include <gtest/gtest.h>

#include <cstring>

#include "catalogue/platform_page.h"
#include "mingw/mingw_install.h"
#include "tests/support/scratch_tree.h"

TEST(MingwInstallPage, CopiesTheChosenBuildFromBesideTheProgram) {
  ScratchTree tree;
  PlatformPage page(nullptr, 490, 328);
  page.create_records();
  MingwEnv& env = *page.mingw_envs[kMingwCodeBlocks];
  env.root = tree.folder(L"MinGW\\x86_64-w64-mingw32");
  tree.folder(L"MinGW\\x86_64-w64-mingw32\\include");
  tree.folder(L"MinGW\\x86_64-w64-mingw32\\lib");
  env.lib64_dir = L"lib\\";
  env.flavour_dir = L"lib_mingw_ucrt";

  ASSERT_EQ(install_mingw(page, kMingwCodeBlocks), L"");
  EXPECT_NE(read_file_bytes(env.root + L"include\\graphics.h").find("include/graphics.h"), std::string::npos);
  for (const char* library : {"libpivro.a", "libpivrow.a"}) {
    const std::string bytes =
        read_file_bytes(env.root + L"lib\\" + std::wstring(library, library + strlen(library)));
    EXPECT_NE(bytes.find(std::string("lib_mingw_ucrt/x64/") + library), std::string::npos) << bytes;
  }
  EXPECT_EQ(uninstall_mingw(page, kMingwCodeBlocks), L"卸载成功");
  EXPECT_FALSE(path_exists(env.root + L"lib\\libpivro.a"));

  // An index outside the catalogue names no environment.
  EXPECT_EQ(install_mingw(page, 5), L"安装失败_inlcude");
  EXPECT_EQ(uninstall_mingw(page, -1), L"卸载失败");
}
