// Page 2: the header, the scrolling list of environments with their Install,
// Uninstall and folder-picking buttons, the message box and the footer. Every
// button acts synchronously inside the frame in which it is pressed.
#include <string>

#include "app/page_helpers.h"
#include "app/text_convert.h"
#include "catalogue/platform_page.h"
#include "desktop/docs_shortcut.h"
#include "desktop/folder_chooser.h"
#include "graphics/drawing_api.h"
#include "mingw/mingw_install.h"
#include "mingw/mingw_locators.h"
#include "vc/vc_detection.h"
#include "vc/vc_install.h"

namespace {

const nk_color kTooltipColour = nk_rgb(233, 233, 233);
const nk_color kPageBody = nk_rgb(235, 235, 209);
constexpr float kTooltipWidth = 340;

// A detail line; while the mouse rests on it, a tooltip shows it whole,
// wrapped at 330 pixels, `extra_lines` added to the measured line count.
void detail_line(nk_context* ctx, const std::wstring& text, float line_height, float extra_lines,
                 bool tooltip_allowed) {
  const struct nk_rect bounds = nk_widget_bounds(ctx);
  page_label(ctx, text);
  if (!tooltip_allowed || !nk_input_is_mouse_hovering_rect(&ctx->input, bounds)) return;
  if (nk_tooltip_begin(ctx, kTooltipWidth)) {
    const float lines = static_cast<float>(text_width(text.c_str())) / kTooltipWidth + extra_lines;
    nk_layout_row_static(ctx, line_height * lines, static_cast<int>(kTooltipWidth - 10), 1);
    nk_label_colored_wrap(ctx, utf16_to_utf8(text).c_str(), kTooltipColour);
    nk_tooltip_end(ctx);
  }
}

}  // namespace

