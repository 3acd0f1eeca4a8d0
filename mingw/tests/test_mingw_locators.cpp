#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "catalogue/platform_page.h"
#include "mingw/mingw_locators.h"
#include "mingw/tests/mingw_layouts.h"
#include "mingw/tests/toolchain_fixture.h"
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
