#include <gtest/gtest.h>

#include "catalogue/platform_page.h"
#include "mingw/tests/toolchain_fixture.h"
#include "mingw/toolchain_probe.h"
#include "tests/support/scratch_tree.h"

namespace {

struct Facts {
  int32_t version;
  const wchar_t* thread_model;
  const wchar_t* exception_model;
  const wchar_t* runtime;
};

void expect_facts(const ToolchainInfo& info, const Facts& facts, const std::string& what) {
  EXPECT_EQ(info.version, facts.version) << what;
  EXPECT_EQ(info.thread_model, facts.thread_model) << what;
  EXPECT_EQ(info.exception_model, facts.exception_model) << what;
  EXPECT_EQ(info.runtime, facts.runtime) << what;
}

// A page with its records, and the row of one MinGW kind.
struct Catalogue {
  Catalogue() : page(nullptr, 490, 328) {
    page.create_records();
    row = page.new_row(L"  其它 MinGW", L"", L"", kMingwOther, true, true);
  }
  MingwEnv& env() { return *page.mingw_envs[kMingwOther]; }
  PlatformPage page;
  PlatformRow* row;
};

}  // namespace

// The published reports, replayed by the stand-in from bin folders holding
// the runtime DLLs that each distribution ships.
TEST(ToolchainProbe, ReadsThePublishedReports) {
  struct Case {
    const wchar_t* report;
    const wchar_t* dll;  // in bin, or null
    Facts facts;
    int bits;
    const wchar_t* flavour;  // or null when refused
    const wchar_t* status;
  } cases[] = {
      {L"mingw-w64-8.1.0-x86_64-posix-seh.txt",
       L"libgcc_s_seh-1.dll",
       {810, L"_posix", L"_seh", L"_msvcrt"},
       64,
       L"lib_mingw_msvcrt",
       L""},
      {L"mingw-w64-8.1.0-x86_64-win32-seh.txt",
       L"libgcc_s_seh-1.dll",
       {810, L"_posix", L"_seh", L"_msvcrt"},
       64,
       L"lib_mingw_msvcrt",
       L""},
      // Its configure line says --disable-sjlj-exceptions: only the DLL tells seh.
      {L"winlibs-15.2.0-x86_64-ucrt-posix-seh.txt",
       L"libgcc_s_seh-1.dll",
       {1520, L"_posix", L"_seh", L"_ucrt"},
       64,
       L"lib_mingw_ucrt",
       L""},
      {L"winlibs-15.2.0-x86_64-ucrt-posix-seh.txt",
       nullptr,
       {1520, L"_posix", L"_sjlj", L"_ucrt"},
       64,
       L"lib_mingw_ucrt",
       L""},
      {L"msys2-mingw64-14.2.0.txt",
       L"libgcc_s_seh-1.dll",
       {1420, L"_posix", L"_seh", L"_msvcrt"},
       64,
       L"lib_mingw_msvcrt",
       L""},
      // TDM links libgcc statically: no DLL and no exception word in the text.
      {L"tdm-gcc-4.9.2-tdm64-1.txt",
       nullptr,
       {492, L"_posix", L"unkonw-ex", L"_msvcrt"},
       64,
       nullptr,
       L"不支持的 x86_64_posixunkonw-ex_msvcrt"},
      {L"mingw-org-6.3.0-1.txt",
       L"libgcc_s_dw2-1.dll",
       {630, L"_posix", L"_dwarf", L"_msvcrt"},
       32,
       nullptr,
       L"不支持的 i686_posix_dwarf_msvcrt"},
  };
  for (const Case& c : cases) {
    ScratchTree tree;
    const std::wstring mingw = tree.folder(L"mingw64");
    place_gcc(mingw + L"bin\\", gcc_report(c.report));
    if (c.dll) tree.file(std::wstring(L"mingw64\\bin\\") + c.dll);
    const std::string what = testing::PrintToString(std::wstring(c.report));
    const ToolchainInfo info = probe_toolchain(mingw);
    expect_facts(info, c.facts, what);

    Catalogue catalogue;
    const int32_t result = choose_library_flavour(catalogue.page, *catalogue.row, c.bits, info, 0);
    EXPECT_EQ(result, c.flavour ? 1 : -1) << what;
    EXPECT_EQ(catalogue.env().flavour_dir, c.flavour ? c.flavour : L"") << what;
    EXPECT_EQ(catalogue.row->usable, c.flavour != nullptr) << what;
    if (!c.flavour) {
      EXPECT_EQ(catalogue.row->status, c.status) << what;
    }
  }
}

