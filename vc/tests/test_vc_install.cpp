// Visual C++ install and uninstall with the sample payload that the build
// writes beside this test program, into fake installations in a scratch
// tree. Every target is compared byte for byte with its source, and every
// file of the target tree is accounted for.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "catalogue/platform_records.h"
#include "tests/support/current_directory.h"
#include "tests/support/scratch_tree.h"
#include "vc/vc_install.h"

namespace {

// The position of `version` in the catalogue, which the page's records follow.
int32_t index_of(int32_t version) {
  for (int32_t i = 0; i < kVcEnvCount; ++i)
    if (kVcCatalogue[i].version == version) return i;
  return -1;
}

// Every file below `folder`, as paths relative to it.
void collect_files(const std::wstring& folder, const std::wstring& prefix, std::set<std::wstring>& out) {
  WIN32_FIND_DATAW data;
  HANDLE listing = FindFirstFileW((folder + L"*").c_str(), &data);
  if (listing == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      collect_files(folder + name + L"\\", prefix + name + L"\\", out);
    else
      out.insert(prefix + name);
  } while (FindNextFileW(listing, &data));
  FindClose(listing);
}

std::set<std::wstring> files_under(const std::wstring& folder) {
  std::set<std::wstring> files;
  collect_files(folder, L"", files);
  return files;
}

// A target file and the payload file it must be a copy of.
struct Placed {
  std::wstring target;  // relative to the VC root
  std::wstring source;  // relative to the setup folder
};

std::vector<Placed> headers_and(const std::wstring& lib_dir, const std::wstring& lib_source,
                                const std::wstring& lib64_dir = L"", const std::wstring& lib64_source = L"") {
  std::vector<Placed> placed = {{L"include\\pivro.h", L"include\\pivro.h"},
                                {L"include\\graphics.h", L"include\\graphics.h"}};
  for (const wchar_t* lib : {L"Pivroa.lib", L"Pivrow.lib"})
    placed.push_back({lib_dir + lib, lib_source + lib});
  if (!lib64_dir.empty())
    for (const wchar_t* lib : {L"Pivroa.lib", L"Pivrow.lib"})
      placed.push_back({lib64_dir + lib, lib64_source + lib});
  return placed;
}

// Moves a payload folder away for the life of the object.
class PayloadFolderAside {
 public:
  explicit PayloadFolderAside(const std::wstring& relative)
      : folder_(setup_folder() + relative), aside_(folder_ + L".aside") {
    // A run that was cut short left the folder aside: put it back first.
    if (is_folder(aside_) && !is_folder(folder_)) MoveFileW(aside_.c_str(), folder_.c_str());
    moved_ = MoveFileW(folder_.c_str(), aside_.c_str()) != 0;
  }
  ~PayloadFolderAside() {
    if (moved_) MoveFileW(aside_.c_str(), folder_.c_str());
  }
  bool moved() const { return moved_; }

 private:
  std::wstring folder_, aside_;
  bool moved_ = false;
};

class VcInstall : public ::testing::Test {
 protected:
  VcInstall() : page(nullptr, 490, 328) { page.create_records(); }

  // Points the record of `version` at a VC root in the tree whose folders
  // exist; returns the root.
  std::wstring place(int32_t version, const std::wstring& relative_root, const std::wstring& include_dir,
                     const std::wstring& lib_dir, const std::wstring& lib64_dir, bool make_folders = true) {
    VcEnv& env = *page.vc_envs[index_of(version)];
    env.root = tree.folder(relative_root);
    env.include_dir = include_dir;
    env.lib_dir = lib_dir;
    env.lib64_dir = lib64_dir;
    if (make_folders)
      for (const std::wstring* dir : {&include_dir, &lib_dir, &lib64_dir})
        if (!dir->empty()) tree.folder(relative_root + *dir);
    return env.root;
  }
  std::wstring install(int32_t version) { return install_vc(page, index_of(version)); }
  std::wstring uninstall(int32_t version) { return uninstall_vc(page, index_of(version)); }

  // The target files exist and hold their sources' bytes, and nothing else
  // lies under the root.
  void expect_exactly(const std::wstring& root, const std::vector<Placed>& placed) {
    std::set<std::wstring> expected;
    for (const Placed& p : placed) {
      expected.insert(p.target);
      const std::string source = read_file_bytes(setup_folder() + p.source);
      ASSERT_FALSE(source.empty()) << "payload file missing: " << p.source;
      EXPECT_EQ(read_file_bytes(root + p.target), source) << p.target;
    }
    EXPECT_EQ(files_under(root), expected);
  }

