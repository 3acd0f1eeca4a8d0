// The records of the catalogued environments and the rows of the list page.
// Folder strings are empty or end with a backslash; a record's subfolders are
// relative to its root and joined by plain concatenation.
#pragma once

#include <cstdint>
#include <string>

// Two indices into the install file table: the two headers, or the ANSI and
// the wide variant of a static library, in this order.
struct FilePair {
  int32_t first;
  int32_t second;
};

struct VcEnv {
  std::wstring label;        // two leading blanks included
  int32_t version = 0;       // the year; 6 for Visual C++ 6.0
  std::wstring root;         // VC root found by detection, empty when not detected
  std::wstring include_dir;  // "include\" once detected
  std::wstring lib_dir;      // x86 library subfolder relative to root
  std::wstring lib64_dir;    // x64 library subfolder, empty when absent
  const FilePair* header_files = nullptr;
  const FilePair* lib_files = nullptr;
  const FilePair* lib64_files = nullptr;  // none for Visual C++ 6.0
};

struct MingwEnv {
  std::wstring label;
  int32_t index = 0;  // the kind, see MingwKind
  std::wstring root;  // holds the include and library subfolders, set by the folder walk
  std::wstring include_dir = L"include\\";
  std::wstring lib32_dir;
  std::wstring lib64_dir;
  std::wstring flavour_dir;  // "lib_mingw_492", "lib_mingw_ucrt" or "lib_mingw_msvcrt" once probed
};

// The MinGW-based environment kinds, by their `index`.
enum MingwKind : int32_t {
  kMingwDevCpp = 0,
  kMingwCodeBlocks = 1,
  kMingwCLion = 2,
  kMingwVSCode = 3,  // catalogued, but never located and never listed
  kMingwOther = 4,   // any MinGW, from a folder that the user picks
};

extern const wchar_t kStatusNotDetected[];  // "（未检测到）"

struct PlatformRow {
  PlatformRow(std::wstring label, std::wstring header_text, std::wstring lib_text, int32_t env_index,
              bool usable, bool is_mingw);

  int32_t env_index;  // into vc_envs or mingw_envs; -1 for the documentation row
  std::wstring label;
  std::wstring header_text;  // where the headers go
  std::wstring lib_text;     // where the libraries go
  std::wstring status;       // why the row is not usable
  bool usable;               // offers Install and Uninstall; otherwise "选择安装目录"
  bool is_mingw;
};

// The fixed catalogue contents.
constexpr int kVcEnvCount = 10;
constexpr int kMingwEnvCount = 5;
constexpr int kFilePairCount = 6;

// Positions in the page's `file_pairs` table.
enum FilePairSlot : int {
  kPairHeaders = 0,
  kPairVc6Libs = 1,
  kPairVc2008X86 = 2,
  kPairVc2015X86 = 3,
  kPairVc2008X64 = 4,
  kPairVc2015X64 = 5,
};

struct VcCatalogueEntry {
  const wchar_t* label;
  int32_t version;
  FilePairSlot lib_pair;
  int lib64_pair;  // a FilePairSlot, or -1 for none
};

extern const FilePair kFilePairs[kFilePairCount];
extern const VcCatalogueEntry kVcCatalogue[kVcEnvCount];
extern const wchar_t* const kMingwLabels[kMingwEnvCount];
extern const wchar_t kDocsRowLabel[];  // "  Pivro 文档"
