#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "catalogue/platform_page.h"
#include "mingw/mingw_locators.h"
#include "mingw/tests/mingw_layouts.h"
#include "mingw/tests/toolchain_fixture.h"
#include "tests/support/drive_mapping.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch_tree.h"
#include "vc/registry_probes.h"

namespace {

const wchar_t kUninstall32[] = L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kUser[] = L"S-1-5-21-1004336348-1177238915-682003330-1001";

struct Catalogue {
  Catalogue() : page(nullptr, 490, 328) { page.create_records(); }
  MingwEnv& env(int32_t index) { return *page.mingw_envs[index]; }
  PlatformRow* row_for(int32_t index) {
    return page.new_row(page.mingw_envs[index]->label, L"", L"", index, false, true);
  }
  PlatformPage page;
};

}  // namespace

TEST(MingwLocators, RegistrySourcesAsTheInstallersWriteThem) {
  ScratchTree tree;
  const std::wstring devcpp = tree.folder(L"Dev-Cpp");
  const std::wstring clion = tree.folder(L"JetBrains\\CLion 2024.1\\bin");
  const std::wstring codeblocks = tree.folder(L"CodeBlocks");
  RegistrySandbox sandbox;
  // Dev-C++'s 32-bit installer on 64-bit Windows, and CLion's entry.
  sandbox.set_string(HKEY_LOCAL_MACHINE, kUninstall32 + std::wstring(L"Dev-C++"), L"DisplayName", L"Dev-C++");
  sandbox.set_string(HKEY_LOCAL_MACHINE, kUninstall32 + std::wstring(L"Dev-C++"), L"UninstallString",
                     devcpp + L"uninstall.exe");
  sandbox.set_string(HKEY_LOCAL_MACHINE, kUninstall32 + std::wstring(L"CLion 2024.1"), L"DisplayName",
                     L"CLion 2024.1");
  sandbox.set_string(HKEY_LOCAL_MACHINE, kUninstall32 + std::wstring(L"CLion 2024.1"), L"InstallLocation",
                     tree.path(L"JetBrains\\CLion 2024.1"));
  // Code::Blocks records its folder per user, without a final backslash.
  sandbox.create_key(HKEY_USERS, L".DEFAULT\\Software");
  sandbox.set_string(HKEY_USERS, kUser + std::wstring(L"\\Software\\CodeBlocks"), L"Path",
                     tree.path(L"CodeBlocks"));

  EXPECT_EQ(find_mingw_in_registry(kMingwDevCpp, true), devcpp);
  EXPECT_EQ(find_mingw_in_registry(kMingwCLion, true), clion);
  EXPECT_EQ(find_mingw_in_registry(kMingwCodeBlocks, true), codeblocks);
  EXPECT_EQ(find_mingw_in_registry(kMingwVSCode, true), L"");
  EXPECT_EQ(find_mingw_in_registry(kMingwOther, true), L"");
}

TEST(MingwLocators, RegistryFoldersMustBeExistingFolders) {
  ScratchTree tree;
  tree.file(L"a-file");
  const std::wstring read_only = tree.folder(L"read-only");
  SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);
  struct Case {
    const char* what;
    std::wstring uninstall_string;
    std::wstring expected;
  } cases[] = {
      {"a read-only folder counts", read_only + L"uninstall.exe", read_only},
      {"a path that names a file", tree.path(L"a-file\\uninstall.exe"), L""},
      {"a folder that does not exist", tree.path(L"gone\\uninstall.exe"), L""},
      {"a quoted command line", L"\"" + read_only + L"uninstall.exe\"", L""},
      {"no backslash at all", L"uninstall.exe", L""},
  };
  for (const Case& c : cases) {
    RegistrySandbox sandbox;
    sandbox.set_string(HKEY_LOCAL_MACHINE, kUninstall32 + std::wstring(L"Dev-C++"), L"DisplayName",
                       L"Embarcadero DEV-C++");
    sandbox.set_string(HKEY_LOCAL_MACHINE, kUninstall32 + std::wstring(L"Dev-C++"), L"UninstallString",
                       c.uninstall_string);
    EXPECT_EQ(find_mingw_in_registry(kMingwDevCpp, true), c.expected) << c.what;
  }
  SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_DIRECTORY);
}

