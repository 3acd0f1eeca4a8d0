// The documentation row's desktop shortcut: the desktop folder, the link's
// path on it, the link itself (written by the shell's link object), and the
// install and uninstall that the list page offers on that row.
#pragma once

#include <optional>
#include <string>

// The library's online documentation: the shortcut's target and the
// documentation row's first detail line.
extern const wchar_t kDocsUrl[];
extern const wchar_t kHelpShortcutName[];   // "Pivro_Help.lnk"
extern const wchar_t kDocsInstallFailed[];  // "Pivro 文档安装失败。"

// The user's desktop folder as the shell reports it, without a trailing
// backslash (a drive root such as "D:\" keeps its own), or none when the shell
// cannot give it (for instance a desktop redirected to a folder that is not
// there) or gives an empty path.
std::optional<std::wstring> desktop_folder();

// The desktop folder + "\Pivro_Help.lnk", or none without a desktop folder.
std::optional<std::wstring> help_shortcut_path();

// The working directory stored with a link to `target`: the target up to, not
// including, its last '/' or '\'; the whole target when it has neither.
std::wstring shortcut_working_directory(const std::wstring& target);

// Writes a shell link at `link_path` to `target` (an existing file there is
// replaced). True only when the link file was saved. Fails without touching
// anything when COM cannot be entered as a single-threaded apartment on this
// thread (for instance a thread that joined the multithreaded one).
bool create_shortcut(const std::wstring& target, const std::wstring& link_path);

// Install: "" when the shortcut to kDocsUrl is on the desktop, otherwise
// "Pivro 文档安装失败。" (also when there is no desktop folder).
std::wstring install_docs_shortcut();

// Uninstall: "卸载成功" when the shortcut was removed or was not there,
// "卸载失败" when it could not be removed or there is no desktop folder.
std::wstring uninstall_docs_shortcut();
