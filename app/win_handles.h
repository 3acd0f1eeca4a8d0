// Owners for Win32 handles, so that every path releases what it opened.
// Header-only and small on purpose: each owner closes one kind of handle.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class unique_win {
 public:
  using handle_type = typename Traits::handle_type;
  unique_win() noexcept : h_(Traits::invalid()) {}
  explicit unique_win(handle_type h) noexcept : h_(h) {}
  unique_win(const unique_win&) = delete;
  unique_win& operator=(const unique_win&) = delete;
  unique_win(unique_win&& o) noexcept : h_(o.release()) {}
  unique_win& operator=(unique_win&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~unique_win() { reset(); }

  handle_type get() const noexcept { return h_; }
  // For out-parameters: releases what was held and hands out the slot.
  handle_type* put() noexcept {
    reset();
    return &h_;
  }
  handle_type release() noexcept { return std::exchange(h_, Traits::invalid()); }
  void reset(handle_type h = Traits::invalid()) noexcept {
    if (h_ != Traits::invalid()) Traits::close(h_);
    h_ = h;
  }
  explicit operator bool() const noexcept { return h_ != Traits::invalid(); }

 private:
  handle_type h_;
};

struct handle_traits {  // kernel handles whose "none" is NULL (events, threads, pipes)
  using handle_type = HANDLE;
  static HANDLE invalid() noexcept { return nullptr; }
  static void close(HANDLE h) noexcept { CloseHandle(h); }
};
struct file_handle_traits {  // CreateFileW reports failure as INVALID_HANDLE_VALUE
  using handle_type = HANDLE;
  static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) noexcept { CloseHandle(h); }
};
struct hkey_traits {
  using handle_type = HKEY;
  static HKEY invalid() noexcept { return nullptr; }
  static void close(HKEY h) noexcept { RegCloseKey(h); }
};
struct hglobal_traits {  // a GlobalAlloc block not yet handed over (to the clipboard, say)
  using handle_type = HGLOBAL;
  static HGLOBAL invalid() noexcept { return nullptr; }
  static void close(HGLOBAL h) noexcept { GlobalFree(h); }
};
using unique_hglobal = unique_win<hglobal_traits>;
struct find_traits {  // FindFirstFileW listings end with FindClose, not CloseHandle
  using handle_type = HANDLE;
  static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) noexcept { FindClose(h); }
};

template <typename Object>  // pens, brushes, fonts, bitmaps, regions; never while selected into a DC
struct gdi_object_traits {
  using handle_type = Object;
  static Object invalid() noexcept { return nullptr; }
  static void close(Object h) noexcept { DeleteObject(h); }
};
struct memory_dc_traits {  // DCs from CreateCompatibleDC end with DeleteDC, not ReleaseDC
  using handle_type = HDC;
  static HDC invalid() noexcept { return nullptr; }
  static void close(HDC h) noexcept { DeleteDC(h); }
};

using unique_handle = unique_win<handle_traits>;
using unique_file = unique_win<file_handle_traits>;
using unique_hkey = unique_win<hkey_traits>;
using unique_find = unique_win<find_traits>;
using unique_hbitmap = unique_win<gdi_object_traits<HBITMAP>>;
using unique_hbrush = unique_win<gdi_object_traits<HBRUSH>>;
using unique_hrgn = unique_win<gdi_object_traits<HRGN>>;
using unique_memory_dc = unique_win<memory_dc_traits>;
