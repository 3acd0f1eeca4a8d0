#include <gtest/gtest.h>

#include "tests/support/registry_sandbox.h"
#include "vc/registry_probes.h"

namespace {

const wchar_t kUninstall32[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kUninstall64[] = L"Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kTool[] = L"Software\\CodeBlocks";

class RegistryProbes : public ::testing::Test {
 protected:
  RegistrySandbox sandbox;

  void add_uninstall(const wchar_t* tree, const std::wstring& key, const std::wstring& display_name,
                     const std::wstring& location) {
    const std::wstring path = std::wstring(tree) + L"\\" + key;
    ASSERT_TRUE(sandbox.create_key(HKEY_LOCAL_MACHINE, path));
    if (!display_name.empty()) sandbox.set_string(HKEY_LOCAL_MACHINE, path, L"DisplayName", display_name);
    if (!location.empty()) sandbox.set_string(HKEY_LOCAL_MACHINE, path, L"InstallLocation", location);
  }
};

}  // namespace

TEST_F(RegistryProbes, ListsSubkeysInEnumerationOrder) {
  for (const wchar_t* name : {L"c76fc08c", L"7-Zip", L"{A1B2}"})
    sandbox.create_key(HKEY_LOCAL_MACHINE, std::wstring(kUninstall32) + L"\\" + name);
  const auto names = reg_list_subkeys(HKEY_LOCAL_MACHINE, kUninstall32);
  ASSERT_EQ(names.size(), 3u);
  // Whatever order the registry keeps, it is the enumeration index order.
  for (DWORD i = 0; i < 3; ++i) {
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstall32, 0, KEY_READ, &key), ERROR_SUCCESS);
    wchar_t name[256];
    DWORD size = 256;
    RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(names[i], name);
  }
  EXPECT_TRUE(reg_list_subkeys(HKEY_LOCAL_MACHINE, L"Software\\Nothing\\Here").empty());
  EXPECT_TRUE(
      reg_list_subkeys(HKEY_LOCAL_MACHINE, (std::wstring(kUninstall32) + L"\\7-Zip").c_str()).empty());
}

TEST_F(RegistryProbes, ListsTheRootItselfWithoutAPath) {
  sandbox.create_key(HKEY_USERS, L".DEFAULT\\Software");
  sandbox.create_key(HKEY_USERS, L"S-1-5-18");
  auto names = reg_list_subkeys(HKEY_USERS, nullptr);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L".DEFAULT", L"S-1-5-18"}));
}

TEST_F(RegistryProbes, ReadsStringsDirectly) {
  sandbox.set_string(HKEY_LOCAL_MACHINE, L"Software\\A", L"Path", L"C:\\CodeBlocks");
  sandbox.set_string(HKEY_LOCAL_MACHINE, L"Software\\A", L"Empty", L"");
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, L"Software\\A", L"Path"), L"C:\\CodeBlocks");
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, L"Software\\A", L"Empty"), L"");
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, L"Software\\A", L"Missing"), L"");
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, L"Software\\B", L"Path"), L"");
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, L"Software\\A", nullptr), L"");
}

TEST_F(RegistryProbes, ValueBytesAreTakenAsTextWhateverTheType) {
  const std::wstring key = L"Software\\Odd";
  const wchar_t multi[] = L"first\0second\0";
  sandbox.set_bytes(HKEY_LOCAL_MACHINE, key, L"Multi", REG_MULTI_SZ, multi, sizeof multi);
  const char ab[] = {'A', 0, 'B', 0};  // no terminator, stored as a number
  sandbox.set_bytes(HKEY_LOCAL_MACHINE, key, L"Dword", REG_DWORD, ab, 4);
  const char odd[] = {'x', 0, 'y'};  // an odd byte count
  sandbox.set_bytes(HKEY_LOCAL_MACHINE, key, L"Odd", REG_BINARY, odd, 3);
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, key.c_str(), L"Multi"), L"first");
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, key.c_str(), L"Dword"), L"AB");
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, key.c_str(), L"Odd"), L"xy");
}

