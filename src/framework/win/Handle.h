// Move-only owners for the handles the program creates, and guards for the
// paired calls of painting. Never wrap what the system shares (stock objects,
// LoadIcon icons of the system, a sub-menu taken with GetSubMenu).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "framework/win/CommonControls.h"

template <typename H, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H handle) : m_handle(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  H Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  H Release() { return std::exchange(m_handle, nullptr); }
  void Reset(H handle = nullptr) {
    if (m_handle) Close(m_handle);
    m_handle = handle;
  }

 private:
  H m_handle = nullptr;
};

inline void CloseGdiObject(HGDIOBJ object) { DeleteObject(object); }

using MenuHandle = UniqueHandle<HMENU, &DestroyMenu>;
using IconHandle = UniqueHandle<HICON, &DestroyIcon>;
using CursorHandle = UniqueHandle<HCURSOR, &DestroyCursor>;
using BitmapHandle = UniqueHandle<HBITMAP, &CloseGdiObject>;
using BrushHandle = UniqueHandle<HBRUSH, &CloseGdiObject>;
using FontHandle = UniqueHandle<HFONT, &CloseGdiObject>;
using DcHandle = UniqueHandle<HDC, &DeleteDC>;
using ModuleHandle = UniqueHandle<HMODULE, &FreeLibrary>;
using ImageListHandle = UniqueHandle<HIMAGELIST, &common_controls::DestroyImageList>;

// Selects an object into a device context and selects the previous one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
  ~SelectGuard() { SelectObject(m_dc, m_previous); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// BeginPaint and EndPaint.
class PaintGuard {
 public:
  explicit PaintGuard(HWND window) : m_window(window) { m_dc = BeginPaint(window, &m_paint); }
  ~PaintGuard() { EndPaint(m_window, &m_paint); }
  PaintGuard(const PaintGuard&) = delete;
  PaintGuard& operator=(const PaintGuard&) = delete;
  HDC Dc() const { return m_dc; }

 private:
  HWND m_window;
  PAINTSTRUCT m_paint{};
  HDC m_dc;
};
