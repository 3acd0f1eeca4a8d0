#include <gtest/gtest.h>
#include <windows.h>

#include "catalogue/platform_page.h"
#include "mingw/mingw_install.h"
#include "mingw/mingw_locators.h"
#include "mingw/tests/mingw_layouts.h"
#include "tests/support/current_directory.h"
#include "tests/support/scratch_tree.h"

namespace {

const wchar_t* const kBuilds[] = {L"lib_mingw_492", L"lib_mingw_ucrt", L"lib_mingw_msvcrt"};
const wchar_t* const kArches[] = {L"x86", L"x64"};
const wchar_t* const kLibraries[] = {L"libpivro.a", L"libpivrow.a"};
const wchar_t* const kHeaders[] = {L"pivro.h", L"graphics.h"};

std::string narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(c);
  return out;
}

std::string payload(const wchar_t* build, const wchar_t* arch, const wchar_t* library) {
  return narrow(std::wstring(build) + L" " + arch + L" " + library);
}

// The placeholder payload beside a setup program: each file says what it is,
// so a test sees which build and architecture arrived where.
std::wstring lay_out_payload(ScratchTree& tree, const std::wstring& at) {
  for (const wchar_t* header : kHeaders) tree.file(at + L"include\\" + header, narrow(header));
  for (const wchar_t* build : kBuilds)
    for (const wchar_t* arch : kArches)
      for (const wchar_t* library : kLibraries)
        tree.file(at + build + L"\\" + arch + L"\\" + library, payload(build, arch, library));
  return tree.path(at);
}

// A page whose records are found by the locators in `tree`.
struct Located {
  Located() : page(nullptr, 490, 328) { page.create_records(); }
  int32_t locate(const std::wstring& folder, int32_t index) {
    PlatformRow* row = page.new_row(page.mingw_envs[index]->label, L"", L"", index, false, true);
    return locate_mingw(page, folder, index, row, false);
  }
  const MingwEnv& env(int32_t index) { return *page.mingw_envs[index]; }
  PlatformPage page;
};

size_t files_in(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW((folder + L"*").c_str(), &data);
  size_t count = 0;
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileW(h, &data));
  FindClose(h);
  return count;
}

}  // namespace