TEST_F(RegistryProbes, AValueThatFillsTheBufferStillEndsInsideIt) {
  const std::wstring key = L"Software\\Long";
  // 1024 units without a terminator fill the 2048-byte buffer exactly.
  const std::wstring full(1024, L'A');
  sandbox.set_bytes(HKEY_LOCAL_MACHINE, key, L"Full", REG_BINARY, full.data(), 2048);
  // 1023 units and the terminator: also 2048 bytes.
  const std::wstring fits(1023, L'B');
  sandbox.set_string(HKEY_LOCAL_MACHINE, key, L"Fits", fits);
  // One unit more than the buffer: does not fit, the read fails.
  sandbox.set_string(HKEY_LOCAL_MACHINE, key, L"TooLong", std::wstring(1024, L'C'));
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, key.c_str(), L"Full"), full);
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, key.c_str(), L"Fits"), fits);
  EXPECT_EQ(reg_read_string(HKEY_LOCAL_MACHINE, key.c_str(), L"TooLong"), L"");
}

TEST_F(RegistryProbes, PerUserScanSkipsDefaultAndClassesHives) {
  sandbox.set_string(HKEY_USERS, std::wstring(L".DEFAULT\\") + kTool, L"Path", L"from default");
  sandbox.create_key(HKEY_USERS, L"S-1-5-18\\Software");
  const std::wstring user = L"S-1-5-21-1004336348-1177238915-682003330-1001";
  sandbox.set_string(HKEY_USERS, user + L"\\" + kTool, L"Path", L"C:\\Program Files\\CodeBlocks");
  sandbox.set_string(HKEY_USERS, user + L"_Classes\\" + kTool, L"Path", L"from classes");
  EXPECT_EQ(reg_read_string(HKEY_CURRENT_USER, kTool, L"Path"), L"C:\\Program Files\\CodeBlocks");
}

TEST_F(RegistryProbes, PerUserScanTakesTheLastHiveThatHoldsTheValue) {
  const std::wstring first = L"S-1-5-21-1-1-1-1001", second = L"S-1-5-21-1-1-1-1002";
  sandbox.set_string(HKEY_USERS, first + L"\\" + kTool, L"Path", L"first");
  sandbox.set_string(HKEY_USERS, second + L"\\" + kTool, L"Path", L"second");
  const auto hives = reg_list_subkeys(HKEY_USERS, nullptr);
  ASSERT_EQ(hives.size(), 2u);
  EXPECT_EQ(reg_read_string(HKEY_CURRENT_USER, kTool, L"Path"), hives[1] == second ? L"second" : L"first");
}

TEST_F(RegistryProbes, PerUserScanEndsAtAHiveWithTheKeyButNotTheValue) {
  const std::wstring first = L"S-1-5-21-1-1-1-1001", second = L"S-1-5-21-1-1-1-1002";
  sandbox.create_key(HKEY_USERS, first + L"\\" + kTool);
  sandbox.set_string(HKEY_USERS, second + L"\\" + kTool, L"Path", L"second");
  ASSERT_EQ(reg_list_subkeys(HKEY_USERS, nullptr)[0], first);
  EXPECT_EQ(reg_read_string(HKEY_CURRENT_USER, kTool, L"Path"), L"");
}

TEST(RegistryProbesHives, PerUserScanHiveNameRules) {
  // "S-" is case-sensitive; a name over 8 units ending in "_Classes" is skipped,
  // a shorter one is not tested for the suffix.
  struct Case {
    const wchar_t* hive;
    bool read;
  } cases[] = {
      {L"S-1-5-18", true},    {L"S-1-5-19", true}, {L"S-_Classes", false},
      {L"s-1-5-21-9", false}, {L"S", false},       {L".DEFAULT", false},
  };
  for (const Case& c : cases) {
    RegistrySandbox sandbox;
    sandbox.set_string(HKEY_USERS, std::wstring(c.hive) + L"\\" + kTool, L"Path", L"value");
    EXPECT_EQ(reg_read_string(HKEY_CURRENT_USER, kTool, L"Path"), c.read ? L"value" : L"") << c.hive;
  }
}