void PlatformPage::draw(int32_t* running, int32_t* current_page) {
  const float w = static_cast<float>(width);
  if (nk_begin(ctx, "", nk_rect(0, 0, w, static_cast<float>(height)), NK_WINDOW_NO_SCROLLBAR)) {
    struct nk_command_buffer* canvas = nk_window_get_canvas(ctx);
    nk_fill_rect(canvas, nk_rect(0, 0, w, 45), 0, nk_rgb(250, 250, 250));
    nk_fill_rect(canvas, nk_rect(0, 45, w, static_cast<float>(height)), 0, kPageBody);

    // Header.
    const nk_user_font* title = make_page_font(ctx, title_font, 22, 900, 0, 0);
    page_row(ctx, 16);
    draw_text_with_font(ctx, utf16_to_utf8(L"  执行安装").c_str(), kAlignLeft, title, 0, 0, kPageInk);
    page_row(ctx, 1);
    page_row(ctx, 16);
    page_label(ctx, L"        请针对您所用的开发平台，选择安装或卸载。");
    page_row(ctx, 8);
    page_row(ctx, 16);
    page_label(ctx, L"  在下面中找到您所用的开发平台，点击右侧的“安装”将 Pivro 库安装至");
    page_label(ctx, L"  该开发平台。或点击右侧的“卸载”将 Pivro 库从该开发平台移除。");

    const nk_style_button style = light_button_style(ctx);

    // The list.
    page_row(ctx, 6);
    const float list_ratio[] = {1.0f};
    nk_layout_row(ctx, NK_DYNAMIC, static_cast<float>(height - 160), 1, list_ratio);
    ctx->style.window.fixed_background = nk_style_item_color(kPageBody);
    const bool list_hovered = nk_input_is_mouse_hovering_rect(&ctx->input, nk_widget_bounds(ctx)) != 0;
    if (nk_group_begin(ctx, "group_p2_list", 0)) {
      const float line_height = static_cast<float>(text_height(L"天"));
      const bool tooltips = list_hovered && !show_message;
      for (PlatformRow* item : rows) {
        nk_layout_space_begin(ctx, NK_STATIC, 35, 5);
        nk_layout_space_push(ctx, nk_rect(0, 0, 110, 30));
        page_label(ctx, item->label);
        if (item->usable) {
          nk_layout_space_push(ctx, nk_rect(110, 0, 230, 13));
          detail_line(ctx, item->header_text, line_height, 1.0f, tooltips);
          nk_layout_space_push(ctx, nk_rect(110, 16, 230, 13));
          detail_line(ctx, item->lib_text, line_height, 1.5f, tooltips);
          nk_layout_space_push(ctx, nk_rect(w - 135, 0, 45, 30));
          if (page_button(ctx, style, L"安装")) install(*item);
          nk_layout_space_push(ctx, nk_rect(w - 85, 0, 45, 30));
          if (page_button(ctx, style, L"卸载")) uninstall(*item);
        } else {
          nk_layout_space_push(ctx, nk_rect(110, 0, 230, 30));
          nk_label(ctx, utf16_to_utf8(item->status).c_str(), NK_TEXT_LEFT);
          nk_layout_space_push(ctx, nk_rect(w - 135, 0, 95, 30));
          if (page_button(ctx, style, L"选择安装目录")) choose_install_folder(*item);
        }
        nk_layout_space_end(ctx);
      }
      nk_group_end(ctx);
    }

    // The message box, declared after the list so that an outcome shows in
    // the frame of its button press.
    if (show_message) {
      if (nk_popup_begin(ctx, NK_POPUP_STATIC, "", NK_WINDOW_NO_SCROLLBAR, nk_rect(120, 100, 220, 80))) {
        page_row(ctx, 5);
        page_row(ctx, 16);
        page_label(ctx, message, kAlignCentred);
        page_row(ctx, 10);
        page_row(ctx, 25);
        if (page_button(ctx, style, L"OK")) {
          show_message = false;
          nk_popup_close(ctx);
        }
        nk_popup_end(ctx);
      } else {
        show_message = false;
      }
    }

    // Footer.
    page_row(ctx, 6);
    page_label(ctx, L"—————————————————————————————————————————", kAlignLeft, nk_rgb(123, 123, 123));
    page_row(ctx, 1);
    nk_layout_space_begin(ctx, NK_STATIC, 25, 2);
    nk_layout_space_push(ctx, nk_rect(w - 200, 0, 80, 25));
    if (page_button(ctx, style, L"< 上一步")) *current_page = 1;
    nk_layout_space_push(ctx, nk_rect(w - 100, 0, 80, 25));
    if (page_button(ctx, style, L"关闭")) *running = 0;
    nk_layout_space_end(ctx);
  }
  nk_end(ctx);
}

void PlatformPage::install(const PlatformRow& item) {
  std::wstring text;
  if (item.env_index == -1) {
    text = install_docs_shortcut();
  } else if (!item.is_mingw) {
    text = install_vc(*this, item.env_index);
  } else {
    text = install_mingw(*this, item.env_index);
  }
  message = text.empty() ? L"安装成功" : text;
  show_message = true;
}

void PlatformPage::uninstall(const PlatformRow& item) {
  if (item.env_index == -1) {
    message = uninstall_docs_shortcut();
  } else if (!item.is_mingw) {
    message = uninstall_vc(*this, item.env_index);
  } else {
    message = uninstall_mingw(*this, item.env_index);
  }
  show_message = true;
}

void PlatformPage::choose_install_folder(PlatformRow& item) {
  const std::wstring folder = choose_folder();
  if (folder.empty()) return;
  if (!item.is_mingw) {
    const int32_t found = resolve_vc_folder(*this, folder, item, true);
    if (found == kVcNotFound) {
      message = L"未检测到 VS";
      show_message = true;
    } else if (found == kVcWrongVersion) {
      message = L"版本错误，请重新选择对应版本";
      show_message = true;
    } else {
      item.usable = true;
    }
    return;
  }
  const int32_t found = locate_mingw(*this, folder, item.env_index, &item, false);
  if (found == 0) {
    message = L"未检测到编译器";
    show_message = true;
  } else if (found == -1) {
    message = item.status;
    show_message = true;
  } else {
    item.usable = true;
  }
}
