// Start-up and shutdown of the graphics library, counted by library_use_count,
// and the GDI function table loaded by name.
#include "graphics/library_state.h"

#include "graphics/drawing_devices.h"
#include "graphics/graph_window.h"

GraphicsLibrary graphics_library;

void GdiTable::load(HMODULE gdi32) {
#define PIVRO_GDI_RESOLVE(name) \
  name = reinterpret_cast<decltype(name)>(reinterpret_cast<void*>(GetProcAddress(gdi32, #name)));
  PIVRO_GDI_FUNCTIONS(PIVRO_GDI_RESOLVE)
#undef PIVRO_GDI_RESOLVE
}

int GdiTable::loaded_count() const {
  int count = 0;
#define PIVRO_GDI_COUNT(name) count += name != nullptr;
  PIVRO_GDI_FUNCTIONS(PIVRO_GDI_COUNT)
#undef PIVRO_GDI_COUNT
  return count;
}

namespace {

// The start-up record of GDI+, version 1, nothing suppressed.
struct GdiplusStartupInput {
  UINT32 version;
  void* debug_event_callback;
  BOOL suppress_background_thread;
  BOOL suppress_external_codecs;
};
using GdiplusStartupFn = int(WINAPI*)(ULONG_PTR*, const GdiplusStartupInput*, void*);
using CoInitializeFn = HRESULT(WINAPI*)(void*);

template <typename Fn>
Fn resolve(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

void library_acquire() {
  if (graphics_library.library_use_count++ == 0) library_startup();
}

void library_release() {
  if (--graphics_library.library_use_count == 1) library_shutdown();
}

void library_startup() {
  GraphicsLibrary& lib = graphics_library;
  // COM is loaded by name so that programs without shell work need not link it.
  if (!lib.ole32) lib.ole32 = LoadLibraryW(L"ole32.dll");
  auto co_initialize = resolve<CoInitializeFn>(lib.ole32, "CoInitialize");
  lib.co_uninitialize = resolve<void(WINAPI*)()>(lib.ole32, "CoUninitialize");
  if (co_initialize) co_initialize(nullptr);

  InitializeCriticalSection(&lib.draw_lock);
  InitializeCriticalSection(&lib.queue_lock);

  if (!lib.gdi32) lib.gdi32 = LoadLibraryW(L"gdi32.dll");
  lib.gdi.load(lib.gdi32);

  if (!lib.gdiplus) lib.gdiplus = LoadLibraryW(L"gdiplus.dll");
  auto gdiplus_startup = resolve<GdiplusStartupFn>(lib.gdiplus, "GdiplusStartup");
  lib.gdiplus_shutdown = resolve<void(WINAPI*)(ULONG_PTR)>(lib.gdiplus, "GdiplusShutdown");
  const GdiplusStartupInput input = {1, nullptr, FALSE, FALSE};
  lib.gdiplus_token = 0;
  if (gdiplus_startup) gdiplus_startup(&lib.gdiplus_token, &input, nullptr);

  lib.target_dc = nullptr;
  lib.image_dc = nullptr;

  lib.img_device = new DrawOnImg;
  lib.wnd_device = new DrawOnWnd;
  new GraphWnd;  // records itself as lib.window; its IMAGE part raises the use count
}

void library_shutdown() {
  GraphicsLibrary& lib = graphics_library;
  delete lib.window;  // closes an open window; its IMAGE part brings the count to 0
  lib.window = nullptr;
  delete lib.wnd_device;
  delete lib.img_device;
  lib.wnd_device = nullptr;
  lib.img_device = nullptr;
  lib.working_image = nullptr;
  lib.working_device = nullptr;
  lib.target_dc = nullptr;
  lib.image_dc = nullptr;
  lib.console_window = nullptr;

  if (lib.gdiplus_shutdown && lib.gdiplus_token) lib.gdiplus_shutdown(lib.gdiplus_token);
  lib.gdiplus_token = 0;
  DeleteCriticalSection(&lib.queue_lock);
  DeleteCriticalSection(&lib.draw_lock);
  if (lib.co_uninitialize) lib.co_uninitialize();

  // The three modules stay loaded: the GDI+ background thread may still be
  // leaving when its shutdown returns, and a later start-up finds them again.
}
