// The graph window: the window object, its thread with the message pump and
// the automatic refresh, the window procedure, opening and closing.
//
// Closing. The window belongs to its thread, and only that thread can destroy
// it. A close that the program asks for (close_graph_window, or opening a new
// window over an open one) therefore sends WM_CLOSE to the window, marked as
// the program's own close: the window thread runs the close sequence, the
// window's destruction posts WM_QUIT without ending the process, and the
// thread leaves its pump. The program's thread waits for the window thread to
// end before it returns, so the window thread never touches the window
// object, the devices or the locks after they are released. A close by the
// user (close box, system menu) runs the same sequence on the window thread
// and ends the process with exit code 0.
#include "graphics/graph_window.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "graphics/drawing_devices.h"
#include "graphics/library_state.h"

namespace {

constexpr DWORD style_without_minimize = 0x00C80000;  // WS_CAPTION | WS_SYSMENU
constexpr DWORD style_with_minimize = 0x00CA0000;     // ... | WS_MINIMIZEBOX
const wchar_t window_class_name[] = L"PivroWnd";

GraphWnd* window_object() {
  return graphics_library.window;
}

// The program's file name without folder and extension, for the first title.
void program_title(wchar_t (&title)[MAX_PATH]) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  wchar_t* dot = wcsrchr(path, L'.');
  if (dot) *dot = 0;
  const wchar_t* slash = wcsrchr(path, L'\\');
  wcsncpy(title, slash ? slash + 1 : path, MAX_PATH - 1);
  title[MAX_PATH - 1] = 0;
}

void queue_input(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  GraphWnd* window = window_object();
  if (!window) return;
  GraphMsg record;
  if (!make_graph_msg(hwnd, message, wparam, lparam, &record)) return;
  // The category of the folded code: system keys count as keys.
  if (!(message_category(record.message) & graphics_library.message_category_mask)) return;
  ScopedLock lock(graphics_library.queue_lock);
  window->queue.push(record);
}

// Copies the whole window image to the screen. The size is read under
// draw_lock: the program's thread may be resizing the image meanwhile.
void refresh_window(GraphWnd& window) {
  DrawLock lock;
  copy_window_image(window, 0, 0, window.width, window.height);
}

DWORD WINAPI graph_window_thread(void* argument) {
  const WindowThreadParams& params = *static_cast<const WindowThreadParams*>(argument);
  GraphWnd& window = *window_object();
  const int x = params.x == -1 ? int(CW_USEDEFAULT) : params.x;
  const int y = params.y == -1 ? int(CW_USEDEFAULT) : params.y;

  HINSTANCE instance = GetModuleHandleW(nullptr);
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  HICON icon = ExtractIconW(instance, program, 0);
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.style = (params.no_close ? CS_NOCLOSE : 0) | (params.dbl_clicks ? CS_DBLCLKS : 0);
  window_class.lpfnWndProc = graph_window_proc;
  window_class.hInstance = instance;
  window_class.hIcon = icon;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = window_class_name;
  RegisterClassExW(&window_class);

  const DWORD style = params.no_minimize ? style_without_minimize : style_with_minimize;
  RECT outer = {0, 0, window.width, window.height};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  window.hwnd = CreateWindowExW(0, window_class_name, params.title, style, x, y, outer.right - outer.left,
                                outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
  if (icon) DestroyIcon(icon);
  if (!window.hwnd) {
    // No window (no display, say): the opener learns it from the null handle,
    // and no pump runs that nothing could ever end.
    UnregisterClassW(window_class_name, instance);
    SetEvent(window.ready_event);
    return 1;
  }
  // The window takes the place of the console it was started from.
  if (x != int(CW_USEDEFAULT) && graphics_library.console_window)
    ShowWindow(graphics_library.console_window, SW_HIDE);
  ShowWindow(window.hwnd, SW_SHOW);
  SetEvent(window.ready_event);  // params are not read after this point

  MSG msg = {};
  DWORD last = GetTickCount();
  while (msg.message != WM_QUIT) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;  // pending messages go first, without sleeping
    }
    if (window.batch) {
      Sleep(1);
      continue;
    }
    const DWORD now = GetTickCount();
    if (!refresh_due(now, last)) {
      Sleep(1);
      continue;
    }
    last = now;
    refresh_window(window);
  }
  UnregisterClassW(window_class_name, instance);
  return 0;
}

