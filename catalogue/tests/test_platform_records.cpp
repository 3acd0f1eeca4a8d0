#include <gtest/gtest.h>

#include "catalogue/platform_page.h"

TEST(PlatformRecords, PageStartsEmptyWithTheFilePairTable) {
  PlatformPage page(nullptr, 490, 328);
  EXPECT_EQ(page.width, 490);
  EXPECT_EQ(page.height, 328);
  EXPECT_TRUE(page.rows.empty());
  EXPECT_TRUE(page.found_rows.empty());
  EXPECT_TRUE(page.missing_rows.empty());
  EXPECT_TRUE(page.vc_envs.empty());
  EXPECT_TRUE(page.mingw_envs.empty());
  EXPECT_TRUE(page.message.empty());
  EXPECT_FALSE(page.show_message);
  const int expected[6][2] = {{0, 1}, {2, 3}, {4, 5}, {8, 9}, {6, 7}, {10, 11}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(page.file_pairs[i].first, expected[i][0]) << i;
    EXPECT_EQ(page.file_pairs[i].second, expected[i][1]) << i;
  }
}

TEST(PlatformRecords, VisualCppCatalogueInOrderWithSharedLibraryPairs) {
  PlatformPage page(nullptr, 490, 328);
  page.create_records();
  struct Row {
    const wchar_t* label;
    int version;
    FilePair lib;
    FilePair lib64;  // {-1, -1}: none
  } expected[] = {
      {L"  Visual C++ 6.0", 6, {2, 3}, {-1, -1}},     {L"  Visual C++ 2008", 2008, {4, 5}, {6, 7}},
      {L"  Visual C++ 2010", 2010, {4, 5}, {6, 7}},   {L"  Visual C++ 2012", 2012, {4, 5}, {6, 7}},
      {L"  Visual C++ 2013", 2013, {4, 5}, {6, 7}},   {L"  Visual C++ 2015", 2015, {8, 9}, {10, 11}},
      {L"  Visual C++ 2017", 2017, {8, 9}, {10, 11}}, {L"  Visual C++ 2019", 2019, {8, 9}, {10, 11}},
      {L"  Visual C++ 2022", 2022, {8, 9}, {10, 11}}, {L"  Visual C++ 2026", 2026, {8, 9}, {10, 11}},
  };
  ASSERT_EQ(page.vc_envs.size(), 10u);
  for (size_t i = 0; i < 10; ++i) {
    const VcEnv& env = *page.vc_envs[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(env.label, expected[i].label);
    EXPECT_EQ(env.version, expected[i].version);
    EXPECT_TRUE(env.root.empty() && env.include_dir.empty() && env.lib_dir.empty() && env.lib64_dir.empty());
    ASSERT_NE(env.header_files, nullptr);
    EXPECT_EQ(env.header_files->first, 0);
    EXPECT_EQ(env.header_files->second, 1);
    EXPECT_EQ(env.lib_files->first, expected[i].lib.first);
    EXPECT_EQ(env.lib_files->second, expected[i].lib.second);
    if (expected[i].lib64.first < 0) {
      EXPECT_EQ(env.lib64_files, nullptr);
    } else {
      ASSERT_NE(env.lib64_files, nullptr);
      EXPECT_EQ(env.lib64_files->first, expected[i].lib64.first);
      EXPECT_EQ(env.lib64_files->second, expected[i].lib64.second);
    }
    // The pairs are the page's own table, shared between versions.
    EXPECT_GE(env.lib_files, &page.file_pairs[0]);
    EXPECT_LE(env.lib_files, &page.file_pairs[5]);
  }
  EXPECT_EQ(page.vc_envs[1]->lib_files, page.vc_envs[4]->lib_files);
  EXPECT_EQ(page.vc_envs[5]->lib64_files, page.vc_envs[9]->lib64_files);
}

TEST(PlatformRecords, MingwKindsInIndexOrder) {
  PlatformPage page(nullptr, 490, 328);
  page.create_records();
  const wchar_t* labels[] = {L"  DevCpp", L"  CodeBlocks", L"  CLion", L"  VSCode", L"  其它 MinGW"};
  ASSERT_EQ(page.mingw_envs.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    const MingwEnv& env = *page.mingw_envs[i];
    EXPECT_EQ(env.index, i);
    EXPECT_EQ(env.label, labels[i]);
    EXPECT_EQ(env.include_dir, L"include\\");
    EXPECT_TRUE(env.root.empty() && env.lib32_dir.empty() && env.lib64_dir.empty() &&
                env.flavour_dir.empty());
  }
}

TEST(PlatformRecords, NewRowStartsNotDetectedWhateverItsFields) {
  PlatformPage page(nullptr, 490, 328);
  PlatformRow* usable = page.new_row(L"  Pivro 文档", L"在线文档 x", L"桌面路径 y", -1, true, false);
  PlatformRow* mingw = page.new_row(L"  CLion", L"", L"", 2, false, true);
  EXPECT_EQ(usable->status, L"（未检测到）");
  EXPECT_EQ(mingw->status, L"（未检测到）");
  EXPECT_EQ(usable->env_index, -1);
  EXPECT_TRUE(usable->usable);
  EXPECT_FALSE(usable->is_mingw);
  EXPECT_EQ(usable->header_text, L"在线文档 x");
  EXPECT_EQ(usable->lib_text, L"桌面路径 y");
  EXPECT_EQ(mingw->env_index, 2);
  EXPECT_TRUE(mingw->is_mingw);
  EXPECT_NE(usable, mingw);
}