TEST_F(RegistryProbes, UninstallScanFirstMatchInEnumerationOrderWins) {
  add_uninstall(kUninstall32, L"b0000002", L"Visual Studio Community 2019", L"C:\\VS\\Second");
  add_uninstall(kUninstall32, L"a0000001", L"Visual Studio Professional 2019", L"C:\\VS\\First");
  add_uninstall(kUninstall32, L"00empty", L"", L"C:\\VS\\NoName");
  const auto entries = reg_list_subkeys(HKEY_LOCAL_MACHINE, kUninstall32);
  std::wstring expected;
  for (const auto& e : entries) {
    if (e == L"a0000001") {
      expected = L"C:\\VS\\First";
      break;
    }
    if (e == L"b0000002") {
      expected = L"C:\\VS\\Second";
      break;
    }
  }
  EXPECT_EQ(find_uninstall_value(false, L"^visual studio .* 2019$", L"InstallLocation"), expected);
  // The 64-bit flag reads the WOW6432Node tree, which this machine lacks.
  EXPECT_EQ(find_uninstall_value(true, L"^visual studio .* 2019$", L"InstallLocation"), L"");
}

TEST_F(RegistryProbes, SixtyFourBitFlagReadsTheWow6432NodeTree) {
  add_uninstall(kUninstall64, L"c76fc08c", L"Visual Studio Community 2022", L"C:\\Program Files\\VS\\2022");
  EXPECT_EQ(find_uninstall_value(true, L"2022$", L"InstallLocation"), L"C:\\Program Files\\VS\\2022");
}

TEST_F(RegistryProbes, UninstallScanStopsAtTheFirstMatchEvenWithoutTheValue) {
  add_uninstall(kUninstall32, L"a", L"Dev-C++", L"");
  add_uninstall(kUninstall32, L"b", L"Dev-C++", L"C:\\Dev-Cpp");
  ASSERT_EQ(reg_list_subkeys(HKEY_LOCAL_MACHINE, kUninstall32)[0], L"a");
  EXPECT_EQ(find_uninstall_value(false, L"^Dev-C\\+\\+$", L"InstallLocation"), L"");
  EXPECT_EQ(find_uninstall_value(false, L"^nothing$", L"InstallLocation"), L"");
  // A pattern that does not compile finds nothing instead of throwing.
  EXPECT_EQ(find_uninstall_value(false, L"(", L"InstallLocation"), L"");
}

TEST_F(RegistryProbes, UninstallScanSearchesCaseInsensitively) {
  add_uninstall(kUninstall32, L"CLion 2024.1", L"CLion 2024.1.4",
                L"C:\\Program Files\\JetBrains\\CLion 2024.1.4");
  EXPECT_EQ(find_uninstall_value(false, L"clion", L"InstallLocation"),
            L"C:\\Program Files\\JetBrains\\CLion 2024.1.4");
}

TEST_F(RegistryProbes, SixtyFourBitOnlyForExactlyAMD64) {
  EXPECT_FALSE(is_64bit_windows());  // no value at all
  struct Case {
    const wchar_t* architecture;
    bool is_64bit;
  } cases[] = {{L"AMD64", true},  {L"amd64", false}, {L"x86", false},
               {L"ARM64", false}, {L"", false},      {L"AMD64 ", false}};
  for (const Case& c : cases) {
    sandbox.set_processor_architecture(c.architecture);
    EXPECT_EQ(is_64bit_windows(), c.is_64bit) << c.architecture;
  }
}
