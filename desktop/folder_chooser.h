// The shell's folder browser, for the rows whose environment was not found:
// one blocking call that returns the folder the user picked, or nothing.
// COM must already be a single-threaded apartment on the calling thread.
#pragma once

#include <shlobj.h>
#include <windows.h>

#include <string>

// BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_UAHINT: only file-system
// folders can be confirmed.
constexpr UINT kFolderChooserFlags = 0x141;

// Waits 100 ms, then shows the modal folder browser (rooted at the desktop,
// no title) over the foreground window. The picked folder as a full path, no
// trailing backslash except for a drive root ("C:\"); "" when cancelled or
// when the pick is not a file-system folder.
std::wstring choose_folder();

// The owner for the dialog: the foreground window when it is one of this
// program's own, else none, so that another program's window is never the one
// disabled while the dialog is open.
HWND folder_chooser_owner(HWND foreground);

// The file-system path of an item picked in the browser, read into a
// MAX_PATH buffer; "" for none or for an item that is not a file-system folder.
std::wstring folder_path_from_item(PCIDLIST_ABSOLUTE item);
