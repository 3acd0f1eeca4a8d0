#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <string>
#include <thread>

#include "app/win_handles.h"
#include "desktop/docs_shortcut.h"
#include "desktop/tests/desktop_redirect.h"
#include "tests/support/current_directory.h"
#include "tests/support/scratch_tree.h"

namespace {

// What the shell reads back from a link file.
struct LinkContents {
  bool loaded = false;
  std::wstring path;  // the target as a file-system path
  std::wstring working_directory;
  std::wstring item_name;  // the target's last item, as its parent parses it
};

LinkContents read_link(const std::wstring& link_path) {
  LinkContents contents;
  const HRESULT init = CoInitialize(nullptr);
  {
    unique_com<IShellLinkW> link;
    unique_com<IPersistFile> file;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(link.put()))) &&
        SUCCEEDED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))) &&
        SUCCEEDED(file.get()->Load(link_path.c_str(), STGM_READ))) {
      contents.loaded = true;
      wchar_t text[1024] = {};
      if (SUCCEEDED(link.get()->GetPath(text, 1024, nullptr, SLGP_RAWPATH))) contents.path = text;
      text[0] = 0;
      if (SUCCEEDED(link.get()->GetWorkingDirectory(text, 1024))) contents.working_directory = text;
      unique_cotaskmem<ITEMIDLIST> items;
      unique_cotaskmem<wchar_t> name;
      if (SUCCEEDED(link.get()->GetIDList(items.put())) && items &&
          SUCCEEDED(SHGetNameFromIDList(items.get(), SIGDN_PARENTRELATIVEPARSING, name.put())))
        contents.item_name = name.get();
    }
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return contents;
}

// Runs `body` on a new thread and waits for it, for cases that need a COM
// apartment of their own.
template <typename Body>
void on_own_thread(Body body) {
  std::thread(body).join();
}

}  // namespace

TEST(DocsShortcut, PathIsTheDesktopFolderAndTheLinkName) {
  ScratchTree tree;
  tree.folder(L"Desktop");
  const std::wstring desktop = tree.path(L"Desktop");  // no trailing backslash, as the shell gives it
  const struct {
    std::wstring redirected_to;
    const wchar_t* folder;  // null: none
    const wchar_t* link;
  } cases[] = {
      {desktop, desktop.c_str(), nullptr},
      {L"C:\\", L"C:\\", L"C:\\Pivro_Help.lnk"},  // a drive root keeps its one backslash
      {tree.path(L"Gone"), nullptr, nullptr},     // a redirected desktop that is not there
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.redirected_to);
    DesktopRedirect redirect(c.redirected_to);
    const std::optional<std::wstring> folder = desktop_folder();
    const std::optional<std::wstring> link = help_shortcut_path();
    if (!c.folder) {
      EXPECT_FALSE(folder.has_value());
      EXPECT_FALSE(link.has_value());
      continue;
    }
    EXPECT_EQ(folder.value_or(L"none"), c.folder);
    EXPECT_EQ(link.value_or(L"none"), c.link ? std::wstring(c.link) : desktop + L"\\Pivro_Help.lnk");
  }
}