TEST(MingwLocators, RegistryEdgeCases) {
  ScratchTree tree;
  const std::wstring first = tree.folder(L"first");
  const std::wstring second = tree.folder(L"second");
  {
    // Code::Blocks: the first hive in enumeration order with a non-empty Path.
    RegistrySandbox sandbox;
    const std::wstring hives[] = {L"S-1-5-21-1-1-1-1001", L"S-1-5-21-1-1-1-1002", L"S-1-5-21-1-1-1-1003"};
    sandbox.set_string(HKEY_USERS, hives[0] + L"\\Software\\CodeBlocks", L"Path", L"");
    sandbox.set_string(HKEY_USERS, hives[1] + L"\\Software\\CodeBlocks", L"Path", first);
    sandbox.set_string(HKEY_USERS, hives[2] + L"\\Software\\CodeBlocks", L"Path", second);
    std::wstring expected;
    for (const std::wstring& hive : reg_list_subkeys(HKEY_USERS, nullptr)) {
      if (hive == hives[1]) expected = first;
      if (hive == hives[2]) expected = second;
      if (!expected.empty()) break;
    }
    EXPECT_EQ(find_mingw_in_registry(kMingwCodeBlocks, false), expected);
  }
  {
    // CLion: a location that ends with a backslash gets no second one; an
    // entry without a location gives nothing (not "\bin" on the current drive).
    RegistrySandbox sandbox;
    const std::wstring key = kUninstall32 + std::wstring(L"CLion");
    sandbox.set_string(HKEY_LOCAL_MACHINE, key, L"DisplayName", L"CLion 2023.3.4");
    tree.folder(L"first\\bin");
    sandbox.set_string(HKEY_LOCAL_MACHINE, key, L"InstallLocation", first);
    EXPECT_EQ(find_mingw_in_registry(kMingwCLion, true), first + L"bin\\");
    sandbox.set_string(HKEY_LOCAL_MACHINE, key, L"InstallLocation", L"");
    EXPECT_EQ(find_mingw_in_registry(kMingwCLion, true), L"");
  }
}

