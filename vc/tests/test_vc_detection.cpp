// Visual C++ detection against real registry layouts in the sandbox and fake
// installations on disk, with cl.exe stand-ins that carry real version
// resources. Folder picks happen on a drive letter mapped to a scratch
// folder, so every climb ends at a drive root the test owns.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/platform_records.h"
#include "tests/support/current_directory.h"
#include "tests/support/drive_mapping.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch_tree.h"
#include "vc/vc_detection.h"

namespace {

const wchar_t kVc6Key[] =
    L"S-1-5-21-1004336348-1177238915-682003330-1001\\Software\\Microsoft\\DevStudio\\6.0\\Build "
    L"System\\Components\\Platforms\\Win32 (x86)\\Directories";
const wchar_t kSxs32[] = L"Software\\Microsoft\\VisualStudio\\SxS\\VC7";
const wchar_t kSxs64[] = L"Software\\WOW6432Node\\Microsoft\\VisualStudio\\SxS\\VC7";
const wchar_t kUninstall64[] = L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The position of `version` in the catalogue, which the page's records follow.
int32_t index_of(int32_t version) {
  for (int32_t i = 0; i < kVcEnvCount; ++i)
    if (kVcCatalogue[i].version == version) return i;
  return -1;
}

std::wstring cl_stand_in(const std::wstring& tag) {
  return fixture_path(L"cl_" + tag + L"\\cl.exe");
}

// Fake installations, laid out as the installers leave them. `base` is
// relative to the tree and ends with a backslash.
void lay_vc98(ScratchTree& tree, const std::wstring& base, const std::wstring& cl_tag) {
  tree.copy_in(base + L"VC98\\bin\\cl.exe", cl_stand_in(cl_tag));
  tree.file(base + L"VC98\\include\\stdio.h");
  tree.file(base + L"VC98\\lib\\libc.lib");
  tree.folder(base + L"VC98\\mfc\\lib");
}

void lay_vc_folder(ScratchTree& tree, const std::wstring& base, const std::wstring& cl_tag) {
  tree.copy_in(base + L"VC\\bin\\cl.exe", cl_stand_in(cl_tag));
  tree.file(base + L"VC\\include\\stdio.h");
  tree.file(base + L"VC\\lib\\libcmt.lib");
  tree.file(base + L"VC\\lib\\amd64\\libcmt.lib");
}

struct Toolset {
  const wchar_t* folder;  // under VC\Tools\MSVC
  const wchar_t* cl_tag;
};

// An edition folder of 2017 or later; the first toolset is the default one.
void lay_vs2017(ScratchTree& tree, const std::wstring& edition, const std::vector<Toolset>& toolsets,
                bool with_x64 = true) {
  for (const Toolset& t : toolsets)
    tree.copy_in(edition + L"VC\\Tools\\MSVC\\" + t.folder + L"\\bin\\Hostx86\\x86\\cl.exe",
                 cl_stand_in(t.cl_tag));
  std::string name;
  for (const wchar_t* c = toolsets.front().folder; *c; ++c) name += static_cast<char>(*c);
  tree.file(edition + L"VC\\Auxiliary\\Build\\Microsoft.VCToolsVersion.default.txt", name + "\r\n");
  tree.folder(edition + L"VC\\Auxiliary\\VS\\include");
  tree.folder(edition + L"VC\\Auxiliary\\VS\\lib\\x86");
  if (with_x64) tree.folder(edition + L"VC\\Auxiliary\\VS\\lib\\x64");
}

std::wstring widen(const std::string& s) {
  return std::wstring(s.begin(), s.end());
}

struct EnvState {
  std::wstring root, include_dir, lib_dir, lib64_dir;
  bool operator==(const EnvState& o) const {
    return root == o.root && include_dir == o.include_dir && lib_dir == o.lib_dir && lib64_dir == o.lib64_dir;
  }
};

EnvState state_of(const VcEnv& env) {
  return {env.root, env.include_dir, env.lib_dir, env.lib64_dir};
}

std::ostream& operator<<(std::ostream& os, const EnvState& s) {
  auto narrow = [](const std::wstring& w) { return std::string(w.begin(), w.end()); };
  return os << "{" << narrow(s.root) << " | " << narrow(s.include_dir) << " | " << narrow(s.lib_dir) << " | "
            << narrow(s.lib64_dir) << "}";
}

// One drive for the whole program: Wine remembers a drive's target for the
// life of a process, so a letter is mapped once and each test works in a
// folder of its own on it.
class DriveEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    tree = std::make_unique<ScratchTree>();
    drive = std::make_unique<DriveMapping>(tree->root());
  }
  void TearDown() override {
    drive.reset();
    tree.reset();
  }
  static std::unique_ptr<ScratchTree> tree;
  static std::unique_ptr<DriveMapping> drive;
};
std::unique_ptr<ScratchTree> DriveEnvironment::tree;
std::unique_ptr<DriveMapping> DriveEnvironment::drive;
[[maybe_unused]] const auto* const kDriveEnvironment =
    ::testing::AddGlobalTestEnvironment(new DriveEnvironment);

