#include "tests/support/registry_sandbox.h"

#include <stdexcept>

namespace {

HKEY create_scratch(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("registry sandbox: cannot create a scratch key");
  return key;
}

}  // namespace

RegistrySandbox::RegistrySandbox() {
  static unsigned counter = 0;
  scratch_path_ = L"Software\\PivroTestSandbox\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                  std::to_wstring(++counter);
  hklm_ = create_scratch(scratch_path_ + L"\\HKLM");
  hku_ = create_scratch(scratch_path_ + L"\\HKU");
  if (RegOverridePredefKey(HKEY_LOCAL_MACHINE, hklm_) != ERROR_SUCCESS ||
      RegOverridePredefKey(HKEY_USERS, hku_) != ERROR_SUCCESS)
    throw std::runtime_error("registry sandbox: RegOverridePredefKey failed");
}

RegistrySandbox::~RegistrySandbox() {
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegOverridePredefKey(HKEY_USERS, nullptr);
  RegCloseKey(hklm_);
  RegCloseKey(hku_);
  RegDeleteTreeW(HKEY_CURRENT_USER, scratch_path_.c_str());
}

bool RegistrySandbox::create_key(HKEY root, const std::wstring& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

bool RegistrySandbox::set_bytes(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                                const void* bytes, DWORD size, REGSAM view) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG rc = RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(bytes), size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

bool RegistrySandbox::set_string(HKEY root, const std::wstring& path, const std::wstring& name,
                                 const std::wstring& value, REGSAM view) {
  return set_bytes(root, path, name, REG_SZ, value.c_str(),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)), view);
}

bool RegistrySandbox::set_dword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value,
                                REGSAM view) {
  return set_bytes(root, path, name, REG_DWORD, &value, sizeof value, view);
}

bool RegistrySandbox::set_processor_architecture(const std::wstring& value) {
  return set_string(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                    L"PROCESSOR_ARCHITECTURE", value);
}
