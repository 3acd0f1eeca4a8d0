// The graph window for real: its thread, styles, refresh, flushes, the input
// that reaches the program as GraphMsg records, capture, and closing.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "graphics/drawing_api.h"
#include "graphics/drawing_devices.h"
#include "graphics/library_state.h"
#include "tests/support/scratch_tree.h"

namespace {

bool wait_until(const std::function<bool()>& done, DWORD timeout_ms = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeout_ms) return false;
    Sleep(5);
  }
  return true;
}

// What the window shows, read back from the window's own DC.
COLORREF screen_pixel(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  const COLORREF color = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return color;
}

// Takes every queued record; window records are left out when asked.
std::vector<GraphMsg> drain(bool skip_window_records = true) {
  std::vector<GraphMsg> records;
  GraphMsg m;
  while (peek_graph_message(&m, MSGCAT_ALL, true))
    if (!skip_window_records || message_category(m.message) != MSGCAT_WINDOW) records.push_back(m);
  return records;
}

struct WindowSearch {
  DWORD pid;
  HWND found;
};

// Finds the visible graph window of one process.
BOOL CALLBACK find_graph_window(HWND h, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t name[32] = {};
  GetClassNameW(h, name, 32);
  if (pid == search->pid && wcscmp(name, L"PivroWnd") == 0 && IsWindowVisible(h)) search->found = h;
  return search->found == nullptr;
}

// Drains until the window thread has been quiet for a moment (creation and
// activation queue window records of their own).
void settle() {
  Sleep(50);
  drain(false);
}

// One window for the drawing and input cases: each close costs about 2 s
// under X without a window manager. Every case starts from a black window
// with the default drawing state, refreshing by itself, and an empty queue.
class GraphWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { hwnd = open_graph_window(490, 328, 0); }
  static void TearDownTestSuite() { close_graph_window(); }
  void SetUp() override {
    ASSERT_TRUE(IsWindow(hwnd));
    end_batch_draw();
    graphics_library.working_device->reset_defaults();
    clear();
    flush_batch_draw();
    settle();
  }
  static HWND hwnd;
};

HWND GraphWindow::hwnd = nullptr;

}  // namespace

TEST(GraphWindowLifetime, OpensAndClosesTwiceWithABalancedUseCount) {
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(graphics_library.library_use_count, 0) << round;
    HWND hwnd = open_graph_window(490, 328, 0);
    ASSERT_TRUE(IsWindow(hwnd)) << round;
    EXPECT_EQ(graph_window_handle(), hwnd);
    EXPECT_EQ(graphics_library.library_use_count, 2) << "the window object, plus one for the open window";
    EXPECT_EQ(graphics_library.working_image, graphics_library.window);
    EXPECT_EQ(get_line_color(), 0xFFFFFFu);
    EXPECT_EQ(get_fill_color(), 0xFFFFFFu);
    EXPECT_EQ(get_bk_color(), 0u);
    EXPECT_EQ(screen_pixel(hwnd, 10, 10), 0u);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    EXPECT_STREQ(title, L"test_graph_window");
    RECT client = {};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 490);
    EXPECT_EQ(client.bottom, 328);
    close_graph_window();
    EXPECT_FALSE(IsWindow(hwnd)) << round;
    EXPECT_EQ(graph_window_handle(), nullptr);
    EXPECT_EQ(graphics_library.library_use_count, 0) << round;
    WNDCLASSEXW probe = {};
    probe.cbSize = sizeof probe;
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"PivroWnd", &probe))
        << "the window thread has ended and unregistered its class";
  }
  close_graph_window();  // nothing open: nothing happens
  EXPECT_EQ(graphics_library.library_use_count, 0);
}

TEST(GraphWindowLifetime, OpeningOverAnOpenWindowReplacesIt) {
  IMAGE keeper;  // an image keeps the library started across the closes
  EXPECT_EQ(graphics_library.library_use_count, 2);
  HWND first = open_graph_window(100, 80, 0);
  EXPECT_EQ(graphics_library.library_use_count, 3);
  HWND second = open_graph_window(120, 90, 0);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(IsWindow(second));
  EXPECT_EQ(graphics_library.library_use_count, 3);
  EXPECT_EQ(graphics_library.window->width, 120);
  close_graph_window();
  close_graph_window();
  EXPECT_EQ(graphics_library.library_use_count, 2);
}

