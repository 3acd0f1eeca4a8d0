#include "app/setup_wizard.h"

SetupWizard::SetupWizard(nk_context* ctx_, int width_, int height_)
    : ctx(ctx_),
      width(width_),
      height(height_),
      welcome(ctx_, width_, height_),
      platform(ctx_, width_, height_) {}

void SetupWizard::frame(int32_t* running, int32_t* current_page) {
  ctx->style.window.padding = nk_vec2(0, 0);
  ctx->style.window.group_padding = nk_vec2(0, 0);
  nk_style_scrollbar& scrollbar = ctx->style.scrollv;
  scrollbar.normal = scrollbar.hover = scrollbar.active = nk_style_item_color(nk_rgb(222, 222, 222));
  scrollbar.cursor_normal = nk_style_item_color(nk_rgb(166, 166, 166));
  scrollbar.cursor_hover = scrollbar.cursor_active = nk_style_item_color(nk_rgb(110, 100, 110));

  if (*current_page == 1) {
    welcome.draw(running, current_page);
  } else if (*current_page == 2) {
    platform.draw(running, current_page);
  }
}

void SetupWizard::first_frame() {
  platform.build_catalogue();
}
