#include <gtest/gtest.h>

#include "vc/file_version.h"

TEST(FileVersion, KeysMapToVisualCppVersions) {
  struct Case {
    uint32_t key, version;
  } cases[] = {
      {0, 0},       {99, 0},      {100, 100},   {1200, 6},    {1500, 2008}, {1600, 2010},
      {1700, 2012}, {1800, 2013}, {1900, 2015}, {1909, 2015}, {1910, 2017}, {1916, 2017},
      {1920, 2019}, {1929, 2019}, {1930, 2022}, {1944, 2022}, {1949, 2022}, {1950, 2026},
      {1999, 2026}, {1400, 1400}, {511, 511},   {2000, 2000}, {1100, 1100}, {1300, 1300},
  };
  for (const Case& c : cases) EXPECT_EQ(map_version_key(c.key), c.version) << c.key;
}

TEST(FileVersion, FilesWithoutAVersionGiveZero) {
  EXPECT_EQ(file_version_number(L"C:\\no\\such\\cl.exe"), 0u);
  EXPECT_EQ(file_version_number(L""), 0u);
  // kernel32.dll has a version resource; its key (major.minor of Windows) maps
  // to itself or to a version, but never to 0.
  EXPECT_NE(file_version_number(L"C:\\windows\\system32\\kernel32.dll"), 0u);
}

TEST(FileVersion, ParentFolderClimbsOneLevelAndStopsAtTheRoot) {
  struct Case {
    const wchar_t* path;
    const wchar_t* parent;
  } cases[] = {
      {L"", L""},
      {L"C:\\", L"C:\\"},
      {L"C:\\VS", L"C:\\"},
      {L"C:\\VS\\2019\\Community", L"C:\\VS\\2019"},
      {L"C:\\VS\\2019\\", L"C:\\VS\\2019"},  // only the separator goes
      {L"C:\\VS\\\\2019", L"C:\\VS"},        // the separators in front go too
      {L"C:", L"C:"},
      {L"Z:\\Program Files (x86)\\Dev-Cpp", L"Z:\\Program Files (x86)"},
  };
  for (const Case& c : cases) EXPECT_EQ(parent_folder(c.path), c.parent) << c.path;
}