TEST(GraphWindowLifetime, FlagsChooseTheClassAndWindowStyles) {
  struct Case {
    int flags;
    bool minimize_box, dbl_clicks, no_close;
  } cases[] = {
      {0, true, false, false},
      {GWF_NOMINIMIZE, false, false, false},
      {GWF_DBLCLKS | GWF_NOCLOSE, true, true, true},
  };
  for (const Case& c : cases) {
    HWND hwnd = open_graph_window(200, 100, c.flags);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    const DWORD class_style = GetClassLongW(hwnd, GCL_STYLE);
    EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, true) << c.flags;
    EXPECT_TRUE(style & WS_SYSMENU) << c.flags;
    EXPECT_FALSE(style & WS_THICKFRAME) << c.flags;
    EXPECT_FALSE(style & WS_MAXIMIZEBOX) << c.flags;
    EXPECT_EQ((style & WS_MINIMIZEBOX) != 0, c.minimize_box) << c.flags;
    EXPECT_EQ((class_style & CS_DBLCLKS) != 0, c.dbl_clicks) << c.flags;
    EXPECT_EQ((class_style & CS_NOCLOSE) != 0, c.no_close) << c.flags;
    close_graph_window();
  }
}

TEST(GraphWindowRefresh, RefreshIsDueOnlyAfterSixteenMillisecondsAlsoAcrossTheWrap) {
  struct Case {
    DWORD now, last;
    bool due;
  } cases[] = {
      {1016, 1000, false}, {1017, 1000, true}, {5, 0xFFFFFFF0u, true}, {3, 0xFFFFFFF8u, false}, {0, 0, false},
  };
  for (const Case& c : cases) EXPECT_EQ(refresh_due(c.now, c.last), c.due) << c.now << " " << c.last;
}

TEST_F(GraphWindow, BatchDrawingReachesTheScreenOnlyThroughFlushes) {
  begin_batch_draw();
  set_bk_color(RGB(200, 0, 0));
  clear();
  Sleep(120);  // several refresh periods: none may copy
  EXPECT_EQ(screen_pixel(hwnd, 0, 0), 0u);
  EXPECT_EQ(screen_pixel(hwnd, 200, 100), 0u);

  graphics_library.wnd_device->flush_batch_rect(0, 0, 0, 0);  // exactly one pixel
  EXPECT_EQ(screen_pixel(hwnd, 0, 0), RGB(200, 0, 0));
  EXPECT_EQ(screen_pixel(hwnd, 1, 0), 0u);
  EXPECT_EQ(screen_pixel(hwnd, 0, 1), 0u);

  flush_batch_draw();
  EXPECT_EQ(screen_pixel(hwnd, 489, 327), RGB(200, 0, 0));

  end_batch_draw();  // the window thread refreshes by itself again
  set_bk_color(RGB(0, 150, 0));
  clear();
  EXPECT_TRUE(wait_until([&] { return screen_pixel(hwnd, 300, 300) == RGB(0, 150, 0); }, 1000));
}

TEST_F(GraphWindow, LineToContinuesFromTheCurrentPosition) {
  begin_batch_draw();
  set_line_color(RGB(0, 0, 255));
  line_to(5, 0);  // no move_to yet in this process: starts at 0, 0
  move_to(10, 10);
  line_to(20, 10);
  line_to(20, 20);
  flush_batch_draw();
  IMAGE& image = *graphics_library.window;
  GdiFlush();
  auto px = [&](int x, int y) { return image.pixels[y * image.width + x]; };
  EXPECT_EQ(px(2, 0), 0x0000FFu);
  EXPECT_EQ(px(15, 10), 0x0000FFu);
  EXPECT_EQ(px(20, 15), 0x0000FFu);
  EXPECT_EQ(px(15, 15), 0u);
  EXPECT_EQ(screen_pixel(hwnd, 20, 15), RGB(0, 0, 255));
}

TEST_F(GraphWindow, CopyImageBlitsAnOffscreenPicture) {
  begin_batch_draw();
  IMAGE picture(4, 4);
  fill_pixels(picture, RGB(10, 20, 30));
  picture.pixels[0] = 0xFFFFFF;
  copy_image(50, 60, 4, 4, &picture, 0, 0, SRCCOPY);
  flush_batch_draw();
  EXPECT_EQ(screen_pixel(hwnd, 50, 60), RGB(255, 255, 255));
  EXPECT_EQ(screen_pixel(hwnd, 53, 63), RGB(10, 20, 30));
  EXPECT_EQ(screen_pixel(hwnd, 54, 63), 0u);
}

