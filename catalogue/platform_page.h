// Page 2 of the wizard: owns the catalogue records and the rows of the list.
// The records and rows are made by the catalogue build and live as long as
// the page; after the build the set of rows and their order never change.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/page_helpers.h"
#include "catalogue/platform_records.h"

class PlatformPage {
 public:
  PlatformPage(nk_context* ctx, int width, int height);
  PlatformPage(const PlatformPage&) = delete;
  PlatformPage& operator=(const PlatformPage&) = delete;

  // Creates the ten VcEnv and the five MingwEnv records with their fixed
  // contents (the first steps of the catalogue build); nothing is detected.
  void create_records();

  // Runs once, after the first frame is on screen: creates the records, runs
  // the detection of every Visual C++ version and of Dev-C++, CLion and
  // Code::Blocks, and orders the 15 rows: the documentation row, the detected
  // Visual C++ versions and MinGW kinds, the ones not detected, and "其它 MinGW".
  void build_catalogue();

  // Declares the page for this frame and acts on its buttons; "< 上一步" sets
  // *current_page to 1 and "关闭" clears *running.
  void draw(int32_t* running, int32_t* current_page);

  // A new row owned by the page; its status starts as "（未检测到）".
  PlatformRow* new_row(std::wstring label, std::wstring header_text, std::wstring lib_text, int32_t env_index,
                       bool usable, bool is_mingw);

  nk_context* ctx;
  int width;
  int height;
  std::vector<PlatformRow*> rows;  // display order
  std::vector<PlatformRow*> found_rows;
  std::vector<PlatformRow*> missing_rows;
  std::wstring message;
  bool show_message = false;
  std::vector<std::unique_ptr<VcEnv>> vc_envs;        // catalogue order, once created
  std::vector<std::unique_ptr<MingwEnv>> mingw_envs;  // index order, once created
  std::array<FilePair, kFilePairCount> file_pairs;
  PageFont title_font;  // made each frame

 private:
  // The actions of a row's buttons; each reports its outcome in the message box.
  void install(const PlatformRow& item);
  void uninstall(const PlatformRow& item);
  void choose_install_folder(PlatformRow& item);

  std::vector<std::unique_ptr<PlatformRow>> row_store_;
};

// The record that an environment index names, or null when the index is
// outside the catalogue (or the records are not made yet).
inline VcEnv* vc_env_at(const PlatformPage& page, int32_t env_index) {
  if (env_index < 0 || static_cast<size_t>(env_index) >= page.vc_envs.size()) return nullptr;
  return page.vc_envs[static_cast<size_t>(env_index)].get();
}
inline MingwEnv* mingw_env_at(const PlatformPage& page, int32_t env_index) {
  if (env_index < 0 || static_cast<size_t>(env_index) >= page.mingw_envs.size()) return nullptr;
  return page.mingw_envs[static_cast<size_t>(env_index)].get();
}
