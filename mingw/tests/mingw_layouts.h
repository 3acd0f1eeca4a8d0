// Toolchains and IDE folders laid out in a scratch tree as their
// distributions lay them out, with the gcc stand-in replaying a report.
// `at` is relative to the tree and ends with a backslash.
#pragma once

#include <string>

#include "tests/support/scratch_tree.h"

// A MinGW-w64 x86_64 build (mingw64\): bin\gcc.exe with libgcc_s_seh-1.dll,
// headers and libraries under x86_64-w64-mingw32\ (lib32\ for a bi-arch build).
void lay_out_mingw64(ScratchTree& tree, const std::wstring& at, const std::string& report, bool bi_arch);

// A MinGW-w64 i686 build (mingw32\): libgcc_s_dw2-1.dll, i686-w64-mingw32\.
void lay_out_mingw32_w64(ScratchTree& tree, const std::wstring& at, const std::string& report);

// The classic MinGW (MinGW\): headers in include\, libraries in lib\, and a
// mingw32\ folder for the binutils, with include\ only when asked for.
void lay_out_classic_mingw(ScratchTree& tree, const std::wstring& at, const std::string& report,
                           bool include_in_mingw32);

// Dev-C++ (Dev-Cpp\): the program with the version of `devcpp_fixture`
// ("devcpp511" or "devcpp510"), its uninstaller, and the bundled TDM-GCC in
// MinGW64\.
void lay_out_devcpp(ScratchTree& tree, const std::wstring& at, const wchar_t* devcpp_fixture);

// CLion: its toolchain in bin\mingw\.
void lay_out_clion(ScratchTree& tree, const std::wstring& at, const std::string& report);

// Code::Blocks: its toolchain in MinGW\.
void lay_out_codeblocks(ScratchTree& tree, const std::wstring& at, const std::string& report);

// A report that every rule accepts for the msvcrt build.
std::string accepted_report();
