// The folder chooser: SHBrowseForFolderW over the wizard's window.
#include "desktop/folder_chooser.h"

#include <shlobj.h>

#include "app/win_handles.h"

HWND folder_chooser_owner(HWND foreground) {
  DWORD process = 0;
  if (!foreground || !GetWindowThreadProcessId(foreground, &process)) return nullptr;
  return process == GetCurrentProcessId() ? foreground : nullptr;
}

std::wstring folder_path_from_item(PCIDLIST_ABSOLUTE item) {
  if (!item) return std::wstring();
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(item, path)) return std::wstring();
  return path;
}

std::wstring choose_folder() {
  // Lets the press that opened the dialog finish before it takes the input.
  Sleep(100);
  BROWSEINFOW info = {};
  info.hwndOwner = folder_chooser_owner(GetForegroundWindow());
  info.ulFlags = kFolderChooserFlags;
  const unique_cotaskmem<ITEMIDLIST> picked(SHBrowseForFolderW(&info));  // null when cancelled
  return folder_path_from_item(picked.get());
}
