// The welcome page.
#include "app/welcome_page.h"

#include <shellapi.h>

#include "app/text_convert.h"

const wchar_t kSourcePageUrl[] = L"https://pivro.example.org/setup/source/";

namespace {

void fill(nk_context* ctx, float x, float y, float w, float h, nk_color color) {
  nk_fill_rect(nk_window_get_canvas(ctx), nk_rect(x, y, w, h), 0, color);
}

}  // namespace

WelcomePage::WelcomePage(nk_context* ctx_, int width_, int height_)
    : ctx(ctx_), width(width_), height(height_) {}

void WelcomePage::draw(int32_t* running, int32_t* current_page) {
  const float logo_width = 0.3f * width;  // 147 in the 490-pixel window
  const float body_height = static_cast<float>(height - 45);
  ctx->style.window.background = nk_rgb(77, 77, 77);

  if (nk_begin(ctx, "", nk_rect(0, 0, static_cast<float>(width), static_cast<float>(height)),
               NK_WINDOW_NO_SCROLLBAR)) {
    const float ratios[] = {0.3f, 0.7f};
    nk_layout_row(ctx, NK_DYNAMIC, body_height, 2, ratios);

    if (nk_group_begin(ctx, "group_p1_logo", NK_WINDOW_NO_SCROLLBAR)) {
      nk_layout_space_begin(ctx, NK_STATIC, static_cast<float>(height - 100), 2);
      nk_layout_space_push(ctx, nk_rect(0, 0, logo_width, body_height));
      fill(ctx, 0, 0, logo_width, body_height, nk_rgb(33, 23, 129));
      // The product name runs top to bottom: a quarter turn clockwise.
      const nk_user_font* logo = make_page_font(ctx, logo_font, 80, 0, -900, -900);
      nk_layout_space_push(ctx, nk_rect(0, 0, logo_width, body_height));
      draw_text_with_font(ctx, "Pivro", kAlignTopLeft, logo, 145, 30, nk_rgb(170, 170, 170));
      nk_layout_space_end(ctx);
      nk_group_end(ctx);
    }

    if (nk_group_begin(ctx, "group_p1_summary", NK_WINDOW_NO_SCROLLBAR)) {
      fill(ctx, logo_width, 0, 0.7f * width, body_height, nk_rgb(245, 245, 239));
      const nk_user_font* title = make_page_font(ctx, title_font, 22, 900, 0, 0);
      page_row(ctx, 5);
      page_row(ctx, 24);
      draw_text_with_font(ctx, utf16_to_utf8(L"欢迎使用 “Pivro 26.10.25” 安装向导").c_str(), kAlignCentred,
                          title, 0, 0, kPageInk);
      page_row(ctx, 15);
      page_row(ctx, 18);
      page_label(ctx, L"  Pivro 库为 C/C++ 提供了简单的绘图接口，可以帮助");
      page_label(ctx, L"  您快速编写图形程序。");
      page_row(ctx, 7);
      page_row(ctx, 18);
      page_label(ctx, L"  这个向导将帮助您安装 Pivro 库到指定开发环境中。");
      page_label(ctx, L"  Pivro 目前支持 Visual C++ 6.0 / 2008 ~ 2026，");
      page_label(ctx, L"  MinGW 4.9.2、8.1.0 及以上版本。");
      page_row(ctx, 7);
      page_row(ctx, 18);
      page_label(ctx, L"  如果您希望手动安装 Pivro，请参见帮助文件。");
      page_row(ctx, 7);
      page_row(ctx, 18);
      page_label(ctx, L"  单击 [下一步] 继续。");
      nk_group_end(ctx);
    }

    fill(ctx, 0, 283, static_cast<float>(width), 1, nk_rgb(100, 100, 100));
    fill(ctx, 0, 284, static_cast<float>(width), 45, nk_rgb(235, 235, 209));

    const nk_style_button navigation = light_button_style(ctx);
    nk_style_button link = light_button_style(ctx);
    link.border = 0;
    link.normal = link.hover = link.active = nk_style_item_color(nk_rgb(235, 235, 209));
    link.text_normal = nk_rgb(111, 111, 111);
    link.text_hover = nk_rgb(33, 122, 183);

    nk_layout_space_begin(ctx, NK_STATIC, 10, 3);
    nk_layout_space_push(ctx, nk_rect(20, 7, 110, 25));
    if (page_button(ctx, link, L"[安装程序源码]"))
      ShellExecuteW(nullptr, L"open", kSourcePageUrl, nullptr, nullptr, SW_SHOWNORMAL);
    nk_layout_space_push(ctx, nk_rect(static_cast<float>(width - 200), 7, 80, 25));
    if (page_button(ctx, navigation, L"下一步 >")) *current_page = 2;
    nk_layout_space_push(ctx, nk_rect(static_cast<float>(width - 100), 7, 80, 25));
    if (page_button(ctx, navigation, L"取消")) *running = 0;
    nk_layout_space_end(ctx);
  }
  nk_end(ctx);
}