class VcDetection : public ::testing::Test {
 protected:
  VcDetection() : page(nullptr, 490, 328) { page.create_records(); }

  void SetUp() override {
    ASSERT_FALSE(DriveEnvironment::drive->root().empty()) << "no drive letter could be mapped";
    base = widen(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L"\\";
    tree().folder(base);
  }
  void TearDown() override { remove_tree(tree().path(base)); }

  ScratchTree& tree() { return *DriveEnvironment::tree; }
  // The path on the mapped drive of a folder relative to this test's folder.
  std::wstring on_drive(const std::wstring& relative) const {
    return DriveEnvironment::drive->root() + base + relative;
  }
  PlatformRow& row_for(int32_t version) {
    return *page.new_row(page.vc_envs[index_of(version)]->label, L"", L"", index_of(version), false, false);
  }
  VcEnv& env_for(int32_t version) { return *page.vc_envs[index_of(version)]; }

  PlatformPage page;
  std::wstring base;  // this test's folder, relative to the tree
};

}  // namespace

TEST(VcDetectionVersions, CompilerStandInsCarryTheirReleaseVersions) {
  struct Case {
    const wchar_t* tag;
    uint32_t version;
  } cases[] = {
      {L"12.0", 6},     {L"15.0", 2008},  {L"16.0", 2010},  {L"17.0", 2012},  {L"18.0", 2013},
      {L"19.0", 2015},  {L"19.16", 2017}, {L"19.29", 2019}, {L"19.30", 2022}, {L"19.44", 2022},
      {L"19.50", 2026}, {L"14.0", 1400},  {L"none", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(file_version_number(cl_stand_in(c.tag)), c.version) << c.tag;
}

TEST(VcDetectionVersions, LibrarySubfoldersFollowTheGeneration) {
  struct Case {
    int32_t version;
    const wchar_t *lib, *lib64;
  } cases[] = {
      {6, L"Lib\\", L""},
      {2008, L"lib\\", L"lib\\amd64\\"},
      {2013, L"lib\\", L"lib\\amd64\\"},
      {2015, L"lib\\", L"lib\\amd64\\"},
      {2017, L"lib\\x86\\", L"lib\\x64\\"},
      {2026, L"lib\\x86\\", L"lib\\x64\\"},
      {0, L"", L""},
      {2005, L"", L""},
      {2020, L"", L""},
      {-1, L"", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vc_lib_subdir(c.version), c.lib) << c.version;
    EXPECT_EQ(vc_lib64_subdir(c.version), c.lib64) << c.version;
  }
}

TEST(VcRegistryDetection, Vc6RootComesFromTheLibraryDirsList) {
  ScratchTree tree;
  lay_vc98(tree, L"VS6\\", L"12.0");
  const std::wstring vs = tree.path(L"VS6\\");
  struct Case {
    std::wstring library_dirs, root;
  } cases[] = {
      {vs + L"VC98\\mfc\\lib;" + vs + L"VC98\\lib", vs + L"VC98\\"},
      {vs + L"VC98\\LIB;" + vs + L"VC98\\MFC\\LIB", vs + L"VC98\\"},
      {vs + L"VC98\\Lib;" + vs + L"VC98\\Mfc\\Lib;D:\\SDK\\Lib", vs + L"VC98\\"},
      // An entry that only looks like the MFC folder does not count.
      {vs + L"VC98\\LIB;" + vs + L"VC98\\MFC\\LIBS", L""},
      {vs + L"VC98\\LIB;" + vs + L"VC98\\INCLUDE", L""},
      {L"C:\\Gone\\VC98\\LIB;C:\\Gone\\VC98\\MFC\\LIB", L""},
      {L"", L""},
  };
  for (const Case& c : cases) {
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.set_string(HKEY_USERS, kVc6Key, L"Library Dirs", c.library_dirs));
    ASSERT_TRUE(sandbox.create_key(HKEY_USERS, L".DEFAULT\\Software"));
    EXPECT_EQ(detect_vc_root(6, true), c.root) << c.library_dirs;
    EXPECT_EQ(detect_vc_root(6, false), c.root);
  }
}

TEST(VcRegistryDetection, SxsValuesNameTheVcFolderOfEachVersion) {
  ScratchTree tree;
  struct Case {
    int32_t version;
    const wchar_t *value_name, *folder;
  } cases[] = {
      {2008, L"9.0", L"Microsoft Visual Studio 9.0\\"},   {2010, L"10.0", L"Microsoft Visual Studio 10.0\\"},
      {2012, L"11.0", L"Microsoft Visual Studio 11.0\\"}, {2013, L"12.0", L"Microsoft Visual Studio 12.0\\"},
      {2015, L"14.0", L"Microsoft Visual Studio 14.0\\"},
  };
  for (bool is_64bit : {true, false}) {
    RegistrySandbox sandbox;
    // Each spelling alone: in a 32-bit process Wine folds the plain tree
    // into WOW6432Node once that exists, as 64-bit Windows does.
    const wchar_t* key = is_64bit ? kSxs64 : kSxs32;
    sandbox.set_string(HKEY_LOCAL_MACHINE, key, L"FrameworkDir32",
                       L"C:\\Windows\\Microsoft.NET\\Framework\\");
    sandbox.set_string(HKEY_LOCAL_MACHINE, key, L"FrameworkVer32", L"v4.0.30319");
    for (const Case& c : cases) {
      lay_vc_folder(tree, c.folder, L"19.0");
      sandbox.set_string(HKEY_LOCAL_MACHINE, key, c.value_name, tree.path(c.folder) + L"VC\\");
    }
    // A value without its trailing backslash gets one.
    sandbox.set_string(HKEY_LOCAL_MACHINE, key, L"14.0", tree.path(L"Microsoft Visual Studio 14.0\\VC"));
    for (const Case& c : cases) EXPECT_EQ(detect_vc_root(c.version, is_64bit), tree.path(c.folder) + L"VC\\");
    for (int32_t other : {6, 2017, 2019, 2022, 2026, 2005}) EXPECT_EQ(detect_vc_root(other, is_64bit), L"");
  }
  {
    // A value naming a folder that is not there, or a file, finds nothing.
    RegistrySandbox sandbox;
    sandbox.set_string(HKEY_LOCAL_MACHINE, kSxs64, L"12.0", tree.path(L"Gone\\VC\\"));
    sandbox.set_string(HKEY_LOCAL_MACHINE, kSxs64, L"14.0", tree.file(L"not-a-folder.txt"));
    EXPECT_EQ(detect_vc_root(2013, true), L"");
    EXPECT_EQ(detect_vc_root(2015, true), L"");
  }
}

TEST(VcRegistryDetection, The64BitFlagPicksTheWow6432NodeTree) {
  ScratchTree tree;
  lay_vc_folder(tree, L"VS14\\", L"19.0");
  RegistrySandbox sandbox;
  sandbox.set_string(HKEY_LOCAL_MACHINE, kSxs32, L"14.0", tree.path(L"VS14\\VC\\"));
  EXPECT_EQ(detect_vc_root(2015, false), tree.path(L"VS14\\VC\\"));
  EXPECT_EQ(detect_vc_root(2015, true), L"") << "only the tree of the flag is read";
}

TEST(VcRegistryDetection, UninstallEntriesFindTheirOwnVersionOnly) {
  ScratchTree tree;
  lay_vs2017(tree, L"Community\\", {{L"14.29.30133", L"19.29"}});
  const std::wstring location = tree.path(L"Community");  // as the installer writes it, no backslash
  const std::wstring root = location + L"\\VC\\Auxiliary\\VS\\";
  struct Case {
    const wchar_t* display_name;
    std::wstring install_location;
    int32_t version;  // the one version that finds it, 0 for none
  } cases[] = {
      {L"Visual Studio Community 2017", location, 2017},
      {L"Visual Studio Professional 2017(2)", location, 2017},
      {L"Visual Studio Community 2017 (2)", location, 0},  // 2017 writes no blank before the suffix
      {L"Visual Studio Community 2019", location, 2019},
      {L"Visual Studio Community 2019", location + L"\\", 2019},
      {L"Visual Studio Community 2019 (2)", location, 2019},
      {L"visual studio ENTERPRISE 2019", location, 2019},
      {L"Visual Studio Build Tools 2019", location, 0},
      {L"Visual Studio Community 2019 Preview", location, 0},
      {L"Visual Studio Professional 2022", location + L"\\", 2022},
      {L"Visual Studio Enterprise 2026", location, 2026},
      {L"Microsoft Visual Studio Community 2022", location, 0},
      {L"Visual Studio Community 2022", tree.path(L"Gone"), 0},  // a folder that is not there
  };
  for (const Case& c : cases) {
    RegistrySandbox sandbox;
    const std::wstring entry = std::wstring(kUninstall64) + L"\\c76fc08c";
    sandbox.set_string(HKEY_LOCAL_MACHINE, entry, L"DisplayName", c.display_name);
    sandbox.set_string(HKEY_LOCAL_MACHINE, entry, L"InstallLocation", c.install_location);
    for (int32_t version : {2017, 2019, 2022, 2026})
      EXPECT_EQ(detect_vc_root(version, true), version == c.version ? root : L"")
          << c.display_name << " as " << version;
  }
}

TEST(VcRegistryDetection, AMachineWithSeveralProductsGivesEachVersionItsOwnEntry) {
  ScratchTree tree;
  lay_vs2017(tree, L"2019\\BuildTools\\", {{L"14.29.30133", L"19.29"}});
  lay_vs2017(tree, L"2019\\Community\\", {{L"14.29.30133", L"19.29"}});
  lay_vs2017(tree, L"2022\\Professional\\", {{L"14.44.35207", L"19.44"}});
  RegistrySandbox sandbox;
  struct Entry {
    const wchar_t *key, *display_name;
    std::wstring location;
  } entries[] = {
      {L"{0D3E9E15-DE7A-300B-96F1-B4AF12B96488}", L"Microsoft Visual C++ 2015-2022 Redistributable (x86)",
       L""},
      {L"1a2b3c4d", L"Visual Studio Build Tools 2019", tree.path(L"2019\\BuildTools")},
      {L"c76fc08c", L"Visual Studio Community 2019", tree.path(L"2019\\Community")},
      {L"f00dfeed", L"Visual Studio Professional 2022", tree.path(L"2022\\Professional")},
  };
  for (const Entry& e : entries) {
    const std::wstring path = std::wstring(kUninstall64) + L"\\" + e.key;
    sandbox.set_string(HKEY_LOCAL_MACHINE, path, L"DisplayName", e.display_name);
    if (!e.location.empty()) sandbox.set_string(HKEY_LOCAL_MACHINE, path, L"InstallLocation", e.location);
  }
  EXPECT_EQ(detect_vc_root(2019, true), tree.path(L"2019\\Community\\VC\\Auxiliary\\VS\\"));
  EXPECT_EQ(detect_vc_root(2022, true), tree.path(L"2022\\Professional\\VC\\Auxiliary\\VS\\"));
  EXPECT_EQ(detect_vc_root(2017, true), L"");
  EXPECT_EQ(detect_vc_root(2026, true), L"");
}

TEST_F(VcDetection, A2019InstallationResolvesFromEveryLevelAUserMayPick) {
  lay_vs2017(tree(), base + L"VS\\2019\\Community\\", {{L"14.29.30133", L"19.29"}});
  lay_vs2017(tree(), base + L"VS\\2019b\\Enterprise\\", {{L"14.29.30133", L"19.29"}});
  const std::wstring edition = on_drive(L"VS\\2019\\Community\\");
  struct Case {
    std::wstring picked, root;
  } cases[] = {
      {on_drive(L"VS\\2019\\Community"), edition + L"VC\\Auxiliary\\VS\\"},
      {on_drive(L"VS\\2019\\Community\\"), edition + L"VC\\Auxiliary\\VS\\"},
      {on_drive(L"VS\\2019\\Community\\VC"), edition + L"VC\\Auxiliary\\VS\\"},
      {on_drive(L"VS\\2019\\Community\\VC\\Tools"), edition + L"VC\\Auxiliary\\VS\\"},
      {on_drive(L"VS\\2019\\Community\\VC\\Tools\\MSVC\\14.29.30133\\bin"), edition + L"VC\\Auxiliary\\VS\\"},
      {on_drive(L"VS\\2019"), on_drive(L"VS\\2019\\community\\vc\\Auxiliary\\VS\\")},
      {on_drive(L"VS\\2019b"), on_drive(L"VS\\2019b\\enterprise\\vc\\Auxiliary\\VS\\")},
  };
  for (const Case& c : cases) {
    PlatformRow& row = row_for(2019);
    VcEnv& env = env_for(2019);
    env.root = env.include_dir = env.lib_dir = env.lib64_dir = L"";
    ASSERT_EQ(resolve_vc_folder(page, c.picked, row, true), 2019) << c.picked;
    EXPECT_EQ(state_of(env), (EnvState{c.root, L"include\\", L"lib\\x86\\", L"lib\\x64\\"})) << c.picked;
    EXPECT_EQ(row.header_text, L"头文件路径 " + c.root + L"include\\");
    EXPECT_EQ(row.lib_text, L"库文件路径 " + c.root + L"lib\\x86\\ " + c.root + L"lib\\x64\\");
  }
}

TEST_F(VcDetection, EachGenerationResolvesToItsOwnLayout) {
  struct Case {
    int32_t version;
    const wchar_t* cl_tag;
    enum { kVc98, kVcFolder, kVs2017 } layout;
  } cases[] = {
      {6, L"12.0", Case::kVc98},        {2008, L"15.0", Case::kVcFolder}, {2010, L"16.0", Case::kVcFolder},
      {2012, L"17.0", Case::kVcFolder}, {2013, L"18.0", Case::kVcFolder}, {2015, L"19.0", Case::kVcFolder},
      {2017, L"19.16", Case::kVs2017},  {2019, L"19.29", Case::kVs2017},  {2022, L"19.30", Case::kVs2017},
      {2022, L"19.44", Case::kVs2017},  {2026, L"19.50", Case::kVs2017},
  };
  for (const Case& c : cases) {
    const std::wstring install = L"v" + std::wstring(c.cl_tag) + L"\\";
    EnvState expected;
    std::wstring lib_text;
    if (c.layout == Case::kVc98) {
      lay_vc98(tree(), base + install, c.cl_tag);
      const std::wstring root = on_drive(install + L"VC98\\");
      expected = {root, L"include\\", L"lib\\", L""};
      lib_text = L"库文件路径 " + root + L"lib\\";
    } else if (c.layout == Case::kVcFolder) {
      lay_vc_folder(tree(), base + install, c.cl_tag);
      const std::wstring root = on_drive(install + L"VC\\");
      expected = {root, L"include\\", L"lib\\", L"lib\\amd64\\"};
      lib_text = L"库文件路径 " + root + L"lib\\ " + root + L"lib\\amd64\\";
    } else {
      lay_vs2017(tree(), base + install + L"Professional\\", {{L"14.99.10000", c.cl_tag}});
      const std::wstring root = on_drive(install + L"professional\\vc\\Auxiliary\\VS\\");
      expected = {root, L"include\\", L"lib\\x86\\", L"lib\\x64\\"};
      lib_text = L"库文件路径 " + root + L"lib\\x86\\ " + root + L"lib\\x64\\";
    }
    PlatformRow& row = row_for(c.version);
    ASSERT_EQ(resolve_vc_folder(page, on_drive(install), row, false), c.version) << c.cl_tag;
    EXPECT_EQ(state_of(env_for(c.version)), expected) << c.cl_tag;
    EXPECT_EQ(row.header_text, L"头文件路径 " + expected.root + L"include\\");
    EXPECT_EQ(row.lib_text, lib_text);
  }
}

TEST_F(VcDetection, AVersionMismatchAnywhereEndsTheSearch) {
  lay_vc_folder(tree(), base + L"VS14\\", L"19.0");
  tree().folder(base + L"VS14\\VC\\include\\sys");
  lay_vc_folder(tree(), base + L"Odd\\", L"14.0");
  lay_vc98(tree(), base + L"VS6\\", L"12.0");
  lay_vs2017(tree(), base + L"VS2022\\Community\\", {{L"14.44.35207", L"19.44"}});
  struct Case {
    std::wstring picked;
    int32_t version;
  } cases[] = {
      {on_drive(L"VS14"), 2013},                    // at the first level with VC\bin\cl.exe
      {on_drive(L"VS14\\VC\\include\\sys"), 2013},  // three levels up
      {on_drive(L"Odd"), 2015},                     // a compiler no row has
      {on_drive(L"VS6"), 2008},
      {on_drive(L"VS2022\\Community"), 2019},
      {on_drive(L"VS2022"), 2026},  // through the edition folders
  };
  for (const Case& c : cases) {
    PlatformRow& row = row_for(c.version);
    const EnvState before = state_of(env_for(c.version));
    EXPECT_EQ(resolve_vc_folder(page, c.picked, row, true), kVcWrongVersion) << c.picked;
    EXPECT_EQ(state_of(env_for(c.version)), before);
    EXPECT_EQ(row.header_text, L"");
    EXPECT_EQ(row.lib_text, L"");
  }
}

TEST_F(VcDetection, TheFirstListedToolsetDecides) {
  const std::wstring edition = base + L"VS\\2019\\Community\\";
  lay_vs2017(tree(), edition, {{L"14.29.30133", L"19.29"}, {L"14.16.27023", L"19.16"}});
  // Folders that are not toolset versions never count, whatever their compiler.
  tree().copy_in(edition + L"VC\\Tools\\MSVC\\v141\\bin\\Hostx86\\x86\\cl.exe", cl_stand_in(L"19.0"));
  tree().copy_in(edition + L"VC\\Tools\\MSVC\\14.29\\bin\\Hostx86\\x86\\cl.exe", cl_stand_in(L"19.0"));
  const std::wstring first =
      first_listed(tree().path(edition + L"VC\\Tools\\MSVC\\"), {L"14.29.30133", L"14.16.27023"});
  ASSERT_NE(first, L"") << "neither toolset folder is listed";
  // The default toolset file names 14.29 but is not consulted.
  const bool newer_first = first == L"14.29.30133";
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"VS\\2019\\Community"), row_for(2019), false),
            newer_first ? 2019 : kVcWrongVersion);
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"VS\\2019\\Community"), row_for(2017), false),
            newer_first ? kVcWrongVersion : 2017);
}