TEST(ToolchainProbe, ReportRules) {
  ScratchTree tree;
  const std::wstring no_dlls = tree.folder(L"bin");
  struct Case {
    const char* report;
    Facts facts;
  } cases[] = {
      {"Thread model: posix\r\ngcc version 8.1.0 (x86_64-posix-seh-rev0)\r\n",
       {810, L"_posix", L"_seh", L"_msvcrt"}},
      {"Thread model: win32\r\ngcc version 7.3.0\r\n", {730, L"_posix", L"unkonw-ex", L"_msvcrt"}},
      {"Thread model: mcf\r\ngcc version 13.2.0\r\n", {1320, L"_mcf", L"unkonw-ex", L"_msvcrt"}},
      {"gcc version 9.0.0\r\n", {900, L"_mcf", L"unkonw-ex", L"_msvcrt"}},  // no thread model line
      // ucrt anywhere, even in the configure line only
      {"Configured with: --with-sysroot=/ucrt64\r\nThread model: posix\r\ngcc version 13.2.0\r\n",
       {1320, L"_posix", L"unkonw-ex", L"_ucrt"}},
      // every key word in any case
      {"THREAD MODEL: POSIX\r\nGCC VERSION 12.2.0 (UCRT, DWARF)\r\n", {1220, L"_posix", L"_dwarf", L"_ucrt"}},
      // the text search takes sjlj before seh
      {"gcc version 8.1.0 (i686-posix-sjlj, seh elsewhere)\r\n", {810, L"_mcf", L"_sjlj", L"_msvcrt"}},
      // a byte that is not UTF-8 does not hide the words around it
      {"\xB0\xE6\xB1\xBE Thread model: posix\r\n\xFF gcc version 8.1.0\r\n",
       {810, L"_posix", L"unkonw-ex", L"_msvcrt"}},
      // no readable version: a localised report, dots only, none at all, beyond 32 bits
      {"Thread model: posix\r\ngcc \xE7\x89\x88\xE6\x9C\xAC 8.1.0 (GCC)\r\n",
       {0, L"_posix", L"unkonw-ex", L"_msvcrt"}},
      {"gcc version ..\r\n", {0, L"_mcf", L"unkonw-ex", L"_msvcrt"}},
      {"", {0, L"_mcf", L"unkonw-ex", L"_msvcrt"}},
      {"gcc version 99999999999.1\r\n", {0, L"_mcf", L"unkonw-ex", L"_msvcrt"}},
  };
  for (const Case& c : cases) {
    ScratchTree bin_tree;
    place_gcc(bin_tree.folder(L"m\\bin"), c.report);
    expect_facts(probe_toolchain(bin_tree.path(L"m\\")), c.facts, c.report);
  }
  // The DLLs decide before the words, and among themselves seh comes first.
  tree.file(L"bin\\libgcc_s_dw2-1.dll");
  EXPECT_EQ(read_toolchain_report(L"seh sjlj", no_dlls).exception_model, L"_dwarf");
  tree.file(L"bin\\libgcc_s_seh-1.dll");
  EXPECT_EQ(read_toolchain_report(L"", no_dlls).exception_model, L"_seh");
  tree.file(L"bin\\libgcc_s_sjlj-1.dll");
  EXPECT_EQ(read_toolchain_report(L"", no_dlls).exception_model, L"_seh");
}

