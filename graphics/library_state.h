// The graphics library's process-wide state: the use count, the two locks,
// the GDI entry points loaded by name, the devices and the working image.
// Start-up fills it, shutdown empties it; see graph_window.cpp.
#pragma once

#include <windows.h>

#include <cstdint>

class IMAGE;
class GraphWnd;
class DrawOnImg;
class DrawOnWnd;

// The GDI functions that the library calls, resolved from gdi32.dll by name in
// this order at start-up.
#define PIVRO_GDI_FUNCTIONS(X) \
  X(Arc)                       \
  X(BitBlt)                    \
  X(CreateBitmap)              \
  X(CreateBrushIndirect)       \
  X(CreateCompatibleDC)        \
  X(CreateDIBSection)          \
  X(CreatePen)                 \
  X(CreateRectRgn)             \
  X(CreateSolidBrush)          \
  X(DeleteDC)                  \
  X(DeleteObject)              \
  X(Ellipse)                   \
  X(ExtCreatePen)              \
  X(ExtFloodFill)              \
  X(FillRgn)                   \
  X(GdiSetBatchLimit)          \
  X(GetBkMode)                 \
  X(GetClipRgn)                \
  X(GetCurrentObject)          \
  X(GetDIBits)                 \
  X(GetPixel)                  \
  X(GetPolyFillMode)           \
  X(GetROP2)                   \
  X(GetStockObject)            \
  X(LineTo)                    \
  X(MoveToEx)                  \
  X(Pie)                       \
  X(PolyBezier)                \
  X(Polygon)                   \
  X(Polyline)                  \
  X(RealizePalette)            \
  X(Rectangle)                 \
  X(RoundRect)                 \
  X(SelectClipRgn)             \
  X(SelectObject)              \
  X(SelectPalette)             \
  X(SetBkColor)                \
  X(SetBkMode)                 \
  X(SetGraphicsMode)           \
  X(SetPixelV)                 \
  X(SetPolyFillMode)           \
  X(SetROP2)                   \
  X(SetTextColor)              \
  X(SetWorldTransform)         \
  X(CreateFontIndirectW)       \
  X(GetObjectW)                \
  X(GetTextExtentPoint32W)     \
  X(TextOutW)

struct GdiTable {
#define PIVRO_GDI_SLOT(name) decltype(&::name) name = nullptr;
  PIVRO_GDI_FUNCTIONS(PIVRO_GDI_SLOT)
#undef PIVRO_GDI_SLOT

  // Number of entries: one per name in PIVRO_GDI_FUNCTIONS.
#define PIVRO_GDI_ONE(name) +1
  static constexpr int function_count = 0 PIVRO_GDI_FUNCTIONS(PIVRO_GDI_ONE);
#undef PIVRO_GDI_ONE
  // Resolves every entry from the module; entries it lacks stay null.
  void load(HMODULE gdi32);
  // Number of entries that were resolved.
  int loaded_count() const;
};
static_assert(GdiTable::function_count == 48, "the GDI table holds the 48 functions the library loads");

struct GraphicsLibrary {
  // Live IMAGE objects (the window object included), plus one while the window is open.
  int library_use_count = 0;
  // Serialises all GDI work on images, the window DC and this shared state.
  CRITICAL_SECTION draw_lock;
  // Guards the window object's message queue; never held together with draw_lock.
  CRITICAL_SECTION queue_lock;

  GraphWnd* window = nullptr;
  HWND console_window = nullptr;
  uint8_t message_category_mask = 255;
  // True between open_graph_window and the close_graph_window that balances it.
  bool window_open_counted = false;

  DrawOnImg* img_device = nullptr;
  DrawOnWnd* wnd_device = nullptr;
  IMAGE* working_image = nullptr;
  DrawOnImg* working_device = nullptr;
  HDC target_dc = nullptr;  // the window's DC while the window is the working image
  HDC image_dc = nullptr;   // the working image's memory DC

  GdiTable gdi;
  BITMAPINFOHEADER dib_header = {sizeof(BITMAPINFOHEADER), 0, 0, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  POINT current_position = {0, 0};  // of move_to and line_to

  HMODULE ole32 = nullptr;
  HMODULE gdi32 = nullptr;
  HMODULE gdiplus = nullptr;
  ULONG_PTR gdiplus_token = 0;
  void(WINAPI* co_uninitialize)() = nullptr;
  void(WINAPI* gdiplus_shutdown)(ULONG_PTR) = nullptr;
};

extern GraphicsLibrary graphics_library;

inline const GdiTable& gdi() {
  return graphics_library.gdi;
}

// Holds a critical section for one scope; the same thread may hold it again.
class ScopedLock {
 public:
  explicit ScopedLock(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
  ~ScopedLock() { LeaveCriticalSection(&section_); }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

 private:
  CRITICAL_SECTION& section_;
};

// The lock for GDI work on the working image (and the window image).
class DrawLock : public ScopedLock {
 public:
  DrawLock() : ScopedLock(graphics_library.draw_lock) {}
};

// Raises the use count, starting the library when it was 0.
void library_acquire();
// Lowers the use count; shuts the library down when that leaves it at 1.
void library_release();
void library_startup();
void library_shutdown();
