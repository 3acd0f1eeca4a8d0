// Counts the GDI objects that the graphics library makes and deletes. Every
// such call goes through the library's GDI function table, so counting
// wrappers put into the table see them all. Wine keeps no per-process GDI
// count (GetGuiResources answers 0 there): the objects alive are the ones
// made minus the ones deleted. Objects made outside the table (the UI
// renderer's scissor regions, made and deleted within one call) are not seen.
#pragma once

#include <windows.h>

#include "graphics/library_state.h"

namespace gdi_object_count {

inline long made = 0;
inline long deleted = 0;

#define PIVRO_COUNTED_MAKING_CALLS(X) \
  X(CreatePen)                        \
  X(ExtCreatePen)                     \
  X(CreateSolidBrush)                 \
  X(CreateBrushIndirect)              \
  X(CreateFontIndirectW)              \
  X(CreateRectRgn)                    \
  X(CreateBitmap)                     \
  X(CreateDIBSection)                 \
  X(CreateCompatibleDC)

#define PIVRO_COUNTED_DELETING_CALLS(X) \
  X(DeleteObject)                       \
  X(DeleteDC)

#define PIVRO_DECLARE_REAL(name) inline decltype(&::name) real_##name = nullptr;
PIVRO_COUNTED_MAKING_CALLS(PIVRO_DECLARE_REAL)
PIVRO_COUNTED_DELETING_CALLS(PIVRO_DECLARE_REAL)
#undef PIVRO_DECLARE_REAL

template <typename F>
struct Counter;
template <typename R, typename... A>
struct Counter<R(WINAPI*)(A...)> {
  template <R(WINAPI** real)(A...), long* count>
  static R WINAPI call(A... args) {
    ++*count;
    return (*real)(args...);
  }
};

// Puts the counting wrappers into the table; once, after the graph window opened.
inline void start() {
  GdiTable& table = graphics_library.gdi;
#define PIVRO_HOOK(name, count) \
  real_##name = table.name;     \
  table.name = &Counter<decltype(&::name)>::call<&real_##name, &count>;
#define PIVRO_HOOK_MADE(name) PIVRO_HOOK(name, made)
#define PIVRO_HOOK_DELETED(name) PIVRO_HOOK(name, deleted)
  PIVRO_COUNTED_MAKING_CALLS(PIVRO_HOOK_MADE)
  PIVRO_COUNTED_DELETING_CALLS(PIVRO_HOOK_DELETED)
#undef PIVRO_HOOK_DELETED
#undef PIVRO_HOOK_MADE
#undef PIVRO_HOOK
}

#undef PIVRO_COUNTED_DELETING_CALLS
#undef PIVRO_COUNTED_MAKING_CALLS

inline long live() {
  return made - deleted;
}

}  // namespace gdi_object_count