TEST(DocsShortcut, WorkingDirectoryIsTheTargetBeforeItsLastSeparator) {
  const struct {
    const wchar_t* target;
    const wchar_t* directory;
  } cases[] = {
      {kDocsUrl, L"https://pivro.example.org/docs"},
      {L"C:\\Docs\\index.html", L"C:\\Docs"},
      {L"C:\\Docs/sub\\page", L"C:\\Docs/sub"},  // the last of either separator
      {L"readme", L"readme"},                    // neither separator: the whole target
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(shortcut_working_directory(c.target), c.directory) << c.target;
}

TEST(DocsShortcut, LinkToAFileReadsBackWithTargetAndWorkingDirectory) {
  ScratchTree tree;
  const std::wstring target = tree.file(L"Docs\\index.html", "sample page");
  const std::wstring link = tree.path(L"index.lnk");
  ASSERT_TRUE(create_shortcut(target, link));
  const LinkContents contents = read_link(link);
  ASSERT_TRUE(contents.loaded);
  EXPECT_EQ(contents.path, target);
  EXPECT_EQ(contents.working_directory, tree.path(L"Docs"));
  EXPECT_EQ(contents.item_name, L"index.html");

  // The save is the outcome: a link in a folder that does not exist is no link.
  EXPECT_FALSE(create_shortcut(target, tree.path(L"missing\\index.lnk")));
  EXPECT_FALSE(path_exists(tree.path(L"missing")));
}

TEST(DocsShortcut, InstallPutsTheDocumentationLinkOnTheDesktopAndRewritesAnOldOne) {
  ScratchTree tree;
  tree.folder(L"Desktop");
  const std::wstring desktop = tree.path(L"Desktop");
  const std::wstring link = desktop + L"\\Pivro_Help.lnk";
  DesktopRedirect redirect(desktop);

  EXPECT_EQ(install_docs_shortcut(), L"");
  // A URL is no file, so the link's file-system path says little (this test
  // platform makes one from the current folder); the item the link points at
  // is the address itself.
  LinkContents contents = read_link(link);
  ASSERT_TRUE(contents.loaded);
  EXPECT_EQ(contents.item_name, kDocsUrl);
  EXPECT_EQ(contents.working_directory, L"https://pivro.example.org/docs");

  // A damaged shortcut in its place is replaced by a good one.
  ASSERT_TRUE(write_file_bytes(link, "not a link"));
  ASSERT_FALSE(read_link(link).loaded);
  EXPECT_EQ(install_docs_shortcut(), L"");
  contents = read_link(link);
  ASSERT_TRUE(contents.loaded);
  EXPECT_EQ(contents.item_name, kDocsUrl);
  EXPECT_EQ(install_docs_shortcut(), L"");  // and once more over a good one
  EXPECT_TRUE(read_link(link).loaded);
}

TEST(DocsShortcut, UninstallRemovesTheLinkAndSucceedsWithoutOne) {
  ScratchTree tree;
  tree.folder(L"Desktop");
  const std::wstring desktop = tree.path(L"Desktop");
  const std::wstring neighbour = tree.file(L"Desktop\\Pivro_Help.txt", "the user's own file");
  DesktopRedirect redirect(desktop);
  ASSERT_EQ(install_docs_shortcut(), L"");
  EXPECT_EQ(uninstall_docs_shortcut(), L"卸载成功");
  EXPECT_FALSE(path_exists(desktop + L"\\Pivro_Help.lnk"));
  EXPECT_EQ(uninstall_docs_shortcut(), L"卸载成功");  // nothing there
  EXPECT_TRUE(path_exists(neighbour));
}

TEST(DocsShortcut, UninstallReportsALinkThatCannotBeDeleted) {
  ScratchTree tree;
  tree.folder(L"Desktop");
  const std::wstring desktop = tree.path(L"Desktop");
  const std::wstring link = desktop + L"\\Pivro_Help.lnk";
  DesktopRedirect redirect(desktop);
  {  // held open by a program that does not share deletion
    ASSERT_EQ(install_docs_shortcut(), L"");
    unique_file held(
        CreateFileW(link.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(uninstall_docs_shortcut(), L"卸载失败");
    EXPECT_TRUE(path_exists(link));
  }
  {  // protected
    ASSERT_TRUE(SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(uninstall_docs_shortcut(), L"卸载失败");
    EXPECT_TRUE(path_exists(link));
    SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  EXPECT_EQ(uninstall_docs_shortcut(), L"卸载成功");
}

TEST(DocsShortcut, WithoutADesktopFolderNothingIsWrittenOrDeleted) {
  ScratchTree tree;
  // A link of the same name in the current folder and none at the drive root:
  // a path formed from an empty desktop folder would reach one of them.
  const std::wstring bystander = tree.file(L"Pivro_Help.lnk", "not ours");
  const std::wstring at_drive_root = tree.root().substr(0, 3) + L"Pivro_Help.lnk";
  {
    CurrentDirectoryGuard in_tree(tree.root());
    ASSERT_TRUE(in_tree.changed());
    ASSERT_FALSE(path_exists(at_drive_root));
    DesktopRedirect redirect(tree.path(L"Gone"));
    EXPECT_EQ(install_docs_shortcut(), L"Pivro 文档安装失败。");
    EXPECT_EQ(uninstall_docs_shortcut(), L"卸载失败");
  }
  EXPECT_FALSE(path_exists(at_drive_root));
  EXPECT_FALSE(path_exists(tree.path(L"Gone")));
  EXPECT_EQ(read_file_bytes(bystander), "not ours");
}

TEST(DocsShortcut, AMultithreadedApartmentRefusesTheInstall) {
  ScratchTree tree;
  tree.folder(L"Desktop");
  const std::wstring desktop = tree.path(L"Desktop");
  DesktopRedirect redirect(desktop);
  std::wstring result;
  on_own_thread([&] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    result = install_docs_shortcut();
    CoUninitialize();
  });
  EXPECT_EQ(result, L"Pivro 文档安装失败。");
  EXPECT_FALSE(path_exists(desktop + L"\\Pivro_Help.lnk"));
}

TEST(DocsShortcut, TheShortcutLeavesTheThreadsComStateAsItFoundIt) {
  ScratchTree tree;
  const std::wstring target = tree.file(L"page.html");
  // Once the caller's one reference is given back, the thread must be free to
  // join the multithreaded apartment; a reference kept by the shortcut code
  // would leave it a single-threaded apartment.
  HRESULT after_sta = E_FAIL, after_none = E_FAIL;
  on_own_thread([&] {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_TRUE(create_shortcut(target, tree.path(L"a.lnk")));
    CoUninitialize();
    after_sta = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(after_sta)) CoUninitialize();
  });
  on_own_thread([&] {
    EXPECT_TRUE(create_shortcut(target, tree.path(L"b.lnk")));
    after_none = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(after_none)) CoUninitialize();
  });
  EXPECT_EQ(after_sta, S_OK);
  EXPECT_EQ(after_none, S_OK);
}