  ScratchTree tree;
  PlatformPage page;
};

}  // namespace

TEST_F(VcInstall, ThePayloadLiesBesideTheProgramAsTheFileTableSays) {
  EXPECT_EQ(setup_folder(), test_program_folder());
  const std::wstring expected[kInstallFileCount] = {
      L"include\\pivro.h",
      L"include\\graphics.h",
      L"lib_vc6\\Pivroa.lib",
      L"lib_vc6\\Pivrow.lib",
      L"lib_vc2008\\x86\\Pivroa.lib",
      L"lib_vc2008\\x86\\Pivrow.lib",
      L"lib_vc2008\\x64\\Pivroa.lib",
      L"lib_vc2008\\x64\\Pivrow.lib",
      L"lib_vc2015\\x86\\Pivroa.lib",
      L"lib_vc2015\\x86\\Pivrow.lib",
      L"lib_vc2015\\x64\\Pivroa.lib",
      L"lib_vc2015\\x64\\Pivrow.lib",
  };
  std::set<std::string> contents;
  for (int i = 0; i < kInstallFileCount; ++i) {
    EXPECT_EQ(std::wstring(install_files[i].source_dir) + install_files[i].file_name, expected[i]) << i;
    contents.insert(read_file_bytes(setup_folder() + expected[i]));
  }
  // Twelve different sample files: a copy from the wrong source shows.
  EXPECT_EQ(contents.size(), static_cast<size_t>(kInstallFileCount));
}

TEST_F(VcInstall, EachGenerationGetsItsOwnFilesByteForByte) {
  struct Case {
    int32_t version;
    const wchar_t *lib_dir, *lib64_dir;
    std::vector<Placed> placed;
  } cases[] = {
      {6, L"Lib\\", L"", headers_and(L"Lib\\", L"lib_vc6\\")},
      {2008, L"lib\\", L"lib\\amd64\\",
       headers_and(L"lib\\", L"lib_vc2008\\x86\\", L"lib\\amd64\\", L"lib_vc2008\\x64\\")},
      {2013, L"lib\\", L"lib\\amd64\\",
       headers_and(L"lib\\", L"lib_vc2008\\x86\\", L"lib\\amd64\\", L"lib_vc2008\\x64\\")},
      {2015, L"lib\\", L"lib\\amd64\\",
       headers_and(L"lib\\", L"lib_vc2015\\x86\\", L"lib\\amd64\\", L"lib_vc2015\\x64\\")},
      {2019, L"lib\\x86\\", L"lib\\x64\\",
       headers_and(L"lib\\x86\\", L"lib_vc2015\\x86\\", L"lib\\x64\\", L"lib_vc2015\\x64\\")},
      {2026, L"lib\\x86\\", L"lib\\x64\\",
       headers_and(L"lib\\x86\\", L"lib_vc2015\\x86\\", L"lib\\x64\\", L"lib_vc2015\\x64\\")},
      // Without an x64 folder only the x86 libraries go.
      {2022, L"lib\\x86\\", L"", headers_and(L"lib\\x86\\", L"lib_vc2015\\x86\\")},
  };
  for (const Case& c : cases) {
    const std::wstring root =
        place(c.version, L"v" + std::to_wstring(c.version) + L"\\", L"include\\", c.lib_dir, c.lib64_dir);
    ASSERT_EQ(install(c.version), L"") << c.version;
    expect_exactly(root, c.placed);
    // A second run overwrites what the first one left.
    for (const Placed& p : c.placed) write_file_bytes(root + p.target, "stale copy");
    ASSERT_EQ(install(c.version), L"") << c.version;
    expect_exactly(root, c.placed);
  }
}

