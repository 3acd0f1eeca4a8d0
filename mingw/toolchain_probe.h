// Reads the facts of a MinGW gcc from its -v report and the runtime DLLs of
// its bin folder, and chooses the library build that fits it.
#pragma once

#include <cstdint>
#include <string>

class PlatformPage;
struct PlatformRow;

struct ToolchainInfo {
  int32_t version = 0;           // dotted version without its dots: 4.9.2 -> 492; 0 when unreadable
  std::wstring thread_model;     // "_posix" or "_mcf"
  std::wstring exception_model;  // "_seh", "_sjlj", "_dwarf" or "unkonw-ex"
  std::wstring runtime;          // "_ucrt" or "_msvcrt"
};

// Runs `mingw_folder`bin\gcc -v (the folder ends with a backslash) and reads
// its report.
ToolchainInfo probe_toolchain(const std::wstring& mingw_folder);

// The facts of one decoded report; the exception model is taken from the DLLs
// in `bin_folder` first and from the report only when none of them is there.
ToolchainInfo read_toolchain_report(const std::wstring& report, const std::wstring& bin_folder);

// The number after "gcc version" without its dots; 0 when there is no such
// line, no digits, or more digits than a 32-bit number holds.
int32_t read_gcc_version(const std::wstring& report);

// Picks the build for the environment of `row` (page.mingw_envs[row.env_index]):
// 1 with `flavour_dir` set, or -1 with `row.status` giving the reason and
// `row.usable` false. `bits` is 64 or 32; `devcpp_version` is 0 when the
// folder holds no Dev-C++ program, else its version such as 511.
int32_t choose_library_flavour(PlatformPage& page, PlatformRow& row, int bits, const ToolchainInfo& info,
                               int32_t devcpp_version);