// Install and uninstall on the folders the locators found, for each layout.
TEST(MingwInstall, InstallsIntoTheFoldersFoundAndRemovesThem) {
  struct Case {
    const char* what;
    void (*lay_out)(ScratchTree&);
    std::wstring pick;
    int32_t index;
    std::wstring include;  // where the headers go, relative
    std::wstring lib32;    // where the x86 libraries go, relative; empty for none
    std::wstring lib64;
    const wchar_t* build;
    std::wstring untouched;  // a library folder that must stay empty
  } cases[] = {
      {"bi-arch mingw64", [](ScratchTree& t) { lay_out_mingw64(t, L"mingw64\\", accepted_report(), true); },
       L"mingw64\\", kMingwOther, L"mingw64\\x86_64-w64-mingw32\\include\\",
       L"mingw64\\x86_64-w64-mingw32\\lib32\\", L"mingw64\\x86_64-w64-mingw32\\lib\\", L"lib_mingw_msvcrt",
       L""},
      {"Code::Blocks gets the 64-bit libraries only",
       [](ScratchTree& t) {
         lay_out_codeblocks(t, L"CodeBlocks\\", accepted_report());
         t.folder(L"CodeBlocks\\MinGW\\x86_64-w64-mingw32\\lib32");
       },
       L"CodeBlocks\\", kMingwCodeBlocks, L"CodeBlocks\\MinGW\\x86_64-w64-mingw32\\include\\", L"",
       L"CodeBlocks\\MinGW\\x86_64-w64-mingw32\\lib\\", L"lib_mingw_msvcrt",
       L"CodeBlocks\\MinGW\\x86_64-w64-mingw32\\lib32\\"},
      {"a classic MinGW gets the 32-bit libraries only",
       [](ScratchTree& t) { lay_out_classic_mingw(t, L"MinGW\\", accepted_report(), false); }, L"MinGW\\",
       kMingwOther, L"MinGW\\include\\", L"MinGW\\lib\\", L"", L"lib_mingw_msvcrt", L""},
      {"Dev-C++ 5.11 gets the 4.9.2 build",
       [](ScratchTree& t) { lay_out_devcpp(t, L"Dev-Cpp\\", L"devcpp511"); }, L"Dev-Cpp\\", kMingwDevCpp,
       L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\include\\", L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\lib32\\",
       L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\lib\\", L"lib_mingw_492", L""},
      {"a target without include takes the headers in its own folder",
       [](ScratchTree& t) {
         lay_out_mingw64(t, L"mingw64\\", accepted_report(), false);
         RemoveDirectoryW(t.path(L"mingw64\\x86_64-w64-mingw32\\include").c_str());
       },
       L"mingw64\\", kMingwOther, L"mingw64\\x86_64-w64-mingw32\\", L"",
       L"mingw64\\x86_64-w64-mingw32\\lib\\", L"lib_mingw_msvcrt", L""},
  };
  for (const Case& c : cases) {
    ScratchTree tree;
    const std::wstring setup = lay_out_payload(tree, L"setup\\");
    c.lay_out(tree);
    Located located;
    ASSERT_EQ(located.locate(tree.path(c.pick), c.index), 1) << c.what;
    const MingwEnv& env = located.env(c.index);

    // Twice: the second install overwrites the first without a question.
    for (int round = 0; round < 2; ++round) EXPECT_EQ(install_mingw_files(setup, env), L"") << c.what;
    for (const wchar_t* header : kHeaders)
      EXPECT_EQ(read_file_bytes(tree.path(c.include) + header), narrow(header)) << c.what;
    for (const wchar_t* library : kLibraries) {
      if (!c.lib32.empty()) {
        EXPECT_EQ(read_file_bytes(tree.path(c.lib32) + library), payload(c.build, L"x86", library)) << c.what;
      }
      if (!c.lib64.empty()) {
        EXPECT_EQ(read_file_bytes(tree.path(c.lib64) + library), payload(c.build, L"x64", library)) << c.what;
      }
    }
    if (!c.untouched.empty()) {
      EXPECT_EQ(files_in(tree.path(c.untouched)), 0u) << c.what;
    }

    EXPECT_EQ(uninstall_mingw_files(env), L"卸载成功") << c.what;
    for (const std::wstring& folder : {c.include, c.lib32, c.lib64}) {
      if (folder.empty()) continue;
      for (const wchar_t* name : {L"pivro.h", L"graphics.h", L"libpivro.a", L"libpivrow.a"})
        EXPECT_FALSE(path_exists(tree.path(folder) + name)) << c.what;
    }
    // The files are gone now: a second uninstall fails at the first one.
    EXPECT_EQ(uninstall_mingw_files(env), L"卸载失败") << c.what;
  }
}

TEST(MingwInstall, AFailingStepEndsTheInstallAndKeepsWhatWasCopied) {
  struct Case {
    const char* what;
    std::wstring missing;  // removed from the payload, relative to the setup folder
    const wchar_t* result;
    bool headers_copied, lib32_copied;
  } cases[] = {
      {"no headers", L"include\\", L"安装失败_inlcude", false, false},
      {"one header", L"include\\graphics.h", L"安装失败_inlcude", true, false},
      {"no 32-bit libraries", L"lib_mingw_msvcrt\\x86\\", L"安装失败_lib32", true, false},
      {"one 32-bit library", L"lib_mingw_msvcrt\\x86\\libpivrow.a", L"安装失败_lib32", true, true},
      {"no 64-bit libraries", L"lib_mingw_msvcrt\\x64\\", L"安装失败_lib64", true, true},
  };
  for (const Case& c : cases) {
    ScratchTree tree;
    const std::wstring setup = lay_out_payload(tree, L"setup\\");
    remove_tree(setup + c.missing);
    DeleteFileW((setup + c.missing).c_str());
    const std::wstring target = tree.folder(L"x86_64-w64-mingw32");
    for (const wchar_t* sub : {L"include", L"lib", L"lib32"})
      tree.folder(std::wstring(L"x86_64-w64-mingw32\\") + sub);
    MingwEnv env;
    env.root = target;
    env.lib32_dir = L"lib32\\";
    env.lib64_dir = L"lib\\";
    env.flavour_dir = L"lib_mingw_msvcrt";
    EXPECT_EQ(install_mingw_files(setup, env), c.result) << c.what;
    EXPECT_EQ(path_exists(target + L"include\\pivro.h"), c.headers_copied) << c.what;
    EXPECT_EQ(path_exists(target + L"lib32\\libpivro.a"), c.lib32_copied) << c.what;
    // No 64-bit library arrives: the step failed or was never reached.
    EXPECT_EQ(files_in(target + L"lib\\"), 0u) << c.what;
  }
}

TEST(MingwInstall, AMissingTargetFolderFailsItsStep) {
  ScratchTree tree;
  const std::wstring setup = lay_out_payload(tree, L"setup\\");
  MingwEnv env;
  env.root = tree.folder(L"t");
  env.lib32_dir = L"lib\\";  // never made
  env.flavour_dir = L"lib_mingw_ucrt";
  EXPECT_EQ(install_mingw_files(setup, env), L"安装失败_inlcude");
  tree.folder(L"t\\include");
  EXPECT_EQ(install_mingw_files(setup, env), L"安装失败_lib32");
  tree.folder(L"t\\lib");
  EXPECT_EQ(install_mingw_files(setup, env), L"");
  EXPECT_EQ(read_file_bytes(env.root + L"lib\\libpivrow.a"),
            payload(L"lib_mingw_ucrt", L"x86", L"libpivrow.a"));
}

TEST(MingwInstall, UninstallStopsAtTheFirstFileThatIsNotThere) {
  ScratchTree tree;
  MingwEnv env;
  env.root = tree.folder(L"t");
  env.lib32_dir = L"lib32\\";
  env.lib64_dir = L"lib\\";
  for (const wchar_t* file : {L"include\\pivro.h", L"include\\graphics.h", L"lib32\\libpivro.a",
                              L"lib\\libpivro.a", L"lib\\libpivrow.a"})
    tree.file(std::wstring(L"t\\") + file);
  // lib32\libpivrow.a was never copied: the uninstall stops there.
  EXPECT_EQ(uninstall_mingw_files(env), L"卸载失败");
  EXPECT_FALSE(path_exists(env.root + L"lib32\\libpivro.a"));
  EXPECT_TRUE(path_exists(env.root + L"lib\\libpivro.a"));
  EXPECT_TRUE(path_exists(env.root + L"lib\\libpivrow.a"));
}

TEST(MingwInstall, NothingToDoTouchesNothing) {
  ScratchTree tree;
  const std::wstring setup = lay_out_payload(tree, L"setup\\");
  // Relative targets would land in the current folder: make it one we watch.
  const std::wstring watched = tree.folder(L"current");
  tree.folder(L"current\\include");
  tree.folder(L"current\\lib");
  {
    CurrentDirectoryGuard in_watched(watched);
    ASSERT_TRUE(in_watched.changed());
    MingwEnv empty;
    empty.include_dir.clear();
    EXPECT_EQ(uninstall_mingw_files(empty), L"卸载失败");
    MingwEnv no_root;  // libraries named, but no folder found for them
    no_root.lib32_dir = L"lib\\";
    no_root.flavour_dir = L"lib_mingw_msvcrt";
    EXPECT_EQ(install_mingw_files(setup, no_root), L"安装失败_inlcude");
    EXPECT_EQ(uninstall_mingw_files(no_root), L"卸载失败");
  }
  EXPECT_EQ(files_in(watched + L"include\\") + files_in(watched + L"lib\\") + files_in(watched), 0u);
}