TEST_F(GraphWindow, ResizingKeepsThePictureAndChangesTheClientArea) {
  begin_batch_draw();
  GraphWnd& window = *graphics_library.window;
  graphics_library.working_device->put_pixel(5, 5, RGB(255, 0, 0));
  window.resize(560, 360);
  RECT client = {};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 560);
  EXPECT_EQ(client.bottom, 360);
  EXPECT_EQ(window.width, 560);
  GdiFlush();
  EXPECT_EQ(window.pixels[5 * 560 + 5], 0xFF0000u);
  EXPECT_EQ(window.pixels[359 * 560 + 559], 0u);
  // Grown by more than a pixel: the whole picture was flushed to the window.
  EXPECT_EQ(screen_pixel(hwnd, 5, 5), RGB(255, 0, 0));
  window.resize(490, 328);
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 490);
  EXPECT_EQ(window.height, 328);
}

TEST_F(GraphWindow, PostedInputArrivesAsRecordsInOrder) {
  PostMessageW(hwnd, WM_MOUSEMOVE, MK_SHIFT | MK_LBUTTON, MAKELPARAM(-3, 12));
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 50));
  // F2 makes no character, so TranslateMessage adds nothing to the sequence.
  PostMessageW(hwnd, WM_KEYDOWN, VK_F2, LPARAM(0x3C) << 16);
  PostMessageW(hwnd, WM_CHAR, L'z', 0);
  PostMessageW(hwnd, WM_KEYUP, VK_F2, (LPARAM(0x3C) << 16) | (LPARAM(1) << 30));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(41, 51));
  std::vector<GraphMsg> got;
  EXPECT_TRUE(wait_until([&] {
    for (const GraphMsg& m : drain()) got.push_back(m);
    return got.size() >= 6;
  }));
  ASSERT_EQ(got.size(), 6u);
  const uint16_t codes[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_LBUTTONUP};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(got[i].message, codes[i]) << i;
  EXPECT_EQ(got[0].mouse.mouse_flags, 6);
  EXPECT_EQ(got[0].mouse.x, -3);
  EXPECT_EQ(got[0].mouse.y, 12);
  EXPECT_EQ(got[1].mouse.mouse_flags, 4);
  EXPECT_EQ(got[2].key.vkey, VK_F2);
  EXPECT_EQ(got[2].key.scan_code, 0x3C);
  EXPECT_EQ(got[3].character.ch, L'z');
  EXPECT_EQ(got[4].key.key_flags, 2) << "the key was down before";
  EXPECT_EQ(got[5].mouse.x, 41);
}

TEST_F(GraphWindow, WheelPositionsAreMappedFromTheScreenIntoTheClientArea) {
  POINT origin = {0, 0};
  ClientToScreen(hwnd, &origin);
  // Left of the window, and on a monitor left of the primary one.
  for (int screen_x : {int(origin.x) + 30, int(origin.x) - 50, -200}) {
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WORD(-240)),
                 MAKELPARAM(WORD(screen_x), WORD(origin.y + 7)));
    std::vector<GraphMsg> got = drain();
    ASSERT_EQ(got.size(), 1u) << screen_x;
    EXPECT_EQ(got[0].message, WM_MOUSEWHEEL);
    EXPECT_EQ(got[0].mouse.x, screen_x - origin.x) << screen_x;
    EXPECT_EQ(got[0].mouse.y, 7);
    EXPECT_EQ(got[0].mouse.wheel, -240);
    EXPECT_EQ(got[0].mouse.mouse_flags, 1);
  }
}

TEST_F(GraphWindow, AFullQueueKeepsSixtyThreeRecordsAndAFilterDiscards) {
  for (int i = 0; i < 64; ++i) SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(i, 0));
  GraphMsg m;
  ASSERT_TRUE(peek_graph_message(&m, MSGCAT_ALL, true));
  EXPECT_EQ(m.mouse.x, 0);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(500, 0));  // room for one again
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(501, 0));  // dropped
  std::vector<GraphMsg> rest = drain();
  ASSERT_EQ(rest.size(), 63u);
  EXPECT_EQ(rest[0].mouse.x, 1);
  EXPECT_EQ(rest[61].mouse.x, 62);
  EXPECT_EQ(rest[62].mouse.x, 500);

  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
  SendMessageW(hwnd, WM_KEYDOWN, 'K', 0);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  ASSERT_TRUE(peek_graph_message(&m, MSGCAT_KEY, false));
  EXPECT_EQ(m.key.vkey, 'K');
  ASSERT_TRUE(peek_graph_message(&m, MSGCAT_KEY, true));
  ASSERT_TRUE(peek_graph_message(&m, MSGCAT_ALL, true));
  EXPECT_EQ(m.mouse.x, 2) << "the mouse record before the key was discarded";
  EXPECT_FALSE(peek_graph_message(&m, MSGCAT_ALL, true));
}

