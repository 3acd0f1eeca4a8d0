// The desktop shortcut to the online documentation.
#include "desktop/docs_shortcut.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include "app/win_handles.h"
#include "vc/vc_install.h"

const wchar_t kDocsUrl[] = L"https://pivro.example.org/docs/";
const wchar_t kHelpShortcutName[] = L"Pivro_Help.lnk";
const wchar_t kDocsInstallFailed[] = L"Pivro 文档安装失败。";

namespace {

// Balances a successful CoInitialize. S_FALSE (the thread already is a
// single-threaded apartment) also took a reference, so it is released too.
class ComApartment {
 public:
  ComApartment() : entered_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (entered_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool entered() const { return entered_; }

 private:
  bool entered_;
};

}  // namespace

std::optional<std::wstring> desktop_folder() {
  unique_cotaskmem<wchar_t> path;  // freed whether the call succeeds or not
  // An empty answer is no folder: a link path formed from it would point at
  // the root of the current drive.
  if (FAILED(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, path.put())) || !path || !*path.get())
    return std::nullopt;
  return std::wstring(path.get());
}

std::optional<std::wstring> help_shortcut_path() {
  std::optional<std::wstring> desktop = desktop_folder();
  if (!desktop) return std::nullopt;
  // A desktop at a drive root ("D:\") already ends with the separator.
  if (desktop->back() != L'\\') desktop->push_back(L'\\');
  return *desktop + kHelpShortcutName;
}

std::wstring shortcut_working_directory(const std::wstring& target) {
  const std::wstring::size_type last = target.find_last_of(L"/\\");
  return last == std::wstring::npos ? target : target.substr(0, last);
}

bool create_shortcut(const std::wstring& target, const std::wstring& link_path) {
  // Declared first so that the interfaces below are released before it leaves.
  ComApartment apartment;
  if (!apartment.entered()) return false;
  unique_com<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.put()))))
    return false;
  // A URL is not a file, so SetPath answers S_FALSE for it; the link is still
  // made. What counts is whether the file was saved.
  link.get()->SetPath(target.c_str());
  link.get()->SetWorkingDirectory(shortcut_working_directory(target).c_str());
  unique_com<IPersistFile> file;
  if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))))
    return false;
  return SUCCEEDED(file.get()->Save(link_path.c_str(), FALSE));
}

std::wstring install_docs_shortcut() {
  const std::optional<std::wstring> path = help_shortcut_path();
  if (path && create_shortcut(kDocsUrl, *path)) return L"";
  return kDocsInstallFailed;
}

std::wstring uninstall_docs_shortcut() {
  const std::optional<std::wstring> path = help_shortcut_path();
  if (!path) return kUninstallFailed;
  return delete_if_exists(*path).empty() ? kUninstallSucceeded : kUninstallFailed;
}
