// Prints what the graphics library's common operations cost on this machine:
// opening and closing the window, clearing and flushing the 490 by 328 image,
// state changes, and the processor time of an idle window with and without
// its automatic refresh.
#include <windows.h>

#include <cstdio>

#include "graphics/bench/bench_clock.h"
#include "graphics/drawing_api.h"
#include "graphics/drawing_devices.h"
#include "graphics/library_state.h"

namespace {

double now_ms() {
  return bench_now_us() / 1000.0;
}

template <typename Work>
void per_call(const char* what, int count, Work work) {
  const double start = now_ms();
  for (int i = 0; i < count; ++i) work(i);
  std::printf("%-34s %9.2f us per call (%d calls)\n", what, 1000.0 * (now_ms() - start) / count, count);
}

double process_cpu_ms() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME f) { return (double(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 10000.0; };
  return ms(kernel) + ms(user);
}

void idle_cost(const char* what) {
  const double cpu = process_cpu_ms(), start = now_ms();
  Sleep(2000);
  std::printf("%-34s %9.1f ms processor time per second\n", what,
              (process_cpu_ms() - cpu) * 1000.0 / (now_ms() - start));
}

}  // namespace

int main() {
  double start = now_ms();
  HWND hwnd = open_graph_window(490, 328, 0);
  std::printf("%-34s %9.1f ms\n", "open_graph_window (first)", now_ms() - start);
  if (!hwnd) {
    std::printf("no window: is there a display?\n");
    return 1;
  }
  idle_cost("idle window, refreshing");
  begin_batch_draw();
  idle_cost("idle window, batch drawing");

  per_call("clear, grey background", 2000, [](int) { clear(); });
  set_bk_color(RGB(10, 20, 30));
  per_call("clear, coloured background", 2000, [](int) { clear(); });
  per_call("flush_batch_draw (whole image)", 2000, [](int) { flush_batch_draw(); });
  per_call("fill_rect 40 x 20", 20000, [](int i) { fill_rect(i % 400, 10, i % 400 + 40, 30); });
  per_call("set_line_color (new pen)", 10000, [](int i) { set_line_color(RGB(i % 256, 0, 0)); });
  per_call("set_fill_color (new brush)", 10000, [](int i) { set_fill_color(RGB(0, i % 256, 0)); });
  per_call("out_text \"Pivro\"", 10000, [](int i) { out_text(i % 400, 50, L"Pivro"); });
  per_call("image 64 x 64 create and destroy", 1000, [](int) { IMAGE image(64, 64); });
  end_batch_draw();

  start = now_ms();
  close_graph_window();
  std::printf("%-34s %9.1f ms\n", "close_graph_window", now_ms() - start);
  return 0;
}
