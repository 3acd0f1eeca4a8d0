// The wizard that the frame loop drives: it owns both pages, applies the
// per-frame style and lets the current page declare its widgets.
#pragma once

#include <cstdint>

#include "app/welcome_page.h"
#include "catalogue/platform_page.h"

class SetupWizard {
 public:
  SetupWizard(nk_context* ctx, int width, int height);

  // Once per frame, between the input and the rendering.
  void frame(int32_t* running, int32_t* current_page);
  // Once, after the first frame has been flushed: the detection pass.
  void first_frame();

  nk_context* ctx;
  int width;
  int height;
  WelcomePage welcome;
  PlatformPage platform;
};
