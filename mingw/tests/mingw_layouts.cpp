#include "mingw/tests/mingw_layouts.h"

#include <windows.h>

#include "mingw/tests/toolchain_fixture.h"

void lay_out_mingw64(ScratchTree& tree, const std::wstring& at, const std::string& report, bool bi_arch) {
  place_gcc(tree.folder(at + L"bin"), report);
  tree.file(at + L"bin\\libgcc_s_seh-1.dll");
  tree.file(at + L"bin\\libwinpthread-1.dll");
  tree.folder(at + L"x86_64-w64-mingw32\\include");
  tree.folder(at + L"x86_64-w64-mingw32\\lib");
  tree.folder(at + L"x86_64-w64-mingw32\\bin");
  if (bi_arch) tree.folder(at + L"x86_64-w64-mingw32\\lib32");
  tree.folder(at + L"lib\\gcc\\x86_64-w64-mingw32");
}

void lay_out_mingw32_w64(ScratchTree& tree, const std::wstring& at, const std::string& report) {
  place_gcc(tree.folder(at + L"bin"), report);
  tree.file(at + L"bin\\libgcc_s_dw2-1.dll");
  tree.folder(at + L"i686-w64-mingw32\\include");
  tree.folder(at + L"i686-w64-mingw32\\lib");
}

void lay_out_classic_mingw(ScratchTree& tree, const std::wstring& at, const std::string& report,
                           bool include_in_mingw32) {
  place_gcc(tree.folder(at + L"bin"), report);
  tree.file(at + L"bin\\libgcc_s_dw2-1.dll");
  tree.folder(at + L"include");
  tree.folder(at + L"lib");
  tree.folder(at + L"libexec\\gcc\\mingw32");
  tree.folder(at + L"mingw32\\bin");
  tree.folder(at + L"mingw32\\lib\\ldscripts");
  if (include_in_mingw32) tree.folder(at + L"mingw32\\include");
}

void lay_out_devcpp(ScratchTree& tree, const std::wstring& at, const wchar_t* devcpp_fixture) {
  tree.copy_in(at + L"devcpp.exe", fixture_path(std::wstring(devcpp_fixture) + L"\\devcpp.exe"));
  tree.file(at + L"uninstall.exe");
  tree.folder(at + L"Lang");
  lay_out_mingw64(tree, at + L"MinGW64\\", gcc_report(L"tdm-gcc-4.9.2-tdm64-1.txt"), true);
  // TDM links libgcc statically: no runtime DLL in its bin.
  DeleteFileW(tree.path(at + L"MinGW64\\bin\\libgcc_s_seh-1.dll").c_str());
}

void lay_out_clion(ScratchTree& tree, const std::wstring& at, const std::string& report) {
  tree.file(at + L"bin\\clion64.exe");
  tree.file(at + L"bin\\Uninstall.exe");
  tree.folder(at + L"lib");
  lay_out_mingw64(tree, at + L"bin\\mingw\\", report, false);
}

void lay_out_codeblocks(ScratchTree& tree, const std::wstring& at, const std::string& report) {
  tree.file(at + L"codeblocks.exe");
  tree.folder(at + L"share\\CodeBlocks");
  lay_out_mingw64(tree, at + L"MinGW\\", report, false);
}

std::string accepted_report() {
  return gcc_report(L"mingw-w64-8.1.0-x86_64-posix-seh.txt");
}
