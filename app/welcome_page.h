// Page 1 of the wizard: the logo strip, the summary of what the wizard does,
// and the footer with the source-page link, "下一步 >" and "取消".
#pragma once

#include <cstdint>

#include "app/page_helpers.h"

// The setup program's source page, opened by the link on page 1.
extern const wchar_t kSourcePageUrl[];

class WelcomePage {
 public:
  WelcomePage(nk_context* ctx, int width, int height);

  // Declares the page for this frame; "下一步 >" sets *current_page to 2 and
  // "取消" clears *running.
  void draw(int32_t* running, int32_t* current_page);

  nk_context* ctx;
  int width;
  int height;
  PageFont logo_font;
  PageFont title_font;
};