TEST_F(VcDetection, AVcFolderWithoutACompilerSkipsTheRestOfItsLevel) {
  tree().folder(base + L"Mixed\\VC\\include");
  lay_vc98(tree(), base + L"Mixed\\", L"12.0");
  lay_vs2017(tree(), base + L"Mixed\\Community\\", {{L"14.29.30133", L"19.29"}});
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"Mixed"), row_for(6), false), kVcNotFound);
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"Mixed"), row_for(2019), false), kVcNotFound);
  // Climbing from there reaches the drive root and ends with nothing.
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"Mixed"), row_for(6), true), kVcNotFound);
  // One level down the same installations are reached through the climb's start.
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"Mixed\\VC98"), row_for(6), false), kVcNotFound);
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"Mixed\\Community"), row_for(2019), false), 2019);
}

TEST_F(VcDetection, TheClimbStopsAtTheDriveRoot) {
  tree().folder(base + L"unrelated\\deeper\\still");
  const std::wstring drive = DriveEnvironment::drive->root();
  for (const std::wstring& picked : {drive, drive.substr(0, 2), on_drive(L"unrelated\\deeper\\still")})
    EXPECT_EQ(resolve_vc_folder(page, picked, row_for(2019), true), kVcNotFound) << picked;
  // An edition folder right under the drive root is found on the last level.
  lay_vs2017(tree(), L"Community\\", {{L"14.29.30133", L"19.29"}});
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"unrelated\\deeper\\still"), row_for(2019), true), 2019);
  EXPECT_EQ(env_for(2019).root, drive + L"community\\vc\\Auxiliary\\VS\\");
  remove_tree(tree().path(L"Community"));
}