TEST_F(VcInstall, AFailedCopyStopsTheInstallAndKeepsWhatWasCopied) {
  const auto all_2019 = headers_and(L"lib\\x86\\", L"lib_vc2015\\x86\\", L"lib\\x64\\", L"lib_vc2015\\x64\\");
  auto first = [&](size_t n) { return std::vector<Placed>(all_2019.begin(), all_2019.begin() + n); };
  struct Case {
    const wchar_t* what;
    const wchar_t* missing_folder;   // relative to the root; "" for none
    const wchar_t* blocking_folder;  // a folder in the way of a target file
    size_t copied;                   // how many of the files, in install order, are in place
  } cases[] = {
      {L"no include folder", L"include", L"", 0},
      {L"graphics.h blocked", L"", L"include\\graphics.h", 1},
      {L"no x86 folder", L"lib\\x86", L"", 2},
      {L"the wide x86 library blocked", L"", L"lib\\x86\\Pivrow.lib", 3},
      {L"no x64 folder", L"lib\\x64", L"", 4},
      {L"the wide x64 library blocked", L"", L"lib\\x64\\Pivrow.lib", 5},
  };
  for (const Case& c : cases) {
    const std::wstring base = std::wstring(c.what) + L"\\";
    const std::wstring root = place(2019, base, L"include\\", L"lib\\x86\\", L"lib\\x64\\");
    if (*c.missing_folder) remove_tree(root + c.missing_folder);
    if (*c.blocking_folder) tree.folder(base + c.blocking_folder);
    EXPECT_EQ(install(2019), L"安装失败") << c.what;
    std::vector<Placed> placed = first(c.copied);
    for (const Placed& p : placed)
      EXPECT_EQ(read_file_bytes(root + p.target), read_file_bytes(setup_folder() + p.source));
    std::set<std::wstring> expected;
    for (const Placed& p : placed) expected.insert(p.target);
    EXPECT_EQ(files_under(root), expected) << c.what;
  }
}

TEST_F(VcInstall, ASetupFolderWithoutItsX64LibrariesFailsAfterTheX86Ones) {
  const std::wstring root = place(2019, L"VC\\Auxiliary\\VS\\", L"include\\", L"lib\\x86\\", L"lib\\x64\\");
  PayloadFolderAside aside(L"lib_vc2015\\x64");
  ASSERT_TRUE(aside.moved());
  EXPECT_EQ(install(2019), L"安装失败");
  expect_exactly(root, headers_and(L"lib\\x86\\", L"lib_vc2015\\x86\\"));
}

TEST_F(VcInstall, ARowWithoutARootTouchesNothing) {
  // The folder check may leave a row usable with an empty root; its targets
  // would then be relative to the current directory, which holds files of
  // the same names here.
  const std::wstring cwd = tree.folder(L"cwd");
  for (const wchar_t* file : {L"include\\pivro.h", L"include\\graphics.h", L"lib\\x86\\Pivroa.lib",
                              L"lib\\x86\\Pivrow.lib", L"lib\\x64\\Pivroa.lib", L"lib\\x64\\Pivrow.lib"})
    tree.file(std::wstring(L"cwd\\") + file, "the user's own file");
  const std::set<std::wstring> before = files_under(cwd);
  {
    CurrentDirectoryGuard in_cwd(cwd);
    ASSERT_TRUE(in_cwd.changed());
    for (int32_t version : {6, 2015, 2019, 2022}) {
      VcEnv& env = *page.vc_envs[index_of(version)];
      env.root = L"";
      env.include_dir = L"include\\";
      env.lib_dir = L"lib\\x86\\";
      env.lib64_dir = L"lib\\x64\\";
      EXPECT_EQ(install(version), L"安装失败") << version;
      EXPECT_EQ(uninstall(version), L"卸载失败") << version;
    }
    EXPECT_EQ(install_vc(page, -1), L"安装失败");
    EXPECT_EQ(uninstall_vc(page, kVcEnvCount), L"卸载失败");
  }
  EXPECT_EQ(files_under(cwd), before);
  for (const std::wstring& f : before) EXPECT_EQ(read_file_bytes(cwd + f), "the user's own file");
}

