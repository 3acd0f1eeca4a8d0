#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>
// The tree view control of the dialog, read back to see what is selected.
#include <commctrl.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>

#include "app/win_handles.h"
#include "desktop/folder_chooser.h"
#include "tests/support/scratch_tree.h"

namespace {

// The thread that runs the chooser is a single-threaded apartment, as the
// wizard's is after the graphics library starts.
class FolderChooser : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }
};

struct DialogSearch {
  DWORD thread;
  HWND found;
};

BOOL CALLBACK find_dialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (GetWindowThreadProcessId(window, nullptr) == search->thread && IsWindowVisible(window) &&
      wcscmp(cls, L"#32770") == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A window this test made, destroyed however the test ends.
struct window_traits {
  using handle_type = HWND;
  static HWND invalid() noexcept { return nullptr; }
  static void close(HWND h) noexcept { DestroyWindow(h); }
};
using unique_window = unique_win<window_traits>;

void press(HWND dialog, int id) {
  SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Plays the person in front of the dialog: once the chooser's dialog is up,
// `act` works it from another thread. Returns what choose_folder returned;
// `dialog_seen` tells whether a dialog was there to act on.
std::wstring choose_with(const std::function<void(HWND)>& act, bool* dialog_seen) {
  const DWORD chooser_thread = GetCurrentThreadId();
  std::atomic<bool> done{false};
  *dialog_seen = false;
  std::thread person([&] {
    for (int waited = 0; waited < 20000 && !done; waited += 50) {
      DialogSearch search{chooser_thread, nullptr};
      EnumWindows(find_dialog, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        Sleep(200);  // let the folder tree fill
        *dialog_seen = true;
        act(search.found);
        // A press that did not close the dialog must not leave the test waiting.
        for (int left = 2000; left > 0 && IsWindow(search.found); left -= 50) Sleep(50);
        if (IsWindow(search.found)) press(search.found, IDCANCEL);
        return;
      }
      Sleep(50);
    }
  });
  const std::wstring result = choose_folder();
  done = true;
  person.join();
  return result;
}

std::wstring selected_item_text(HWND dialog) {
  HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
  wchar_t text[MAX_PATH] = {};
  TVITEMW item = {};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  if (!item.hItem || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return L"";
  return text;
}

// Selects `item` in the dialog's tree, as a person clicking it would; true
// when the tree shows it selected.
bool select_item(HWND dialog, PCIDLIST_ABSOLUTE item) {
  unique_cotaskmem<wchar_t> name;
  if (FAILED(SHGetNameFromIDList(item, SIGDN_NORMALDISPLAY, name.put()))) return false;
  // The first dialog of a process may still be filling its tree: try again
  // for up to ten seconds before taking a miss for an answer.
  for (int attempt = 0; attempt < 100; ++attempt) {
    SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(item));
    if (selected_item_text(dialog) == name.get()) return true;
    Sleep(100);
  }
  return false;
}

bool select_path(HWND dialog, const std::wstring& path) {
  const unique_cotaskmem<ITEMIDLIST> item(ILCreateFromPathW(path.c_str()));
  return item && select_item(dialog, item.get());
}

}  // namespace

// Folders that every machine has. (Folders under the user's own profile are
// avoided: the browse tree of this test platform finds them only now and then,
// because its desktop is the user's home folder.)
const wchar_t kProgramFolder[] = L"C:\\Program Files\\Common Files";

// In a new Wine prefix the browser's tree reaches the drive's folders only
// after a first browser has tried for a while; one browser that tries and is
// cancelled before the cases lets each see a settled tree.
class SettledShell : public ::testing::Environment {
 public:
  void SetUp() override {
    if (FAILED(CoInitialize(nullptr))) return;
    bool seen = false;
    choose_with(
        [](HWND dialog) {
          select_path(dialog, kProgramFolder);
          press(dialog, IDCANCEL);
        },
        &seen);
    CoUninitialize();
  }
};
const auto* const kSettledShell = ::testing::AddGlobalTestEnvironment(new SettledShell);

TEST_F(FolderChooser, CancelGivesNothing) {
  bool seen = false;
  const std::wstring result = choose_with(
      [&](HWND dialog) {
        EXPECT_TRUE(select_path(dialog, kProgramFolder));
        press(dialog, IDCANCEL);
      },
      &seen);
  EXPECT_TRUE(seen);
  EXPECT_EQ(result, L"");
}

TEST_F(FolderChooser, APickedFolderComesBackAsAFullPath) {
  const struct {
    std::wstring pick;
    std::wstring expected;
  } cases[] = {
      {kProgramFolder, kProgramFolder},  // no trailing backslash
      {L"C:\\", L"C:\\"},                // except for a drive root
  };
  for (const auto& c : cases) {
    bool seen = false;
    bool ok_enabled = false;
    const std::wstring result = choose_with(
        [&](HWND dialog) {
          EXPECT_TRUE(select_path(dialog, c.pick)) << c.pick;
          ok_enabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
          press(dialog, IDOK);
        },
        &seen);
    EXPECT_TRUE(seen) << c.pick;
    EXPECT_TRUE(ok_enabled) << c.pick;
    EXPECT_EQ(result, c.expected) << c.pick;
  }
}

TEST_F(FolderChooser, AVirtualFolderCannotBeConfirmed) {
  unique_cotaskmem<ITEMIDLIST> computer;
  ASSERT_EQ(SHGetKnownFolderIDList(FOLDERID_ComputerFolder, 0, nullptr, computer.put()), S_OK);
  bool seen = false;
  bool ok_enabled = true;
  const std::wstring result = choose_with(
      [&](HWND dialog) {
        EXPECT_TRUE(select_item(dialog, computer.get()));
        ok_enabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
        press(dialog, IDOK);
      },
      &seen);
  EXPECT_TRUE(seen);
  EXPECT_FALSE(ok_enabled);
  EXPECT_EQ(result, L"");
}

TEST_F(FolderChooser, ItemsBecomeFileSystemPathsOrNothing) {
  ScratchTree tree;
  const std::wstring folder = tree.folder(L"MinGW64");
  unique_cotaskmem<ITEMIDLIST> item(ILCreateFromPathW(folder.c_str()));
  unique_cotaskmem<ITEMIDLIST> root(ILCreateFromPathW(L"C:\\"));
  unique_cotaskmem<ITEMIDLIST> control_panel;
  ASSERT_EQ(SHGetKnownFolderIDList(FOLDERID_ControlPanelFolder, 0, nullptr, control_panel.put()), S_OK);
  EXPECT_EQ(folder_path_from_item(item.get()), folder.substr(0, folder.size() - 1));
  EXPECT_EQ(folder_path_from_item(root.get()), L"C:\\");
  EXPECT_EQ(folder_path_from_item(control_panel.get()), L"");
  EXPECT_EQ(folder_path_from_item(nullptr), L"");
}

TEST_F(FolderChooser, TheDialogIsOwnedOnlyByAWindowOfThisProgram) {
  const unique_window window(CreateWindowExW(0, L"STATIC", L"wizard", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                             200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  const HWND own = window.get();
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(folder_chooser_owner(own), own);
  EXPECT_EQ(folder_chooser_owner(nullptr), nullptr);
  // The desktop window stands for a window of another program: the shell's.
  DWORD shell_process = 0;
  GetWindowThreadProcessId(GetDesktopWindow(), &shell_process);
  ASSERT_NE(shell_process, GetCurrentProcessId());
  EXPECT_EQ(folder_chooser_owner(GetDesktopWindow()), nullptr);

  // In front when the button is pressed, so the dialog sits over it.
  SetForegroundWindow(own);
  ASSERT_EQ(GetForegroundWindow(), own);
  bool seen = false;
  HWND owner = nullptr;
  choose_with(
      [&](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        press(dialog, IDCANCEL);
      },
      &seen);
  EXPECT_TRUE(seen);
  EXPECT_EQ(owner, own);
}
