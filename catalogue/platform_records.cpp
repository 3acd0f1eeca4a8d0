// The fixed catalogue: ten Visual C++ versions, five MinGW kinds, and the
// file pairs that the versions install.
#include "catalogue/platform_records.h"

#include <utility>

const wchar_t kStatusNotDetected[] = L"（未检测到）";
const wchar_t kDocsRowLabel[] = L"  Pivro 文档";

// Indices into the install file table: 0-1 headers, 2-3 the 6.0 libraries,
// 4-7 the 2008 x86/x64 libraries, 8-11 the 2015 x86/x64 libraries.
const FilePair kFilePairs[kFilePairCount] = {{0, 1}, {2, 3}, {4, 5}, {8, 9}, {6, 7}, {10, 11}};

// 2008 to 2013 share the 2008 library build, 2015 and later the 2015 one.
const VcCatalogueEntry kVcCatalogue[kVcEnvCount] = {
    {L"  Visual C++ 6.0", 6, kPairVc6Libs, -1},
    {L"  Visual C++ 2008", 2008, kPairVc2008X86, kPairVc2008X64},
    {L"  Visual C++ 2010", 2010, kPairVc2008X86, kPairVc2008X64},
    {L"  Visual C++ 2012", 2012, kPairVc2008X86, kPairVc2008X64},
    {L"  Visual C++ 2013", 2013, kPairVc2008X86, kPairVc2008X64},
    {L"  Visual C++ 2015", 2015, kPairVc2015X86, kPairVc2015X64},
    {L"  Visual C++ 2017", 2017, kPairVc2015X86, kPairVc2015X64},
    {L"  Visual C++ 2019", 2019, kPairVc2015X86, kPairVc2015X64},
    {L"  Visual C++ 2022", 2022, kPairVc2015X86, kPairVc2015X64},
    {L"  Visual C++ 2026", 2026, kPairVc2015X86, kPairVc2015X64},
};

const wchar_t* const kMingwLabels[kMingwEnvCount] = {
    L"  DevCpp", L"  CodeBlocks", L"  CLion", L"  VSCode", L"  其它 MinGW",
};

PlatformRow::PlatformRow(std::wstring label_, std::wstring header_text_, std::wstring lib_text_,
                         int32_t env_index_, bool usable_, bool is_mingw_)
    : env_index(env_index_),
      label(std::move(label_)),
      header_text(std::move(header_text_)),
      lib_text(std::move(lib_text_)),
      status(kStatusNotDetected),
      usable(usable_),
      is_mingw(is_mingw_) {}