bool on_window_thread(const GraphWnd& window) {
  return GetCurrentThreadId() == window.window_thread_id;
}

}  // namespace

// GraphWnd -----------------------------------------------------------------------

GraphWnd::GraphWnd() : IMAGE(0, 0) {
  graphics_library.window = this;
  ready_event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  graphics_library.message_category_mask = MSGCAT_ALL;
}

GraphWnd::~GraphWnd() {
  if (graphics_library.wnd_device) graphics_library.wnd_device->close_window();
  if (ready_event) CloseHandle(ready_event);
  graphics_library.window = nullptr;
}

void GraphWnd::resize(int w, int h) {
  RECT outer = {0, 0, w, h};
  AdjustWindowRectEx(&outer, style_without_minimize, FALSE, 0);
  RECT previous = {};
  GetWindowRect(hwnd, &previous);
  IMAGE::resize(w, h);
  // Not under draw_lock: SetWindowPos waits for the window thread.
  SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOMOVE);
  if (previous.right - previous.left + 1 < w || previous.bottom - previous.top + 1 < h)
    graphics_library.wnd_device->flush_batch();
}

void GraphWnd::close_sequence() {
  if (!hwnd) return;
  GraphicsLibrary& lib = graphics_library;
  {
    DrawLock lock;
    ReleaseDC(hwnd, window_dc);
    window_dc = nullptr;
    lib.target_dc = nullptr;
  }
  RECT place = {};
  if (had_console) {
    if (lib.console_window && !IsWindowVisible(lib.console_window)) GetWindowRect(hwnd, &place);
  } else if (lib.console_window) {  // the console the library allocated goes with the window
    // The streams are the program's stdout and stdin: pointed at NUL rather
    // than closed, they let go of the console and stay usable.
    if (console_out) _wfreopen(L"NUL", L"w", console_out);
    if (console_in) _wfreopen(L"NUL", L"r", console_in);
    console_out = console_in = nullptr;
    FreeConsole();
    lib.console_window = nullptr;
  }
  // Under X without a window manager, the hide (or DestroyWindow's own) waits
  // about 2 s for the withdrawal that no manager confirms.
  ShowWindow(hwnd, SW_HIDE);
  DestroyWindow(hwnd);
  hwnd = nullptr;
  // The console reappears where the graph window was.
  if (lib.console_window && !IsWindowVisible(lib.console_window)) {
    SetWindowPos(lib.console_window, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE);
    ShowWindow(lib.console_window, SW_SHOW);
  }
}

// Window procedure ------------------------------------------------------------------

LRESULT CALLBACK graph_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  GraphWnd* window = window_object();
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      if (window && window->closing_by_program) return 0;  // the program goes on
      if (graphics_library.console_window) {
        SendMessageW(graphics_library.console_window, WM_CLOSE, 0, 0);
      } else {
        // Closed by the user: the program ends here, whatever its main thread does.
        std::fflush(nullptr);
        ExitProcess(0);
      }
      return 0;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
      DefWindowProcW(hwnd, message, wparam, lparam);
      queue_input(hwnd, message, wparam, lparam);
      return 0;
    case WM_PAINT:
      ValidateRect(hwnd, nullptr);  // the content arrives by the refresh or a flush
      return 0;
    case WM_CLOSE:
      if (window) window->close_sequence();
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Never to DefWindowProcW: Alt+F4 and the Alt menu key do nothing.
      if (graphics_library.console_window && wparam != VK_CANCEL)
        PostMessageW(graphics_library.console_window, message, wparam, lparam);
      queue_input(hwnd, message, wparam, lparam);
      return 0;
    case WM_CHAR:
      queue_input(hwnd, message, wparam, lparam);
      return 0;
    case WM_GRAPH_CAPTURE:
      if (window) SetCapture(window->hwnd);
      return 0;
    case WM_GRAPH_RELEASE:
      ReleaseCapture();
      return 0;
    default:
      if (is_graph_mouse_message(message)) {
        queue_input(hwnd, message, wparam, lparam);
        return 0;
      }
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

// Opening and closing (the window device's own operations) -------------------------------

