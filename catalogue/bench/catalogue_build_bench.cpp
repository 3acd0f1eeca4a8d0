// Catalogue build times: first on the machine the benchmark runs on (the
// sample machine of its script), then on scratch machines with 0 to 3 MinGW
// kinds found (Dev-C++, CLion, Code::Blocks), each of which costs one run
// of its gcc. The scratch machines live in a registry sandbox and a scratch
// folder tree, with the stand-in gcc of the test fixtures.
//   bash scripts/bench-catalogue-build.sh [builds per machine]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/platform_page.h"
#include "graphics/bench/bench_clock.h"
#include "mingw/tests/toolchain_fixture.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch_tree.h"

namespace {

const wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

double now_ms() {
  return bench_now_us() / 1000.0;
}

struct Timing {
  double median_ms;
  double best_ms;
  size_t found_rows;
};

// Builds the catalogue `builds` times, each on a fresh page as the wizard has.
Timing time_builds(int builds) {
  std::vector<double> ms;
  size_t found = 0;
  for (int i = 0; i < builds; ++i) {
    PlatformPage page(nullptr, 490, 328);
    const double start = now_ms();
    page.build_catalogue();
    ms.push_back(now_ms() - start);
    found = page.found_rows.size();
  }
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.front(), found};
}

// The installations of one MinGW kind, laid out in the scratch machine; their
// uninstall entries written through the 32-bit view, as their installers do.
void add_devcpp(ScratchTree& tree, RegistrySandbox& registry) {
  tree.copy_in(L"Dev-Cpp\\devcpp.exe", fixture_path(L"devcpp511\\devcpp.exe"));
  tree.file(L"Dev-Cpp\\uninstall.exe", "uninstaller");
  place_gcc(tree.path(L"Dev-Cpp\\MinGW64\\bin\\"), gcc_report(L"tdm-gcc-4.9.2-tdm64-1.txt"));
  tree.folder(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\include");
  tree.folder(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\lib");
  tree.folder(L"Dev-Cpp\\MinGW64\\x86_64-w64-mingw32\\lib32");
  const std::wstring key = std::wstring(kUninstall) + L"Dev-C++";
  registry.set_string(HKEY_LOCAL_MACHINE, key, L"DisplayName", L"Dev-C++", KEY_WOW64_32KEY);
  registry.set_string(HKEY_LOCAL_MACHINE, key, L"UninstallString", tree.path(L"Dev-Cpp\\uninstall.exe"),
                      KEY_WOW64_32KEY);
}
void add_clion(ScratchTree& tree, RegistrySandbox& registry) {
  const std::wstring clion = tree.path(L"JetBrains\\CLion 2024.3.1");
  tree.file(L"JetBrains\\CLion 2024.3.1\\bin\\clion64.exe", "ide");
  place_gcc(clion + L"\\bin\\mingw\\bin\\", gcc_report(L"winlibs-15.2.0-x86_64-ucrt-posix-seh.txt"));
  tree.file(L"JetBrains\\CLion 2024.3.1\\bin\\mingw\\bin\\libgcc_s_seh-1.dll");
  tree.folder(L"JetBrains\\CLion 2024.3.1\\bin\\mingw\\x86_64-w64-mingw32\\include");
  tree.folder(L"JetBrains\\CLion 2024.3.1\\bin\\mingw\\x86_64-w64-mingw32\\lib");
  const std::wstring key = std::wstring(kUninstall) + L"CLion 2024.3.1";
  registry.set_string(HKEY_LOCAL_MACHINE, key, L"DisplayName", L"CLion 2024.3.1", KEY_WOW64_32KEY);
  registry.set_string(HKEY_LOCAL_MACHINE, key, L"InstallLocation", clion, KEY_WOW64_32KEY);
}
void add_codeblocks(ScratchTree& tree, RegistrySandbox& registry) {
  place_gcc(tree.path(L"CodeBlocks\\MinGW\\bin\\"), gcc_report(L"mingw-org-6.3.0-1.txt"));
  tree.file(L"CodeBlocks\\MinGW\\bin\\libgcc_s_dw2-1.dll");
  tree.folder(L"CodeBlocks\\MinGW\\include");
  tree.folder(L"CodeBlocks\\MinGW\\lib");
  tree.folder(L"CodeBlocks\\MinGW\\mingw32\\lib");
  registry.create_key(HKEY_USERS, L".DEFAULT\\Software");
  registry.set_string(HKEY_USERS, L"S-1-5-21-1004336348-1177238915-682003330-1001\\SoftWare\\CodeBlocks",
                      L"Path", tree.path(L"CodeBlocks"));
}

// The gcc stand-ins that ran in the last builds: each leaves its arguments.
int gcc_runs_seen(ScratchTree& tree) {
  int runs = 0;
  for (const wchar_t* bin : {L"Dev-Cpp\\MinGW64\\bin\\", L"JetBrains\\CLion 2024.3.1\\bin\\mingw\\bin\\",
                             L"CodeBlocks\\MinGW\\bin\\"}) {
    const std::wstring folder = tree.path(bin);
    if (is_folder(folder) && !gcc_arguments_seen(folder).empty()) ++runs;
  }
  return runs;
}

}  // namespace

int main(int argc, char** argv) {
  const int builds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

  const Timing machine = time_builds(builds);
  std::printf("this machine            median %7.1f ms, best %7.1f ms, %zu rows found (%d builds)\n",
              machine.median_ms, machine.best_ms, machine.found_rows, builds);

  // Scratch machines: a 64-bit Windows with nothing but the MinGW kinds added.
  std::printf("scratch machines, by MinGW kinds found (one gcc run each):\n");
  void (*const kinds[])(ScratchTree&, RegistrySandbox&) = {add_devcpp, add_clion, add_codeblocks};
  const char* const kind_names[] = {"Dev-C++", "CLion", "Code::Blocks"};
  double previous_ms = 0;
  double none_ms = 0;
  std::string names;
  for (int count = 0; count <= 3; ++count) {
    ScratchTree tree;
    RegistrySandbox registry;
    registry.set_processor_architecture(L"AMD64");
    registry.create_key(HKEY_LOCAL_MACHINE, L"Software\\WOW6432Node");
    for (int k = 0; k < count; ++k) kinds[k](tree, registry);
    if (count > 0) names += std::string(count > 1 ? ", " : "") + kind_names[count - 1];
    const Timing t = time_builds(builds);
    std::printf("  %d kinds  median %7.1f ms, best %7.1f ms, %zu rows found, %d gcc runs seen", count,
                t.median_ms, t.best_ms, t.found_rows, gcc_runs_seen(tree));
    if (count > 0) std::printf(", %+.1f ms over %d kinds", t.median_ms - previous_ms, count - 1);
    std::printf("%s%s%s\n", count > 0 ? " (" : "", names.c_str(), count > 0 ? ")" : "");
    if (count == 0) none_ms = t.median_ms;
    previous_ms = t.median_ms;
  }
  std::printf("  per MinGW kind found, averaged over 3  %.1f ms\n", (previous_ms - none_ms) / 3);
  return 0;
}