TEST_F(VcInstall, UninstallDeletesInOrderAndStopsAtTheFirstFailure) {
  const auto all = headers_and(L"lib\\x86\\", L"lib_vc2015\\x86\\", L"lib\\x64\\", L"lib_vc2015\\x64\\");
  struct Case {
    const wchar_t* what;
    size_t already_gone;  // index in install order of a file removed beforehand; npos for none
    const wchar_t* result;
    size_t left_from;  // files from this index on are still there
  } cases[] = {
      {L"everything there", std::wstring::npos, L"卸载成功", all.size()},
      {L"pivro.h gone", 0, L"卸载失败", 1},
      {L"graphics.h gone", 1, L"卸载失败", 2},
      {L"the wide x64 library gone", 5, L"卸载失败", 6},
  };
  for (const Case& c : cases) {
    const std::wstring root =
        place(2022, std::wstring(c.what) + L"\\", L"include\\", L"lib\\x86\\", L"lib\\x64\\");
    ASSERT_EQ(install(2022), L"");
    if (c.already_gone != std::wstring::npos) DeleteFileW((root + all[c.already_gone].target).c_str());
    EXPECT_EQ(uninstall(2022), c.result) << c.what;
    std::set<std::wstring> left;
    for (size_t i = c.left_from; i < all.size(); ++i)
      if (i != c.already_gone) left.insert(all[i].target);
    EXPECT_EQ(files_under(root), left) << c.what;
    for (const wchar_t* dir : {L"include", L"lib\\x86", L"lib\\x64"}) EXPECT_TRUE(is_folder(root + dir));
  }
  // A second uninstall finds nothing to delete.
  EXPECT_EQ(uninstall(2022), L"卸载失败");
}

TEST_F(VcInstall, UninstallSkipsFoldersTheRecordDoesNotHave) {
  const std::wstring vc6 = place(6, L"VC98\\", L"include\\", L"Lib\\", L"");
  tree.file(L"VC98\\lib64\\Pivroa.lib", "not ours to delete");
  ASSERT_EQ(install(6), L"");
  VcEnv& env6 = *page.vc_envs[index_of(6)];
  env6.lib64_dir = L"lib64\\";  // no x64 pair: nothing is deleted there
  EXPECT_EQ(uninstall(6), L"卸载成功");
  EXPECT_EQ(files_under(vc6), std::set<std::wstring>{L"lib64\\Pivroa.lib"});

  // A record without folders has nothing to delete, which is a failure.
  const std::wstring bare = place(2015, L"bare\\", L"", L"", L"");
  tree.file(L"bare\\pivro.h", "kept");
  EXPECT_EQ(uninstall(2015), L"卸载失败");
  EXPECT_EQ(read_file_bytes(bare + L"pivro.h"), "kept");
}

TEST_F(VcInstall, StaleCopiesInTheDefaultToolsetGoFor2017And2019Only) {
  const wchar_t* ours[] = {L"include\\pivro.h",     L"include\\graphics.h",  L"lib\\x86\\Pivroa.lib",
                           L"lib\\x86\\Pivrow.lib", L"lib\\x64\\Pivroa.lib", L"lib\\x64\\Pivrow.lib"};
  struct Case {
    int32_t version;
    bool install;  // else uninstall
    bool removed;
  } cases[] = {
      {2017, true, true}, {2019, true, true}, {2019, false, true}, {2022, true, false}, {2026, false, false},
  };
  for (const Case& c : cases) {
    const std::wstring vc = std::to_wstring(c.version) + (c.install ? L"i" : L"u") + L"\\VC\\";
    place(c.version, vc + L"Auxiliary\\VS\\", L"include\\", L"lib\\x86\\", L"lib\\x64\\");
    tree.file(vc + L"Auxiliary\\Build\\Microsoft.VCToolsVersion.default.txt", "14.29.30133\r\n");
    const std::wstring msvc = tree.path(vc + L"Tools\\MSVC\\");
    for (const wchar_t* toolset : {L"14.29.30133\\", L"14.16.27023\\"}) {
      for (const wchar_t* file : ours) tree.file(vc + L"Tools\\MSVC\\" + toolset + file, "stale");
      tree.file(vc + L"Tools\\MSVC\\" + toolset + L"include\\vcruntime.h", "the compiler's own");
    }
    // One stale copy already gone: passed over silently.
    DeleteFileW((msvc + L"14.29.30133\\lib\\x86\\Pivrow.lib").c_str());
    if (c.install) {
      EXPECT_EQ(install(c.version), L"") << c.version;
    } else {
      ASSERT_EQ(install(c.version), L"");
      EXPECT_EQ(uninstall(c.version), L"卸载成功") << c.version;
    }
    std::set<std::wstring> expected;
    for (const wchar_t* toolset : {L"14.29.30133\\", L"14.16.27023\\"}) {
      expected.insert(std::wstring(toolset) + L"include\\vcruntime.h");
      const bool is_default = std::wstring(toolset) == L"14.29.30133\\";
      for (const wchar_t* file : ours) {
        const std::wstring f = std::wstring(toolset) + file;
        if (is_default && (c.removed || f == L"14.29.30133\\lib\\x86\\Pivrow.lib")) continue;
        expected.insert(f);
      }
    }
    EXPECT_EQ(files_under(msvc), expected) << c.version << (c.install ? " install" : " uninstall");
  }
}

