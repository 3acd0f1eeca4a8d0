// A free drive letter mapped to a folder for the life of the object, so a
// test owns a whole drive and its root. On Windows the letter is a DOS device
// definition; Wine keeps those out of its file lookups, so there the letter
// is a symbolic link in the prefix's dosdevices folder.
#pragma once

#include <string>

class DriveMapping {
 public:
  explicit DriveMapping(const std::wstring& folder);
  ~DriveMapping();
  DriveMapping(const DriveMapping&) = delete;
  DriveMapping& operator=(const DriveMapping&) = delete;

  // "P:\" (the first free letter from P on), or "" when none could be mapped.
  std::wstring root() const { return drive_.empty() ? drive_ : drive_ + L"\\"; }

 private:
  bool map(const std::wstring& drive, const std::wstring& folder);
  void unmap(const std::wstring& drive);

  std::wstring drive_;   // "P:"
  std::wstring link_;    // Unix path of the link under Wine
  std::wstring target_;  // the DOS device target on Windows
};
