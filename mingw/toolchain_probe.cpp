// Toolchain probe: gcc -v through the command interpreter, the runtime DLLs
// of the bin folder, and the rules that map the facts onto a library build.
#include "mingw/toolchain_probe.h"

#include <climits>
#include <regex>

#include "app/text_convert.h"
#include "catalogue/platform_page.h"
#include "mingw/command_runner.h"
#include "mingw/folder_search.h"

namespace {

std::wregex key_word(const wchar_t* pattern) {
  return std::wregex(pattern, std::regex::ECMAScript | std::regex::icase);
}

bool mentions(const std::wstring& report, const wchar_t* pattern) {
  return std::regex_search(report, key_word(pattern));
}

struct NamedPattern {
  const wchar_t* pattern;
  const wchar_t* model;
};

// The DLL names settle the exception model before the report's words do, and
// the two lists are tried in different orders on purpose.
constexpr NamedPattern kExceptionDlls[] = {
    {L"^libgcc_s_seh.*?-1\\.dll$", L"_seh"},
    {L"^libgcc_s_sjlj.*?-1\\.dll$", L"_sjlj"},
    {L"^libgcc_s_dw2.*?-1\\.dll$", L"_dwarf"},
};
constexpr NamedPattern kExceptionWords[] = {
    {L"sjlj", L"_sjlj"},
    {L"seh", L"_seh"},
    {L"dwarf", L"_dwarf"},
};

std::wstring exception_model(const std::wstring& report, const std::wstring& bin_folder) {
  for (const NamedPattern& dll : kExceptionDlls)
    if (!find_entry_matching(bin_folder, dll.pattern).empty()) return dll.model;
  for (const NamedPattern& word : kExceptionWords)
    if (mentions(report, word.pattern)) return word.model;
  return L"unkonw-ex";
}

std::wstring thread_model(const std::wstring& report) {
  // The win32 thread model has no library build of its own: it takes posix's.
  if (mentions(report, L"Thread model.\\s*?posix") || mentions(report, L"Thread model.\\s*?win32"))
    return L"_posix";
  return L"_mcf";
}

std::wstring runtime(const std::wstring& report) {
  return mentions(report, L"ucrt") ? L"_ucrt" : L"_msvcrt";
}

// gcc -v through the interpreter. The extra outer quotes are for cmd: with
// more than two quotes on the line it strips the first and the last one, so
// the quoted path survives folders with blanks and ( ) & ^ @ in their names.
std::wstring gcc_version_command(const std::wstring& mingw_folder) {
  return L"\"\"" + mingw_folder + L"bin\\gcc\" -v\"";
}

}  // namespace

int32_t read_gcc_version(const std::wstring& report) {
  std::wsmatch match;
  if (!std::regex_search(report, match, key_word(L"gcc version\\s*?([\\d\\.]+)"))) return 0;
  // "4.9.2" reads as 492. No digits (a capture of dots alone) or a number
  // beyond 32 bits cannot be placed in any build: 0, which no rule accepts.
  int64_t number = 0;
  bool any_digit = false;
  for (wchar_t c : match[1].str()) {
    if (c == L'.') continue;
    if (c < L'0' || c > L'9') return 0;  // \d of a wide regex may take other digits
    number = number * 10 + (c - L'0');
    if (number > INT32_MAX) return 0;
    any_digit = true;
  }
  return any_digit ? static_cast<int32_t>(number) : 0;
}

ToolchainInfo read_toolchain_report(const std::wstring& report, const std::wstring& bin_folder) {
  ToolchainInfo info;
  info.exception_model = exception_model(report, bin_folder);
  info.thread_model = thread_model(report);
  info.runtime = runtime(report);
  info.version = read_gcc_version(report);
  return info;
}

ToolchainInfo probe_toolchain(const std::wstring& mingw_folder) {
  const std::string bytes = CommandRunner::run(gcc_version_command(mingw_folder));
  // Every byte is decoded, so a stray zero byte does not hide the rest.
  const int length = bytes.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(bytes.size());
  return read_toolchain_report(utf8_to_utf16_n(bytes.data(), length), mingw_folder + L"bin\\");
}

int32_t choose_library_flavour(PlatformPage& page, PlatformRow& row, int bits, const ToolchainInfo& info,
                               int32_t devcpp_version) {
  MingwEnv* env = mingw_env_at(page, row.env_index);
  auto refuse = [&row](std::wstring reason) {
    row.status = std::move(reason);
    row.usable = false;
    return -1;
  };
  if (env == nullptr) return refuse(kStatusNotDetected);
  // Dev-C++ decides by its own version: 5.11 and later ship a gcc 4.9.2.
  if (devcpp_version != 0 && devcpp_version < 511) return refuse(L"（DevCPP 不再支持低于 5.11 的版本）");
  if (devcpp_version >= 511) {
    env->flavour_dir = L"lib_mingw_492";
    return 1;
  }
  if (_wcsicmp(info.runtime.c_str(), L"_ucrt") == 0 && info.version >= 900) {
    env->flavour_dir = L"lib_mingw_ucrt";
    return 1;
  }
  if (_wcsicmp(info.runtime.c_str(), L"_msvcrt") == 0 && info.version >= 810) {
    env->flavour_dir = L"lib_mingw_msvcrt";
    return 1;
  }
  return refuse(L"不支持的 " + std::wstring(bits == 64 ? L"x86_64" : L"i686") + info.thread_model +
                info.exception_model + info.runtime);
}
