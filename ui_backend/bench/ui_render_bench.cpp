// Renderer figures on a frame shaped like the platform list page: a header,
// two instruction lines, 15 list rows (label, two detail lines, two buttons)
// and a footer. Times ui_render plus the flush, the frame's declaration
// apart, and counts the width queries and the GDI objects made per frame.
//   bash scripts/bench-ui-render.sh [frames]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "graphics/bench/bench_clock.h"
#include "graphics/drawing_api.h"
#include "graphics/library_state.h"
#include "ui_backend/bench/gdi_object_count.h"
#include "ui_backend/ui_font.h"
#include "ui_backend/ui_render.h"

namespace {

constexpr int kWidth = 490;
constexpr int kHeight = 328;

long width_queries = 0;

float counting_width(nk_handle handle, float height, const char* text, int length) {
  ++width_queries;
  return ui_text_width(handle, height, text, length);
}

// Wine keeps no per-process GDI count (GetGuiResources answers 0 there), so
// the objects alive are also counted through the library's table.
DWORD process_gdi_objects() {
  return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

struct PageFonts {
  UiFont* body;
  UiFont* title;
};

const char* const kRowLabels[15] = {
    "  在线文档",        "  Visual C++ 2026", "  Visual C++ 2022", "  Visual C++ 2019", "  Visual C++ 2017",
    "  Visual C++ 2015", "  Visual C++ 2013", "  Visual C++ 2012", "  Visual C++ 2010", "  Visual C++ 2008",
    "  Visual C++ 6.0",  "  Dev-C++",         "  CLion",           "  Code::Blocks",    "  其它 MinGW",
};
const char kHeaderText[] =
    "头文件 C:\\Program Files\\Microsoft Visual Studio\\2022\\Community\\VC\\Auxiliary\\VS\\include\\";
const char kLibText[] =
    "库文件 C:\\Program Files\\Microsoft Visual Studio\\2022\\Community\\VC\\Auxiliary\\VS\\lib\\";

void declare_page(const PageFonts& fonts) {
  nk_context* ctx = &ui_context;
  const nk_color ink = nk_rgb(33, 33, 33);
  if (nk_begin(ctx, "", nk_rect(0, 0, kWidth, kHeight), NK_WINDOW_NO_SCROLLBAR)) {
    nk_command_buffer* canvas = nk_window_get_canvas(ctx);
    nk_fill_rect(canvas, nk_rect(0, 0, kWidth, 45), 0, nk_rgb(250, 250, 250));
    nk_fill_rect(canvas, nk_rect(0, 45, kWidth, kHeight), 0, nk_rgb(235, 235, 209));

    nk_layout_row_dynamic(ctx, 16, 1);
    nk_style_set_font(ctx, &fonts.title->nk);
    nk_label_colored(ctx, "  执行安装", NK_TEXT_LEFT, ink);
    nk_style_set_font(ctx, &fonts.body->nk);
    nk_layout_row_dynamic(ctx, 1, 1);
    nk_layout_row_dynamic(ctx, 16, 1);
    nk_label_colored(ctx, "        请针对您所用的开发平台，选择安装或卸载。", NK_TEXT_LEFT, ink);
    nk_layout_row_dynamic(ctx, 8, 1);
    nk_layout_row_dynamic(ctx, 16, 1);
    nk_label_colored(ctx, "  在下面中找到您所用的开发平台，点击右侧的“安装”将 Pivro 库安装至", NK_TEXT_LEFT,
                     ink);
    nk_layout_row_dynamic(ctx, 16, 1);
    nk_label_colored(ctx, "  该开发平台。或点击右侧的“卸载”将 Pivro 库从该开发平台移除。", NK_TEXT_LEFT, ink);
    nk_layout_row_dynamic(ctx, 6, 1);
    const float list_ratio[] = {1.0f};
    nk_layout_row(ctx, NK_DYNAMIC, kHeight - 160, 1, list_ratio);
    ctx->style.window.fixed_background = nk_style_item_color(nk_rgb(235, 235, 209));
    if (nk_group_begin(ctx, "group_p2_list", 0)) {
      for (const char* label : kRowLabels) {
        nk_layout_space_begin(ctx, NK_STATIC, 35, 5);
        nk_layout_space_push(ctx, nk_rect(0, 0, 110, 30));
        nk_label_colored(ctx, label, NK_TEXT_LEFT, ink);
        nk_layout_space_push(ctx, nk_rect(110, 0, 230, 13));
        nk_label_colored(ctx, kHeaderText, NK_TEXT_LEFT, ink);
        nk_layout_space_push(ctx, nk_rect(110, 16, 230, 13));
        nk_label_colored(ctx, kLibText, NK_TEXT_LEFT, ink);
        nk_layout_space_push(ctx, nk_rect(kWidth - 135, 0, 45, 30));
        nk_button_label(ctx, "安装");
        nk_layout_space_push(ctx, nk_rect(kWidth - 85, 0, 45, 30));
        nk_button_label(ctx, "卸载");
        nk_layout_space_end(ctx);
      }
      nk_group_end(ctx);
    }
    nk_layout_row_dynamic(ctx, 6, 1);
    nk_label_colored(ctx, "—————————————————————————————————————————", NK_TEXT_LEFT, nk_rgb(123, 123, 123));
    nk_layout_row_dynamic(ctx, 1, 1);
    nk_layout_space_begin(ctx, NK_STATIC, 25, 2);
    nk_layout_space_push(ctx, nk_rect(kWidth - 200, 0, 80, 25));
    nk_button_label(ctx, "< 上一步");
    nk_layout_space_push(ctx, nk_rect(kWidth - 100, 0, 80, 25));
    nk_button_label(ctx, "关闭");
    nk_layout_space_end(ctx);
  }
  nk_end(ctx);
}

struct CommandCounts {
  int total = 0;
  int text = 0;
  int scissor = 0;
};

CommandCounts count_commands() {
  CommandCounts counts;
  for (const nk_command* c = nk__begin(&ui_context); c != nullptr; c = nk__next(&ui_context, c)) {
    ++counts.total;
    counts.text += c->type == NK_COMMAND_TEXT;
    counts.scissor += c->type == NK_COMMAND_SCISSOR;
  }
  return counts;
}

// The middle value; of an even count the upper of the two middle values,
// where percentile(values, 0.5) takes the lower.
double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3000;
  const int warm_up = 50;

  open_graph_window(kWidth, kHeight, 0);
  PageFonts fonts{};
  fonts.body = ui_font_create("Segoe UI", 17, 0);
  ui_backend_init(fonts.body, graphics_library.window->window_dc, kWidth, kHeight);
  // The page's title font, made the way the pages make their own fonts.
  LOGFONTW title_face = *fonts.body->logfont;
  title_face.lfHeight = 22;
  title_face.lfWeight = 900;
  fonts.title = new UiFont{fonts.body->nk, &title_face};
  fonts.title->nk.userdata = nk_handle_ptr(fonts.title);
  fonts.title->nk.height = 22;
  fonts.body->nk.width = counting_width;
  fonts.title->nk.width = counting_width;
  begin_batch_draw();
  gdi_object_count::start();

  const DWORD gdi_at_start = process_gdi_objects();
  long made_total = 0;
  std::vector<double> render_us, declare_us;
  render_us.reserve(frames);
  declare_us.reserve(frames);
  long queries = 0, objects = 0;
  CommandCounts commands;
  for (int i = 0; i < warm_up + frames; ++i) {
    nk_input_begin(&ui_context);
    nk_input_end(&ui_context);
    width_queries = 0;
    const double t0 = bench_now_us();
    declare_page(fonts);
    const double t1 = bench_now_us();
    const long frame_queries = width_queries;
    commands = count_commands();
    const long made_before = gdi_object_count::made;
    const double t2 = bench_now_us();
    ui_render(nk_rgb(99, 99, 99));
    flush_batch_draw();
    const double t3 = bench_now_us();
    if (i < warm_up) continue;
    declare_us.push_back(t1 - t0);
    render_us.push_back(t3 - t2);
    queries += frame_queries;
    // The scissor regions are made and deleted outside the library's table.
    objects += gdi_object_count::made - made_before + commands.scissor;
    if (i == warm_up) made_total = gdi_object_count::live();
  }
  const DWORD gdi_at_end = process_gdi_objects();

  std::printf("frames measured              %d (after %d warm-up frames)\n", frames, warm_up);
  std::printf("commands per frame           %d (%d text, %d scissor)\n", commands.total, commands.text,
              commands.scissor);
  std::printf("ui_render + flush, median    %.0f us (p90 %.0f us, best %.0f us)\n", median(render_us),
              percentile(render_us, 0.9), percentile(render_us, 0.0));
  std::printf("page declaration, median     %.0f us\n", median(declare_us));
  std::printf("width queries per frame      %.1f\n", static_cast<double>(queries) / frames);
  std::printf("GDI objects made per frame   %.1f\n", static_cast<double>(objects) / frames);
  std::printf("process GDI objects          %lu at start, %lu at end (GetGuiResources)\n",
              static_cast<unsigned long>(gdi_at_start), static_cast<unsigned long>(gdi_at_end));
  std::printf("GDI made minus deleted       %ld after the first measured frame, %ld after the last\n",
              made_total, gdi_object_count::live());

  delete fonts.title;
  ui_font_free(fonts.body);
  close_graph_window();
  return gdi_at_end > gdi_at_start || gdi_object_count::live() > made_total ? 1 : 0;
}
