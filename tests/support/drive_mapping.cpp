#include "tests/support/drive_mapping.h"

#include <windows.h>

#include <cstring>
#include <cwctype>

#include "tests/support/scratch_tree.h"

namespace {

// The Unix side of a Wine prefix, through the loader's own export; null on Windows.
using UnixNameFn = char*(CDECL*)(const wchar_t*);

UnixNameFn wine_unix_name() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr) return nullptr;
  // Through void (*)(): the one function type any other may be cast from.
  return reinterpret_cast<UnixNameFn>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

std::wstring widen(const char* text) {
  return std::wstring(text, text + strlen(text));
}

// Runs a Unix program under Wine. Its handle tells nothing about its end, so
// the caller waits for the effect instead.
void start_program(const std::wstring& program, std::wstring command_line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// Waits up to ten seconds for `folder` to appear (or to go).
bool wait_for_folder(const std::wstring& folder, bool present) {
  for (int i = 0; i < 200; ++i, Sleep(50))
    if (is_folder(folder) == present) return true;
  return false;
}

}  // namespace

DriveMapping::DriveMapping(const std::wstring& folder) {
  for (wchar_t letter = L'P'; letter <= L'Y' && drive_.empty(); ++letter) {
    const std::wstring drive{letter, L':'};
    if (GetDriveTypeW((drive + L"\\").c_str()) != DRIVE_NO_ROOT_DIR) continue;
    if (map(drive, folder)) drive_ = drive;
  }
}

DriveMapping::~DriveMapping() {
  if (!drive_.empty()) unmap(drive_);
}

bool DriveMapping::map(const std::wstring& drive, const std::wstring& folder) {
  if (UnixNameFn unix_name = wine_unix_name()) {
    const char* c_drive = unix_name(L"C:\\");  // <prefix>/dosdevices/c:/
    const char* target = unix_name(folder.c_str());
    if (c_drive == nullptr || target == nullptr) return false;
    std::wstring devices = widen(c_drive);
    devices.resize(devices.size() - 3);  // drop "c:/"
    link_ = devices + static_cast<wchar_t>(std::towlower(drive[0])) + L":";
    start_program(L"Z:\\bin\\ln", L"/bin/ln -s \"" + widen(target) + L"\" \"" + link_ + L"\"");
  } else {
    target_ = folder;
    DefineDosDeviceW(0, drive.c_str(), folder.c_str());
  }
  if (wait_for_folder(drive + L"\\", true)) return true;
  unmap(drive);
  link_.clear();
  target_.clear();
  return false;
}

void DriveMapping::unmap(const std::wstring& drive) {
  if (!link_.empty())
    start_program(L"Z:\\bin\\rm", L"/bin/rm -f \"" + link_ + L"\"");
  else
    DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive.c_str(), target_.c_str());
  // The link must be gone before the process ends, or it outlives the run.
  wait_for_folder(drive + L"\\", false);
}