TEST_F(VcInstall, TheToolsetCopyRemovalNeedsItsLayoutAndAPlainToolsetName) {
  struct Case {
    const wchar_t* what;
    const wchar_t* vs_folder;  // under VC, holding the root
    const char* default_file;  // nullptr: no file
    bool removed;
  } cases[] = {
      {L"crlf", L"Auxiliary\\VS\\", "14.29.30133\r\n", true},
      {L"no line end", L"Auxiliary\\VS\\", "14.29.30133", true},
      {L"byte order mark", L"Auxiliary\\VS\\",
       "\xEF\xBB\xBF"
       "14.29.30133\r\n",
       true},
      {L"second line ignored", L"Auxiliary\\VS\\", "14.29.30133\nrest\n", true},
      {L"no default file", L"Auxiliary\\VS\\", nullptr, false},
      {L"empty default file", L"Auxiliary\\VS\\", "", false},
      {L"root of another spelling", L"auxiliary\\vs\\", "14.29.30133\r\n", false},
      {L"root elsewhere", L"Other\\", "14.29.30133\r\n", false},
      {L"a path instead of a name", L"Auxiliary\\VS\\", "..\\..\\..\\Elsewhere\r\n", false},
  };
  for (const Case& c : cases) {
    const std::wstring vc = std::wstring(c.what) + L"\\VC\\";
    place(2019, vc + c.vs_folder, L"include\\", L"lib\\x86\\", L"lib\\x64\\");
    if (c.default_file)
      tree.file(vc + L"Auxiliary\\Build\\Microsoft.VCToolsVersion.default.txt", c.default_file);
    const std::wstring stale = tree.file(vc + L"Tools\\MSVC\\14.29.30133\\include\\pivro.h", "stale");
    // What a crafted default file would point at, outside the toolsets.
    const std::wstring elsewhere =
        tree.file(std::wstring(c.what) + L"\\Elsewhere\\include\\pivro.h", "someone else's");
    remove_legacy_toolset_copies(page, index_of(2019));
    EXPECT_EQ(path_exists(stale), !c.removed) << c.what;
    EXPECT_TRUE(path_exists(elsewhere)) << c.what;
  }
}

TEST(VcFileOperations, CopyReportsItsOutcomeAndCreatesNoFolder) {
  ScratchTree tree;
  const std::wstring source = tree.file(L"src\\pivro.h", std::string("sample\r\n\0bytes", 14));
  const std::wstring target = tree.file(L"dst\\pivro.h", "older and longer contents");
  EXPECT_EQ(copy_install_file(source, target), L"");
  EXPECT_EQ(read_file_bytes(target), read_file_bytes(source));
  EXPECT_EQ(copy_install_file(tree.path(L"src\\missing.h"), tree.path(L"dst\\missing.h")), L"安装失败");
  EXPECT_FALSE(path_exists(tree.path(L"dst\\missing.h")));
  EXPECT_EQ(copy_install_file(source, tree.path(L"nowhere\\pivro.h")), L"安装失败");
  EXPECT_FALSE(path_exists(tree.path(L"nowhere")));
}

TEST(VcFileOperations, DeleteIfExistsDeletesOnlyWhatIsNamed) {
  ScratchTree tree;
  const std::wstring file = tree.file(L"d\\Pivro_Help.lnk", "link");
  const std::wstring other = tree.file(L"d\\pivro.h", "kept");
  const std::wstring folder = tree.folder(L"d\\graphics.h");
  EXPECT_EQ(delete_if_exists(file), L"");
  EXPECT_FALSE(path_exists(file));
  EXPECT_EQ(delete_if_exists(file), L"") << "absent counts as done";
  EXPECT_EQ(delete_if_exists(tree.path(L"gone\\pivro.h")), L"");
  EXPECT_EQ(delete_if_exists(tree.path(L"d\\graphics.h")), L"操作失败。") << "a folder is not deleted";
  EXPECT_TRUE(is_folder(folder));
  EXPECT_EQ(delete_if_exists(tree.path(L"d\\*.h")), L"操作失败。") << "a pattern deletes nothing";
  EXPECT_TRUE(path_exists(other));
}
