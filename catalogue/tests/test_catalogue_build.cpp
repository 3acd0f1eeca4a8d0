#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/platform_page.h"
#include "desktop/tests/desktop_redirect.h"
#include "mingw/tests/toolchain_fixture.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch_tree.h"

namespace {

// Registry keys as a 32-bit installer names them, written through the 32-bit
// view as such an installer writes them: on 64-bit Windows they land under
// Software\WOW6432Node once that key exists (in the 32-bit and in the 64-bit
// build of this test alike); on 32-bit Windows they stay where they are named.
const REGSAM kInstallerView = KEY_WOW64_32KEY;
const wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kVc7Key[] = L"Software\\Microsoft\\VisualStudio\\SxS\\VC7";

// One row as the list shows it.
struct Row {
  int env_index;
  std::wstring label;
  std::wstring header_text;
  std::wstring lib_text;
  std::wstring status;
  bool usable;
  bool is_mingw;
};

const wchar_t* const kVcLabels[] = {
    L"  Visual C++ 6.0",  L"  Visual C++ 2008", L"  Visual C++ 2010", L"  Visual C++ 2012",
    L"  Visual C++ 2013", L"  Visual C++ 2015", L"  Visual C++ 2017", L"  Visual C++ 2019",
    L"  Visual C++ 2022", L"  Visual C++ 2026",
};
const wchar_t* const kExpectedMingwLabels[] = {L"  DevCpp", L"  CodeBlocks", L"  CLion", L"  VSCode",
                                               L"  其它 MinGW"};
const wchar_t kNotDetected[] = L"（未检测到）";

Row docs_row(const std::wstring& desktop) {
  return {-1,
          L"  Pivro 文档",
          L"在线文档 https://pivro.example.org/docs/",
          L"桌面路径 " + desktop,
          kNotDetected,
          true,
          false};
}
Row found_vc(int position, const std::wstring& header, const std::wstring& lib) {
  return {position, kVcLabels[position], header, lib, kNotDetected, true, false};
}
Row missing_vc(int position) {
  return {position, kVcLabels[position], L"", L"", kNotDetected, false, false};
}
Row found_mingw(int kind, const std::wstring& header, const std::wstring& lib, const std::wstring& status,
                bool usable) {
  return {kind, kExpectedMingwLabels[kind], header, lib, status, usable, true};
}
Row missing_mingw(int kind) {
  return {kind, kExpectedMingwLabels[kind], L"", L"", kNotDetected, false, true};
}
Row other_mingw() {
  return missing_mingw(4);
}

// The rows of a machine where nothing but the desktop is found.
std::vector<Row> nothing_found(const std::wstring& desktop) {
  std::vector<Row> rows = {docs_row(desktop)};
  for (int position = 0; position < 10; ++position) rows.push_back(missing_vc(position));
  for (int kind : {0, 2, 1}) rows.push_back(missing_mingw(kind));
  rows.push_back(other_mingw());
  return rows;
}

void expect_rows(const PlatformPage& page, const std::vector<Row>& expected) {
  testing::Message listed;  // the labels as built, to read a failure by
  for (const PlatformRow* row : page.rows) listed << "[" << row->label << "] ";
  SCOPED_TRACE(listed);
  ASSERT_EQ(page.rows.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const PlatformRow& row = *page.rows[i];
    const Row& want = expected[i];
    SCOPED_TRACE(testing::Message() << "row " << i);
    EXPECT_EQ(row.label, want.label);
    EXPECT_EQ(row.env_index, want.env_index);
    EXPECT_EQ(row.header_text, want.header_text);
    EXPECT_EQ(row.lib_text, want.lib_text);
    EXPECT_EQ(row.status, want.status);
    EXPECT_EQ(row.usable, want.usable);
    EXPECT_EQ(row.is_mingw, want.is_mingw);
  }
}

}  // namespace

TEST(CatalogueBuild, AnEmptyMachineListsEveryEnvironmentAsNotDetected) {
  ScratchTree tree;
  RegistrySandbox registry;
  tree.folder(L"Desktop");
  const std::wstring desktop = tree.path(L"Desktop");  // no trailing backslash, as the shell gives it
  const struct {
    std::wstring redirected_to;
    std::wstring shown;
  } desktops[] = {
      {desktop, desktop}, {tree.path(L"Gone"), L""},  // the shell cannot give the desktop folder
  };
  for (const auto& d : desktops) {
    SCOPED_TRACE(d.redirected_to);
    DesktopRedirect redirect(d.redirected_to);
    PlatformPage page(nullptr, 490, 328);
    page.build_catalogue();
    expect_rows(page, nothing_found(d.shown));
    ASSERT_EQ(page.vc_envs.size(), 10u);
    ASSERT_EQ(page.mingw_envs.size(), 5u);
    for (const auto& env : page.vc_envs) EXPECT_EQ(env->root, L"") << env->version;
    EXPECT_EQ(page.found_rows.size(), 0u);
    EXPECT_EQ(page.missing_rows.size(), 13u);
  }
}

