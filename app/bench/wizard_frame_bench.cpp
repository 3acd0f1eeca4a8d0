// Frame figures of the running wizard on the machine it runs on: the same
// start-up and frame loop as the setup program, with the detection run once
// after the first frame, then each page measured by setting the current page.
//   bash scripts/bench-wizard-frame.sh [frames per page] [idle seconds]
// Per page: the median time of one frame without its pause, the frames per
// second with the 10 ms pause, the CPU share while the wizard idles, and the
// GDI and USER objects before and after the measured frames. At the end, the
// working set of the process.
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/wizard_session.h"
#include "graphics/bench/bench_clock.h"
#include "ui_backend/bench/gdi_object_count.h"

namespace {

constexpr int kWarmUpFrames = 50;
constexpr int kPacedFrames = 300;
constexpr double kPageTwoFrameAimUs = 2000;
constexpr double kIdleCpuAimPercent = 20;
constexpr double kWorkingSetAimMb = 30;

// User plus kernel time of this process, in microseconds.
double process_cpu_us() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  auto us = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10.0;
  };
  return us(kernel) + us(user);
}

BOOL CALLBACK count_child(HWND, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  return TRUE;
}
BOOL CALLBACK count_own_windows(HWND window, LPARAM count) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) {
    ++*reinterpret_cast<long*>(count);
    EnumChildWindows(window, count_child, count);
  }
  return TRUE;
}

struct ObjectCounts {
  DWORD gdi_reported;   // GetGuiResources
  DWORD user_reported;  // GetGuiResources
  long gdi_live;        // made minus deleted through the graphics library's table
  long windows;         // top-level and child windows of this process
};

ObjectCounts count_objects() {
  ObjectCounts counts{};
  counts.gdi_reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  counts.user_reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  counts.gdi_live = gdi_object_count::live();
  EnumWindows(count_own_windows, reinterpret_cast<LPARAM>(&counts.windows));
  return counts;
}

struct PageFigures {
  double median_us;
  double p90_us;
  double frames_per_second;
  double idle_cpu_percent;
  double gdi_made_per_frame;  // through the graphics library's table
  ObjectCounts before;
  ObjectCounts after;
};

PageFigures measure_page(const WizardSession& session, int32_t page, int frames, double idle_seconds) {
  int32_t running = 1;
  int32_t current_page = page;
  PageFigures figures{};
  for (int i = 0; i < kWarmUpFrames; ++i) run_wizard_frame(session, &running, &current_page);

  figures.before = count_objects();
  const long made_before = gdi_object_count::made;
  std::vector<double> frame_us;
  frame_us.reserve(frames);
  for (int i = 0; i < frames; ++i) {
    const double start = bench_now_us();
    run_wizard_frame(session, &running, &current_page);
    frame_us.push_back(bench_now_us() - start);
  }
  figures.after = count_objects();
  figures.gdi_made_per_frame = static_cast<double>(gdi_object_count::made - made_before) / frames;
  figures.median_us = percentile(frame_us, 0.5);
  figures.p90_us = percentile(frame_us, 0.9);

  // The loop as the program runs it: frame, pause.
  double start = bench_now_us();
  for (int i = 0; i < kPacedFrames; ++i) {
    run_wizard_frame(session, &running, &current_page);
    Sleep(kFrameSleepMs);
  }
  figures.frames_per_second = kPacedFrames / ((bench_now_us() - start) / 1e6);

  // Idle: nobody touches the window; the loop keeps drawing its page.
  const double cpu_start = process_cpu_us();
  start = bench_now_us();
  while (bench_now_us() - start < idle_seconds * 1e6) {
    run_wizard_frame(session, &running, &current_page);
    Sleep(kFrameSleepMs);
  }
  figures.idle_cpu_percent = 100.0 * (process_cpu_us() - cpu_start) / (bench_now_us() - start);
  if (!running || current_page != page) std::printf("note: page %d asked to leave during the run\n", page);
  return figures;
}

void print_objects(const char* when, const ObjectCounts& c) {
  std::printf(
      "  objects %-7s GDI %ld alive through the graphics library's table (GetGuiResources %lu), "
      "USER %ld windows of the process (GetGuiResources %lu)\n",
      when, c.gdi_live, static_cast<unsigned long>(c.gdi_reported), c.windows,
      static_cast<unsigned long>(c.user_reported));
}

void print_page(int page, int frames, const PageFigures& f) {
  std::printf("page %d\n", page);
  std::printf("  frame without the pause, median  %.0f us (p90 %.0f us) over %d frames\n", f.median_us,
              f.p90_us, frames);
  std::printf("  frames per second with the %lu ms pause  %.1f\n", static_cast<unsigned long>(kFrameSleepMs),
              f.frames_per_second);
  std::printf("  idle CPU  %.1f %% of one core\n", f.idle_cpu_percent);
  std::printf("  GDI objects made (and deleted) per frame through the graphics library's table  %.1f\n",
              f.gdi_made_per_frame);
  print_objects("before", f.before);
  print_objects("after", f.after);
  std::printf("  object growth  GDI %+ld, windows %+ld\n", f.after.gdi_live - f.before.gdi_live,
              f.after.windows - f.before.windows);
}

void print_aim(const char* what, double value, double aim, const char* unit) {
  if (value <= aim)
    std::printf("  %-22s %.1f %s, aim %.0f %s: met\n", what, value, unit, aim, unit);
  else
    std::printf("  %-22s %.1f %s, aim %.0f %s: missed by %.1f %s\n", what, value, unit, aim, unit,
                value - aim, unit);
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  const double idle_seconds = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 5.0;

  WizardSession session = start_wizard();
  gdi_object_count::start();
  // Start-up as the program does it: the first frame on screen, then the detection.
  int32_t running = 1;
  int32_t current_page = 1;
  run_wizard_frame(session, &running, &current_page);
  const double detection_start = bench_now_us();
  session.wizard->first_frame();
  std::printf("detection after the first frame  %.0f ms, %zu rows\n",
              (bench_now_us() - detection_start) / 1000, session.wizard->platform.rows.size());

  const PageFigures page1 = measure_page(session, 1, frames, idle_seconds);
  print_page(1, frames, page1);
  const PageFigures page2 = measure_page(session, 2, frames, idle_seconds);
  print_page(2, frames, page2);

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  const double working_set_mb = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
  std::printf("working set  %.1f MB (peak %.1f MB, private %.1f MB)\n", working_set_mb,
              static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0),
              static_cast<double>(memory.PagefileUsage) / (1024.0 * 1024.0));

  std::printf("aims\n");
  print_aim("page-2 frame", page2.median_us / 1000, kPageTwoFrameAimUs / 1000, "ms");
  print_aim("idle CPU, page 1", page1.idle_cpu_percent, kIdleCpuAimPercent, "%");
  print_aim("idle CPU, page 2", page2.idle_cpu_percent, kIdleCpuAimPercent, "%");
  print_aim("working set", working_set_mb, kWorkingSetAimMb, "MB");
  const long growth =
      (page1.after.gdi_live - page1.before.gdi_live) + (page2.after.gdi_live - page2.before.gdi_live) +
      (page1.after.windows - page1.before.windows) + (page2.after.windows - page2.before.windows);
  std::printf("  %-22s %s\n", "object growth", growth == 0 ? "none: met" : "objects grew: missed");

  end_wizard(session);
  return 0;
}