HWND DrawOnWnd::open_window(int width, int height, int flags) {
  GraphicsLibrary& lib = graphics_library;
  GraphWnd& window = *lib.window;
  wchar_t title[MAX_PATH] = {};
  program_title(title);
  if (window.hwnd) close_graph_window();

  window.width = width;
  window.height = height;
  lib.console_window = GetConsoleWindow();
  window.had_console = lib.console_window != nullptr;
  if (!lib.console_window && (flags & GWF_SHOWCONSOLE)) {
    AllocConsole();
    window.console_out = _wfreopen(L"CONOUT$", L"w+t", stdout);
    window.console_in = _wfreopen(L"CONIN$", L"r+t", stdin);
    lib.console_window = GetConsoleWindow();
  }
  if (lib.console_window) SetConsoleCtrlHandler(nullptr, TRUE);  // Ctrl+C does not end the program

  WindowThreadParams params = {-1,
                               -1,
                               BYTE((flags & GWF_NOCLOSE) != 0),
                               BYTE((flags & GWF_NOMINIMIZE) != 0),
                               BYTE((flags & GWF_DBLCLKS) != 0),
                               title};
  if (window.had_console && !(flags & GWF_SHOWCONSOLE)) {
    RECT console = {};
    GetWindowRect(lib.console_window, &console);
    params.x = std::max(0L, console.left);
    params.y = std::max(0L, console.top);
  }
  window.closing_by_program = false;
  window.window_thread = CreateThread(nullptr, 0, graph_window_thread, &params, 0, &window.window_thread_id);
  WaitForSingleObject(window.ready_event, INFINITE);
  if (!window.hwnd) {
    WaitForSingleObject(window.window_thread, INFINITE);
    CloseHandle(window.window_thread);
    window.window_thread = nullptr;
    window.window_thread_id = 0;
    return nullptr;
  }

  {
    DrawLock lock;
    window.window_dc = GetDC(window.hwnd);
    window.IMAGE::resize(width, height);
  }
  set_working_image(nullptr);
  reset_defaults();
  {
    DrawLock lock;
    fill_pixels(window, 0);
  }
  flush_batch();
  return window.hwnd;
}

void DrawOnWnd::close_window() {
  GraphWnd* window = graphics_library.window;
  if (!window) return;
  if (window->hwnd) {
    if (on_window_thread(*window)) {
      window->close_sequence();
    } else {
      window->closing_by_program = true;
      SendMessageW(window->hwnd, WM_CLOSE, 0, 0);
    }
  }
  // Wait until the window thread has left its pump; then nothing of the
  // library is touched by it any more.
  if (window->window_thread && !on_window_thread(*window)) {
    WaitForSingleObject(window->window_thread, INFINITE);
    CloseHandle(window->window_thread);
    window->window_thread = nullptr;
    window->window_thread_id = 0;
  }
  window->closing_by_program = false;
  // The working image was the window: drawing has nowhere to go now.
  if (graphics_library.working_image == window) set_working_image(nullptr);
}

// Flat window calls ---------------------------------------------------------------

HWND open_graph_window(int width, int height, int flags) {
  GraphicsLibrary& lib = graphics_library;
  library_acquire();
  // An earlier open is balanced first, even when its window is already gone.
  if (lib.window_open_counted) close_graph_window();
  HWND hwnd = lib.wnd_device->open_window(width, height, flags);
  if (!hwnd) {  // the window could not be created: nothing is open to balance later
    library_release();
    return nullptr;
  }
  lib.window_open_counted = true;
  return hwnd;
}

void close_graph_window() {
  GraphicsLibrary& lib = graphics_library;
  if (!lib.window_open_counted) return;  // nothing open: nothing to balance
  if (lib.wnd_device) lib.wnd_device->close_window();
  lib.window_open_counted = false;
  library_release();
}

HWND graph_window_handle() {
  return graphics_library.window ? graphics_library.window->hwnd : nullptr;
}

LRESULT capture_mouse() {
  return SendMessageW(graph_window_handle(), WM_GRAPH_CAPTURE, 0, 0);
}

LRESULT release_mouse() {
  return SendMessageW(graph_window_handle(), WM_GRAPH_RELEASE, 0, 0);
}
