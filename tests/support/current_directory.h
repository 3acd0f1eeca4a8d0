// The process's current directory moved to a folder for the life of the
// object and put back on destruction, so a test that fails half way does not
// leave the process inside a folder it is about to remove.
#pragma once

#include <string>

class CurrentDirectoryGuard {
 public:
  explicit CurrentDirectoryGuard(const std::wstring& folder);
  ~CurrentDirectoryGuard();
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

  // True when the previous directory was saved and `folder` is now current.
  // The directory is left alone when the previous one could not be read.
  bool changed() const { return changed_; }

 private:
  std::wstring previous_;
  bool changed_ = false;
};
