// A registry of the test's own: HKEY_LOCAL_MACHINE and HKEY_USERS are mapped
// onto scratch keys under HKCU\Software\PivroTestSandbox for the lifetime of
// the object, so a test can lay out any machine and the code under test reads
// it through the ordinary predefined keys. The scratch keys are removed and
// the mapping undone on destruction. One sandbox at a time per process.
#pragma once

#include <windows.h>

#include <string>

class RegistrySandbox {
 public:
  RegistrySandbox();
  ~RegistrySandbox();
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;

  // Writers for the layout. `root` is HKEY_LOCAL_MACHINE or HKEY_USERS (mapped
  // into the sandbox). Keys on the way are created. Each returns false when
  // the registry refused. `view` is 0 for the test's own view, or
  // KEY_WOW64_32KEY to write as a 32-bit installer does: into WOW6432Node
  // where that tree exists, whatever the bitness of the test program.
  bool create_key(HKEY root, const std::wstring& path, REGSAM view = 0);
  bool set_string(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value,
                  REGSAM view = 0);
  // Raw bytes of any type: values without a terminator, odd sizes, REG_BINARY.
  bool set_bytes(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* bytes,
                 DWORD size, REGSAM view = 0);
  bool set_dword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value, REGSAM view = 0);

  // PROCESSOR_ARCHITECTURE under HKLM's session environment.
  bool set_processor_architecture(const std::wstring& value);

  // Where the sandbox lives under HKEY_CURRENT_USER.
  const std::wstring& scratch_path() const { return scratch_path_; }

 private:
  std::wstring scratch_path_;
  HKEY hklm_ = nullptr;
  HKEY hku_ = nullptr;
};