TEST_F(GraphWindow, AltF4TypedIntoTheWindowIsQueuedFoldedAndDoesNotClose) {
  SetForegroundWindow(hwnd);
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
  ASSERT_TRUE(wait_until([&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus == hwnd; }))
      << "typed keys go to the window with the focus";
  INPUT keys[4] = {};
  const WORD order[4] = {VK_MENU, VK_F4, VK_F4, VK_MENU};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = order[i];
    keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
  }
  SendInput(4, keys, sizeof(INPUT));
  std::vector<GraphMsg> got;
  EXPECT_TRUE(wait_until([&] {
    for (const GraphMsg& m : drain()) got.push_back(m);
    return got.size() >= 4;
  }));
  Sleep(100);
  EXPECT_TRUE(IsWindow(hwnd));
  ASSERT_EQ(got.size(), 4u);
  // With Alt held, Windows sends WM_SYSKEYDOWN / WM_SYSKEYUP; they arrive folded.
  const uint16_t codes[4] = {WM_KEYDOWN, WM_KEYDOWN, WM_KEYUP, WM_KEYUP};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(got[i].message, codes[i]) << i;
    EXPECT_EQ(got[i].key.vkey, order[i]) << i;
  }
}

TEST_F(GraphWindow, CaptureBelongsToTheWindowThread) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
  ASSERT_NE(thread, GetCurrentThreadId());
  capture_mouse();
  ASSERT_TRUE(GetGUIThreadInfo(thread, &info));
  EXPECT_EQ(info.hwndCapture, hwnd);
  release_mouse();
  ASSERT_TRUE(GetGUIThreadInfo(thread, &info));
  EXPECT_EQ(info.hwndCapture, nullptr);
}

TEST_F(GraphWindow, CapturedMouseReportsMovesOutsideTheWindow) {
  // Real input through the system's input queue: a held button and a move
  // that leaves the client area still reach the window while it has capture.
  POINT inside = {100, 100};
  ClientToScreen(hwnd, &inside);
  SetCursorPos(inside.x, inside.y);
  SetForegroundWindow(hwnd);
  INPUT down = {};
  down.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &down, sizeof down);
  std::vector<GraphMsg> got;
  ASSERT_TRUE(wait_until([&] {
    for (const GraphMsg& m : drain()) got.push_back(m);
    return !got.empty() && got.back().message == WM_LBUTTONDOWN;
  })) << "the button press reaches the window";
  capture_mouse();
  INPUT move = {};
  move.type = INPUT_MOUSE;
  move.mi.dx = 600;
  move.mi.dy = 0;
  move.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &move, sizeof move);
  got.clear();
  EXPECT_TRUE(wait_until([&] {
    for (const GraphMsg& m : drain()) got.push_back(m);
    for (const GraphMsg& m : got)
      if (m.message == WM_MOUSEMOVE && m.mouse.x >= 490) return true;
    return false;
  })) << "a move beyond the right edge arrives while captured";
  INPUT up = {};
  up.type = INPUT_MOUSE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &up, sizeof up);
  release_mouse();
}

TEST(GraphWindowClose, TheCloseBoxEndsTheProcessAndConsolesAreHandedBack) {
  struct Case {
    const wchar_t* mode;
    DWORD exit_code;
  } cases[] = {
      {L"user", 0},        // closed from its system menu: the window thread ends the process
      {L"program", 7},     // closed by the program: it goes on and returns its own code
      {L"console", 23},    // a console asked for lives as long as the window
      {L"inherited", 45},  // the window takes the console's place and gives it back
  };
  const std::wstring program = fixture_path(L"graphics\\graph_window_program.exe");
  for (const Case& c : cases) {
    std::wstring command = L"\"" + program + L"\" " + c.mode;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, DETACHED_PROCESS,
                               nullptr, nullptr, &startup, &process))
        << GetLastError();
    if (std::wstring(c.mode) == L"user") {
      WindowSearch search = {process.dwProcessId, nullptr};
      EXPECT_TRUE(wait_until(
          [&] {
            EnumWindows(find_graph_window, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
          },
          10000));
      Sleep(200);  // the program's main thread is drawing by now
      PostMessageW(search.found, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << c.mode;
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
    EXPECT_EQ(code, c.exit_code) << c.mode;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}