TEST(ToolchainProbe, ChoosingTheBuild) {
  struct Case {
    int32_t devcpp;
    int32_t version;
    const wchar_t* runtime;
    int bits;
    int32_t result;
    const wchar_t* flavour_or_status;
  } cases[] = {
      {511, 492, L"_msvcrt", 64, 1, L"lib_mingw_492"},  // Dev-C++ 5.11 takes the 4.9.2 build whatever its gcc
      {600, 0, L"_ucrt", 64, 1, L"lib_mingw_492"},
      {510, 1320, L"_ucrt", 64, -1, L"（DevCPP 不再支持低于 5.11 的版本）"},
      {-5, 1320, L"_ucrt", 64, -1, L"（DevCPP 不再支持低于 5.11 的版本）"},
      {0, 900, L"_ucrt", 64, 1, L"lib_mingw_ucrt"},
      {0, 899, L"_ucrt", 64, -1, L"不支持的 x86_64_posix_seh_ucrt"},
      {0, 810, L"_ucrt", 32, -1, L"不支持的 i686_posix_seh_ucrt"},
      {0, 810, L"_msvcrt", 64, 1, L"lib_mingw_msvcrt"},
      {0, 810, L"_MSVCRT", 64, 1, L"lib_mingw_msvcrt"},
      {0, 730, L"_msvcrt", 64, -1, L"不支持的 x86_64_posix_seh_msvcrt"},
      {0, 0, L"_msvcrt", 32, -1, L"不支持的 i686_posix_seh_msvcrt"},  // no readable version
  };
  for (const Case& c : cases) {
    Catalogue catalogue;
    catalogue.env().flavour_dir = L"lib_mingw_earlier";
    ToolchainInfo info;
    info.version = c.version;
    info.thread_model = L"_posix";
    info.exception_model = L"_seh";
    info.runtime = c.runtime;
    const std::string what = testing::PrintToString(std::wstring(c.flavour_or_status)) + " devcpp " +
                             std::to_string(c.devcpp) + " gcc " + std::to_string(c.version);
    EXPECT_EQ(choose_library_flavour(catalogue.page, *catalogue.row, c.bits, info, c.devcpp), c.result)
        << what;
    if (c.result == 1) {
      EXPECT_EQ(catalogue.env().flavour_dir, c.flavour_or_status) << what;
      EXPECT_TRUE(catalogue.row->usable) << what;
      EXPECT_EQ(catalogue.row->status, kStatusNotDetected) << what;
    } else {
      EXPECT_EQ(catalogue.env().flavour_dir, L"lib_mingw_earlier") << what;  // a refusal keeps it
      EXPECT_FALSE(catalogue.row->usable) << what;
      EXPECT_EQ(catalogue.row->status, c.flavour_or_status) << what;
    }
  }
}

// cmd strips the first and last quote of a line that holds ( ) & ^ @ or more
// than two quotes; the probe's own outer quotes keep the gcc path whole.
TEST(ToolchainProbe, RunsGccFromFoldersWithTheInterpretersSpecialCharacters) {
  const wchar_t* folders[] = {
      L"Program Files (x86)\\Dev-Cpp\\MinGW64\\",
      L"R&D tools\\mingw64\\",
      L"a^b @home\\mingw64\\",
      L"plain\\mingw64\\",
      L"编译器 工具\\mingw64\\",
  };
  for (const wchar_t* folder : folders) {
    ScratchTree tree;
    const std::wstring mingw = tree.folder(folder);
    place_gcc(mingw + L"bin\\", gcc_report(L"mingw-w64-8.1.0-x86_64-posix-seh.txt"));
    const std::string what = testing::PrintToString(std::wstring(folder));
    EXPECT_EQ(probe_toolchain(mingw).version, 810) << what;
    EXPECT_EQ(gcc_arguments_seen(mingw + L"bin\\"), L"-v") << what;
  }
}

TEST(ToolchainProbe, AMissingGccIsRefusedWithWhatTheTextGives) {
  ScratchTree tree;
  const std::wstring mingw = tree.folder(L"mingw64");
  tree.folder(L"mingw64\\bin");
  const ToolchainInfo info = probe_toolchain(mingw);
  expect_facts(info, {0, L"_mcf", L"unkonw-ex", L"_msvcrt"}, "no gcc.exe");
  Catalogue catalogue;
  EXPECT_EQ(choose_library_flavour(catalogue.page, *catalogue.row, 64, info, 0), -1);
  EXPECT_EQ(catalogue.row->status, L"不支持的 x86_64_mcfunkonw-ex_msvcrt");
}
