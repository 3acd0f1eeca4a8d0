// Points this process's desktop folder elsewhere for the lifetime of the
// object, the way folder redirection does on a managed machine: HKEY_CURRENT_USER
// is mapped onto a scratch key whose "User Shell Folders" name the given
// folder as the desktop. The shell reads it on every known-folder lookup, so
// a test works on a desktop of its own, or on one that is not there, and the
// real desktop is never touched. Nothing outlives the process.
#pragma once

#include <windows.h>

#include <string>

class DesktopRedirect {
 public:
  explicit DesktopRedirect(const std::wstring& desktop);
  ~DesktopRedirect();
  DesktopRedirect(const DesktopRedirect&) = delete;
  DesktopRedirect& operator=(const DesktopRedirect&) = delete;

 private:
  void undo();
  std::wstring scratch_path_;
  HKEY key_ = nullptr;
};
