#include <gtest/gtest.h>
#include <windows.h>

#include "mingw/folder_search.h"
#include "tests/support/current_directory.h"
#include "tests/support/handle_probe.h"
#include "tests/support/scratch_tree.h"

TEST(FolderSearch, SubfolderByNameAnswersWithTheCallersSpelling) {
  ScratchTree tree;
  const std::wstring base = tree.folder(L"MinGW64");
  tree.folder(L"MinGW64\\BIN");
  tree.file(L"MinGW64\\lib", "a file, not a folder");
  EXPECT_EQ(find_subfolder_named(base, L"bin"), base + L"bin\\");
  EXPECT_EQ(find_subfolder_named(base, L"lib"), L"");
  EXPECT_EQ(find_subfolder_named(base, L"."), L"");
  EXPECT_EQ(find_subfolder_named(base, L".."), L"");
  EXPECT_EQ(find_subfolder_named(base + L"missing\\", L"bin"), L"");
}

TEST(FolderSearch, PatternSearchesTestFoldersOrEveryEntry) {
  ScratchTree tree;
  const std::wstring base = tree.folder(L"Dev-Cpp");
  tree.folder(L"Dev-Cpp\\MinGW64");
  tree.file(L"Dev-Cpp\\devcpp.exe");
  struct Case {
    const wchar_t* pattern;
    std::wstring subfolder;
    std::wstring entry;
  } cases[] = {
      {L"^mingw(32|64)?$", base + L"MinGW64\\", base + L"MinGW64"},
      {L"^devcpp\\.exe$", L"", base + L"devcpp.exe"},    // a file fits only the entry search
      {L"ngw", base + L"MinGW64\\", base + L"MinGW64"},  // search semantics: a match anywhere
      {L"^gcc\\.exe$", L"", L""},
      {L"(", L"", L""},  // a pattern that does not compile finds nothing
  };
  for (const Case& c : cases) {
    EXPECT_EQ(find_subfolder_matching(base, c.pattern), c.subfolder) << c.pattern;
    EXPECT_EQ(find_entry_matching(base, c.pattern), c.entry) << c.pattern;
  }
}

TEST(FolderSearch, DotEntriesAreNeverResults) {
  ScratchTree tree;
  const std::wstring empty = tree.folder(L"empty");
  EXPECT_EQ(find_subfolder_matching(empty, L".*"), L"");
  EXPECT_EQ(find_entry_matching(empty, L".*"), L"");
  EXPECT_EQ(find_entry_matching(empty, L"^\\.\\.?$"), L"");
}

TEST(FolderSearch, TheFirstListedOfTwoFittingEntriesWins) {
  ScratchTree tree;
  const std::wstring base = tree.folder(L"MSVC");
  tree.folder(L"MSVC\\14.29.30133");
  tree.folder(L"MSVC\\14.16.27023");
  const std::wstring first = first_listed(base, {L"14.29.30133", L"14.16.27023"});
  EXPECT_EQ(find_subfolder_matching(base, L"^14\\.\\d+\\.\\d+$"), base + first + L"\\");
}

TEST(FolderSearch, EntrySearchAddsExactlyOneBackslash) {
  ScratchTree tree;
  tree.file(L"mingw64\\bin\\libgcc_s_seh-1.dll");
  const std::wstring bin = tree.path(L"mingw64\\bin");
  const std::wstring expected = bin + L"\\libgcc_s_seh-1.dll";
  EXPECT_EQ(find_entry_matching(bin, L"^libgcc_s_seh.*\\.dll$"), expected);
  EXPECT_EQ(find_entry_matching(bin + L"\\", L"^libgcc_s_seh.*\\.dll$"), expected);
}

TEST(FolderSearch, EmptyFolderNeverSearchesTheCurrentDirectory) {
  ScratchTree tree;
  tree.folder(L"bin");
  tree.file(L"gcc.exe");
  CurrentDirectoryGuard in_tree(tree.root());
  ASSERT_TRUE(in_tree.changed());
  EXPECT_EQ(find_entry_matching(L"", L".*"), L"");
  EXPECT_EQ(find_subfolder_named(L"", L"bin"), L"");
  EXPECT_EQ(find_subfolder_matching(L"", L"bin"), L"");
}

TEST(FolderSearch, SearchesLeaveNoListingOpen) {
  ScratchTree tree;
  tree.folder(L"probe\\bin");
  const std::wstring base = tree.path(L"probe\\");
  const HANDLE before = next_handle_value();
  find_subfolder_named(base, L"bin");       // found
  find_subfolder_matching(base, L"^lib$");  // listed to the end, not found
  find_entry_matching(base, L"^bin$");
  EXPECT_EQ(next_handle_value(), before);
  // The probe does see a listing left open, so the check above can fail.
  WIN32_FIND_DATAW data;
  HANDLE open_listing = FindFirstFileW((base + L"*").c_str(), &data);
  EXPECT_NE(next_handle_value(), before);
  FindClose(open_listing);
}