TEST(MingwLocators, DevCppVersionFromTheProgramInTheFolder) {
  ScratchTree tree;
  const std::wstring v511 = tree.folder(L"511");
  tree.copy_in(L"511\\devcpp.exe", fixture_path(L"devcpp511\\devcpp.exe"));
  const std::wstring v510 = tree.folder(L"510");
  tree.copy_in(L"510\\DevCppPortable.EXE", fixture_path(L"devcpp510\\devcpp.exe"));
  const std::wstring unversioned = tree.folder(L"none");
  tree.file(L"none\\devcpp.exe", "no version resource");
  struct Case {
    int32_t index;
    std::wstring folder;
    int32_t expected;
  } cases[] = {
      {kMingwDevCpp, v511, 511},      {kMingwOther, v511, 511},       {kMingwDevCpp, v510, 510},
      {kMingwCodeBlocks, v511, 0},    {kMingwCLion, v511, 0},         {kMingwVSCode, v511, 0},
      {kMingwDevCpp, unversioned, 0}, {kMingwDevCpp, tree.root(), 0}, {kMingwDevCpp, L"", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(read_devcpp_version(c.index, c.folder), c.expected)
        << c.index << " " << testing::PrintToString(c.folder);
}

// Every folder a user may pick, walked for real: the toolchain layouts of the
// distributions, the climb, and what the record and the row end with.
TEST(MingwLocators, WalksTheLayoutsOfTheDistributions) {
  using LayOut = std::function<void(ScratchTree&)>;
  const LayOut mingw64_bi_arch = [](ScratchTree& t) {
    lay_out_mingw64(t, L"mingw64\\", accepted_report(), true);
  };
  const LayOut devcpp511 = [](ScratchTree& t) { lay_out_devcpp(t, L"Dev-Cpp\\", L"devcpp511"); };
  struct Case {
    const char* what;
    LayOut lay_out;
    std::wstring start;  // relative to the tree
    int32_t index;
    int32_t result;
    std::wstring root;  // relative; empty when nothing was found
    const wchar_t* include_dir;
    const wchar_t* lib32_dir;
    const wchar_t* lib64_dir;
    const wchar_t* flavour_or_status;
    std::wstring gcc_bin;  // where gcc ran, relative
  } cases[] = {
      {"mingw64 with x86_64-w64-mingw32 and no lib32",
       [](ScratchTree& t) { lay_out_mingw64(t, L"mingw64\\", accepted_report(), false); }, L"mingw64\\",
       kMingwOther, 1, L"mingw64\\x86_64-w64-mingw32\\", L"include\\", L"", L"lib\\", L"lib_mingw_msvcrt",
       L"mingw64\\bin\\"},
      {"a bi-arch mingw64 keeps lib32", mingw64_bi_arch, L"mingw64", kMingwOther, 1,
       L"mingw64\\x86_64-w64-mingw32\\", L"include\\", L"lib32\\", L"lib\\", L"lib_mingw_msvcrt",
       L"mingw64\\bin\\"},
      {"picking the bin folder climbs to the toolchain", mingw64_bi_arch, L"mingw64\\bin\\", kMingwOther, 1,
       L"mingw64\\x86_64-w64-mingw32\\", L"include\\", L"lib32\\", L"lib\\", L"lib_mingw_msvcrt",
       L"mingw64\\bin\\"},
      {"picking the folder above", mingw64_bi_arch, L"", kMingwOther, 1, L"mingw64\\x86_64-w64-mingw32\\",
       L"include\\", L"lib32\\", L"lib\\", L"lib_mingw_msvcrt", L"mingw64\\bin\\"},
      {"Dev-C++ 5.11 takes the 4.9.2 build for its TDM-GCC", devcpp511, L"Dev-Cpp\\", kMingwDevCpp, 1,
       L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\", L"include\\", L"lib32\\", L"lib\\", L"lib_mingw_492",
       L"Dev-Cpp\\MinGW64\\bin\\"},
      {"Dev-C++ 5.10 is refused", [](ScratchTree& t) { lay_out_devcpp(t, L"Dev-Cpp\\", L"devcpp510"); },
       L"Dev-Cpp\\", kMingwOther, -1, L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\", L"include\\", L"lib32\\",
       L"lib\\", L"（DevCPP 不再支持低于 5.11 的版本）", L"Dev-Cpp\\MinGW64\\bin\\"},
      {"a Dev-C++ folder picked for CLion has its gcc judged alone", devcpp511, L"Dev-Cpp\\", kMingwCLion, -1,
       L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\", L"include\\", L"lib32\\", L"lib\\",
       L"不支持的 x86_64_posixunkonw-ex_msvcrt", L"Dev-Cpp\\MinGW64\\bin\\"},
      {"Code::Blocks takes no 32-bit folder from an x86_64 toolchain",
       [](ScratchTree& t) {
         lay_out_codeblocks(t, L"CodeBlocks\\", accepted_report());
         t.folder(L"CodeBlocks\\MinGW\\x86_64-w64-mingw32\\lib32");
       },
       L"CodeBlocks\\", kMingwCodeBlocks, 1, L"CodeBlocks\\MinGW\\x86_64-w64-mingw32\\", L"include\\", L"",
       L"lib\\", L"lib_mingw_msvcrt", L"CodeBlocks\\MinGW\\bin\\"},
      {"an IDE folder with its toolchain in bin\\mingw",
       [](ScratchTree& t) { lay_out_clion(t, L"CLion\\", gcc_report(L"msys2-mingw64-14.2.0.txt")); },
       L"CLion\\", kMingwCLion, 1, L"CLion\\bin\\mingw\\x86_64-w64-mingw32\\", L"include\\", L"", L"lib\\",
       L"lib_mingw_msvcrt", L"CLion\\bin\\mingw\\bin\\"},
      {"the i686 MinGW-w64 layout",
       [](ScratchTree& t) {
         lay_out_mingw32_w64(t, L"mingw32\\", gcc_report(L"mingw-w64-8.1.0-x86_64-posix-seh.txt"));
       },
       L"mingw32\\", kMingwOther, 1, L"mingw32\\i686-w64-mingw32\\", L"include\\", L"lib\\", L"",
       L"lib_mingw_msvcrt", L"mingw32\\bin\\"},
      {"a classic MinGW without mingw32\\include installs into its own folder",
       [](ScratchTree& t) {
         lay_out_classic_mingw(t, L"MinGW\\", gcc_report(L"mingw-org-6.3.0-1.txt"), false);
       },
       L"MinGW\\", kMingwOther, -1, L"MinGW\\", L"include\\", L"lib\\", L"",
       L"不支持的 i686_posix_dwarf_msvcrt", L"MinGW\\bin\\"},
      {"a classic MinGW with mingw32\\include installs there",
       [](ScratchTree& t) { lay_out_classic_mingw(t, L"MinGW\\", accepted_report(), true); }, L"MinGW\\",
       kMingwOther, 1, L"MinGW\\mingw32\\", L"include\\", L"lib\\", L"", L"lib_mingw_msvcrt",
       L"MinGW\\bin\\"},
      {"a target without include loses include_dir",
       [](ScratchTree& t) {
         lay_out_mingw64(t, L"mingw64\\", accepted_report(), true);
         RemoveDirectoryW(t.path(L"mingw64\\x86_64-w64-mingw32\\include").c_str());
       },
       L"mingw64\\", kMingwOther, 1, L"mingw64\\x86_64-w64-mingw32\\", L"", L"lib32\\", L"lib\\",
       L"lib_mingw_msvcrt", L"mingw64\\bin\\"},
      {"a folder with mingw in its name but no target folder",
       [](ScratchTree& t) { t.folder(L"tools\\mingw-notes\\docs"); }, L"tools\\", kMingwOther, 0, L"",
       L"include\\", L"", L"", L"（未检测到）", L""},
      {"nothing in the picked folder nor above it", [](ScratchTree& t) { t.folder(L"Projects\\Demo"); },
       L"Projects\\Demo", kMingwOther, 0, L"", L"include\\", L"", L"", L"（未检测到）", L""},
  };
  for (const Case& c : cases) {
    ScratchTree tree;
    c.lay_out(tree);
    Catalogue catalogue;
    PlatformRow* row = catalogue.row_for(c.index);
    EXPECT_EQ(locate_mingw(catalogue.page, tree.path(c.start), c.index, row, false), c.result) << c.what;
    const MingwEnv& env = catalogue.env(c.index);
    EXPECT_EQ(env.root, c.root.empty() ? L"" : tree.path(c.root)) << c.what;
    EXPECT_EQ(env.include_dir, c.include_dir) << c.what;
    EXPECT_EQ(env.lib32_dir, c.lib32_dir) << c.what;
    EXPECT_EQ(env.lib64_dir, c.lib64_dir) << c.what;
    if (c.result == 1) {
      EXPECT_EQ(env.flavour_dir, c.flavour_or_status) << c.what;
    } else {
      EXPECT_EQ(env.flavour_dir, L"") << c.what;
      EXPECT_EQ(row->status, c.flavour_or_status) << c.what;
      EXPECT_FALSE(row->usable) << c.what;
    }
    if (!c.gcc_bin.empty()) {
      EXPECT_EQ(gcc_arguments_seen(tree.path(c.gcc_bin)), L"-v") << c.what;
    }
    EXPECT_TRUE(catalogue.page.found_rows.empty() && catalogue.page.missing_rows.empty()) << c.what;
  }
}

TEST(MingwLocators, RowTexts) {
  ScratchTree tree;
  lay_out_mingw64(tree, L"mingw64\\", accepted_report(), true);
  lay_out_classic_mingw(tree, L"MinGW\\", accepted_report(), false);
  const std::wstring target64 = tree.path(L"mingw64\\x86_64-w64-mingw32\\");
  const std::wstring classic = tree.path(L"MinGW\\");
  Catalogue catalogue;
  PlatformRow* row = catalogue.row_for(kMingwOther);
  ASSERT_EQ(locate_mingw(catalogue.page, tree.path(L"mingw64"), kMingwOther, row, false), 1);
  EXPECT_EQ(row->header_text, L"头文件路径 " + target64 + L"include\\");
  EXPECT_EQ(row->lib_text, L"库文件路径 " + target64 + L"lib32\\ " + target64 + L"lib\\");
  ASSERT_EQ(locate_mingw(catalogue.page, classic, kMingwOther, row, false), 1);
  EXPECT_EQ(row->header_text, L"头文件路径 " + classic + L"include\\");
  EXPECT_EQ(row->lib_text, L"库文件路径 " + classic + L"lib\\");
  // Code::Blocks with an x86_64 toolchain names only the 64-bit folder.
  Catalogue codeblocks;
  PlatformRow* cb_row = codeblocks.row_for(kMingwCodeBlocks);
  ASSERT_EQ(locate_mingw(codeblocks.page, tree.path(L"mingw64\\"), kMingwCodeBlocks, cb_row, false), 1);
  EXPECT_EQ(cb_row->lib_text, L"库文件路径 " + target64 + L"lib\\");
}

// When the path of the found folder holds "mingw32" anywhere, it counts as a
// classic target and the picked folder as the toolchain; without an include
// folder of its own the picked folder becomes the target too.
TEST(MingwLocators, ThePathTextDecidesTheTargetKind) {
  ScratchTree tree;
  lay_out_mingw64(tree, L"mingw32-tools\\mingw64\\", accepted_report(), false);
  Catalogue catalogue;
  PlatformRow* row = catalogue.row_for(kMingwOther);
  EXPECT_EQ(locate_mingw(catalogue.page, tree.path(L"mingw32-tools\\"), kMingwOther, row, false), -1);
  EXPECT_EQ(catalogue.env(kMingwOther).root, tree.path(L"mingw32-tools\\"));
  EXPECT_EQ(catalogue.env(kMingwOther).lib64_dir, L"");
  EXPECT_EQ(row->status, L"不支持的 i686_mcfunkonw-ex_msvcrt");  // gcc was looked for in mingw32-tools\bin
}

// A drive of its own shows where the climb stops: below the drive root.
TEST(MingwLocators, TheClimbStopsBeforeTheDriveRoot) {
  ScratchTree tree;
  lay_out_mingw64(tree, L"drive\\mingw64\\", accepted_report(), false);
  tree.folder(L"drive\\Projects\\Demo");
  DriveMapping mapping(tree.path(L"drive"));
  const std::wstring drive = mapping.root();
  ASSERT_FALSE(drive.empty()) << "no drive letter could be mapped";
  Catalogue catalogue;
  PlatformRow* row = catalogue.row_for(kMingwOther);
  EXPECT_EQ(locate_mingw(catalogue.page, drive + L"Projects\\Demo", kMingwOther, row, false), 0);
  EXPECT_EQ(catalogue.env(kMingwOther).root, L"");
  EXPECT_EQ(locate_mingw(catalogue.page, drive, kMingwOther, row, false),
            1);  // picked itself, it is searched
  EXPECT_EQ(catalogue.env(kMingwOther).root, drive + L"mingw64\\x86_64-w64-mingw32\\");
  EXPECT_EQ(gcc_arguments_seen(drive + L"mingw64\\bin\\"), L"-v");
}

// The first frame: the registry gives the folders, and every kind ends with
// exactly one row, in found_rows (usable or refused) or in missing_rows.
TEST(MingwLocators, FirstFrameFromTheRegistry) {
  ScratchTree tree;
  lay_out_devcpp(tree, L"Dev-Cpp\\", L"devcpp511");
  lay_out_codeblocks(tree, L"CodeBlocks\\", gcc_report(L"tdm-gcc-4.9.2-tdm64-1.txt"));
  RegistrySandbox sandbox;
  const std::wstring devcpp_key = kUninstall32 + std::wstring(L"Dev-C++");
  sandbox.set_string(HKEY_LOCAL_MACHINE, devcpp_key, L"DisplayName", L"Dev-C++");
  sandbox.set_string(HKEY_LOCAL_MACHINE, devcpp_key, L"UninstallString",
                     tree.path(L"Dev-Cpp\\uninstall.exe"));
  sandbox.set_string(HKEY_USERS, kUser + std::wstring(L"\\Software\\CodeBlocks"), L"Path",
                     tree.path(L"CodeBlocks"));

  Catalogue catalogue;
  PlatformPage& page = catalogue.page;
  EXPECT_EQ(locate_mingw(page, L"", kMingwDevCpp, nullptr, true), 1);
  EXPECT_EQ(locate_mingw(page, L"", kMingwCLion, nullptr, true), 0);
  EXPECT_EQ(locate_mingw(page, L"", kMingwCodeBlocks, nullptr, true), -1);

  ASSERT_EQ(page.found_rows.size(), 2u);
  const PlatformRow& devcpp = *page.found_rows[0];
  EXPECT_EQ(devcpp.label, L"  DevCpp");
  EXPECT_EQ(devcpp.env_index, kMingwDevCpp);
  EXPECT_TRUE(devcpp.usable && devcpp.is_mingw);
  EXPECT_EQ(devcpp.header_text,
            L"头文件路径 " + tree.path(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\include\\"));
  EXPECT_EQ(catalogue.env(kMingwDevCpp).flavour_dir, L"lib_mingw_492");
  const PlatformRow& codeblocks = *page.found_rows[1];
  EXPECT_EQ(codeblocks.label, L"  CodeBlocks");
  EXPECT_FALSE(codeblocks.usable);
  EXPECT_EQ(codeblocks.status, L"不支持的 x86_64_posix_seh_msvcrt");
  EXPECT_EQ(catalogue.env(kMingwCodeBlocks).root, tree.path(L"CodeBlocks\\MinGW\\x86_64-w64-mingw32\\"));

  ASSERT_EQ(page.missing_rows.size(), 1u);
  const PlatformRow& clion = *page.missing_rows[0];
  EXPECT_EQ(clion.label, L"  CLion");
  EXPECT_EQ(clion.env_index, kMingwCLion);
  EXPECT_TRUE(!clion.usable && clion.is_mingw);
  EXPECT_EQ(clion.header_text, L"");
  EXPECT_EQ(clion.status, kStatusNotDetected);
}

TEST(MingwLocators, FirstFrameFindsCLionsBundledToolchain) {
  ScratchTree tree;
  lay_out_clion(tree, L"JetBrains\\CLion 2024.1\\", gcc_report(L"msys2-mingw64-14.2.0.txt"));
  RegistrySandbox sandbox;
  const std::wstring key = kUninstall32 + std::wstring(L"CLion 2024.1");
  sandbox.set_string(HKEY_LOCAL_MACHINE, key, L"DisplayName", L"CLion 2024.1");
  sandbox.set_string(HKEY_LOCAL_MACHINE, key, L"InstallLocation", tree.path(L"JetBrains\\CLion 2024.1"));
  Catalogue catalogue;
  EXPECT_EQ(locate_mingw(catalogue.page, L"", kMingwCLion, nullptr, true), 1);
  ASSERT_EQ(catalogue.page.found_rows.size(), 1u);
  EXPECT_TRUE(catalogue.page.found_rows[0]->usable);
  EXPECT_EQ(catalogue.env(kMingwCLion).root,
            tree.path(L"JetBrains\\CLion 2024.1\\bin\\mingw\\x86_64-w64-mingw32\\"));
  EXPECT_EQ(catalogue.env(kMingwCLion).flavour_dir, L"lib_mingw_msvcrt");
}

TEST(MingwLocators, SubfolderCheckEmptiesOnlyWhatIsMissing) {
  ScratchTree tree;
  const std::wstring target = tree.folder(L"t");
  tree.folder(L"t\\lib");
  MingwEnv env;
  env.lib32_dir = L"lib32\\";
  env.lib64_dir = L"lib\\";
  verify_mingw_subfolders(target, env);
  EXPECT_EQ(env.include_dir, L"");
  EXPECT_EQ(env.lib32_dir, L"");
  EXPECT_EQ(env.lib64_dir, L"lib\\");
  tree.folder(L"t\\include");
  verify_mingw_subfolders(target, env);
  EXPECT_EQ(env.include_dir, L"");  // once cleared it stays so
}