TEST(CatalogueBuild, ARichMachineListsWhatIsThereInOrder) {
  ScratchTree tree;
  RegistrySandbox registry;
  tree.folder(L"Desktop");
  const std::wstring desktop = tree.path(L"Desktop");
  DesktopRedirect redirect(desktop);
  ASSERT_TRUE(registry.set_processor_architecture(L"AMD64"));
  ASSERT_TRUE(registry.create_key(HKEY_LOCAL_MACHINE, L"Software\\WOW6432Node"));  // a 64-bit machine

  // Visual C++ 2008, complete; its VC folder recorded with a backslash.
  const std::wstring vc2008 = tree.folder(L"VS9\\VC");
  tree.folder(L"VS9\\VC\\include");
  tree.folder(L"VS9\\VC\\lib\\amd64");
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, kVc7Key, L"9.0", vc2008, kInstallerView));
  // Visual C++ 2012 without its include folder; recorded without a backslash.
  tree.folder(L"VS11\\VC\\lib\\amd64");
  ASSERT_TRUE(
      registry.set_string(HKEY_LOCAL_MACHINE, kVc7Key, L"11.0", tree.path(L"VS11\\VC"), kInstallerView));
  // Visual C++ 2013 with headers but no x86 library folder.
  tree.folder(L"VS12\\VC\\include");
  ASSERT_TRUE(
      registry.set_string(HKEY_LOCAL_MACHINE, kVc7Key, L"12.0", tree.path(L"VS12\\VC\\"), kInstallerView));
  // Visual Studio 2017 with two toolsets and no x64 library folder in its VC root.
  const std::wstring vs2017 = tree.path(L"VS2017\\Community");
  const std::wstring root2017 = vs2017 + L"\\VC\\Auxiliary\\VS\\";
  tree.folder(L"VS2017\\Community\\VC\\Auxiliary\\VS\\include");
  tree.folder(L"VS2017\\Community\\VC\\Auxiliary\\VS\\lib\\x86");
  tree.folder(L"VS2017\\Community\\VC\\Tools\\MSVC\\14.10.25017\\bin\\Hostx86\\x86");
  tree.folder(L"VS2017\\Community\\VC\\Tools\\MSVC\\14.16.27023\\bin\\Hostx86\\x86");
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"a1b2c3d4", L"DisplayName",
                                  L"Visual Studio Community 2017", kInstallerView));
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"a1b2c3d4",
                                  L"InstallLocation", vs2017, kInstallerView));
  // The build tools of 2019 are no Visual Studio edition.
  tree.folder(L"BuildTools\\VC\\Auxiliary\\VS\\include");
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"e5f6", L"DisplayName",
                                  L"Visual Studio Build Tools 2019", kInstallerView));
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"e5f6", L"InstallLocation",
                                  tree.path(L"BuildTools"), kInstallerView));
  // Visual Studio 2026, complete, its location recorded with a backslash.
  const std::wstring root2026 = tree.path(L"VS18\\Professional\\VC\\Auxiliary\\VS\\");
  tree.folder(L"VS18\\Professional\\VC\\Auxiliary\\VS\\include");
  tree.folder(L"VS18\\Professional\\VC\\Auxiliary\\VS\\lib\\x86");
  tree.folder(L"VS18\\Professional\\VC\\Auxiliary\\VS\\lib\\x64");
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"f00d", L"DisplayName",
                                  L"Visual Studio Professional 2026", kInstallerView));
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"f00d", L"InstallLocation",
                                  tree.path(L"VS18\\Professional\\"), kInstallerView));

  // Dev-C++ 5.11 with its bundled 64-bit TDM gcc 4.9.2.
  tree.copy_in(L"Dev-Cpp\\devcpp.exe", fixture_path(L"devcpp511\\devcpp.exe"));
  tree.file(L"Dev-Cpp\\uninstall.exe", "uninstaller");
  place_gcc(tree.path(L"Dev-Cpp\\MinGW64\\bin\\"), gcc_report(L"tdm-gcc-4.9.2-tdm64-1.txt"));
  const std::wstring devcpp_target = tree.path(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\");
  tree.folder(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\include");
  tree.folder(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\lib");
  tree.folder(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\lib32");
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"Dev-C++", L"DisplayName",
                                  L"Dev-C++", kInstallerView));
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"Dev-C++",
                                  L"UninstallString", tree.path(L"Dev-Cpp\\uninstall.exe"), kInstallerView));

  // CLion with the MinGW it bundles under bin\mingw: 64-bit gcc 15.2 on UCRT.
  const std::wstring clion = tree.path(L"JetBrains\\CLion 2024.3.1");
  tree.file(L"JetBrains\\CLion 2024.3.1\\bin\\clion64.exe", "ide");
  place_gcc(clion + L"\\bin\\mingw\\bin\\", gcc_report(L"winlibs-15.2.0-x86_64-ucrt-posix-seh.txt"));
  tree.file(L"JetBrains\\CLion 2024.3.1\\bin\\mingw\\bin\\libgcc_s_seh-1.dll");
  const std::wstring clion_target = clion + L"\\bin\\mingw\\x86_64-w64-mingw32\\";
  tree.folder(L"JetBrains\\CLion 2024.3.1\\bin\\mingw\\x86_64-w64-mingw32\\include");
  tree.folder(L"JetBrains\\CLion 2024.3.1\\bin\\mingw\\x86_64-w64-mingw32\\lib");
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"CLion 2024.3.1",
                                  L"DisplayName", L"CLion 2024.3.1", kInstallerView));
  ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, std::wstring(kUninstall) + L"CLion 2024.3.1",
                                  L"InstallLocation", clion, kInstallerView));

  // Code::Blocks pointing at a classic MinGW.org gcc 6.3.0, which is refused.
  const std::wstring classic = tree.path(L"CodeBlocks\\MinGW\\");
  place_gcc(classic + L"bin\\", gcc_report(L"mingw-org-6.3.0-1.txt"));
  tree.file(L"CodeBlocks\\MinGW\\bin\\libgcc_s_dw2-1.dll");
  tree.folder(L"CodeBlocks\\MinGW\\include");
  tree.folder(L"CodeBlocks\\MinGW\\lib");
  tree.folder(L"CodeBlocks\\MinGW\\mingw32\\lib");
  ASSERT_TRUE(registry.create_key(HKEY_USERS, L".DEFAULT\\Software"));
  ASSERT_TRUE(registry.set_string(HKEY_USERS,
                                  L"S-1-5-21-1004336348-1177238915-682003330-1001\\SoftWare\\CodeBlocks",
                                  L"Path", tree.path(L"CodeBlocks")));

  PlatformPage page(nullptr, 490, 328);
  page.build_catalogue();

  expect_rows(
      page,
      {
          docs_row(desktop),
          found_vc(1, L"头文件路径 " + vc2008 + L"include\\",
                   L"库文件路径 " + vc2008 + L"lib\\ " + vc2008 + L"lib\\amd64\\"),
          found_vc(6, L"头文件路径 " + root2017 + L"include\\", L"库文件路径 " + root2017 + L"lib\\x86\\"),
          found_vc(9, L"头文件路径 " + root2026 + L"include\\",
                   L"库文件路径 " + root2026 + L"lib\\x86\\ " + root2026 + L"lib\\x64\\"),
          found_mingw(0, L"头文件路径 " + devcpp_target + L"include\\",
                      L"库文件路径 " + devcpp_target + L"lib32\\ " + devcpp_target + L"lib\\", kNotDetected,
                      true),
          found_mingw(2, L"头文件路径 " + clion_target + L"include\\",
                      L"库文件路径 " + clion_target + L"lib\\", kNotDetected, true),
          found_mingw(1, L"头文件路径 " + classic + L"include\\", L"库文件路径 " + classic + L"lib\\",
                      L"不支持的 i686_posix_dwarf_msvcrt", false),
          missing_vc(0),
          missing_vc(2),
          missing_vc(3),
          missing_vc(4),
          missing_vc(5),
          missing_vc(7),
          missing_vc(8),
          other_mingw(),
      });

  // The records behind the rows.
  for (int position : {3, 4}) {  // 2012 without headers, 2013 without libraries
    const VcEnv& env = *page.vc_envs[position];
    EXPECT_EQ(env.root + env.include_dir + env.lib_dir + env.lib64_dir, L"") << env.version;
  }
  EXPECT_EQ(page.vc_envs[6]->root, root2017);
  EXPECT_EQ(page.vc_envs[6]->lib_dir, L"lib\\x86\\");
  EXPECT_EQ(page.vc_envs[6]->lib64_dir, L"");  // installs x86 libraries only
  EXPECT_EQ(page.vc_envs[9]->lib64_dir, L"lib\\x64\\");
  EXPECT_EQ(page.mingw_envs[0]->flavour_dir, L"lib_mingw_492");
  EXPECT_EQ(page.mingw_envs[2]->flavour_dir, L"lib_mingw_ucrt");
  EXPECT_EQ(page.mingw_envs[1]->flavour_dir, L"");
}