TEST_F(VcDetection, OddPicksAndRowsFindNothing) {
  lay_vc_folder(tree(), base + L"VS14\\", L"19.0");
  EXPECT_EQ(resolve_vc_folder(page, L"", row_for(2015), true), kVcNotFound);
  PlatformRow* docs = page.new_row(L"  Pivro 文档", L"", L"", -1, true, false);
  PlatformRow* beyond = page.new_row(L"beyond", L"", L"", kVcEnvCount, false, false);
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"VS14"), *docs, true), kVcNotFound);
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"VS14"), *beyond, true), kVcNotFound);
  EXPECT_EQ(resolve_vs2017_layout(page, on_drive(L"VS14\\VC\\"), *beyond), kVcNotFound);
  // A path far longer than any folder lookup allows climbs without trouble.
  std::wstring deep = on_drive(L"VS14\\VC\\include");
  while (deep.size() < 4000) deep += L"\\level";
  EXPECT_EQ(resolve_vc_folder(page, deep, row_for(2015), true), 2015);
}

TEST_F(VcDetection, FoldersMissingAfterASuccessAreEmptied) {
  lay_vs2017(tree(), base + L"NoX64\\Community\\", {{L"14.29.30133", L"19.29"}}, false);
  lay_vs2017(tree(), base + L"NoInclude\\Community\\", {{L"14.29.30133", L"19.29"}});
  remove_tree(tree().path(base + L"NoInclude\\Community\\VC\\Auxiliary\\VS\\include"));

  PlatformRow& no_x64 = row_for(2019);
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"NoX64"), no_x64, true), 2019);
  const std::wstring root = on_drive(L"NoX64\\community\\vc\\Auxiliary\\VS\\");
  EXPECT_EQ(state_of(env_for(2019)), (EnvState{root, L"include\\", L"lib\\x86\\", L""}));
  // The row keeps the full layout: it is written before the check.
  EXPECT_EQ(no_x64.lib_text, L"库文件路径 " + root + L"lib\\x86\\ " + root + L"lib\\x64\\");

  // Still a success, but with nothing left to install into.
  EXPECT_EQ(resolve_vc_folder(page, on_drive(L"NoInclude"), row_for(2019), true), 2019);
  EXPECT_EQ(state_of(env_for(2019)), (EnvState{L"", L"", L"", L""}));
}

