// Fake toolchains for the probe and locator tests: the gcc stand-in copied
// into a bin folder with the report it is to print.
#pragma once

#include <string>

// A real `gcc -v` report from the fixtures' gcc-v folder, bytes as stored.
std::string gcc_report(const wchar_t* file_name);

// Puts gcc.exe (the stand-in) and its canned report into `bin_folder`
// (absolute, ending with a backslash; created when missing).
void place_gcc(const std::wstring& bin_folder, const std::string& report);

// The arguments the stand-in in `bin_folder` received on its last run, or
// "" when it never ran there.
std::wstring gcc_arguments_seen(const std::wstring& bin_folder);