TEST(CatalogueBuild, TheProcessorArchitectureChoosesTheRegistryTreeRead) {
  // Installations recorded as on 32-bit Windows: there is no WOW6432Node tree.
  ScratchTree tree;
  tree.folder(L"Desktop");
  const std::wstring desktop = tree.path(L"Desktop");
  const std::wstring vc2010 = tree.folder(L"VS10\\VC");
  tree.folder(L"VS10\\VC\\include");
  tree.folder(L"VS10\\VC\\lib");
  const std::wstring root2019 = tree.path(L"VS2019\\Enterprise\\VC\\Auxiliary\\VS\\");
  tree.folder(L"VS2019\\Enterprise\\VC\\Auxiliary\\VS\\include");
  tree.folder(L"VS2019\\Enterprise\\VC\\Auxiliary\\VS\\lib\\x86");
  tree.folder(L"VS2019\\Enterprise\\VC\\Auxiliary\\VS\\lib\\x64");
  tree.copy_in(L"Dev-Cpp\\devcpp.exe", fixture_path(L"devcpp511\\devcpp.exe"));
  place_gcc(tree.path(L"Dev-Cpp\\MinGW64\\bin\\"), gcc_report(L"tdm-gcc-4.9.2-tdm64-1.txt"));
  const std::wstring devcpp_target = tree.path(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\");
  tree.folder(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\include");
  tree.folder(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\lib");

  std::vector<Row> found_in_32bit_tree = nothing_found(desktop);
  found_in_32bit_tree.erase(found_in_32bit_tree.begin() + 1, found_in_32bit_tree.end());
  found_in_32bit_tree.push_back(
      found_vc(2, L"头文件路径 " + vc2010 + L"include\\", L"库文件路径 " + vc2010 + L"lib\\"));
  found_in_32bit_tree.push_back(
      found_vc(7, L"头文件路径 " + root2019 + L"include\\",
               L"库文件路径 " + root2019 + L"lib\\x86\\ " + root2019 + L"lib\\x64\\"));
  found_in_32bit_tree.push_back(found_mingw(0, L"头文件路径 " + devcpp_target + L"include\\",
                                            L"库文件路径 " + devcpp_target + L"lib\\", kNotDetected, true));
  for (int position : {0, 1, 3, 4, 5, 6, 8, 9}) found_in_32bit_tree.push_back(missing_vc(position));
  found_in_32bit_tree.push_back(missing_mingw(2));
  found_in_32bit_tree.push_back(missing_mingw(1));
  found_in_32bit_tree.push_back(other_mingw());

  const struct {
    const wchar_t* architecture;
    bool reads_64bit_tree;
  } cases[] = {{L"AMD64", true}, {L"amd64", false}, {L"x86", false}, {L"ARM64", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.architecture);
    RegistrySandbox registry;
    DesktopRedirect redirect(desktop);
    ASSERT_TRUE(registry.set_processor_architecture(c.architecture));
    ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, kVc7Key, L"10.0", vc2010, kInstallerView));
    const std::wstring vs = std::wstring(kUninstall) + L"c0ffee";
    ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, vs, L"DisplayName", L"Visual Studio Enterprise 2019",
                                    kInstallerView));
    ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, vs, L"InstallLocation",
                                    tree.path(L"VS2019\\Enterprise"), kInstallerView));
    const std::wstring dev = std::wstring(kUninstall) + L"Dev-C++";
    ASSERT_TRUE(
        registry.set_string(HKEY_LOCAL_MACHINE, dev, L"DisplayName", L"Dev-C++ 5.11", kInstallerView));
    ASSERT_TRUE(registry.set_string(HKEY_LOCAL_MACHINE, dev, L"UninstallString",
                                    tree.path(L"Dev-Cpp\\uninstall.exe"), kInstallerView));

    PlatformPage page(nullptr, 490, 328);
    page.build_catalogue();
    expect_rows(page, c.reads_64bit_tree ? nothing_found(desktop) : found_in_32bit_tree);
  }
}
