// The graph window: one top-level window whose client area shows an
// off-screen IMAGE. A window thread of its own creates and owns the window,
// pumps its messages, queues input as GraphMsg records and, unless batch
// drawing is on, copies the image to the screen every 17 ms or more.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "graphics/image.h"
#include "graphics/message_queue.h"

// Flags of open_graph_window.
enum : int {
  GWF_SHOWCONSOLE = 1,  // allocate a console when the process has none
  GWF_NOCLOSE = 2,      // the close command is disabled
  GWF_NOMINIMIZE = 4,   // no minimize box
  GWF_DBLCLKS = 8,      // double-click messages are delivered
};

// Private messages: capture and release must run on the window's own thread.
constexpr UINT WM_GRAPH_CAPTURE = 0x401;
constexpr UINT WM_GRAPH_RELEASE = 0x402;

// Handed from the opening thread to the window thread; read before the ready signal.
struct WindowThreadParams {
  int x;  // -1: the system's default position
  int y;
  BYTE no_close;
  BYTE no_minimize;
  BYTE dbl_clicks;
  const wchar_t* title;
};

// The window object, created at library start-up; its IMAGE part is the
// picture of the client area.
class GraphWnd : public IMAGE {
 public:
  GraphWnd();
  ~GraphWnd() override;
  // Resizes the picture and the window to a new client size.
  void resize(int width, int height) override;

  // Releases the window DC, hands a library-allocated console back, hides and
  // destroys the window. Runs on the window thread only (DestroyWindow works
  // only there); nothing when no window is open.
  void close_sequence();

  bool had_console = false;
  HANDLE ready_event = nullptr;  // auto-reset; signalled once the window exists
  MessageQueue queue;
  FILE* console_out = nullptr;
  FILE* console_in = nullptr;
  HWND hwnd = nullptr;
  HDC window_dc = nullptr;
  std::atomic<bool> batch{false};  // the window thread does not refresh by itself

  // The window thread, kept so that a close requested by the program can wait
  // until the thread has left its pump; null while no thread runs.
  HANDLE window_thread = nullptr;
  DWORD window_thread_id = 0;
  // Set while the program itself closes the window: the window's destruction
  // then does not end the process.
  std::atomic<bool> closing_by_program{false};
};

// Opens the window with a client area of width by height (closing an open one
// first) and makes it the working image. Starts the library on first use.
// Null when the window cannot be created (no display); nothing is then open.
HWND open_graph_window(int width, int height, int flags);
// Closes the window and balances the use count of open_graph_window; the
// library shuts down when nothing else uses it. Nothing when no window is open.
void close_graph_window();
// The open window, or null.
HWND graph_window_handle();
// Capture the mouse to the graph window / release it; not while holding draw_lock.
LRESULT capture_mouse();
LRESULT release_mouse();

// Copies a rectangle of the window's image (in device units, at the same place)
// to the window, with the image's world transform out of the way. Takes
// draw_lock for the copy. The window object's own DCs are used, so a copy
// shows the window's picture even while an off-screen image is the working
// image.
void copy_window_image(GraphWnd& window, int x, int y, int width, int height);

// The refresh period of the window thread: a copy is due when more than 16 ms
// have passed, measured as an unsigned difference so that the wrap of
// GetTickCount does not stop the refresh.
inline bool refresh_due(DWORD now, DWORD last) {
  return now - last > 16;
}

// The window procedure, exposed for the tests of its message handling.
LRESULT CALLBACK graph_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