TEST_F(VcDetection, FolderCheckEmptiesInOrderAndNeverLooksAtTheCurrentDirectory) {
  const std::wstring root = tree().folder(base + L"root");
  // The current directory holds every subfolder, so a relative lookup
  // would find them all.
  const std::wstring cwd = tree().folder(base + L"cwd");
  for (const wchar_t* sub : {L"include", L"lib\\x86", L"lib\\x64"}) tree().folder(base + L"cwd\\" + sub);
  CurrentDirectoryGuard in_cwd(cwd);
  ASSERT_TRUE(in_cwd.changed());

  struct Case {
    std::vector<const wchar_t*> present;
    EnvState expected;
  } cases[] = {
      {{L"include", L"lib\\x86", L"lib\\x64"}, {root, L"include\\", L"lib\\x86\\", L"lib\\x64\\"}},
      {{L"include", L"lib\\x86"}, {root, L"include\\", L"lib\\x86\\", L""}},
      {{L"lib\\x86", L"lib\\x64"}, {L"", L"", L"", L""}},
      {{L"include", L"lib\\x64"}, {L"", L"", L"", L""}},
      {{}, {L"", L"", L"", L""}},
  };
  for (const Case& c : cases) {
    remove_tree(root);
    tree().folder(base + L"root");
    for (const wchar_t* sub : c.present) tree().folder(base + L"root\\" + sub);
    VcEnv env;
    env.root = root;
    env.include_dir = L"include\\";
    env.lib_dir = L"lib\\x86\\";
    env.lib64_dir = L"lib\\x64\\";
    verify_vc_dirs(env);
    EXPECT_EQ(state_of(env), c.expected) << c.present.size();
  }
  for (const wchar_t* sub : {L"include", L"lib\\x86"}) tree().folder(base + L"root\\" + sub);
  VcEnv vc6;
  vc6.root = root;
  vc6.include_dir = L"include\\";
  vc6.lib_dir = L"lib\\x86\\";
  verify_vc_dirs(vc6);  // an empty x64 folder stays empty
  EXPECT_EQ(state_of(vc6), (EnvState{root, L"include\\", L"lib\\x86\\", L""}));
}
